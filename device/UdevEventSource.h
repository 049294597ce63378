#pragma once

#include "device/DeviceEventSource.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Sound cards coming and going, from udev. A card counts as arrived once
// udev has initialised it (the "change" event carrying SOUND_INITIALIZED),
// and as gone on its "remove" event. The path text names the card's USB
// identity as "VID_xxxx&PID_xxxx" so that the controller can be told apart.
class UdevEventSource : public DeviceEventSource
{
    Q_OBJECT
public:
    explicit UdevEventSource(QObject *parent = nullptr);
    ~UdevEventSource() override;

    // False when udev could not be reached; then no events come.
    bool isWatching() const { return m_monitor != nullptr; }

    enum class Kind { None, Arrival, Removal };
    // What one udev event on the "sound" subsystem means for us.
    static Kind classify(const QString &action, const QString &sysName, bool soundInitialized);
    // "<devpath>\VID_0416&PID_B009" from the hexadecimal identifiers udev gives.
    static QString pathText(const QString &devPath, const QString &vendorHex, const QString &productHex);

private:
    void readEvent();

    struct udev *m_udev = nullptr;
    struct udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};

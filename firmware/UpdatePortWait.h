#pragma once

#include <QObject>
#include <QString>

class QTimer;
class SerialPortFinder;

// Waits for the controller's update port: a first look after a delay, then
// one look every kLookIntervalMs until the last look is due. After the
// update-mode command the controller restarts, re-enumerates, and the system
// makes its serial device; that can take longer than a second.
class UpdatePortWait : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstLookMs = 1000;
    static constexpr int kLookIntervalMs = 250;
    static constexpr int kLastLookMs = 10000;

    explicit UpdatePortWait(QObject *parent = nullptr);

    // Starts looking (a running wait starts over). The finder must outlive
    // the wait. The last look comes no earlier than the first.
    void start(const SerialPortFinder *finder, const QString &overridePath, int firstLookMs = kFirstLookMs,
        int lastLookMs = kLastLookMs);
    void cancel();
    // The port found could not be opened yet (udev has not applied its
    // permission, ModemManager probes it): looks on while looks are left.
    bool lookAgain();

signals:
    void found(const QString &portName);
    void gaveUp();

private:
    void look();

    QTimer *m_timer;
    const SerialPortFinder *m_finder = nullptr;
    QString m_overridePath;
    int m_looksLeft = 0;
};

#pragma once

#include "device/PowerEventSource.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>

// Power events as logind announces them on the system bus (PrepareForSleep,
// PrepareForShutdown). While running it holds a "sleep" delay inhibitor, so
// that what is done before sleeping is done before the system sleeps: the
// announcement is handed on, then the inhibitor let go, and taken again on
// waking. Without a system bus (containers) it stays silent.
class LogindPowerSource : public PowerEventSource
{
    Q_OBJECT
public:
    // An empty address means the system bus; any other is a bus standing in
    // for it, where the sender is not checked.
    explicit LogindPowerSource(const QString &busAddress = QString(), QObject *parent = nullptr);
    bool isListening() const { return m_listening; }
    bool holdsInhibitor() const { return m_inhibitor.isValid(); }

private slots:
    void onPrepareForSleep(bool start);
    void onPrepareForShutdown(bool start);

private:
    void inhibit();

    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_inhibitor;
    bool m_listening = false;
};

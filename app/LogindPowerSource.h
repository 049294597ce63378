#pragma once

#include "device/PowerEventSource.h"

#include <QString>

// Power events as logind announces them on the system bus (PrepareForSleep,
// PrepareForShutdown). Without a system bus (containers) it stays silent.
class LogindPowerSource : public PowerEventSource
{
    Q_OBJECT
public:
    // An empty address means the system bus; any other is a bus standing in
    // for it, where the sender is not checked.
    explicit LogindPowerSource(const QString &busAddress = QString(), QObject *parent = nullptr);
    bool isListening() const { return m_listening; }

private slots:
    void onPrepareForSleep(bool start);
    void onPrepareForShutdown(bool start);

private:
    bool m_listening = false;
};

#include "app/LogindPowerSource.h"

#include "app/AppLog.h"

#include <QDBusConnection>
#include <QDebug>

namespace {
const char kService[] = "org.freedesktop.login1";
const char kPath[] = "/org/freedesktop/login1";
const char kInterface[] = "org.freedesktop.login1.Manager";
} // namespace

LogindPowerSource::LogindPowerSource(const QString &busAddress, QObject *parent)
    : PowerEventSource(parent)
{
    const bool system = busAddress.isEmpty();
    const QDBusConnection bus = system ? QDBusConnection::systemBus()
                                       : QDBusConnection::connectToBus(busAddress, QStringLiteral("korvel-mavu-power"));
    if (!bus.isConnected())
        return;
    // Only logind may speak for the system; a stand-in bus has no logind.
    const QString service = system ? QLatin1String(kService) : QString();
    QDBusConnection connection(bus);
    m_listening = connection.connect(service, QLatin1String(kPath), QLatin1String(kInterface),
                      QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)))
        && connection.connect(service, QLatin1String(kPath), QLatin1String(kInterface),
            QStringLiteral("PrepareForShutdown"), this, SLOT(onPrepareForShutdown(bool)));
    if (m_listening)
        qCDebug(lcApp) << "power events: listening";
}

void LogindPowerSource::onPrepareForSleep(bool start)
{
    emit sleepChanging(start);
}

void LogindPowerSource::onPrepareForShutdown(bool start)
{
    // false comes when a shutdown is called off.
    if (start)
        emit shuttingDown();
}

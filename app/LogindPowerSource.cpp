#include "app/LogindPowerSource.h"

#include "app/AppLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>

namespace {
const char kService[] = "org.freedesktop.login1";
const char kPath[] = "/org/freedesktop/login1";
const char kInterface[] = "org.freedesktop.login1.Manager";
} // namespace

LogindPowerSource::LogindPowerSource(const QString &busAddress, QObject *parent)
    : PowerEventSource(parent)
    , m_bus(busAddress.isEmpty() ? QDBusConnection::systemBus()
                                 : QDBusConnection::connectToBus(busAddress, QStringLiteral("korvel-mavu-power")))
{
    if (!m_bus.isConnected())
        return;
    // Only logind may speak for the system; a stand-in bus has no logind.
    const QString service = busAddress.isEmpty() ? QLatin1String(kService) : QString();
    m_listening = m_bus.connect(service, QLatin1String(kPath), QLatin1String(kInterface),
                      QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)))
        && m_bus.connect(service, QLatin1String(kPath), QLatin1String(kInterface), QStringLiteral("PrepareForShutdown"),
            this, SLOT(onPrepareForShutdown(bool)));
    if (m_listening) {
        qCDebug(lcApp) << "power events: listening";
        inhibit();
    }
}

// Asked without waiting: start-up does not hang on a slow logind.
void LogindPowerSource::inhibit()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kPath), QLatin1String(kInterface), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Korvel Mavu editor")
         << QStringLiteral("Notes the controller's ports before sleeping") << QStringLiteral("delay");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *done;
        if (reply.isError()) {
            qCDebug(lcApp) << "power events: no sleep inhibitor:" << reply.error().message();
            return;
        }
        m_inhibitor = reply.value();
    });
}

void LogindPowerSource::onPrepareForSleep(bool start)
{
    emit sleepChanging(start);
    if (!start) {
        inhibit();
    } else {
        // Done with what had to happen first: the system may sleep now.
        m_inhibitor = QDBusUnixFileDescriptor();
    }
}

void LogindPowerSource::onPrepareForShutdown(bool start)
{
    // false comes when a shutdown is called off.
    if (start)
        emit shuttingDown();
}

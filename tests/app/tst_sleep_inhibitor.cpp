// Sleep is noticed in time: the editor holds logind's "sleep" delay
// inhibitor, hands the announcement on while still holding it, then lets it
// go, and takes it again on waking. A private bus with a stand-in logind.
#include "app/LogindPowerSource.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QtTest>

#include <poll.h>
#include <unistd.h>

namespace {

// Hands out the write end of a pipe per inhibitor; the read end hangs up
// once the editor lets the inhibitor go, as logind sees it.
class StandInLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    bool held(int i) const
    {
        pollfd p{readEnds.value(i, -1), POLLIN, 0};
        return p.fd >= 0 && ::poll(&p, 1, 0) == 0;
    }
    QStringList calls;
    QList<int> readEnds; // left to the end of the test program

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &, const QString &, const QString &mode)
    {
        calls << what + ' ' + mode;
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        readEnds << ends[0];
        const QDBusUnixFileDescriptor handed(ends[1]); // a copy of its own
        ::close(ends[1]);
        return handed;
    }
};

} // namespace

class TestSleepInhibitor : public QObject
{
    Q_OBJECT

private slots:
    void inhibitorFramesTheSleep()
    {
        const PrivateBus bus;
        const QString address = bus.address();
        QVERIFY2(!address.isEmpty(), "dbus-daemon (Debian package dbus-daemon) is needed");
        QDBusConnection logindBus = QDBusConnection::connectToBus(address, QStringLiteral("stand-in logind"));
        StandInLogind logind;
        QVERIFY(logindBus.registerService(QStringLiteral("org.freedesktop.login1")));
        QVERIFY(logindBus.registerObject(
            QStringLiteral("/org/freedesktop/login1"), &logind, QDBusConnection::ExportAllSlots));
        const auto announce = [&logindBus](bool sleeping) {
            QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
            QVERIFY(logindBus.send(signal << sleeping));
        };

        LogindPowerSource power(address);
        QStringList heard; // each announcement, and whether the inhibitor was held meanwhile
        connect(&power, &PowerEventSource::sleepChanging, this, [&](bool sleeping) {
            heard << QStringLiteral("%1 %2").arg(sleeping ? "sleep" : "wake", logind.held(0) ? "held" : "free");
        });
        QTRY_VERIFY_WITH_TIMEOUT(power.holdsInhibitor(), 5000);
        QCOMPARE(logind.calls, QStringList{"sleep delay"});
        announce(true);
        QTRY_COMPARE_WITH_TIMEOUT(heard, QStringList{"sleep held"}, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!logind.held(0), 5000);
        announce(false);
        QTRY_VERIFY_WITH_TIMEOUT(logind.held(1), 5000);
        QCOMPARE(logind.calls, (QStringList{"sleep delay", "sleep delay"}));
        QCOMPARE(heard, (QStringList{"sleep held", "wake free"}));
    }
};

QTEST_GUILESS_MAIN(TestSleepInhibitor)
#include "tst_sleep_inhibitor.moc"

// The editor as a program: a preset on its command line, a second start
// handing its file over, and logind's announcements reaching the run log.
#include "support/EditorProcess.h"
#include "support/PrivateBus.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QtTest>

class TestEditorProcess : public QObject
{
    Q_OBJECT

private slots:
    // The program: a preset on its command line is opened; a second start
    // hands its file (relative to its own folder) over and ends at once.
    void instanceProgramStartedTwice()
    {
        EditorProcess editor;
        const QString first = editor.folder(QStringLiteral("first set.stm"));
        const QString second = editor.folder(QStringLiteral("second set.syx"));
        for (const QString &file : {first, second})
            QCOMPARE(testsupport::mavuctl({"defaults", file}).exitCode, 0);
        QVERIFY(editor.start({first}));
        const auto opened = [&editor](const QString &file) {
            return editor.log().contains(("preset opened: &quot;" + file).toUtf8());
        };
        QTRY_VERIFY_WITH_TIMEOUT(opened(first), 10000);
        QCOMPARE(editor.runSecond({QStringLiteral("second set.syx")}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(opened(second), 10000);
        QVERIFY(editor.isRunning());
        QCOMPARE(editor.log().count("progress start"), 1);
    }

    // logind's announcements reach the run log; a private bus stands in for the system bus.
    void powerEventsReachTheRunLog()
    {
        const PrivateBus bus;
        const QString address = bus.address();
        QVERIFY2(!address.isEmpty(), "dbus-daemon (Debian package dbus-daemon) is needed");
        qputenv("KORVEL_MAVU_POWER_BUS", address.toUtf8());
        EditorProcess editor;
        qunsetenv("KORVEL_MAVU_POWER_BUS");
        QVERIFY(editor.start());
        QTRY_VERIFY_WITH_TIMEOUT(editor.log().contains("power events: listening"), 10000);
        QDBusConnection logind = QDBusConnection::connectToBus(address, QStringLiteral("stand-in logind"));
        const auto announce = [&logind](const char *name, bool start) {
            QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QLatin1String(name));
            QVERIFY(logind.send(signal << start));
        };
        const QRegularExpression lines(QStringLiteral(" (======[a-z ,]+======)<"));
        const auto logged = [&editor, &lines] {
            QStringList found;
            for (auto it = lines.globalMatch(QString::fromUtf8(editor.log())); it.hasNext();)
                found << it.next().captured(1);
            return found.join(' ');
        };
        announce("PrepareForShutdown", false); // called off: nothing
        announce("PrepareForSleep", true);
        QTRY_COMPARE_WITH_TIMEOUT(logged(), QStringLiteral("======xiu mian======"), 10000);
        announce("PrepareForSleep", false);
        announce("PrepareForShutdown", true);
        QTRY_COMPARE_WITH_TIMEOUT(logged(),
            QStringLiteral("======xiu mian====== ======huan xing====== ======system poweroff,reboot or logoff======"),
            10000);
        QVERIFY(editor.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestEditorProcess)
#include "tst_editor_process.moc"

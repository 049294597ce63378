// Start-up: the command line, the window's size, its scaling rate on screens
// of other densities, and the software version it reports.
#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <cstdio>

namespace {

const char kProbe[] = "--scale-probe";

// Child mode: what a freshly built window reports on this process's screen.
int scaleProbe(int argc, char **argv)
{
    editorharness::prepare();
    QApplication app(argc, argv);
    MainWindow window;
    const QJsonObject result{{"rate", window.getScalingRate()}, {"factor", window.getScreenScaleFactor()}};
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("options");
        QTest::newRow("simulator and files") << QStringList{"--simulator", "a.stm", "b.syx"} << "sim | a.stm,b.syx";
        QTest::newRow("values") << QStringList{"--midi-api=jack", "--update-port", "/dev/x", "--firmware-server",
            "h:21"} << "jack /dev/x h:21 | ";
        QTest::newRow("version") << QStringList{"-v"} << "version | ";
        QTest::newRow("help") << QStringList{"--help"} << "help | ";
        QTest::newRow("bad api") << QStringList{"--midi-api", "winmm"} << "winmm error | ";
        QTest::newRow("unknown") << QStringList{"--bogus", "a.stm"} << "error | a.stm";
        QTest::newRow("no value") << QStringList{"--update-port"} << "error | ";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, options);
        for (const char *name : {"KORVEL_MAVU_MIDI_API", "KORVEL_MAVU_UPDATE_PORT", "KORVEL_MAVU_FIRMWARE_SERVER"})
            qunsetenv(name);
        const AppOptions o = AppOptions::parse(QStringList{"korvel-mavu"} + args);
        QStringList seen{o.simulator ? "sim" : "", o.midiApi, o.updatePort, o.firmwareServer,
            o.showVersion ? "version" : "", o.showHelp ? "help" : "", o.error.isEmpty() ? "" : "error"};
        seen.removeAll(QString());
        QCOMPARE(seen.join(' ') + " | " + o.files.join(','), options);
    }

    void startRateAndFirstMove()
    {
        MainWindow window;
        QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(window.getScalingRate(), screen->logicalDotsPerInch() / 96.0);
        QCOMPARE(window.size(), QSize(1080, 892));
        QCOMPARE(window.getSoftVersion(), QStringLiteral("1.0.1.1"));
        // Moves on the same screen only move.
        QSignalSpy changed(&window, &MainWindow::screenChanged);
        window.updateProgra(-5000, -5000);
        window.updateProgra(200, 50);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(window.pos(), QPoint(200, 50));
        const auto version = testsupport::run(QStringLiteral(MAVU_EDITOR_PATH), {QStringLiteral("--version")});
        QCOMPARE(version.out, QByteArray("korvel-mavu 1.0.1.1\n"));
    }

    // On a denser screen: 120 dpi at a pixel ratio of 2.
    void rateAndFactorOnOtherScreens()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("120"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kProbe)});
        QVERIFY(child.waitForFinished(60000) && child.exitCode() == 0);
        QCOMPARE(child.readAllStandardOutput(), QByteArray("{\"factor\":2.5,\"rate\":1.25}"));
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kProbe) == 0)
        return scaleProbe(argc, argv);
    editorharness::prepare();
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"

// What the editor decides as it starts: its command line and the renderer.
#include "app/AppOptions.h"
#include "app/SceneGraphChoice.h"

#include <QtTest>

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
        QTest::newRow("unknown") << QStringList{"--bogus", "a.stm"} << "error | a.stm";
        QTest::newRow("missing value") << QStringList{"a.stm", "--update-port"} << "error | a.stm";
        QTest::newRow("after --") << QStringList{"-v", "--", "-x.stm"} << "version | -x.stm";
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

    // OpenGL is probed only when the user has not chosen a backend; without
    // it the software renderer draws instead of the program aborting.
    void sceneGraphBackend()
    {
        int probed = 0;
        const auto probe = [&probed](bool works) { return [&probed, works] { return ++probed, works; }; };
        QCOMPARE(scenegraph::chooseBackend(QString(), probe(false)), QStringLiteral("software"));
        QCOMPARE(scenegraph::chooseBackend(QString(), probe(true)), QString());
        QCOMPARE(scenegraph::chooseBackend(QStringLiteral("openvg"), probe(false)), QString());
        QCOMPARE(probed, 2);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

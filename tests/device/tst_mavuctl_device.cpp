#include "JackFixture.h"

#include "model/PresetFile.h"
#include "simulator/SimController.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

// mavuctl's controller commands against mavu-sim on a private JACK server.
class TestMavuctlDevice : public QObject
{
    Q_OBJECT
private:
    JackServer m_jack;
    std::unique_ptr<GuardedProcess> m_sim;
    QTemporaryDir m_dir;

    void startSimulator(const QStringList &extra = {})
    {
        m_sim = std::make_unique<GuardedProcess>();
        QVERIFY(m_sim->start(simulatorPath(), QStringList{"--midi-api", "jack"} + extra));
        QVERIFY2(m_sim->waitForOutput("plugged in", 10000), m_sim->output().constData());
    }

    static testsupport::ProcessResult mavuctl(const QStringList &args)
    {
        return testsupport::run(MAVU_MAVUCTL_PATH, args + QStringList{"--midi-api", "jack"}, 20000);
    }

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_jack.start(&error), qPrintable(error));
    }

    void cleanup()
    {
        m_sim.reset();
    }

    void cleanupTestCase()
    {
        m_jack.stop();
    }

    void listShowsTheControllerPorts()
    {
        startSimulator();
        const auto r = mavuctl({"list"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(QRegularExpression("(^|\n)midi-in \\d+ Korvel Mavu\n").match(QString::fromUtf8(r.out)).hasMatch());
        QVERIFY(QRegularExpression("(^|\n)midi-out \\d+ Korvel Mavu\n").match(QString::fromUtf8(r.out)).hasMatch());

        // A named update port is listed when it exists.
        testsupport::writeAll(path("update"), "x");
        const auto named = mavuctl({"list", "--update-port", path("update")});
        QVERIFY2(named.out.contains(("update " + path("update") + "\n").toUtf8()), named.out.constData());
    }

    void getSendRoundTripIsByteExact()
    {
        startSimulator({"--firmware-version", "1.2.3", "--serial", "KMV-CLI-00042"});
        auto r = mavuctl({"get", "-o", path("read.syx")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QByteArray read = testsupport::readAll(path("read.syx"));
        SimController reference;
        reference.setVersion(1, 2, 3);
        QCOMPARE(read, reference.settingsReply());

        // .stm by extension: the same image behind its length.
        r = mavuctl({"get", "-o", path("read.stm")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(testsupport::readAll(path("read.stm")), preset::encode(read, preset::Format::Stm));

        // Change it, send it, read it back: exactly what was sent, bar the command byte.
        r = testsupport::run(MAVU_MAVUCTL_PATH, {"edit", path("read.syx"), "setPadInfo", "3", "padRGB", "#ff8000"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QByteArray edited = testsupport::readAll(path("read.syx"));
        QVERIFY(edited != read);
        r = mavuctl({"send", path("read.syx")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QVERIFY(m_sim->waitForOutput("received 458 bytes, command 01", 5000));
        r = mavuctl({"get", "-o", path("again.syx")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(testsupport::readAll(path("again.syx")), edited);

        // Without -o the settings are printed readably.
        r = mavuctl({"get"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QVERIFY2(r.out.contains("Firmware 1.2.3"), r.out.constData());

        r = mavuctl({"serial"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(r.out, QByteArray("KMV-CLI-00042\n"));
    }

    void badFileIsRefusedBeforeSending()
    {
        startSimulator();
        testsupport::writeAll(path("bad.syx"), QByteArray(100, 0x22));
        const auto r = mavuctl({"send", path("bad.syx")});
        QVERIFY(r.exitCode != 0);
        QVERIFY2(r.err.contains("cannot open"), r.err.constData());
        QTest::qWait(300);
        QVERIFY(!m_sim->output().contains("received"));
    }

    void absentOrSilentControllerFailsClearlyAndSoon_data()
    {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("absent, get") << QStringList() << QStringList{"get"} << "no controller found";
        QTest::newRow("absent, serial") << QStringList() << QStringList{"serial"} << "no controller found";
        QTest::newRow("absent, send") << QStringList() << QStringList{"send", "@defaults"} << "no controller found";
        QTest::newRow("silent, get") << QStringList{"--reply", "none"} << QStringList{"get"} << "did not answer";
        QTest::newRow("silent, serial") << QStringList{"--reply", "none"} << QStringList{"serial"} << "did not answer";
        QTest::newRow("cut-off reply") << QStringList{"--reply", "short"} << QStringList{"get", "-o", "@out"} << "not a settings image";
    }
    void absentOrSilentControllerFailsClearlyAndSoon()
    {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, command);
        QFETCH(QString, message);
        if (!simulator.isEmpty())
            startSimulator(simulator);
        QVERIFY(testsupport::run(MAVU_MAVUCTL_PATH, {"defaults", path("defaults.stm")}).exitCode == 0);
        command.replaceInStrings("@defaults", path("defaults.stm"));
        command.replaceInStrings("@out", path("never.syx"));
        QElapsedTimer clock;
        clock.start();
        const auto r = mavuctl(command);
        QVERIFY(r.exitCode != 0);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY2(clock.elapsed() < 8000, QByteArray::number(clock.elapsed()).constData());
        QVERIFY(!QFile::exists(path("never.syx")));
    }

    void noJackServerIsAClearError()
    {
        qputenv("JACK_DEFAULT_SERVER", "mavu-test-no-such-server");
        const auto r = mavuctl({"list"});
        qputenv("JACK_DEFAULT_SERVER", m_jack.name().toUtf8());
        QVERIFY(r.exitCode != 0);
        QVERIFY2(r.err.contains("no JACK server"), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestMavuctlDevice)
#include "tst_mavuctl_device.moc"

// The real MIDI path: the editor and mavuctl against mavu-sim through a
// private JACK server, the controller's ports coming after its card, the
// controller pulled out while the editor waits for its settings, and a pad
// played on it.
#include "support/FaultReport.h"
#include "support/model/ScriptedPrompt.h"
#include "app/Editor.h"
#include "app/PresetDocument.h"
#include "device/DetectionDevice.h"
#include "device/Protocol.h"
#include "device/UdevEventSource.h"
#include "model/ControllerHistory.h"
#include "model/DataManagement.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "simulator/SimController.h"
#include "support/editor/EditorHarness.h"
#include "support/device/JackServer.h"
#include "support/TestSupport.h"
#include "support/editor/MessageBoxCloser.h"

#include <QApplication>
#include <QQmlContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readAll;

namespace {

// What mavu-sim answers with the given firmware version and no other setup.
QByteArray simulatorImage(int major, int minor, int patch)
{
    SimController controller;
    controller.setVersion(major, minor, patch);
    return controller.settingsReply();
}

const char kClient[] = "tst_jack";
constexpr int kReplyDelayMs = 1000;
// Long enough that the unplug comes first even on a loaded machine.
constexpr int kUnpluggedReplyDelayMs = 4000;

// The MIDI ports this program holds open on the JACK graph.
QStringList editorPorts()
{
    const auto lsp = testsupport::run(QStringLiteral("jack_lsp"), {}, 10000);
    const QStringList lines = QString::fromLocal8Bit(lsp.out).split(QLatin1Char('\n'));
    return lines.filter(QRegularExpression(QStringLiteral("^%1.* (in|out)$").arg(kClient)));
}

testsupport::ProcessResult mavuctl(const QStringList &args)
{
    return testsupport::mavuctl(args + QStringList{"--midi-api", "jack"}, 20000);
}

} // namespace

class TestJack : public QObject
{
    Q_OBJECT
    JackServer m_jack;
    std::unique_ptr<GuardedProcess> m_sim;
    QTemporaryDir m_dir;

    void startSimulator(const QStringList &extra)
    {
        m_sim = std::make_unique<GuardedProcess>();
        QVERIFY2(::startSimulator(*m_sim, extra), m_sim->output().constData());
    }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_jack.start(&error, 1024, kClient), qPrintable(error));
        QDir(history::defaultFolder()).removeRecursively(); // what an earlier run kept
    }
    void cleanup() { m_sim.reset(); }

    void mavuctlTalksToTheController()
    {
        startSimulator({"--firmware-version", "1.2.3", "--serial", "KMV-CLI-00042"});
        auto r = mavuctl({"list"});
        QVERIFY2(QRegularExpression("(^|\n)midi-in \\d+ Korvel Mavu\n").match(QString::fromUtf8(r.out)).hasMatch(),
            r.out.constData());
        QVERIFY(QRegularExpression("(^|\n)midi-out \\d+ Korvel Mavu\n").match(QString::fromUtf8(r.out)).hasMatch());

        r = mavuctl({"get", "-o", path("read.syx")});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QByteArray read = readAll(path("read.syx"));
        QCOMPARE(read, simulatorImage(1, 2, 3));
        QVERIFY(mavuctl({"get"}).out.contains("Firmware 1.2.3"));
        QCOMPARE(mavuctl({"serial"}).out, QByteArray("KMV-CLI-00042\n"));

        // Sent and read back: exactly what was sent, bar the command byte.
        QByteArray edited = read;
        edited[20] = 0x33;
        testsupport::writeAll(path("edited.syx"), edited);
        r = mavuctl({"send", path("edited.syx")});
        QVERIFY2(r.exitCode == 0 && m_sim->waitForOutput("settings written", 5000), r.err.constData());
        QCOMPARE(mavuctl({"get", "-o", path("again.syx")}).exitCode, 0);
        QCOMPARE(readAll(path("again.syx")), edited);
        QCOMPARE(m_sim->output().count("received 458"), 1);
        // "-" reads the controller: as sent, and one setting off what it held before.
        QCOMPARE(mavuctl({"diff", path("again.syx"), "-"}).exitCode, 0);
        r = mavuctl({"diff", "-", path("read.syx")});
        QVERIFY2(
            r.exitCode == 1 && r.out.startsWith("PAD A2      padtype ") && r.out.count('\n') == 1, r.out.constData());

        // The first read and the send are kept under the serial number; the
        // reads of the same settings are not kept again.
        r = mavuctl({"history", "KMV-CLI-00042"});
        QVERIFY2(QRegularExpression("^KMV-CLI-00042.2 +\\S+ \\S+  send\nKMV-CLI-00042.1 +\\S+ \\S+  get\n$")
                     .match(QString::fromUtf8(r.out))
                     .hasMatch(),
            r.out.constData());
        QVERIFY(mavuctl({"history", "show", "KMV-CLI-00042.1"}).out.startsWith("Firmware 1.2.3\n"));
        QCOMPARE(mavuctl({"history", "save", "KMV-CLI-00042.2", path("kept.stm")}).exitCode, 0);
        QByteArray kept;
        QVERIFY(preset::readFile(path("kept.stm"), &kept, nullptr));
        QCOMPARE(kept, edited);
        r = mavuctl({"history", "show", "KMV-CLI-00042.3"});
        QVERIFY2(r.exitCode == 1 && r.err == "mavuctl: There is no snapshot KMV-CLI-00042.3.\n", r.err.constData());
    }

    // A preset opened as the editor starts is what it shows, though the
    // controller's answer comes after it: that is recorded and counted.
    void presetOpenedAtStartStaysWhenTheControllerAnswers()
    {
        startSimulator({"--reply-delay", QString::number(kReplyDelayMs), "--firmware-version", "1.2.3"});
        QByteArray mine = simulatorImage(1, 2, 3);
        for (int offset : {layout::padOffset(0) + 1, layout::padOffset(17) + 1, layout::knobOffset(2) + 1})
            mine[offset] = 99;
        mine[layout::kVersionOffset] = 9; // saved from other firmware: the About box keeps the controller's
        QVERIFY(preset::writeFile(path("mine.stm"), mine, nullptr));
        Editor editor(EditorSetup{m_jack.midi()}); // asks the controller as it starts
        editor.document().openPresetFiles({path("mine.stm")});
        QObject *tran = editor.engine().rootContext()->contextProperty("Tran").value<QObject *>();
        QVERIFY(QMetaObject::invokeMethod(tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        QTRY_COMPARE_WITH_TIMEOUT(editor.session()->controllerImage(), simulatorImage(1, 2, 3), 5000);
        QCOMPARE(editor.settings()->imageBytes(), mine);
        QCOMPARE(editor.session()->differingPads(), (QVariantList{0, 17}));
        // In its file but not sent: quitting asks, another file may replace it.
        QVERIFY(editor.session()->wouldLeaveWork() && !editor.session()->wouldLoseWork());
        QObject *root = editor.engine().rootObjects().first();
        QTRY_VERIFY(root->findChild<QObject *>("mainPage")); // built after the first frame
        QCOMPARE(editorharness::child(root->findChild<QObject *>("mainPage"), "syncState")->property("text").toString(),
            QStringLiteral("3 changes not sent to the controller"));
        QVariant help;
        QVERIFY(
            QMetaObject::invokeMethod(root->findChild<QObject *>("helpDialog"), "get", Q_RETURN_ARG(QVariant, help)));
        QCOMPARE(help.value<QObject *>()->property("firmwareVersion").toString(), QString("1.2.3"));
    }

    void absentOrSilentControllerFailsClearlyAndSoon_data()
    {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("absent, send") << QStringList() << QStringList{"send", "@defaults"} << "no controller found";
        QTest::newRow("absent, diff") << QStringList() << QStringList{"diff", "@defaults", "-"}
                                      << "no controller found";
        QTest::newRow("silent, serial") << QStringList{"--reply", "none"} << QStringList{"serial"} << "did not answer";
        QTest::newRow("cut-off reply") << QStringList{"--reply", "short"} << QStringList{"get", "-o", "@out"}
                                       << "not a settings image";
        QTest::newRow("no JACK server") << QStringList{"no server"} << QStringList{"list"} << "no JACK server";
        QTest::newRow("late update port")
            << QStringList{"--update-link", "@port", "--update-delay", "5000"}
            << QStringList{"firmware", "update", "@defaults", "--no-backup", "--wait", "1", "--update-port", "@port"}
            << "update port did not appear within 1 s";
    }
    void absentOrSilentControllerFailsClearlyAndSoon()
    {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, command);
        QFETCH(QString, message);
        const bool noServer = simulator == QStringList{"no server"};
        simulator.replaceInStrings("@port", path("update-port"));
        command.replaceInStrings("@port", path("update-port"));
        if (!simulator.isEmpty() && !noServer)
            startSimulator(simulator);
        QVERIFY(testsupport::mavuctl({"defaults", path("defaults.stm")}).exitCode == 0);
        command.replaceInStrings("@defaults", path("defaults.stm"));
        command.replaceInStrings("@out", path("never.syx"));
        if (noServer)
            qputenv("JACK_DEFAULT_SERVER", "mavu-test-no-such-server");
        QElapsedTimer clock;
        clock.start();
        const auto r = mavuctl(command);
        qputenv("JACK_DEFAULT_SERVER", m_jack.name().toUtf8());
        QVERIFY2(r.exitCode > 0 && r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY2(clock.elapsed() < 8000, QByteArray::number(clock.elapsed()).constData());
        QVERIFY(!QFile::exists(path("never.syx")));
    }
    // The editor with a controller that answers late, pulled out while the
    // editor waits for its settings: nothing may be lost or half taken over.
    // Back again, it is read, asked for its serial, and written.
    void editorThroughAnUnplugDuringARead()
    {
        Editor editor(EditorSetup{m_jack.midi()});
        MainWindow &window = editor.window();
        QSignalSpy serial(&window, &MainWindow::s_snNum);
        QSignalSpy state(&window, &MainWindow::devStateChanged);
        QSignalSpy updated(editor.settings(), &DataManagement::s_updateDate);
        const QByteArray before = editor.settings()->imageBytes();
        testsupport::MessageBoxCloser closer;
        // Plugged in once the editor runs, the card reported before the ports
        // come: nothing until they are there, then noticed, asked, and the
        // ports held open for the late answer.
        m_sim = std::make_unique<GuardedProcess>();
        GuardedProcess *sim = m_sim.get();
        QVERIFY(sim->start(simulatorPath(),
            {"--midi-api", "jack", "--ports-delay", "1500", "--reply-delay", QString::number(kUnpluggedReplyDelayMs),
                "--firmware-version", "3.2.1", "--serial", "KMV-JACK-0001"}));
        QVERIFY2(sim->waitForOutput("ports in", 5000), sim->output().constData());
        editor.detection()->handleDeviceEvent(
            UdevEventSource::pathText("/devices/usb1/1-2/sound/card2", "416", "b009"), true);
        QCOMPARE(state.size(), 0);
        QVERIFY2(sim->waitForOutput("plugged in", 10000), sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 10000);
        QCOMPARE(state.first().first().toBool(), true);
        QVERIFY2(sim->waitForOutput("received 8 bytes, command 02", 5000), sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(editorPorts().size(), 2, 5000);

        sim->signalUser1();
        QVERIFY(sim->waitForOutput("unplugged", 5000));
        // Removal reported once, ports let go, the image as it was, and a read
        // now fails plainly instead of waiting for ever.
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 2, 10000);
        QCOMPARE(state.at(1).first().toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(editorPorts().isEmpty(), 5000);
        QCOMPARE(updated.size(), 0); // the late answer is never taken: counted once more below
        QCOMPARE(editor.settings()->imageBytes(), before);
        QSignalSpy hints(&window, &MainWindow::showHint);
        window.getData();
        QCOMPARE(hints.first(), (QList<QVariant>{false, false}));
        QVERIFY(editorPorts().isEmpty());

        // Back: read as on any arrival.
        sim->signalUser1();
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 3, 10000);
        QCOMPARE(state.at(2).first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(editor.settings()->imageBytes(), simulatorImage(3, 2, 1), 10000);
        QCOMPARE(updated.size(), 1);
        faults::reportFaults(QStringLiteral("controller-gone-during-read"), 1, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!serial.isEmpty(), 10000);
        QCOMPARE(serial.last().first().toString(), QString("KMV-JACK-0001"));

        // A changed image goes out whole and comes back byte for byte.
        editor.settings()->setCurveInten("curve", 2);
        editor.settings()->setPadInfo(7, "padData", 99);
        QByteArray expected = editor.settings()->imageBytes();
        window.sendData();
        QVERIFY2(sim->waitForOutput("settings written", 5000), sim->output().constData());
        editor.settings()->initDefaultData();
        updated.clear();
        auto *prompt = new ScriptedPrompt({1}); // the defaults are in neither file nor controller: discarded
        editor.setUserPrompt(std::unique_ptr<UserPrompt>(prompt));
        window.getData();
        QCOMPARE(prompt->asked().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(updated.size(), 1, 5000);
        expected[1] = char(protocol::ReadSettings);
        QCOMPARE(editor.settings()->imageBytes(), expected);
        QCOMPARE(closer.texts(), QStringList());
    }

    // A pad of bank B played on the controller once the editor has read it:
    // the page brings bank B into view for that pad.
    void playedPadShowsOnThePage()
    {
        startSimulator({"--play", "pad:B3"});
        Editor editor(EditorSetup{m_jack.midi()});
        MainWindow &window = editor.window();
        QSignalSpy hits(&window, &MainWindow::controlHit);
        QVERIFY2(m_sim->waitForOutput("played pad:B3: 90 2A 64", 10000), m_sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(QList<QList<QVariant>>(hits), (QList<QList<QVariant>>{{"pad", 18}}), 5000);
        // Played before or after the page is built, alike.
        QObject *root = editor.engine().rootObjects().value(0);
        QTRY_VERIFY(root->findChild<QObject *>(QStringLiteral("mainPage")));
        QCOMPARE(root->findChild<QObject *>(QStringLiteral("mainPage"))->property("padBank").toInt(), 1);
    }
};

MAVU_EDITOR_TEST_MAIN(TestJack)
#include "tst_jack.moc"

// A controller pulled out and plugged in again quickly, its ports listed
// after udev reported it (bridges into JACK), or changed while asleep (ports
// that changed count as a removal and an arrival, once both are back):
// each return is noticed. In-process, then through mavu-sim on JACK.
#include "app/Editor.h"
#include "device/DetectionDevice.h"
#include "device/LoopbackMidi.h"
#include "device/MidiPollEventSource.h"
#include "device/PowerEventSource.h"
#include "device/UdevEventSource.h"
#include "support/editor/EditorHarness.h"
#include "support/device/JackServer.h"
#include "support/TestSupport.h"
#include "support/editor/MessageBoxCloser.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

class UdevDouble : public DeviceEventSource
{
public:
    void report(bool arrival) { emit deviceEvent(UdevEventSource::pathText("/card1", "416", "b009"), arrival); }
};

} // namespace

class TestReplug : public QObject
{
    Q_OBJECT

private slots:
    // Steps: plug/unplug both ports, "in"/"out" one, udev+/udev-, poll,
    // sleep/wake; "later:STEP" runs it 300 ms on; "=" what was reported
    // by now, "~" what is reported within a few seconds.
    void returnIsNoticed_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("removal resets the poll") << "plug poll udev- unplug plug poll =+-+";
        QTest::newRow("udev before the ports") << "plug udev- unplug udev+ later:plug =- ~-+";
        QTest::newRow("one port back after waking") << "plug sleep unplug in wake =- later:out ~-+";
        QTest::newRow("nothing changed while asleep") << "plug sleep wake =";
        QTest::newRow("replugged while asleep") << "plug sleep unplug plug wake =-+";
        QTest::newRow("unplugged while asleep") << "plug sleep unplug wake =-";
        QTest::newRow("plugged in while asleep") << "sleep plug wake =+";
    }
    void returnIsNoticed()
    {
        QFETCH(QString, steps);
        LoopbackMidi midi;
        QList<int> ports;
        auto *udev = new UdevDouble;
        auto *poll = new MidiPollEventSource(&midi, 60000);
        auto *power = new PowerEventSource;
        DetectionDevice detection(&midi, [] { return false; }, {udev, poll});
        detection.addPowerSource(power);
        QString seen;
        connect(&detection, &DetectionDevice::s_devTypeAndState, this,
            [&seen](const QString &, bool arrival) { seen += arrival ? '+' : '-'; });
        std::function<void(const QString &)> run = [&](const QString &step) {
            if (step == "plug" || step == "in")
                ports << midi.addSource("Korvel Mavu");
            if (step == "plug" || step == "out")
                ports << midi.addSink("Korvel Mavu", {});
            if (step == "unplug") {
                for (int port : qAsConst(ports))
                    midi.removePort(port);
                ports.clear();
            }
            if (step.startsWith("udev"))
                udev->report(step.endsWith('+'));
            if (step == "poll")
                poll->poll();
            if (step == "sleep" || step == "wake")
                emit power->sleepChanging(step == "sleep");
            if (step.startsWith("later:"))
                QTimer::singleShot(300, this, [&run, step] { run(step.mid(6)); });
            if (step.startsWith('='))
                QCOMPARE(seen, step.mid(1));
            if (step.startsWith('~'))
                QTRY_COMPARE_WITH_TIMEOUT(seen, step.mid(1), 3000);
        };
        for (const QString &step : steps.split(' ')) {
            run(step);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // The editor on JACK: the card reported before mavu-sim's ports come, then
    // pulled out and plugged in again while udev's arrival is ahead of the ports.
    void quickReplugThroughJack()
    {
        JackServer jack;
        QString error;
        QVERIFY2(jack.start(&error, 1024, "tst_replug"), qPrintable(error));
        Editor editor(EditorSetup{jack.midi()});
        testsupport::MessageBoxCloser closer;
        QSignalSpy state(&editor.window(), &MainWindow::devStateChanged);
        GuardedProcess sim;
        QVERIFY(sim.start(simulatorPath(), {"--midi-api", "jack", "--ports-delay", "500"}));
        const auto udev = [&editor](bool arrival) {
            editor.detection()->handleDeviceEvent(UdevEventSource::pathText("/card2", "416", "b009"), arrival);
        };
        const auto reads = [&sim] { return sim.output().count("command 02"); };
        QVERIFY(sim.waitForOutput("ports in", 5000));
        udev(true);
        QTRY_COMPARE_WITH_TIMEOUT(reads(), 1, 10000);
        udev(false);
        sim.signalUser1();
        QVERIFY(sim.waitForOutput("unplugged", 5000));
        udev(true);
        sim.signalUser1();
        QTRY_COMPARE_WITH_TIMEOUT(reads(), 2, 5000);
        QCOMPARE(state.size(), 3);
        QVERIFY(state.last().first().toBool());
    }
};

MAVU_EDITOR_TEST_MAIN(TestReplug)
#include "tst_replug.moc"

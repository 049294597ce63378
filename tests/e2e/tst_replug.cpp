// A controller pulled out and plugged in again quickly through mavu-sim on
// JACK, its ports listed after udev reported it (bridges into JACK). The same
// returns in-process, and those around a sleep: tst_device returnIsNoticed.
#include "app/Editor.h"
#include "device/DetectionDevice.h"
#include "device/MidiPollEventSource.h"
#include "device/UdevEventSource.h"
#include "support/editor/EditorHarness.h"
#include "support/device/JackServer.h"
#include "support/TestSupport.h"
#include "support/editor/MessageBoxCloser.h"

#include <QSignalSpy>
#include <QtTest>

class TestReplug : public QObject
{
    Q_OBJECT

private slots:
    // The editor on JACK: the card reported before mavu-sim's ports come, then
    // pulled out and plugged in again while udev is ahead of the ports, both
    // ways.
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
        // The poll looks while the old ports are still listed after udev
        // reported the card gone, and takes them for the controller's return.
        udev(false);
        editor.detection()->findChild<MidiPollEventSource *>()->poll();
        QTRY_COMPARE_WITH_TIMEOUT(reads(), 2, 10000);
        sim.signalUser1();
        QVERIFY(sim.waitForOutput("unplugged", 5000));
        udev(true);
        sim.signalUser1();
        QTRY_COMPARE_WITH_TIMEOUT(reads(), 3, 10000);
        QCOMPARE(state.size(), 5);
        QVERIFY(state.last().first().toBool());
    }
};

MAVU_EDITOR_TEST_MAIN(TestReplug)
#include "tst_replug.moc"

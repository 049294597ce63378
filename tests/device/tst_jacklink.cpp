#include "JackFixture.h"

#include "app/ColorPalette.h"
#include "app/MainWindow.h"
#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "simulator/SimController.h"

#include <QQmlEngine>
#include <QSignalSpy>
#include <QtTest>

namespace {

// What mavu-sim answers with the given firmware version and no other setup.
QByteArray simulatorImage(int major, int minor, int patch)
{
    SimController controller;
    controller.setVersion(major, minor, patch);
    return controller.settingsReply();
}

} // namespace

// The editor against mavu-sim through a private JACK server: the real MIDI
// path from detection to settings.
class TestJackLink : public QObject
{
    Q_OBJECT
private:
    JackServer m_jack;
    std::unique_ptr<GuardedProcess> m_sim;

    void startSimulator(const QStringList &extra = {})
    {
        m_sim = std::make_unique<GuardedProcess>();
        QVERIFY(m_sim->start(simulatorPath(), QStringList{"--midi-api", "jack"} + extra));
        QVERIFY2(m_sim->waitForOutput("plugged in", 10000), m_sim->output().constData());
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_jack.start(&error), qPrintable(error));
        QVERIFY2(installSystemMidi("jack", "tst_jacklink", &error), qPrintable(error));
    }

    void cleanup()
    {
        m_sim.reset();
    }

    void cleanupTestCase()
    {
        setMidiBackend(nullptr);
        m_jack.stop();
    }

    void controllerPresentAtStartIsReadAndAskedForItsSerial()
    {
        startSimulator({"--firmware-version", "2.3.4", "--serial", "KMV-JACK-0001"});
        MainWindow window(nullptr);
        QSignalSpy serial(&window, &MainWindow::s_snNum);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), simulatorImage(2, 3, 4), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(serial.size(), 1, 5000);
        QCOMPARE(serial.first().first().toString(), QString("KMV-JACK-0001"));
        QVERIFY(m_sim->waitForOutput("received 8 bytes, command 04", 2000));
    }

    void hotPlugRemovalAndRoundTrip()
    {
        MainWindow window(nullptr);
        QSignalSpy state(&window, &MainWindow::devStateChanged);
        QSignalSpy updated(window.settings(), &DataManagement::s_updateDate);
        const QByteArray defaults = window.settings()->imageBytes();

        // Plugged in after the editor started: noticed by the port poll.
        startSimulator({"--firmware-version", "1.4.0"});
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 5000);
        QCOMPARE(state.first().first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), simulatorImage(1, 4, 0), 5000);
        QVERIFY(defaults != simulatorImage(1, 4, 0));

        // A changed image goes out whole and comes back byte for byte.
        window.settings()->setCurveInten("curve", 2);
        window.settings()->setPadInfo(7, "padData", 99);
        QByteArray expected = window.settings()->imageBytes();
        window.sendData();
        QVERIFY2(m_sim->waitForOutput("received 458 bytes, command 01", 5000), m_sim->output().constData());
        QVERIFY(m_sim->waitForOutput("settings written", 2000));
        window.settings()->initDefaultData();
        updated.clear();
        window.getData();
        QTRY_COMPARE_WITH_TIMEOUT(updated.size(), 1, 5000);
        expected[1] = char(protocol::ReadSettings);
        QCOMPARE(window.settings()->imageBytes(), expected);

        // Pulled out: the editor lets go.
        m_sim->signalUser1();
        QVERIFY(m_sim->waitForOutput("unplugged", 5000));
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 2, 5000);
        QCOMPARE(state.at(1).first().toBool(), false);

        // In again: read again.
        updated.clear();
        m_sim->signalUser1();
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 3, 5000);
        QCOMPARE(state.at(2).first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(updated.size(), 1, 5000);
    }

    void badOrMissingRepliesLeaveTheImageIntact_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::newRow("none") << "none";
        QTest::newRow("cut off") << "short";
        QTest::newRow("too long") << "long";
    }
    void badOrMissingRepliesLeaveTheImageIntact()
    {
        QFETCH(QString, reply);
        startSimulator({"--reply", reply});
        MainWindow window(nullptr);
        QSignalSpy updated(window.settings(), &DataManagement::s_updateDate);
        const QByteArray before = window.settings()->imageBytes();
        QVERIFY(m_sim->waitForOutput("received 8 bytes, command 02", 5000));
        window.getData();
        QVERIFY(m_sim->waitForOutput("received 8 bytes, command 02\nmavu-sim: received 8 bytes, command 02", 5000));
        QTest::qWait(500);
        QCOMPARE(updated.size(), 0);
        QCOMPARE(window.settings()->imageBytes(), before);
    }

    void lateReplyIsStillTaken()
    {
        startSimulator({"--reply-delay", "800", "--firmware-version", "9.8.7"});
        MainWindow window(nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), simulatorImage(9, 8, 7), 5000);
    }
};

int main(int argc, char *argv[])
{
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    QApplication app(argc, argv);
    TestJackLink test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_jacklink.moc"

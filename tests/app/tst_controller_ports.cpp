// The window's conversation with the controller through the in-process MIDI
// system: which ports it opens on an arrival (also one reported before its
// ports), what it sends, what it takes from replies, and a port that is busy.
#include "app/Editor.h"
#include "device/DetectionDevice.h"
#include "device/LoopbackMidi.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "support/TestSupport.h"
#include "support/editor/EditorHarness.h"
#include "support/editor/MessageBoxCloser.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

using testsupport::fromHex;
using Args = QList<QVariant>;

namespace {

const QString kController = "\\\\?\\USB#VID_0416&PID_B009&MI_00#7&1a2b&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";

QByteArray image(char command, char fill)
{
    DataManagement d;
    d.initDefaultData();
    QByteArray bytes = d.imageBytes();
    bytes[1] = command;
    bytes[20] = fill; // somewhere in the pad records
    return bytes;
}

} // namespace

class TestControllerPorts : public QObject
{
    Q_OBJECT
    std::unique_ptr<LoopbackMidi> m_midi;
    std::unique_ptr<Editor> m_editor;
    QList<QByteArray> m_sent;
    int m_source = -1;
    int m_sink = -1;

    DataManagement *settings() { return m_editor->settings(); }
    MainWindow *window() { return &m_editor->window(); }
    bool portsOpen() { return m_midi->openCount(m_source) == 1 && m_midi->openCount(m_sink) == 1; }
    // After an exchange: the output let go, the input kept to hear the controller played.
    bool exchangeOver() { return m_midi->openCount(m_source) == 1 && m_midi->openCount(m_sink) == 0; }

    // The controller's ports after others; returns once the editor's port
    // poll has noticed it and it asked for the settings.
    void plugIn(bool busy = false)
    {
        QSignalSpy state(window(), &MainWindow::devStateChanged);
        m_midi->addSource("Webcam");
        m_midi->addSource("Other"); // the controller's input index differs from its output's
        m_midi->addSink("Synth", {});
        m_source = m_midi->addSource("Korvel Mavu");
        m_midi->addSource("Korvel Mavu"); // a second of the name is not opened
        m_sink = m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sent << m; });
        m_midi->setBusy(m_source, busy);
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QCOMPARE(state.first(), Args{true});
        if (!busy)
            QTRY_COMPARE(m_sent.size(), 1);
    }

private slots:
    void init()
    {
        m_sent.clear();
        m_midi = std::make_unique<LoopbackMidi>();
        m_editor = std::make_unique<Editor>(EditorSetup{m_midi.get()});
    }
    void cleanup() { m_editor.reset(); }

    void arrivalOpensTheLowestPortsReadsAndAsksForTheSerial()
    {
        QSignalSpy hints(window(), &MainWindow::showHint);
        plugIn();
        QVERIFY(portsOpen());
        QCOMPARE(m_midi->openCount(m_source + 1), 0);
        QCOMPARE(QList<Args>(hints), QList<Args>{(Args{false, true})});
        QCOMPARE(m_sent, QList<QByteArray>{fromHex("F0 02 00 00 00 20 6F F7")});
        // Two seconds later: the serial number, without a hint.
        QTRY_COMPARE_WITH_TIMEOUT(m_sent.size(), 2, 3000);
        QCOMPARE(m_sent.at(1), fromHex("F0 04 00 00 00 20 6F F7"));
        QCOMPARE(hints.size(), 1);
    }

    // The card reported before its ports: no warning, no other device's port
    // opened by the indexes the controller had before, and the settings read
    // once the ports are there.
    void arrivalBeforeThePortsWaitsForThem()
    {
        testsupport::MessageBoxCloser closer;
        plugIn();
        QSignalSpy state(window(), &MainWindow::devStateChanged);
        for (int port : {m_source, m_source + 1, m_sink})
            m_midi->removePort(port);
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QList<QByteArray> stray;
        m_midi->addSink("Synth 2", [&stray](const QByteArray &m) { stray << m; });
        const int keys = m_midi->addSource("Keys");
        m_sent.clear();
        m_editor->detection()->handleDeviceEvent(kController, true);
        QCOMPARE(state.size(), 1);
        // Told of the controller all the same (as at start-up with half its ports listed).
        QVERIFY(
            QMetaObject::invokeMethod(window(), "onDevArrivalOrRemove", Q_ARG(QString, "zt118"), Q_ARG(bool, true)));
        QCOMPARE(m_midi->openCount(keys), 0);
        m_source = m_midi->addSource("Korvel Mavu");
        m_sink = m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sent << m; });
        QTRY_VERIFY_WITH_TIMEOUT(m_sent.contains(protocol::request(protocol::ReadSettings)), 3000);
        QVERIFY(portsOpen());
        QVERIFY(stray.isEmpty() && closer.texts().isEmpty());
    }

    void repliesAreTakenOnlyWhole()
    {
        plugIn();
        const QByteArray before = settings()->imageBytes();
        QSignalSpy updated(settings(), &DataManagement::s_updateDate);
        QSignalSpy serial(window(), &MainWindow::s_snNum);
        QByteArray cut = image(0x02, 0x44).left(100);
        cut[99] = char(0xF7);
        QByteArray unterminated = image(0x02, 0x44);
        unterminated[457] = 0x00;
        for (const QByteArray &bad : {cut, image(0x02, 0x44).insert(457, QByteArray(5, 0x01)), unterminated})
            m_midi->emitFrom(m_source, bad);
        // The serial number is passed on (a short one ends at its first zero); the ports stay open.
        m_midi->emitFrom(m_source, protocol::serialReply("KMV2403001234"));
        m_midi->emitFrom(m_source, protocol::serialReply("AB12"));
        QTRY_COMPARE(QList<Args>(serial), (QList<Args>{Args{"KMV2403001234"}, Args{"AB12"}}));
        QCOMPARE(updated.size(), 0);
        QCOMPARE(settings()->imageBytes(), before);
        QVERIFY(portsOpen());

        m_midi->emitFrom(m_source, image(0x02, 0x45));
        QTRY_COMPARE(updated.size(), 1);
        QCOMPARE(settings()->imageBytes(), image(0x02, 0x45));
        QVERIFY(exchangeOver());
        QSignalSpy hits(window(), &MainWindow::controlHit);
        m_midi->emitFrom(m_source, fromHex("90 2A 64"));
        QTRY_COMPARE(QList<Args>(hits), QList<Args>{(Args{"pad", 18})});
    }

    void sendingWritesACopyMarkedAsWriteAndCloses()
    {
        plugIn();
        m_midi->emitFrom(m_source, image(0x02, 0x55));
        QTRY_COMPARE(settings()->imageBytes(), image(0x02, 0x55));
        m_sent.clear();
        QSignalSpy hints(window(), &MainWindow::showHint);
        window()->sendData();
        QCOMPARE(QList<Args>(hints), QList<Args>{(Args{true, true})});
        QTRY_COMPARE(m_sent.size(), 1);
        QCOMPARE(m_sent.first(), image(0x01, 0x55));
        QCOMPARE(settings()->imageBytes().at(1), char(0x02)); // the image keeps its own byte 1
        QVERIFY(exchangeOver());
        // A later read opens them again.
        window()->getData();
        QVERIFY(portsOpen());
        QTRY_COMPARE(m_sent.size(), 2);
        QCOMPARE(m_sent.at(1), protocol::request(protocol::ReadSettings));
    }

    void occupiedInputWarnsAndSkipsTheOutput()
    {
        testsupport::MessageBoxCloser closer;
        QSignalSpy hints(window(), &MainWindow::showHint);
        plugIn(true);
        QCOMPARE(closer.texts(), QStringList{"The current device is occupied"});
        QCOMPARE(m_midi->openCount(m_sink), 0);
        QCOMPARE(hints.first(), (Args{false, false}));
        // The serial-number request two seconds later meets the same.
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts().size(), 2, 3000);
        QVERIFY(m_sent.isEmpty());
    }
};

MAVU_EDITOR_TEST_MAIN(TestControllerPorts)
#include "tst_controller_ports.moc"

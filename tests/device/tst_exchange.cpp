// The editor's conversation with the controller, through the in-process MIDI
// system: which ports it opens, what it sends, what it takes from replies.
#include "app/MainWindow.h"
#include "device/LoopbackMidi.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

using testsupport::fromHex;
using Args = QList<QVariant>;

namespace {

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

class TestExchange : public QObject
{
    Q_OBJECT
    LoopbackMidi *m_midi = nullptr;
    std::unique_ptr<MainWindow> m_window;
    QList<QByteArray> m_sent;
    int m_source = -1;
    int m_sink = -1;

    DataManagement *settings() { return m_window->settings(); }
    bool portsOpen() { return m_midi->openCount(m_source) == 1 && m_midi->openCount(m_sink) == 1; }
    bool portsClosed() { return m_midi->openCount(m_source) == 0 && m_midi->openCount(m_sink) == 0; }

    // The controller's ports after others; returns once the editor's port
    // poll has noticed it and it asked for the settings.
    void plugIn(bool busy = false)
    {
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
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
        m_midi = editorharness::useLoopbackMidi();
        m_sent.clear();
        m_window = std::make_unique<MainWindow>(nullptr);
    }

    void cleanup()
    {
        m_window.reset();
        setMidiBackend(nullptr);
    }

    void arrivalOpensTheLowestPortsReadsAndAsksForTheSerial()
    {
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        m_window->sendData(); // without a controller both fail
        m_window->getData();
        QCOMPARE(QList<Args>(hints), (QList<Args>{Args{true, false}, Args{false, false}}));
        hints.clear();
        plugIn();
        QVERIFY(portsOpen());
        QCOMPARE(m_midi->openCount(m_source + 1), 0);
        QCOMPARE(QList<Args>(hints), QList<Args>{(Args{false, true})});
        QCOMPARE(m_sent.first(), fromHex("F0 02 00 00 00 20 6F F7"));
        // Two seconds later: the serial number, without a hint.
        QTest::qWait(1500);
        QCOMPARE(m_sent.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_sent.size(), 2, 1500);
        QCOMPARE(m_sent.at(1), fromHex("F0 04 00 00 00 20 6F F7"));
        QCOMPARE(hints.size(), 1);
    }

    void repliesAreTakenOnlyWhole()
    {
        plugIn();
        const QByteArray before = settings()->imageBytes();
        QSignalSpy updated(settings(), &DataManagement::s_updateDate);
        QSignalSpy serial(m_window.get(), &MainWindow::s_snNum);
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
        QVERIFY(portsClosed());
    }

    void sendingWritesACopyMarkedAsWriteAndCloses()
    {
        plugIn();
        m_midi->emitFrom(m_source, image(0x02, 0x55));
        QTRY_COMPARE(settings()->imageBytes(), image(0x02, 0x55));
        m_sent.clear();
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        m_window->sendData();
        QCOMPARE(QList<Args>(hints), QList<Args>{(Args{true, true})});
        QTRY_COMPARE(m_sent.size(), 1);
        QCOMPARE(m_sent.first(), image(0x01, 0x55));
        QCOMPARE(settings()->imageBytes().at(1), char(0x02)); // the image keeps its own byte 1
        QVERIFY(portsClosed());
        // A later read opens them again.
        m_window->getData();
        QVERIFY(portsOpen());
        QTRY_COMPARE(m_sent.size(), 2);
        QCOMPARE(m_sent.at(1), protocol::request(protocol::ReadSettings));
    }

    void occupiedInputWarnsAndSkipsTheOutput()
    {
        testsupport::MessageBoxCloser closer;
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        plugIn(true);
        QCOMPARE(closer.texts(), QStringList{"The current device is occupied"});
        QCOMPARE(m_midi->openCount(m_sink), 0);
        QCOMPARE(hints.first(), (Args{false, false}));
        // The serial-number request two seconds later meets the same.
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts().size(), 2, 3000);
        QVERIFY(m_sent.isEmpty());
    }
};

MAVU_EDITOR_TEST_MAIN(TestExchange)
#include "tst_exchange.moc"

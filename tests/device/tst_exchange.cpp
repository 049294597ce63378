#include "app/ColorPalette.h"
#include "app/MainWindow.h"
#include "device/LoopbackMidi.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "support/TestSupport.h"

#include <QQmlEngine>
#include <QSignalSpy>
#include <QtTest>

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

// The editor's conversation with the controller, through the in-process MIDI
// system: which ports it opens, what it sends, what it takes from replies.
// The built-in simulated controller is driven by tst_editor_integration.
class TestExchange : public QObject
{
    Q_OBJECT
private:
    LoopbackMidi *m_midi = nullptr;
    std::unique_ptr<MainWindow> m_window;
    QList<QByteArray> m_sent;
    int m_source = -1;
    int m_sink = -1;

    // Reports a device event as the detection would.
    void report(bool isArrival, const QString &type = "zt118")
    {
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), "onDevArrivalOrRemove", Qt::DirectConnection,
                                          Q_ARG(QString, type), Q_ARG(bool, isArrival)));
    }

    // The controller's ports, after others of other names.
    void plugController()
    {
        m_midi->addSource("Webcam");
        m_midi->addSink("Synth", {});
        m_source = m_midi->addSource("Korvel Mavu");
        m_sink = m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sent << m; });
    }

    // Plugs the controller in and waits until the editor has noticed it (by
    // its port poll) and asked for the settings.
    void arrive()
    {
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
        plugController();
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QTRY_COMPARE(m_sent.size(), 1);
    }

private slots:
    void initTestCase()
    {
        qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    }

    void init()
    {
        auto midi = std::make_unique<LoopbackMidi>();
        m_midi = midi.get();
        setMidiBackend(std::move(midi));
        m_sent.clear();
        m_window = std::make_unique<MainWindow>(nullptr);
    }

    void cleanup()
    {
        m_window.reset();
        setMidiBackend(nullptr);
    }

    void arrivalOpensTheLowestPortsOfTheNameAndReads()
    {
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
        m_midi->addSource("Webcam");
        m_midi->addSource("Other");
        const int first = m_midi->addSource("Korvel Mavu");  // input index 2
        const int second = m_midi->addSource("Korvel Mavu"); // input index 3
        m_midi->addSink("Synth", {});
        const int sink = m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sent << m; }); // output index 1

        QTest::ignoreMessage(QtDebugMsg, "m_inDevIndex: 2");
        QTest::ignoreMessage(QtDebugMsg, "m_outDevIndex: 1");
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QCOMPARE(m_midi->openCount(first), 1);
        QCOMPARE(m_midi->openCount(second), 0);
        QCOMPARE(m_midi->openCount(sink), 1);
        QCOMPARE(hints.size(), 1);
        QCOMPARE(hints.first(), (QList<QVariant>{false, true}));
        QCOMPARE(state.size(), 1);
        QCOMPARE(state.first().first().toBool(), true);
        QTRY_COMPARE(m_sent.size(), 1);
        QCOMPARE(m_sent.first(), testsupport::fromHex("F0 02 00 00 00 20 6F F7"));

        // Two seconds later: the serial number, without a hint.
        QTest::qWait(1500);
        QCOMPARE(m_sent.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_sent.size(), 2, 1500);
        QCOMPARE(m_sent.at(1), testsupport::fromHex("F0 04 00 00 00 20 6F F7"));
        QCOMPARE(hints.size(), 1);
    }

    void settingsReplyReplacesTheImageAndClosesThePorts()
    {
        arrive();
        QSignalSpy updated(m_window->settings(), &DataManagement::s_updateDate);
        const QByteArray reply = image(0x02, 0x33);
        m_midi->emitFrom(m_source, reply);
        QTRY_COMPARE(updated.size(), 1);
        QCOMPARE(m_window->settings()->imageBytes(), reply);
        QCOMPARE(m_midi->openCount(m_source), 0);
        QCOMPARE(m_midi->openCount(m_sink), 0);
    }

    void malformedRepliesLeaveTheImageIntact()
    {
        arrive();
        const QByteArray before = m_window->settings()->imageBytes();
        QSignalSpy updated(m_window->settings(), &DataManagement::s_updateDate);

        QByteArray cut = image(0x02, 0x44).left(100);
        cut[99] = char(0xF7);
        QByteArray extra = image(0x02, 0x44);
        extra.insert(457, QByteArray(5, 0x01));
        QByteArray unterminated = image(0x02, 0x44);
        unterminated[457] = 0x00;
        for (const QByteArray &bad : {cut, extra, unterminated})
            m_midi->emitFrom(m_source, bad);
        QTest::qWait(50);
        QCOMPARE(updated.size(), 0);
        QCOMPARE(m_window->settings()->imageBytes(), before);
        // Still waiting for a proper answer: the ports stay open.
        QCOMPARE(m_midi->openCount(m_source), 1);

        m_midi->emitFrom(m_source, image(0x02, 0x45));
        QTRY_COMPARE(updated.size(), 1);
        QCOMPARE(m_window->settings()->imageBytes(), image(0x02, 0x45));
    }

    void serialNumberReplyIsPassedOnAndKeepsThePortsOpen()
    {
        arrive();
        QSignalSpy serial(m_window.get(), &MainWindow::s_snNum);
        m_midi->emitFrom(m_source, protocol::serialReply("KMV2403001234"));
        QTRY_COMPARE(serial.size(), 1);
        QCOMPARE(serial.first().first().toString(), QString("KMV2403001234"));
        QCOMPARE(m_midi->openCount(m_source), 1);

        // Shorter text ends at its first zero byte.
        m_midi->emitFrom(m_source, protocol::serialReply("AB12"));
        QTRY_COMPARE(serial.size(), 2);
        QCOMPARE(serial.at(1).first().toString(), QString("AB12"));
    }

    void sendingWritesACopyMarkedAsWriteAndCloses()
    {
        arrive();
        m_midi->emitFrom(m_source, image(0x02, 0x55));
        QTRY_COMPARE(m_window->settings()->imageBytes(), image(0x02, 0x55));
        m_sent.clear();

        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        m_window->sendData();
        QCOMPARE(hints.size(), 1);
        QCOMPARE(hints.first(), (QList<QVariant>{true, true}));
        QTRY_COMPARE(m_sent.size(), 1);
        const QByteArray written = m_sent.first();
        QCOMPARE(written.size(), 458);
        QVERIFY(written.startsWith(testsupport::fromHex("F0 01 00 00 00 20 6F")));
        QCOMPARE(quint8(written.back()), quint8(0xF7));
        QCOMPARE(written.mid(2), image(0x02, 0x55).mid(2));
        // The image in memory keeps its own byte 1.
        QCOMPARE(m_window->settings()->imageBytes().at(1), char(0x02));
        QCOMPARE(m_midi->openCount(m_source), 0);
        QCOMPARE(m_midi->openCount(m_sink), 0);

        // A later read opens them again.
        m_window->getData();
        QCOMPARE(m_midi->openCount(m_source), 1);
        QTRY_COMPARE(m_sent.size(), 2);
        QCOMPARE(m_sent.at(1), protocol::request(protocol::ReadSettings));
    }

    void withoutAControllerEverySendFails()
    {
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        const QByteArray before = m_window->settings()->imageBytes();
        m_window->sendData();
        m_window->getData();
        QCOMPARE(hints.size(), 2);
        QCOMPARE(hints.at(0), (QList<QVariant>{true, false}));
        QCOMPARE(hints.at(1), (QList<QVariant>{false, false}));
        QCOMPARE(m_window->settings()->imageBytes(), before);
    }

    void removalClosesThePorts()
    {
        arrive();
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
        report(false);
        QCOMPARE(state.size(), 1);
        QCOMPARE(state.first().first().toBool(), false);
        QCOMPARE(m_midi->openCount(m_source), 0);
        QCOMPARE(m_midi->openCount(m_sink), 0);
        // Another device's removal (empty type) is not the controller's.
        report(true);
        state.clear();
        report(false, QString());
        QCOMPARE(state.size(), 0);
        QCOMPARE(m_midi->openCount(m_source), 1);
    }

    void occupiedInputWarnsAndSkipsTheOutput()
    {
        testsupport::MessageBoxCloser closer;
        QSignalSpy hints(m_window.get(), &MainWindow::showHint);
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
        m_midi->addSink("Synth", {});
        m_source = m_midi->addSource("Korvel Mavu");
        m_sink = m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sent << m; });
        m_midi->setBusy(m_source, true);
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QCOMPARE(closer.texts(), QStringList{"The current device is occupied"});
        QCOMPARE(m_midi->openCount(m_sink), 0);
        QCOMPARE(hints.first(), (QList<QVariant>{false, false}));
        QCOMPARE(state.first().first().toBool(), true);
        // The serial-number request two seconds later meets the same.
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts().size(), 2, 3000);
        QVERIFY(m_sent.isEmpty());
    }

    void unplugIsNoticedByThePortPoll()
    {
        arrive();
        QSignalSpy state(m_window.get(), &MainWindow::devStateChanged);
        m_midi->removePort(m_source);
        m_midi->removePort(m_sink);
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 3000);
        QCOMPARE(state.first().first().toBool(), false);
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"

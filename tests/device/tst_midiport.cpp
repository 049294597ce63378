#include "device/LoopbackMidi.h"
#include "device/MidiPort.h"

#include <QtTest>

// MidiIn and MidiOut through the in-process MIDI system: states, listing,
// sending, receiving, and finding a port whose index moved.
class TestMidiPort : public QObject
{
    Q_OBJECT
private:
    LoopbackMidi *m_midi = nullptr;
    QList<QByteArray> m_sunk;

    static QList<QByteArray> &received()
    {
        static QList<QByteArray> list;
        return list;
    }
    static void handler(char *data, int len) { received() << QByteArray(data, len); }

private slots:
    void init()
    {
        auto midi = std::make_unique<LoopbackMidi>();
        m_midi = midi.get();
        setMidiBackend(std::move(midi));
        received().clear();
        m_sunk.clear();
    }

    void listsEveryPortInIndexOrderWithDuplicates()
    {
        m_midi->addSource("Other");
        m_midi->addSource("Korvel Mavu");
        m_midi->addSource("Korvel Mavu");
        m_midi->addSink("Korvel Mavu", {});
        const QMap<int, QString> in = midiInDevices();
        QCOMPARE(in.size(), 3);
        QCOMPARE(in.value(0), QString("Other"));
        QCOMPARE(in.value(1), QString("Korvel Mavu"));
        QCOMPARE(in.value(2), QString("Korvel Mavu"));
        QCOMPARE(midiOutDevices().value(0), QString("Korvel Mavu"));
    }

    void openAndCloseAreIdempotent()
    {
        const int source = m_midi->addSource("Korvel Mavu");
        const int sink = m_midi->addSink("Korvel Mavu", {});
        midiInDevices();
        midiOutDevices();
        MidiIn in;
        MidiOut out;
        QVERIFY(!in.isOpen());
        QVERIFY(in.open(0, &TestMidiPort::handler));
        QVERIFY(in.open(0, &TestMidiPort::handler));
        QCOMPARE(m_midi->openCount(source), 1); // the second open touched nothing
        QVERIFY(out.open(0));
        QVERIFY(out.open(0));
        QCOMPARE(m_midi->openCount(sink), 1);
        in.close();
        in.close();
        out.close();
        QCOMPARE(m_midi->openCount(source), 0);
        QCOMPARE(m_midi->openCount(sink), 0);
        QVERIFY(!in.isOpen() && !out.isOpen());
        // Reopening after a close works.
        QVERIFY(in.open(0, &TestMidiPort::handler));
    }

    void sendOnAClosedPortFailsQuietly()
    {
        m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sunk << m; });
        MidiOut out;
        const char bytes[] = {char(0xF0), 0x02, char(0xF7)};
        static int lines = 0;
        lines = 0;
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) { ++lines; });
        const bool sent = out.send(bytes, 3);
        qInstallMessageHandler(previous);
        QVERIFY(!sent);
        QCOMPARE(lines, 0);
        QCoreApplication::processEvents();
        QVERIFY(m_sunk.isEmpty());
    }

    void messagesTravelWholeBothWays()
    {
        const int source = m_midi->addSource("Korvel Mavu");
        m_midi->addSink("Korvel Mavu", [this](const QByteArray &m) { m_sunk << m; });
        midiInDevices();
        midiOutDevices();
        MidiIn in;
        MidiOut out;
        QVERIFY(in.open(0, &TestMidiPort::handler));
        QVERIFY(out.open(0));

        QByteArray big(458, 0x11);
        big[0] = char(0xF0);
        big[457] = char(0xF7);
        QVERIFY(out.send(big.constData(), big.size()));
        QTRY_COMPARE(m_sunk.size(), 1);
        QCOMPARE(m_sunk.first(), big);

        m_midi->emitFrom(source, big);
        QTRY_COMPARE(received().size(), 1);
        QCOMPARE(received().first(), big);

        // Short messages and empty deliveries are not for the handler.
        m_midi->emitFrom(source, QByteArray::fromHex("903c64"));
        m_midi->emitFrom(source, QByteArray());
        m_midi->emitFrom(source, QByteArray::fromHex("f8"));
        QTest::qWait(20);
        QCOMPARE(received().size(), 1);

        // Once closed, what is still under way is dropped, not delivered.
        m_midi->emitFrom(source, big);
        in.close();
        QTest::qWait(20);
        QCOMPARE(received().size(), 1);
    }

    void openFindsTheListedPortAfterIndexesMoved()
    {
        m_midi->addSource("Other");
        const int mavu = m_midi->addSource("Korvel Mavu");
        const QMap<int, QString> listed = midiInDevices();
        QCOMPARE(listed.value(1), QString("Korvel Mavu"));
        // "Other" leaves: the controller now sits at index 0.
        m_midi->removePort(0);
        MidiIn in;
        QVERIFY(in.open(1, &TestMidiPort::handler));
        QCOMPARE(m_midi->openCount(mavu), 1);
    }

    void openFailsForAGoneOrBusyPort()
    {
        const int source = m_midi->addSource("Korvel Mavu");
        midiInDevices();
        m_midi->setBusy(source, true);
        MidiIn in;
        QTest::ignoreMessage(QtDebugMsg, "midiInOpen error");
        QVERIFY(!in.open(0, &TestMidiPort::handler));
        QVERIFY(!in.isOpen());
        m_midi->setBusy(source, false);
        QVERIFY(in.open(0, &TestMidiPort::handler));
        in.close();
        m_midi->removePort(source);
        QVERIFY(!in.open(0, &TestMidiPort::handler));
        MidiOut out;
        QVERIFY(!out.open(7));
    }
};

QTEST_GUILESS_MAIN(TestMidiPort)
#include "tst_midiport.moc"

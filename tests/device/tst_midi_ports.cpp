// The MIDI ports through the in-process MIDI system: port names as ALSA,
// JACK and the bridges list them, the receive queue from JACK's thread, and
// MidiIn and MidiOut opening once and carrying whole messages.
#include "device/ControllerLink.h"
#include "device/LoopbackMidi.h"
#include "device/MidiPort.h"
#include "device/RtMidiBackend.h"
#include "device/SysExQueue.h"
#include "device/UdevEventSource.h"

#include <QtTest>

namespace {

QList<QByteArray> s_received;
void receive(char *data, int len)
{
    s_received << QByteArray(data, len);
}

} // namespace

class TestMidiPorts : public QObject
{
    Q_OBJECT
    std::unique_ptr<LoopbackMidi> m_midi;

private slots:
    void init()
    {
        m_midi = std::make_unique<LoopbackMidi>();
        s_received.clear();
    }

    // Port names as ALSA, JACK and the bridges into JACK list them, recorded.
    void productNames()
    {
        const struct {
            bool jack;
            const char *port;
            const char *product;
        } rows[] = {
            {false, "Korvel Mavu:Korvel Mavu MIDI 1 24:0", "Korvel Mavu"},
            {false, "USB 2 MIDI:USB 2 MIDI MIDI 1 24:1", "USB 2 MIDI"},
            {false, "Korvel Mavu 2:Korvel Mavu 2 MIDI 1 28:0", "Korvel Mavu 2"},
            {false, "Korvel Mavu", "Korvel Mavu"}, // bare
            {true, "Korvel Mavu-01:Korvel Mavu", "Korvel Mavu"}, // a second client
            {true, "korvel-mavu:korvel-mavu out", "korvel-mavu out"}, // our own port
            {true, "Korvel Mavu", "Korvel Mavu"},
            {true, "a2j:Korvel Mavu [24] (capture): Korvel Mavu MIDI 1", "Korvel Mavu"},
            {true, "a2j:Korvel Mavu [24] (playback): Korvel Mavu MIDI 1", "Korvel Mavu"},
            {true, "a2j:Korvel Mavu (capture): Korvel Mavu MIDI 1", "Korvel Mavu"}, // a2j -u
            {true, "a2j:Korvel Mavu Pro [28] (capture): Korvel Mavu Pro MIDI 1", "Korvel Mavu Pro"},
            {true, "Midi-Bridge:Korvel Mavu 1:(capture_0) Korvel Mavu MIDI 1", "Korvel Mavu"}, // PipeWire
            {true, "Midi-Bridge:Korvel Mavu 1:(playback_0) Korvel Mavu MIDI 1", "Korvel Mavu"},
            {true, "Midi-Bridge:Korvel Mavu 2:(capture_0) Korvel Mavu MIDI 1", "Korvel Mavu"}, // card 2
            {true, "Midi-Bridge:Korvel Mavu:(capture_0) Korvel Mavu", "Korvel Mavu"}, // software
            {true, "Midi-Bridge:Korvel Mavu 2 1:(capture_0) Korvel Mavu 2 MIDI 1", "Korvel Mavu 2"},
            {true, "Midi-Bridge:Korvel Mavu 2:(capture_0) Korvel Mavu 2 MIDI 1", "Korvel Mavu 2"},
            {true, "Midi-Bridge:Korvel Mavu 3:(capture_0) Pads", "Korvel Mavu 3"}, // unsure
        };
        for (const auto &row : rows) {
            const RtMidiBackend backend(row.jack ? RtMidiBackend::Api::Jack : RtMidiBackend::Api::Alsa, "tst_device");
            QCOMPARE(backend.productName(row.port), QString(row.product));
        }
    }

    // Paths and listings turned into what the detection and the port layer compare.
    void namesAndPaths()
    {
        const QString mavu = "Korvel Mavu-01:Korvel Mavu";
        QCOMPARE(currentIndexOf({"new", "a", mavu, "b"}, 1, mavu), 2); // follows the port when others move
        QCOMPARE(currentIndexOf({"a", "b"}, 1, mavu), -1);
        QCOMPARE(currentIndexOf({"x", "x", "x"}, 2, "x"), 2); // the listed index is kept while it fits
        QCOMPARE(lowestIndexNamed({{0, "Korvel Mavu 2"}, {1, "Korvel Mavu"}, {2, "Korvel Mavu"}}, "Korvel Mavu", 5), 1);
        QCOMPARE(lowestIndexNamed({{0, "Other"}}, "Korvel Mavu", 5), 5);
        using Kind = UdevEventSource::Kind;
        QCOMPARE(UdevEventSource::classify("change", "card2", true), Kind::Arrival);
        QCOMPARE(UdevEventSource::classify("change", "card2", false), Kind::None);
        QCOMPARE(UdevEventSource::classify("remove", "card2", false), Kind::Removal);
        QCOMPARE(UdevEventSource::classify("remove", "midiC2D0", false), Kind::None); // nodes go with their card
        const QString path = UdevEventSource::pathText("/devices/usb1/1-2/sound/card2", "416", "b009");
        QVERIFY(path.startsWith("/devices/usb1") && path.contains("VID_0416&PID_B009"));
    }

    // The hand-over from JACK's process thread: "+N" queues message number k
    // (N bytes of k), "-" takes the oldest; which numbers come out, in order.
    void receiveQueue_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("ops");
        QTest::addColumn<QString>("out");
        QTest::addColumn<unsigned>("tooLong");
        QTest::addColumn<unsigned>("full");
        QTest::newRow("wrap-around") << 3 << "+10 +20 - - +30 +40 +50 - - - -"
                                     << "1 2 3 4 5" << 0u << 0u;
        QTest::newRow("full") << 2 << "+10 +20 +30 - +40 - - -"
                              << "1 2 4" << 0u << 1u;
        QTest::newRow("oversize") << 4 << "+458 +1024 +1025 +0 +100000 - - -"
                                  << "1 2" << 2u << 0u;
    }
    void receiveQueue()
    {
        QFETCH(int, count);
        QFETCH(QString, ops);
        QFETCH(QString, out);
        SysExQueue queue(count);
        QList<QByteArray> pushed;
        QStringList taken;
        char buffer[SysExQueue::kSlotBytes];
        for (const QString &op : ops.split(' ')) {
            if (op == "-") {
                const QByteArray got(buffer, queue.pop(buffer));
                if (!got.isEmpty())
                    taken << QString::number(pushed.indexOf(got) + 1);
                continue;
            }
            const QByteArray message(op.mid(1).toInt(), char(pushed.size() + 1));
            pushed << message;
            queue.push(reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()));
        }
        QCOMPARE(taken.join(' '), out);
        QTEST(queue.droppedTooLong(), "tooLong");
        QTEST(queue.droppedFull(), "full");
    }

    void portsOpenOnceAndCarryWholeMessages()
    {
        m_midi->addSource("Other");
        const int source = m_midi->addSource("Korvel Mavu");
        QList<QByteArray> sunk;
        const int sink = m_midi->addSink("Korvel Mavu", [&sunk](const QByteArray &m) { sunk << m; });
        MidiPortList ports(m_midi.get());
        QCOMPARE(ports.midiInDevices(), (QMap<int, QString>{{0, "Other"}, {1, "Korvel Mavu"}}));
        QCOMPARE(ports.midiOutDevices(), (QMap<int, QString>{{0, "Korvel Mavu"}}));
        MidiIn in(ports);
        MidiOut out(ports);
        const QByteArray big = char(0xF0) + QByteArray(456, 0x11) + char(0xF7);
        QVERIFY(!out.send(big.constData(), big.size())); // closed: fails quietly
        QVERIFY(in.open(1, &receive) && in.open(1, &receive));
        QVERIFY(out.open(0) && out.open(0));
        QCOMPARE(m_midi->openCount(source), 1);
        QCOMPARE(m_midi->openCount(sink), 1);

        QVERIFY(out.send(big.constData(), big.size()));
        m_midi->emitFrom(source, QByteArray::fromHex("903c64")); // not SysEx: not for the handler
        m_midi->emitFrom(source, QByteArray());
        m_midi->emitFrom(source, big); // delivered in order: after it nothing else can come
        QTRY_COMPARE(sunk, QList<QByteArray>{big});
        QTRY_COMPARE(s_received, QList<QByteArray>{big});
        // Once closed, what is still under way is dropped, not delivered.
        m_midi->emitFrom(source, big);
        in.close();
        in.close();
        out.close();
        QCOMPARE(m_midi->openCount(source) + m_midi->openCount(sink), 0);
        QVERIFY(!in.isOpen() && !out.isOpen());
        m_midi->setBusy(source, true);
        QVERIFY(!in.open(1, &receive) && !in.isOpen());
        m_midi->removePort(source);
        QVERIFY(!in.open(1, &receive));
        QVERIFY(!out.open(7));
    }
};

QTEST_GUILESS_MAIN(TestMidiPorts)
#include "tst_midi_ports.moc"

// The device layer through the in-process MIDI system: port names as ALSA,
// JACK and the bridges list them, the receive queue from JACK's thread, MidiIn
// and MidiOut opening once and carrying whole messages, and the detection's
// decisions: arrivals and removals from udev and the port poll, and what
// counts as the controller at start-up (MIDI ports or its update port).
// Replugs, also around a sleep; through JACK: tst_replug.
#include "device/ControllerLink.h"
#include "device/DetectionDevice.h"
#include "device/DeviceEventSource.h"
#include "device/LoopbackMidi.h"
#include "device/MidiPollEventSource.h"
#include "device/MidiPort.h"
#include "device/PowerEventSource.h"
#include "device/RtMidiBackend.h"
#include "device/SysExQueue.h"
#include "device/UdevEventSource.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QList<QByteArray> s_received;
void receive(char *data, int len)
{
    s_received << QByteArray(data, len);
}

class FakeSource : public DeviceEventSource
{
public:
    void report(const QString &path, bool arrival) { emit deviceEvent(path, arrival); }
};

SerialPortEntry port(const char *name, quint16 vid, quint16 pid)
{
    return {QString::fromLatin1(name), true, vid, pid};
}

const QString kController = "\\\\?\\USB#VID_0416&PID_B009&MI_00#7&1a2b&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";
const QString kOther = "\\\\?\\USB#VID_046D&PID_0A44&MI_01#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";

QStringList events(const QSignalSpy &spy)
{
    QStringList list;
    for (const QList<QVariant> &args : spy)
        list << args.at(0).toString() + (args.at(1).toBool() ? "+" : "-");
    return list;
}

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT
    std::unique_ptr<LoopbackMidi> m_midi;
    FakeSource *m_events = nullptr;

    std::unique_ptr<DetectionDevice> detection(QList<SerialPortEntry> ports = {}, const QString &named = QString())
    {
        m_events = new FakeSource;
        return std::make_unique<DetectionDevice>(m_midi.get(),
            updateport::presence(std::make_shared<FixedSerialPortFinder>(ports), named),
            QList<DeviceEventSource *>{m_events});
    }

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
        QTest::newRow("wrap-around") << 3 << QString("+10 +20 - - +30 +40 +50 - - - -") << "1 2 3 4 5" << 0u << 0u;
        QTest::newRow("full") << 2 << QString("+10 +20 +30 - +40 - - -") << "1 2 4" << 0u << 1u;
        QTest::newRow("oversize") << 4 << QString("+458 +1024 +1025 +0 +100000 - - -") << "1 2" << 2u << 0u;
    }
    void receiveQueue()
    {
        QFETCH(int, count);
        QFETCH(QString, ops);
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
        QTEST(taken.join(' '), "out");
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

    void arrivalsAndRemovals()
    {
        auto d = detection();
        QSignalSpy spy(d.get(), &DetectionDevice::s_devTypeAndState);
        // udev reports the card before the sequencer lists its ports: that
        // waits for the port poll to see both of them.
        m_events->report(kController, true);
        m_midi->addSource("Korvel Mavu");
        m_events->report(kController, true);
        QVERIFY(spy.isEmpty() && !d->devArrived());
        m_midi->addSink("Korvel Mavu", {});
        m_events->report(kOther, true);
        for (int i = 0; i < 3; ++i)
            m_events->report(kController, true); // reported once until a removal
        QVERIFY(d->devArrived());
        m_events->report(kController, false);
        m_events->report(kController, false); // each removal is reported
        QVERIFY(!d->devArrived());
        m_events->report(kController, true);
        m_events->report(kOther, false); // another device leaving: empty type, re-arms arrival
        m_events->report(kController, true);
        QCOMPARE(events(spy), (QStringList{"zt118+", "zt118-", "zt118-", "zt118+", "-", "zt118+"}));
        QCOMPARE(d->getDevType(kController.toLower()), QString("zt118"));
    }

    // The port poll: the controller comes with both its ports listed and goes
    // with either of them.
    void portPollReportsComingAndGoing()
    {
        MidiPollEventSource poll(m_midi.get(), 60000);
        QSignalSpy spy(&poll, &DeviceEventSource::deviceEvent);
        const int out = m_midi->addSink("Korvel Mavu", {});
        poll.poll(); // an output alone is not the controller
        const int in = m_midi->addSource("Korvel Mavu");
        poll.poll();
        m_midi->removePort(out);
        poll.poll();
        m_midi->addSink("Korvel Mavu", {});
        poll.poll();
        m_midi->removePort(in);
        poll.poll();
        QList<bool> arrivals;
        for (const QList<QVariant> &args : spy)
            arrivals << args.at(1).toBool();
        QCOMPARE(arrivals, (QList<bool>{true, false, true, false}));
        QCOMPARE(detection()->getDevType(spy.at(0).at(0).toString()), QString("zt118"));
    }

    void startUpCheck()
    {
        QTemporaryDir dir;
        QFile(dir.filePath("update")).open(QIODevice::WriteOnly);
        const auto update = port("ttyACM1", 0x1C75, 0x0204);
        struct Case {
            QStringList midi;
            QList<SerialPortEntry> serial;
            QString named;
            QStringList reported;
        };
        const QList<Case> cases = {
            {{"Other", "Korvel Mavu"}, {update}, {}, {"zt118+"}}, // the MIDI ports first
            {{"in:Korvel Mavu"}, {}, {}, {}}, // its input alone: the poll reports it when the output comes
            {{"korvel mavu", "Korvel Mavu 2"}, {}, {}, {}}, // the whole name, with case
            {{}, {port("ttyUSB0", 0x0403, 0x6001), update}, {}, {"zt118SerialDev+"}},
            {{}, {}, dir.filePath("update"), {"zt118SerialDev+"}}, // a named port that exists
            {{}, {port("a", 0x1C75, 0x0205), port("b", 0x1C76, 0x0204)}, {}, {}}, // half the identity
            {{}, {update}, dir.filePath("gone"), {}}, // a named port is the only one, as for the update
        };
        for (const Case &c : cases) {
            m_midi = std::make_unique<LoopbackMidi>();
            for (const QString &name : c.midi) {
                m_midi->addSource(name.startsWith("in:") ? name.mid(3) : name);
                if (!name.startsWith("in:"))
                    m_midi->addSink(name, {});
            }
            auto d = detection(c.serial, c.named);
            QSignalSpy spy(d.get(), &DetectionDevice::s_devTypeAndState);
            d->checkConnectedDevice();
            QCOMPARE(events(spy), c.reported);
            QVERIFY(!d->devArrived()); // found at start-up is not an arrival: a later notification still counts
        }
    }

    // A controller pulled out and plugged in again quickly, its ports listed
    // after udev reported it (or its old ones still listed after udev reported
    // it gone), or changed while asleep (ports that changed count
    // as a removal and an arrival, once both are back): each return is noticed.
    // Steps: plug/unplug both ports, "in"/"out" one, udev+/udev-, poll,
    // sleep/wake; "later:STEP" runs it 300 ms on; "=" what was reported
    // by now, "~" what is reported within a few seconds.
    void returnIsNoticed_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("removal resets the poll") << "plug poll udev- unplug plug poll =+-+";
        QTest::newRow("udev before the ports") << "plug udev- unplug udev+ later:plug =- ~-+";
        QTest::newRow("removal ends the look") << "udev+ udev- plug later:udev- ~--";
        QTest::newRow("old ports still listed after the card went")
            << "plug poll udev- poll unplug udev+ later:plug =+-+- ~+-+-+";
        QTest::newRow("gone before the poll saw it come") << "udev+ later:plug ~+ unplug poll =+-";
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
        auto *udev = new FakeSource;
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
                udev->report(UdevEventSource::pathText("/card1", "416", "b009"), step.endsWith('+'));
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
};

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"

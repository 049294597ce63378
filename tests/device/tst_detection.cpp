// The detection's decisions: arrivals and removals from udev and the port
// poll, and what counts as the controller at start-up (MIDI ports or its
// update port). Sleep and replugs: tst_replug.
#include "device/DetectionDevice.h"
#include "device/DeviceEventSource.h"
#include "device/LoopbackMidi.h"
#include "device/MidiPollEventSource.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class FakeSource : public DeviceEventSource
{
public:
    void report(const QString &path, bool arrival) { emit deviceEvent(path, arrival); }
};

SerialPortEntry port(const char *name, quint16 vid, quint16 pid)
{
    SerialPortEntry e;
    e.portName = QString::fromLatin1(name);
    e.hasIdentifiers = true;
    e.vendorIdentifier = vid;
    e.productIdentifier = pid;
    return e;
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

class TestDetection : public QObject
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
    void init() { m_midi = std::make_unique<LoopbackMidi>(); }

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
};

QTEST_GUILESS_MAIN(TestDetection)
#include "tst_detection.moc"

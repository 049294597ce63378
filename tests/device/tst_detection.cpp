#include "device/DetectionDevice.h"
#include "device/DeviceEventSource.h"
#include "device/LoopbackMidi.h"
#include "device/MidiPollEventSource.h"
#include "firmware/SerialPortFinder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class FakeSource : public DeviceEventSource
{
public:
    void arrive(const QString &path) { emit deviceEvent(path, true); }
    void leave(const QString &path) { emit deviceEvent(path, false); }
};

using FakeFinder = FixedSerialPortFinder;

SerialPortEntry port(const char *name, quint16 vid, quint16 pid)
{
    SerialPortEntry e;
    e.portName = QString::fromLatin1(name);
    e.hasIdentifiers = true;
    e.vendorIdentifier = vid;
    e.productIdentifier = pid;
    return e;
}

const QString kControllerPath = "\\\\?\\USB#VID_0416&PID_B009&MI_00#7&1a2b&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";
const QString kOtherPath = "\\\\?\\USB#VID_046D&PID_0A44&MI_01#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";

using Events = QList<QPair<QString, bool>>;

Events events(const QSignalSpy &spy)
{
    Events list;
    for (const QList<QVariant> &args : spy)
        list << qMakePair(args.at(0).toString(), args.at(1).toBool());
    return list;
}

} // namespace

// The detection's decisions: which events become reports, and what the
// start-up check finds.
class TestDetection : public QObject
{
    Q_OBJECT
private:
    LoopbackMidi *m_midi = nullptr;
    FakeSource *m_source = nullptr;

    std::unique_ptr<DetectionDevice> make(QList<SerialPortEntry> ports = {}, const QString &named = QString())
    {
        m_source = new FakeSource;
        return std::make_unique<DetectionDevice>(std::make_unique<FakeFinder>(ports), QList<DeviceEventSource *>{m_source}, named);
    }

private slots:
    void init()
    {
        auto midi = std::make_unique<LoopbackMidi>();
        m_midi = midi.get();
        setMidiBackend(std::move(midi));
    }

    void arrivalIsReportedOnceUntilARemoval()
    {
        auto detection = make();
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);
        m_source->arrive(kControllerPath);
        m_source->arrive(kControllerPath);
        m_source->arrive(kControllerPath);
        QCOMPARE(events(spy), (Events{{"zt118", true}}));
        QVERIFY(detection->devArrived());

        // Each removal is reported, also a second one in a row.
        m_source->leave(kControllerPath);
        m_source->leave(kControllerPath);
        QCOMPARE(events(spy), (Events{{"zt118", true}, {"zt118", false}, {"zt118", false}}));
        QVERIFY(!detection->devArrived());

        m_source->arrive(kControllerPath);
        QCOMPARE(spy.size(), 4);
    }

    void otherDevicesAreNotTheController()
    {
        auto detection = make();
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);
        m_source->arrive(kOtherPath);
        QCOMPARE(spy.size(), 0);

        m_source->arrive(kControllerPath);
        // Another device leaving is reported with an empty type and re-arms arrival.
        m_source->leave(kOtherPath);
        m_source->arrive(kControllerPath);
        QCOMPARE(events(spy), (Events{{"zt118", true}, {"", false}, {"zt118", true}}));
    }

    void pathCaseDoesNotMatter()
    {
        auto detection = make();
        QCOMPARE(detection->getDevType(kControllerPath.toLower()), QString("zt118"));
        QCOMPARE(detection->getDevType("/devices/usb1/1-2/sound/card1\\VID_0416&PID_B009"), QString("zt118"));
        QCOMPARE(detection->getDevType(kOtherPath), QString());
        QCOMPARE(detection->getDevType(QString()), QString());
    }

    void startUpFindsTheMidiPortFirst()
    {
        m_midi->addSource("Other");
        m_midi->addSource("Korvel Mavu");
        auto detection = make({port("ttyACM0", 0x1C75, 0x0204)});
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);
        detection->checkConnectedDevice();
        QCOMPARE(events(spy), (Events{{"zt118", true}}));
        // Found at start-up is not an arrival: a later notification still reports it.
        QVERIFY(!detection->devArrived());
        m_source->arrive(kControllerPath);
        QCOMPARE(spy.size(), 2);
    }

    void startUpMatchesTheWholeNameWithCase()
    {
        m_midi->addSource("korvel mavu");
        m_midi->addSource("Korvel Mavu 2");
        auto detection = make();
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);
        detection->checkConnectedDevice();
        QCOMPARE(spy.size(), 0);
    }

    void startUpFindsTheUpdatePort()
    {
        auto detection = make({port("ttyUSB0", 0x0403, 0x6001), port("ttyACM1", 0x1C75, 0x0204)});
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);
        detection->checkConnectedDevice();
        QCOMPARE(events(spy), (Events{{"zt118SerialDev", true}}));

        // Only the exact pair of identifiers counts.
        auto other = make({port("ttyACM1", 0x1C75, 0x0205), port("ttyACM2", 0x1C76, 0x0204)});
        QSignalSpy otherSpy(other.get(), &DetectionDevice::s_devTypeAndState);
        other->checkConnectedDevice();
        QCOMPARE(otherSpy.size(), 0);
    }

    void startUpFindsANamedUpdatePortOnlyWhenItExists()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("update");
        auto missing = make({}, path);
        QSignalSpy missingSpy(missing.get(), &DetectionDevice::s_devTypeAndState);
        missing->checkConnectedDevice();
        QCOMPARE(missingSpy.size(), 0);

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        auto present = make({}, path);
        QSignalSpy spy(present.get(), &DetectionDevice::s_devTypeAndState);
        present->checkConnectedDevice();
        QCOMPARE(events(spy), (Events{{"zt118SerialDev", true}}));
    }

    void portPollReportsComingAndGoing()
    {
        m_midi->addSource("Other");
        auto detection = std::make_unique<DetectionDevice>(std::make_unique<FakeFinder>(QList<SerialPortEntry>{}),
                                                           QList<DeviceEventSource *>{});
        auto *poll = new MidiPollEventSource(60000, detection.get());
        connect(poll, &DeviceEventSource::deviceEvent, detection.get(), &DetectionDevice::handleDeviceEvent);
        QSignalSpy spy(detection.get(), &DetectionDevice::s_devTypeAndState);

        poll->poll();
        QCOMPARE(spy.size(), 0);
        const int a = m_midi->addSource("Korvel Mavu");
        poll->poll();
        poll->poll();
        QCOMPARE(events(spy), (Events{{"zt118", true}}));
        // A second port of the name changes nothing; the last one leaving does.
        const int b = m_midi->addSource("Korvel Mavu");
        m_midi->removePort(a);
        poll->poll();
        QCOMPARE(spy.size(), 1);
        m_midi->removePort(b);
        poll->poll();
        QCOMPARE(events(spy), (Events{{"zt118", true}, {"zt118", false}}));
    }

    void portPollTakesWhatIsThereAtStartAsKnown()
    {
        m_midi->addSource("Korvel Mavu");
        MidiPollEventSource poll(60000);
        QSignalSpy spy(&poll, &DeviceEventSource::deviceEvent);
        poll.poll();
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_MAIN(TestDetection)
#include "tst_detection.moc"

#include "device/DetectionDevice.h"

#include "device/DeviceEventSource.h"
#include "device/DeviceLog.h"
#include "device/MidiBackend.h"
#include "device/MidiPollEventSource.h"
#include "device/PowerEventSource.h"
#include "device/UdevEventSource.h"
#include "model/ControllerIds.h"

#include <QDebug>

DetectionDevice::DetectionDevice(MidiBackend *midi, UpdatePortQuestion updatePortPresent, QObject *parent)
    : DetectionDevice(midi, std::move(updatePortPresent), {}, parent)
{
    auto *udev = new UdevEventSource(this);
    if (!udev->isWatching())
        qCDebug(lcDevice) << "register UDisk notification fail, error:";
    addSource(udev);
    addSource(new MidiPollEventSource(m_midi, 1000, this));
}

DetectionDevice::DetectionDevice(
    MidiBackend *midi, UpdatePortQuestion updatePortPresent, const QList<DeviceEventSource *> &sources, QObject *parent)
    : QObject(parent)
    , m_midi(midi)
    , m_updatePortPresent(std::move(updatePortPresent))
{
    m_devTypeMap.insert(QLatin1String(controllerids::kMidiDeviceType), QLatin1String(controllerids::kUsbPathId));
    m_portLook.setInterval(kPortLookMs);
    connect(&m_portLook, &QTimer::timeout, this, &DetectionDevice::lookForPorts);
    for (DeviceEventSource *source : sources)
        addSource(source);
}

DetectionDevice::~DetectionDevice() = default;

void DetectionDevice::addSource(DeviceEventSource *source)
{
    source->setParent(this);
    m_sources << source;
    connect(source, &DeviceEventSource::deviceEvent, this, &DetectionDevice::handleDeviceEvent);
}

void DetectionDevice::waitForPorts()
{
    if (m_portLook.isActive())
        return;
    qCDebug(lcDevice) << "waiting for the controller's MIDI ports";
    m_portWait.start();
    m_portLook.start();
}

void DetectionDevice::lookForPorts()
{
    if (m_devArrived) {
        m_portLook.stop();
    } else if (MidiPollEventSource::controllerListed(m_midi)) {
        m_portLook.stop();
        handleDeviceEvent(MidiPollEventSource::pathText(), true);
    } else if (m_portWait.hasExpired(kPortWaitMs)) {
        m_portLook.stop();
        qCDebug(lcDevice) << "the controller's MIDI ports did not come";
    }
}

namespace {

void logShutdown()
{
    qCDebug(lcDevice) << "======system poweroff,reboot or logoff======";
}

} // namespace

// The controller's MIDI input ports by the back end's ids, which change when
// it is plugged in again.
QStringList DetectionDevice::controllerPortIds() const
{
    QStringList ids;
    if (m_midi) {
        for (const QString &id : m_midi->inputPortIds()) {
            if (m_midi->productName(id) == QLatin1String(controllerids::kPortName))
                ids << id;
        }
    }
    return ids;
}

void DetectionDevice::sessionEnding()
{
    logShutdown();
}

void DetectionDevice::addPowerSource(PowerEventSource *source)
{
    source->setParent(this);
    connect(source, &PowerEventSource::sleepChanging, this, &DetectionDevice::handleSleep);
    connect(source, &PowerEventSource::shuttingDown, this, logShutdown);
}

void DetectionDevice::handleSleep(bool sleeping)
{
    if (sleeping) {
        qCDebug(lcDevice) << "======xiu mian======";
        m_portsBeforeSleep = controllerPortIds();
        return;
    }
    qCDebug(lcDevice) << "======huan xing======";
    // Unplugged, replugged or renumbered while asleep: the ports known before
    // are gone, and what is there now arrives anew, once both of its ports are.
    const QStringList now = controllerPortIds();
    const bool listed = MidiPollEventSource::controllerListed(m_midi);
    const QStringList before = m_portsBeforeSleep;
    m_portsBeforeSleep = now;
    if (now == before && (listed || before.isEmpty()))
        return;
    if (!before.isEmpty())
        handleDeviceEvent(MidiPollEventSource::pathText(), false);
    handleDeviceEvent(MidiPollEventSource::pathText(), true);
}

QString DetectionDevice::getDevType(const QString &devicePath) const
{
    for (auto it = m_devTypeMap.cbegin(); it != m_devTypeMap.cend(); ++it) {
        if (devicePath.contains(it.value(), Qt::CaseInsensitive))
            return it.key();
    }
    return QString();
}

void DetectionDevice::handleDeviceEvent(const QString &path, bool arrival)
{
    qCDebug(lcDevice) << "message Param:" << (arrival ? "8000" : "8004");
    const QString type = getDevType(path);
    const bool midi = type == QLatin1String(controllerids::kMidiDeviceType);
    const bool fromCard = midi && path != MidiPollEventSource::pathText();
    if (arrival) {
        qCDebug(lcDevice) << "arrived device:" << type << "status" << m_devArrived;
        // Ports taken for the controller while its card was gone were the old
        // ones lingering (a bridge removes them late): it is back only now.
        if (fromCard && m_arrivedWithoutCard) {
            qCDebug(lcDevice) << "the ports seen while the card was gone were its old ones";
            handleDeviceEvent(path, false);
        }
        if (fromCard)
            m_cardGone = false;
        // udev reports the card before the sequencer (or a bridge into JACK)
        // lists its ports. Until they are there nothing can be opened.
        if (!m_devArrived && midi && !MidiPollEventSource::controllerListed(m_midi)) {
            waitForPorts();
            return;
        }
        if (!m_devArrived && !type.isEmpty()) {
            m_devArrived = true;
            if (midi) {
                m_arrivedWithoutCard = m_cardGone;
                tellSources(true);
            }
            emit s_devTypeAndState(type, true);
        }
        return;
    }
    m_devArrived = false;
    m_arrivedWithoutCard = false;
    if (fromCard)
        m_cardGone = true;
    if (midi) {
        // Back within one look of the poll, it would not be seen coming.
        m_portLook.stop();
        tellSources(false);
    }
    emit s_devTypeAndState(type, false);
}

void DetectionDevice::tellSources(bool present)
{
    for (DeviceEventSource *source : qAsConst(m_sources))
        source->controllerReported(present);
}

void DetectionDevice::checkConnectedDevice()
{
    // The same rule as later arrivals: both of its ports, or the poll reports it when the second comes.
    if (MidiPollEventSource::controllerListed(m_midi)) {
        emit s_devTypeAndState(QLatin1String(controllerids::kMidiDeviceType), true);
        return;
    }
    if (m_updatePortPresent && m_updatePortPresent()) {
        qCDebug(lcDevice) << "===================";
        emit s_devTypeAndState(QLatin1String(controllerids::kSerialDeviceType), true);
    }
}

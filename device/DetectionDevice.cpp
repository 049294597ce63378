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
    for (DeviceEventSource *source : sources)
        addSource(source);
}

DetectionDevice::~DetectionDevice() = default;

void DetectionDevice::addSource(DeviceEventSource *source)
{
    source->setParent(this);
    connect(source, &DeviceEventSource::deviceEvent, this, &DetectionDevice::handleDeviceEvent);
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
    // are gone, and what is there now arrives anew.
    const QStringList now = controllerPortIds();
    if (now == m_portsBeforeSleep)
        return;
    if (!m_portsBeforeSleep.isEmpty())
        handleDeviceEvent(MidiPollEventSource::pathText(), false);
    if (!now.isEmpty())
        handleDeviceEvent(MidiPollEventSource::pathText(), true);
    m_portsBeforeSleep = now;
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
    if (arrival) {
        qCDebug(lcDevice) << "arrived device:" << type << "status" << m_devArrived;
        // udev reports the card before the sequencer lists its ports. Until
        // they are there nothing can be opened; the port poll reports again
        // when they come.
        if (!m_devArrived && type == QLatin1String(controllerids::kMidiDeviceType)
            && !MidiPollEventSource::controllerListed(m_midi)) {
            qCDebug(lcDevice) << "waiting for the controller's MIDI ports";
            return;
        }
        if (!m_devArrived && !type.isEmpty()) {
            m_devArrived = true;
            emit s_devTypeAndState(type, true);
        }
        return;
    }
    m_devArrived = false;
    emit s_devTypeAndState(type, false);
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

#include "device/DetectionDevice.h"

#include "app/AppOptions.h"
#include "device/ControllerIds.h"
#include "device/DeviceEventSource.h"
#include "device/MidiPollEventSource.h"
#include "device/MidiBackend.h"
#include "device/MidiPort.h"
#include "device/PowerEventSource.h"
#include "device/UdevEventSource.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>

DetectionDevice::DetectionDevice(QObject *parent)
    : DetectionDevice(std::make_unique<SystemSerialPortFinder>(), {}, AppOptions::current().updatePort, parent)
{
    auto *udev = new UdevEventSource(this);
    if (!udev->isWatching())
        qDebug() << "register UDisk notification fail, error:";
    addSource(udev);
    addSource(new MidiPollEventSource(1000, this));
}

DetectionDevice::DetectionDevice(std::unique_ptr<SerialPortFinder> finder,
                                 const QList<DeviceEventSource *> &sources, const QString &namedUpdatePort,
                                 QObject *parent)
    : QObject(parent)
    , m_finder(std::move(finder))
    , m_namedUpdatePort(namedUpdatePort)
{
    m_devTypeMap.insert(QLatin1String(controllerids::kMidiDeviceType), QLatin1String(controllerids::kUsbPathId));
    for (DeviceEventSource *source : sources)
        addSource(source);
    watchSession();
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
    qDebug() << "======system poweroff,reboot or logoff======";
}

// The controller's MIDI input ports by the back end's ids, which change when
// it is plugged in again.
QStringList controllerPortIds()
{
    QStringList ids;
    if (MidiBackend *backend = midiBackend()) {
        for (const QString &id : backend->inputPortIds()) {
            if (backend->productName(id) == QLatin1String(controllerids::kPortName))
                ids << id;
        }
    }
    return ids;
}

} // namespace

void DetectionDevice::watchSession()
{
    // The session manager ending the session is only logged.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, logShutdown);
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
        qDebug() << "======xiu mian======";
        m_portsBeforeSleep = controllerPortIds();
        return;
    }
    qDebug() << "======huan xing======";
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
    qDebug() << "message Param:" << (arrival ? "8000" : "8004");
    const QString type = getDevType(path);
    if (arrival) {
        qDebug() << "arrived device:" << type << "status" << m_devArrived;
        // udev reports the card before the sequencer lists its ports. Until
        // they are there nothing can be opened; the port poll reports again
        // when they come.
        if (!m_devArrived && type == QLatin1String(controllerids::kMidiDeviceType)
            && !MidiPollEventSource::controllerListed()) {
            qDebug() << "waiting for the controller's MIDI ports";
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
    const QMap<int, QString> inputs = midiInDevices();
    for (const QString &name : inputs) {
        if (name == QLatin1String(controllerids::kPortName)) {
            emit s_devTypeAndState(QLatin1String(controllerids::kMidiDeviceType), true);
            return;
        }
    }
    const QList<SerialPortEntry> ports = m_finder ? m_finder->availablePorts() : QList<SerialPortEntry>();
    for (const SerialPortEntry &port : ports)
        qDebug() << "vid:" << port.vendorIdentifier << "pid" << port.productIdentifier;
    if (!updateport::candidates(ports, m_namedUpdatePort).isEmpty()) {
        qDebug() << "===================";
        emit s_devTypeAndState(QLatin1String(controllerids::kSerialDeviceType), true);
    }
}

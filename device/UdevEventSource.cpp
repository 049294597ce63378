#include "device/UdevEventSource.h"

#include <libudev.h>

#include <QSocketNotifier>
#include <QTimer>

namespace {

// The sequencer registers a card's MIDI ports just after udev reports the card.
constexpr int kArrivalSettleMs = 500;

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

} // namespace

UdevEventSource::UdevEventSource(QObject *parent)
    : DeviceEventSource(parent)
{
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor
        && (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "sound", nullptr) < 0
            || udev_monitor_enable_receiving(m_monitor) < 0)) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (!m_monitor)
        return;
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevEventSource::readEvent);
}

UdevEventSource::~UdevEventSource()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

UdevEventSource::Kind UdevEventSource::classify(const QString &action, const QString &sysName, bool soundInitialized)
{
    // Only the card itself; its control, MIDI and sequencer nodes come and go with it.
    if (!sysName.startsWith(QLatin1String("card")))
        return Kind::None;
    if (action == QLatin1String("change") && soundInitialized)
        return Kind::Arrival;
    if (action == QLatin1String("remove"))
        return Kind::Removal;
    return Kind::None;
}

QString UdevEventSource::pathText(const QString &devPath, const QString &vendorHex, const QString &productHex)
{
    return QStringLiteral("%1\\VID_%2&PID_%3")
        .arg(devPath, vendorHex.toUpper().rightJustified(4, QLatin1Char('0')),
            productHex.toUpper().rightJustified(4, QLatin1Char('0')));
}

void UdevEventSource::readEvent()
{
    struct udev_device *device = udev_monitor_receive_device(m_monitor);
    if (!device)
        return;
    const Kind kind = classify(text(udev_device_get_action(device)), text(udev_device_get_sysname(device)),
        udev_device_get_property_value(device, "SOUND_INITIALIZED") != nullptr);
    if (kind != Kind::None) {
        // udev's usb_id import puts the identifiers on the card; on removal the
        // USB parent is gone already, so its attributes are only a fallback.
        QString vendor = text(udev_device_get_property_value(device, "ID_VENDOR_ID"));
        QString product = text(udev_device_get_property_value(device, "ID_MODEL_ID"));
        if (vendor.isEmpty() || product.isEmpty()) {
            struct udev_device *usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
            if (usb) {
                vendor = text(udev_device_get_sysattr_value(usb, "idVendor"));
                product = text(udev_device_get_sysattr_value(usb, "idProduct"));
            }
        }
        const QString path = pathText(text(udev_device_get_devpath(device)), vendor, product);
        if (kind == Kind::Arrival)
            QTimer::singleShot(kArrivalSettleMs, this, [this, path] { emit deviceEvent(path, true); });
        else
            emit deviceEvent(path, false);
    }
    udev_device_unref(device);
}

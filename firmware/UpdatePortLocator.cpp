#include "firmware/UpdatePortLocator.h"

#include "firmware/FirmwareLog.h"

#include <QDebug>
#include <QFileInfo>

namespace updateport {

QStringList candidates(const QList<SerialPortEntry> &ports, const QString &overridePath)
{
    if (!overridePath.isEmpty())
        return QFileInfo::exists(overridePath) ? QStringList{overridePath} : QStringList();
    QStringList found;
    for (const SerialPortEntry &port : ports) {
        if (port.hasIdentifiers && port.vendorIdentifier == kVendorId && port.productIdentifier == kProductId)
            found << port.portName;
    }
    return found;
}

QString locate(const SerialPortFinder &finder, const QString &overridePath)
{
    const QStringList found
        = candidates(overridePath.isEmpty() ? finder.availablePorts() : QList<SerialPortEntry>(), overridePath);
    return found.value(0);
}

std::function<bool()> presence(std::shared_ptr<const SerialPortFinder> finder, const QString &overridePath)
{
    return [finder = std::move(finder), overridePath] {
        const QList<SerialPortEntry> ports = finder->availablePorts();
        for (const SerialPortEntry &port : ports)
            qCDebug(lcFirmware) << "vid:" << port.vendorIdentifier << "pid" << port.productIdentifier;
        return !candidates(ports, overridePath).isEmpty();
    };
}

} // namespace updateport

#include "firmware/UpdatePortLocator.h"

#include "firmware/SerialPortFinder.h"

#include <QFileInfo>

namespace updateport {

QString locate(const SerialPortFinder &finder, const QString &overridePath)
{
    if (!overridePath.isEmpty())
        return QFileInfo::exists(overridePath) ? overridePath : QString();
    const QList<SerialPortEntry> ports = finder.availablePorts();
    for (const SerialPortEntry &port : ports) {
        if (port.hasIdentifiers && port.vendorIdentifier == kVendorId && port.productIdentifier == kProductId)
            return port.portName;
    }
    return QString();
}

} // namespace updateport

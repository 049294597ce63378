#include "firmware/SerialPortFinder.h"

#include <QSerialPortInfo>

QList<SerialPortEntry> SystemSerialPortFinder::availablePorts() const
{
    QList<SerialPortEntry> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        SerialPortEntry entry;
        entry.portName = info.portName();
        entry.hasIdentifiers = info.hasVendorIdentifier() && info.hasProductIdentifier();
        entry.vendorIdentifier = info.vendorIdentifier();
        entry.productIdentifier = info.productIdentifier();
        ports << entry;
    }
    return ports;
}

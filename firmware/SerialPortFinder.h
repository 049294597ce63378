#pragma once

#include <QList>
#include <QString>

// One serial port as the system lists it.
struct SerialPortEntry {
    QString portName;
    bool hasIdentifiers = false;
    quint16 vendorIdentifier = 0;
    quint16 productIdentifier = 0;
};

// Lists the serial ports; tests give their own list.
class SerialPortFinder
{
public:
    virtual ~SerialPortFinder() = default;
    virtual QList<SerialPortEntry> availablePorts() const = 0;
};

// The ports QSerialPortInfo sees (pseudo-terminals are never among them).
class SystemSerialPortFinder : public SerialPortFinder
{
public:
    QList<SerialPortEntry> availablePorts() const override;
};

// A finder that reports a fixed list, for tests and simulations.
class FixedSerialPortFinder : public SerialPortFinder
{
public:
    explicit FixedSerialPortFinder(QList<SerialPortEntry> ports)
        : m_ports(std::move(ports))
    { }
    QList<SerialPortEntry> availablePorts() const override { return m_ports; }

private:
    QList<SerialPortEntry> m_ports;
};

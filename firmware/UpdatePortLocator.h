#pragma once

#include <QString>

class SerialPortFinder;

// Where the controller in update mode can be reached: an explicitly named port
// (pseudo-terminals, containers, the simulator) or the first port that carries
// the controller's USB identity.
namespace updateport {

constexpr quint16 kVendorId = 0x1C75;
constexpr quint16 kProductId = 0x0204;

// The port name, or an empty string when there is none (yet). An override
// counts only once the path exists.
QString locate(const SerialPortFinder &finder, const QString &overridePath);

} // namespace updateport

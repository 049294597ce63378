#pragma once

#include "firmware/SerialPortFinder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Where the controller in update mode can be reached: an explicitly named port
// (pseudo-terminals, containers, the simulator) or the first port that carries
// the controller's USB identity.
namespace updateport {

constexpr quint16 kVendorId = 0x1C75;
constexpr quint16 kProductId = 0x0204;

// The ports the controller in update mode may be on, the one to use first.
// A named port is the only one, and only once the path exists; otherwise
// every listed port with the controller's USB identity. Detection, the update
// and mavuctl list all ask this, so they never disagree.
QStringList candidates(const QList<SerialPortEntry> &ports, const QString &overridePath);

// The first candidate, or an empty string when there is none (yet).
QString locate(const SerialPortFinder &finder, const QString &overridePath);

// Whether there is a candidate right now, asked of finder each time: the
// question the device detection is handed.
std::function<bool()> presence(std::shared_ptr<const SerialPortFinder> finder, const QString &overridePath);

} // namespace updateport

#pragma once

#include "model/DoctorFindings.h"

// The update side of the system check: the update port, the udev rules,
// ModemManager and the firmware server (the MIDI side is device/MidiDoctor.h).
namespace doctor {

// The findings about the update port (as findUpdatePort found it, or empty)
// and the firmware server.
QList<Finding> updateFindings(const Inputs &in, const QString &port);

// The controller's update port: the override when it exists, else the tty
// whose USB device (under root/sys) is the controller in update mode.
QString findUpdatePort(const QString &root, const QString &overridePath);

// Asks the firmware server (HOST[:PORT] or URL, empty for the maker's) for its
// description; empty when it answered.
QString askFirmwareServer(const QString &server, int timeoutMs);

// Everything about this system but its MIDI ports, which the program adds.
Inputs systemInputs(const QString &updatePortOverride, const QString &firmwareServer);

} // namespace doctor

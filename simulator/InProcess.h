#pragma once

#include "simulator/SimulatedDevice.h"

class QObject;
struct AppOptions;

namespace sim {

// Installs an in-process MIDI system with a simulated controller plugged
// into it. The device belongs to parent.
SimulatedDevice *startInProcess(const SimOptions &options, QObject *parent);

// Writes the bundled demo firmware folder (describe1.json and the file it
// offers) to the cache and returns its path, with the version it offers.
// Empty when it cannot be written.
QString extractDemoFirmware(QString *version);

// The editor's MIDI link as its options ask: the simulated controller for
// --simulator (its update port linked at --update-port, or at a private
// path that then becomes the update port; the firmware server, unless one is
// given, is the bundled demo folder), else the system's MIDI.
void installControllerLink(QObject *parent);

} // namespace sim

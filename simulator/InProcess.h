#pragma once

#include "simulator/SimulatedDevice.h"

class QObject;
struct AppOptions;

namespace sim {

// Installs an in-process MIDI system with a simulated controller plugged
// into it. The device belongs to parent.
SimulatedDevice *startInProcess(const SimOptions &options, QObject *parent);

// The editor's MIDI link as its options ask: the simulated controller for
// --simulator (its update port linked at --update-port, or at a private
// path that then becomes the update port), else the system's MIDI.
void installControllerLink(QObject *parent);

} // namespace sim

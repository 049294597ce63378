#pragma once

#include "device/MidiBackend.h"
#include "model/SharedOptions.h"
#include "simulator/SimulatedDevice.h"

#include <memory>

class LoopbackMidi;
class QObject;

namespace sim {

// Plugs a simulated controller into an in-process MIDI system. The device
// belongs to parent.
SimulatedDevice *startInProcess(LoopbackMidi *midi, const SimOptions &options, QObject *parent);

// Writes the bundled demo firmware folder (describe1.json and the file it
// offers) to the cache and returns its path, with the version it offers.
// Empty when it cannot be written.
QString extractDemoFirmware(QString *version);

// The editor's link to a simulated controller, for main to hand on.
struct SimulatedLink {
    std::unique_ptr<MidiBackend> midi;
    QString updatePort;
    QString firmwareServer;
    QString dataFolder; // its own, apart from a real controller's
};

// The editor's --simulator: a simulated controller on an in-process MIDI
// system, its update port linked at --update-port or at a private path that
// then becomes the update port; the firmware server, unless one is given, is
// the bundled demo folder; downloads and backups go to the simulator's own
// data folder.
SimulatedLink startSimulatedLink(const SharedOptions &options, QObject *parent);

} // namespace sim

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

// What the editor's link to the controller was set up as, for main to hand
// to the window.
struct ControllerLinkSetup {
    std::unique_ptr<MidiBackend> midi; // null when the MIDI system did not start
    QString updatePort;
    QString firmwareServer;
};

// The editor's MIDI link as its options ask: the simulated controller for
// --simulator (its update port linked at --update-port, or at a private
// path that then becomes the update port; the firmware server, unless one is
// given, is the bundled demo folder), else the system's MIDI.
ControllerLinkSetup setUpControllerLink(const SharedOptions &options, QObject *parent);

} // namespace sim

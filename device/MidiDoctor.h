#pragma once

#include "model/DoctorFindings.h"

class MidiBackend;

// The MIDI side of the system check (the update side is firmware/Doctor.h).
namespace doctor {

// The MIDI systems and the controller's MIDI ports; a present update port
// means the controller is in update mode.
QList<Finding> midiFindings(const Inputs &in, bool updatePortPresent);

// Product names of the back end's MIDI input ports; none without a back end.
QStringList midiProducts(MidiBackend *backend);

} // namespace doctor

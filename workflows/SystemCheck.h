#pragma once

#include "model/DoctorFindings.h"

#include <QList>
#include <QString>

class MidiBackend;

// The system check as `mavuctl doctor` and the editor's Help > System Check
// give it: the MIDI side's findings, then the update side's.
namespace systemcheck {

struct Setup {
    MidiBackend *midi = nullptr; // null when the MIDI system did not start
    QString midiError; // why it did not
    QString updatePort; // the port named on the command line, if any
    QString firmwareServer;
    QString root; // look at a system laid out under this folder; empty: this one
};

QList<doctor::Finding> run(const Setup &setup);

} // namespace systemcheck

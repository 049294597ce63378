#pragma once

#include <QString>

#include <memory>

class MidiBackend;

// The system's MIDI (RtMidi) as the back end for the MIDI ports: api "alsa",
// "jack" or empty for the default. clientName names this program's MIDI
// clients. Null with *error when it cannot start.
std::unique_ptr<MidiBackend> startSystemMidi(const QString &api, const QString &clientName, QString *error);

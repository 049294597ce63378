#pragma once

#include <QString>

// Installs the system's MIDI (RtMidi) as the back end for the MIDI ports:
// api "alsa", "jack" or empty for the default. clientName names this
// program's MIDI clients. False with *error when it cannot start.
bool installSystemMidi(const QString &api, const QString &clientName, QString *error);

#pragma once

#include <QString>

// Product names from the port names RtMidi reports.
namespace portnames {

// ALSA ports read "<client>:<port> <client id>:<port id>", for example
// "Korvel Mavu:Korvel Mavu MIDI 1 20:0"; the sequencer client carries the
// USB product name, so that is the product name. Text without that shape is
// returned as it is.
QString alsaClientName(const QString &portName);

// JACK ports read "<client>:<port>". A second client of the same name becomes
// "<client>-01", so the client part is not stable; the port's own name is.
QString jackPortName(const QString &portName);

} // namespace portnames

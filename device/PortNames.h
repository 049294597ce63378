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

// The product name of a JACK port: the port's own name, or for an ALSA port
// bridged into JACK the ALSA client's name it carries:
//   a2jmidid  "a2j:Korvel Mavu [24] (capture): Korvel Mavu MIDI 1"
//   PipeWire  "Midi-Bridge:Korvel Mavu 1:(capture_0) Korvel Mavu MIDI 1"
QString jackProductName(const QString &portName);

} // namespace portnames

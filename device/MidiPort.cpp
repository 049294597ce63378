#include "device/MidiPort.h"

bool MidiIn::open(unsigned, MidiHandler) { return false; }
void MidiIn::close() {}
bool MidiOut::open(unsigned) { return false; }
bool MidiOut::send(const char *, int) { return false; }
void MidiOut::close() {}
QMap<int, QString> midiInDevices() { return {}; }
QMap<int, QString> midiOutDevices() { return {}; }

#pragma once

#include <QMap>
#include <QString>

using MidiHandler = void (*)(char *data, int len);

// MIDI input port of the controller. Filled in with the MIDI back end.
class MidiIn
{
public:
    bool open(unsigned deviceId, MidiHandler handler);
    void close();
    bool isOpen() const { return m_open; }

private:
    bool m_open = false;
};

class MidiOut
{
public:
    bool open(unsigned deviceId);
    bool send(const char *data, int len);
    void close();
    bool isOpen() const { return m_open; }

private:
    bool m_open = false;
};

QMap<int, QString> midiInDevices();
QMap<int, QString> midiOutDevices();

#pragma once

#include <QMap>
#include <QString>

#include <functional>
#include <memory>

class MidiInputLink;
class MidiOutputLink;

using MidiHandler = void (*)(char *data, int len);

// The controller's MIDI input port, reached through the installed MIDI back
// end. Only complete System Exclusive messages reach the handler, and
// channel messages (notes, controllers, programs, pressure, pitch bend) the
// channel handler when one is given, on the thread that opened the port; the
// bytes are valid only during the call.
class MidiIn
{
public:
    MidiIn();
    ~MidiIn();
    MidiIn(const MidiIn &) = delete;
    MidiIn &operator=(const MidiIn &) = delete;

    bool open(unsigned deviceId, MidiHandler handler);
    bool open(unsigned deviceId, std::function<void(char *, int)> handler);
    bool open(
        unsigned deviceId, std::function<void(char *, int)> handler, std::function<void(char *, int)> channelHandler);
    void close();
    bool isOpen() const { return m_open; }

private:
    bool m_open = false;
    std::unique_ptr<MidiInputLink> m_link;
};

class MidiOut
{
public:
    MidiOut();
    ~MidiOut();
    MidiOut(const MidiOut &) = delete;
    MidiOut &operator=(const MidiOut &) = delete;

    bool open(unsigned deviceId);
    // Sends one System Exclusive message whole; the caller's bytes may go at once.
    bool send(const char *data, int len);
    void close();
    bool isOpen() const { return m_open; }

private:
    bool m_open = false;
    std::unique_ptr<MidiOutputLink> m_link;
};

// Index → product name of every port, in index order; names may repeat.
// The listing is remembered so that open() finds the listed port even when
// the indexes have moved since.
QMap<int, QString> midiInDevices();
QMap<int, QString> midiOutDevices();

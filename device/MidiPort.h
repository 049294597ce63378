#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MidiBackend;
class MidiInputLink;
class MidiOutputLink;

using MidiHandler = void (*)(char *data, int len);

// The ports of one MIDI back end as they were listed last, so that an index
// handed out then still means the same port when it is opened later, even
// when the indexes have moved since. Outlives the ports opened through it.
class MidiPortList
{
public:
    explicit MidiPortList(MidiBackend *backend)
        : m_backend(backend)
    { }

    MidiBackend *backend() const { return m_backend; }

    // Index → product name of every port, in index order; names may repeat.
    QMap<int, QString> midiInDevices();
    QMap<int, QString> midiOutDevices();

    // The raw port name meant by an index: from the last listing, or from
    // one made now when the index was never handed out.
    QString listedInput(unsigned index) const;
    QString listedOutput(unsigned index) const;

private:
    MidiBackend *m_backend;
    QStringList m_inSnapshot;
    QStringList m_outSnapshot;
};

// The controller's MIDI input port, reached through a port list's back end.
// Only complete System Exclusive messages reach the handler, and channel
// messages (notes, controllers, programs, pressure, pitch bend) the channel
// handler when one is given, on the thread that opened the port; the bytes
// are valid only during the call.
class MidiIn
{
public:
    explicit MidiIn(MidiPortList &ports);
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
    MidiPortList &m_ports;
    bool m_open = false;
    std::unique_ptr<MidiInputLink> m_link;
};

class MidiOut
{
public:
    explicit MidiOut(MidiPortList &ports);
    ~MidiOut();
    MidiOut(const MidiOut &) = delete;
    MidiOut &operator=(const MidiOut &) = delete;

    bool open(unsigned deviceId);
    // Sends one System Exclusive message whole; the caller's bytes may go at once.
    bool send(const char *data, int len);
    void close();
    bool isOpen() const { return m_open; }

private:
    MidiPortList &m_ports;
    bool m_open = false;
    std::unique_ptr<MidiOutputLink> m_link;
};

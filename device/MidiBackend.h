#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One open input connection; closing it is destroying it. After the
// destructor returns the receive function is never called again.
class MidiInputLink
{
public:
    virtual ~MidiInputLink() = default;
};

class MidiOutputLink
{
public:
    virtual ~MidiOutputLink() = default;
    // Sends one complete message in one piece. False (with *error) when it could not go out.
    virtual bool send(const char *data, int len, QString *error) = 0;
};

// A MIDI system the port layer goes through: the real one (RtMidi on ALSA or
// JACK) or an in-process loopback for tests and the built-in simulator.
class MidiBackend
{
public:
    // Called with one complete message, on the thread that opened the port,
    // from its event loop; the bytes are only valid during the call.
    using Receive = std::function<void(char *data, int len)>;

    virtual ~MidiBackend() = default;

    virtual QString apiName() const = 0;

    // Raw port names by index, as the system lists them right now.
    virtual QStringList inputPortIds() = 0;
    virtual QStringList outputPortIds() = 0;

    // The product name shown for a raw port name ("Korvel Mavu").
    virtual QString productName(const QString &portId) const = 0;

    // Open the port whose raw name is portId (at index hint, if that still fits).
    virtual std::unique_ptr<MidiInputLink> openInput(int index, const QString &portId, Receive receive, QString *error)
        = 0;
    virtual std::unique_ptr<MidiOutputLink> openOutput(int index, const QString &portId, QString *error) = 0;
};

// Index → product name, from raw names by index.
QMap<int, QString> productNames(const MidiBackend &backend, const QStringList &portIds);

// Ports move when others come and go between listing and opening. Finds the
// index at which the port listed as `id` now sits: the same index if it still
// carries that name, else the first index that does; -1 when it is gone.
int currentIndexOf(const QStringList &now, int index, const QString &id);

#pragma once

#include "support/GuardedProcess.h"

#include <QString>

#include <memory>

class MidiBackend;

// A private JACK server on the dummy driver, named uniquely for this run, and
// made the default for this process and the programs it starts. With a
// client name, this process's MIDI system goes through it too.
class JackServer
{
public:
    JackServer();
    ~JackServer();

    // periodFrames at 48 kHz: the MIDI latency is about two periods.
    bool start(QString *error, int periodFrames = 1024, const QString &midiClient = QString());
    void stop();
    QString name() const { return m_name; }
    // This process's MIDI system on the server (started with a client name).
    MidiBackend *midi() const { return m_midi.get(); }

private:
    GuardedProcess m_jackd;
    QString m_name;
    std::unique_ptr<MidiBackend> m_midi;
};

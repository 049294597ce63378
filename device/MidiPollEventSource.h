#pragma once

#include "device/DeviceEventSource.h"

class MidiBackend;
class QTimer;

// Watches the MIDI port names once a second and reports the controller as
// arrived when it has both an input and an output port of its product name,
// and as gone when either disappears. Covers what udev cannot see:
// containers, JACK, virtual ports, the built-in simulator, and the ports
// showing up after udev reported the card. The path text carries the
// controller's USB identity, so the events read like udev's.
class MidiPollEventSource : public DeviceEventSource
{
    Q_OBJECT
public:
    MidiPollEventSource(MidiBackend *midi, int intervalMs = 1000, QObject *parent = nullptr);

    static QString pathText();

    // Compares with the last look and reports a change; public for tests.
    void poll();
    // A removal seen elsewhere: ports back by the next look arrive anew.
    void forgetController() override { m_present = false; }

    // Whether the MIDI system lists an input and an output port of the controller.
    static bool controllerListed(MidiBackend *midi);

private:
    MidiBackend *m_midi;
    QTimer *m_timer;
    bool m_present;
};

#pragma once

#include "device/DeviceEventSource.h"

class QTimer;

// Watches the MIDI input port names once a second and reports the controller
// as arrived when a port of its product name appears and as gone when the
// last one disappears. Covers what udev cannot see: containers, JACK, virtual
// ports, the built-in simulator. The path text carries the controller's USB
// identity, so the events read like udev's.
class MidiPollEventSource : public DeviceEventSource
{
    Q_OBJECT
public:
    explicit MidiPollEventSource(int intervalMs = 1000, QObject *parent = nullptr);

    static QString pathText();

    // Compares with the last look and reports a change; public for tests.
    void poll();

private:
    bool controllerListed() const;

    QTimer *m_timer;
    bool m_present;
};

#pragma once

#include "model/ControlHit.h"
#include "simulator/SimController.h"

#include <QObject>
#include <QString>

#include <memory>

class PtyUpdatePort;
class SimMidiPorts;

struct SimOptions {
    QString updateLink; // where to link the update port's terminal
    QString firmwareDir; // where received firmware files are stored (empty: not stored)
    QString versionAfterUpdate; // firmware version after an update (empty: unchanged)
    int updateDelayMs = 0; // from the update command until the update port is there
    bool resetAfterUpdate = false; // an update puts the settings back to their defaults
    QString play; // controls played once the settings have been read after plugging in
};

// The whole simulated controller: its normal mode (MIDI ports and the
// settings conversation) and its update mode (MIDI ports gone, a serial line
// receiving a firmware file by YMODEM), and unplugging.
class SimulatedDevice : public QObject
{
    Q_OBJECT
public:
    // Takes the ports (they become a child).
    SimulatedDevice(SimMidiPorts *ports, const SimOptions &options, QObject *parent = nullptr);
    ~SimulatedDevice() override;

    SimController &controller() { return m_controller; }
    bool isPlugged() const;
    bool inUpdateMode() const { return m_update != nullptr; }
    QString updatePortPath() const;

    // Plugs the controller in, in normal mode.
    bool plug(QString *error);
    void unplug();
    // Unplugs when plugged, plugs in when not.
    void togglePlug();
    // Restarts into the loader: MIDI ports gone, the update port offered.
    void enterUpdateMode();
    // Plays controls as a hand would, one after another: each sends what its
    // settings say. False, playing nothing, when a name is not a control.
    bool play(const QString &controls);
    // "pad:B3,knob:A2,button:stop"; false when a name is not a control.
    static bool parseControls(const QString &text, QList<controlhit::Control> *controls);

signals:
    // One line for the person or test watching the simulator.
    void note(const QString &line);
    void firmwareReceived(const QString &name, qint64 size, const QString &storedAt);

private:
    void openUpdatePort();
    void leaveUpdateMode(bool ok, const QString &detail);
    void playOne(controlhit::Control control);

    SimController m_controller;
    SimMidiPorts *m_ports;
    SimOptions m_options;
    PtyUpdatePort *m_update = nullptr;
    bool m_restarting = false; // between the update command and the update port
    bool m_playPending = false; // options.play waits for the first read after plugging in
};

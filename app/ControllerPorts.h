#pragma once

#include "device/ControllerChannel.h"
#include "device/ControllerLink.h"
#include "device/MidiPort.h"

class UserPrompt;

// The editor's line to the controller: both ports, opened by name at the
// start of an exchange while the controller is there, with a warning when
// another program holds them. Played controls arrive beside the replies.
class ControllerPorts : public ControllerChannel
{
    Q_OBJECT
public:
    explicit ControllerPorts(MidiBackend *midi, QObject *parent = nullptr);
    ~ControllerPorts() override;

    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; } // not owned
    // The controller's MIDI function came or went. Its ports are looked up
    // when it comes and closed when it goes.
    void setPresent(bool present);

    bool isPresent() override { return m_present; }
    // Nothing is opened while the controller is away.
    bool open(QString *error) override;
    void close() override;
    // Whether the last open failed because a port listed a moment before was
    // gone (the controller replugged), not because another program holds it.
    bool portsVanished() const { return m_vanished; }
    bool send(const QByteArray &message, QString *error) override;
    // The end of an exchange: the input stays, so what is played on the controller shows.
    void closeOutput();

signals:
    // A channel message: a pad, knob or button played on the controller.
    void played(const QByteArray &message);

private:
    void findPorts();

    MidiPortList m_ports;
    MidiIn m_in;
    MidiOut m_out;
    UserPrompt *m_prompt = nullptr;
    bool m_present = false;
    bool m_vanished = false;
    ControllerPortIndexes m_found;
};

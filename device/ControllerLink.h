#pragma once

#include "device/ControllerChannel.h"
#include "device/MidiPort.h"

#include <QMap>
#include <QString>

// The lowest index whose product name is `name`, or `current` when none is.
int lowestIndexNamed(const QMap<int, QString> &ports, const QString &name, int current);

// The controller's input and output ports by name; -1 where one is not listed.
struct ControllerPortIndexes {
    int in = -1;
    int out = -1;
    bool listed() const { return in >= 0 && out >= 0; }
};
ControllerPortIndexes findControllerPorts(MidiPortList &ports);

// mavuctl's line to the controller: opens its ports by name when asked and
// says plainly why it cannot. Those that wait for an answer do so in a local
// event loop (workflows/ControllerRequest.h).
class ControllerLink : public ControllerChannel
{
    Q_OBJECT
public:
    explicit ControllerLink(MidiBackend *midi, QObject *parent = nullptr);
    ~ControllerLink() override;

    // Both of the controller's ports are listed.
    bool isPresent() override;
    // Finds and opens the controller's input and output ports.
    bool open(QString *error) override;
    void close() override;
    bool send(const QByteArray &message, QString *error) override;

private:
    MidiPortList m_ports;
    MidiIn m_in;
    MidiOut m_out;
};

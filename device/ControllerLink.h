#pragma once

#include "device/MidiPort.h"
#include "device/Protocol.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

// The lowest index whose product name is `name`, or `current` when none is.
int lowestIndexNamed(const QMap<int, QString> &ports, const QString &name, int current);

// One-shot, waiting exchanges with the controller for command-line use: opens
// its ports by name, sends a message and waits for the answer in a local
// event loop. The editor's own exchange does not wait; this one must.
class ControllerLink : public QObject
{
    Q_OBJECT
public:
    explicit ControllerLink(MidiBackend *midi, QObject *parent = nullptr);
    ~ControllerLink() override;

    // Finds and opens the controller's input and output ports.
    bool open(QString *error);
    void close();

    bool send(const QByteArray &message, QString *error);
    // Sends a read request and waits up to timeoutMs for its answer: the
    // complete settings image for ReadSettings, the serial-number reply for
    // ReadSerial. Other messages arriving meanwhile are skipped.
    bool request(protocol::Command command, int timeoutMs, QByteArray *reply, QString *error);

signals:
    void received(const QByteArray &message);

private:
    MidiPortList m_ports;
    MidiIn m_in;
    MidiOut m_out;
    QList<QByteArray> m_inbox;
};

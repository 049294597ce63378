#pragma once

#include "device/MidiBackend.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <functional>

// An in-process MIDI system: the ports are made by code in the same program
// (a simulated controller, a test), and messages travel through the event
// loop, never synchronously, as they would through a real MIDI system.
//
// A "source" is a port the program reads from (one of its inputs); a "sink"
// is a port the program writes to (one of its outputs).
class LoopbackMidi : public QObject, public MidiBackend
{
    Q_OBJECT
public:
    explicit LoopbackMidi(QObject *parent = nullptr);
    ~LoopbackMidi() override;

    int addSource(const QString &name);
    int addSink(const QString &name, std::function<void(const QByteArray &)> onMessage);
    void removePort(int port);
    // A busy port cannot be opened, as when another program holds it exclusively.
    void setBusy(int port, bool busy);
    // Hands a message from a source to every program input open on it.
    void emitFrom(int source, const QByteArray &message);
    // How many program connections are open on a port.
    int openCount(int port) const;

    QString apiName() const override;
    QStringList inputPortIds() override;
    QStringList outputPortIds() override;
    QString productName(const QString &portId) const override;
    std::unique_ptr<MidiInputLink> openInput(
        int index, const QString &portId, Receive receive, QString *error) override;
    std::unique_ptr<MidiOutputLink> openOutput(int index, const QString &portId, QString *error) override;

private:
    class Input;
    class Output;
    struct Port {
        QString name;
        bool source = false;
        bool busy = false;
        std::function<void(const QByteArray &)> onMessage;
    };

    QStringList ids(bool sources) const;
    int portOf(const QString &portId) const;
    bool deliverToSink(int sink, const QByteArray &message);

    QMap<int, Port> m_ports;
    QHash<int, Input *> m_inputs; // open program inputs by connection number
    QHash<int, int> m_openCounts;
    int m_nextPort = 0;
    int m_nextInput = 0;
};

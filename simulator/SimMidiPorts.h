#pragma once

#include "device/LoopbackMidi.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class RtMidiIn;
class RtMidiOut;

// The simulated controller's own MIDI ports, which come and go with its
// normal mode. Received messages arrive as signals on the owner's thread.
class SimMidiPorts : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool plug(QString *error) = 0;
    virtual void unplug() = 0;
    virtual bool isPlugged() const = 0;
    virtual void send(const QByteArray &message) = 0;

signals:
    void received(const QByteArray &message);
};

// Ports on an in-process loopback MIDI system (tests, the editor's --simulator).
class LoopbackSimPorts : public SimMidiPorts
{
    Q_OBJECT
public:
    LoopbackSimPorts(LoopbackMidi *midi, const QString &name, QObject *parent = nullptr);
    ~LoopbackSimPorts() override;

    bool plug(QString *error) override;
    void unplug() override;
    bool isPlugged() const override { return m_source >= 0; }
    void send(const QByteArray &message) override;

private:
    QPointer<LoopbackMidi> m_midi; // the MIDI system may be gone first at exit
    QString m_name;
    int m_sink = -1;
    int m_source = -1;
};

// Virtual ports of the system's MIDI through RtMidi (ALSA or JACK), as a
// USB controller's ports would appear.
class RtMidiSimPorts : public SimMidiPorts
{
    Q_OBJECT
public:
    RtMidiSimPorts(bool jack, const QString &name, QObject *parent = nullptr);
    ~RtMidiSimPorts() override;

    bool plug(QString *error) override;
    void unplug() override;
    bool isPlugged() const override { return m_out != nullptr; }
    void send(const QByteArray &message) override;

private:
    static void deliver(double, std::vector<unsigned char> *message, void *user);

    bool m_jack;
    QString m_name;
    std::unique_ptr<RtMidiIn> m_in;
    std::unique_ptr<RtMidiOut> m_out;
};

#pragma once

#include "firmware/Doctor.h"
#include "firmware/LoaderListener.h"
#include "model/DoctorFindings.h"

#include <QList>
#include <QObject>
#include <QString>

class MidiBackend;

// The system check as `mavuctl doctor` and the editor's Help > System Check
// give it: the MIDI side's findings, then the update side's, the firmware
// server last. Judged against the MIDI system in use: a missing ALSA
// sequencer beside a working JACK or the simulator is a note.
namespace systemcheck {

struct Setup {
    MidiBackend *midi = nullptr; // null when the MIDI system did not start
    QString midiError; // why it did not
    QString updatePort; // the port named on the command line, if any
    QString firmwareServer;
    QString root; // look at a system laid out under this folder; empty: this one
};

// Runs the check and waits for it (mavuctl).
QList<doctor::Finding> run(const Setup &setup);

} // namespace systemcheck

// The check without blocking: what is on this machine at once, a named update
// port listened to and the firmware server's answer within their time limits;
// finished() unless cancelled.
class SystemCheck : public QObject
{
    Q_OBJECT
public:
    explicit SystemCheck(QObject *parent = nullptr);

    void start(const systemcheck::Setup &setup);
    void cancel();
    bool isRunning() const { return m_running; }
    QList<doctor::Finding> findings() const { return m_findings; }

signals:
    void finished();

private:
    void listened(bool loader);
    void conclude();

    doctor::FirmwareServerProbe m_probe;
    LoaderListener m_listener; // on a named update port
    doctor::Inputs m_inputs;
    QString m_port;
    QList<doctor::Finding> m_findings;
    doctor::Finding m_server;
    bool m_running = false;
    bool m_listened = false;
    bool m_answered = false;
};

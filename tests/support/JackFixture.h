#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class MidiBackend;
// A program run for a test that cannot outlive the test: a watcher shell
// ends it when the test process goes, even when the test crashes. SIGUSR1
// sent to it is passed on.
class GuardedProcess
{
public:
    GuardedProcess() = default;
    ~GuardedProcess();
    GuardedProcess(const GuardedProcess &) = delete;
    GuardedProcess &operator=(const GuardedProcess &) = delete;

    bool start(const QString &program, const QStringList &args);
    void stop();
    bool isRunning() const;
    void signalUser1();
    // Waits until a line of the output contains text; false on time-out.
    bool waitForOutput(const QString &text, int timeoutMs);
    QByteArray output();

private:
    QProcess m_process;
    QByteArray m_output;
};

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

// mavu-sim on the test's JACK server.
QString simulatorPath();
// Starts mavu-sim on JACK with extra options; true once it is plugged in.
bool startSimulator(GuardedProcess &sim, const QStringList &extra = {});

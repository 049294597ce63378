#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

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

// mavu-sim on the test's JACK server.
QString simulatorPath();
// Starts mavu-sim on JACK with extra options; true once it is plugged in.
bool startSimulator(GuardedProcess &sim, const QStringList &extra = {});

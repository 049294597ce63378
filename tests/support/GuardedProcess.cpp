#include "support/GuardedProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <csignal>

namespace {

// Runs "$@", forwards TERM/INT/USR1 to it, and ends it when the test process
// is gone: then the watcher has a new parent (an unreaped dead test would
// still answer kill -0, so its pid is not asked). A child that does not end
// within five seconds is killed: a JACK server and its client told to stop
// at the same moment can wait on each other for ever. A watcher killed
// outright (ctest's time-out kills the test's process group) takes the child
// with it through the parent-death signal: jackd leads a session of its own
// and would outlive a group kill.
const char kWatcher[] = "setpriv --pdeathsig TERM -- \"$@\" & child=$!\n"
                        "finish() {\n"
                        "  kill -TERM $child 2>/dev/null; n=0\n"
                        "  while kill -0 $child 2>/dev/null && [ $n -lt 25 ]; do sleep 0.2; n=$((n+1)); done\n"
                        "  kill -KILL $child 2>/dev/null; wait $child; exit 0\n"
                        "}\n"
                        "trap finish TERM INT\n"
                        "trap 'kill -USR1 $child 2>/dev/null' USR1\n"
                        "parent=$PPID\n"
                        "while kill -0 $child 2>/dev/null; do\n"
                        "  [ \"$(cut -d' ' -f4 /proc/$$/stat)\" = \"$parent\" ] || finish\n"
                        "  sleep 0.2\n"
                        "done\n"
                        "wait $child\n";

} // namespace

GuardedProcess::~GuardedProcess()
{
    stop();
}

bool GuardedProcess::start(const QString &program, const QStringList &args)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("/bin/sh"), QStringList{"-c", kWatcher, "watcher", program} + args);
    return m_process.waitForStarted(5000);
}

void GuardedProcess::stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(3000);
    output();
}

bool GuardedProcess::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

void GuardedProcess::signalUser1()
{
    if (isRunning())
        ::kill(pid_t(m_process.processId()), SIGUSR1);
}

bool GuardedProcess::waitForOutput(const QString &text, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!output().contains(text.toUtf8())) {
        if (deadline.hasExpired() || !isRunning())
            return false;
        m_process.waitForReadyRead(50);
        QCoreApplication::processEvents();
    }
    return true;
}

QByteArray GuardedProcess::output()
{
    m_output += m_process.readAll();
    return m_output;
}

QString simulatorPath()
{
    return QString::fromLocal8Bit(qgetenv("MAVU_TEST_BINARY_DIR")) + QStringLiteral("/simulator/mavu-sim");
}

bool startSimulator(GuardedProcess &sim, const QStringList &extra)
{
    return sim.start(simulatorPath(), QStringList{"--midi-api", "jack"} + extra)
        && sim.waitForOutput(QStringLiteral("plugged in"), 10000);
}

#include "workflows/StopSignals.h"

#include "workflows/WorkflowsLog.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kCaught[] = {SIGTERM, SIGINT};

void onSignal(int signalNumber)
{
    const int saved = errno;
    const char number = char(signalNumber);
    // Nothing to do when the pipe is full: a stop is already pending.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

void setAction(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kCaught)
        ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

ProcessStopSignals::ProcessStopSignals(QObject *parent)
    : StopSignals(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcWorkflows) << "SIGTERM and SIGINT cannot be caught; they end the program at once";
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ProcessStopSignals::drain);
    setAction(onSignal);
}

ProcessStopSignals::~ProcessStopSignals()
{
    if (!m_notifier)
        return;
    setAction(SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void ProcessStopSignals::drain()
{
    char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1)
        emit received(number);
}

#include "workflows/UpdateShutdown.h"

#include "model/UserPrompt.h"
#include "workflows/FirmwareUpdateFlow.h"
#include "workflows/StopSignals.h"
#include "workflows/WorkflowsLog.h"

#include <QDebug>

#include <csignal>

namespace {

constexpr int kSignalStatusBase = 128;

const char *signalName(int signalNumber)
{
    return signalNumber == SIGTERM ? "SIGTERM" : signalNumber == SIGINT ? "SIGINT" : "a signal";
}

} // namespace

UpdateShutdown::UpdateShutdown(FirmwareUpdateFlow &flow, QObject *parent)
    : QObject(parent)
    , m_flow(flow)
{
    connect(&m_flow, &FirmwareUpdateFlow::finished, this, [this] {
        if (m_pendingStatus < 0)
            return;
        qCInfo(lcWorkflows) << "the firmware update is over; ending now";
        end(m_pendingStatus);
    });
}

void UpdateShutdown::watch(StopSignals *stopSignals)
{
    connect(stopSignals, &StopSignals::received, this, &UpdateShutdown::signalled);
}

void UpdateShutdown::signalled(int signalNumber)
{
    const int status = kSignalStatusBase + signalNumber;
    if (!m_flow.isBusy()) {
        qCInfo(lcWorkflows) << signalName(signalNumber) << "received; ending";
        end(status);
    } else if (m_pendingStatus > 0) {
        qCInfo(lcWorkflows) << signalName(signalNumber)
                            << "received again; ending at once, the firmware transfer cut short";
        end(status);
    } else {
        qCInfo(lcWorkflows) << signalName(signalNumber)
                            << "received during the firmware update; ending once the transfer has ended or given "
                               "up (a second signal ends at once)";
        m_pendingStatus = status;
        m_flow.stop();
    }
}

void UpdateShutdown::end(int exitStatus)
{
    // Asked once: a quit the user then cancels (unsaved work) is not repeated.
    m_pendingStatus = -1;
    emit endNow(exitStatus);
}

bool UpdateShutdown::mayQuit(UserPrompt *prompt)
{
    if (!m_flow.isBusy())
        return true;
    const int choice = prompt
        ? prompt->choose(tr("Firmware update"),
            tr("A firmware update is running. Quitting now could leave the controller in its loader, without a "
               "working firmware.\n\nThe editor can quit as soon as the controller is safe: when the transfer has "
               "ended, or at once if the firmware has not started going across."),
            {tr("Quit After the Update")})
        : -1;
    if (choice == 0 && m_pendingStatus < 0) {
        qCInfo(lcWorkflows) << "quit asked for during the firmware update; quitting once the transfer has ended";
        m_pendingStatus = 0;
        m_flow.stop();
    }
    return false;
}

bool UpdateShutdown::holdSessionEnd(const std::function<bool()> &allowsInteraction, const std::function<void()> &cancel)
{
    if (!m_flow.isBusy())
        return false;
    if (!allowsInteraction()) {
        qCWarning(lcWorkflows) << "the session ends during the firmware update and may not be held";
        return false;
    }
    qCInfo(lcWorkflows) << "the session's end cancelled: a firmware update is running";
    cancel();
    return true;
}

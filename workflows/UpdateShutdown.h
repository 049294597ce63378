#pragma once

#include <QObject>

#include <functional>

class FirmwareUpdateFlow;
class StopSignals;
class UserPrompt;

// A program asked to end while a firmware update runs (its quit, SIGTERM or
// SIGINT, the session ending): cutting a transfer short leaves the controller
// in its loader. An update whose command has not gone out is dropped, a
// transfer is let end by itself (done, or given up within its own limits),
// and then the program ends; the log says so. A second signal ends it at once.
class UpdateShutdown : public QObject
{
    Q_OBJECT
public:
    explicit UpdateShutdown(FirmwareUpdateFlow &flow, QObject *parent = nullptr);

    // The signals that reach the program (not owned).
    void watch(StopSignals *stopSignals);
    // The user asks to quit: true when no update runs. Otherwise asks whether
    // to quit once it has ended (Cancel, the default, keeps going) and
    // returns false; endNow(0) follows the update when they agree.
    bool mayQuit(UserPrompt *prompt);
    // The session ends (a logout) while the update runs: cancelled through
    // the session manager, which allows it only with interaction. True when
    // the session was held.
    bool holdSessionEnd(const std::function<bool()> &allowsInteraction, const std::function<void()> &cancel);

signals:
    // Time to end: exitStatus 128 + the signal's number, 0 for the user's quit.
    void endNow(int exitStatus);

private:
    void signalled(int signalNumber);
    void end(int exitStatus);

    FirmwareUpdateFlow &m_flow;
    int m_pendingStatus = -1; // the exit status once the update is over; -1: no end asked for
};

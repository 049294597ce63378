#pragma once

#include "firmware/LoaderListener.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <functional>

class FirmwareUpdateFlow;
class MyFtp;
class QTimer;
class UserPrompt;

// A controller whose update was cut short stays in its loader: its update port
// is there, its MIDI ports are not. Found at start or when the port appears,
// the user is told so and offered to flash it again: the last downloaded
// firmware, a file of their choice, or the online check.
class RecoveryOffer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kLookMs = 1000;
    // Looks in a row that must find the loader before it counts: a controller
    // passes through it briefly when it restarts.
    static constexpr int kSteadyLooks = 2;
    // After a successful update the new firmware takes a while to come up.
    static constexpr int kQuietAfterUpdateMs = 15000;

    // midiPresent says whether the controller's MIDI function is there.
    RecoveryOffer(
        FirmwareUpdateFlow &firmware, MyFtp &ftp, std::function<bool()> midiPresent, QObject *parent = nullptr);

    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; } // not owned
    // Looks for the update port every kLookMs from now on.
    void watch();
    // The controller was found in update mode: ask now.
    void offer();
    // One look for the loader; public for tests.
    void look();

signals:
    // The loader was found, just before the user is asked.
    void found();

private:
    FirmwareUpdateFlow &m_firmware;
    MyFtp &m_ftp;
    std::function<bool()> m_midiPresent;
    UserPrompt *m_prompt = nullptr;
    QTimer *m_timer;
    int m_steadyLooks = 0; // in a row that found the loader
    QDeadlineTimer m_quiet{0};
    bool m_asking = false;
    LoaderListener m_listener; // on a named port
    bool m_loaderHeard = false;
};

#pragma once

#include "simulator/SimController.h"
#include "simulator/SimulatedDevice.h"

#include <QString>
#include <QStringList>

// mavu-sim's command line.
struct SimCommandLine {
    QString midiApi; // "alsa", "jack" or empty for the default
    QString name = QStringLiteral("Korvel Mavu");
    QString serial;
    int version[3] = {1, 0, 2};
    QString imagePath;
    SimController::ReplyMode replyMode = SimController::ReplyMode::Normal;
    int replyDelayMs = 0;
    int unplugAfterMs = -1;
    int replugAfterMs = -1;
    int portsDelayMs = 0; // the MIDI ports appear this long after start
    bool updateMode = false; // start in update mode: no MIDI ports, only the update port
    SimOptions device;
    bool help = false;
    QString error;

    // Parses the arguments, the program first.
    static SimCommandLine parse(const QStringList &arguments);
    static QString helpText();
};

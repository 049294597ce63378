#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Why the controller or its update does not work on this system, with the fix
// for each finding. Shared by `mavuctl doctor` and the editor's Help menu.
namespace doctor {

struct Finding {
    bool ok = true;
    QString text; // what was found
    QString fix; // what to do about it; empty when nothing needs doing
};

// What is looked at. The system's folders (/dev, /sys, /etc, /run, /proc,
// /usr/lib) are taken from under root, so tests can lay out a system of their own.
struct Inputs {
    QString root; // empty: this system
    QString midiError; // why the MIDI system did not start; empty when it did
    QStringList midiProducts; // product names of the MIDI input ports
    QString updatePortOverride;
    // Empty when the firmware server answered, else why it did not.
    std::function<QString()> askFirmwareServer;
};

QList<Finding> examine(const Inputs &inputs);
bool allWell(const QList<Finding> &findings);
QString report(const QList<Finding> &findings);

// The controller's update port: the override when it exists, else the tty
// whose USB device (under root/sys) is the controller in update mode.
QString findUpdatePort(const QString &root, const QString &overridePath);

// Asks the firmware server (HOST[:PORT] or URL, empty for the maker's) for its
// description; empty when it answered.
QString askFirmwareServer(const QString &server, int timeoutMs);

// Everything about this system, through the MIDI system already installed.
Inputs systemInputs(const QString &updatePortOverride, const QString &firmwareServer);

} // namespace doctor

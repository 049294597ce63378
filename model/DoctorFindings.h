#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Why the controller or its update does not work on this system, with the fix
// for each finding. The MIDI side is looked at by the device layer, the update
// port and the firmware server by the firmware layer; `mavuctl doctor` and the
// editor's Help menu put the two together.
namespace doctor {

struct Finding {
    bool ok = true;
    QString text; // what was found
    QString fix; // what to do about it; empty when nothing needs doing
};

Finding ok(const QString &text);
Finding problem(const QString &text, const QString &fix);
// Whether this user may read and write path.
bool readWritable(const QString &path);

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

bool allWell(const QList<Finding> &findings);
QString report(const QList<Finding> &findings);

} // namespace doctor

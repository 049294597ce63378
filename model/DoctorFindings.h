#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Why the controller or its update does not work on this system, with the fix
// for each finding. The MIDI side is looked at by the device layer, the update
// port and the firmware server by the firmware layer; `mavuctl doctor` and the
// editor's Help menu put the two together. The texts are translated (context
// "Doctor") when made, so the editor shows them in its language.
// The translation context of the findings' texts.
struct Doctor {
    Q_DECLARE_TR_FUNCTIONS(Doctor)
};

namespace doctor {

struct Finding {
    bool ok = true; // nothing here stops this user's setup
    QString text; // what was found
    QString fix; // what to do about it (for a note: what would help); empty when nothing needs doing
    bool note = false; // stops nothing, but worth knowing
};

Finding ok(const QString &text);
Finding note(const QString &text, const QString &hint);
Finding problem(const QString &text, const QString &fix);
// Whether this user may read and write path.
bool readWritable(const QString &path);

// The built-in simulator's MIDI system, as its back end names itself.
extern const char kSimulatedMidi[];

// What is looked at. The system's folders (/dev, /sys, /etc, /run, /proc,
// /usr/lib) are taken from under root, so tests can lay out a system of their own.
struct Inputs {
    QString root; // empty: this system
    QString midiApi; // the MIDI system in use ("alsa", "jack", kSimulatedMidi); empty when none started
    QString midiError; // why the MIDI system did not start; empty when it did
    QStringList midiProducts; // product names of the MIDI input ports
    QString updatePortOverride;
};

// No finding stops the controller from being reached and updated.
bool allWell(const QList<Finding> &findings);
QString report(const QList<Finding> &findings);

} // namespace doctor

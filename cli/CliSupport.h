#pragma once

#include "model/SharedOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class DataManagement;
class MidiBackend;
class QCommandLineParser;
class QObject;

// Shared pieces of mavuctl's subcommands.
namespace cli {

// Thrown-free error reporting: each command returns an exit code and writes one line on stderr.
int fail(const QString &message);
void printOut(const QString &text);

// One command as parsed: the options shared with the editor, the command's own, and its arguments.
struct Invocation {
    Invocation();
    ~Invocation();

    const QCommandLineParser *parser = nullptr;
    SharedOptions shared;
    QStringList args; // the arguments after the command's words
    QString synopsis; // "mavuctl get [-o FILE]"
    QString dataFolder; // for backups; empty: the real one

    bool isSet(const QString &option) const;
    QString value(const QString &option) const;
    // The command's synopsis as its one-line error.
    int usageError() const;
    // The MIDI system the shared options (--midi-api) ask for, started on the
    // first call and kept for the command; null with *error when it cannot start.
    MidiBackend *midi(QString *error) const;
    // --simulator: the simulated controller in this process, as the editor's,
    // with its MIDI system, update port, demo firmware server and data folder.
    void startSimulator();

private:
    mutable std::unique_ptr<MidiBackend> m_midi;
    mutable QString m_midiError;
    std::unique_ptr<QObject> m_simulator; // goes before the MIDI system it plays on
};

bool loadPreset(const QString &path, DataManagement &settings);
bool savePreset(const QString &path, DataManagement &settings);

} // namespace cli

#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the command line and the environment ask of the editor and mavuctl.
// Parsed once at start; the subsystems are configured from it by the program.
struct AppOptions {
    QString midiApi;        // "alsa", "jack" or empty for the default (--midi-api, KORVEL_MAVU_MIDI_API)
    bool simulator = false; // run the simulated controller in-process (--simulator)
    QString updatePort;     // explicit update-mode serial port (--update-port, KORVEL_MAVU_UPDATE_PORT)
    QString firmwareServer; // HOST[:PORT] or base URL (--firmware-server, KORVEL_MAVU_FIRMWARE_SERVER)
    QStringList files;      // preset files to open
    bool showVersion = false;
    bool showHelp = false;
    QString error;          // set when the arguments are not valid

    // Parses the editor's arguments (argv[0] first), falling back to the environment.
    static AppOptions parse(const QStringList &arguments);
    static QString helpText();

    // The options this tool shares with the editor (for mavuctl): added to a parser,
    // then read from it after parsing, with the environment behind them.
    static void addShared(QCommandLineParser *parser);
    static AppOptions shared(const QCommandLineParser &parser);

    static const AppOptions &current();
    static void setCurrent(const AppOptions &options);
};

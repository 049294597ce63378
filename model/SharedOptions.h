#pragma once

#include "model/HelpText.h"

#include <QString>

class QCommandLineParser;

// The options every program takes alike (the editor, mavuctl, the in-process
// simulator): parsed once by the program's main and handed down from there.
struct SharedOptions {
    QString midiApi; // "alsa", "jack" or empty for the default (--midi-api, KORVEL_MAVU_MIDI_API)
    bool simulator = false; // run the simulated controller in-process (--simulator)
    QString updatePort; // explicit update-mode serial port (--update-port, KORVEL_MAVU_UPDATE_PORT)
    QString firmwareServer; // HOST[:PORT] or base URL (--firmware-server, KORVEL_MAVU_FIRMWARE_SERVER)
    QString error; // set when the arguments are not valid

    // Added to a parser, then read from it after parsing, with the environment behind them.
    static void addTo(QCommandLineParser *parser);
    static SharedOptions from(const QCommandLineParser &parser);
    // Their lines in a program's --help.
    static QList<helptext::Row> helpRows();
};

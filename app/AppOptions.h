#pragma once

#include "model/SharedOptions.h"

#include <QString>
#include <QStringList>

// What the command line and the environment ask of the editor: the options
// shared with the other programs and the editor's own. Parsed once, in main.
struct AppOptions : SharedOptions {
    QStringList files; // preset files to open
    bool showVersion = false;
    bool showHelp = false;

    // Parses the editor's arguments (argv[0] first), falling back to the environment.
    static AppOptions parse(const QStringList &arguments);
    static QString helpText();
};

#include "app/AppOptions.h"

#include <QCommandLineParser>

namespace {

// The editor's own options, after those it shares with the other programs.
const QCommandLineOption kVersion({"v", "version"}, "print the version");
const QCommandLineOption kHelp({"h", "help"}, "print this help");

} // namespace

AppOptions AppOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    addTo(&parser);
    parser.addOption(kVersion);
    parser.addOption(kHelp);
    const bool parsed = parser.parse(arguments);
    AppOptions o;
    static_cast<SharedOptions &>(o) = from(parser);
    o.showVersion = parser.isSet(kVersion);
    o.showHelp = parser.isSet(kHelp);
    o.files = parser.positionalArguments();
    if (!parsed)
        o.error = parser.errorText() + QStringLiteral(" See --help.");
    return o;
}

QString AppOptions::helpText()
{
    return QStringLiteral("Usage: korvel-mavu [OPTION...] [PRESET...]\n"
                          "Editor for the Korvel Mavu pad controller.\n"
                          "\n")
        + helptext::columns(helpRows(true) + helptext::rows({kVersion, kHelp}), 30);
}

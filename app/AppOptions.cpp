#include "app/AppOptions.h"

#include <QCommandLineParser>

namespace {

// The editor's own options, after those it shares with the other programs.
const QCommandLineOption kVersion({"v", "version"}, "print the version");
const QCommandLineOption kHelp({"h", "help"}, "print this help");

// What QApplication takes itself (Qt's documented options, X11's among
// them): accepted here and left in argv for it, as every Qt program does.
const char *const kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry", "title",
    "name", "visual", "ncols", "cmap", "dialogs"};
const char *const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void addQtOptions(QCommandLineParser *parser)
{
    // Qt's options are single-dash words: -platform is not -p -l -a ...
    parser->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char *name : kQtValueOptions) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser->addOption(option);
    }
    for (const char *name : kQtFlags) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser->addOption(option);
    }
}

} // namespace

AppOptions AppOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    addTo(&parser);
    parser.addOption(kVersion);
    parser.addOption(kHelp);
    addQtOptions(&parser);
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
        + helptext::columns(helpRows() + helptext::rows({kVersion, kHelp}), 30)
        + QStringLiteral(
            "\nQt's own options (-platform xcb, -style NAME, -reverse, -session ID, ...) are taken too.\n");
}

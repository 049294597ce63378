#include "app/AppOptions.h"

#include <QCommandLineParser>

AppOptions AppOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    addTo(&parser);
    const QCommandLineOption version({"v", "version"}, "print the version");
    const QCommandLineOption help({"h", "help"}, "print this help");
    parser.addOption(version);
    parser.addOption(help);
    const bool parsed = parser.parse(arguments);
    AppOptions o;
    static_cast<SharedOptions &>(o) = from(parser);
    o.showVersion = parser.isSet(version);
    o.showHelp = parser.isSet(help);
    o.files = parser.positionalArguments();
    if (!parsed)
        o.error = parser.errorText() + QStringLiteral(" See --help.");
    return o;
}

QString AppOptions::helpText()
{
    return QStringLiteral("Usage: korvel-mavu [OPTION...] [PRESET...]\n"
                          "Editor for the Korvel Mavu pad controller.\n"
                          "\n"
                          "  --simulator                 use a simulated controller (no hardware needed)\n"
                          "  --midi-api alsa|jack        MIDI system to use (KORVEL_MAVU_MIDI_API; default alsa)\n"
                          "  --update-port PATH          serial port of a controller in update mode\n"
                          "                              (KORVEL_MAVU_UPDATE_PORT)\n"
                          "  --firmware-server HOST[:PORT]|URL\n"
                          "                              where to look for firmware (KORVEL_MAVU_FIRMWARE_SERVER)\n"
                          "  -v, --version               print the version\n"
                          "  -h, --help                  print this help\n");
}

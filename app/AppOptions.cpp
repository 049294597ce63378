#include "app/AppOptions.h"

#include <QCommandLineParser>
#include <QProcessEnvironment>

namespace {

AppOptions &storage()
{
    static AppOptions options;
    return options;
}

struct ValueOption {
    const char *name;
    const char *environment;
    const char *valueName;
    const char *description;
    QString AppOptions::*field;
};

const ValueOption kValueOptions[] = {
    {"midi-api", "KORVEL_MAVU_MIDI_API", "alsa|jack", "MIDI system to use (KORVEL_MAVU_MIDI_API; default alsa)",
        &AppOptions::midiApi},
    {"update-port", "KORVEL_MAVU_UPDATE_PORT", "PATH",
        "serial port of a controller in update mode (KORVEL_MAVU_UPDATE_PORT)", &AppOptions::updatePort},
    {"firmware-server", "KORVEL_MAVU_FIRMWARE_SERVER", "HOST[:PORT]|URL",
        "where to look for firmware (KORVEL_MAVU_FIRMWARE_SERVER)", &AppOptions::firmwareServer},
};

const char kSimulator[] = "simulator";

} // namespace

void AppOptions::addShared(QCommandLineParser *parser)
{
    parser->addOption({kSimulator, "use a simulated controller (no hardware needed)"});
    for (const ValueOption &opt : kValueOptions)
        parser->addOption({opt.name, opt.description, opt.valueName});
}

AppOptions AppOptions::shared(const QCommandLineParser &parser)
{
    AppOptions o;
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const ValueOption &opt : kValueOptions) {
        const QString name = QLatin1String(opt.name);
        o.*(opt.field) = parser.isSet(name) ? parser.value(name) : env.value(QLatin1String(opt.environment));
    }
    o.simulator = parser.isSet(QLatin1String(kSimulator));
    if (!o.midiApi.isEmpty() && o.midiApi != QLatin1String("alsa") && o.midiApi != QLatin1String("jack"))
        o.error = QStringLiteral("--midi-api must be alsa or jack, not \"%1\"").arg(o.midiApi);
    return o;
}

AppOptions AppOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    addShared(&parser);
    const QCommandLineOption version({"v", "version"}, "print the version");
    const QCommandLineOption help({"h", "help"}, "print this help");
    parser.addOption(version);
    parser.addOption(help);
    const bool parsed = parser.parse(arguments);
    AppOptions o = shared(parser);
    o.showVersion = parser.isSet(version);
    o.showHelp = parser.isSet(help);
    o.files = parser.positionalArguments();
    if (!parsed)
        o.error = parser.errorText() + QStringLiteral(" See --help.");
    return o;
}

QString AppOptions::helpText()
{
    return QStringLiteral(
        "Usage: korvel-mavu [OPTION...] [PRESET...]\n"
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

const AppOptions &AppOptions::current()
{
    return storage();
}

void AppOptions::setCurrent(const AppOptions &options)
{
    storage() = options;
}

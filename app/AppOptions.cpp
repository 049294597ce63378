#include "app/AppOptions.h"

#include <QCoreApplication>
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
    QString AppOptions::*field;
};

const ValueOption kValueOptions[] = {
    {"--midi-api", "KORVEL_MAVU_MIDI_API", &AppOptions::midiApi},
    {"--update-port", "KORVEL_MAVU_UPDATE_PORT", &AppOptions::updatePort},
    {"--firmware-server", "KORVEL_MAVU_FIRMWARE_SERVER", &AppOptions::firmwareServer},
};

// Takes "--name VALUE" or "--name=VALUE" at position i; returns false when args[i] is not it.
bool takeValue(QStringList *args, int i, const char *name, QString *value, QString *error)
{
    const QString arg = args->at(i);
    const QString prefix = QLatin1String(name) + QLatin1Char('=');
    if (arg.startsWith(prefix)) {
        *value = arg.mid(prefix.size());
        args->removeAt(i);
        return true;
    }
    if (arg != QLatin1String(name))
        return false;
    if (i + 1 >= args->size()) {
        *error = QStringLiteral("%1 needs a value").arg(arg);
        args->removeAt(i);
        return true;
    }
    *value = args->at(i + 1);
    args->removeAt(i + 1);
    args->removeAt(i);
    return true;
}

void validate(AppOptions *o)
{
    if (o->error.isEmpty() && !o->midiApi.isEmpty() && o->midiApi != QLatin1String("alsa")
        && o->midiApi != QLatin1String("jack"))
        o->error = QStringLiteral("--midi-api must be alsa or jack, not \"%1\"").arg(o->midiApi);
}

} // namespace

AppOptions AppOptions::takeShared(QStringList *args)
{
    AppOptions o;
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const ValueOption &opt : kValueOptions)
        o.*(opt.field) = env.value(QLatin1String(opt.environment));
    for (int i = 0; i < args->size();) {
        bool taken = false;
        for (const ValueOption &opt : kValueOptions) {
            if (takeValue(args, i, opt.name, &(o.*(opt.field)), &o.error)) {
                taken = true;
                break;
            }
        }
        if (!taken && args->at(i) == QLatin1String("--simulator")) {
            o.simulator = true;
            args->removeAt(i);
            taken = true;
        }
        if (!taken)
            ++i;
    }
    validate(&o);
    return o;
}

AppOptions AppOptions::parse(const QStringList &arguments)
{
    QStringList args = arguments.mid(1);
    AppOptions o = takeShared(&args);
    for (const QString &arg : qAsConst(args)) {
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v"))
            o.showVersion = true;
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            o.showHelp = true;
        else if (arg.startsWith(QLatin1Char('-')) && o.error.isEmpty())
            o.error = QStringLiteral("unknown option \"%1\"; see --help").arg(arg);
        else
            o.files << arg;
    }
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

#include "model/SharedOptions.h"

#include <QCommandLineParser>
#include <QProcessEnvironment>

namespace {

struct ValueOption {
    const char *name;
    const char *environment;
    const char *valueName;
    const char *description;
    QString SharedOptions::*field;
};

const ValueOption kValueOptions[] = {
    {"midi-api", "KORVEL_MAVU_MIDI_API", "alsa|jack", "MIDI system to use (KORVEL_MAVU_MIDI_API; default alsa)",
        &SharedOptions::midiApi},
    {"update-port", "KORVEL_MAVU_UPDATE_PORT", "PATH",
        "serial port of a controller in update mode (KORVEL_MAVU_UPDATE_PORT)", &SharedOptions::updatePort},
    {"firmware-server", "KORVEL_MAVU_FIRMWARE_SERVER", "HOST[:PORT]|URL",
        "where to look for firmware (KORVEL_MAVU_FIRMWARE_SERVER)", &SharedOptions::firmwareServer},
};

const char kSimulator[] = "simulator";

QList<QCommandLineOption> options()
{
    QList<QCommandLineOption> list;
    list << QCommandLineOption(kSimulator, "use a simulated controller (no hardware needed)");
    for (const ValueOption &opt : kValueOptions)
        list << QCommandLineOption(opt.name, opt.description, opt.valueName);
    return list;
}

} // namespace

void SharedOptions::addTo(QCommandLineParser *parser)
{
    parser->addOptions(options());
}

SharedOptions SharedOptions::from(const QCommandLineParser &parser)
{
    SharedOptions o;
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

QList<helptext::Row> SharedOptions::helpRows()
{
    return helptext::rows(options());
}

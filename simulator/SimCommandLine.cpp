#include "simulator/SimCommandLine.h"

#include "model/HelpText.h"

#include <QCommandLineParser>

#include <functional>

namespace {

// One option of the table the command line is parsed with and the help is laid out from.
struct Option {
    QCommandLineOption option;
    // Takes the option's value (empty for a flag); false when the value is bad.
    std::function<bool(const QString &)> take;
};

QList<Option> options(SimCommandLine &c)
{
    const auto text = [](QString *field) {
        return [field](const QString &value) {
            *field = value;
            return true;
        };
    };
    const auto milliseconds = [](int *field) {
        return [field](const QString &value) {
            bool ok = false;
            *field = value.toInt(&ok);
            return ok && *field >= 0;
        };
    };
    const auto flag = [](bool *field) {
        return [field](const QString &) {
            *field = true;
            return true;
        };
    };
    using Kind = ControlId::Kind;
    const QString controls = QStringLiteral("(pads %1, knobs %2, buttons %3)")
                                 .arg(ControlId::nameRange(Kind::Pad), ControlId::nameRange(Kind::Knob),
                                     ControlId::nameRange(Kind::Button));
    return {
        {{"midi-api", "MIDI system (default alsa, or jack without ALSA)", "alsa|jack"},
            [&c](const QString &value) {
                c.midiApi = value;
                return value == QLatin1String("alsa") || value == QLatin1String("jack");
            }},
        {{"name", "port name (default \"Korvel Mavu\")", "NAME"},
            [&c](const QString &value) {
                c.name = value;
                return !value.isEmpty();
            }},
        {{"serial", "serial number, up to 13 bytes (default MAVU-SIM-0001)", "TEXT"},
            [&c](const QString &value) {
                c.serial = value;
                return value.toUtf8().size() <= 13;
            }},
        {{"firmware-version", "firmware version reported (default 1.0.2)", "X.Y.Z"},
            [&c](const QString &value) { return SimController::parseVersion(value, c.version); }},
        {{"image", "start with the settings of a preset (.stm or .syx)", "FILE"}, text(&c.imagePath)},
        {{"reply", "how to answer reads: properly, not at all,\ncut off, or with bytes too many",
             "normal|none|short|long"},
            [&c](const QString &value) { return SimController::parseReplyMode(value, &c.replyMode); }},
        {{"reply-delay", "answer late", "MS"}, milliseconds(&c.replyDelayMs)},
        {{"unplug-after", "pull the cable MS after start...", "MS"}, milliseconds(&c.unplugAfterMs)},
        {{"replug-after", "...and plug it in again MS later", "MS"}, milliseconds(&c.replugAfterMs)},
        {{"ports-delay", "make the MIDI ports MS after start, as a card\nthe system reports before its ports", "MS"},
            milliseconds(&c.portsDelayMs)},
        {{"update-link", "in update mode, link the terminal at PATH", "PATH"}, text(&c.device.updateLink)},
        {{"firmware-dir", "store received firmware files here", "DIR"}, text(&c.device.firmwareDir)},
        {{"version-after-update", "report this version after an update", "X.Y.Z"},
            [&c](const QString &value) {
                int unused[3];
                c.device.versionAfterUpdate = value;
                return SimController::parseVersion(value, unused);
            }},
        {{"reset-after-update", "an update puts the settings back to their defaults"},
            flag(&c.device.resetAfterUpdate)},
        {{"update-delay", "offer the update port MS after the update command", "MS"},
            milliseconds(&c.device.updateDelayMs)},
        {{"update-mode",
             "start in update mode, as a controller whose update\nwas cut short: the update port without MIDI ports"},
            flag(&c.updateMode)},
        {{"play",
             "play controls as a hand would once the settings\nare read after plugging in, each sending what its\n"
             "settings say; LIST like pad:B3,knob:A2,button:stop\n"
                 + controls,
             "LIST"},
            [&c](const QString &value) {
                QList<controlhit::Control> controls;
                c.device.play = value;
                return SimulatedDevice::parseControls(value, &controls);
            }},
        {{{"h", "help"}, "show this help"}, flag(&c.help)},
    };
}

} // namespace

SimCommandLine SimCommandLine::parse(const QStringList &arguments)
{
    SimCommandLine c;
    const QList<Option> table = options(c);
    QCommandLineParser parser;
    for (const Option &o : table)
        parser.addOption(o.option);
    if (!parser.parse(arguments))
        c.error = parser.errorText() + QStringLiteral(" See --help.");
    else if (!parser.positionalArguments().isEmpty())
        c.error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
    for (const Option &o : table) {
        const QString name = o.option.names().constLast();
        if (!parser.isSet(name))
            continue;
        const QString given = o.option.valueName().isEmpty() ? QString() : parser.value(name);
        if (!o.take(given) && c.error.isEmpty())
            c.error = QStringLiteral("bad value for --%1: \"%2\"").arg(name, given);
    }
    return c;
}

QString SimCommandLine::helpText()
{
    SimCommandLine unused;
    QList<helptext::Row> rows;
    for (const Option &o : options(unused))
        rows << helptext::row(o.option);
    return QStringLiteral("Usage: mavu-sim [OPTION...]\n"
                          "A simulated Korvel Mavu controller on virtual MIDI ports.\n"
                          "\n")
        + helptext::columns(rows, 31)
        + QStringLiteral("\n"
                         "SIGUSR1 unplugs the controller, or plugs it in again. SIGUSR2 plays the --play\n"
                         "list (or pad:A1,pad:B3,knob:A2,button:stop) now. SIGINT/SIGTERM end it.\n");
}

#include "simulator/SimCommandLine.h"

#include <QCommandLineParser>

#include <functional>

SimCommandLine SimCommandLine::parse(const QStringList &arguments)
{
    SimCommandLine c;
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
    // Each option with a value, and what takes it; false when the value is bad.
    const QList<QPair<QString, std::function<bool(const QString &)>>> values = {
        {"midi-api",
            [&c](const QString &value) {
                c.midiApi = value;
                return value == QLatin1String("alsa") || value == QLatin1String("jack");
            }},
        {"name",
            [&c](const QString &value) {
                c.name = value;
                return !value.isEmpty();
            }},
        {"serial",
            [&c](const QString &value) {
                c.serial = value;
                return value.toUtf8().size() <= 13;
            }},
        {"firmware-version", [&c](const QString &value) { return SimController::parseVersion(value, c.version); }},
        {"version-after-update",
            [&c](const QString &value) {
                int unused[3];
                c.device.versionAfterUpdate = value;
                return SimController::parseVersion(value, unused);
            }},
        {"image", text(&c.imagePath)},
        {"reply", [&c](const QString &value) { return SimController::parseReplyMode(value, &c.replyMode); }},
        {"reply-delay", milliseconds(&c.replyDelayMs)},
        {"unplug-after", milliseconds(&c.unplugAfterMs)},
        {"replug-after", milliseconds(&c.replugAfterMs)},
        {"ports-delay", milliseconds(&c.portsDelayMs)},
        {"update-link", text(&c.device.updateLink)},
        {"firmware-dir", text(&c.device.firmwareDir)},
        {"update-delay", milliseconds(&c.device.updateDelayMs)},
        {"play",
            [&c](const QString &value) {
                QList<controlhit::Control> controls;
                c.device.play = value;
                return SimulatedDevice::parseControls(value, &controls);
            }},
    };
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "show the help");
    const QCommandLineOption updateMode("update-mode", "start in update mode");
    const QCommandLineOption resetAfterUpdate("reset-after-update", "an update resets the settings");
    parser.addOptions({help, updateMode, resetAfterUpdate});
    for (const auto &value : values)
        parser.addOption({value.first, QString(), "VALUE"});
    if (!parser.parse(arguments))
        c.error = parser.errorText() + QStringLiteral(" See --help.");
    else if (!parser.positionalArguments().isEmpty())
        c.error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
    c.help = parser.isSet(help);
    c.updateMode = parser.isSet(updateMode);
    c.device.resetAfterUpdate = parser.isSet(resetAfterUpdate);
    for (const auto &value : values) {
        if (!parser.isSet(value.first))
            continue;
        const QString given = parser.value(value.first);
        if (!value.second(given) && c.error.isEmpty())
            c.error = QStringLiteral("bad value for --%1: \"%2\"").arg(value.first, given);
    }
    return c;
}

QString SimCommandLine::helpText()
{
    return QStringLiteral("Usage: mavu-sim [OPTION...]\n"
                          "A simulated Korvel Mavu controller on virtual MIDI ports.\n"
                          "\n"
                          "  --midi-api alsa|jack         MIDI system (default alsa, or jack without ALSA)\n"
                          "  --name NAME                  port name (default \"Korvel Mavu\")\n"
                          "  --serial TEXT                serial number, up to 13 bytes (default MAVU-SIM-0001)\n"
                          "  --firmware-version X.Y.Z     firmware version reported (default 1.0.2)\n"
                          "  --image FILE                 start with the settings of a preset (.stm or .syx)\n"
                          "  --reply normal|none|short|long\n"
                          "                               how to answer reads: properly, not at all,\n"
                          "                               cut off, or with bytes too many\n"
                          "  --reply-delay MS             answer late\n"
                          "  --unplug-after MS            pull the cable MS after start...\n"
                          "  --replug-after MS            ...and plug it in again MS later\n"
                          "  --ports-delay MS             make the MIDI ports MS after start, as a card\n"
                          "                               the system reports before its ports\n"
                          "  --update-link PATH           in update mode, link the terminal at PATH\n"
                          "  --firmware-dir DIR           store received firmware files here\n"
                          "  --version-after-update X.Y.Z report this version after an update\n"
                          "  --reset-after-update         an update puts the settings back to their defaults\n"
                          "  --update-delay MS            offer the update port MS after the update command\n"
                          "  --update-mode                start in update mode, as a controller whose update\n"
                          "                               was cut short: the update port without MIDI ports\n"
                          "  --play LIST                  play controls as a hand would once the settings\n"
                          "                               are read after plugging in, each sending what its\n"
                          "                               settings say; LIST like pad:B3,knob:A2,button:stop\n"
                          "                               (pads A1..C16, knobs A1..C4, buttons previous,\n"
                          "                               stop, next, record, start, repeat)\n"
                          "\n"
                          "SIGUSR1 unplugs the controller, or plugs it in again. SIGUSR2 plays the --play\n"
                          "list (or pad:A1,pad:B3,knob:A2,button:stop) now. SIGINT/SIGTERM end it.\n");
}

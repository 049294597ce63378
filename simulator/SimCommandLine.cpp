#include "simulator/SimCommandLine.h"

SimCommandLine SimCommandLine::parse(const QStringList &args)
{
    SimCommandLine c;
    auto fail = [&c](const QString &why) {
        if (c.error.isEmpty())
            c.error = why;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString arg = args.at(i);
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            c.help = true;
            continue;
        }
        if (arg == QLatin1String("--update-mode")) {
            c.updateMode = true;
            continue;
        }
        if (arg == QLatin1String("--reset-after-update")) {
            c.device.resetAfterUpdate = true;
            continue;
        }
        static const QStringList known = {
            "--midi-api", "--name", "--serial", "--firmware-version", "--version-after-update", "--image",
            "--reply", "--reply-delay", "--unplug-after", "--replug-after", "--update-link", "--firmware-dir",
            "--update-delay", "--ports-delay"};
        if (!known.contains(arg)) {
            fail(arg.startsWith(QLatin1String("-")) ? QStringLiteral("unknown option \"%1\"; see --help").arg(arg)
                                                    : QStringLiteral("unexpected argument \"%1\"").arg(arg));
            continue;
        }
        if (i + 1 >= args.size()) {
            fail(QStringLiteral("%1 needs a value").arg(arg));
            break;
        }
        const QString value = args.at(++i);
        bool ok = true;
        if (arg == QLatin1String("--midi-api")) {
            c.midiApi = value;
            ok = value == QLatin1String("alsa") || value == QLatin1String("jack");
        } else if (arg == QLatin1String("--name")) {
            c.name = value;
            ok = !value.isEmpty();
        } else if (arg == QLatin1String("--serial")) {
            c.serial = value;
            ok = value.toUtf8().size() <= 13;
        } else if (arg == QLatin1String("--firmware-version")) {
            ok = SimController::parseVersion(value, c.version);
        } else if (arg == QLatin1String("--version-after-update")) {
            int unused[3];
            c.device.versionAfterUpdate = value;
            ok = SimController::parseVersion(value, unused);
        } else if (arg == QLatin1String("--image")) {
            c.imagePath = value;
        } else if (arg == QLatin1String("--reply")) {
            ok = SimController::parseReplyMode(value, &c.replyMode);
        } else if (arg == QLatin1String("--reply-delay")) {
            c.replyDelayMs = value.toInt(&ok);
            ok = ok && c.replyDelayMs >= 0;
        } else if (arg == QLatin1String("--unplug-after")) {
            c.unplugAfterMs = value.toInt(&ok);
            ok = ok && c.unplugAfterMs >= 0;
        } else if (arg == QLatin1String("--replug-after")) {
            c.replugAfterMs = value.toInt(&ok);
            ok = ok && c.replugAfterMs >= 0;
        } else if (arg == QLatin1String("--ports-delay")) {
            c.portsDelayMs = value.toInt(&ok);
            ok = ok && c.portsDelayMs >= 0;
        } else if (arg == QLatin1String("--update-link")) {
            c.device.updateLink = value;
        } else if (arg == QLatin1String("--firmware-dir")) {
            c.device.firmwareDir = value;
        } else if (arg == QLatin1String("--update-delay")) {
            c.device.updateDelayMs = value.toInt(&ok);
            ok = ok && c.device.updateDelayMs >= 0;
        }
        if (!ok)
            fail(QStringLiteral("bad value for %1: \"%2\"").arg(arg, value));
    }
    return c;
}

QString SimCommandLine::helpText()
{
    return QStringLiteral(
        "Usage: mavu-sim [OPTION...]\n"
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
        "\n"
        "SIGUSR1 unplugs the controller, or plugs it in again. SIGINT/SIGTERM end it.\n");
}

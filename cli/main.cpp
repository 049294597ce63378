#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/FirmwareCommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <functional>

namespace {

const char kUsage[] = "Usage: mavuctl COMMAND [ARG...]\n"
                      "Edit Korvel Mavu presets and talk to the controller.\n"
                      "\n"
                      "Preset files (.stm, or .syx for the bare SysEx message, by extension):\n"
                      "  defaults OUT                     write the default settings\n"
                      "  dump [--json] FILE               print every setting readably\n"
                      "  convert IN OUT                   convert between .stm and .syx\n"
                      "  edit FILE OPERATION ARG...       apply one settings operation and save FILE\n"
                      "      operations: setPadInfo INDEX KEY VALUE | setPadInfo INDEX padRGB #RRGGBB\n"
                      "                  setPadBatch BANK note|cc|pc DESCENDING KEY VALUE\n"
                      "                  setPadBatchColor BANK #RRGGBB\n"
                      "                  setBQMInfo INDEX KEY VALUE\n"
                      "                  setBQMBatch BANK cc|chn|pitch KEY VALUE\n"
                      "                  setWalkingBeltInfo INDEX KEY VALUE\n"
                      "                  setLum BANK 0..1 | setCurveInten curve|intensity VALUE\n"
                      "                  initDefaultData\n"
                      "\n"
                      "The controller (over MIDI; --midi-api alsa|jack chooses the MIDI system):\n"
                      "  list                             MIDI ports and update-mode serial ports\n"
                      "  get [-o FILE]                    read the settings; print them, or save FILE\n"
                      "  send FILE                        write the settings of a preset\n"
                      "  serial                           print the serial number\n"
                      "  diff A B                         print the settings that differ between presets A and B\n"
                      "                                   (- is the controller); exit status 0 when equal,\n"
                      "                                   1 when they differ, 2 on trouble\n"
                      "      --update-port PATH           (list) also an update port with this path\n"
                      "  doctor [--root DIR]              tell why the controller or its update does not work,\n"
                      "                                   with the fix for each finding; exit status 0 when all\n"
                      "                                   is well (--root: look at a system laid out under DIR)\n"
                      "\n"
                      "Firmware:\n"
                      "  firmware check [--current VERSION]\n"
                      "                                   ask the firmware server for a newer firmware\n"
                      "                                   (--firmware-server HOST[:PORT]; without --current\n"
                      "                                   the controller's version is read over MIDI)\n"
                      "  firmware update FILE [--wait S]  put the controller into update mode and send FILE\n"
                      "                                   to its update port (--update-port PATH names it);\n"
                      "                                   its settings are saved first, and offered back if the\n"
                      "                                   update changed them (--no-backup skips both)\n"
                      "  firmware update FILE --port PATH send FILE to a port already in update mode\n"
                      "\n"
                      "Global options, before or after the command (mavuctl COMMAND --help lists a command's own):\n"
                      "  --midi-api alsa|jack             MIDI system to use (KORVEL_MAVU_MIDI_API)\n"
                      "  --update-port PATH               update-mode serial port (KORVEL_MAVU_UPDATE_PORT)\n"
                      "  --firmware-server HOST[:PORT]|URL\n"
                      "                                   firmware server (KORVEL_MAVU_FIRMWARE_SERVER)\n"
                      "  -h, --help                       show this help\n"
                      "  --version                        show the version\n";

struct Command {
    QString words; // "get", "firmware update"
    QString synopsis;
    QString summary;
    QList<QCommandLineOption> options;
    std::function<int(const cli::Invocation &)> run;
    bool valuesAsArguments = false; // after the first argument nothing is an option (edit's values)
    int troubleStatus = 1; // diff's 1 means "they differ"
};

QList<Command> commands()
{
    return {
        {"defaults", "defaults OUT", "Write the default settings.", {}, cli::runDefaults},
        {"dump", "dump [--json] FILE", "Print every setting readably.", {{"json", "print JSON"}}, cli::runDump},
        {"convert", "convert IN OUT", "Convert between .stm and .syx.", {}, cli::runConvert},
        {"edit", "edit FILE OPERATION ARG...", "Apply one settings operation and save FILE.", {}, cli::runEdit, true},
        {"list", "list [--midi-api alsa|jack] [--update-port PATH]", "MIDI ports and update-mode serial ports.", {},
            cli::runList},
        {"get", "get [-o FILE] [--midi-api alsa|jack]", "Read the settings; print them, or save FILE.",
            {{"o", "save the settings to FILE", "FILE"}}, cli::runGet},
        {"send", "send FILE [--midi-api alsa|jack]", "Write the settings of a preset.", {}, cli::runSend},
        {"serial", "serial [--midi-api alsa|jack]", "Print the serial number.", {}, cli::runSerial},
        {"diff", "diff A B [--midi-api alsa|jack]",
            "Print the settings that differ between presets A and B; - is the controller.\n"
            "Exit status 0 when equal, 1 when they differ, 2 on trouble.",
            {}, cli::runDiff, false, 2},
        {"doctor", "doctor [--root DIR]", "Tell why the controller or its update does not work.",
            {{"root", "look at a system laid out under DIR", "DIR"}}, cli::runDoctor},
        {"firmware check", "firmware check [--current VERSION] [--firmware-server HOST[:PORT]]",
            "Ask the firmware server for a newer firmware.",
            {{"current", "the controller's version (else read over MIDI)", "VERSION"}}, cli::runFirmwareCheck},
        {"firmware update", "firmware update FILE [--port PATH | --update-port PATH] [--wait SECONDS] [--no-backup]",
            "Put the controller into update mode and send FILE to its update port.",
            {{"port", "send FILE to a port already in update mode", "PATH"},
                {"wait", "how long to wait for the update port", "SECONDS"},
                {"no-backup", "do not save the settings first, nor offer them back"}},
            cli::runFirmwareUpdate},
    };
}

const QCommandLineOption kHelp({"h", "help"}, "show this help");

// The parser for a command: the global options and its own.
void addOptions(QCommandLineParser *parser, const QList<QCommandLineOption> &own)
{
    SharedOptions::addTo(parser);
    parser->addOption(kHelp);
    parser->addOptions(own);
}

// The usage line, the summary, and Qt's list of the options.
QString commandHelp(const Command &command, const QCommandLineParser &parser)
{
    const QString options = parser.helpText();
    return QStringLiteral("Usage: mavuctl %1\n%2\n\n%3")
        .arg(command.synopsis, command.summary, options.mid(options.indexOf(QLatin1String("Options:"))));
}

// Parses the command line again with the command's options, without its words, and runs it.
int runCommand(const Command &command, QStringList arguments)
{
    QCommandLineParser parser;
    addOptions(&parser, command.options);
    if (command.valuesAsArguments)
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(kHelp)) {
        cli::printOut(commandHelp(command, parser));
        return 0;
    }
    if (!parsed) {
        cli::fail(QStringLiteral("%1 See mavuctl %2 --help.").arg(parser.errorText(), command.words));
        return command.troubleStatus;
    }
    cli::Invocation call;
    call.parser = &parser;
    call.shared = SharedOptions::from(parser);
    call.args = parser.positionalArguments();
    call.synopsis = QStringLiteral("mavuctl ") + command.synopsis;
    if (!call.shared.error.isEmpty()) {
        cli::fail(call.shared.error);
        return command.troubleStatus;
    }
    return command.run(call);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mavuctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAVU_VERSION));
    // The layers' trace lines belong in the editor's log, not on the terminal.
    // Muted by rule, so QT_LOGGING_RULES (which wins) can show one layer again.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\nmavu.*.debug=false"));
    // The lines as they always read, without the layer's name in front.
    qSetMessagePattern(QStringLiteral("%{message}"));

    // First the global options up to the command; from the command on everything is left as it is.
    QCommandLineParser global;
    addOptions(&global, {});
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("show the version"));
    global.addOption(version);
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QStringList arguments = app.arguments();
    const bool parsed = global.parse(arguments);
    const QStringList rest = global.positionalArguments();
    const QList<Command> all = commands();
    const QString first = rest.value(0);
    const QString two = first + QLatin1Char(' ') + rest.value(1);
    auto it = std::find_if(all.cbegin(), all.cend(), [&](const Command &c) { return c.words == first; });
    if (it == all.cend())
        it = std::find_if(all.cbegin(), all.cend(), [&](const Command &c) { return c.words == two; });
    if (it != all.cend()) {
        // The options before the command count as well as those after it.
        const int words = int(it->words.count(QLatin1Char(' '))) + 1;
        return runCommand(*it, arguments.mid(0, arguments.size() - rest.size()) + rest.mid(words));
    }

    if (global.isSet(kHelp)) {
        cli::printOut(QString::fromLatin1(kUsage));
        return 0;
    }
    if (!parsed)
        return cli::fail(global.errorText() + QStringLiteral(" See mavuctl --help."));
    if (global.isSet(version)) {
        cli::printOut(QStringLiteral("mavuctl %1\n").arg(QStringLiteral(MAVU_VERSION)));
        return 0;
    }
    if (first.isEmpty())
        return cli::fail(QStringLiteral("no command given; see mavuctl --help"));
    // A group's word alone, or with a word it does not have: its usage.
    QStringList group;
    for (const Command &c : all) {
        if (c.words.startsWith(first + QLatin1Char(' ')))
            group << QStringLiteral("mavuctl ") + c.synopsis;
    }
    if (!group.isEmpty())
        return cli::fail(QStringLiteral("usage: ") + group.join(QStringLiteral("\n       ")));
    return cli::fail(QStringLiteral("unknown command \"%1\"; see mavuctl --help").arg(first));
}

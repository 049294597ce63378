#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/FirmwareCommands.h"
#include "cli/HistoryCommands.h"
#include "cli/SetCommand.h"
#include "cli/EditCommand.h"
#include "model/HelpText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <functional>

namespace {

enum class Group { Presets, Controller, History, Firmware };

struct Command {
    QString words; // "get", "firmware update"
    Group group;
    QString synopsis; // its usage line, with the options that concern it
    QString listed; // in the list of all commands; empty for the synopsis
    // What it does, as the list of all commands says it ('\n' breaks the
    // line); its own help starts it with a capital and ends it with a stop.
    QString summary;
    QList<QCommandLineOption> options;
    std::function<int(const cli::Invocation &)> run;
    QString details = QString(); // lines below it, in the list and in its own help
    bool valuesAsArguments = false; // after the first argument nothing is an option (edit's values)
    int troubleStatus = 1; // diff's 1 means "they differ"
};

constexpr int kColumn = 35; // where the list of commands has their summaries

QList<Command> commands()
{
    const QString midi = QStringLiteral(" [--midi-api alsa|jack]");
    return {
        {"defaults", Group::Presets, "defaults OUT", {}, "write the default settings", {}, cli::runDefaults},
        {"dump", Group::Presets, "dump [--json] FILE", {}, "print every setting readably", {{"json", "print JSON"}},
            cli::runDump},
        {"convert", Group::Presets, "convert IN OUT", {}, "convert between .stm, .syx and .json", {}, cli::runConvert},
        {"edit", Group::Presets, "edit FILE OPERATION ARG...", {}, "apply one settings operation and save FILE", {},
            cli::runEdit, cli::editHelp(), true},
        {"set", Group::Presets, "set FILE CONTROL KEY VALUE...", {},
            "set one control's settings by its name and save FILE", {}, cli::runSet, cli::setHelp(), true},
        {"list", Group::Controller, "list" + midi + " [--update-port PATH]", "list",
            "MIDI ports and update-mode serial ports", {}, cli::runList,
            helptext::columns({{"    --update-port PATH", "also an update port with this path"}}, kColumn)},
        {"get", Group::Controller, "get [-o FILE]" + midi, "get [-o FILE]",
            "read the settings; print them, or save FILE", {{"o", "save the settings to FILE", "FILE"}}, cli::runGet},
        {"send", Group::Controller, "send FILE" + midi, "send FILE", "write the settings of a preset", {},
            cli::runSend},
        {"serial", Group::Controller, "serial" + midi, "serial", "print the serial number", {}, cli::runSerial},
        {"diff", Group::Controller, "diff A B" + midi, "diff A B",
            "print the settings that differ between presets A and B\n(- is the controller); exit status 0 when "
            "equal,\n1 when they differ, 2 on trouble",
            {}, cli::runDiff, {}, false, 2},
        {"doctor", Group::Controller, "doctor [--root DIR]", {},
            "tell why the controller or its update does not work,\nwith the fix for each finding; exit status 0 "
            "when the\ncontroller can be reached and updated (notes, such\nas an offline firmware server, do not "
            "count;\n--root: look at a system laid out under DIR)",
            {{"root", "look at a system laid out under DIR", "DIR"}}, cli::runDoctor},
        {"history", Group::History, "history [SERIAL]", {},
            "list the snapshots kept of each controller (or of\none), newest first", {}, cli::runHistory},
        {"history show", Group::History, "history show ID", {}, "print a snapshot as dump does", {},
            cli::runHistoryShow},
        {"history save", Group::History, "history save ID FILE", {}, "write a snapshot as a preset", {},
            cli::runHistorySave},
        {"firmware check", Group::Firmware, "firmware check [--current VERSION] [--firmware-server HOST[:PORT]]",
            "firmware check [--current VERSION]",
            "ask the firmware server for a newer firmware\n(--firmware-server HOST[:PORT]; without "
            "--current\nthe controller's version is read over MIDI)",
            {{"current", "the controller's version (else read over MIDI)", "VERSION"}}, cli::runFirmwareCheck},
        {"firmware update", Group::Firmware,
            "firmware update FILE [--port PATH | --update-port PATH] [--wait SECONDS] [--no-backup]",
            "firmware update FILE [--wait S]",
            "put the controller into update mode and send FILE\nto its update port (--update-port PATH names "
            "it);\nits settings are saved first, and offered back if the\nupdate changed them (--no-backup skips "
            "both)",
            {{"port", "send FILE to a port already in update mode", "PATH"},
                {"wait", "how long to wait for the update port", "SECONDS"},
                {"no-backup", "do not save the settings first, nor offer them back"}},
            cli::runFirmwareUpdate,
            helptext::columns(
                {{"firmware update FILE --port PATH", "send FILE to a port already in update mode"}}, kColumn)},
    };
}

const QCommandLineOption kHelp({"h", "help"}, "show this help");
const QCommandLineOption kVersion(QStringLiteral("version"), QStringLiteral("show the version"));

// Every command by group, with the options all of them take.
QString usage(const QList<Command> &all)
{
    const QList<QPair<Group, QString>> groups = {
        {Group::Presets, "Preset files (.stm, .syx for the bare SysEx message, or .json for text, by\nextension):"},
        {Group::Controller, "The controller (over MIDI; --midi-api alsa|jack chooses the MIDI system):"},
        {Group::History, "The history of each controller (every settings image read from it or\nwritten to it):"},
        {Group::Firmware, "Firmware:"},
    };
    QString text = QStringLiteral("Usage: mavuctl COMMAND [ARG...]\n"
                                  "Edit Korvel Mavu presets and talk to the controller.\n");
    for (const auto &group : groups) {
        text += QLatin1Char('\n') + group.second + QLatin1Char('\n');
        for (const Command &c : all) {
            if (c.group == group.first)
                text += helptext::columns({{c.listed.isEmpty() ? c.synopsis : c.listed, c.summary}}, kColumn)
                    + c.details;
        }
    }
    return text
        + QStringLiteral("\nGlobal options, before or after the command (mavuctl COMMAND --help lists a command's "
                         "own):\n")
        + helptext::columns(SharedOptions::helpRows() + helptext::rows({kHelp, kVersion}), kColumn);
}

// The parser for a command: the global options and its own.
void addOptions(QCommandLineParser *parser, const QList<QCommandLineOption> &own)
{
    SharedOptions::addTo(parser);
    parser->addOption(kHelp);
    parser->addOptions(own);
}

// The usage line, the summary as a sentence, its details, and Qt's list of the options.
QString commandHelp(const Command &command, const QCommandLineParser &parser)
{
    const QString options = parser.helpText();
    QString summary = command.summary;
    summary[0] = summary.at(0).toUpper();
    return QStringLiteral("Usage: mavuctl %1\n%2.\n%3\n%4")
        .arg(command.synopsis, summary, command.details, options.mid(options.indexOf(QLatin1String("Options:"))));
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
    // Every command that talks to the controller finds the simulated one.
    if (call.shared.simulator && command.group != Group::Presets)
        call.startSimulator();
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
    global.addOption(kVersion);
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QStringList arguments = QCoreApplication::arguments();
    const bool parsed = global.parse(arguments);
    const QStringList rest = global.positionalArguments();
    const QList<Command> all = commands();
    const QString first = rest.value(0);
    const QString two = first + QLatin1Char(' ') + rest.value(1);
    // Two words first: "history show" before "history".
    auto it = std::find_if(all.cbegin(), all.cend(), [&](const Command &c) { return c.words == two; });
    if (it == all.cend())
        it = std::find_if(all.cbegin(), all.cend(), [&](const Command &c) { return c.words == first; });
    if (it != all.cend()) {
        // The options before the command count as well as those after it.
        const int words = int(it->words.count(QLatin1Char(' '))) + 1;
        return runCommand(*it, arguments.mid(0, arguments.size() - rest.size()) + rest.mid(words));
    }

    if (global.isSet(kHelp)) {
        cli::printOut(usage(all));
        return 0;
    }
    if (!parsed)
        return cli::fail(global.errorText() + QStringLiteral(" See mavuctl --help."));
    if (global.isSet(kVersion)) {
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

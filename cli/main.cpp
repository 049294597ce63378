#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/FirmwareCommands.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <functional>

namespace {

const char kUsage[] =
    "Usage: mavuctl COMMAND [ARG...]\n"
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
    "Options:\n"
    "  -h, --help                       show this help\n"
    "  --version                        show the version\n";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mavuctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAVU_VERSION));
    // The model's trace lines belong in the editor's log, not on the terminal.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return cli::fail(QStringLiteral("no command given; see mavuctl --help"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        cli::printOut(QString::fromLatin1(kUsage));
        return 0;
    }
    if (args.first() == QLatin1String("--version")) {
        cli::printOut(QStringLiteral("mavuctl %1\n").arg(QStringLiteral(MAVU_VERSION)));
        return 0;
    }

    const QString command = args.takeFirst();
    const QMap<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("defaults"), cli::runDefaults},
        {QStringLiteral("dump"), cli::runDump},
        {QStringLiteral("convert"), cli::runConvert},
        {QStringLiteral("edit"), cli::runEdit},
        {QStringLiteral("list"), cli::runList},
        {QStringLiteral("get"), cli::runGet},
        {QStringLiteral("send"), cli::runSend},
        {QStringLiteral("serial"), cli::runSerial},
        {QStringLiteral("doctor"), cli::runDoctor},
        {QStringLiteral("firmware"), cli::runFirmware},
    };
    const auto it = commands.constFind(command);
    if (it == commands.cend())
        return cli::fail(QStringLiteral("unknown command \"%1\"; see mavuctl --help").arg(command));
    return it.value()(args);
}

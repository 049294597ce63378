#include "cli/FileCommands.h"

#include "cli/CliSupport.h"
#include "cli/EditCommand.h"
#include "cli/SetCommand.h"
#include "model/DataManagement.h"
#include "model/PresetText.h"
#include "model/SettingsText.h"

#include <functional>

namespace cli {

int runDefaults(const Invocation &call)
{
    const QStringList &args = call.args;
    if (args.size() != 1)
        return call.usageError();
    DataManagement settings;
    settings.initDefaultData();
    return savePreset(args.at(0), settings) ? 0 : 1;
}

int runDump(const Invocation &call)
{
    const QStringList &rest = call.args;
    const bool json = call.isSet(QStringLiteral("json"));
    if (rest.size() != 1)
        return call.usageError();
    DataManagement settings;
    if (!loadPreset(rest.at(0), settings))
        return 1;
    if (json)
        printOut(QString::fromUtf8(presettext::write(settings.imageBytes())));
    else
        printOut(settingsText::toText(settings));
    return 0;
}

int runConvert(const Invocation &call)
{
    const QStringList &args = call.args;
    if (args.size() != 2)
        return call.usageError();
    DataManagement settings;
    if (!loadPreset(args.at(0), settings))
        return 1;
    return savePreset(args.at(1), settings) ? 0 : 1;
}

namespace {

// Loads FILE, applies the change its arguments ask for and saves FILE in place;
// a change that is not valid leaves the file as it was.
int changeFile(const Invocation &call, int leastArgs,
    const std::function<bool(DataManagement &, const QStringList &, QString *)> &apply)
{
    const QStringList &args = call.args;
    if (args.size() < leastArgs)
        return call.usageError();
    DataManagement settings;
    if (!loadPreset(args.at(0), settings))
        return 1;
    QString error;
    if (!apply(settings, args.mid(1), &error))
        return fail(error);
    return savePreset(args.at(0), settings) ? 0 : 1;
}

} // namespace

int runEdit(const Invocation &call)
{
    return changeFile(call, 2, [](DataManagement &settings, const QStringList &args, QString *error) {
        return applyEdit(settings, args.at(0), args.mid(1), error);
    });
}

int runSet(const Invocation &call)
{
    // FILE, a control in one word or two, and at least one KEY VALUE.
    return changeFile(call, 4, applySet);
}

} // namespace cli

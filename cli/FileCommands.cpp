#include "cli/FileCommands.h"

#include "cli/CliSupport.h"
#include "cli/EditCommand.h"
#include "model/DataManagement.h"
#include "model/SettingsText.h"

#include <QJsonDocument>

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
        printOut(QString::fromUtf8(QJsonDocument(settingsText::toJson(settings)).toJson(QJsonDocument::Indented)));
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

int runEdit(const Invocation &call)
{
    const QStringList &args = call.args;
    if (args.size() < 2)
        return call.usageError();
    DataManagement settings;
    if (!loadPreset(args.at(0), settings))
        return 1;
    QString error;
    if (!applyEdit(settings, args.at(1), args.mid(2), &error))
        return fail(error);
    return savePreset(args.at(0), settings) ? 0 : 1;
}

} // namespace cli

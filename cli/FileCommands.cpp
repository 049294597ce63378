#include "cli/FileCommands.h"

#include "cli/CliSupport.h"
#include "cli/EditCommand.h"
#include "model/DataManagement.h"
#include "model/SettingsText.h"

#include <QJsonDocument>

namespace cli {

int runDefaults(const QStringList &args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("usage: mavuctl defaults OUT"));
    DataManagement settings;
    settings.initDefaultData();
    return savePreset(args.at(0), settings) ? 0 : 1;
}

int runDump(const QStringList &args)
{
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1)
        return fail(QStringLiteral("usage: mavuctl dump [--json] FILE"));
    DataManagement settings;
    if (!loadPreset(rest.at(0), settings))
        return 1;
    if (json)
        printOut(QString::fromUtf8(QJsonDocument(settingsText::toJson(settings)).toJson(QJsonDocument::Indented)));
    else
        printOut(settingsText::toText(settings));
    return 0;
}

int runConvert(const QStringList &args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("usage: mavuctl convert IN OUT"));
    DataManagement settings;
    if (!loadPreset(args.at(0), settings))
        return 1;
    return savePreset(args.at(1), settings) ? 0 : 1;
}

int runEdit(const QStringList &args)
{
    if (args.size() < 2)
        return fail(QStringLiteral("usage: mavuctl edit FILE OPERATION ARG..."));
    DataManagement settings;
    if (!loadPreset(args.at(0), settings))
        return 1;
    QString error;
    if (!applyEdit(settings, args.at(1), args.mid(2), &error))
        return fail(error);
    return savePreset(args.at(0), settings) ? 0 : 1;
}

} // namespace cli

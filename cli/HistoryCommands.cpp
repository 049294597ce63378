#include "cli/HistoryCommands.h"

#include "model/ControllerHistory.h"
#include "model/DataManagement.h"
#include "model/SettingsText.h"

namespace cli {

namespace {

bool findSnapshot(const QString &id, DataManagement &settings)
{
    history::Snapshot snapshot;
    QByteArray image;
    QString error;
    if (!history::find(history::defaultFolder(), id, &snapshot, &image, &error)) {
        fail(error);
        return false;
    }
    settings.setImage(image.constData(), image.size());
    return true;
}

} // namespace

int runHistory(const Invocation &call)
{
    if (call.args.size() > 1)
        return call.usageError();
    QString text;
    for (const history::Snapshot &s : history::list(history::defaultFolder(), call.args.value(0))) {
        text += QStringLiteral("%1  %2  %3\n")
                    .arg(s.id, -16)
                    .arg(s.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), s.event);
    }
    printOut(text);
    return 0;
}

int runHistoryShow(const Invocation &call)
{
    if (call.args.size() != 1)
        return call.usageError();
    DataManagement settings;
    if (!findSnapshot(call.args.at(0), settings))
        return 1;
    printOut(settingsText::toText(settings));
    return 0;
}

int runHistorySave(const Invocation &call)
{
    if (call.args.size() != 2)
        return call.usageError();
    DataManagement settings;
    return findSnapshot(call.args.at(0), settings) && savePreset(call.args.at(1), settings) ? 0 : 1;
}

} // namespace cli

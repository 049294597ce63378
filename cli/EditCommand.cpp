#include "cli/EditCommand.h"

#include "cli/ArgReader.h"
#include "model/DataManagement.h"
#include "model/HelpText.h"
#include "model/SettingsLayout.h"

#include <functional>

namespace cli {

namespace {

QStringList keys(const char *const *names, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::fromLatin1(names[i]);
    return list;
}

const QStringList kPadNumberKeys = keys(layout::kPadKeys, 4);
const QStringList kKnobKeys = keys(layout::kKnobKeys, layout::kKnobRecordSize);
const QStringList kButtonKeys = keys(layout::kButtonKeys, layout::kButtonRecordSize);

// Each operation reads its arguments first and returns the call to make, so a
// bad argument is found before anything changes.
struct Operation {
    QString name; // the DataManagement slot's
    QString arguments; // for the help
    std::function<std::function<void()>(DataManagement &, ArgReader &)> read;
};

const QList<Operation> &operations()
{
    static const QList<Operation> ops = {
        {QStringLiteral("setPadInfo"), QStringLiteral("INDEX KEY VALUE | setPadInfo INDEX padRGB #RRGGBB"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kPadCount - 1);
                if (a.peek() == QLatin1String("padRGB")) {
                    a.oneOf("valueType", {QStringLiteral("padRGB")});
                    const QString color = a.color("colour");
                    return [&s, index, color] { s.setPadInfo(index, QStringLiteral("padRGB"), color); };
                }
                const QString key = a.oneOf("valueType", kPadNumberKeys);
                const int value = a.integer("value", 0, layout::kMaxValue);
                return [&s, index, key, value] { s.setPadInfo(index, key, value); };
            }},
        {QStringLiteral("setPadBatch"), QStringLiteral("BANK note|cc|pc DESCENDING KEY VALUE"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString mode
                    = a.oneOf("mode", {QStringLiteral("note"), QStringLiteral("cc"), QStringLiteral("pc")});
                const bool isDes = a.boolean("isDes");
                const QString key = a.oneOf("valueType", kPadNumberKeys);
                const int value = a.integer("value", 0, layout::kMaxValue);
                return [&s, bank, mode, isDes, key, value] { s.setPadBatch(bank, mode, isDes, key, value); };
            }},
        {QStringLiteral("setPadBatchColor"), QStringLiteral("BANK #RRGGBB"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString color = a.color("colour");
                return [&s, bank, color] { s.setPadBatchColor(bank, color); };
            }},
        {QStringLiteral("setBQMInfo"), QStringLiteral("INDEX KEY VALUE"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kKnobCount - 1);
                const QString key = a.oneOf("valueType", kKnobKeys);
                const int value = a.integer("value", 0, layout::kMaxValue);
                return [&s, index, key, value] { s.setBQMInfo(index, key, value); };
            }},
        {QStringLiteral("setBQMBatch"), QStringLiteral("BANK cc|chn|pitch KEY VALUE"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString mode
                    = a.oneOf("mode", {QStringLiteral("cc"), QStringLiteral("chn"), QStringLiteral("pitch")});
                const QString key = a.oneOf("valueType", kKnobKeys);
                const int value = a.integer("value", 0, layout::kMaxValue);
                return [&s, bank, mode, key, value] { s.setBQMBatch(bank, mode, key, value); };
            }},
        {QStringLiteral("setWalkingBeltInfo"), QStringLiteral("INDEX KEY VALUE"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kButtonCount - 1);
                const QString key = a.oneOf("valueType", kButtonKeys);
                const int value = a.integer("value", 0, layout::kMaxValue);
                return [&s, index, key, value] { s.setWalkingBeltInfo(index, key, value); };
            }},
        {QStringLiteral("setLum"), QStringLiteral("BANK 0..1"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const float value = float(a.real("value", 0.0, 1.0));
                return [&s, bank, value] { s.setLum(bank, value); };
            }},
        {QStringLiteral("setCurveInten"), QStringLiteral("curve|intensity VALUE"),
            [](DataManagement &s, ArgReader &a) -> std::function<void()> {
                const QString key = a.oneOf("valueType", {QStringLiteral("curve"), QStringLiteral("intensity")});
                const int value = a.integer("value", 0, key == QLatin1String("curve") ? 3 : layout::kMaxValue);
                return [&s, key, value] { s.setCurveInten(key, value); };
            }},
        {QStringLiteral("initDefaultData"), QString(),
            [](DataManagement &s, ArgReader &) -> std::function<void()> { return [&s] { s.initDefaultData(); }; }},
    };
    return ops;
}

QStringList editOperations()
{
    QStringList names;
    for (const Operation &op : operations())
        names << op.name;
    return names;
}

} // namespace

QString editHelp()
{
    QStringList calls;
    for (const Operation &op : operations())
        calls << (op.name + QLatin1Char(' ') + op.arguments).trimmed();
    return helptext::columns(
        {
            {QStringLiteral("operations:"), calls.join(QLatin1Char('\n'))},
            {QStringLiteral("INDEX"),
                QStringLiteral("counts from 0: pads 0..%1, knobs 0..%2, buttons 0..%3")
                    .arg(layout::kPadCount - 1)
                    .arg(layout::kKnobCount - 1)
                    .arg(layout::kButtonCount - 1)},
            {QStringLiteral("BANK"), QStringLiteral("counts from 1: 1..%1").arg(layout::kBankCount)},
            {QStringLiteral("KEY"),
                QStringLiteral("pads: %1\nknobs: %2\nbuttons: %3")
                    .arg(kPadNumberKeys.join(QLatin1Char(' ')), kKnobKeys.join(QLatin1Char(' ')),
                        kButtonKeys.join(QLatin1Char(' ')))},
            {QStringLiteral("VALUE"), QStringLiteral("0..%1 (curve 0..3)").arg(layout::kMaxValue)},
        },
        18, 6);
}

bool applyEdit(DataManagement &settings, const QString &operation, const QStringList &args, QString *error)
{
    for (const Operation &op : operations()) {
        if (op.name != operation)
            continue;
        ArgReader reader(args);
        const std::function<void()> call = op.read(settings, reader);
        reader.finish();
        if (!reader.ok()) {
            *error = QStringLiteral("%1: %2").arg(operation, reader.error());
            return false;
        }
        call();
        return true;
    }
    *error = QStringLiteral("unknown operation \"%1\" (one of %2)")
                 .arg(operation, editOperations().join(QStringLiteral(", ")));
    return false;
}

} // namespace cli

#include "cli/SetCommand.h"

#include "cli/ArgReader.h"
#include "model/ControlId.h"
#include "model/DataManagement.h"
#include "model/HelpText.h"
#include "model/SettingsLayout.h"
#include "model/SettingsText.h"

#include <functional>

namespace cli {

namespace {

using Kind = ControlId::Kind;
using Change = std::function<void(DataManagement &)>;

// A value's words: the dump's names in lower case, their first word alone
// ("chn" for CHN TOUCH, as the batch operations say it).
QStringList words(const char *key, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << settingsText::valueText(QLatin1String(key), i).section(QLatin1Char(' '), 0, 0).toLower();
    return list;
}

QString range(int min, int max)
{
    return QStringLiteral("%1..%2").arg(min).arg(max);
}

// One field of a pad's, knob's or button's record.
Change store(Kind kind, int index, const char *key, int value)
{
    return [=](DataManagement &s) {
        const QString name = QLatin1String(key);
        if (kind == Kind::Pad)
            s.setPadInfo(index, name, value);
        else if (kind == Kind::Knob)
            s.setBQMInfo(index, name, value);
        else
            s.setWalkingBeltInfo(index, name, value);
    };
}

Change both(const Change &first, const Change &second)
{
    return [=](DataManagement &s) {
        first(s);
        second(s);
    };
}

// A key, the values it takes (for the help), and how its value is read into
// a change of the control or bank with that index.
struct Key {
    QString name;
    QString values;
    std::function<Change(int index, ArgReader &a)> read;
};

Key number(Kind kind, const QString &name, const char *field, int min, int max)
{
    return {
        name, range(min, max), [=](int i, ArgReader &a) { return store(kind, i, field, a.integer(name, min, max)); }};
}

Key named(Kind kind, const QString &name, const char *field, const QStringList &choices)
{
    return {name, choices.join(QLatin1Char('|')),
        [=](int i, ArgReader &a) { return store(kind, i, field, a.choice(name, choices)); }};
}

// "note 60", "cc 7": the type named by the key and the number it sends.
Key typed(Kind kind, const QString &name, const char *typeField, int type, const char *numberField)
{
    const bool note = kind == Kind::Pad && type == 0;
    return {name, note ? QStringLiteral("0..127|C4") : range(0, layout::kMaxValue), [=](int i, ArgReader &a) {
                const int value = note ? a.note(name) : a.integer(name, 0, layout::kMaxValue);
                return both(store(kind, i, typeField, type), store(kind, i, numberField, value));
            }};
}

// What can be set, by the name of what it is set on.
struct Target {
    QString names; // "PAD A1..C16"
    QList<Key> keys;
};

Target padTarget()
{
    const QStringList types = words("padtype", 3);
    QList<Key> keys{named(Kind::Pad, QStringLiteral("type"), "padtype", types)};
    for (int t = 0; t < types.size(); ++t)
        keys << typed(Kind::Pad, types.at(t), "padtype", t, "padData");
    keys << number(Kind::Pad, QStringLiteral("number"), "padData", 0, layout::kMaxValue)
         << number(Kind::Pad, QStringLiteral("channel"), "padCh", 1, layout::kChannelCount)
         << named(Kind::Pad, QStringLiteral("mode"), "padMode", words("padMode", 2))
         << Key{QStringLiteral("color"), QStringLiteral("#RRGGBB"), [](int i, ArgReader &a) -> Change {
                    const QString color = a.color(QStringLiteral("color"));
                    return [i, color](DataManagement &s) { s.setPadInfo(i, QStringLiteral("padRGB"), color); };
                }};
    return {QStringLiteral("PAD ") + ControlId::nameRange(Kind::Pad), keys};
}

Target knobTarget()
{
    return {QStringLiteral("KNOB ") + ControlId::nameRange(Kind::Knob),
        {named(Kind::Knob, QStringLiteral("type"), "bqmType", words("bqmType", 3)),
            typed(Kind::Knob, QStringLiteral("cc"), "bqmType", 0, "bqmData"),
            number(Kind::Knob, QStringLiteral("channel"), "bqmCh", 1, layout::kChannelCount),
            number(Kind::Knob, QStringLiteral("min"), "bqmLsbMin", 0, layout::kMaxValue),
            number(Kind::Knob, QStringLiteral("max"), "bqmLsbMax", 0, layout::kMaxValue),
            number(Kind::Knob, QStringLiteral("msb-min"), "bqmMsbMin", 0, layout::kMaxValue),
            number(Kind::Knob, QStringLiteral("msb-max"), "bqmMsbMax", 0, layout::kMaxValue)}};
}

Target buttonTarget()
{
    return {QStringLiteral("BUTTON ") + ControlId::nameRange(Kind::Button),
        {named(Kind::Button, QStringLiteral("type"), "wbtype", words("wbtype", 2)),
            typed(Kind::Button, QStringLiteral("cc"), "wbtype", 0, "wbData"),
            number(Kind::Button, QStringLiteral("channel"), "wbCh", 1, layout::kChannelCount),
            named(Kind::Button, QStringLiteral("mode"), "wbMode", words("wbMode", 2))}};
}

// A bank's keys are the function page's fills; banks count from 0 here.
Target bankTarget()
{
    QList<Key> keys{
        {QStringLiteral("color"), QStringLiteral("#RRGGBB"),
            [](int b, ArgReader &a) -> Change {
                const QString color = a.color(QStringLiteral("color"));
                return [b, color](DataManagement &s) { s.setPadBatchColor(b + 1, color); };
            }},
        {QStringLiteral("brightness"), QStringLiteral("0..1"),
            [](int b, ArgReader &a) -> Change {
                const float value = float(a.real(QStringLiteral("brightness"), 0.0, 1.0));
                return [b, value](DataManagement &s) { s.setLum(b + 1, value); };
            }},
    };
    // "notes 36": the bank's pads play 36, 37, … as the function page numbers them.
    for (const QString &type : words("padtype", 3)) {
        const QString name = type + QLatin1Char('s');
        keys << Key{name, type == QLatin1String("note") ? QStringLiteral("0..127|C4") : range(0, layout::kMaxValue),
            [type, name](int b, ArgReader &a) -> Change {
                const int first = type == QLatin1String("note") ? a.note(name) : a.integer(name, 0, layout::kMaxValue);
                return [b, type, first](
                           DataManagement &s) { s.setPadBatch(b + 1, type, false, QStringLiteral("padData"), first); };
            }};
    }
    keys << Key{QStringLiteral("knob-ccs"), range(0, layout::kMaxValue), [](int b, ArgReader &a) -> Change {
                    const int first = a.integer(QStringLiteral("knob-ccs"), 0, layout::kMaxValue);
                    return [b, first](DataManagement &s) {
                        s.setBQMBatch(b + 1, QStringLiteral("cc"), QStringLiteral("bqmData"), first);
                    };
                }};
    return {
        QStringLiteral("BANK %1..%2").arg(settingsText::bankName(0), settingsText::bankName(layout::kBankCount - 1)),
        keys};
}

Target globalTarget()
{
    return {ControlId::global().machineName(),
        {{QStringLiteral("curve"), words("curve", 4).join(QLatin1Char('|')),
             [](int, ArgReader &a) -> Change {
                 const int curve = a.choice(QStringLiteral("curve"), words("curve", 4));
                 return [curve](DataManagement &s) { s.setCurveInten(QStringLiteral("curve"), curve); };
             }},
            {QStringLiteral("pressure"), range(0, layout::kMaxValue), [](int, ArgReader &a) -> Change {
                 const int level = a.integer(QStringLiteral("pressure"), 0, layout::kMaxValue);
                 return [level](DataManagement &s) { s.setCurveInten(QStringLiteral("intensity"), level); };
             }}}};
}

// What the first one or two arguments name, and how many they were.
struct Named {
    Target target;
    int index = -1;
    QString name; // "PAD A6"
    int words = 0;
};

bool findTarget(const QStringList &args, Named *found)
{
    for (int words = 2; words >= 1; --words) {
        if (args.size() < words)
            continue;
        const QString text = args.mid(0, words).join(QLatin1Char(' '));
        const ControlId control = ControlId::parse(text);
        if (control.isValid()) {
            const Target target = control.kind == Kind::Pad ? padTarget()
                : control.kind == Kind::Knob                ? knobTarget()
                : control.kind == Kind::Button              ? buttonTarget()
                                                            : globalTarget();
            *found = {target, control.index, control.machineName(), words};
            return true;
        }
        for (int b = 0; b < layout::kBankCount; ++b) {
            const QString bank = QStringLiteral("BANK ") + settingsText::bankName(b);
            const QString listed = QStringLiteral("bank:") + settingsText::bankName(b);
            if (text.simplified().compare(bank, Qt::CaseInsensitive) == 0
                || text.compare(listed, Qt::CaseInsensitive) == 0) {
                *found = {bankTarget(), b, bank, words};
                return true;
            }
        }
    }
    return false;
}

QList<Target> targets()
{
    return {padTarget(), knobTarget(), buttonTarget(), bankTarget(), globalTarget()};
}

} // namespace

bool applySet(DataManagement &settings, const QStringList &args, QString *error)
{
    Named named;
    if (!findTarget(args, &named)) {
        QStringList names;
        for (const Target &t : targets())
            names << t.names;
        *error = QStringLiteral("unknown control \"%1\" (one of %2)")
                     .arg(args.mid(0, 2).join(QLatin1Char(' ')), names.join(QStringLiteral(", ")));
        return false;
    }
    QStringList keys;
    for (const Key &k : named.target.keys)
        keys << k.name;
    // Every value is read before anything changes.
    ArgReader reader(args.mid(named.words));
    QList<Change> changes;
    do {
        const int key = reader.choice(QStringLiteral("key"), keys);
        if (!reader.ok())
            break;
        changes << named.target.keys.at(key).read(named.index, reader);
    } while (reader.ok() && !reader.atEnd());
    if (!reader.ok()) {
        *error = QStringLiteral("%1: %2").arg(named.name, reader.error());
        return false;
    }
    for (const Change &change : changes)
        change(settings);
    return true;
}

QString setHelp()
{
    QList<helptext::Row> rows;
    for (const Target &t : targets()) {
        QStringList keys;
        for (const Key &k : t.keys)
            keys << k.name + QLatin1Char(' ') + k.values;
        rows.append({t.names, keys.join(QStringLiteral(", "))});
    }
    rows.append({QString(), QStringLiteral("note, cc and pc set the type too; more KEY VALUE pairs may follow")});
    return helptext::columns(rows, 20, 6);
}

} // namespace cli

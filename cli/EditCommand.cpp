#include "cli/EditCommand.h"

#include "model/ColorMath.h"
#include "model/DataManagement.h"
#include "model/SettingsLayout.h"

#include <functional>
#include <optional>

namespace cli {

namespace {

// Reads the arguments of one operation in order; the first bad one stops it.
class Args
{
public:
    explicit Args(const QStringList &args)
        : m_args(args)
    { }

    QString error() const { return m_error; }
    bool ok() const { return m_error.isEmpty(); }

    int integer(const char *name, int min, int max)
    {
        const QString text = next(name);
        if (!ok())
            return 0;
        bool isNumber = false;
        const int value = text.toInt(&isNumber);
        if (!isNumber)
            setError(QStringLiteral("%1 must be a whole number, not \"%2\"").arg(QLatin1String(name), text));
        else if (value < min || value > max)
            setError(QStringLiteral("%1 must be from %2 to %3, not %4")
                         .arg(QLatin1String(name))
                         .arg(min)
                         .arg(max)
                         .arg(value));
        return value;
    }

    double real(const char *name, double min, double max)
    {
        const QString text = next(name);
        if (!ok())
            return 0;
        bool isNumber = false;
        const double value = text.toDouble(&isNumber);
        if (!isNumber)
            setError(QStringLiteral("%1 must be a number, not \"%2\"").arg(QLatin1String(name), text));
        else if (value < min || value > max)
            setError(QStringLiteral("%1 must be from %2 to %3, not %4")
                         .arg(QLatin1String(name))
                         .arg(min)
                         .arg(max)
                         .arg(text));
        return value;
    }

    bool boolean(const char *name)
    {
        const QString text = next(name).toLower();
        if (!ok())
            return false;
        if (text == QLatin1String("true") || text == QLatin1String("1"))
            return true;
        if (text != QLatin1String("false") && text != QLatin1String("0"))
            setError(QStringLiteral("%1 must be true or false, not \"%2\"").arg(QLatin1String(name), text));
        return false;
    }

    QString oneOf(const char *name, const QStringList &choices)
    {
        const QString text = next(name);
        if (ok() && !choices.contains(text))
            setError(QStringLiteral("%1 must be one of %2, not \"%3\"")
                         .arg(QLatin1String(name), choices.join(QStringLiteral(", ")), text));
        return text;
    }

    QString color(const char *name)
    {
        const QString text = next(name);
        std::array<int, 3> rgb;
        if (ok() && !parseColor(text, &rgb))
            setError(QStringLiteral("%1 must be a colour such as #ff8000, not \"%2\"").arg(QLatin1String(name), text));
        return text;
    }

    QString peek() const { return m_args.value(m_next); }

    void finish()
    {
        if (ok() && m_next < m_args.size())
            setError(QStringLiteral("too many arguments (%1 expected)").arg(m_next));
    }

private:
    QString next(const char *name)
    {
        if (!ok())
            return QString();
        if (m_next >= m_args.size()) {
            setError(QStringLiteral("missing argument %1").arg(QLatin1String(name)));
            return QString();
        }
        return m_args.at(m_next++);
    }

    void setError(const QString &error)
    {
        if (m_error.isEmpty())
            m_error = error;
    }

    QStringList m_args;
    int m_next = 0;
    QString m_error;
};

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
constexpr int kMaxValue = 127;

using Operation = std::function<std::function<void()>(DataManagement &, Args &)>;

// Each operation reads its arguments first and returns the call to make, so a
// bad argument is found before anything changes.
const QList<QPair<QString, Operation>> &operations()
{
    static const QList<QPair<QString, Operation>> ops = {
        {QStringLiteral("setPadInfo"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kPadCount - 1);
                if (a.peek() == QLatin1String("padRGB")) {
                    a.oneOf("valueType", {QStringLiteral("padRGB")});
                    const QString color = a.color("colour");
                    return [&s, index, color] { s.setPadInfo(index, QStringLiteral("padRGB"), color); };
                }
                const QString key = a.oneOf("valueType", kPadNumberKeys);
                const int value = a.integer("value", 0, kMaxValue);
                return [&s, index, key, value] { s.setPadInfo(index, key, value); };
            }},
        {QStringLiteral("setPadBatch"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString mode
                    = a.oneOf("mode", {QStringLiteral("note"), QStringLiteral("cc"), QStringLiteral("pc")});
                const bool isDes = a.boolean("isDes");
                const QString key = a.oneOf("valueType", kPadNumberKeys);
                const int value = a.integer("value", 0, kMaxValue);
                return [&s, bank, mode, isDes, key, value] { s.setPadBatch(bank, mode, isDes, key, value); };
            }},
        {QStringLiteral("setPadBatchColor"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString color = a.color("colour");
                return [&s, bank, color] { s.setPadBatchColor(bank, color); };
            }},
        {QStringLiteral("setBQMInfo"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kKnobCount - 1);
                const QString key = a.oneOf("valueType", kKnobKeys);
                const int value = a.integer("value", 0, kMaxValue);
                return [&s, index, key, value] { s.setBQMInfo(index, key, value); };
            }},
        {QStringLiteral("setBQMBatch"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const QString mode
                    = a.oneOf("mode", {QStringLiteral("cc"), QStringLiteral("chn"), QStringLiteral("pitch")});
                const QString key = a.oneOf("valueType", kKnobKeys);
                const int value = a.integer("value", 0, kMaxValue);
                return [&s, bank, mode, key, value] { s.setBQMBatch(bank, mode, key, value); };
            }},
        {QStringLiteral("setWalkingBeltInfo"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int index = a.integer("index", 0, layout::kButtonCount - 1);
                const QString key = a.oneOf("valueType", kButtonKeys);
                const int value = a.integer("value", 0, kMaxValue);
                return [&s, index, key, value] { s.setWalkingBeltInfo(index, key, value); };
            }},
        {QStringLiteral("setLum"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const int bank = a.integer("bank", 1, layout::kBankCount);
                const float value = float(a.real("value", 0.0, 1.0));
                return [&s, bank, value] { s.setLum(bank, value); };
            }},
        {QStringLiteral("setCurveInten"),
            [](DataManagement &s, Args &a) -> std::function<void()> {
                const QString key = a.oneOf("valueType", {QStringLiteral("curve"), QStringLiteral("intensity")});
                const int value = a.integer("value", 0, key == QLatin1String("curve") ? 3 : kMaxValue);
                return [&s, key, value] { s.setCurveInten(key, value); };
            }},
        {QStringLiteral("initDefaultData"),
            [](DataManagement &s, Args &) -> std::function<void()> { return [&s] { s.initDefaultData(); }; }},
    };
    return ops;
}

} // namespace

QStringList editOperations()
{
    QStringList names;
    for (const auto &op : operations())
        names << op.first;
    return names;
}

bool applyEdit(DataManagement &settings, const QString &operation, const QStringList &args, QString *error)
{
    for (const auto &op : operations()) {
        if (op.first != operation)
            continue;
        Args reader(args);
        const std::function<void()> call = op.second(settings, reader);
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

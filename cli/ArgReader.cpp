#include "cli/ArgReader.h"

#include "model/ColorMath.h"
#include "model/SettingsText.h"

namespace cli {

int ArgReader::integer(const QString &name, int min, int max)
{
    const QString text = next(name);
    if (!ok())
        return 0;
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber)
        setError(QStringLiteral("%1 must be a whole number, not \"%2\"").arg(name, text));
    else if (value < min || value > max)
        setError(QStringLiteral("%1 must be from %2 to %3, not %4").arg(name).arg(min).arg(max).arg(value));
    return value;
}

double ArgReader::real(const QString &name, double min, double max)
{
    const QString text = next(name);
    if (!ok())
        return 0;
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    if (!isNumber)
        setError(QStringLiteral("%1 must be a number, not \"%2\"").arg(name, text));
    else if (value < min || value > max)
        setError(QStringLiteral("%1 must be from %2 to %3, not %4").arg(name).arg(min).arg(max).arg(text));
    return value;
}

bool ArgReader::boolean(const QString &name)
{
    const QString text = next(name).toLower();
    if (!ok())
        return false;
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text != QLatin1String("false") && text != QLatin1String("0"))
        setError(QStringLiteral("%1 must be true or false, not \"%2\"").arg(name, text));
    return false;
}

QString ArgReader::oneOf(const QString &name, const QStringList &choices)
{
    const QString text = next(name);
    if (ok() && !choices.contains(text))
        setError(
            QStringLiteral("%1 must be one of %2, not \"%3\"").arg(name, choices.join(QStringLiteral(", ")), text));
    return text;
}

int ArgReader::choice(const QString &name, const QStringList &choices)
{
    return int(choices.indexOf(oneOf(name, choices)));
}

QString ArgReader::color(const QString &name)
{
    const QString text = next(name);
    std::array<int, 3> rgb;
    if (ok() && !parseColor(text, &rgb))
        setError(QStringLiteral("%1 must be a colour such as #ff8000, not \"%2\"").arg(name, text));
    return text;
}

int ArgReader::note(const QString &name)
{
    const QString text = next(name);
    if (!ok())
        return 0;
    for (int n = 0; n <= 127; ++n) {
        if (text.compare(settingsText::noteName(n), Qt::CaseInsensitive) == 0)
            return n;
    }
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber || value < 0 || value > 127)
        setError(QStringLiteral("%1 must be from 0 to 127 or a note such as C4, not \"%2\"").arg(name, text));
    return value;
}

void ArgReader::finish()
{
    if (ok() && m_next < m_args.size())
        setError(QStringLiteral("too many arguments (%1 expected)").arg(m_next));
}

void ArgReader::setError(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
}

QString ArgReader::next(const QString &name)
{
    if (!ok())
        return QString();
    if (m_next >= m_args.size()) {
        setError(QStringLiteral("missing argument %1").arg(name));
        return QString();
    }
    return m_args.at(m_next++);
}

} // namespace cli

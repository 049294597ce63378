#include "firmware/FirmwareVersion.h"

#include <QStringList>
#include <QVector>

namespace firmwareversion {

namespace {

// Parts as numbers with leading zeros dropped, so that any length compares.
bool split(const QString &version, QVector<QString> *parts)
{
    if (version.trimmed().isEmpty())
        return false;
    const QStringList texts = version.trimmed().split(QLatin1Char('.'));
    for (const QString &text : texts) {
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        int first = 0;
        while (first < text.size() && text.at(first) == QLatin1Char('0'))
            ++first;
        parts->append(text.mid(first));
    }
    return true;
}

int compareParts(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b); // same length and digits only: text order is number order
}

} // namespace

bool isValid(const QString &version)
{
    QVector<QString> parts;
    return split(version, &parts);
}

bool isNewer(const QString &current, const QString &offered, bool *ok)
{
    QVector<QString> mine;
    QVector<QString> theirs;
    const bool valid = split(current, &mine) && split(offered, &theirs);
    if (ok)
        *ok = valid;
    if (!valid)
        return false;
    const int count = qMax(mine.size(), theirs.size());
    for (int i = 0; i < count; ++i) {
        const int order = compareParts(mine.value(i), theirs.value(i));
        if (order != 0)
            return order < 0;
    }
    return false;
}

} // namespace firmwareversion

#include "model/HelpText.h"

#include <QStringList>

namespace helptext {

namespace {

QStringList wrapped(const QString &text, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString &word : paragraph.split(QLatin1Char(' '))) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    return lines;
}

} // namespace

Row row(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString term = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        term += QLatin1Char(' ') + option.valueName();
    return {term, option.description()};
}

QList<Row> rows(const QList<QCommandLineOption> &options)
{
    QList<Row> list;
    for (const QCommandLineOption &option : options)
        list << row(option);
    return list;
}

QString columns(const QList<Row> &rows, int column, int indent, int width)
{
    QString out;
    const QString margin(column, QLatin1Char(' '));
    for (const Row &row : rows) {
        QString first = QString(indent, QLatin1Char(' ')) + row.term;
        const QStringList lines = wrapped(row.text, width - column);
        if (first.size() + 1 > column) {
            out += first + QLatin1Char('\n');
            first = margin;
        }
        for (int i = 0; i < lines.size(); ++i) {
            QString line = (i == 0 ? first.leftJustified(column) : margin) + lines.at(i);
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
            out += line + QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace helptext

#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// The programs' --help texts, laid out from the same tables their command
// lines are parsed with.
namespace helptext {

struct Row {
    QString term; // "--midi-api alsa|jack", "dump [--json] FILE"
    QString text; // what it does; '\n' starts a new line
};

// "-h, --help", "--midi-api alsa|jack" and the option's description.
Row row(const QCommandLineOption &option);
QList<Row> rows(const QList<QCommandLineOption> &options);

// Two columns: each term after `indent` spaces, its text from `column` on, or
// below it when the term leaves no room. Lines that would pass `width` break
// at a space.
QString columns(const QList<Row> &rows, int column, int indent = 2, int width = 92);

} // namespace helptext

#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The text of the hourly HTML log files: names, header and lines.
namespace logformat {

// "<dir>/yyyy-MM-dd_hh_log.html": names sort in the order of their age.
QString fileName(const QString &dir, const QDateTime &time);

// The page head with styles, the level filter script and its drop-down list,
// written once at the top of every new file (followed by "\r\n").
const QString &header();

// Level letter of a message type: d, w, c, f or i.
QChar levelLetter(QtMsgType type);

// "yyyy-MM-dd hh:mm:ss <message>", the plain text of one line.
QString plainText(const QDateTime &time, const QString &message);

// One line of the file: the plain text, HTML-escaped, in a div of the level's
// class, ended by "\r\n". Messages carry text from devices and servers, and the
// file is opened in a browser, so nothing in them may become markup.
QString htmlLine(QtMsgType type, const QDateTime &time, const QString &message);

} // namespace logformat

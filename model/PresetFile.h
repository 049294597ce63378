#pragma once

#include <QByteArray>
#include <QString>

// Preset files hold one settings image. Two forms exist:
//  - ".stm": a 4-byte big-endian length (458) followed by the image (462 bytes);
//  - ".syx": the bare 458-byte System Exclusive message, as SysEx librarians store it.
// Reading recognises the form by content; a block is taken only when it is a
// complete image, so a bad file never reaches the settings model.
namespace preset {

enum class Format { Stm, Syx };

// The form a file name asks for: ".syx" (any case) is raw SysEx, anything else ".stm".
Format formatForPath(const QString &path);

QByteArray encode(const QByteArray &image, Format format);

// Decodes file contents into a complete image. On failure returns false and
// sets *error to a sentence saying what is wrong.
bool decode(const QByteArray &contents, QByteArray *image, QString *error);

bool readFile(const QString &path, QByteArray *image, QString *error);

// Writes atomically: the previous file stays intact unless the new one was
// written completely.
bool writeFile(const QString &path, const QByteArray &image, Format format, QString *error);
inline bool writeFile(const QString &path, const QByteArray &image, QString *error)
{
    return writeFile(path, image, formatForPath(path), error);
}

} // namespace preset

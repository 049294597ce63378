#pragma once

#include <QByteArray>
#include <QString>

// Preset files hold one settings image. Three forms exist:
//  - ".stm": a 4-byte big-endian length (458) followed by the image (462 bytes);
//  - ".syx": the bare 458-byte System Exclusive message, as SysEx librarians store it;
//  - ".json": the settings as text (model/PresetText.h).
// Reading recognises the form by content; a block is taken only when it is a
// complete image, so a bad file never reaches the settings model.
namespace preset {

enum class Format { Stm, Syx, Json, Unknown };

// The form a file name asks for by its extension (any case); Unknown for any other.
Format formatForPath(const QString &path);

// The bytes of a file in that form; empty with *error when the image holds a
// value the text form cannot keep.
QByteArray encode(const QByteArray &image, Format format, QString *error = nullptr);

// Decodes file contents into a complete image. On failure returns false and
// sets *error to a sentence saying what is wrong. *form (when given) tells
// the form found.
bool decode(const QByteArray &contents, QByteArray *image, QString *error, Format *form = nullptr);

bool readFile(const QString &path, QByteArray *image, QString *error, Format *form = nullptr);

// Writes atomically: the previous file stays intact unless the new one was
// written completely.
bool writeFile(const QString &path, const QByteArray &image, Format format, QString *error);
// In the form the extension asks for; under another extension only over a
// preset, whose form is kept (a file named freely and edited in place).
bool writeFile(const QString &path, const QByteArray &image, QString *error);

} // namespace preset

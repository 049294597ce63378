#pragma once

#include <QByteArray>
#include <QString>

// The preset as text (".json"), for git and for editing by hand: a format
// name and version first, then every setting by its record key, one pad,
// knob or button per line, colours as "#rrggbb" (screen colours, kept at
// half as the controller stores them). The seven header bytes and the
// firmware version travel too, so text and binary forms convert into each
// other byte for byte.
namespace presettext {

constexpr char kFormatName[] = "korvel-mavu-preset";
constexpr int kFormatVersion = 1;
// Room for generous hand formatting; anything larger is no preset.
constexpr int kMaxTextSize = 256 * 1024;

// Whether contents are meant as text: the first character that is not
// white space opens a JSON object.
bool looksLikeText(const QByteArray &contents);

// The text of a complete image. Values outside their range are written as
// they are, so the text may not read back: writeFile checks that it does.
QByteArray write(const QByteArray &image);

// A complete image from the text, or false with *error naming the line and
// the setting ("Line 12, pads[3].padCh: ..."). Nothing is taken unless
// everything is right.
bool read(const QByteArray &text, QByteArray *image, QString *error);

} // namespace presettext

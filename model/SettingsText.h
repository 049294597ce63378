#pragma once

#include <QString>

class DataManagement;

// Readable forms of the settings, for the command-line tool and diagnostics.
namespace settingsText {

// "C-1" for 0, "C4" for 60, "G9" for 127; sharps only.
QString noteName(int note);

// "A", "B" or "C"; "previous", "stop", … for the transport buttons.
QString bankName(int bank);
QString buttonName(int button);
// One record field as the dump shows it: type, mode and curve by name, the rest as numbers.
QString valueText(const QString &key, int value);

QString toText(DataManagement &settings);

} // namespace settingsText

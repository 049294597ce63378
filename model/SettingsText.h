#pragma once

#include <QJsonObject>
#include <QString>

class DataManagement;

// Readable forms of the settings, for the command-line tool and diagnostics.
namespace settingsText {

// "C-1" for 0, "C4" for 60, "G9" for 127; sharps only.
QString noteName(int note);

QJsonObject toJson(DataManagement &settings);
QString toText(DataManagement &settings);

} // namespace settingsText

#pragma once

#include <QString>
#include <QStringList>

class DataManagement;

namespace cli {

// Sets settings of one control named as reports name it: "PAD A6 note 60",
// "KNOB B2 cc 7", "BUTTON stop mode toggle", "BANK A color #ff0000",
// "GLOBAL curve linear"; several KEY VALUE pairs may follow. Returns false and
// sets *error when the control, a key or a value is not valid; the settings
// are then unchanged.
bool applySet(DataManagement &settings, const QStringList &args, QString *error);

// The controls and their keys, for the help.
QString setHelp();

} // namespace cli

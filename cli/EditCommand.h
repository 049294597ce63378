#pragma once

#include <QString>
#include <QStringList>

class DataManagement;

namespace cli {

// Applies one settings operation, named as the DataManagement slot, with its
// arguments as text. Returns false and sets *error when the operation or an
// argument is not valid; the settings are then unchanged.
bool applyEdit(DataManagement &settings, const QString &operation, const QStringList &args, QString *error);

// The operations with their arguments, and what the arguments mean, for the help.
QString editHelp();

} // namespace cli

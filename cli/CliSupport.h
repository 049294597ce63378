#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class DataManagement;

// Shared pieces of mavuctl's subcommands.
namespace cli {

// Thrown-free error reporting: each command returns an exit code and writes one line on stderr.
int fail(const QString &message);
void printOut(const QString &text);

bool loadPreset(const QString &path, DataManagement &settings);
bool savePreset(const QString &path, DataManagement &settings);

} // namespace cli

#pragma once

#include <QStringList>

// mavuctl's subcommands that work on preset files.
namespace cli {

int runDefaults(const QStringList &args);
int runDump(const QStringList &args);
int runConvert(const QStringList &args);
int runEdit(const QStringList &args);

} // namespace cli

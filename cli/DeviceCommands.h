#pragma once

#include <QStringList>

// mavuctl's subcommands that talk to the controller.
namespace cli {

int runList(const QStringList &args);
int runGet(const QStringList &args);
int runSend(const QStringList &args);
int runSerial(const QStringList &args);
// Why the controller or its update does not work here; 0 when all is well.
int runDoctor(const QStringList &args);

} // namespace cli

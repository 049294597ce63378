#pragma once

#include "cli/CliSupport.h"

// mavuctl's subcommands that talk to the controller.
namespace cli {

int runList(const Invocation &call);
int runGet(const Invocation &call);
int runSend(const Invocation &call);
int runSerial(const Invocation &call);
// Settings that differ between two presets, "-" being the controller: 0 equal, 1 differ, 2 trouble.
int runDiff(const Invocation &call);
// Why the controller or its update does not work here; 0 when all is well.
int runDoctor(const Invocation &call);

} // namespace cli

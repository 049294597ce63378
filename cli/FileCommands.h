#pragma once

#include "cli/CliSupport.h"

// mavuctl's subcommands that work on preset files.
namespace cli {

int runDefaults(const Invocation &call);
int runDump(const Invocation &call);
int runConvert(const Invocation &call);
int runEdit(const Invocation &call);
int runSet(const Invocation &call);

} // namespace cli

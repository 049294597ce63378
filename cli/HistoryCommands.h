#pragma once

#include "cli/CliSupport.h"

// mavuctl's subcommands on the snapshots kept of each controller.
namespace cli {

int runHistory(const Invocation &call);
int runHistoryShow(const Invocation &call);
int runHistorySave(const Invocation &call);

} // namespace cli

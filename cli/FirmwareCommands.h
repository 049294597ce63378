#pragma once

#include "cli/CliSupport.h"

// mavuctl firmware check|update: the online check, and sending a firmware
// file to the controller in its update mode.
namespace cli {

int runFirmwareCheck(const Invocation &call);
int runFirmwareUpdate(const Invocation &call);

} // namespace cli

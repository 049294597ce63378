#pragma once

#include <QStringList>

// mavuctl firmware check|update: the online check, and sending a firmware
// file to the controller in its update mode.
namespace cli {

int runFirmware(const QStringList &args);

} // namespace cli

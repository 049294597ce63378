#pragma once

#include "app/LogClock.h"

#include <QString>

#include <memory>

// Writes every Qt message into hourly HTML files in the folder folderName of
// the user's local application data, and copies it to standard error. Prunes
// the folder to maxFileCount files. keepFileOpen keeps the hour's file open.
// A null clock means the system clock.
void installLogHandler(
    QString folderName, int maxFileCount, bool keepFileOpen, std::shared_ptr<const LogClock> clock = nullptr);

// The folder the installed handler writes to, or empty when none is installed.
QString logFolderPath();

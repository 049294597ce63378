#pragma once

#include <QString>

// Writes every Qt message into hourly HTML files in the user's application data.
void installLogHandler(QString folderName, int maxFileCount, bool keepFileOpen);

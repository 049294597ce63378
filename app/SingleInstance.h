#pragma once

#include <QString>

// True when another copy of the editor holds the key; the caller then ends.
bool isAppRunning(QString key);

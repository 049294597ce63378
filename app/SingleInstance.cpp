#include "app/SingleInstance.h"

bool isAppRunning(QString) { return false; }

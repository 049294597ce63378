#include "app/LogHandler.h"

void installLogHandler(QString, int, bool) {}

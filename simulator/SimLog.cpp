#include "simulator/SimLog.h"

Q_LOGGING_CATEGORY(lcSim, "mavu.sim")

#pragma once

#include <QLoggingCategory>

// The debug lines of the simulated controller: QT_LOGGING_RULES="mavu.sim.debug=true" shows this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcSim)

#pragma once

#include <QLoggingCategory>

// The debug lines of the work both programs share: QT_LOGGING_RULES="mavu.workflows.debug=true" shows this layer
// alone.
Q_DECLARE_LOGGING_CATEGORY(lcWorkflows)

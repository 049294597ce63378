#pragma once

#include <QLoggingCategory>

// The debug lines of the settings model and its files: QT_LOGGING_RULES="mavu.model.debug=true" shows this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcModel)

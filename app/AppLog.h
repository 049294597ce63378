#pragma once

#include <QLoggingCategory>

// The debug lines of the editor around its window: QT_LOGGING_RULES="mavu.app.debug=true" shows this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

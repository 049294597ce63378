#pragma once

#include <QLoggingCategory>

// The debug lines of mavuctl: QT_LOGGING_RULES="mavu.cli.debug=true" shows this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcCli)

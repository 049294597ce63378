#pragma once

#include <QLoggingCategory>

// The debug lines of the firmware update and the firmware server: QT_LOGGING_RULES="mavu.firmware.debug=true" shows
// this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcFirmware)

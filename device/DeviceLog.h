#pragma once

#include <QLoggingCategory>

// The debug lines of the MIDI link and the detection: QT_LOGGING_RULES="mavu.device.debug=true" shows this layer alone.
Q_DECLARE_LOGGING_CATEGORY(lcDevice)

#include "firmware/FirmwareLog.h"

Q_LOGGING_CATEGORY(lcFirmware, "mavu.firmware")

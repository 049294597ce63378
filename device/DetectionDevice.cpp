#include "device/DetectionDevice.h"

DetectionDevice::DetectionDevice(QObject *parent)
    : QObject(parent)
{
}

void DetectionDevice::checkConnectedDevice() {}

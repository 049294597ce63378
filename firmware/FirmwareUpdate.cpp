#include "firmware/FirmwareUpdate.h"

FirmwareUpdate::FirmwareUpdate(QObject *parent)
    : QObject(parent)
{
}

void FirmwareUpdate::startUpdate(QString) {}

#include "firmware/MyFtp.h"

MyFtp::MyFtp(QObject *parent)
    : QObject(parent)
{
}

void MyFtp::setDeviceConnected(bool) {}
void MyFtp::setCurrentVersion(QString) {}
void MyFtp::checkOnLineFirmware() {}
void MyFtp::downloadFir() {}

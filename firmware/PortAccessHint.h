#pragma once

#include <QSerialPort>
#include <QString>

// What to tell the user when the update port exists but may not be opened.
// Empty for any other reason an open can fail.
QString portAccessHint(QSerialPort::SerialPortError error);

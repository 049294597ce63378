#pragma once

#include <QSerialPort>
#include <QString>

// What to tell the user when the update port exists but may not be opened.
// Empty for any other reason an open can fail, and when the port (a name or
// path) is one this user may open: then another program holds it.
QString portAccessHint(QSerialPort::SerialPortError error, const QString &portName = QString());

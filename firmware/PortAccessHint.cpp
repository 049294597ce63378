#include "firmware/PortAccessHint.h"

#include <QCoreApplication>

QString portAccessHint(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::PermissionError)
        return QString();
    return QCoreApplication::translate(
        "FirmwareUpdate",
        "You may not use the controller's update port. Install the editor's udev rules "
        "(70-korvel-mavu.rules, in /usr/lib/udev/rules.d or /etc/udev/rules.d) and plug the "
        "controller in again, or join the dialout group (sudo usermod -aG dialout $USER) "
        "and log in again.");
}

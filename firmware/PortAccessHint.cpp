#include "firmware/PortAccessHint.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

QString portAccessHint(QSerialPort::SerialPortError error, const QString &portName)
{
    if (error != QSerialPort::PermissionError)
        return QString();
    // QSerialPort says "permission" also for a port busy with another program
    // (its lock file, or exclusive use); rules and groups would not help then.
    if (!portName.isEmpty()) {
        const QString path = portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
        if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0)
            return QString();
    }
    return QCoreApplication::translate("FirmwareUpdate",
        "You may not use the controller's update port. Install the editor's udev rules "
        "(70-korvel-mavu.rules, in /usr/lib/udev/rules.d or /etc/udev/rules.d) and plug the "
        "controller in again, or join the dialout group (sudo usermod -aG dialout $USER) "
        "and log in again.");
}

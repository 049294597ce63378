#include "device/PortNames.h"

#include <QRegularExpression>

namespace portnames {

QString alsaClientName(const QString &portName)
{
    static const QRegularExpression shape(QStringLiteral("^(.*?):(.*) (\\d+):(\\d+)$"));
    const QRegularExpressionMatch match = shape.match(portName);
    if (!match.hasMatch())
        return portName;
    return match.captured(1);
}

QString jackPortName(const QString &portName)
{
    const int colon = portName.indexOf(QLatin1Char(':'));
    return colon < 0 ? portName : portName.mid(colon + 1);
}

} // namespace portnames

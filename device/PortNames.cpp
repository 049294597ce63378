#include "device/PortNames.h"

#include <QRegularExpression>

namespace portnames {

namespace {

// PipeWire puts the card number after a hardware client's name, and nothing
// after a software client's. "Korvel Mavu 2:(capture_0) ..." is then either
// our controller on card 2 or a client named "Korvel Mavu 2"; the port name,
// which a USB card's ports begin with the card's name, tells which. When it
// does not, the whole text is kept: a longer name never matches ours.
QString pipeWireClient(const QString &name, const QString &number, const QString &port)
{
    if (number.isEmpty())
        return name;
    const QString whole = name + QLatin1Char(' ') + number;
    auto begins
        = [&port](const QString &client) { return port == client || port.startsWith(client + QLatin1Char(' ')); };
    return !begins(whole) && begins(name) ? name : whole;
}

} // namespace

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

QString jackProductName(const QString &portName)
{
    const QString port = jackPortName(portName);
    // a2jmidid's -u leaves out the client id in brackets.
    static const QRegularExpression a2j(QStringLiteral("^(.+?)(?: \\[\\d+\\])? \\((?:capture|playback)\\): "));
    QRegularExpressionMatch match = a2j.match(port);
    if (match.hasMatch())
        return match.captured(1);
    static const QRegularExpression pipeWire(
        QStringLiteral("^(.+?)(?: (\\d+))?:\\((?:capture|playback)_\\d+\\) (.*)$"));
    match = pipeWire.match(port);
    if (match.hasMatch())
        return pipeWireClient(match.captured(1), match.captured(2), match.captured(3));
    return port;
}

} // namespace portnames

#include "device/ControllerLink.h"

#include "model/ControllerIds.h"

int lowestIndexNamed(const QMap<int, QString> &ports, const QString &name, int current)
{
    for (auto it = ports.cbegin(); it != ports.cend(); ++it) {
        if (it.value() == name)
            return it.key(); // QMap iterates in index order
    }
    return current;
}

ControllerPortIndexes findControllerPorts(MidiPortList &ports)
{
    const QString name = QLatin1String(controllerids::kPortName);
    return {lowestIndexNamed(ports.midiInDevices(), name, -1), lowestIndexNamed(ports.midiOutDevices(), name, -1)};
}

ControllerLink::ControllerLink(MidiBackend *midi, QObject *parent)
    : ControllerChannel(parent)
    , m_ports(midi)
    , m_in(m_ports)
    , m_out(m_ports)
{ }

ControllerLink::~ControllerLink()
{
    close();
}

bool ControllerLink::isPresent()
{
    return findControllerPorts(m_ports).listed();
}

bool ControllerLink::open(QString *error)
{
    if (m_in.isOpen() && m_out.isOpen())
        return true;
    const ControllerPortIndexes found = findControllerPorts(m_ports);
    if (!found.listed()) {
        *error = QStringLiteral("no controller found (no MIDI %1 port named \"%2\")")
                     .arg(found.in < 0 ? QStringLiteral("input") : QStringLiteral("output"),
                         QLatin1String(controllerids::kPortName));
        return false;
    }
    // The bytes are valid only during the call: deliver() copies them.
    const bool inOpen = m_in.open(unsigned(found.in), [this](char *data, int len) { deliver(QByteArray(data, len)); });
    if (!inOpen || !m_out.open(unsigned(found.out))) {
        *error = QStringLiteral("the controller's MIDI ports could not be opened (in use?)");
        close();
        return false;
    }
    return true;
}

void ControllerLink::close()
{
    m_in.close();
    m_out.close();
}

bool ControllerLink::send(const QByteArray &message, QString *error)
{
    if (!m_out.send(message.constData(), message.size())) {
        *error = QStringLiteral("sending to the controller failed");
        return false;
    }
    return true;
}

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
    const QString name = QLatin1String(controllerids::kPortName);
    return lowestIndexNamed(m_ports.midiInDevices(), name, -1) >= 0
        && lowestIndexNamed(m_ports.midiOutDevices(), name, -1) >= 0;
}

bool ControllerLink::open(QString *error)
{
    if (m_in.isOpen() && m_out.isOpen())
        return true;
    const QString name = QLatin1String(controllerids::kPortName);
    const int in = lowestIndexNamed(m_ports.midiInDevices(), name, -1);
    const int out = lowestIndexNamed(m_ports.midiOutDevices(), name, -1);
    if (in < 0 || out < 0) {
        *error = QStringLiteral("no controller found (no MIDI %1 port named \"%2\")")
                     .arg(in < 0 ? QStringLiteral("input") : QStringLiteral("output"), name);
        return false;
    }
    // The bytes are valid only during the call: deliver() copies them.
    const bool inOpen = m_in.open(unsigned(in), [this](char *data, int len) { deliver(QByteArray(data, len)); });
    if (!inOpen || !m_out.open(unsigned(out))) {
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

#include "app/ControllerPorts.h"

#include "app/AppLog.h"
#include "model/UserPrompt.h"

#include <QDebug>

ControllerPorts::ControllerPorts(MidiBackend *midi, QObject *parent)
    : ControllerChannel(parent)
    , m_ports(midi)
    , m_in(m_ports)
    , m_out(m_ports)
{ }

ControllerPorts::~ControllerPorts()
{
    close();
}

void ControllerPorts::setPresent(bool present)
{
    m_present = present;
    if (!present) {
        close();
        return;
    }
    findPorts();
    qCDebug(lcApp) << "m_inDevIndex:" << unsigned(m_found.in);
    qCDebug(lcApp) << "m_outDevIndex:" << unsigned(m_found.out);
}

// By name, right before opening: an index from an earlier listing may by now
// be another device's port.
void ControllerPorts::findPorts()
{
    m_found = findControllerPorts(m_ports);
}

bool ControllerPorts::open(QString *error)
{
    m_vanished = false;
    if (!m_present)
        return false;
    if (!m_in.isOpen() || !m_out.isOpen())
        findPorts();
    if (!m_found.listed()) {
        // Not there (yet): nothing is occupied, and nothing else may be opened.
        qCDebug(lcApp) << "the controller's MIDI ports are not listed";
        return false;
    }
    // The bytes are valid only during the calls: they are copied on.
    const auto reply = [this](char *data, int len) { deliver(QByteArray(data, len)); };
    const auto hit = [this](char *data, int len) {
        const QByteArray message(data, len);
        QMetaObject::invokeMethod(
            this, [this, message] { emit played(message); }, Qt::QueuedConnection);
    };
    const QString occupied = tr("The current device is occupied");
    const ControllerPortIndexes tried = m_found;
    if (!m_in.open(unsigned(m_found.in), reply, hit)) {
        m_in.close();
    } else if (!m_out.open(unsigned(m_found.out))) {
        m_out.close();
    } else {
        return true;
    }
    // Listed again: ports gone or renumbered since are no other program's.
    findPorts();
    if (m_found.in != tried.in || m_found.out != tried.out) { // unlisted is -1
        qCDebug(lcApp) << "the controller's MIDI ports changed while being opened";
        m_vanished = true;
        *error = QStringLiteral("the controller's MIDI ports changed");
        return false;
    }
    *error = occupied;
    if (m_prompt)
        m_prompt->warning(tr("Error prompt"), occupied);
    return false;
}

void ControllerPorts::close()
{
    m_in.close();
    m_out.close();
}

void ControllerPorts::closeOutput()
{
    if (m_present)
        m_out.close();
}

bool ControllerPorts::send(const QByteArray &message, QString *error)
{
    if (m_out.send(message.constData(), message.size()))
        return true;
    *error = tr("the controller's MIDI port is not open");
    return false;
}

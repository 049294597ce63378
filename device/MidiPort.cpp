#include "device/MidiPort.h"

#include "device/DeviceLog.h"
#include "device/MidiBackend.h"

#include <QDebug>
#include <QStringList>

namespace {

// The raw name the caller meant by index: from the last listing, or from a
// listing made now when the index was never handed out.
QString listedId(const QStringList &snapshot, unsigned index, const QStringList &now)
{
    if (int(index) >= 0 && int(index) < snapshot.size())
        return snapshot.at(int(index));
    return now.value(int(index));
}

// Only System Exclusive messages are the controller's answers; channel
// messages go to their own handler when there is one. Clock, active sensing
// and empty deliveries reach neither.
MidiBackend::Receive sorted(std::function<void(char *, int)> handler, std::function<void(char *, int)> channel)
{
    return [handler = std::move(handler), channel = std::move(channel)](char *data, int len) {
        if (!data || len <= 0)
            return;
        const auto status = static_cast<unsigned char>(data[0]);
        if (len >= 2 && status == 0xF0)
            handler(data, len);
        else if (channel && status >= 0x80 && status < 0xF0)
            channel(data, len);
    };
}

} // namespace

MidiIn::MidiIn(MidiPortList &ports)
    : m_ports(ports)
{ }

MidiIn::~MidiIn()
{
    close();
}

bool MidiIn::open(unsigned deviceId, MidiHandler handler)
{
    return open(deviceId, std::function<void(char *, int)>(handler));
}

bool MidiIn::open(unsigned deviceId, std::function<void(char *, int)> handler)
{
    return open(deviceId, std::move(handler), nullptr);
}

bool MidiIn::open(
    unsigned deviceId, std::function<void(char *, int)> handler, std::function<void(char *, int)> channelHandler)
{
    if (m_open)
        return true;
    MidiBackend *backend = m_ports.backend();
    QString error = QStringLiteral("no MIDI system");
    if (backend && handler) {
        const QString id = m_ports.listedInput(deviceId);
        if (id.isEmpty())
            error = QStringLiteral("no input port %1").arg(deviceId);
        else
            m_link
                = backend->openInput(int(deviceId), id, sorted(std::move(handler), std::move(channelHandler)), &error);
    }
    if (!m_link) {
        qCDebug(lcDevice) << "midiInOpen error";
        qCDebug(lcDevice) << "midi input" << deviceId << ":" << error;
        return false;
    }
    m_open = true;
    qCDebug(lcDevice) << "midiIn open sucess";
    return true;
}

void MidiIn::close()
{
    if (!m_open)
        return;
    m_link.reset();
    m_open = false;
    qCDebug(lcDevice) << "midiIn close ";
}

MidiOut::MidiOut(MidiPortList &ports)
    : m_ports(ports)
{ }

MidiOut::~MidiOut()
{
    close();
}

bool MidiOut::open(unsigned deviceId)
{
    if (m_open)
        return true;
    MidiBackend *backend = m_ports.backend();
    QString error = QStringLiteral("no MIDI system");
    if (backend) {
        const QString id = m_ports.listedOutput(deviceId);
        if (id.isEmpty())
            error = QStringLiteral("no output port %1").arg(deviceId);
        else
            m_link = backend->openOutput(int(deviceId), id, &error);
    }
    if (!m_link) {
        qCDebug(lcDevice) << "midiOutOpen error";
        qCDebug(lcDevice) << "midi output" << deviceId << ":" << error;
        return false;
    }
    m_open = true;
    qCDebug(lcDevice) << "midiOutOpen sucess";
    return true;
}

bool MidiOut::send(const char *data, int len)
{
    if (!m_open)
        return false;
    QString error;
    if (!data || len <= 0 || !m_link->send(data, len, &error)) {
        qCDebug(lcDevice) << "midiOutLongMsg error" << error;
        return false;
    }
    return true;
}

void MidiOut::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_link.reset();
    qCDebug(lcDevice) << "midiOut close";
}

QMap<int, QString> MidiPortList::midiInDevices()
{
    if (!m_backend)
        return {};
    m_inSnapshot = m_backend->inputPortIds();
    return productNames(*m_backend, m_inSnapshot);
}

QMap<int, QString> MidiPortList::midiOutDevices()
{
    if (!m_backend)
        return {};
    m_outSnapshot = m_backend->outputPortIds();
    return productNames(*m_backend, m_outSnapshot);
}

QString MidiPortList::listedInput(unsigned index) const
{
    return m_backend ? listedId(m_inSnapshot, index, m_backend->inputPortIds()) : QString();
}

QString MidiPortList::listedOutput(unsigned index) const
{
    return m_backend ? listedId(m_outSnapshot, index, m_backend->outputPortIds()) : QString();
}

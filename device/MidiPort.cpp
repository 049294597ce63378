#include "device/MidiPort.h"

#include "device/MidiBackend.h"

#include <QDebug>
#include <QStringList>

namespace {

// The raw names of the last listing, so an index handed out then still means
// the same port when it is opened later.
QStringList &inSnapshot()
{
    static QStringList ids;
    return ids;
}

QStringList &outSnapshot()
{
    static QStringList ids;
    return ids;
}

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

MidiIn::MidiIn() = default;

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
    MidiBackend *backend = midiBackend();
    QString error = QStringLiteral("no MIDI system");
    if (backend && handler) {
        const QString id = listedId(inSnapshot(), deviceId, backend->inputPortIds());
        if (id.isEmpty())
            error = QStringLiteral("no input port %1").arg(deviceId);
        else
            m_link
                = backend->openInput(int(deviceId), id, sorted(std::move(handler), std::move(channelHandler)), &error);
    }
    if (!m_link) {
        qDebug() << "midiInOpen error";
        qDebug() << "midi input" << deviceId << ":" << error;
        return false;
    }
    m_open = true;
    qDebug() << "midiIn open sucess";
    return true;
}

void MidiIn::close()
{
    if (!m_open)
        return;
    m_link.reset();
    m_open = false;
    qDebug() << "midiIn close ";
}

MidiOut::MidiOut() = default;

MidiOut::~MidiOut()
{
    close();
}

bool MidiOut::open(unsigned deviceId)
{
    if (m_open)
        return true;
    MidiBackend *backend = midiBackend();
    QString error = QStringLiteral("no MIDI system");
    if (backend) {
        const QString id = listedId(outSnapshot(), deviceId, backend->outputPortIds());
        if (id.isEmpty())
            error = QStringLiteral("no output port %1").arg(deviceId);
        else
            m_link = backend->openOutput(int(deviceId), id, &error);
    }
    if (!m_link) {
        qDebug() << "midiOutOpen error";
        qDebug() << "midi output" << deviceId << ":" << error;
        return false;
    }
    m_open = true;
    qDebug() << "midiOutOpen sucess";
    return true;
}

bool MidiOut::send(const char *data, int len)
{
    if (!m_open)
        return false;
    QString error;
    if (!data || len <= 0 || !m_link->send(data, len, &error)) {
        qDebug() << "midiOutLongMsg error" << error;
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
    qDebug() << "midiOut close";
}

QMap<int, QString> midiInDevices()
{
    MidiBackend *backend = midiBackend();
    if (!backend)
        return {};
    inSnapshot() = backend->inputPortIds();
    return productNames(*backend, inSnapshot());
}

QMap<int, QString> midiOutDevices()
{
    MidiBackend *backend = midiBackend();
    if (!backend)
        return {};
    outSnapshot() = backend->outputPortIds();
    return productNames(*backend, outSnapshot());
}

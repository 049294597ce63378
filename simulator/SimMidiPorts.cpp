#include "simulator/SimMidiPorts.h"

#include "device/LoopbackMidi.h"
#include "simulator/SimLog.h"

#include <rtmidi/RtMidi.h>

#include <QDebug>

LoopbackSimPorts::LoopbackSimPorts(LoopbackMidi *midi, const QString &name, QObject *parent)
    : SimMidiPorts(parent)
    , m_midi(midi)
    , m_name(name)
{ }

LoopbackSimPorts::~LoopbackSimPorts()
{
    unplug();
}

bool LoopbackSimPorts::plug(QString *error)
{
    if (isPlugged())
        return true;
    if (!m_midi) {
        *error = QStringLiteral("no MIDI system");
        return false;
    }
    // Our input first, so that when the editor sees our output both are there.
    m_sink = m_midi->addSink(m_name, [this](const QByteArray &m) { emit received(m); });
    m_source = m_midi->addSource(m_name);
    return true;
}

void LoopbackSimPorts::unplug()
{
    if (!isPlugged())
        return;
    if (m_midi) {
        m_midi->removePort(m_source);
        m_midi->removePort(m_sink);
    }
    m_source = m_sink = -1;
}

void LoopbackSimPorts::send(const QByteArray &message)
{
    if (isPlugged() && m_midi)
        m_midi->emitFrom(m_source, message);
}

RtMidiSimPorts::RtMidiSimPorts(bool jack, const QString &name, QObject *parent)
    : SimMidiPorts(parent)
    , m_jack(jack)
    , m_name(name)
{ }

RtMidiSimPorts::~RtMidiSimPorts()
{
    unplug();
}

bool RtMidiSimPorts::plug(QString *error)
{
    if (isPlugged())
        return true;
    const RtMidi::Api api = m_jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    const std::string name = m_name.toStdString();
    try {
        // Our input first, so that when the editor sees our output both are there.
        m_in = std::make_unique<RtMidiIn>(api, name, 100);
        m_in->ignoreTypes(false, true, true);
        m_in->setCallback(&RtMidiSimPorts::deliver, this);
        m_in->openVirtualPort(name);
        m_out = std::make_unique<RtMidiOut>(api, name);
        m_out->openVirtualPort(name);
        return true;
    } catch (const RtMidiError &e) {
        *error = QString::fromStdString(e.getMessage()).trimmed();
        m_out.reset();
        m_in.reset();
        return false;
    }
}

void RtMidiSimPorts::unplug()
{
    // Our output first: the editor notices the controller leaving by it.
    m_out.reset();
    m_in.reset();
}

void RtMidiSimPorts::send(const QByteArray &message)
{
    if (!m_out)
        return;
    try {
        m_out->sendMessage(reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()));
    } catch (const RtMidiError &e) {
        qCWarning(lcSim) << "sending failed:" << QString::fromStdString(e.getMessage());
    }
}

void RtMidiSimPorts::deliver(double, std::vector<unsigned char> *message, void *user)
{
    // On RtMidi's thread: copy, and let the queued signal carry it over.
    if (!message || message->size() < 2 || message->front() != 0xF0)
        return;
    auto *self = static_cast<RtMidiSimPorts *>(user);
    const QByteArray bytes(reinterpret_cast<const char *>(message->data()), int(message->size()));
    QMetaObject::invokeMethod(
        self, [self, bytes] { emit self->received(bytes); }, Qt::QueuedConnection);
}

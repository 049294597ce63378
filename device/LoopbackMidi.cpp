#include "device/LoopbackMidi.h"

#include <QPointer>
#include <QTimer>

// Port ids read "loop<number>:<name>": unique, and the name is the product name.
namespace {

QString portId(int port, const QString &name)
{
    return QStringLiteral("loop%1:%2").arg(port).arg(name);
}

} // namespace

class LoopbackMidi::Input : public MidiInputLink
{
public:
    Input(LoopbackMidi *midi, int port, int number, Receive receive)
        : m_midi(midi)
        , m_port(port)
        , m_number(number)
        , m_receive(std::move(receive))
    { }

    ~Input() override
    {
        if (m_midi) {
            m_midi->m_inputs.remove(m_number);
            m_midi->m_openCounts[m_port] -= 1;
        }
    }

    void receive(QByteArray message) { m_receive(message.data(), message.size()); }
    int port() const { return m_port; }

private:
    QPointer<LoopbackMidi> m_midi;
    int m_port;
    int m_number;
    Receive m_receive;
};

class LoopbackMidi::Output : public MidiOutputLink
{
public:
    Output(LoopbackMidi *midi, int port)
        : m_midi(midi)
        , m_port(port)
    { }

    ~Output() override
    {
        if (m_midi)
            m_midi->m_openCounts[m_port] -= 1;
    }

    bool send(const char *data, int len, QString *error) override
    {
        if (!m_midi || !m_midi->deliverToSink(m_port, QByteArray(data, len))) {
            *error = QStringLiteral("the port is gone");
            return false;
        }
        return true;
    }

private:
    QPointer<LoopbackMidi> m_midi;
    int m_port;
};

LoopbackMidi::LoopbackMidi(QObject *parent)
    : QObject(parent)
{ }

LoopbackMidi::~LoopbackMidi() = default;

int LoopbackMidi::addSource(const QString &name)
{
    const int port = m_nextPort++;
    m_ports.insert(port, Port{name, true, false, {}});
    return port;
}

int LoopbackMidi::addSink(const QString &name, std::function<void(const QByteArray &)> onMessage)
{
    const int port = m_nextPort++;
    m_ports.insert(port, Port{name, false, false, std::move(onMessage)});
    return port;
}

void LoopbackMidi::removePort(int port)
{
    m_ports.remove(port);
}

void LoopbackMidi::setBusy(int port, bool busy)
{
    if (m_ports.contains(port))
        m_ports[port].busy = busy;
}

int LoopbackMidi::openCount(int port) const
{
    return m_openCounts.value(port);
}

void LoopbackMidi::emitFrom(int source, const QByteArray &message)
{
    if (!m_ports.contains(source))
        return;
    for (auto it = m_inputs.cbegin(); it != m_inputs.cend(); ++it) {
        if (it.value()->port() != source)
            continue;
        const int number = it.key();
        QTimer::singleShot(0, this, [this, number, message] {
            // The input may have been closed in the meantime: then it is dropped.
            if (Input *input = m_inputs.value(number))
                input->receive(message);
        });
    }
}

bool LoopbackMidi::deliverToSink(int sink, const QByteArray &message)
{
    if (!m_ports.contains(sink))
        return false;
    QTimer::singleShot(0, this, [this, sink, message] {
        const auto it = m_ports.constFind(sink);
        if (it != m_ports.cend() && it->onMessage)
            it->onMessage(message);
    });
    return true;
}

QString LoopbackMidi::apiName() const
{
    return QStringLiteral("loopback");
}

QStringList LoopbackMidi::ids(bool sources) const
{
    QStringList list;
    for (auto it = m_ports.cbegin(); it != m_ports.cend(); ++it) {
        if (it->source == sources)
            list << portId(it.key(), it->name);
    }
    return list;
}

QStringList LoopbackMidi::inputPortIds()
{
    return ids(true);
}

QStringList LoopbackMidi::outputPortIds()
{
    return ids(false);
}

QString LoopbackMidi::productName(const QString &id) const
{
    return id.mid(id.indexOf(QLatin1Char(':')) + 1);
}

int LoopbackMidi::portOf(const QString &id) const
{
    for (auto it = m_ports.cbegin(); it != m_ports.cend(); ++it) {
        if (portId(it.key(), it->name) == id)
            return it.key();
    }
    return -1;
}

std::unique_ptr<MidiInputLink> LoopbackMidi::openInput(int, const QString &id, Receive receive, QString *error)
{
    const int port = portOf(id);
    if (port < 0 || !m_ports[port].source) {
        *error = QStringLiteral("the port \"%1\" is gone").arg(id);
        return nullptr;
    }
    if (m_ports[port].busy) {
        *error = QStringLiteral("the port \"%1\" is in use").arg(id);
        return nullptr;
    }
    const int number = m_nextInput++;
    auto input = std::make_unique<Input>(this, port, number, std::move(receive));
    m_inputs.insert(number, input.get());
    m_openCounts[port] += 1;
    return input;
}

std::unique_ptr<MidiOutputLink> LoopbackMidi::openOutput(int, const QString &id, QString *error)
{
    const int port = portOf(id);
    if (port < 0 || m_ports[port].source) {
        *error = QStringLiteral("the port \"%1\" is gone").arg(id);
        return nullptr;
    }
    if (m_ports[port].busy) {
        *error = QStringLiteral("the port \"%1\" is in use").arg(id);
        return nullptr;
    }
    m_openCounts[port] += 1;
    return std::make_unique<Output>(this, port);
}

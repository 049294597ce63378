#include "device/RtMidiBackend.h"

#include "device/DeviceLog.h"
#include "device/PortNames.h"
#include "device/SysExQueue.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QThread>

#include <cstdint>
#include <string>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr unsigned kInputQueueSize = 100;
// Enough for every message of an exchange and a burst of notes besides.
constexpr int kQueueSlots = 32;

RtMidi::Api rtApi(RtMidiBackend::Api api)
{
    return api == RtMidiBackend::Api::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

// JACK's own chatter belongs in the log, not on the terminal.
void routeJackMessages()
{
    jack_set_error_function([](const char *message) { qCDebug(lcDevice) << "jack:" << message; });
    jack_set_info_function([](const char *message) { qCDebug(lcDevice) << "jack:" << message; });
}

// RtMidi only warns when there is no JACK server; ask JACK itself. A server
// busy with other clients can refuse one connection, so it is asked thrice.
bool jackServerRunning(const QString &clientName)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0)
            QThread::msleep(100);
        jack_status_t status;
        jack_client_t *client = jack_client_open(clientName.toLocal8Bit().constData(), JackNoStartServer, &status);
        if (client) {
            jack_client_close(client);
            return true;
        }
    }
    return false;
}

QString text(const RtMidiError &e)
{
    return QString::fromStdString(e.getMessage()).trimmed();
}

template <typename Port>
QStringList portIds(Port &port)
{
    QStringList ids;
    try {
        const unsigned count = port.getPortCount();
        for (unsigned i = 0; i < count; ++i)
            ids << QString::fromStdString(port.getPortName(i));
    } catch (const RtMidiError &) {
        // A port that went away while listing: the next listing sees the new state.
    }
    return ids;
}

// Opens the listed port, looked up again in the view of the client that
// opens it; prepare runs on the port just before.
template <typename Port, typename Prepare>
bool openListed(Port &port, int index, const QString &portId, const QString &localName, QString *error, Prepare prepare)
{
    try {
        const int now = currentIndexOf(portIds(port), index, portId);
        if (now < 0) {
            *error = QStringLiteral("the port \"%1\" is gone").arg(portId);
            return false;
        }
        prepare(port);
        port.openPort(unsigned(now), localName.toStdString());
        return true;
    } catch (const RtMidiError &e) {
        *error = text(e);
        return false;
    }
}

template <typename Port>
void closeQuietly(const std::unique_ptr<Port> &port)
{
    try {
        if (port)
            port->closePort();
    } catch (const RtMidiError &) {
    }
}

// RtMidi calls deliver() on JACK's real-time process thread (on ALSA on a
// thread of its own). There it only copies into a preallocated slot and
// counts up an eventfd; the receive function runs on the thread that opened
// the port when the eventfd turns readable.
class RtInputLink : public MidiInputLink
{
public:
    explicit RtInputLink(MidiBackend::Receive receive)
        : m_receive(std::make_shared<MidiBackend::Receive>(std::move(receive)))
        , m_queue(kQueueSlots)
        , m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    {
        if (m_wake < 0) {
            qCWarning(lcDevice) << "MIDI input: no eventfd, messages are not received";
            return;
        }
        m_notifier = std::make_unique<QSocketNotifier>(m_wake, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { drain(); });
    }

    ~RtInputLink() override
    {
        m_notifier.reset();
        closeQuietly(m_port);
        // Destroying the port ends its client and with it every delivery.
        m_port.reset();
        if (m_wake >= 0)
            ::close(m_wake);
    }

    bool open(RtMidi::Api api, const QString &client, int index, const QString &portId, QString *error)
    {
        try {
            m_port = std::make_unique<RtMidiIn>(api, client.toStdString(), kInputQueueSize);
        } catch (const RtMidiError &e) {
            *error = text(e);
            return false;
        }
        return openListed(*m_port, index, portId, client + QStringLiteral(" in"), error, [this](RtMidiIn &port) {
            port.ignoreTypes(false, true, true);
            port.setCallback(&RtInputLink::deliver, this);
        });
    }

private:
    static void deliver(double, std::vector<unsigned char> *message, void *user)
    {
        auto *link = static_cast<RtInputLink *>(user);
        if (!message || message->empty() || link->m_wake < 0)
            return;
        link->m_queue.push(message->data(), message->size());
        // Also after a drop, so that the consumer reports it.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(link->m_wake, &one, sizeof one);
    }

    void drain()
    {
        std::uint64_t count;
        [[maybe_unused]] const ssize_t taken = ::read(m_wake, &count, sizeof count);
        reportDropped();
        // The receive function may close the port, which destroys this link.
        const QPointer<QSocketNotifier> alive(m_notifier.get());
        const std::shared_ptr<MidiBackend::Receive> receive = m_receive;
        char message[SysExQueue::kSlotBytes];
        while (alive) {
            const int len = m_queue.pop(message);
            if (len == 0)
                break;
            (*receive)(message, len);
        }
    }

    void reportDropped()
    {
        const unsigned tooLong = m_queue.droppedTooLong();
        const unsigned full = m_queue.droppedFull();
        if (tooLong != m_tooLongSeen)
            qCWarning(lcDevice) << "MIDI input: dropped" << tooLong - m_tooLongSeen << "messages longer than"
                                << SysExQueue::kSlotBytes << "bytes";
        if (full != m_fullSeen)
            qCWarning(lcDevice) << "MIDI input: dropped" << full - m_fullSeen << "messages, the receive queue was full";
        m_tooLongSeen = tooLong;
        m_fullSeen = full;
    }

    std::shared_ptr<MidiBackend::Receive> m_receive;
    SysExQueue m_queue;
    unsigned m_tooLongSeen = 0;
    unsigned m_fullSeen = 0;
    const int m_wake;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<RtMidiIn> m_port;
};

class RtOutputLink : public MidiOutputLink
{
public:
    ~RtOutputLink() override { closeQuietly(m_port); }

    bool open(RtMidi::Api api, const QString &client, int index, const QString &portId, QString *error)
    {
        try {
            m_port = std::make_unique<RtMidiOut>(api, client.toStdString());
        } catch (const RtMidiError &e) {
            *error = text(e);
            return false;
        }
        return openListed(*m_port, index, portId, client + QStringLiteral(" out"), error, [](RtMidiOut &) {});
    }

    bool send(const char *data, int len, QString *error) override
    {
        try {
            m_port->sendMessage(reinterpret_cast<const unsigned char *>(data), size_t(len));
            return true;
        } catch (const RtMidiError &e) {
            *error = text(e);
            return false;
        }
    }

private:
    std::unique_ptr<RtMidiOut> m_port;
};

} // namespace

RtMidiBackend::RtMidiBackend(Api api, const QString &clientName)
    : m_api(api)
    , m_clientName(clientName)
{ }

RtMidiBackend::~RtMidiBackend() = default;

QString RtMidiBackend::apiName() const
{
    return m_api == Api::Jack ? QStringLiteral("jack") : QStringLiteral("alsa");
}

QStringList RtMidiBackend::inputPortIds()
{
    try {
        if (!m_inLister)
            m_inLister
                = std::make_unique<RtMidiIn>(rtApi(m_api), (m_clientName + QStringLiteral(" list")).toStdString());
        return portIds(*m_inLister);
    } catch (const RtMidiError &) {
        return {};
    }
}

QStringList RtMidiBackend::outputPortIds()
{
    try {
        if (!m_outLister)
            m_outLister
                = std::make_unique<RtMidiOut>(rtApi(m_api), (m_clientName + QStringLiteral(" list")).toStdString());
        return portIds(*m_outLister);
    } catch (const RtMidiError &) {
        return {};
    }
}

QString RtMidiBackend::productName(const QString &portId) const
{
    return m_api == Api::Jack ? portnames::jackProductName(portId) : portnames::alsaClientName(portId);
}

std::unique_ptr<MidiInputLink> RtMidiBackend::openInput(
    int index, const QString &portId, Receive receive, QString *error)
{
    auto link = std::make_unique<RtInputLink>(std::move(receive));
    if (!link->open(rtApi(m_api), m_clientName, index, portId, error))
        return nullptr;
    return link;
}

std::unique_ptr<MidiOutputLink> RtMidiBackend::openOutput(int index, const QString &portId, QString *error)
{
    auto link = std::make_unique<RtOutputLink>();
    if (!link->open(rtApi(m_api), m_clientName, index, portId, error))
        return nullptr;
    return link;
}

std::unique_ptr<RtMidiBackend> RtMidiBackend::create(const QString &api, const QString &clientName, QString *error)
{
    routeJackMessages();
    Api chosen = Api::Jack;
    if (api == QLatin1String("alsa")) {
        chosen = Api::Alsa;
    } else if (api.isEmpty()) {
        // Without a sequencer device RtMidi's ALSA start only prints errors; skip it.
        if (QFileInfo::exists(QStringLiteral("/dev/snd/seq"))) {
            try {
                RtMidiIn probe(RtMidi::LINUX_ALSA, clientName.toStdString());
                chosen = Api::Alsa;
            } catch (const RtMidiError &) {
            }
        }
    } else if (api != QLatin1String("jack")) {
        *error = QStringLiteral("unknown MIDI system \"%1\" (alsa or jack)").arg(api);
        return nullptr;
    }
    if (chosen == Api::Jack && !jackServerRunning(clientName)) {
        const QString server = QProcessEnvironment::systemEnvironment().value(
            QStringLiteral("JACK_DEFAULT_SERVER"), QStringLiteral("default"));
        *error = api.isEmpty() ? QStringLiteral("no ALSA sequencer, and no JACK server \"%1\" is running").arg(server)
                               : QStringLiteral("no JACK server \"%1\" is running").arg(server);
        return nullptr;
    }
    try {
        RtMidiIn probe(rtApi(chosen), clientName.toStdString());
    } catch (const RtMidiError &e) {
        *error = text(e);
        return nullptr;
    }
    return std::make_unique<RtMidiBackend>(chosen, clientName);
}

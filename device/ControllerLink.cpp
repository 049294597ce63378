#include "device/ControllerLink.h"

#include "device/ReplyParser.h"
#include "model/ControllerIds.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

int lowestIndexNamed(const QMap<int, QString> &ports, const QString &name, int current)
{
    for (auto it = ports.cbegin(); it != ports.cend(); ++it) {
        if (it.value() == name)
            return it.key(); // QMap iterates in index order
    }
    return current;
}

ControllerLink::ControllerLink(MidiBackend *midi, QObject *parent)
    : QObject(parent)
    , m_ports(midi)
    , m_in(m_ports)
    , m_out(m_ports)
{
    connect(this, &ControllerLink::received, this, [this](const QByteArray &m) { m_inbox << m; });
}

ControllerLink::~ControllerLink()
{
    close();
}

bool ControllerLink::open(QString *error)
{
    const QString name = QLatin1String(controllerids::kPortName);
    const int in = lowestIndexNamed(m_ports.midiInDevices(), name, -1);
    const int out = lowestIndexNamed(m_ports.midiOutDevices(), name, -1);
    if (in < 0 || out < 0) {
        *error = QStringLiteral("no controller found (no MIDI %1 port named \"%2\")")
                     .arg(in < 0 ? QStringLiteral("input") : QStringLiteral("output"), name);
        return false;
    }
    // The bytes are valid only during the call: they are copied and handed
    // over through a signal.
    QPointer<ControllerLink> self(this);
    const bool inOpen = m_in.open(unsigned(in), [self](char *data, int len) {
        if (self)
            emit self->received(QByteArray(data, len));
    });
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

bool ControllerLink::request(protocol::Command command, int timeoutMs, QByteArray *reply, QString *error)
{
    m_inbox.clear();
    if (!send(protocol::request(command), error))
        return false;

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto conn = connect(this, &ControllerLink::received, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    timer.start(timeoutMs);

    QString rejected;
    while (true) {
        while (!m_inbox.isEmpty()) {
            const QByteArray message = m_inbox.takeFirst();
            const protocol::Reply parsed = protocol::parseReply(message.constData(), message.size());
            const bool wanted = (command == protocol::ReadSerial && parsed.kind == protocol::Reply::Serial)
                || (command == protocol::ReadSettings && parsed.kind == protocol::Reply::Settings);
            if (wanted) {
                *reply = message;
                disconnect(conn);
                return true;
            }
            if (command == protocol::ReadSettings && parsed.kind == protocol::Reply::Malformed)
                rejected = parsed.reason;
        }
        if (!timer.isActive())
            break;
        loop.exec();
    }
    disconnect(conn);
    if (!rejected.isEmpty())
        *error = QStringLiteral("the controller's reply is not a settings image: %1").arg(rejected);
    else
        *error = QStringLiteral("the controller did not answer within %1 ms").arg(timeoutMs);
    return false;
}

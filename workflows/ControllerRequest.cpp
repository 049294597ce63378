#include "workflows/ControllerRequest.h"

#include "device/ReplyParser.h"

#include <QEventLoop>
#include <QTimer>

ControllerRequest::ControllerRequest(ControllerChannel &channel, protocol::Command command, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_command(command)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ControllerRequest::timedOut);
}

ControllerRequest::~ControllerRequest()
{
    m_channel.removeWaiter(this);
}

bool ControllerRequest::start(int timeoutMs)
{
    m_timeoutMs = timeoutMs;
    m_rejected.clear();
    m_channel.addWaiter(this);
    m_timer->start(timeoutMs);
    QString why;
    m_channel.open(&why);
    m_sent = m_channel.send(protocol::request(m_command), &why);
    if (!m_sent) {
        m_timer->stop();
        m_channel.removeWaiter(this);
        emit failed(why);
    }
    return m_sent;
}

bool ControllerRequest::isWaiting() const
{
    return m_timer->isActive();
}

bool ControllerRequest::take(const QByteArray &message)
{
    const protocol::Reply parsed = protocol::parseReply(message.constData(), message.size());
    const bool wanted = (m_command == protocol::ReadSerial && parsed.kind == protocol::Reply::Serial)
        || (m_command == protocol::ReadSettings && parsed.kind == protocol::Reply::Settings);
    if (!wanted) {
        if (m_command == protocol::ReadSettings && parsed.kind == protocol::Reply::Malformed)
            m_rejected = parsed.reason;
        return false;
    }
    m_timer->stop();
    m_channel.removeWaiter(this);
    emit answered(message);
    return true;
}

void ControllerRequest::timedOut()
{
    m_channel.removeWaiter(this);
    if (!m_rejected.isEmpty())
        emit failed(QStringLiteral("the controller's reply is not a settings image: %1").arg(m_rejected));
    else
        emit failed(QStringLiteral("the controller did not answer within %1 ms").arg(m_timeoutMs));
}

bool ControllerRequest::wait(
    ControllerChannel &channel, protocol::Command command, QByteArray *reply, QString *error, int timeoutMs)
{
    ControllerRequest request(channel, command);
    QEventLoop loop;
    bool ok = false;
    connect(&request, &ControllerRequest::answered, &loop, [&](const QByteArray &answer) {
        *reply = answer;
        ok = true;
        loop.quit();
    });
    connect(&request, &ControllerRequest::failed, &loop, [&](const QString &why) {
        *error = why;
        loop.quit();
    });
    if (request.start(timeoutMs))
        loop.exec();
    return ok;
}

#pragma once

#include "device/ControllerChannel.h"
#include "device/Protocol.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QTimer;

// One request to the controller and its answer within the time limit: the
// complete settings image for ReadSettings, the serial-number reply for
// ReadSerial. The answer is taken from the channel before anyone else sees it.
class ControllerRequest : public QObject, private ControllerChannel::Waiter
{
    Q_OBJECT
public:
    // How long the controller may take to answer.
    static constexpr int kReplyTimeoutMs = 3000;

    ControllerRequest(ControllerChannel &channel, protocol::Command command, QObject *parent = nullptr);
    ~ControllerRequest() override;

    // Opens the channel (open ports stay as they are) and sends the request;
    // a running one starts over. answered() or failed() follows once; when
    // the request could not be sent, failed() has come already and the
    // result is false.
    bool start(int timeoutMs = kReplyTimeoutMs);
    bool isWaiting() const;
    // Whether the last start() got the request out (so a failure is the controller's silence).
    bool wasSent() const { return m_sent; }

    // For programs that wait: starts the request on channel and runs a local
    // event loop until its end.
    static bool wait(ControllerChannel &channel, protocol::Command command, QByteArray *reply, QString *error,
        int timeoutMs = kReplyTimeoutMs);

signals:
    void answered(const QByteArray &reply);
    void failed(const QString &why);

private:
    bool take(const QByteArray &message) override;
    void timedOut();

    ControllerChannel &m_channel;
    const protocol::Command m_command;
    QTimer *m_timer;
    int m_timeoutMs = kReplyTimeoutMs;
    bool m_sent = false;
    QString m_rejected; // why the last malformed settings reply was refused
};

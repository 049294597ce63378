#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The receiving side of YMODEM batch transfers (CRC-16, 128- and 1024-byte
// blocks), as the controller runs it in update mode. It knows nothing of the
// line: feed it what arrives and write back what it returns; call tick() once
// a second so it can ask again and give up on a silent sender.
class YmodemReceiver
{
public:
    enum class State { WaitHeader, WaitData, WaitBatchEnd, Done, Failed };

    struct File {
        QString name;
        QByteArray data;
    };

    // What to write first: the request for a CRC-mode transfer.
    QByteArray start();
    QByteArray feed(const QByteArray &bytes);
    QByteArray tick();

    State state() const { return m_state; }
    bool finished() const { return m_state == State::Done || m_state == State::Failed; }
    QList<File> files() const { return m_files; }
    QString error() const { return m_error; }

    // Limits, in ticks.
    static constexpr int kStartRequests = 60; // how long to wait for a sender
    static constexpr int kIdleLimit = 10; // silence within a transfer

private:
    QByteArray takeBlock(bool *ok);
    QByteArray onHeader(const QByteArray &payload);
    QByteArray onData(int sequence, const QByteArray &payload);
    QByteArray fail(const QString &why);
    void finishFile();

    State m_state = State::WaitHeader;
    QByteArray m_buffer;
    QList<File> m_files;
    File m_current;
    qint64 m_size = -1;
    int m_expected = 1;
    bool m_eotSeen = false;
    bool m_cancelSeen = false;
    int m_idleTicks = 0;
    int m_requests = 0;
    bool m_started = false;
    QString m_error;
};

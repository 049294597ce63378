#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// Fetches one file from the firmware server (ftp, http, https or file URL)
// through libcurl on a worker thread, so a slow server never blocks the
// window. Data, progress and the end arrive as signals on the owner's thread.
class ServerFetch : public QObject
{
    Q_OBJECT
public:
    enum Error { NoError, ConnectionRefused, HostNotFound, LoginRefused, NotFound, Cancelled, OtherError };
    Q_ENUM(Error)

    // Names a CA certificate file that replaces the system's trusted ones
    // for https (a server with a private certificate, a test's own).
    static constexpr const char *kCaFileVariable = "KORVEL_MAVU_FIRMWARE_CA_FILE";

    explicit ServerFetch(QObject *parent = nullptr);
    // Stops a running fetch and waits for its thread.
    ~ServerFetch() override;

    // Starts fetching url; a fetch still running is cancelled and says nothing more.
    void start(const QUrl &url);
    // The running fetch ends with Cancelled (at the latest after about a second).
    void cancel();
    bool isRunning() const { return m_current != nullptr; }

    // The address as it may be logged and shown: without user name and password.
    static QString shown(const QUrl &url);

    struct Transfer; // one fetch, shared with its thread

signals:
    void received(const QByteArray &data);
    void progress(qint64 received, qint64 total);
    // announcedSize: the size the server gave before sending (FTP SIZE,
    // HTTP Content-Length), -1 when it gave none. A transfer that ended
    // short of it still ends with NoError: the caller compares the sizes.
    void finished(ServerFetch::Error error, const QString &errorText, qint64 announcedSize);

private:
    void run(const std::shared_ptr<Transfer> &transfer);
    void reap();

    std::shared_ptr<Transfer> m_current;
    std::vector<std::shared_ptr<Transfer>> m_transfers; // running or done, not yet joined
};

#include "firmware/ServerFetch.h"

#include <QMetaObject>

#include <curl/curl.h>

#include <functional>
#include <mutex>

struct ServerFetch::Transfer {
    QByteArray url; // encoded, with the login
    QByteArray redirectProtocols;
    QByteArray caFile;
    std::atomic_bool cancelled{false};
    std::atomic_bool done{false};
    std::thread thread;
    qint64 reported = -1;
    // Hand data and progress to the owner's thread.
    std::function<void(const QByteArray &)> onData;
    std::function<void(qint64, qint64)> onProgress;
};

namespace {

// Redirects may move an http(s) server; never to another kind of address.
constexpr long kMaxRedirects = 5;

size_t onData(char *data, size_t size, size_t count, void *user)
{
    auto *transfer = static_cast<ServerFetch::Transfer *>(user);
    const size_t bytes = size * count;
    if (transfer->cancelled)
        return 0; // ends the transfer (CURLE_WRITE_ERROR)
    transfer->onData(QByteArray(data, int(bytes)));
    return bytes;
}

int onProgress(void *user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t)
{
    auto *transfer = static_cast<ServerFetch::Transfer *>(user);
    if (transfer->cancelled)
        return 1;
    if (now != transfer->reported) {
        transfer->reported = now;
        transfer->onProgress(now, total > 0 ? total : -1);
    }
    return 0;
}

// The server's own path is absolute: "%2F" keeps libcurl's FTP from taking
// it relative to the login folder.
QByteArray curlUrl(const QUrl &url)
{
    if (url.scheme() != QLatin1String("ftp"))
        return url.toEncoded();
    QUrl root = url;
    root.setPath(QString());
    return root.toEncoded() + "/%2F" + url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1);
}

} // namespace

ServerFetch::ServerFetch(QObject *parent)
    : QObject(parent)
{ }

ServerFetch::~ServerFetch()
{
    m_current.reset();
    for (const auto &transfer : m_transfers)
        transfer->cancelled = true;
    for (const auto &transfer : m_transfers)
        transfer->thread.join();
}

QString ServerFetch::shown(const QUrl &url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

void ServerFetch::start(const QUrl &url)
{
    cancel();
    reap();
    auto transfer = std::make_shared<Transfer>();
    transfer->url = curlUrl(url);
    transfer->redirectProtocols = url.scheme() == QLatin1String("https") ? "https" : "http,https";
    transfer->caFile = qgetenv(kCaFileVariable);
    // Queued to this object: dropped with it, and unheard once replaced.
    Transfer *key = transfer.get();
    transfer->onData = [this, key](const QByteArray &data) {
        QMetaObject::invokeMethod(
            this,
            [this, key, data] {
                if (m_current.get() == key)
                    emit received(data);
            },
            Qt::QueuedConnection);
    };
    transfer->onProgress = [this, key](qint64 now, qint64 total) {
        QMetaObject::invokeMethod(
            this,
            [this, key, now, total] {
                if (m_current.get() == key)
                    emit progress(now, total);
            },
            Qt::QueuedConnection);
    };
    m_current = transfer;
    m_transfers.push_back(transfer);
    // At the first transfer, not at start: curl readies its TLS library
    // (megabytes) for a window that may never fetch anything.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    transfer->thread = std::thread([this, transfer] { run(transfer); });
}

void ServerFetch::cancel()
{
    if (!m_current)
        return;
    m_current->cancelled = true;
    m_current.reset(); // whatever it still says is not heard
}

void ServerFetch::reap()
{
    for (auto it = m_transfers.begin(); it != m_transfers.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = m_transfers.erase(it);
        } else {
            ++it;
        }
    }
}

void ServerFetch::run(const std::shared_ptr<Transfer> &transfer)
{
    char message[CURL_ERROR_SIZE] = {};
    CURL *curl = curl_easy_init();
    CURLcode code = CURLE_FAILED_INIT;
    long status = 0;
    curl_off_t announced = -1;
    if (curl) {
        curl_easy_setopt(curl, CURLOPT_URL, transfer->url.constData());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp,http,https,file");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, transfer->redirectProtocols.constData());
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
        curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, transfer.get());
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer.get());
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        if (!transfer->caFile.isEmpty()) {
            curl_easy_setopt(curl, CURLOPT_CAINFO, transfer->caFile.constData());
            curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
        }
        code = curl_easy_perform(curl);
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        curl_easy_cleanup(curl);
    }

    Error error = OtherError;
    switch (code) {
    case CURLE_OK:
    case CURLE_PARTIAL_FILE: // cut short: the size check says so
        error = NoError;
        break;
    case CURLE_COULDNT_CONNECT:
        error = ConnectionRefused;
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        error = HostNotFound;
        break;
    case CURLE_LOGIN_DENIED:
        error = LoginRefused;
        break;
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FILE_COULDNT_READ_FILE:
    case CURLE_FTP_COULDNT_RETR_FILE:
        error = NotFound;
        break;
    case CURLE_HTTP_RETURNED_ERROR:
        error = status == 404 || status == 410 ? NotFound : status == 401 || status == 403 ? LoginRefused : OtherError;
        break;
    default:
        break;
    }
    if (transfer->cancelled)
        error = Cancelled;
    QString text = QString::fromUtf8(message).trimmed();
    if (text.isEmpty() && code != CURLE_OK)
        text = QString::fromUtf8(curl_easy_strerror(code));
    const qint64 size = announced;
    Transfer *key = transfer.get();
    QMetaObject::invokeMethod(
        this,
        [this, key, error, text, size] {
            if (m_current.get() != key)
                return;
            m_current.reset();
            reap();
            emit finished(error, text, size);
        },
        Qt::QueuedConnection);
    transfer->done = true;
}

#include "firmware/MyFtp.h"

#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareLog.h"
#include "firmware/FirmwareVersion.h"
#include "model/UserPrompt.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

using namespace firmwareserver;

MyFtp::MyFtp(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_watchdog(new QTimer(this))
{
    m_watchdog->setSingleShot(true);
    m_watchdog->setInterval(kDefaultTimeoutMs);
    connect(m_watchdog, &QTimer::timeout, this, &MyFtp::requestTimedOut);
}

MyFtp::~MyFtp()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        delete m_reply;
    }
    discardOutputFile();
}

void MyFtp::setDeviceConnected(bool connected)
{
    m_deviceConnected = connected;
}

void MyFtp::setCurrentVersion(QString version)
{
    m_currentVersion = version;
}

void MyFtp::setServer(const Address &address)
{
    m_server = address;
}

bool MyFtp::setServer(const QString &text, QString *error)
{
    Address address;
    if (!parseAddress(text, &address, error))
        return false;
    m_server = address;
    return true;
}

void MyFtp::setRequestTimeout(int ms)
{
    m_watchdog->setInterval(ms);
}

QString MyFtp::downloadFolder() const
{
    if (!m_downloadFolder.isEmpty())
        return m_downloadFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation);
}

void MyFtp::setDownloadFolder(const QString &folder)
{
    m_downloadFolder = folder;
}

QString MyFtp::lastDownloaded() const
{
    return firmwarefile::newestVerified(downloadFolder());
}

void MyFtp::checkOnLineFirmware()
{
    m_buffer.clear();
    if (!m_deviceConnected) {
        notify(tr("请先连接设备"));
        return;
    }
    if (m_currentVersion.isEmpty()) {
        notify(tr("获取当前版本号失败"));
        return;
    }
    emit showDialog();
    m_checkCancelled = false;
    QTimer::singleShot(kDescribeDelayMs, this, &MyFtp::fetchDescription);
    qCInfo(lcFirmware) << "download describe";
}

void MyFtp::downloadFir()
{
    if (!m_deviceConnected) {
        notify(tr("请先连接设备"));
        // The controller left after the offer: the waiting dialog must hear of it.
        fail(tr("The controller is not connected."));
        return;
    }
    startRequest(RequestFirmware);
}

void MyFtp::fetchDescription()
{
    if (!m_checkCancelled)
        startRequest(RequestDescription);
}

void MyFtp::cancelCheck()
{
    m_checkCancelled = true;
    if (m_reply && m_requestKind == RequestDescription) {
        qCDebug(lcFirmware) << "firmware check cancelled";
        releaseReply(true);
    }
}

void MyFtp::notify(const QString &text)
{
    if (m_prompt)
        m_prompt->information(tr("提示"), text);
}

void MyFtp::startRequest(RequestKind kind)
{
    if (m_reply) {
        // One request at a time: a new one replaces whatever still runs.
        qCDebug(lcFirmware) << "firmware request replaced by a new one";
        releaseReply(true);
        discardOutputFile();
    }
    m_requestKind = kind;
    m_abortReason.clear();
    const QUrl url = kind == RequestDescription ? descriptionUrl(m_server) : firmwareUrl(m_server, m_firmwareInfo.name);
    qCDebug(lcFirmware) << "url:" << url.toString(QUrl::RemoveUserInfo);

    if (kind == RequestDescription) {
        m_buffer.clear();
    } else {
        if (!m_offered) {
            qCDebug(lcFirmware) << "no firmware offered to download:" << m_firmwareInfo.name;
            fail(tr("No firmware has been offered for download."));
            return;
        }
        if (!openOutputFile()) {
            qCDebug(lcFirmware) << "openOutputFile fail";
            fail(tr("The firmware file cannot be stored in %1.").arg(QDir::toNativeSeparators(downloadFolder())));
            return;
        }
    }

    // A cached control connection may be long dead (server restarted, link
    // changed) and would only time out: log in afresh for every request.
    m_manager->clearConnectionCache();
    m_reply = m_manager->get(QNetworkRequest(url));
    connect(m_reply, &QNetworkReply::readyRead, this, &MyFtp::httpReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &MyFtp::httpFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, m_watchdog, qOverload<>(&QTimer::start));
    m_watchdog->start();
}

bool MyFtp::openOutputFile()
{
    const QString folder = downloadFolder();
    const QString path = folder + QLatin1Char('/') + m_firmwareInfo.name;
    qCDebug(lcFirmware) << path;
    if (!QDir().mkpath(folder))
        return false;
    // Written beside the target and renamed only once complete and verified,
    // so a failed download leaves no partial file and keeps an older copy.
    m_file.reset(new QSaveFile(path));
    m_hash.reset();
    m_received = 0;
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return false;
    }
    return true;
}

void MyFtp::discardOutputFile()
{
    if (!m_file)
        return;
    m_file->cancelWriting();
    m_file.reset(); // the unfinished temporary file is removed with it
}

void MyFtp::releaseReply(bool abortIt)
{
    m_watchdog->stop();
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    disconnect(reply, nullptr, m_watchdog, nullptr);
    if (abortIt)
        reply->abort();
    reply->close();
    reply->deleteLater();
}

void MyFtp::fail(const QString &reason)
{
    qCDebug(lcFirmware) << "firmware request failed:" << reason;
    emit failed(reason);
}

void MyFtp::requestTimedOut()
{
    if (!m_reply)
        return;
    m_abortReason = tr("The firmware server did not answer in time.");
    m_reply->abort(); // finishes the reply; httpFinished reports
}

void MyFtp::httpReadyRead()
{
    if (!m_reply)
        return;
    const QByteArray data = m_reply->readAll();
    if (m_requestKind == RequestDescription) {
        m_buffer += data;
        if (m_buffer.size() > kDescriptionLimit) {
            m_abortReason = tr("The firmware description is too large.");
            m_reply->abort();
            return;
        }
    } else if (m_file) {
        if (m_file->write(data) != data.size()) {
            m_abortReason = tr("The firmware file could not be written: %1").arg(m_file->errorString());
            m_reply->abort();
            return;
        }
        m_hash.addData(data);
        m_received += data.size();
    }
    qCDebug(lcFirmware) << "httpReadyRead";
}

QString MyFtp::errorReason(int error) const
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return tr("The firmware server refused the connection.");
    case QNetworkReply::HostNotFoundError:
        return tr("The firmware server was not found.");
    case QNetworkReply::AuthenticationRequiredError:
        return tr("The firmware server refused the login.");
    case QNetworkReply::ContentNotFoundError:
        return m_requestKind == RequestDescription ? tr("The firmware server has no firmware description.")
                                                   : tr("The firmware file is not on the server.");
    default:
        return tr("The firmware server could not be reached: %1")
            .arg(withoutLogin(m_reply ? m_reply->errorString() : QString()));
    }
}

void MyFtp::httpFinished()
{
    QNetworkReply *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply || reply != m_reply)
        return; // a replaced request
    const QNetworkReply::NetworkError error = reply->error();
    const char *errorName = QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error);
    qCDebug(lcFirmware) << "httpFinished" << (errorName ? errorName : "?");

    if (error != QNetworkReply::NoError || !m_abortReason.isEmpty()) {
        if (error == QNetworkReply::ConnectionRefusedError)
            qCDebug(lcFirmware) << "httpFinished ConnectionRefusedError";
        else if (error == QNetworkReply::HostNotFoundError)
            qCDebug(lcFirmware) << "httpFinished HostNotFoundError";
        else if (error == QNetworkReply::AuthenticationRequiredError)
            qCDebug(lcFirmware) << "httpFinished AuthenticationRequiredError";
        else
            qCDebug(lcFirmware) << "httpFinished other Error";
        const QString reason = m_abortReason.isEmpty() ? errorReason(error) : m_abortReason;
        releaseReply(false);
        discardOutputFile();
        fail(reason);
        return;
    }

    if (m_requestKind == RequestDescription) {
        releaseReply(false);
        descriptionReceived();
    } else {
        // Take what is still buffered before the reply goes.
        if (reply->bytesAvailable() > 0)
            httpReadyRead();
        // The size the server announced (SIZE) before sending; a server may cut
        // the data short and still report the transfer complete.
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        releaseReply(false);
        firmwareReceived(announced.isValid() ? announced.toLongLong() : -1);
    }
}

void MyFtp::descriptionReceived()
{
    QString reason;
    const ParseResult parsed = parseDescription(m_buffer, &m_firmwareInfo, &reason);
    m_offered = false;
    if (parsed == ParseResult::NotObject)
        qCDebug(lcFirmware) << "document is not object";
    if (parsed != ParseResult::Ok) {
        fail(reason);
        return;
    }
    qCDebug(lcFirmware) << "====" << m_firmwareInfo.name << m_firmwareInfo.ver << m_firmwareInfo.infoList;

    bool comparable = false;
    const bool newer = firmwareversion::isNewer(m_currentVersion, m_firmwareInfo.ver, &comparable);
    if (!comparable) {
        qCDebug(lcFirmware) << "versions not comparable:" << m_currentVersion << m_firmwareInfo.ver;
        fail(tr("The firmware versions \"%1\" and \"%2\" cannot be compared.")
                 .arg(m_currentVersion, m_firmwareInfo.ver));
        return;
    }
    if (!isPlainFileName(m_firmwareInfo.name)) {
        qCDebug(lcFirmware) << "firmware name is not a plain file name:" << m_firmwareInfo.name;
        if (newer) {
            fail(tr("The firmware server offers an invalid file name."));
            return;
        }
    } else {
        m_offered = true;
    }
    if (newer)
        emit info(m_firmwareInfo.name, m_firmwareInfo.ver, m_firmwareInfo.infoList);
    else
        emit info(QStringLiteral("null"), QString(), QStringList());
}

void MyFtp::firmwareReceived(qint64 announcedSize)
{
    if (!m_file) {
        fail(tr("The firmware file could not be stored."));
        return;
    }
    QString mismatch;
    if (announcedSize >= 0 && m_received != announcedSize)
        mismatch = tr("The firmware file has %1 bytes instead of %2.").arg(m_received).arg(announcedSize);
    else if (m_firmwareInfo.size >= 0 && m_received != m_firmwareInfo.size)
        mismatch = tr("The firmware file has %1 bytes instead of %2.").arg(m_received).arg(m_firmwareInfo.size);
    else if (!m_firmwareInfo.sha256.isEmpty() && m_hash.result().toHex() != m_firmwareInfo.sha256)
        mismatch = tr("The firmware file does not match its checksum.");
    if (!mismatch.isEmpty()) {
        qCDebug(lcFirmware) << "downloaded firmware rejected:" << mismatch;
        discardOutputFile();
        fail(mismatch);
        return;
    }
    const QString path = m_file->fileName();
    // commit() does not notice a failed flush of the buffer (a full disk) and
    // would store a cut-off firmware as complete: flush first.
    if (!m_file->flush() || !m_file->commit()) {
        const QString why = m_file->errorString();
        discardOutputFile();
        qCDebug(lcFirmware) << "openOutputFile fail" << why;
        fail(tr("The firmware file could not be stored: %1").arg(why));
        return;
    }
    m_file.reset();
    firmwarefile::remember(path, m_firmwareInfo);
    emit downloadComplete(QFileInfo(path).absoluteFilePath());
}

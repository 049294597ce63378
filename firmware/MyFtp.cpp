#include "firmware/MyFtp.h"

#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareLog.h"
#include "firmware/FirmwareVersion.h"
#include "model/UserPrompt.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

using namespace firmwareserver;

MyFtp::MyFtp(QObject *parent)
    : QObject(parent)
    , m_fetch(new ServerFetch(this))
    , m_watchdog(new QTimer(this))
{
    connect(m_fetch, &ServerFetch::received, this, &MyFtp::httpReadyRead);
    connect(m_fetch, &ServerFetch::finished, this, &MyFtp::httpFinished);
    connect(m_fetch, &ServerFetch::progress, m_watchdog, qOverload<>(&QTimer::start));
    m_watchdog->setSingleShot(true);
    m_watchdog->setInterval(kDefaultTimeoutMs);
    connect(m_watchdog, &QTimer::timeout, this, &MyFtp::requestTimedOut);
}

MyFtp::~MyFtp()
{
    m_fetch->cancel();
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
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
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
    if (m_fetch->isRunning() && m_requestKind == RequestDescription) {
        qCDebug(lcFirmware) << "firmware check cancelled";
        m_watchdog->stop();
        m_fetch->cancel();
    }
}

void MyFtp::notify(const QString &text)
{
    if (m_prompt)
        m_prompt->information(tr("提示"), text);
}

void MyFtp::startRequest(RequestKind kind)
{
    if (m_fetch->isRunning()) {
        // One request at a time: a new one replaces whatever still runs.
        qCDebug(lcFirmware) << "firmware request replaced by a new one";
        m_watchdog->stop();
        m_fetch->cancel();
        discardOutputFile();
    }
    m_requestKind = kind;
    const QUrl url = kind == RequestDescription ? descriptionUrl(m_server) : firmwareUrl(m_server, m_firmwareInfo.name);
    qCDebug(lcFirmware) << "url:" << ServerFetch::shown(url);

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

    m_fetch->start(url);
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

void MyFtp::stopRequest(const QString &reason)
{
    m_watchdog->stop();
    m_fetch->cancel();
    discardOutputFile();
    fail(reason);
}

void MyFtp::fail(const QString &reason)
{
    qCDebug(lcFirmware) << "firmware request failed:" << reason;
    emit failed(reason);
}

void MyFtp::requestTimedOut()
{
    if (m_fetch->isRunning())
        stopRequest(tr("The firmware server did not answer in time."));
}

void MyFtp::httpReadyRead(const QByteArray &data)
{
    m_watchdog->start();
    if (m_requestKind == RequestDescription) {
        m_buffer += data;
        if (m_buffer.size() > kDescriptionLimit)
            stopRequest(tr("The firmware description is too large."));
        return;
    }
    if (!m_file)
        return;
    if (m_file->write(data) != data.size()) {
        stopRequest(tr("The firmware file could not be written: %1").arg(m_file->errorString()));
        return;
    }
    m_hash.addData(data);
    m_received += data.size();
}

QString MyFtp::errorReason(ServerFetch::Error error, const QString &errorText) const
{
    switch (error) {
    case ServerFetch::ConnectionRefused:
        return tr("The firmware server refused the connection.");
    case ServerFetch::HostNotFound:
        return tr("The firmware server was not found.");
    case ServerFetch::LoginRefused:
        return tr("The firmware server refused the login.");
    case ServerFetch::NotFound:
        return m_requestKind == RequestDescription ? tr("The firmware server has no firmware description.")
                                                   : tr("The firmware file is not on the server.");
    default:
        return tr("The firmware server could not be reached: %1").arg(withoutLogin(errorText));
    }
}

void MyFtp::httpFinished(ServerFetch::Error error, const QString &errorText, qint64 announcedSize)
{
    m_watchdog->stop();
    const char *errorName = QMetaEnum::fromType<ServerFetch::Error>().valueToKey(error);
    qCDebug(lcFirmware) << "httpFinished" << (errorName ? errorName : "?") << errorText;

    if (error != ServerFetch::NoError) {
        if (error == ServerFetch::ConnectionRefused)
            qCDebug(lcFirmware) << "httpFinished ConnectionRefusedError";
        else if (error == ServerFetch::HostNotFound)
            qCDebug(lcFirmware) << "httpFinished HostNotFoundError";
        else if (error == ServerFetch::LoginRefused)
            qCDebug(lcFirmware) << "httpFinished AuthenticationRequiredError";
        else
            qCDebug(lcFirmware) << "httpFinished other Error";
        discardOutputFile();
        fail(errorReason(error, errorText));
        return;
    }
    if (m_requestKind == RequestDescription)
        descriptionReceived();
    else
        firmwareReceived(announcedSize);
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

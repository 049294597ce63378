#include "LocalFtpServer.h"

#include "firmware/FirmwareServer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

LocalFtpServer::LocalFtpServer(const QString &password)
    : m_password(password)
{
    QDir().mkpath(folder());
}

LocalFtpServer::~LocalFtpServer()
{
    stop();
}

QString LocalFtpServer::folder() const
{
    return m_root.path() + QLatin1String(firmwareserver::kFolderPath);
}

bool LocalFtpServer::start(QString *error)
{
    // A second try covers a start lost to a busy machine; the reason of the
    // last failure is kept.
    QString reason;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (startOnce(&reason))
            return true;
        qWarning("%s", qPrintable(reason));
        stop();
    }
    if (error)
        *error = reason;
    return false;
}

bool LocalFtpServer::startOnce(QString *error)
{
    // Its log goes to a file: an unread pipe could stall it.
    m_process.setStandardErrorFile(logPath());
    m_process.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(MAVU_FTP_SERVER_SCRIPT), QStringLiteral("--root"), m_root.path(), QStringLiteral("--password"),
            m_password});
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    while (timer.elapsed() < 15000 && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(200);
        out += m_process.readAllStandardOutput();
        const int at = out.indexOf("PORT ");
        const int end = out.indexOf('\n', at);
        if (at >= 0 && end > at) {
            m_port = out.mid(at + 5, end - at - 5).trimmed().toInt();
            return m_port > 0;
        }
    }
    out += m_process.readAllStandardOutput();
    {
        *error = QStringLiteral("the FTP server did not start (%1, exit %2, %3 ms): %4 %5")
                     .arg(m_process.errorString())
                     .arg(m_process.exitCode())
                     .arg(timer.elapsed())
                     .arg(QString::fromLocal8Bit(out),
                         QString::fromLocal8Bit(testsupport::readAll(logPath()).right(2000)));
    }
    return false;
}

void LocalFtpServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel(); // the server exits when its input closes
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString LocalFtpServer::logPath() const
{
    return m_root.filePath(QStringLiteral("server.log"));
}

QString LocalFtpServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

void LocalFtpServer::put(const QString &name, const QByteArray &content)
{
    testsupport::writeAll(folder() + name, content);
}

void LocalFtpServer::remove(const QString &name)
{
    QFile::remove(folder() + name);
}

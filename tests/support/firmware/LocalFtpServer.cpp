#include "support/firmware/LocalFtpServer.h"

#include "firmware/FirmwareServer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

LocalFtpServer::LocalFtpServer(const QString &password, const QString &script)
    : m_password(password)
    , m_script(script)
{
    QDir().mkpath(folder());
}

QString LocalFtpServer::folder() const
{
    return m_root.path() + QLatin1String(firmwareserver::kFolderPath);
}

bool LocalFtpServer::start(QString *error)
{
    // A second try covers a start lost to a busy machine.
    QString reason;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Its log goes to a file: an unread pipe could stall it.
        m_process.setStandardErrorFile(m_root.filePath(QStringLiteral("server.log")));
        QStringList args{m_script, QStringLiteral("--root"), m_root.path(), QStringLiteral("--password"), m_password};
        if (isHttps())
            args << QStringLiteral("--cert-dir") << m_root.path();
        m_process.start(QStringLiteral("/usr/bin/python3"), args);
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000 && m_process.state() != QProcess::NotRunning && !out.contains('\n')) {
            m_process.waitForReadyRead(200);
            out += m_process.readAllStandardOutput();
        }
        if (out.startsWith("PORT ") && (m_port = out.mid(5).trimmed().toInt()) > 0)
            return true;
        reason = QStringLiteral("the test server did not start (%1): %2 %3")
                     .arg(m_process.errorString(), QString::fromLocal8Bit(out),
                         QString::fromLocal8Bit(testsupport::readAll(m_root.filePath(QStringLiteral("server.log")))));
        qWarning("%s", qPrintable(reason));
        stop();
    }
    if (error)
        *error = reason;
    return false;
}

QString LocalFtpServer::address() const
{
    if (isHttps())
        return QStringLiteral("https://127.0.0.1:%1%2").arg(m_port).arg(QLatin1String(firmwareserver::kFolderPath));
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
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

void LocalFtpServer::put(const QString &name, const QByteArray &content)
{
    testsupport::writeAll(folder() + name, content);
}

#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// pyftpdlib serving a private folder on 127.0.0.1 with the firmware login;
// the folder holds the firmware directory the client asks for.
class LocalFtpServer
{
public:
    static constexpr const char *kLogin = "qwelkrnvotx"; // the editor's
    // script: ftp_server.py, or faulty_ftp_server.py for a server that fails.
    explicit LocalFtpServer(const QString &password = QLatin1String(kLogin),
        const QString &script = QStringLiteral(MAVU_FTP_SERVER_SCRIPT));
    ~LocalFtpServer() { stop(); }

    bool start(QString *error = nullptr);
    void stop();
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // A file in the firmware folder (describe1.json and the firmware files).
    void put(const QString &name, const QByteArray &content);
    QString folder() const;

private:
    QString m_password;
    QString m_script;
    QTemporaryDir m_root;
    QProcess m_process;
    int m_port = 0;
};

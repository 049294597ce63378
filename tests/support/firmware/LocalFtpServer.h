#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// pyftpdlib serving a private folder on 127.0.0.1 with the firmware login;
// the folder holds the firmware directory the client asks for. With
// https_server.py: Python's HTTPS server on a certificate of its own.
class LocalFtpServer
{
public:
    static constexpr const char *kLogin = "qwelkrnvotx"; // the editor's
    // script: ftp_server.py, faulty_ftp_server.py for a server that fails,
    // or https_server.py.
    explicit LocalFtpServer(const QString &password = QLatin1String(kLogin),
        const QString &script = QStringLiteral(MAVU_FTP_SERVER_SCRIPT));
    ~LocalFtpServer() { stop(); }

    bool start(QString *error = nullptr);
    void stop();
    int port() const { return m_port; }
    QString address() const;
    // The certificate to trust (https only): KORVEL_MAVU_FIRMWARE_CA_FILE.
    QString caFile() const { return m_root.filePath(QStringLiteral("cert.pem")); }

    // A file in the firmware folder (describe1.json and the firmware files).
    void put(const QString &name, const QByteArray &content);
    QString folder() const;

private:
    bool isHttps() const { return m_script == QLatin1String(MAVU_HTTPS_SERVER_SCRIPT); }

    QString m_password;
    QString m_script;
    QTemporaryDir m_root;
    QProcess m_process;
    int m_port = 0;
};

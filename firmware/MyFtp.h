#pragma once

#include "firmware/FirmwareServer.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QTimer;
class UserPrompt;

// Asks the firmware server whether a newer firmware exists and downloads it.
// QML knows it as "Ftp".
class MyFtp : public QObject
{
    Q_OBJECT
public:
    enum RequestKind { RequestDescription = 0, RequestFirmware = 1 };

    static constexpr int kDescribeDelayMs = 50;
    static constexpr int kDefaultTimeoutMs = firmwareserver::kAnswerLimitMs;
    static constexpr int kDescriptionLimit = 1 << 20;

    explicit MyFtp(QObject *parent = nullptr);
    ~MyFtp() override;

    // Who is told that the check cannot start (not owned; none: nobody).
    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; }
    void setDeviceConnected(bool connected);
    void setCurrentVersion(QString version);
    QString currentVersion() const { return m_currentVersion; }

    void setServer(const firmwareserver::Address &address);
    // "HOST[:PORT]" or "ftp://HOST[:PORT]"; false (server unchanged) when malformed.
    bool setServer(const QString &text, QString *error = nullptr);
    firmwareserver::Address server() const { return m_server; }

    // Gives up on a request that has not moved for this long.
    void setRequestTimeout(int ms);

    // Where downloads go (default: the application's data folder).
    QString downloadFolder() const;
    void setDownloadFolder(const QString &folder);
    // The newest file there that still matches the description it was
    // verified against when downloaded. Empty when none does.
    QString lastDownloaded() const;

    const firmwareserver::FirmwareInfo &firmwareInfo() const { return m_firmwareInfo; }
    bool isBusy() const { return m_reply != nullptr; }

public slots:
    void checkOnLineFirmware();
    void downloadFir();
    // Gives up a running check (not a download): it then reports nothing.
    void cancelCheck();

signals:
    void showDialog();
    void info(QString name, QString ver, QStringList infoList);
    void downloadComplete(QString filePath);
    // A check or download that cannot finish; the reason is for the user.
    void failed(QString reason);

private slots:
    void fetchDescription();
    void httpReadyRead();
    void httpFinished();
    void requestTimedOut();

private:
    void startRequest(RequestKind kind);
    bool openOutputFile();
    void releaseReply(bool abortIt);
    void discardOutputFile();
    void fail(const QString &reason);
    void notify(const QString &text);
    void descriptionReceived();
    void firmwareReceived(qint64 announcedSize);
    QString errorReason(int error) const;

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QSaveFile> m_file;
    RequestKind m_requestKind = RequestDescription;
    QByteArray m_buffer;
    QString m_currentVersion;
    bool m_deviceConnected = false;
    firmwareserver::FirmwareInfo m_firmwareInfo;
    bool m_offered = false;
    bool m_checkCancelled = false;
    firmwareserver::Address m_server;
    QString m_downloadFolder;
    QTimer *m_watchdog = nullptr;
    UserPrompt *m_prompt = nullptr;
    QString m_abortReason; // why we aborted the running request ourselves
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_received = 0;
};

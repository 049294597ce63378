#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;
class UserPrompt;

// Keeps the controller's settings across a firmware update: reads and stores
// them before the update-mode command, and once the updated controller is
// back compares its settings with them and offers to write them back. The
// same steps serve the editor and mavuctl; each brings its own way to talk
// to the controller and to ask the user.
class SettingsSafeguard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kReadTimeoutMs = 3000;

    explicit SettingsSafeguard(QObject *parent = nullptr);

    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; } // not owned

    // Before the update-mode command. `request` sends the read request and
    // says why when it cannot; the reply comes through takeSettings(). Ends
    // with ready(true) (stored, or the user agreed to go on without a backup)
    // or ready(false).
    void backUp(const QString &serial, const std::function<bool(QString *why)> &request);
    // A complete settings image from the controller; true when it answered
    // the backup's read, and so is not the editor's.
    bool takeSettings(const QByteArray &image);
    QString backupPath() const { return m_path; }

    // The update succeeded: the next settings compared are the returned controller's.
    void expectReturn();
    // Where they differ from the backup, offers to write the backup back.
    // True when the settings came through unchanged.
    bool compareOnReturn(const QByteArray &image);

signals:
    void ready(bool proceed);
    // The user wants the backup back on the controller: this image, with the
    // controller's own header and version.
    void restore(const QByteArray &image);

private:
    void readFailed(const QString &why);

    UserPrompt *m_prompt = nullptr;
    QTimer *m_timer;
    QString m_serial;
    QString m_path;
    QByteArray m_backup;
    bool m_expectReturn = false;
};

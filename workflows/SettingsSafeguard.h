#pragma once

#include "workflows/ControllerRequest.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class ControllerChannel;
class UserPrompt;

// Keeps the controller's settings across a firmware update: reads and stores
// them before the update-mode command, and once the updated controller is
// back compares its settings with them and offers to write them back.
class SettingsSafeguard : public QObject
{
    Q_OBJECT
public:
    explicit SettingsSafeguard(ControllerChannel &channel, QObject *parent = nullptr);

    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; } // not owned
    // Where backups go (default: settingsbackup::defaultFolder()).
    void setFolder(const QString &folder) { m_folder = folder; }

    // Before the update-mode command: reads the settings on the channel and
    // stores them, named after serial (empty: not known). Ends with
    // ready(true) (stored, or the user agreed to go on without a backup) or
    // ready(false).
    void backUp(const QString &serial);
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
    void store(const QByteArray &image);
    void readFailed(const QString &why);

    UserPrompt *m_prompt = nullptr;
    ControllerRequest m_read;
    QString m_folder;
    QString m_serial;
    QString m_path;
    QByteArray m_backup;
    bool m_expectReturn = false;
};

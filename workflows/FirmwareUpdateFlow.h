#pragma once

#include "workflows/ControllerRequest.h"
#include "workflows/SettingsSafeguard.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class ControllerChannel;
class FirmwareUpdate;
class UserPrompt;

// A firmware update as the editor and mavuctl both run it, on whatever road
// the file came: the controller's settings saved, the update-mode command,
// the file sent to its update port by FirmwareUpdate, and once the updated
// controller is back its settings compared with those saved and offered back.
// Every road starts here, so what is checked or asked before an update is
// checked or asked once.
class FirmwareUpdateFlow : public QObject
{
    Q_OBJECT
public:
    // The update-mode command leaves before the ports close; the controller restarts anyway.
    static constexpr int kCommandLeadMs = 1000;
    // How long a program that does not watch the controller waits for its return.
    static constexpr int kReturnWaitMs = 30000;
    static constexpr int kReturnLookMs = 250;

    enum class Return { NotBack, Unchanged, Changed };
    Q_ENUM(Return)

    FirmwareUpdateFlow(ControllerChannel &channel, FirmwareUpdate &update, QObject *parent = nullptr);

    // Who is asked about the backup and told of a file that cannot be sent (not owned).
    void setPrompt(UserPrompt *prompt);
    // Without a backup no settings are read, compared or offered back.
    void setBackUp(bool backUp) { m_backUp = backUp; }
    // The data folder whose "backups" take the settings (default: the real one).
    void setDataFolder(const QString &folder);
    FirmwareUpdate &update() const { return m_update; }

    // The file at path to the controller: with its MIDI ports there, its
    // settings saved (named after serial, empty when not known) and the
    // update-mode command; without them, as after the command, for the
    // controller may be in its loader already. A file that cannot be sent
    // (firmwarefile::checkToSend) is refused first, on every road.
    void start(const QString &path, const QString &serial = QString());
    // The controller is in its loader: its update port, now.
    void startInUpdateMode(const QString &path);
    // From start until the transfer ends or the user declines.
    bool isBusy() const { return m_busy; }
    // The program is to end: an update whose command has not gone out is
    // not begun; a transfer ends by itself (done, or given up within its
    // limits). finished() follows once nothing runs.
    void stop();
    QString backupPath() const { return m_safeguard.backupPath(); }

    // The controller's settings as it reports them, for a program that
    // reads them anyway when the controller comes: after a successful
    // update they are held against the backup. True when unchanged.
    bool compareOnReturn(const QByteArray &image);
    // For a program that does not watch the controller come and go: looks
    // for it until it is back (at most kReturnWaitMs), reads its settings and
    // compares them; returned() follows.
    void awaitReturn();

signals:
    // The settings were saved, before the update-mode command.
    void backedUp(const QString &path);
    // The controller is there but the update-mode command did not go out.
    void commandFailed(const QString &why);
    // The user wants the backup back on the controller.
    void restore(const QByteArray &image);
    void returned(FirmwareUpdateFlow::Return how);
    // The file cannot be sent: nothing reached the controller.
    void refused(const QString &why);
    // The update no longer runs (isBusy() is false).
    void finished();

private:
    bool accept(const QString &path);
    void sendCommand();
    void lookForReturn();
    void end();

    ControllerChannel &m_channel;
    FirmwareUpdate &m_update;
    SettingsSafeguard m_safeguard;
    ControllerRequest m_returnRead;
    QTimer m_returnLook;
    QDeadlineTimer m_returnDeadline;
    QString m_path;
    UserPrompt *m_prompt = nullptr;
    bool m_backUp = true;
    bool m_busy = false;
    bool m_stopping = false;
};

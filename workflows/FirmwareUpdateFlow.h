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

    // Who is asked about the backup (not owned).
    void setPrompt(UserPrompt *prompt);
    // Without a backup no settings are read, compared or offered back.
    void setBackUp(bool backUp) { m_backUp = backUp; }
    FirmwareUpdate &update() const { return m_update; }

    // The file at path to the controller: with its MIDI ports there, its
    // settings saved (named after serial, empty when not known) and the
    // update-mode command; without them, as after the command, for the
    // controller may be in its loader already.
    void start(const QString &path, const QString &serial = QString());
    // The controller is in its loader: its update port, now.
    void startInUpdateMode(const QString &path);
    // From start until the transfer ends or the user declines.
    bool isBusy() const { return m_busy; }
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

private:
    void sendCommand();
    void lookForReturn();

    ControllerChannel &m_channel;
    FirmwareUpdate &m_update;
    SettingsSafeguard m_safeguard;
    ControllerRequest m_returnRead;
    QTimer m_returnLook;
    QDeadlineTimer m_returnDeadline;
    QString m_path;
    bool m_backUp = true;
    bool m_busy = false;
};

#pragma once

#include "app/ControllerPorts.h"
#include "app/ScreenScale.h"
#include "model/ControlHit.h"
#include "model/ControllerHistory.h"
#include "workflows/ControllerRequest.h"

#include <QByteArray>
#include <QMainWindow>
#include <QString>

class DataManagement;
class EditHistory;
class EditSession;
class MidiBackend;
class PresetDocument;
class SystemCheckBox;
class UserPrompt;

// What the program hands the editor: the MIDI system (it outlives the
// editor), the update port it names, the firmware server and the data
// folder for downloads and backups (empty: the real one), and what must
// happen before the window is made (the pages are compiled by then).
struct EditorSetup {
    explicit EditorSetup(MidiBackend *midi, QString updatePort = QString(), QString firmwareServer = QString(),
        QString dataFolder = QString())
        : midi(midi)
        , updatePort(std::move(updatePort))
        , firmwareServer(std::move(firmwareServer))
        , dataFolder(std::move(dataFolder))
    { }

    MidiBackend *midi;
    QString updatePort;
    QString firmwareServer;
    QString dataFolder;
};

// The hidden window behind the QML page, which QML calls "MainLogic": it
// carries the editor's conversation with the controller and tells the page
// how it goes. Kept at the QML window's place, it also finds the screen the
// page is on.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    // The controller's serial number as last reported (for the About box built later).
    Q_PROPERTY(QString serialNumber MEMBER m_serial NOTIFY s_snNum)
public:
    // The settings it exchanges, and the document whose work a read must not drop unasked.
    MainWindow(const EditorSetup &setup, DataManagement *settings, EditHistory *history, EditSession *session,
        PresetDocument *document, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The line the work shared with mavuctl (backup, firmware update) takes.
    ControllerChannel &channel() { return m_ports; }
    QString serialNumber() const { return m_serial; }
    // Who is warned and shown the system check (not owned).
    void setPrompt(UserPrompt *prompt);
    // Where every image read from or written to the controller is kept (not owned).
    void setSnapshots(history::Recorder *snapshots) { m_snapshots = snapshots; }
    // Kept under the controller's serial number; one read on arrival waits
    // for it, as it is asked for later.
    void keepSnapshot(
        history::Event event, const QByteArray &image, const QDateTime &when = QDateTime::currentDateTimeUtc());

signals:
    void showHint(bool isSend, bool isSuccess);
    void screenChanged();
    void devStateChanged(bool state);
    // The controller was found in its update mode (its loader), without MIDI ports.
    void updateModeFound();
    void s_snNum(QString snStr);
    // A pad, knob or transport button played on the controller: kind "pad",
    // "knob" or "button", index counted over all banks.
    void controlHit(QString kind, int index);
    // The controller's settings came in and the editor took them as it
    // does; not those read for a backup.
    void controllerSettings(const QByteArray &image);

public slots:
    void sendData();
    void getData();
    // The settings backup goes back to the controller, and to the editor as the document decides.
    void restoreBackup(const QByteArray &image);
    QString rgbtoStr(int r, int g, int b);
    double getScalingRate() { return m_scale.rate(); }
    void updateProgra(int x, int y);
    QString getSoftVersion();
    double getScreenScaleFactor() { return ScreenScale::primaryFactor(); }
    // The user's zoom on top of the screen's scale (View menu), kept beside the language.
    double zoom() const;
    void setZoom(double zoom);
    // Why the controller or its update may not work here, as `mavuctl doctor`
    // says; the window stays usable meanwhile.
    void showSystemCheck();
    // A page of the maker's site in the browser; where none starts (no
    // xdg-open, a bare window manager) the address is shown instead.
    void openWebPage(const QString &url);
    // The banks the page shows, so that a message of controls in several banks lights the one in view.
    void setShownBanks(int padBank, int knobBank);
    // The detection's report: the controller's MIDI function came or went.
    void onDevArrivalOrRemove(QString devType, bool isArrival);

private:
    bool send(const QByteArray &image, history::Event event);
    void serialKnown(bool known);
    void handleReply(const QByteArray &message);
    void settingsReceived(const QByteArray &image);
    void controlPlayed(const QByteArray &message);

    const EditorSetup m_setup;
    ControllerPorts m_ports;
    ControllerRequest m_read;
    ControllerRequest m_serialRead;
    DataManagement *m_settings;
    EditHistory *m_history;
    EditSession *m_session;
    PresetDocument *m_document;
    UserPrompt *m_prompt = nullptr;
    SystemCheckBox *m_systemCheck;
    ScreenScale m_scale;
    controlhit::ShownBanks m_shownBanks;
    QString m_serial;
    history::Recorder *m_snapshots = nullptr;
    // Snapshots taken while the serial number is being asked for.
    struct Unnamed {
        history::Event event;
        QByteArray image;
        QDateTime when;
    };
    QList<Unnamed> m_unnamedSnapshots;
    bool m_serialAsked = false;
    // The reply to the user's own read replaces the editor's settings; one on arrival may not.
    bool m_readAsked = false;
    // The read at arrival; tried again while the ports are being replaced.
    void readOnArrival(int triesLeft);
};

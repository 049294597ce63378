#pragma once

#include "device/MidiPort.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "app/RecoveryOffer.h"
#include "firmware/SettingsSafeguard.h"
#include "model/ControlHit.h"
#include "model/FunctionProperty.h"

#include <QMainWindow>
#include <QQmlApplicationEngine>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class DataManagement;
class DetectionDevice;
class DifferenceList;
class EditHistory;
class EditSession;
class MidiBackend;
class PowerEventSource;
class Trans;
class UserPrompt;

// What the program hands the window: the MIDI system (it outlives the
// window), the update port it names and the firmware server.
struct EditorSetup {
    explicit EditorSetup(MidiBackend *midi, QString updatePort = QString(), QString firmwareServer = QString())
        : midi(midi)
        , updatePort(std::move(updatePort))
        , firmwareServer(std::move(firmwareServer))
    { }

    MidiBackend *midi;
    QString updatePort;
    QString firmwareServer;
};

// Hidden window that owns every long-lived object, publishes them to QML and
// carries the conversation with the controller. QML calls it "MainLogic".
class MainWindow : public QMainWindow
{
    Q_OBJECT
    // The controller's serial number as last reported (for the About box built later).
    Q_PROPERTY(QString serialNumber MEMBER m_serial NOTIFY s_snNum)
public:
    explicit MainWindow(const EditorSetup &setup, QWidget *parent = nullptr);
    ~MainWindow() override;

    DataManagement *settings() const { return m_dataManagement; }
    DetectionDevice *detection() const { return m_detection; }
    QQmlApplicationEngine &engine() { return m_engine; }
    QString filePath() const { return m_filePath; }
    EditSession *session() const { return m_session; }
    // The controller's last known settings image; empty when unknown.
    QByteArray controllerImage() const;
    DifferenceList *differences() const { return m_differences; }
    // Has the field being typed in write its value (before a save, send, copy or quit).
    void commitPendingEdits() { emit commitEditsRequested(); }

    // Preset files without dialogs; failures show an error box naming the file.
    bool openPresetPath(const QString &path);
    bool savePresetTo(const QString &path);
    // Files given on the command line or handed over by a later start, in order.
    void openPresetFiles(const QStringList &paths);

    // The save dialog's question: returns the chosen path (empty when
    // cancelled) and sets *filter to the chosen filter. Replaceable for tests.
    using SavePathQuestion = std::function<QString(const QString &filters, QString *filter)>;
    void setSavePathQuestion(SavePathQuestion question) { m_savePathQuestion = std::move(question); }
    // Who answers the editor's questions (message boxes unless replaced).
    void setUserPrompt(std::unique_ptr<UserPrompt> prompt);

    // Sleep, wake and shutdown reach the device detection from here (takes the source).
    void watchPowerEvents(PowerEventSource *source);

    static void midiInHandler(char *data, int len);

signals:
    void showHint(bool isSend, bool isSuccess);
    void s_midiIndata(char *data, int len);
    void screenChanged();
    void devStateChanged(bool state);
    void s_snNum(QString snStr);
    // A pad, knob or transport button played on the controller: kind "pad",
    // "knob" or "button", index counted over all banks.
    void controlHit(QString kind, int index);
    void s_midiChannelData(char *data, int len);
    // The page answers by moving the focus, so an unconfirmed field writes its value now.
    void commitEditsRequested();

public slots:
    void sendData();
    void getData();
    QString rgbtoStr(int r, int g, int b);
    void save();
    void saveAs();
    void openFile();
    void restoreDefault();
    // Asks first when closing would lose changes; false keeps the window open.
    bool confirmClose();
    double getScalingRate();
    void updateProgra(int x, int y);
    QString getSoftVersion();
    double getScreenScaleFactor();
    // Why the controller or its update may not work here, as `mavuctl doctor` says.
    void showSystemCheck();
    // The banks the page shows, so that a message of controls in several banks lights the one in view.
    void setShownBanks(int padBank, int knobBank);

private slots:
    void slotMidiIndata(char *data, int len);
    void slotMidiChannelData(char *data, int len);
    void screenCountChange();
    void onDevArrivalOrRemove(QString devType, bool isArrival);
    void onFirmwareUpdate(QString path);

private:
    void initQml();
    void findControllerPorts();
    void setPortsOpen(bool open);
    void flashAfterCommand(const QString &path);
    void settingsReceived(const QByteArray &image);
    char *holdReceived(const char *data, int len);
    void releaseReceived(const char *data);
    bool sendMessage(const QByteArray &message);
    QString askSavePath();
    void showFileError(const QString &text);
    // Asks before work is dropped (Save / Send / Discard); false when the action should not go on.
    bool mayDiscard(const QString &action, bool offerSend, bool leaving = false);
    void showFirmwareVersion();
    int screenIndex() const;

    const EditorSetup m_setup;
    MidiPortList m_ports;
    MidiIn m_midiIn;
    MidiOut m_midiOut;
    DataManagement *m_dataManagement = nullptr;
    EditHistory *m_history = nullptr;
    EditSession *m_session = nullptr;
    DifferenceList *m_differences = nullptr;
    // The reply to the user's own read replaces the editor's settings; one on arrival may not.
    bool m_readAsked = false;
    QQmlApplicationEngine m_engine;
    MyFtp m_ftp;
    FirmwareUpdate m_firmwareUpdate;
    std::unique_ptr<UserPrompt> m_prompt;
    std::mutex m_receivedLock;
    std::deque<QByteArray> m_received;
    controlhit::ShownBanks m_shownBanks;
    SettingsSafeguard m_safeguard;
    RecoveryOffer m_recovery;
    QString m_firmwareToFlash;
    QString m_serial;
    FunctionProperty m_functionProperty;
    QString m_filePath;
    SavePathQuestion m_savePathQuestion;
    double m_scalingRate = 1.0;
    DetectionDevice *m_detection = nullptr;
    Trans *m_trans = nullptr;
    bool m_devConnected = false;
    int m_inDevIndex = -1;
    int m_outDevIndex = -1;
};

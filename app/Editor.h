#pragma once

#include "app/MainWindow.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/ControllerHistory.h"
#include "model/FunctionProperty.h"

#include <QObject>
#include <QQmlApplicationEngine>

#include <memory>

class DataManagement;
class DetectionDevice;
class DifferenceList;
class HistoryList;
class PresetLibrary;
class EditHistory;
class EditSession;
class FirmwareUpdateFlow;
class PowerEventSource;
class PresetDocument;
class RecoveryOffer;
class StopSignals;
class Trans;
class UpdateShutdown;
class UserPrompt;

// The editor's long-lived objects, made and connected once and published to
// QML: main() builds one on the MIDI system it started, the tests build
// theirs the same way.
class Editor : public QObject
{
    Q_OBJECT
public:
    // Loads the page and looks for a controller that is already there.
    explicit Editor(const EditorSetup &setup, QObject *parent = nullptr);
    ~Editor() override;

    MainWindow &window() { return *m_window; }
    PresetDocument &document() { return *m_document; }
    DataManagement *settings() const { return m_settings; }
    EditSession *session() const { return m_session; }
    DifferenceList *differences() const { return m_differences; }
    HistoryList *snapshotList() const { return m_snapshotList; }
    PresetLibrary *library() const { return m_library; }
    DetectionDevice *detection() const { return m_detection; }
    FirmwareUpdateFlow &firmware() { return *m_firmware; }
    QQmlApplicationEngine &engine() { return m_engine; }
    history::Recorder &snapshots() { return m_snapshots; }

    // Who answers the editor's questions (message boxes unless replaced).
    void setUserPrompt(std::unique_ptr<UserPrompt> prompt);
    // Sleep, wake and shutdown reach the device detection from here (takes the source).
    void watchPowerEvents(PowerEventSource *source);
    // SIGTERM and SIGINT (not owned): the program ends, after a firmware transfer that runs.
    void watchStopSignals(StopSignals *stopSignals);

private:
    void publish();
    // What the controller's coming and going means for the firmware side.
    void followFirmwareSide(const QString &devType, bool isArrival);

    const EditorSetup m_setup;
    DataManagement *m_settings = nullptr;
    EditHistory *m_history = nullptr;
    EditSession *m_session = nullptr;
    DifferenceList *m_differences = nullptr;
    HistoryList *m_snapshotList = nullptr;
    PresetLibrary *m_library = nullptr;
    PresetDocument *m_document = nullptr;
    MyFtp m_ftp;
    FirmwareUpdate m_update;
    FunctionProperty m_functionProperty;
    // Outlives the window that hands it snapshots, and writes them all before it goes.
    // A run on the simulated controller keeps its own, as its backups.
    history::Recorder m_snapshots{
        m_setup.dataFolder.isEmpty() ? history::defaultFolder() : history::folderIn(m_setup.dataFolder)};
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<FirmwareUpdateFlow> m_firmware;
    std::unique_ptr<RecoveryOffer> m_recovery;
    std::unique_ptr<UpdateShutdown> m_shutdown;
    std::unique_ptr<UserPrompt> m_prompt;
    // Goes first, before anything it shows.
    QQmlApplicationEngine m_engine;
    Trans *m_trans = nullptr;
    DetectionDevice *m_detection = nullptr;
};

#include "app/Editor.h"

#include "app/AppLog.h"
#include "app/DifferenceList.h"
#include "app/HistoryList.h"
#include "app/PresetLibrary.h"
#include "app/MessageBoxPrompt.h"
#include "app/PresetDocument.h"
#include "app/RecoveryOffer.h"
#include "device/DetectionDevice.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "i18n/Trans.h"
#include "model/ControllerIds.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "workflows/FirmwareUpdateFlow.h"
#include "workflows/UpdateShutdown.h"

#include <QDebug>
#include <QGuiApplication>
#include <QQmlContext>
#include <QSessionManager>
#include <QWindow>
#include <QTimer>

Editor::Editor(const EditorSetup &setup, QObject *parent)
    : QObject(parent)
    , m_setup(setup)
{
    m_settings = new DataManagement(this);
    m_settings->initDefaultData();
    // The defaults at start are where the history begins, not a step of it.
    m_history = new EditHistory(m_settings, this);
    m_session = new EditSession(m_settings, this);
    m_history->setSession(m_session);
    m_differences = new DifferenceList(m_settings, m_session, this);
    m_document = new PresetDocument(m_settings, m_history, m_session, this);
    m_library = new PresetLibrary(m_document, m_session, this);
    m_snapshotList = new HistoryList(&m_snapshots, m_settings, m_history, m_differences, m_document, this);
    // The version the update check compares with is the controller's, once known.
    connect(m_session, &EditSession::firmwareVersionChanged, this,
        [this] { m_ftp.setCurrentVersion(m_session->firmwareVersion()); });

    // Where firmware comes from and which port takes it, as the command line
    // or the environment say (pseudo-terminals are never found by USB identity).
    QString serverError;
    if (!m_ftp.setServer(m_setup.firmwareServer, &serverError))
        qCWarning(lcApp) << serverError;
    m_update.setPortOverride(m_setup.updatePort);

    m_window = std::make_unique<MainWindow>(m_setup, m_settings, m_history, m_session, m_document);
    m_firmware = std::make_unique<FirmwareUpdateFlow>(m_window->channel(), m_update);
    if (!m_setup.dataFolder.isEmpty()) {
        m_ftp.setDownloadFolder(m_setup.dataFolder);
        m_firmware->setDataFolder(m_setup.dataFolder);
    }
    m_recovery
        = std::make_unique<RecoveryOffer>(*m_firmware, m_ftp, [this] { return m_window->channel().isPresent(); });
    connect(m_recovery.get(), &RecoveryOffer::found, m_window.get(), &MainWindow::updateModeFound);
    // No quit, logout or signal cuts a firmware update short.
    m_shutdown = std::make_unique<UpdateShutdown>(*m_firmware);
    m_document->setCloseGuard([this] {
        // A logout asks nothing here: it is held below.
        return qApp->isSavingSession() ? !m_firmware->isBusy() : m_shutdown->mayQuit(m_prompt.get());
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        m_shutdown->holdSessionEnd(
            [&manager] { return manager.allowsInteraction(); }, [&manager] { manager.cancel(); });
    });
    connect(m_shutdown.get(), &UpdateShutdown::endNow, this, [this](int exitStatus) {
        auto *window
            = m_engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QWindow *>(m_engine.rootObjects().first());
        // The user's quit closes the window as they would, asking about unsaved work.
        if (exitStatus == 0 && window)
            window->close();
        else
            QCoreApplication::exit(exitStatus);
    });
    setUserPrompt(std::make_unique<MessageBoxPrompt>(m_window.get()));
    connect(&m_ftp, &MyFtp::downloadComplete, this,
        [this](const QString &path) { m_firmware->start(path, m_window->serialNumber()); });
    connect(m_window.get(), &MainWindow::controllerSettings, m_firmware.get(), &FirmwareUpdateFlow::compareOnReturn);
    connect(m_firmware.get(), &FirmwareUpdateFlow::restore, m_window.get(), &MainWindow::restoreBackup);
    m_window->setSnapshots(&m_snapshots);
    connect(m_firmware.get(), &FirmwareUpdateFlow::backedUp, this, [this](const QString &path) {
        QByteArray image;
        if (preset::readFile(path, &image, nullptr))
            m_window->keepSnapshot(history::Event::Backup, image);
    });

    publish();

    m_detection = new DetectionDevice(
        m_setup.midi, updateport::presence(std::make_shared<SystemSerialPortFinder>(), m_setup.updatePort), nullptr);
    // The session manager ending the session is only logged.
    connect(qApp, &QGuiApplication::commitDataRequest, m_detection, &DetectionDevice::sessionEnding);
    connect(m_detection, &DetectionDevice::s_devTypeAndState, this, &Editor::followFirmwareSide);
    connect(m_detection, &DetectionDevice::s_devTypeAndState, m_window.get(), &MainWindow::onDevArrivalOrRemove);
    m_detection->checkConnectedDevice();
    m_recovery->watch();
}

Editor::~Editor()
{
    m_detection->deleteLater();
}

void Editor::publish()
{
    m_trans = new Trans(&m_engine, this);
    connect(m_trans, &Trans::currentLanguageChanged, m_history, &EditHistory::retranslate);
    // "Untitled" in the title follows the language too.
    connect(m_trans, &Trans::currentLanguageChanged, m_session, &EditSession::changed);

    QQmlContext *context = m_engine.rootContext();
    context->setContextProperty(QStringLiteral("Tran"), m_trans);
    context->setContextProperty(QStringLiteral("MainLogic"), m_window.get());
    context->setContextProperty(QStringLiteral("Document"), m_document);
    context->setContextProperty(QStringLiteral("DataMgt"), m_settings);
    context->setContextProperty(QStringLiteral("EditHistory"), m_history);
    context->setContextProperty(QStringLiteral("Session"), m_session);
    context->setContextProperty(QStringLiteral("Ftp"), &m_ftp);
    context->setContextProperty(QStringLiteral("FirmwareUpdate"), &m_update);
    context->setContextProperty(QStringLiteral("FunctionProperty"), &m_functionProperty);
    context->setContextProperty(QStringLiteral("Differences"), m_differences);
    context->setContextProperty(QStringLiteral("Snapshots"), m_snapshotList);
    context->setContextProperty(QStringLiteral("Library"), m_library);

    m_engine.load(QUrl(QStringLiteral("qrc:/qml/main.qml")));
}

void Editor::setUserPrompt(std::unique_ptr<UserPrompt> prompt)
{
    if (!prompt)
        return;
    m_prompt = std::move(prompt);
    m_window->setPrompt(m_prompt.get());
    m_document->setPrompt(m_prompt.get());
    m_firmware->setPrompt(m_prompt.get());
    m_recovery->setPrompt(m_prompt.get());
    m_ftp.setPrompt(m_prompt.get());
    m_update.setPrompt(m_prompt.get());
}

void Editor::watchPowerEvents(PowerEventSource *source)
{
    m_detection->addPowerSource(source);
}

void Editor::watchStopSignals(StopSignals *stopSignals)
{
    m_shutdown->watch(stopSignals);
}

void Editor::followFirmwareSide(const QString &devType, bool isArrival)
{
    if (devType == QLatin1String(controllerids::kMidiDeviceType)) {
        m_ftp.setDeviceConnected(isArrival);
    } else if (devType == QLatin1String(controllerids::kSerialDeviceType)) {
        m_ftp.setDeviceConnected(isArrival);
        m_ftp.setCurrentVersion(QStringLiteral("0"));
        // In front of the online check: flashing again what was at hand. Asked
        // once the window is up (this comes from the constructor).
        if (isArrival)
            QTimer::singleShot(0, m_recovery.get(), &RecoveryOffer::offer);
        else
            m_ftp.checkOnLineFirmware();
    }
}

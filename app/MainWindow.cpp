#include "app/MainWindow.h"

#include "app/AppLog.h"
#include "app/DifferenceList.h"
#include "app/MessageBoxPrompt.h"
#include "device/ControllerLink.h"
#include "device/DetectionDevice.h"
#include "device/MidiDoctor.h"
#include "device/Protocol.h"
#include "device/ReplyParser.h"
#include "firmware/Doctor.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "i18n/Trans.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"

#include <QApplication>
#include <QColor>
#include <QDebug>
#include <QDesktopWidget>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QQmlContext>
#include <QScreen>
#include <QSize>
#include <QTimer>

#include <algorithm>

namespace {

MainWindow *s_instance = nullptr;

constexpr char kControllerPortName[] = "Korvel Mavu";
constexpr char kMidiDeviceType[] = "zt118";
constexpr char kSerialDeviceType[] = "zt118SerialDev";
constexpr int kSerialRequestDelayMs = 2000;
constexpr int kUpdateStartDelayMs = 1000;
constexpr double kReferenceDpi = 96.0;
// The QML window's nominal size (CusConfig.windowWidth and windowHeight): the
// hidden window stands in for it when the screen under it is looked up.
constexpr QSize kNominalWindowSize(1080, 892);

} // namespace

MainWindow::MainWindow(const EditorSetup &setup, QWidget *parent)
    : QMainWindow(parent)
    , m_setup(setup)
    , m_ports(setup.midi)
    , m_midiIn(m_ports)
    , m_midiOut(m_ports)
    , m_prompt(new MessageBoxPrompt(this))
    , m_recovery(m_firmwareUpdate, m_ftp, [this] { return m_devConnected; })
{
    resize(kNominalWindowSize);
    s_instance = this;
    // Queued: parsing a reply closes the ports, which must not happen while
    // the port layer is still handing the reply over.
    connect(this, &MainWindow::s_midiIndata, this, &MainWindow::slotMidiIndata, Qt::QueuedConnection);
    connect(this, &MainWindow::s_midiChannelData, this, &MainWindow::slotMidiChannelData, Qt::QueuedConnection);

    m_dataManagement = new DataManagement(this);
    m_dataManagement->initDefaultData();
    // The defaults at start are where the history begins, not a step of it.
    m_history = new EditHistory(m_dataManagement, this);
    m_session = new EditSession(m_dataManagement, this);
    m_differences = new DifferenceList(m_dataManagement, m_session, this);
    connect(m_session, &EditSession::firmwareVersionChanged, this, &MainWindow::showFirmwareVersion);

    // Where firmware comes from and which port takes it, as the command line
    // or the environment say (pseudo-terminals are never found by USB identity).
    QString serverError;
    if (!m_ftp.setServer(m_setup.firmwareServer, &serverError))
        qCWarning(lcApp) << serverError;
    m_firmwareUpdate.setPortOverride(m_setup.updatePort);
    setUserPrompt(std::move(m_prompt));
    connect(&m_safeguard, &SettingsSafeguard::ready, this, [this](bool proceed) {
        if (proceed)
            flashAfterCommand(m_firmwareToFlash);
        else
            m_firmwareUpdate.decline();
    });
    connect(&m_safeguard, &SettingsSafeguard::restore, this, [this](const QByteArray &image) {
        const EditHistory::Group step(m_history, QStringLiteral("restoreBackup"));
        m_dataManagement->setImage(image.constData(), image.size());
        sendData();
    });
    connect(&m_firmwareUpdate, &FirmwareUpdate::transStatus, this, [this](bool isSuccess) {
        if (isSuccess)
            m_safeguard.expectReturn();
    });

    initQml();

    m_detection = new DetectionDevice(
        m_setup.midi, updateport::presence(std::make_shared<SystemSerialPortFinder>(), m_setup.updatePort), nullptr);
    // The session manager ending the session is only logged.
    connect(qApp, &QGuiApplication::commitDataRequest, m_detection, &DetectionDevice::sessionEnding);
    connect(
        m_detection, &DetectionDevice::s_devTypeAndState, this, &MainWindow::onDevArrivalOrRemove, Qt::AutoConnection);
    m_detection->checkConnectedDevice();
    m_recovery.watch();

    connect(qApp, &QGuiApplication::screenAdded, this, &MainWindow::screenCountChange);
    connect(qApp, &QGuiApplication::screenRemoved, this, &MainWindow::screenCountChange);
    screenCountChange();

    connect(&m_ftp, &MyFtp::downloadComplete, this, &MainWindow::onFirmwareUpdate, Qt::AutoConnection);
}

MainWindow::~MainWindow()
{
    m_midiIn.close();
    m_midiOut.close();
    m_detection->deleteLater();
    if (s_instance == this)
        s_instance = nullptr;
}

void MainWindow::watchPowerEvents(PowerEventSource *source)
{
    m_detection->addPowerSource(source);
}

void MainWindow::showSystemCheck()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    doctor::Inputs inputs = doctor::systemInputs(m_setup.updatePort, m_setup.firmwareServer);
    inputs.midiProducts = doctor::midiProducts(m_setup.midi);
    const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
    const QList<doctor::Finding> findings
        = doctor::midiFindings(inputs, !port.isEmpty()) + doctor::updateFindings(inputs, port);
    QApplication::restoreOverrideCursor();
    m_prompt->notify(doctor::allWell(findings) ? UserPrompt::Kind::Information : UserPrompt::Kind::Warning,
        tr("System check"), doctor::report(findings));
}

void MainWindow::setUserPrompt(std::unique_ptr<UserPrompt> prompt)
{
    if (!prompt)
        return;
    m_prompt = std::move(prompt);
    m_safeguard.setPrompt(m_prompt.get());
    m_recovery.setPrompt(m_prompt.get());
    m_ftp.setPrompt(m_prompt.get());
    m_firmwareUpdate.setPrompt(m_prompt.get());
}

void MainWindow::initQml()
{
    QScreen *screen = QGuiApplication::screens().value(screenIndex());
    if (screen)
        m_scalingRate = screen->logicalDotsPerInch() / kReferenceDpi;

    m_trans = new Trans(&m_engine, this);

    QQmlContext *context = m_engine.rootContext();
    context->setContextProperty(QStringLiteral("Tran"), m_trans);
    context->setContextProperty(QStringLiteral("MainLogic"), this);
    context->setContextProperty(QStringLiteral("DataMgt"), m_dataManagement);
    context->setContextProperty(QStringLiteral("EditHistory"), m_history);
    connect(m_trans, &Trans::currentLanguageChanged, m_history, &EditHistory::retranslate);
    // "Untitled" in the title follows the language too.
    connect(m_trans, &Trans::currentLanguageChanged, m_session, &EditSession::changed);
    context->setContextProperty(QStringLiteral("Session"), m_session);
    context->setContextProperty(QStringLiteral("Ftp"), &m_ftp);
    context->setContextProperty(QStringLiteral("FirmwareUpdate"), &m_firmwareUpdate);
    context->setContextProperty(QStringLiteral("FunctionProperty"), &m_functionProperty);
    context->setContextProperty(QStringLiteral("Differences"), m_differences);

    m_engine.load(QUrl(QStringLiteral("qrc:/qml/main.qml")));
}

QString MainWindow::rgbtoStr(int r, int g, int b)
{
    const QColor color(r, g, b, 255);
    return color.isValid() ? color.name() : QStringLiteral("#000000");
}

// ---------------------------------------------------------------- exchange

void MainWindow::midiInHandler(char *data, int len)
{
    // The buffer is reused once we return, so the queued slot gets its own
    // copy and frees it after parsing.
    if (!s_instance || !data || len <= 0)
        return;
    emit s_instance->s_midiIndata(s_instance->holdReceived(data, len), len);
}

// The queued call may never run (the window goes first), so the window, not
// the call, owns the copy.
char *MainWindow::holdReceived(const char *data, int len)
{
    const std::lock_guard<std::mutex> lock(m_receivedLock);
    m_received.emplace_back(data, len);
    return m_received.back().data();
}

void MainWindow::releaseReceived(const char *data)
{
    const std::lock_guard<std::mutex> lock(m_receivedLock);
    const auto held = std::find_if(
        m_received.begin(), m_received.end(), [data](const QByteArray &bytes) { return bytes.constData() == data; });
    if (held != m_received.end())
        m_received.erase(held);
}

// By name, right before opening: an index from an earlier listing may by now
// be another device's port.
void MainWindow::findControllerPorts()
{
    m_inDevIndex = lowestIndexNamed(m_ports.midiInDevices(), QLatin1String(kControllerPortName), -1);
    m_outDevIndex = lowestIndexNamed(m_ports.midiOutDevices(), QLatin1String(kControllerPortName), -1);
}

void MainWindow::setPortsOpen(bool open)
{
    if (!m_devConnected)
        return;
    if (!open) {
        m_midiIn.close();
        m_midiOut.close();
        return;
    }
    if (!m_midiIn.isOpen() || !m_midiOut.isOpen())
        findControllerPorts();
    if (m_inDevIndex < 0 || m_outDevIndex < 0) {
        // Not there (yet): nothing is occupied, and nothing else may be opened.
        qCDebug(lcApp) << "the controller's MIDI ports are not listed";
        return;
    }
    const auto played = [this](char *data, int len) { emit s_midiChannelData(holdReceived(data, len), len); };
    if (!m_midiIn.open(unsigned(m_inDevIndex), &MainWindow::midiInHandler, played)) {
        m_midiIn.close();
        m_prompt->warning(tr("Error prompt"), tr("The current device is occupied"));
        return;
    }
    if (!m_midiOut.open(unsigned(m_outDevIndex))) {
        m_midiOut.close();
        m_prompt->warning(tr("Error prompt"), tr("The current device is occupied"));
    }
}

bool MainWindow::sendMessage(const QByteArray &message)
{
    return m_midiOut.send(message.constData(), message.size());
}

QByteArray MainWindow::controllerImage() const
{
    return m_session->controllerImage();
}

// The version the update check compares with is the controller's, once known.
void MainWindow::showFirmwareVersion()
{
    m_ftp.setCurrentVersion(m_session->firmwareVersion());
}

void MainWindow::getData()
{
    if (!mayDiscard(QCoreApplication::translate("MyMenuBar", "Get From Hardware"), false))
        return;
    setPortsOpen(true);
    m_readAsked = true;
    emit showHint(false, sendMessage(protocol::request(protocol::ReadSettings)));
}

void MainWindow::sendData()
{
    commitPendingEdits();
    setPortsOpen(true);
    const QByteArray image = m_dataManagement->imageBytes();
    const bool sent = sendMessage(protocol::writeSettingsMessage(image));
    if (sent)
        m_session->setControllerImage(image);
    emit showHint(true, sent);
    // The input stays open: what is played on the controller shows on the page.
    if (m_devConnected)
        m_midiOut.close();
}

void MainWindow::slotMidiIndata(char *data, int len)
{
    qCDebug(lcApp) << "parseMidiData====";
    const protocol::Reply reply = protocol::parseReply(data, len);
    switch (reply.kind) {
    case protocol::Reply::Nothing:
        break;
    case protocol::Reply::Serial:
        qCDebug(lcApp) << "===" << reply.serialShort;
        m_serial = reply.serial;
        emit s_snNum(reply.serial);
        break;
    case protocol::Reply::Settings:
        settingsReceived(QByteArray(data, len));
        break;
    case protocol::Reply::Malformed:
        qCDebug(lcApp) << "ignored a malformed settings reply:" << reply.reason;
        break;
    }
    releaseReceived(data);
}

void MainWindow::slotMidiChannelData(char *data, int len)
{
    const controlhit::Control hit
        = controlhit::fromMessage(m_dataManagement->imageBytes(), QByteArray(data, len), m_shownBanks);
    releaseReceived(data);
    if (hit.kind != controlhit::Kind::None)
        emit controlHit(controlhit::kindName(hit.kind), hit.index);
}

void MainWindow::setShownBanks(int padBank, int knobBank)
{
    m_shownBanks = {padBank, knobBank};
}

void MainWindow::settingsReceived(const QByteArray &image)
{
    // The read before a firmware update is the backup's, not the editor's.
    const bool forBackup = m_safeguard.takeSettings(image);
    if (!forBackup) {
        m_session->setControllerImage(image);
        // What the user opened or edited stays; the controller's settings are
        // then only recorded, and the difference shown.
        if (m_readAsked || !m_session->holdsUserWork()) {
            const EditHistory::Group step(m_history, QStringLiteral("getFromHardware"));
            m_dataManagement->setImage(image.constData(), image.size());
            m_session->setUntouched();
        }
        m_readAsked = false;
    }
    if (m_devConnected)
        m_midiOut.close();
    if (!forBackup)
        m_safeguard.compareOnReturn(image);
}

void MainWindow::onDevArrivalOrRemove(QString devType, bool isArrival)
{
    qCDebug(lcApp) << devType << isArrival;
    if (devType == QLatin1String(kMidiDeviceType)) {
        m_ftp.setDeviceConnected(isArrival);
        if (!isArrival) {
            m_devConnected = false;
            m_readAsked = false;
            m_session->setControllerImage(QByteArray());
            m_midiIn.close();
            m_midiOut.close();
            emit devStateChanged(false);
        } else {
            m_devConnected = true;
            m_serial.clear();
            findControllerPorts();
            qCDebug(lcApp) << "m_inDevIndex:" << unsigned(m_inDevIndex);
            qCDebug(lcApp) << "m_outDevIndex:" << unsigned(m_outDevIndex);
            setPortsOpen(true);
            m_readAsked = false;
            emit showHint(false, sendMessage(protocol::request(protocol::ReadSettings)));
            QTimer::singleShot(kSerialRequestDelayMs, this, [this] {
                setPortsOpen(true);
                sendMessage(protocol::request(protocol::ReadSerial));
            });
            emit devStateChanged(m_devConnected);
        }
    } else if (devType == QLatin1String(kSerialDeviceType)) {
        m_ftp.setDeviceConnected(isArrival);
        m_ftp.setCurrentVersion(QStringLiteral("0"));
        // In front of the online check: flashing again what was at hand. Asked
        // once the window is up (this comes from the constructor).
        if (isArrival)
            QTimer::singleShot(0, &m_recovery, &RecoveryOffer::offer);
        else
            m_ftp.checkOnLineFirmware();
    }
    qCDebug(lcApp) << "------------------|||||||||||||||||";
}

void MainWindow::onFirmwareUpdate(QString path)
{
    if (!m_devConnected) {
        // In update mode already: there are no settings to read.
        flashAfterCommand(path);
        return;
    }
    m_firmwareToFlash = path;
    m_safeguard.backUp(m_serial, [this](QString *why) {
        setPortsOpen(true);
        if (sendMessage(protocol::request(protocol::ReadSettings)))
            return true;
        *why = tr("the controller's MIDI port is not open");
        return false;
    });
}

void MainWindow::flashAfterCommand(const QString &path)
{
    setPortsOpen(true);
    sendMessage(protocol::request(protocol::EnterUpdate));
    // The command must leave before the ports close; the controller restarts anyway.
    QTimer::singleShot(kUpdateStartDelayMs, this, [this] {
        m_midiIn.close();
        m_midiOut.close();
    });
    m_firmwareUpdate.updateAfterCommand(path);
}

// ------------------------------------------------------------ preset files

QString MainWindow::askSavePath()
{
    const QString stmFilter = tr("stm (*.stm)");
    const QString syxFilter = tr("syx (*.syx)");
    const QString filters = stmFilter + QStringLiteral(";;") + syxFilter;
    QString selected = stmFilter;
    QString path = m_savePathQuestion
        ? m_savePathQuestion(filters, &selected)
        : QFileDialog::getSaveFileName(this, tr("Save File"), QString(), filters, &selected);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += selected == syxFilter ? QStringLiteral(".syx") : QStringLiteral(".stm");
    return path;
}

void MainWindow::save()
{
    commitPendingEdits();
    if (m_filePath.isEmpty()) {
        const QString path = askSavePath();
        if (path.isEmpty())
            return; // cancelled: nothing written, nothing forgotten
        m_filePath = path;
    }
    qCDebug(lcApp) << "m_filePath" << m_filePath;
    savePresetTo(m_filePath);
}

void MainWindow::saveAs()
{
    commitPendingEdits();
    const QString path = askSavePath();
    if (path.isEmpty())
        return;
    m_filePath = path;
    qCDebug(lcApp) << "m_filePath" << m_filePath;
    savePresetTo(m_filePath);
}

void MainWindow::openFile()
{
    if (!mayDiscard(QCoreApplication::translate("MyMenuBar", "Open"), true))
        return;
    const QString path = m_prompt->openFile(QString(), QString());
    qCDebug(lcApp) << "filePath" << path;
    if (!path.isEmpty())
        openPresetPath(path);
}

void MainWindow::restoreDefault()
{
    if (!mayDiscard(QCoreApplication::translate("MyMenuBar", "Restore The Default"), true))
        return;
    const EditHistory::Group step(m_history, QStringLiteral("restoreDefault"));
    m_dataManagement->initDefaultData();
}

bool MainWindow::confirmClose()
{
    return mayDiscard(QCoreApplication::translate("MyMenuBar", "Quit"), true, true);
}

// Before the editor's settings are replaced or dropped: asks when they are in
// neither their file nor the controller. False when the user keeps them.
bool MainWindow::mayDiscard(const QString &action, bool offerSend, bool leaving)
{
    commitPendingEdits();
    if (!(leaving ? m_session->wouldLeaveWork() : m_session->wouldLoseWork()))
        return true;
    QStringList what;
    if (m_session->unsaved())
        what << (m_session->fileName().isEmpty()
                ? tr("The settings in the editor are not saved.")
                : tr("The changes to \"%1\" are not saved.").arg(m_session->fileName()));
    if (m_session->unsentCount() > 0)
        what << tr("%n change(s) not sent to the controller.", "", m_session->unsentCount());
    const QString text = what.join(QLatin1Char(' '));
    // The menu's own words for the prompt's titles and its Save.
    const QString saveChoice = QCoreApplication::translate("MyMenuBar", "Save");
    const QString sendChoice = tr("Send");
    QStringList choices;
    if (m_session->unsaved())
        choices << saveChoice;
    if (offerSend && m_devConnected && m_session->unsentCount() > 0)
        choices << sendChoice;
    choices << tr("Discard");
    const QString choice = choices.value(m_prompt->choose(action, text, choices));
    if (choice == saveChoice) {
        save();
        return !m_session->unsaved();
    }
    if (choice == sendChoice) {
        sendData();
        return m_session->unsentCount() == 0;
    }
    return !choice.isEmpty();
}

bool MainWindow::savePresetTo(const QString &path)
{
    QString error;
    if (preset::writeFile(path, m_dataManagement->imageBytes(), &error)) {
        m_filePath = path;
        m_session->setFile(path);
        return true;
    }
    qCWarning(lcApp) << "saving the preset failed:" << path << error;
    showFileError(tr("The preset could not be saved to \"%1\".\n%2").arg(QDir::toNativeSeparators(path), error));
    return false;
}

bool MainWindow::openPresetPath(const QString &path)
{
    QByteArray image;
    QString error;
    if (!preset::readFile(path, &image, &error)) {
        qCWarning(lcApp) << "opening the preset failed:" << path << error;
        showFileError(tr("The preset \"%1\" could not be opened.\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    const EditHistory::Group step(m_history, QStringLiteral("openPreset"));
    m_dataManagement->setImage(image.constData(), image.size());
    m_filePath = path;
    m_session->setFile(path);
    m_readAsked = false; // a read asked for before the file does not replace it
    qCDebug(lcApp) << "preset opened:" << path;
    return true;
}

void MainWindow::openPresetFiles(const QStringList &paths)
{
    if (!paths.isEmpty() && !mayDiscard(QCoreApplication::translate("MyMenuBar", "Open"), true))
        return;
    for (const QString &path : paths)
        openPresetPath(path);
}

void MainWindow::showFileError(const QString &text)
{
    m_prompt->critical(tr("Error prompt"), text);
}

// ------------------------------------------------------ geometry and scale

int MainWindow::screenIndex() const
{
    const int n = QApplication::desktop()->screenNumber(this);
    return n < 0 ? 0 : n;
}

double MainWindow::getScalingRate()
{
    return m_scalingRate;
}

double MainWindow::getScreenScaleFactor()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    return screen->devicePixelRatio() * screen->logicalDotsPerInch() / kReferenceDpi;
}

void MainWindow::updateProgra(int x, int y)
{
    static int lastScreenIndex = -1;
    static bool firstCall = true;
    move(x, y);
    const int n = screenIndex();
    if (firstCall) {
        firstCall = false;
        lastScreenIndex = n;
        return;
    }
    if (n == lastScreenIndex)
        return;
    lastScreenIndex = n;
    QScreen *screen = QGuiApplication::screens().value(n);
    if (!screen)
        return;
    m_scalingRate = screen->logicalDotsPerInch() / kReferenceDpi;
    qCDebug(lcApp) << "===logicalDotsPerInch=====" << screen->logicalDotsPerInch();
    emit screenChanged();
}

void MainWindow::screenCountChange()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        // One connection per screen is enough: UniqueConnection needs a
        // member slot, so the screen's property tracks whether it is wired.
        if (screen->property("mavuDpiWatched").toBool())
            continue;
        screen->setProperty("mavuDpiWatched", true);
        connect(
            screen, &QScreen::logicalDotsPerInchChanged, screen,
            [this, screen](qreal dpi) {
                const QList<QScreen *> now = QGuiApplication::screens();
                const int n = screenIndex();
                if (n < now.size() && now.at(n) == screen) {
                    m_scalingRate = dpi / kReferenceDpi;
                    emit screenChanged();
                }
            },
            Qt::DirectConnection);
    }
}

QString MainWindow::getSoftVersion()
{
    return QStringLiteral(MAVU_VERSION);
}

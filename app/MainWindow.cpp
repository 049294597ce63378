#include "app/MainWindow.h"

#include "app/AppLog.h"
#include "app/PresetDocument.h"
#include "app/SystemCheckBox.h"
#include "device/DetectionDevice.h"
#include "device/Protocol.h"
#include "device/ReplyParser.h"
#include "i18n/Trans.h"
#include "model/ControllerIds.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/UserPrompt.h"
#include "workflows/SettingsSend.h"

#include <QApplication>
#include <QColor>
#include <QDebug>
#include <QDesktopServices>
#include <QScopedPointer>
#include <QSettings>
#include <QTimer>

namespace {

constexpr int kSerialRequestDelayMs = 2000;
const char kZoomKey[] = "View/zoom";

} // namespace

MainWindow::MainWindow(const EditorSetup &setup, DataManagement *settings, EditHistory *history, EditSession *session,
    PresetDocument *document, QWidget *parent)
    : QMainWindow(parent)
    , m_setup(setup)
    , m_ports(setup.midi)
    , m_read(m_ports, protocol::ReadSettings)
    , m_serialRead(m_ports, protocol::ReadSerial)
    , m_settings(settings)
    , m_history(history)
    , m_session(session)
    , m_document(document)
    , m_systemCheck(new SystemCheckBox(this))
    , m_scale(this)
{
    // Answers to the editor's own requests and whatever else the controller says.
    connect(&m_read, &ControllerRequest::answered, this, &MainWindow::handleReply);
    connect(&m_serialRead, &ControllerRequest::answered, this, &MainWindow::handleReply);
    connect(&m_serialRead, &ControllerRequest::failed, this, [this] { serialKnown(false); });
    connect(&m_ports, &ControllerChannel::received, this, &MainWindow::handleReply);
    connect(&m_ports, &ControllerPorts::played, this, &MainWindow::controlPlayed);
    connect(&m_scale, &ScreenScale::changed, this, &MainWindow::screenChanged);
    connect(m_document, &PresetDocument::sendRequested, this, &MainWindow::sendData);
    // A read asked for before the file does not replace it.
    connect(m_document, &PresetDocument::opened, this, [this] { m_readAsked = false; });
    connect(this, &MainWindow::devStateChanged, m_document, &PresetDocument::setControllerPresent);
}

MainWindow::~MainWindow() = default;

void MainWindow::setPrompt(UserPrompt *prompt)
{
    m_prompt = prompt;
    m_ports.setPrompt(prompt);
}

void MainWindow::showSystemCheck()
{
    systemcheck::Setup setup;
    setup.midi = m_setup.midi;
    setup.updatePort = m_setup.updatePort;
    setup.firmwareServer = m_setup.firmwareServer;
    m_systemCheck->start(setup, m_prompt);
}

void MainWindow::openWebPage(const QString &url)
{
    if (QDesktopServices::openUrl(QUrl(url)) || !m_prompt)
        return;
    m_prompt->warning(tr("Web Page"), tr("No web browser could be started. The page is at:\n%1").arg(url));
}

QString MainWindow::rgbtoStr(int r, int g, int b)
{
    const QColor color(r, g, b, 255);
    return color.isValid() ? color.name() : QStringLiteral("#000000");
}

void MainWindow::updateProgra(int x, int y)
{
    move(x, y);
    m_scale.follow();
}

QString MainWindow::getSoftVersion()
{
    return QStringLiteral(MAVU_VERSION);
}

// ---------------------------------------------------------------- exchange

void MainWindow::getData()
{
    if (!m_document->mayReplace(PresetDocument::Replacing::Get))
        return;
    m_readAsked = true;
    emit showHint(false, m_read.start());
}

void MainWindow::sendData()
{
    m_document->commitPendingEdits();
    send(m_settings->imageBytes(), history::Event::Send);
}

void MainWindow::restoreBackup(const QByteArray &image)
{
    if (send(image, history::Event::Restore))
        m_document->takeRestoredBackup(image);
}

void MainWindow::keepSnapshot(history::Event event, const QByteArray &image, const QDateTime &when)
{
    if (!m_snapshots)
        return;
    if (m_serialAsked)
        m_unnamedSnapshots.append({event, image, when});
    else
        m_snapshots->record(m_serial, event, image, when);
}

void MainWindow::serialKnown(bool known)
{
    if (!m_serialAsked)
        return;
    m_serialAsked = false;
    // Those of a controller whose serial number cannot be read go under the stand-in.
    if (!known)
        m_serial.clear();
    for (const auto &snapshot : qAsConst(m_unnamedSnapshots))
        keepSnapshot(snapshot.event, snapshot.image, snapshot.when);
    m_unnamedSnapshots.clear();
}

bool MainWindow::send(const QByteArray &image, history::Event event)
{
    QString ignored;
    const bool sent = sendSettings(m_ports, image, &ignored);
    if (sent) {
        m_session->setControllerImage(image);
        keepSnapshot(event, image);
    }
    emit showHint(true, sent);
    m_ports.closeOutput();
    return sent;
}

void MainWindow::handleReply(const QByteArray &message)
{
    qCDebug(lcApp) << "parseMidiData====";
    const protocol::Reply reply = protocol::parseReply(message.constData(), message.size());
    switch (reply.kind) {
    case protocol::Reply::Nothing:
        break;
    case protocol::Reply::Serial:
        qCDebug(lcApp) << "===" << reply.serialShort;
        m_serial = reply.serial;
        serialKnown(true);
        emit s_snNum(reply.serial);
        break;
    case protocol::Reply::Settings:
        settingsReceived(message);
        break;
    case protocol::Reply::Malformed:
        qCDebug(lcApp) << "ignored a malformed settings reply:" << reply.reason;
        break;
    }
}

void MainWindow::controlPlayed(const QByteArray &message)
{
    // The controller plays what it holds, which the editor may not (yet):
    // nothing is lit while its settings are not known.
    const controlhit::Control hit = controlhit::fromMessage(m_session->controllerImage(), message, m_shownBanks);
    if (hit.kind != controlhit::Kind::None)
        emit controlHit(controlhit::kindName(hit.kind), hit.index);
}

void MainWindow::setShownBanks(int padBank, int knobBank)
{
    m_shownBanks = {padBank, knobBank};
}

void MainWindow::settingsReceived(const QByteArray &image)
{
    m_session->setControllerImage(image);
    keepSnapshot(m_readAsked ? history::Event::Get : history::Event::Read, image);
    // What the user opened or edited stays; the controller's settings are
    // then only recorded, and the difference shown.
    if (m_readAsked || !m_session->holdsUserWork()) {
        const EditHistory::Group step(m_history, QStringLiteral("getFromHardware"));
        m_settings->setImage(image.constData(), image.size());
        m_session->setUntouched();
    }
    m_readAsked = false;
    m_ports.closeOutput();
    emit controllerSettings(image);
}

void MainWindow::onDevArrivalOrRemove(QString devType, bool isArrival)
{
    qCDebug(lcApp) << devType << isArrival;
    if (devType == QLatin1String(controllerids::kMidiDeviceType)) {
        m_readAsked = false;
        if (!isArrival) {
            m_ports.setPresent(false);
            serialKnown(false);
            m_session->setControllerImage(QByteArray());
            emit devStateChanged(false);
        } else {
            serialKnown(false); // a controller before it that never told
            m_serial.clear();
            m_serialAsked = true;
            m_ports.setPresent(true);
            readOnArrival(DetectionDevice::kPortWaitMs / DetectionDevice::kPortLookMs);
            QTimer::singleShot(kSerialRequestDelayMs, this, [this] { m_serialRead.start(); });
            emit devStateChanged(true);
        }
    }
    qCDebug(lcApp) << "------------------|||||||||||||||||";
}

// A port listed at the arrival may be gone when opened (a quick replug):
// the read then waits for its successor, looking as the detection does.
// Nothing was sent, so no late answer can be mistaken for a later one's.
void MainWindow::readOnArrival(int triesLeft)
{
    const bool sent = m_read.start();
    if (!sent && m_ports.portsVanished() && triesLeft > 1) {
        QTimer::singleShot(DetectionDevice::kPortLookMs, this, [this, triesLeft] {
            if (m_ports.isPresent() && !m_read.isWaiting())
                readOnArrival(triesLeft - 1);
        });
        return;
    }
    emit showHint(false, sent);
}

double MainWindow::zoom() const
{
    const QScopedPointer<QSettings> settings(Trans::userSettings());
    return settings->value(QLatin1String(kZoomKey), 1.0).toDouble();
}

void MainWindow::setZoom(double zoom)
{
    const QScopedPointer<QSettings> settings(Trans::userSettings());
    settings->setValue(QLatin1String(kZoomKey), zoom);
}

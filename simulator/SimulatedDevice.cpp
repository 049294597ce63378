#include "simulator/SimulatedDevice.h"

#include "device/Protocol.h"
#include "simulator/PtyUpdatePort.h"
#include "simulator/SimMidiPorts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

namespace {

constexpr int kRestartDelayMs = 1000;
// Between played messages: apart enough to see each, as a hand plays.
constexpr int kPlayGapMs = 250;

} // namespace

SimulatedDevice::SimulatedDevice(SimMidiPorts *ports, const SimOptions &options, QObject *parent)
    : QObject(parent)
    , m_ports(ports)
    , m_options(options)
{
    m_ports->setParent(this);
    connect(m_ports, &SimMidiPorts::received, &m_controller, &SimController::handleMessage);
    connect(&m_controller, &SimController::reply, m_ports, &SimMidiPorts::send);
    connect(&m_controller, &SimController::updateRequested, this, &SimulatedDevice::enterUpdateMode);
    connect(&m_controller, &SimController::messageReceived, this, [this](const QByteArray &m) {
        emit note(QStringLiteral("received %1 bytes, command %2")
                      .arg(m.size())
                      .arg(m.size() > 1 ? quint8(m.at(1)) : -1, 2, 16, QLatin1Char('0')));
        // Someone reads the settings, so someone listens: the time to play.
        if (m_playPending && protocol::commandOf(m.constData(), m.size()) == protocol::ReadSettings) {
            m_playPending = false;
            play(m_options.play);
        }
    });
    connect(&m_controller, &SimController::settingsWritten, this,
        [this] { emit note(QStringLiteral("settings written")); });
}

SimulatedDevice::~SimulatedDevice()
{
    m_ports->unplug();
}

bool SimulatedDevice::isPlugged() const
{
    return m_ports->isPlugged();
}

QString SimulatedDevice::updatePortPath() const
{
    return m_update ? m_update->slavePath() : QString();
}

bool SimulatedDevice::plug(QString *error)
{
    if (!m_ports->plug(error))
        return false;
    m_playPending = !m_options.play.isEmpty();
    emit note(QStringLiteral("plugged in: firmware %1, serial %2")
                  .arg(m_controller.versionText(), QString::fromUtf8(m_controller.serial())));
    return true;
}

void SimulatedDevice::unplug()
{
    if (!m_ports->isPlugged())
        return;
    m_ports->unplug();
    emit note(QStringLiteral("unplugged"));
}

void SimulatedDevice::togglePlug()
{
    if (m_update || m_restarting)
        return; // the update port is not a cable one can pull here
    if (m_ports->isPlugged()) {
        unplug();
        return;
    }
    QString error;
    if (!plug(&error))
        emit note(QStringLiteral("cannot plug in: %1").arg(error));
}

void SimulatedDevice::enterUpdateMode()
{
    if (m_update || m_restarting)
        return;
    // The controller restarts into its boot loader: the MIDI ports go away,
    // and the update port follows once the system has set it up.
    m_ports->unplug();
    m_restarting = true;
    QTimer::singleShot(m_options.updateDelayMs, this, &SimulatedDevice::openUpdatePort);
}

void SimulatedDevice::openUpdatePort()
{
    m_restarting = false;
    m_update = new PtyUpdatePort(this);
    QString error;
    if (!m_update->open(m_options.updateLink, &error)) {
        emit note(QStringLiteral("update mode failed: %1").arg(error));
        delete m_update;
        m_update = nullptr;
        plug(&error);
        return;
    }
    connect(m_update, &PtyUpdatePort::finished, this,
        [this](bool ok, const QList<YmodemReceiver::File> &files, const QString &why) {
            for (const YmodemReceiver::File &file : files) {
                QString storedAt;
                if (!m_options.firmwareDir.isEmpty()) {
                    QDir().mkpath(m_options.firmwareDir);
                    // Only the base name: the sender does not choose where we write.
                    storedAt = QDir(m_options.firmwareDir).filePath(QFileInfo(file.name).fileName());
                    QSaveFile out(storedAt);
                    if (!out.open(QIODevice::WriteOnly) || out.write(file.data) != file.data.size() || !out.commit()) {
                        emit note(QStringLiteral("cannot store %1").arg(storedAt));
                        storedAt.clear();
                    }
                }
                emit note(QStringLiteral("firmware received: %1 (%2 bytes)").arg(file.name).arg(file.data.size()));
                emit firmwareReceived(file.name, file.data.size(), storedAt);
            }
            // Give the sender time to read the last acknowledgement before
            // the line goes away (a closed terminal can drop unread input).
            QTimer::singleShot(kRestartDelayMs, this, [this, ok, why] { leaveUpdateMode(ok, why); });
        });
    emit note(QStringLiteral("update mode: %1%2")
                  .arg(m_update->slavePath(),
                      m_update->linkPath().isEmpty() ? QString()
                                                     : QStringLiteral(" (") + m_update->linkPath() + QLatin1Char(')')));
}

void SimulatedDevice::leaveUpdateMode(bool ok, const QString &detail)
{
    delete m_update;
    m_update = nullptr;
    if (ok) {
        int version[3];
        if (!m_options.versionAfterUpdate.isEmpty()
            && SimController::parseVersion(m_options.versionAfterUpdate, version))
            m_controller.setVersion(version[0], version[1], version[2]);
        if (m_options.resetAfterUpdate)
            m_controller.setImage(SimController().image());
    } else {
        emit note(QStringLiteral("update failed: %1").arg(detail));
    }
    QString error;
    if (!plug(&error))
        emit note(QStringLiteral("cannot plug in: %1").arg(error));
}

bool SimulatedDevice::parseControls(const QString &text, QList<controlhit::Control> *controls)
{
    controls->clear();
    for (const QString &name : text.split(QLatin1Char(','))) {
        const controlhit::Control control = controlhit::parseControl(name);
        if (control.kind == controlhit::Kind::None)
            return false;
        controls->append(control);
    }
    return true;
}

bool SimulatedDevice::play(const QString &controls)
{
    QList<controlhit::Control> list;
    if (!parseControls(controls, &list)) {
        emit note(QStringLiteral("cannot play \"%1\": not a list of controls").arg(controls));
        return false;
    }
    for (int i = 0; i < list.size(); ++i)
        QTimer::singleShot(kPlayGapMs * (i + 1), this, [this, control = list.at(i)] { playOne(control); });
    return true;
}

void SimulatedDevice::playOne(controlhit::Control control)
{
    if (!m_ports->isPlugged())
        return;
    const QString name = control.listName();
    const QByteArray message = controlhit::toMessage(m_controller.image(), control);
    if (message.isEmpty()) {
        emit note(QStringLiteral("%1 sends machine control: not played").arg(name));
        return;
    }
    m_ports->send(message);
    emit note(QStringLiteral("played %1: %2").arg(name, QString::fromLatin1(message.toHex(' ').toUpper())));
}

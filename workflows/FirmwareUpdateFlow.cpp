#include "workflows/FirmwareUpdateFlow.h"

#include "device/ControllerChannel.h"
#include "device/Protocol.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareUpdate.h"
#include "model/SettingsBackup.h"
#include "model/UserPrompt.h"
#include "workflows/WorkflowsLog.h"

#include <QDebug>

FirmwareUpdateFlow::FirmwareUpdateFlow(ControllerChannel &channel, FirmwareUpdate &update, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_update(update)
    , m_safeguard(channel)
    , m_returnRead(channel, protocol::ReadSettings)
{
    connect(&m_safeguard, &SettingsSafeguard::ready, this, [this](bool proceed) {
        if (!proceed || m_stopping) {
            if (m_stopping)
                qCInfo(lcWorkflows) << "firmware update not begun: the program is ending";
            m_update.decline();
            end();
            return;
        }
        if (!m_safeguard.backupPath().isEmpty())
            emit backedUp(m_safeguard.backupPath());
        sendCommand();
    });
    connect(&m_safeguard, &SettingsSafeguard::restore, this, &FirmwareUpdateFlow::restore);
    connect(&m_update, &FirmwareUpdate::transStatus, this, [this](bool isSuccess) {
        if (isSuccess)
            m_safeguard.expectReturn();
        end();
    });
    connect(&m_returnLook, &QTimer::timeout, this, &FirmwareUpdateFlow::lookForReturn);
    connect(&m_returnRead, &ControllerRequest::answered, this, [this](const QByteArray &image) {
        emit returned(compareOnReturn(image) ? Return::Unchanged : Return::Changed);
    });
    connect(&m_returnRead, &ControllerRequest::failed, this, [this] { emit returned(Return::NotBack); });
}

void FirmwareUpdateFlow::setPrompt(UserPrompt *prompt)
{
    m_prompt = prompt;
    m_safeguard.setPrompt(prompt);
}

void FirmwareUpdateFlow::setDataFolder(const QString &folder)
{
    m_safeguard.setFolder(settingsbackup::folderIn(folder));
}

bool FirmwareUpdateFlow::accept(const QString &path)
{
    QString why;
    if (firmwarefile::checkToSend(path, &why))
        return true;
    qCWarning(lcWorkflows) << "firmware file refused:" << why;
    if (m_prompt)
        m_prompt->warning(tr("Firmware update"), why);
    emit refused(why);
    // An update that runs goes on; it alone reports its end.
    if (!m_busy)
        m_update.decline();
    return false;
}

void FirmwareUpdateFlow::stop()
{
    m_stopping = m_busy;
}

void FirmwareUpdateFlow::end()
{
    m_busy = false;
    m_stopping = false;
    emit finished();
}

void FirmwareUpdateFlow::start(const QString &path, const QString &serial)
{
    if (!accept(path))
        return;
    m_path = path;
    m_busy = true;
    // Without its MIDI ports there are no settings to read.
    if (m_backUp && m_channel.isPresent())
        m_safeguard.backUp(serial);
    else
        sendCommand();
}

void FirmwareUpdateFlow::startInUpdateMode(const QString &path)
{
    if (!accept(path))
        return;
    m_path = path;
    m_busy = true;
    m_update.startUpdate(path);
}

void FirmwareUpdateFlow::sendCommand()
{
    QString why;
    m_channel.open(&why);
    if (!m_channel.send(protocol::request(protocol::EnterUpdate), &why) && m_channel.isPresent())
        emit commandFailed(why);
    QTimer::singleShot(kCommandLeadMs, this, [this] { m_channel.close(); });
    m_update.updateAfterCommand(m_path);
}

bool FirmwareUpdateFlow::compareOnReturn(const QByteArray &image)
{
    return m_safeguard.compareOnReturn(image);
}

void FirmwareUpdateFlow::awaitReturn()
{
    m_returnDeadline.setRemainingTime(kReturnWaitMs);
    m_returnLook.start(kReturnLookMs);
}

void FirmwareUpdateFlow::lookForReturn()
{
    QString notYet;
    if (m_channel.open(&notYet)) {
        m_returnLook.stop();
        m_returnRead.start();
    } else if (m_returnDeadline.hasExpired()) {
        m_returnLook.stop();
        emit returned(Return::NotBack);
    }
}

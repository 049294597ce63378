#include "app/RecoveryOffer.h"

#include "app/AppLog.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "firmware/UpdatePortLocator.h"
#include "model/UserPrompt.h"
#include "workflows/FirmwareUpdateFlow.h"

#include <QDebug>
#include <QFileInfo>
#include <QTimer>

#include <utility>

RecoveryOffer::RecoveryOffer(
    FirmwareUpdateFlow &firmware, MyFtp &ftp, std::function<bool()> midiPresent, QObject *parent)
    : QObject(parent)
    , m_firmware(firmware)
    , m_ftp(ftp)
    , m_midiPresent(std::move(midiPresent))
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &RecoveryOffer::look);
    // An update of ours that failed may have left the loader behind: look
    // afresh. One that succeeded leaves it for the new firmware.
    connect(&m_firmware.update(), &FirmwareUpdate::transStatus, this, [this](bool isSuccess) {
        m_steadyLooks = 0;
        if (isSuccess)
            m_quiet.setRemainingTime(kQuietAfterUpdateMs);
    });
    // The update needs the port to itself.
    connect(&m_firmware.update(), &FirmwareUpdate::waitingForController, &m_listener, &LoaderListener::cancel);
    connect(&m_listener, &LoaderListener::heard, this, [this](bool loader) {
        m_loaderHeard = loader;
        if (loader)
            offer();
        else
            m_steadyLooks = 0; // listened to again once it has stayed again
    });
}

void RecoveryOffer::watch()
{
    m_timer->start(kLookMs);
}

void RecoveryOffer::look()
{
    if (m_midiPresent())
        m_quiet = QDeadlineTimer(0);
    const FirmwareUpdate &update = m_firmware.update();
    const bool inUpdateMode = !m_midiPresent() && !m_firmware.isBusy() && m_quiet.hasExpired()
        && !updateport::locate(update.portFinder(), update.portOverride()).isEmpty();
    m_steadyLooks = inUpdateMode ? m_steadyLooks + 1 : 0;
    if (m_steadyLooks == kSteadyLooks)
        offer();
}

void RecoveryOffer::offer()
{
    if (m_firmware.isBusy())
        return;
    // A named port may be a node that stays: only a loader that asks for a
    // file is a controller in update mode.
    const QString named = m_firmware.update().portOverride();
    if (!named.isEmpty() && !std::exchange(m_loaderHeard, false)) {
        if (!m_listener.isListening())
            m_listener.listen(named);
        return;
    }
    emit found();
    if (!m_prompt || m_asking)
        return;
    m_asking = true;
    m_steadyLooks = kSteadyLooks; // asked once for this stay in the loader
    qCDebug(lcApp) << "controller found in update mode";
    // Without its MIDI ports the controller cannot tell its version: any firmware is newer.
    m_ftp.setDeviceConnected(true);
    m_ftp.setCurrentVersion(QStringLiteral("0"));

    const QString last = m_ftp.lastDownloaded();
    QStringList choices;
    if (!last.isEmpty())
        choices << tr("Flash %1 again").arg(QFileInfo(last).fileName());
    choices << tr("Choose a firmware file...") << tr("Look for firmware online");
    const int pick = m_prompt->choose(tr("Controller in update mode"),
        tr("The controller is in update mode without its MIDI ports: a firmware update did not finish. "
           "Flash a firmware to bring it back."),
        choices);
    const int offset = last.isEmpty() ? 1 : 0;
    QString file;
    if (pick == 0 && offset == 0)
        file = last;
    else if (pick == 1 - offset)
        file = m_prompt->openFile(tr("Firmware file"), tr("Firmware (*.bin);;All files (*)"));
    else if (pick == 2 - offset)
        m_ftp.checkOnLineFirmware();
    if (!file.isEmpty())
        m_firmware.startInUpdateMode(file);
    m_asking = false;
}

#include "firmware/SettingsSafeguard.h"

#include "firmware/FirmwareLog.h"
#include "model/SettingsBackup.h"
#include "model/UserPrompt.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QTimer>

SettingsSafeguard::SettingsSafeguard(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kReadTimeoutMs);
    connect(m_timer, &QTimer::timeout, this, [this] { readFailed(tr("the controller did not answer in time")); });
}

void SettingsSafeguard::backUp(const QString &serial, const std::function<bool(QString *why)> &request)
{
    m_serial = serial;
    m_path.clear();
    m_backup.clear();
    m_expectReturn = false;
    m_timer->start();
    QString why;
    if (!request(&why) && m_timer->isActive())
        readFailed(why);
}

bool SettingsSafeguard::takeSettings(const QByteArray &image)
{
    if (!m_timer->isActive())
        return false;
    m_timer->stop();
    QString error;
    if (!settingsbackup::store(
            settingsbackup::defaultFolder(), image, m_serial, QDateTime::currentDateTime(), &m_path, &error)) {
        readFailed(error);
        return true;
    }
    m_backup = image;
    qCDebug(lcFirmware) << "settings saved before the firmware update:" << m_path;
    emit ready(true);
    return true;
}

void SettingsSafeguard::readFailed(const QString &why)
{
    m_timer->stop();
    m_path.clear();
    qCDebug(lcFirmware) << "no settings backup before the firmware update:" << why;
    const bool goOn = m_prompt
        && m_prompt->question(tr("Settings backup"),
            tr("The controller's settings could not be saved before the firmware update: %1.\n\n"
               "Update the firmware without a backup of the settings?")
                .arg(why));
    emit ready(goOn);
}

void SettingsSafeguard::expectReturn()
{
    m_expectReturn = !m_backup.isEmpty();
}

bool SettingsSafeguard::compareOnReturn(const QByteArray &image)
{
    if (!m_expectReturn)
        return false;
    m_expectReturn = false;
    if (settingsbackup::sameSettings(m_backup, image)) {
        qCDebug(lcFirmware) << "settings unchanged by the firmware update";
        return true;
    }
    qCDebug(lcFirmware) << "settings changed by the firmware update; backup:" << m_path;
    if (m_prompt
        && m_prompt->question(tr("Settings backup"),
            tr("After the firmware update the controller's settings differ from those saved "
               "before it (%1).\n\nWrite the saved settings back to the controller?")
                .arg(QDir::toNativeSeparators(m_path))))
        emit restore(settingsbackup::restoredImage(m_backup, image));
    return false;
}

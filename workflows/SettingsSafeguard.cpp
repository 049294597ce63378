#include "workflows/SettingsSafeguard.h"

#include "model/SettingsBackup.h"
#include "model/UserPrompt.h"
#include "workflows/WorkflowsLog.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>

SettingsSafeguard::SettingsSafeguard(ControllerChannel &channel, QObject *parent)
    : QObject(parent)
    , m_read(channel, protocol::ReadSettings)
{
    connect(&m_read, &ControllerRequest::answered, this, &SettingsSafeguard::store);
    // Silence and a reply that is no image alike: no answer in time.
    connect(&m_read, &ControllerRequest::failed, this, [this](const QString &why) {
        readFailed(m_read.wasSent() ? tr("the controller did not answer in time") : why);
    });
}

void SettingsSafeguard::backUp(const QString &serial)
{
    m_serial = serial;
    m_path.clear();
    m_backup.clear();
    m_expectReturn = false;
    m_read.start();
}

void SettingsSafeguard::store(const QByteArray &image)
{
    QString error;
    if (!settingsbackup::store(m_folder.isEmpty() ? settingsbackup::defaultFolder() : m_folder, image, m_serial,
            QDateTime::currentDateTime(), &m_path, &error)) {
        readFailed(error);
        return;
    }
    m_backup = image;
    qCDebug(lcWorkflows) << "settings saved before the firmware update:" << m_path;
    emit ready(true);
}

void SettingsSafeguard::readFailed(const QString &why)
{
    qCDebug(lcWorkflows) << "no settings backup before the firmware update:" << why;
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
        qCDebug(lcWorkflows) << "settings unchanged by the firmware update";
        return true;
    }
    qCDebug(lcWorkflows) << "settings changed by the firmware update; backup:" << m_path;
    if (m_prompt
        && m_prompt->question(tr("Settings backup"),
            tr("After the firmware update the controller's settings differ from those saved "
               "before it (%1).\n\nWrite the saved settings back to the controller?")
                .arg(QDir::toNativeSeparators(m_path))))
        emit restore(settingsbackup::restoredImage(m_backup, image));
    return false;
}

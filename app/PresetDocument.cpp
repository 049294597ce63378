#include "app/PresetDocument.h"

#include "app/AppLog.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "model/UserPrompt.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

PresetDocument::PresetDocument(DataManagement *settings, EditHistory *history, EditSession *session, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_session(session)
{ }

QString PresetDocument::askSavePath()
{
    const QString stmFilter = tr("stm (*.stm)");
    const QString syxFilter = tr("syx (*.syx)");
    const QString filters = stmFilter + QStringLiteral(";;") + syxFilter;
    QString selected = stmFilter;
    QString path = m_savePathQuestion
        ? m_savePathQuestion(filters, &selected)
        : QFileDialog::getSaveFileName(nullptr, tr("Save File"), QString(), filters, &selected);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += selected == syxFilter ? QStringLiteral(".syx") : QStringLiteral(".stm");
    return path;
}

void PresetDocument::save()
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

void PresetDocument::saveAs()
{
    commitPendingEdits();
    const QString path = askSavePath();
    if (path.isEmpty())
        return;
    m_filePath = path;
    qCDebug(lcApp) << "m_filePath" << m_filePath;
    savePresetTo(m_filePath);
}

void PresetDocument::openFile()
{
    if (!mayDiscard(QCoreApplication::translate("MyMenuBar", "Open"), true))
        return;
    const QString path = m_prompt ? m_prompt->openFile(QString(), QString()) : QString();
    qCDebug(lcApp) << "filePath" << path;
    if (!path.isEmpty())
        openPresetPath(path);
}

void PresetDocument::restoreDefault()
{
    if (!mayDiscard(QCoreApplication::translate("MyMenuBar", "Restore The Default"), true))
        return;
    const EditHistory::Group step(m_history, QStringLiteral("restoreDefault"));
    m_settings->initDefaultData();
}

bool PresetDocument::confirmClose()
{
    return mayDiscard(QCoreApplication::translate("MyMenuBar", "Quit"), true, true);
}

// Before the editor's settings are replaced or dropped: asks when they are in
// neither their file nor the controller. False when the user keeps them.
bool PresetDocument::mayDiscard(const QString &action, bool offerSend, bool leaving)
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
    if (offerSend && m_controllerPresent && m_session->unsentCount() > 0)
        choices << sendChoice;
    choices << tr("Discard");
    const QString choice = m_prompt ? choices.value(m_prompt->choose(action, text, choices)) : QString();
    if (choice == saveChoice) {
        save();
        return !m_session->unsaved();
    }
    if (choice == sendChoice) {
        emit sendRequested();
        return m_session->unsentCount() == 0;
    }
    return !choice.isEmpty();
}

bool PresetDocument::savePresetTo(const QString &path)
{
    QString error;
    if (preset::writeFile(path, m_settings->imageBytes(), &error)) {
        m_filePath = path;
        m_session->setFile(path);
        return true;
    }
    qCWarning(lcApp) << "saving the preset failed:" << path << error;
    showFileError(tr("The preset could not be saved to \"%1\".\n%2").arg(QDir::toNativeSeparators(path), error));
    return false;
}

bool PresetDocument::openPresetPath(const QString &path)
{
    QByteArray image;
    QString error;
    if (!preset::readFile(path, &image, &error)) {
        qCWarning(lcApp) << "opening the preset failed:" << path << error;
        showFileError(tr("The preset \"%1\" could not be opened.\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    const EditHistory::Group step(m_history, QStringLiteral("openPreset"));
    m_settings->setImage(image.constData(), image.size());
    m_filePath = path;
    m_session->setFile(path);
    emit opened();
    qCDebug(lcApp) << "preset opened:" << path;
    return true;
}

void PresetDocument::openPresetFiles(const QStringList &paths)
{
    if (!paths.isEmpty() && !mayDiscard(QCoreApplication::translate("MyMenuBar", "Open"), true))
        return;
    for (const QString &path : paths)
        openPresetPath(path);
}

void PresetDocument::showFileError(const QString &text)
{
    if (m_prompt)
        m_prompt->critical(tr("Error prompt"), text);
}

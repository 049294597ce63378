#include "app/PresetDocument.h"

#include "app/AppLog.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "model/SettingsDiff.h"
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
    const QString jsonFilter = tr("Preset as text (*.json)");
    const QString filters = QStringList{stmFilter, syxFilter, jsonFilter}.join(QStringLiteral(";;"));
    QString selected = stmFilter;
    QString path = m_savePathQuestion
        ? m_savePathQuestion(filters, &selected)
        : QFileDialog::getSaveFileName(nullptr, tr("Save File"), QString(), filters, &selected);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += selected == syxFilter ? QStringLiteral(".syx")
            : selected == jsonFilter  ? QStringLiteral(".json")
                                      : QStringLiteral(".stm");
    return path;
}

QString PresetDocument::filePath() const
{
    return m_session->filePath();
}

void PresetDocument::save()
{
    commitPendingEdits();
    QString path = filePath();
    if (path.isEmpty())
        path = askSavePath();
    if (path.isEmpty())
        return; // cancelled: nothing written, nothing forgotten
    qCDebug(lcApp) << "m_filePath" << path;
    savePresetTo(path);
}

void PresetDocument::saveAs()
{
    commitPendingEdits();
    const QString path = askSavePath();
    if (path.isEmpty())
        return;
    qCDebug(lcApp) << "m_filePath" << path;
    savePresetTo(path);
}

void PresetDocument::openFile()
{
    if (!mayReplace(Replacing::Open))
        return;
    const QString path = m_prompt ? m_prompt->openFile(QString(), QString()) : QString();
    qCDebug(lcApp) << "filePath" << path;
    if (!path.isEmpty())
        openPresetPath(path);
}

void PresetDocument::restoreDefault()
{
    if (!mayReplace(Replacing::RestoreDefault))
        return;
    const EditHistory::Group step(m_history, QStringLiteral("restoreDefault"));
    m_settings->initDefaultData();
}

QStringList PresetDocument::pendingWork(bool unsent) const
{
    QStringList what;
    if (m_session->unsaved())
        what << (m_session->fileName().isEmpty()
                ? tr("The settings in the editor are not saved.")
                : tr("The changes to \"%1\" are not saved.").arg(m_session->fileName()));
    if (unsent && m_session->unsentCount() > 0)
        what << tr("%n change(s) not sent to the controller.", "", m_session->unsentCount());
    return what;
}

int PresetDocument::ask(const QString &title, const QStringList &text, const QList<Choice> &choices)
{
    QStringList texts;
    for (const Choice &choice : choices)
        texts << choice.text;
    const int pick = m_prompt ? m_prompt->choose(title, text.join(QLatin1Char(' ')), texts) : -1;
    if (pick < 0 || pick >= choices.size())
        return -1;
    if (choices[pick].save) {
        save();
        if (m_session->unsaved())
            return -1;
    }
    if (choices[pick].send) {
        emit sendRequested();
        if (m_session->unsentCount() > 0)
            return -1;
    }
    return pick;
}

bool PresetDocument::mayReplace(Replacing what)
{
    commitPendingEdits();
    if (!m_session->wouldLoseWork())
        return true;
    // The menu's own words for the title.
    QString title, saveAnd, without;
    switch (what) {
    case Replacing::Open:
        title = QCoreApplication::translate("MyMenuBar", "Open");
        saveAnd = tr("Save and Open");
        without = tr("Open Without Saving");
        break;
    case Replacing::Get:
        title = QCoreApplication::translate("MyMenuBar", "Get From Hardware");
        saveAnd = tr("Save and Get");
        without = tr("Get Without Saving");
        break;
    case Replacing::RestoreDefault:
        title = QCoreApplication::translate("MyMenuBar", "Restore The Default");
        saveAnd = tr("Save and Restore");
        without = tr("Restore Without Saving");
        break;
    }
    return ask(title, pendingWork(true), {{saveAnd, true}, {without}}) >= 0;
}

bool PresetDocument::confirmClose()
{
    if (m_closeGuard && !m_closeGuard())
        return false;
    commitPendingEdits();
    if (!m_session->wouldLeaveWork())
        return true;
    const bool saveDue = m_session->unsaved();
    const bool sendDue = m_session->unsentCount() > 0;
    const bool canSend = sendDue && m_controllerPresent;
    QList<Choice> choices;
    if (saveDue && canSend)
        choices << Choice{tr("Save and Send"), true, true} << Choice{tr("Save Only"), true, false}
                << Choice{tr("Send Only"), false, true};
    else if (saveDue)
        choices << Choice{sendDue ? tr("Save Only") : tr("Save and Quit"), true, false};
    else if (canSend)
        choices << Choice{tr("Send and Quit"), false, true};
    choices << Choice{saveDue && sendDue ? tr("Quit Without Saving or Sending")
            : saveDue                    ? tr("Quit Without Saving")
                                         : tr("Quit Without Sending")};
    return ask(QCoreApplication::translate("MyMenuBar", "Quit"), pendingWork(true), choices) >= 0;
}

void PresetDocument::takeRestoredBackup(const QByteArray &image)
{
    commitPendingEdits();
    if (settingsDiff::sameSettings(m_settings->imageBytes(), image))
        return;
    // What the user opened or edited is replaced only when asked for.
    if (m_session->holdsUserWork()) {
        const QList<Choice> choices = m_session->unsaved()
            ? QList<Choice>{{tr("Save and Load the Backup"), true}, {tr("Load the Backup Without Saving")}}
            : QList<Choice>{{tr("Load the Backup")}};
        const QStringList text = QStringList{tr("The saved settings are back on the controller.")} + pendingWork(false)
            + QStringList{tr("Load them into the editor as well?")};
        if (ask(tr("Settings backup"), text, choices) < 0)
            return;
    }
    // The controller's settings, in no file: Save asks where they go.
    const EditHistory::Group step(m_history, QStringLiteral("restoreBackup"));
    m_settings->setImage(image.constData(), image.size());
    m_session->setFile(QString());
}

bool PresetDocument::savePresetTo(const QString &path)
{
    if (!writePreset(path, m_settings->imageBytes()))
        return false;
    m_session->setFile(path);
    return true;
}

bool PresetDocument::saveCopyAs(const QByteArray &image)
{
    const QString path = askSavePath();
    return !path.isEmpty() && writePreset(path, image);
}

bool PresetDocument::writePreset(const QString &path, const QByteArray &image)
{
    QString error;
    if (preset::writeFile(path, image, &error))
        return true;
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
    m_session->setFile(path);
    emit opened();
    qCDebug(lcApp) << "preset opened:" << path;
    return true;
}

void PresetDocument::openPresetFiles(const QStringList &paths)
{
    if (!paths.isEmpty() && !mayReplace(Replacing::Open))
        return;
    for (const QString &path : paths)
        openPresetPath(path);
}

void PresetDocument::showFileError(const QString &text)
{
    if (m_prompt)
        m_prompt->critical(tr("Error prompt"), text);
}

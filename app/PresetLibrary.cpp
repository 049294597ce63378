#include "app/PresetLibrary.h"

#include "app/AppLog.h"
#include "app/PresetDocument.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "model/SettingsLayout.h"

#include <QColor>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char kFoldersKey[] = "Library/folders";
constexpr int kMostFilesWatched = 1000;

QSettings settings()
{
    return {QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvel"), QStringLiteral("korvelMavu")};
}

} // namespace

PresetLibrary::PresetLibrary(PresetDocument *document, EditSession *session, QObject *parent)
    : QAbstractListModel(parent)
    , m_document(document)
{
    // The current file's mark follows Open, Save As and the rest.
    connect(session, &EditSession::changed, this,
        [this] { emit dataChanged(index(0), index(rowCount() - 1), {IsCurrentRole}); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PresetLibrary::rescan);
    // A file written in place changes no folder: watched on its own.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &PresetLibrary::rescan);
    QStringList folders = settings().value(QLatin1String(kFoldersKey)).toStringList();
    if (folders.isEmpty())
        folders << defaultFolder();
    // Listed when first shown, not while the editor starts.
    m_folders = folders;
}

QString PresetLibrary::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Korvel Mavu");
}

void PresetLibrary::setFolders(const QStringList &folders)
{
    if (folders == m_folders)
        return;
    m_folders = folders;
    settings().setValue(QLatin1String(kFoldersKey), m_folders);
    emit foldersChanged();
    rescan();
}

void PresetLibrary::addFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (!clean.isEmpty() && !m_folders.contains(clean))
        setFolders(m_folders + QStringList{clean});
}

void PresetLibrary::removeFolder(const QString &folder)
{
    QStringList rest = m_folders;
    rest.removeAll(folder);
    setFolders(rest);
}

void PresetLibrary::chooseFolder()
{
    addFolder(QFileDialog::getExistingDirectory(nullptr, tr("Add a Folder to the Library"), m_folders.value(0)));
}

void PresetLibrary::openDropped(const QList<QUrl> &urls)
{
    QStringList paths;
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    m_document->openPresetFiles(paths);
}

void PresetLibrary::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit filterChanged();
    beginResetModel();
    applyFilter();
    endResetModel();
    emit countChanged();
}

void PresetLibrary::rescan()
{
    // Only names, dates and sizes: what a file holds is read when it is shown.
    QList<Entry> entries;
    QStringList watched;
    for (const QString &folder : qAsConst(m_folders)) {
        const QDir dir(folder);
        if (!dir.exists())
            continue;
        watched << folder;
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
            entries.append({info.filePath(), info.fileName(), info.lastModified(), info.size()});
    }
    // Each file too while they are few: the system's watches are limited.
    if (entries.size() <= kMostFilesWatched) {
        for (const Entry &entry : qAsConst(entries))
            watched << entry.path;
    }
    const QStringList before = m_watcher.directories() + m_watcher.files();
    if (!before.isEmpty())
        m_watcher.removePaths(before);
    if (!watched.isEmpty())
        m_watcher.addPaths(watched);
    beginResetModel();
    m_entries = entries;
    applyFilter();
    endResetModel();
    emit countChanged();
}

void PresetLibrary::applyFilter()
{
    m_shown.clear();
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).name.contains(m_filter, Qt::CaseInsensitive))
            m_shown << i;
    }
}

int PresetLibrary::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown.size();
}

const PresetLibrary::Content &PresetLibrary::content(const Entry &entry) const
{
    Content &c = m_contents[entry.path];
    if (c.size == entry.size && c.modified == entry.modified)
        return c;
    c = Content{entry.modified, entry.size, QString(), QVariantList()};
    QByteArray image;
    if (!preset::readFile(entry.path, &image, &c.reason))
        return c;
    for (int pad = 0; pad < layout::kPadCount; ++pad) {
        const int at = layout::padOffset(pad) + 4;
        // Shown as the editor shows a pad: each stored component doubled.
        c.colors << QColor(2 * quint8(image.at(at)), 2 * quint8(image.at(at + 1)), 2 * quint8(image.at(at + 2))).name();
    }
    return c;
}

QVariant PresetLibrary::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const Entry &entry = m_entries.at(m_shown.at(index.row()));
    switch (role) {
    case NameRole:
        return entry.name;
    case PathRole:
        return entry.path;
    case DateRole:
        return QLocale().toString(entry.modified, QLocale::ShortFormat);
    case IsPresetRole:
        return content(entry).reason.isEmpty();
    case ReasonRole:
        return content(entry).reason;
    case ColorsRole:
        return content(entry).colors;
    case IsCurrentRole:
        return entry.path == m_document->filePath();
    default:
        return {};
    }
}

QHash<int, QByteArray> PresetLibrary::roleNames() const
{
    return {{NameRole, "name"}, {PathRole, "path"}, {DateRole, "date"}, {IsPresetRole, "isPreset"},
        {ReasonRole, "reason"}, {ColorsRole, "colors"}, {IsCurrentRole, "isCurrent"}};
}

bool PresetLibrary::open(int row)
{
    if (row < 0 || row >= m_shown.size())
        return false;
    const Entry &entry = m_entries.at(m_shown.at(row));
    if (!content(entry).reason.isEmpty() || !m_document->mayReplace(PresetDocument::Replacing::Open))
        return false;
    return m_document->openPresetPath(entry.path);
}

bool PresetLibrary::rename(int row, const QString &name)
{
    if (row < 0 || row >= m_shown.size())
        return false;
    const QFileInfo old(m_entries.at(m_shown.at(row)).path);
    QString base = name.trimmed();
    // A name, not a path: nothing leads out of the folder.
    if (base.isEmpty() || base.contains(QLatin1Char('/')) || base.startsWith(QLatin1Char('.')))
        return false;
    if (!old.suffix().isEmpty() && QFileInfo(base).suffix().compare(old.suffix(), Qt::CaseInsensitive) != 0)
        base += QLatin1Char('.') + old.suffix();
    const QString target = old.dir().filePath(base);
    if (QFileInfo::exists(target) || !QFile::rename(old.filePath(), target)) {
        qCWarning(lcApp) << "cannot rename" << old.filePath() << "to" << target;
        return false;
    }
    rescan();
    return true;
}

bool PresetLibrary::trash(int row)
{
    if (row < 0 || row >= m_shown.size())
        return false;
    const QString path = m_entries.at(m_shown.at(row)).path;
    if (!QFile::moveToTrash(path)) {
        qCWarning(lcApp) << "cannot move to the trash:" << path;
        return false;
    }
    rescan();
    return true;
}

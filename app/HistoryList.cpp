#include "app/HistoryList.h"

#include "app/AppLog.h"
#include "app/DifferenceList.h"
#include "app/PresetDocument.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/PresetFile.h"
#include "model/SettingsDiff.h"

#include <QDebug>
#include <QLocale>

#include <iterator>

HistoryList::HistoryList(history::Recorder *snapshots, DataManagement *settings, EditHistory *history,
    DifferenceList *differences, PresetDocument *document, QObject *parent)
    : QAbstractListModel(parent)
    , m_snapshots(snapshots)
    , m_settings(settings)
    , m_history(history)
    , m_differences(differences)
    , m_document(document)
{ }

int HistoryList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant HistoryList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const history::Snapshot &s = m_rows.at(index.row());
    switch (role) {
    case IdRole:
        return s.id;
    case TimeRole:
        return QLocale().toString(s.when.toLocalTime(), QLocale::ShortFormat);
    case EventRole: {
        static const char *const names[]
            = {QT_TR_NOOP("Read on arrival"), QT_TR_NOOP("Get From Hardware"), QT_TR_NOOP("Send To Hardware"),
                QT_TR_NOOP("Backup before a firmware update"), QT_TR_NOOP("Backup written back")};
        for (int e = 0; e < int(std::size(names)); ++e) {
            if (s.event == history::eventName(history::Event(e)))
                return tr(names[e]);
        }
        return s.event;
    }
    case DifferencesRole:
        return m_differenceCounts.value(index.row());
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryList::roleNames() const
{
    return {{IdRole, "snapshotId"}, {TimeRole, "time"}, {EventRole, "event"}, {DifferencesRole, "differences"}};
}

void HistoryList::reload(const QString &serial)
{
    // A send just made is listed, and no file is read while its pruning may remove it.
    m_snapshots->waitForDone();
    beginResetModel();
    m_serial = serial;
    m_rows = history::list(m_snapshots->folder(), serial);
    m_differenceCounts.clear();
    const QByteArray editor = m_settings->imageBytes();
    for (int row = 0; row < m_rows.size(); ++row) {
        QByteArray snapshot;
        m_differenceCounts << (image(row, &snapshot) ? settingsDiff::compare(editor, snapshot).size() : -1);
    }
    endResetModel();
    emit changed();
}

bool HistoryList::image(int row, QByteArray *image) const
{
    QString error;
    if (row < 0 || row >= m_rows.size())
        return false;
    if (preset::readFile(m_rows.at(row).path, image, &error))
        return true;
    qCWarning(lcApp) << "the snapshot cannot be read:" << m_rows.at(row).path << error;
    return false;
}

bool HistoryList::compare(int row)
{
    return row >= 0 && row < m_rows.size() && m_differences->compareWithFile(m_rows.at(row).path);
}

bool HistoryList::take(int row)
{
    QByteArray snapshot;
    if (!image(row, &snapshot))
        return false;
    const EditHistory::Group step(m_history, QStringLiteral("takeSnapshot"));
    m_settings->setImage(snapshot.constData(), snapshot.size());
    reload(m_serial); // the differences are the editor's new ones
    return true;
}

bool HistoryList::saveAs(int row)
{
    QByteArray snapshot;
    return image(row, &snapshot) && m_document->saveCopyAs(snapshot);
}

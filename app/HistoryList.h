#pragma once

#include "model/ControllerHistory.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>

class DataManagement;
class DifferenceList;
class EditHistory;
class PresetDocument;

// The history view's rows: the snapshots kept of the controller (of every
// controller while none is there), newest first, each with the number of
// settings in which it differs from the editor. QML reaches it as "Snapshots".
class HistoryList : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY changed)
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        TimeRole,
        EventRole,
        DifferencesRole,
    };

    HistoryList(history::Recorder *snapshots, DataManagement *settings, EditHistory *history,
        DifferenceList *differences, PresetDocument *document, QObject *parent = nullptr);

    int count() const { return m_rows.size(); }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

public slots:
    // Lists the snapshots of the controller with this serial number (empty:
    // of all), once those still being written are in (and older ones pruned).
    void reload(const QString &serial);
    // Shows the snapshot in the Compare dialog's list.
    bool compare(int row);
    // The snapshot's settings into the editor, as one step to undo.
    bool take(int row);
    // Asks where and writes the snapshot as a preset; the editor's file stays.
    bool saveAs(int row);

signals:
    void changed();

private:
    bool image(int row, QByteArray *image) const;

    history::Recorder *m_snapshots;
    QString m_serial;
    DataManagement *m_settings;
    EditHistory *m_history;
    DifferenceList *m_differences;
    PresetDocument *m_document;
    QList<history::Snapshot> m_rows;
    QList<int> m_differenceCounts;
};

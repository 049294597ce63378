#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>

class EditSession;
class PresetDocument;

// The library panel's rows: the files of the preset folders, filtered by
// name. What a file holds (its 48 pad colours, or why it is no preset) is
// read only when a row is shown and kept until the file changes, so a folder
// of thousands lists at once. The folders are watched: files added, changed
// or removed by other programs show at once. QML reaches it as "Library".
class PresetLibrary : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QStringList folders READ folders NOTIFY foldersChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        PathRole,
        DateRole,
        IsPresetRole,
        ReasonRole, // why it is no preset; empty for a preset
        ColorsRole, // 48 "#rrggbb", pad 0 first, for a preset
        IsCurrentRole,
    };

    PresetLibrary(PresetDocument *document, EditSession *session, QObject *parent = nullptr);

    // The user's documents folder's "Korvel Mavu".
    static QString defaultFolder();

    QStringList folders() const { return m_folders; }
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter);
    int count() const { return m_shown.size(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

public slots:
    void setFolders(const QStringList &folders);
    void addFolder(const QString &folder);
    void removeFolder(const QString &folder);
    // Asks for a folder and adds it.
    void chooseFolder();
    // Files dragged onto the window open as a preset opened from the menu does.
    void openDropped(const QList<QUrl> &urls);
    // Opens the preset of a row (asking first when work would be lost).
    bool open(int row);
    // A new name in the same folder, the extension kept; false when it cannot be.
    bool rename(int row, const QString &name);
    // To the desktop's trash, never deleted.
    bool trash(int row);
    // Lists the folders again (also when they change).
    void rescan();

signals:
    void foldersChanged();
    void filterChanged();
    void countChanged();

private:
    struct Entry {
        QString path;
        QString name;
        QDateTime modified;
        qint64 size = 0;
    };
    struct Content {
        QDateTime modified;
        qint64 size = -1;
        QString reason;
        QVariantList colors;
    };
    const Content &content(const Entry &entry) const;
    void applyFilter();

    PresetDocument *m_document;
    QStringList m_folders;
    QString m_filter;
    QList<Entry> m_entries;
    QList<int> m_shown;
    mutable QHash<QString, Content> m_contents;
    QFileSystemWatcher m_watcher;
};

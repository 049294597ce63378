#pragma once

#include "model/SettingsDiff.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class DataManagement;
class EditSession;

// The compare dialog's rows: every setting in which the editor differs from
// the controller or from a preset file, and taking the other side's value.
// QML reaches it as "Differences".
class DifferenceList : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(bool withFile READ withFile NOTIFY changed)
    Q_PROPERTY(QString fileName READ fileName NOTIFY changed)
    Q_PROPERTY(int count READ count NOTIFY changed)
    // Instead of the rows: why there are none (not known, unreadable, equal).
    Q_PROPERTY(QString status READ status NOTIFY changed)
public:
    enum Role {
        LabelRole = Qt::UserRole + 1,
        EditorValueRole,
        OtherValueRole,
        EditorColorRole, // pads' colours as a swatch; invalid for other settings
        OtherColorRole,
    };
    using PathQuestion = std::function<QString()>;

    // Against the controller the rows are the session's own comparison.
    DifferenceList(DataManagement *editor, EditSession *session, QObject *parent = nullptr);

    // Replaces the file dialog, for tests.
    void setPathQuestion(PathQuestion question) { m_pathQuestion = std::move(question); }

    bool withFile() const { return m_withFile; }
    QString fileName() const;
    int count() const { return m_rows.size(); }
    QString status() const { return m_status; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // "Pad A3 · Note", "Knob B2 · Channel", translated.
    QString label(const settingsDiff::Difference &difference) const;

public slots:
    void compareWithController();
    bool compareWithFile(const QString &path);
    // Asks for a preset and compares with it; a cancelled question changes nothing.
    void chooseFile();
    // Takes the other side's value of one row, or of all, into the editor in one change.
    void take(int row);
    void takeAll();
    // Follows the session's changes: edits, and the controller's image.
    void refresh();

signals:
    void changed();

private:
    void apply(const QList<settingsDiff::Difference> &rows);
    // The editor's type of the difference's pad, knob or button ("NOTE", "CC", …).
    QString typeName(const settingsDiff::Difference &difference) const;
    QString valueText(const QString &value) const;

    DataManagement *m_editor;
    EditSession *m_session;
    PathQuestion m_pathQuestion;
    bool m_withFile = false;
    QString m_path;
    QString m_fileError;
    QByteArray m_other;
    QList<settingsDiff::Difference> m_rows;
    QString m_status;
};

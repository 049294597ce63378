#pragma once

#include "model/ControlId.h"
#include "model/EditSession.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class DataManagement;

// Undo and redo of the settings image: every change the model reports becomes
// a step holding the image before and after it, and the file it belongs to
// when the step changed that (an Open). QML reaches it as "EditHistory".
class EditHistory : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY historyChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY historyChanged)
    // The whole menu text in the current language: "Undo Pad A3 note", or "Undo" alone.
    Q_PROPERTY(QString undoText READ undoText NOTIFY historyChanged)
    Q_PROPERTY(QString redoText READ redoText NOTIFY historyChanged)
public:
    static constexpr int kDepth = 100;
    // Edits of one setting further apart than this are steps of their own.
    static constexpr qint64 kPauseMs = 1000;

    explicit EditHistory(DataManagement *model, QObject *parent = nullptr);

    // The session whose file travels with the steps, and whose saves, sends
    // and reads end the merging of edits (not owned).
    void setSession(EditSession *session);
    // Milliseconds on a steady clock.
    void setClock(std::function<qint64()> nowMs) { m_now = std::move(nowMs); }

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    QString undoText() const;
    QString redoText() const;

    // Everything the model reports between the outermost begin and its end is
    // one step, named after `what`: "fillBank" (with the bank 1–3),
    // "openPreset", "getFromHardware", "restoreDefault", "restoreBackup".
    Q_INVOKABLE void beginGroup(const QString &what, int bank = 0);
    Q_INVOKABLE void endGroup();

    // The same as a scope, for C++ callers.
    class Group
    {
    public:
        Group(EditHistory *history, const QString &what, int bank = 0);
        ~Group();
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;

    private:
        EditHistory *m_history;
    };

public slots:
    void undo();
    void redo();
    // The texts are translated when read; this tells QML to read them again.
    void retranslate() { emit historyChanged(); }

signals:
    void historyChanged();

private:
    // What a step changed. A lone setting (control, index, key) lets
    // repeated edits of it merge; a group names itself.
    struct Label {
        QString group;
        int bank = 0;
        ControlId control; // Kind::None for several controls
        QString key; // empty when one control changed in several settings
        int padType = 0; // names a pad's number: note, CC or program
        bool sameSetting(const Label &other) const
        {
            return group.isEmpty() && !key.isEmpty() && control == other.control && key == other.key
                && other.group.isEmpty();
        }
    };
    struct Step {
        QByteArray before;
        QByteArray after;
        Label label;
        EditSession::FileState fileBefore;
        EditSession::FileState fileAfter;
    };

    void modelChanged();
    void record(const QByteArray &after, const Label &label, const EditSession::FileState &fileBefore);
    void restore(const QByteArray &image, const Step &step, bool before);
    EditSession::FileState fileState() const;
    Label describeChange(const QByteArray &before, const QByteArray &after) const;
    QString text(const Label &label) const;

    DataManagement *m_model;
    EditSession *m_session = nullptr;
    std::function<qint64()> m_now;
    std::deque<Step> m_steps;
    int m_done = 0; // steps in force; those after it are redoable
    QByteArray m_current; // the image as last recorded
    int m_groupDepth = 0;
    Label m_group;
    EditSession::FileState m_groupFile; // as the outermost group began
    bool m_restoring = false;
    bool m_mayMerge = false; // the last step may take in the next edit of its setting
    qint64 m_lastEditMs = 0;
};

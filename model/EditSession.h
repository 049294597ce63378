#pragma once

#include "model/SettingsDiff.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantList>

class DataManagement;

// What the editor's image stands against: the controller's last known image
// (read from it or sent to it) and the file it was opened from or saved to.
// QML reaches it as "Session".
class EditSession : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int unsentCount READ unsentCount NOTIFY changed)
    Q_PROPERTY(bool controllerKnown READ controllerKnown NOTIFY changed)
    Q_PROPERTY(bool unsaved READ unsaved NOTIFY changed)
    Q_PROPERTY(QString fileName READ fileName NOTIFY changed)
    // "my.stm*" for the title: the file's name, marked while changed; empty
    // for settings without a file that nobody changed.
    Q_PROPERTY(QString displayName READ displayName NOTIFY changed)
    // The window's title: the program's name, after displayName when there is one.
    Q_PROPERTY(QString windowTitle READ windowTitle NOTIFY changed)
    // Indexes of the pads, knobs and buttons that differ from the controller.
    Q_PROPERTY(QVariantList differingPads READ differingPads NOTIFY changed)
    Q_PROPERTY(QVariantList differingKnobs READ differingKnobs NOTIFY changed)
    Q_PROPERTY(QVariantList differingButtons READ differingButtons NOTIFY changed)
    Q_PROPERTY(QString firmwareVersion MEMBER m_firmwareVersion NOTIFY firmwareVersionChanged)
public:
    explicit EditSession(DataManagement *data, QObject *parent = nullptr);

    // Read from the controller or sent to it; empty when unplugged.
    void setControllerImage(const QByteArray &image);
    QByteArray controllerImage() const { return m_controller; }
    bool controllerKnown() const { return !m_controller.isEmpty(); }

    // The editor's image now is what the file holds (opened or saved); an
    // empty path: in no file, as the program put it there.
    void setFile(const QString &path);
    QString filePath() const { return m_filePath; }
    QString fileName() const;
    QString displayName() const;
    QString windowTitle() const;
    // The editor's image was put there by the program, not chosen by the user.
    void setUntouched();

    // The file the editor's image belongs to and what it holds (the
    // program's image when there is no file): what an undone Open or read
    // puts back with the settings.
    struct FileState {
        QString path;
        QByteArray saved;
        bool operator==(const FileState &other) const { return path == other.path && saved == other.saved; }
        bool operator!=(const FileState &other) const { return !(*this == other); }
    };
    FileState fileState() const { return {m_filePath, m_saved}; }
    // A file's content is the last one this session wrote or read, though
    // the state was taken before that.
    void setFileState(const FileState &state);

    int unsentCount() const { return controllerKnown() ? int(m_differences.size()) : 0; }
    // Changed since it was opened, saved, or (without a file) put there by the program.
    bool unsaved() const { return m_unsaved; }
    // A file chosen or edits made: an automatic read must not replace it.
    bool holdsUserWork() const { return !m_filePath.isEmpty() || unsaved(); }
    // Replacing the editor's image would lose it: in neither the file nor the controller.
    bool wouldLoseWork() const { return unsaved() && (!controllerKnown() || unsentCount() > 0); }
    // Leaving would lose that too, or leave the controller without changes
    // meant for it (a preset opened, maybe saved, never sent).
    bool wouldLeaveWork() const { return wouldLoseWork() || unsentCount() > 0; }

    // "1.2.3": the controller's once known, else what the settings carry;
    // the property is empty until the first change.
    QString firmwareVersion() const;

    // Where the editor (left) differs from the controller (right), compared
    // once per change for the count, the marks and the compare dialog;
    // empty while the controller is not known.
    const QList<settingsDiff::Difference> &differences() const { return m_differences; }

    // Taken once per change: every pad, knob and button asks.
    QVariantList differingPads() const { return m_differingPads; }
    QVariantList differingKnobs() const { return m_differingKnobs; }
    QVariantList differingButtons() const { return m_differingButtons; }

signals:
    void changed();
    // A save, a send or a read: the next edit is an undo step of its own.
    void checkpoint();
    void firmwareVersionChanged();

private:
    void update();
    QVariantList differing(ControlId::Kind kind) const;

    DataManagement *m_data;
    QByteArray m_controller;
    QByteArray m_saved; // the file's image, or the program's when there is no file
    QString m_filePath;
    QHash<QString, QByteArray> m_fileContents; // by path, as last written or read
    QVariantList m_differingPads;
    QVariantList m_differingKnobs;
    QVariantList m_differingButtons;
    QList<settingsDiff::Difference> m_differences;
    bool m_unsaved = false;
    QString m_firmwareVersion;
};

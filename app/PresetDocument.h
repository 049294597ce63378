#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class DataManagement;
class EditHistory;
class EditSession;
class UserPrompt;

// The editor's settings as a document: opened from and saved to preset
// files, and not dropped unasked while they are in neither their file nor
// the controller. QML calls it "Document".
class PresetDocument : public QObject
{
    Q_OBJECT
public:
    PresetDocument(DataManagement *settings, EditHistory *history, EditSession *session, QObject *parent = nullptr);

    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; } // not owned
    // The save dialog's question: returns the chosen path (empty when
    // cancelled) and sets *filter to the chosen filter. Replaceable for tests.
    using SavePathQuestion = std::function<QString(const QString &filters, QString *filter)>;
    void setSavePathQuestion(SavePathQuestion question) { m_savePathQuestion = std::move(question); }
    // Asked before anything else when the window is to close; false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // Where Save writes without asking: the file the title names.
    QString filePath() const;
    // Preset files without dialogs; failures show an error box naming the file.
    bool openPresetPath(const QString &path);
    bool savePresetTo(const QString &path);
    // Asks where and writes image there as a preset; the editor's file stays as it is.
    bool saveCopyAs(const QByteArray &image);

    // What replaces the editor's settings.
    enum class Replacing { Open, Get, RestoreDefault };
    // Asks first when the settings are in neither their file nor the
    // controller (Save and …, … Without Saving, Cancel); false when the
    // action should not go on.
    bool mayReplace(Replacing what);
    // The settings backup is back on the controller: the editor takes it
    // too, asking first when it holds the user's own file or edits.
    void takeRestoredBackup(const QByteArray &image);
    // Has the field being typed in write its value (before a save, send, copy or quit).
    void commitPendingEdits() { emit commitEditsRequested(); }

public slots:
    void save();
    void saveAs();
    void openFile();
    void restoreDefault();
    // Asks first when closing would lose changes or leave them unsent; false keeps the window open.
    bool confirmClose();
    // Files given on the command line or handed over by a later start, in order.
    void openPresetFiles(const QStringList &paths);
    // Send is offered only while the controller is there.
    void setControllerPresent(bool present) { m_controllerPresent = present; }

signals:
    // The page answers by moving the focus, so an unconfirmed field writes its value now.
    void commitEditsRequested();
    // The user chose Send when asked: the settings go to the controller now.
    void sendRequested();
    // A preset replaced the editor's settings.
    void opened();

private:
    // A button of a question, which does all it names.
    struct Choice {
        QString text;
        bool save = false;
        bool send = false;
    };
    // The choice taken once the save and send it names went through; -1 otherwise.
    int ask(const QString &title, const QStringList &text, const QList<Choice> &choices);
    // What would be lost: the unsaved file, the changes not sent.
    QStringList pendingWork(bool unsent) const;
    QString askSavePath();
    void showFileError(const QString &text);
    bool writePreset(const QString &path, const QByteArray &image);

    DataManagement *m_settings;
    EditHistory *m_history;
    EditSession *m_session;
    UserPrompt *m_prompt = nullptr;
    SavePathQuestion m_savePathQuestion;
    std::function<bool()> m_closeGuard;
    bool m_controllerPresent = false;
};

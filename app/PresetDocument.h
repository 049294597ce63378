#pragma once

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

    // Where Save writes without asking; set by Save As even when that save failed.
    QString filePath() const { return m_filePath; }
    // Preset files without dialogs; failures show an error box naming the file.
    bool openPresetPath(const QString &path);
    bool savePresetTo(const QString &path);

    // Asks before work is dropped (Save / Send / Discard); false when the action should not go on.
    bool mayDiscard(const QString &action, bool offerSend, bool leaving = false);
    // Has the field being typed in write its value (before a save, send, copy or quit).
    void commitPendingEdits() { emit commitEditsRequested(); }

public slots:
    void save();
    void saveAs();
    void openFile();
    void restoreDefault();
    // Asks first when closing would lose changes; false keeps the window open.
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
    QString askSavePath();
    void showFileError(const QString &text);

    DataManagement *m_settings;
    EditHistory *m_history;
    EditSession *m_session;
    UserPrompt *m_prompt = nullptr;
    SavePathQuestion m_savePathQuestion;
    QString m_filePath;
    bool m_controllerPresent = false;
};

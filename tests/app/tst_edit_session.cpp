// The editing session: which reads replace the editor, which actions ask and
// what each answer does, undo steps that end at a save, a send or a pause and
// carry the file; on the whole editor, played controls and the settings
// backup written back after an update.
#include "app/Editor.h"
#include "app/MessageBoxPrompt.h"
#include "app/PresetDocument.h"
#include "support/model/ScriptedPrompt.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "model/SettingsDiff.h"
#include "model/SettingsLayout.h"
#include "simulator/SimulatedDevice.h"
#include "support/editor/EditorFixture.h"
#include "firmware/FirmwareUpdate.h"
#include "support/TestSupport.h"
#include "workflows/FirmwareUpdateFlow.h"

#include <QMessageBox>
#include <QQmlContext>
#include <QEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral("Korvel Mavu Editor");

DataManagement *withDefaults(DataManagement *data)
{
    data->initDefaultData();
    return data;
}

// The editor's settings, history, session and document without a window.
// The prompt answers from its script; a send makes the settings the
// controller's unless it fails; the save dialog is cancelled.
struct Desk {
    explicit Desk(QVariantList answers = {})
        : prompt(std::move(answers))
    {
        history.setSession(&session);
        document.setPrompt(&prompt);
        document.setSavePathQuestion([](const QString &, QString *) { return QString(); });
        QObject::connect(&document, &PresetDocument::sendRequested, &document, [this] {
            if (sendWorks)
                session.setControllerImage(data.imageBytes());
        });
    }
    // In a file or not, edited since, and the controller unknown (0),
    // holding the editor's settings (1) or others (2).
    void enter(const QString &file, bool unsaved, int controller)
    {
        if (!file.isEmpty())
            document.savePresetTo(file);
        QByteArray other = data.imageBytes();
        other[layout::padOffset(40) + 1] = 9;
        if (controller == 2)
            session.setControllerImage(other);
        if (unsaved)
            data.setPadInfo(3, "padData", 99);
        if (controller == 1)
            session.setControllerImage(data.imageBytes());
        document.setControllerPresent(controller > 0);
    }

    DataManagement data;
    EditHistory history{withDefaults(&data)};
    EditSession session{&data};
    PresetDocument document{&data, &history, &session};
    ScriptedPrompt prompt;
    bool sendWorks = true;
};

} // namespace

class TestEditSession : public EditorFixture
{
    Q_OBJECT

private slots:
    // Whether the controller's settings read on its arrival replace the
    // editor's, and which buttons Open, Get, Restore The Default and Quit
    // offer; Cancel, the default, keeps everything.
    void decisions_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("controller");
        QTest::addColumn<QString>("replaceAsks"); // Open's buttons; those of Get and Restore alike
        QTest::addColumn<QString>("quitAsks");
        const QString replace = "Save and Open|Open Without Saving";
        for (bool file : {false, true}) {
            const auto row = [file](const char *name, bool unsaved, int controller, QString opens, QString quits) {
                QTest::addRow("%s, %s", file ? "file" : "no file", name)
                    << file << unsaved << controller << opens << quits;
            };
            row("saved, unknown", false, 0, "", "");
            row("saved, controller holds it", false, 1, "", "");
            row("saved, controller holds others", false, 2, "", "Send and Quit|Quit Without Sending");
            row("unsaved, unknown", true, 0, replace, "Save and Quit|Quit Without Saving");
            row("unsaved, sent", true, 1, "", "");
            row("unsaved, unsent", true, 2, replace,
                "Save and Send|Save Only|Send Only|Quit Without Saving or Sending");
        }
    }
    void decisions()
    {
        QFETCH(bool, file);
        QFETCH(bool, unsaved);
        QFETCH(int, controller);
        QFETCH(QString, replaceAsks);
        QFETCH(QString, quitAsks);
        Desk d;
        d.enter(file ? path("state.stm") : QString(), unsaved, controller);
        const QByteArray before = d.data.imageBytes();
        QCOMPARE(d.session.holdsUserWork(), file || unsaved);
        using R = PresetDocument::Replacing;
        for (R what : {R::Open, R::Get, R::RestoreDefault})
            QCOMPARE(d.document.mayReplace(what), replaceAsks.isEmpty());
        QCOMPARE(d.document.confirmClose(), quitAsks.isEmpty());
        QStringList expected;
        for (const char *verb : {"Open", "Get", "Restore"})
            expected << QString(replaceAsks).replace("Open", verb);
        expected << quitAsks;
        expected.removeAll(QString());
        QStringList buttons;
        for (const QString &asked : d.prompt.asked())
            buttons << asked.section('\n', -1);
        QCOMPARE(buttons, expected);
        QCOMPARE(d.data.imageBytes(), before);
    }

    // Each button does all it names, and goes on only once that is done.
    void answers_data()
    {
        QTest::addColumn<QString>("state"); // quit or open; untitled, saved, send fails
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("outcome"); // goes-on, saved, sent
        QTest::newRow("Save and Send") << "quit" << 0 << "goes-on saved sent";
        QTest::newRow("Save Only") << "quit" << 1 << "goes-on saved";
        QTest::newRow("Send Only") << "quit" << 2 << "goes-on sent";
        QTest::newRow("Quit Without Saving or Sending") << "quit" << 3 << "goes-on";
        QTest::newRow("Cancel") << "quit" << -1 << "";
        QTest::newRow("Save and Send, send fails") << "quit send-fails" << 0 << "saved";
        QTest::newRow("Save and Send, save dialog cancelled") << "quit untitled" << 0 << "";
        QTest::newRow("Send and Quit") << "quit saved" << 0 << "goes-on saved sent";
        QTest::newRow("Quit Without Sending") << "quit saved" << 1 << "goes-on saved";
        QTest::newRow("Save and Open") << "open" << 0 << "goes-on saved";
        QTest::newRow("Open Without Saving") << "open" << 1 << "goes-on";
    }
    void answers()
    {
        QFETCH(QString, state);
        QFETCH(int, answer);
        const QStringList is = state.split(' ');
        Desk d({answer});
        d.sendWorks = !is.contains("send-fails");
        d.enter(is.contains("untitled") ? QString() : path("answer.stm"), !is.contains("saved"), 2);
        const bool goesOn
            = is.contains("quit") ? d.document.confirmClose() : d.document.mayReplace(PresetDocument::Replacing::Open);
        QStringList done{
            goesOn ? "goes-on" : "", d.session.unsaved() ? "" : "saved", d.session.unsentCount() > 0 ? "" : "sent"};
        done.removeAll(QString());
        QTEST(done.join(' '), "outcome");
    }

    // Enter takes the default button, which loses nothing.
    void enterCancelsAQuestion()
    {
        QTimer poll;
        connect(&poll, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start(10);
        QCOMPARE(MessageBoxPrompt().choose("Quit", "", {"Save and Quit", "Quit Without Saving"}), -1);
    }

    // Pad A1 NOTE -> CC, then something, then CC -> PC: does one undo stop at CC?
    void mergingEndsAtASaveASendOrAPause_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<int>("undoneTo");
        QTest::newRow("nothing") << "" << 0;
        QTest::newRow("a save") << "save" << 1;
        QTest::newRow("a send or a read") << "send" << 1;
        QTest::newRow("a pause") << "pause" << 1;
        QTest::newRow("typing on") << "typing" << 0;
    }
    void mergingEndsAtASaveASendOrAPause()
    {
        QFETCH(QString, between);
        Desk d;
        qint64 now = 0;
        d.history.setClock([&now] { return now; });
        d.data.setPadInfo(0, "padtype", 1);
        if (between == "save")
            QVERIFY(d.document.savePresetTo(path("merge.stm")));
        if (between == "send")
            d.session.setControllerImage(d.data.imageBytes());
        now = between == "pause" ? EditHistory::kPauseMs + 1 : between == "typing" ? EditHistory::kPauseMs - 1 : 0;
        d.data.setPadInfo(0, "padtype", 2);
        d.history.undo();
        QTEST(d.data.getPadInfo(0).value("padtype").toInt(), "undoneTo");
    }

    // Undo and redo of an Open bring back the title, Save's target and the
    // unsaved mark, the file as it was last saved.
    void undoCarriesTheFile()
    {
        Desk d;
        d.data.setPadInfo(1, "padData", 50);
        QVERIFY(d.document.savePresetTo(path("a.stm")));
        d.data.setPadInfo(1, "padData", 51);
        QByteArray other = d.data.imageBytes();
        other[layout::padOffset(2) + 1] = 7;
        QVERIFY(preset::writeFile(path("b.stm"), other, nullptr));
        QVERIFY(d.document.openPresetPath(path("b.stm")));
        d.history.undo();
        QCOMPARE(d.session.displayName() + d.document.filePath(), "a.stm*" + path("a.stm"));
        QCOMPARE(d.data.getPadInfo(1).value("padData").toInt(), 51);
        d.document.save();
        d.history.redo();
        QCOMPARE(d.session.displayName() + d.document.filePath(), "b.stm" + path("b.stm"));
        d.history.undo();
        QCOMPARE(d.session.displayName(), QString("a.stm"));
    }

    // The marks of each kind come from the one comparison of the change.
    void marksFollowTheirKind()
    {
        Desk d;
        d.session.setControllerImage(d.data.imageBytes());
        d.data.setBQMInfo(5, "bqmData", (d.data.getBQMInfo(5).value("bqmData").toInt() + 1) % 128);
        d.data.setWalkingBeltInfo(2, "wbData", (d.data.getWalkingBeltInfo(2).value("wbData").toInt() + 1) % 128);
        QCOMPARE(
            (QList<QVariantList>{d.session.differingPads(), d.session.differingKnobs(), d.session.differingButtons()}),
            (QList<QVariantList>{{}, {5}, {2}}));
    }

    // A pad is known by the controller's settings, which the editor's may not be.
    void playedControlsAreTheControllers()
    {
        settings()->setPadInfo(0, "padData", 42); // the editor's A1 now has B3's note; the controller's has not
        QSignalSpy hits(&m_objects->window(), &MainWindow::controlHit);
        QVERIFY(m_editor.device->play("pad:A1,pad:B3"));
        QTRY_COMPARE(hits.size(), 2);
        QCOMPARE(QList<QList<QVariant>>(hits), (QList<QList<QVariant>>{{"pad", 0}, {"pad", 18}}));
    }

    // The backup goes to the controller; the editor takes it as one step, and
    // asks first when it holds the user's file or edits.
    void restoredBackup_data()
    {
        QTest::addColumn<bool>("ownWork");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("editorTakes");
        QTest::addColumn<QString>("title");
        QTest::newRow("nothing of the user's") << false << -1 << true << kProgram;
        QTest::newRow("a file with edits, kept") << true << -1 << false << "mine.stm* — " + kProgram;
        QTest::newRow("a file with edits, replaced") << true << 1 << true << kProgram;
    }
    void restoredBackup()
    {
        QFETCH(bool, ownWork);
        QFETCH(int, answer);
        QFETCH(bool, editorTakes);
        EditSession *session = m_objects->session();
        session->setFile(QString()); // the settings as the program put them there
        if (ownWork) {
            QVERIFY(m_objects->document().savePresetTo(path("mine.stm")));
            settings()->setPadInfo(5, "padCh", settings()->getPadInfo(5).value("padCh").toInt() % 16 + 1);
        }
        const QByteArray editor = settings()->imageBytes();
        const QString before = session->windowTitle();
        QByteArray backup = session->controllerImage();
        backup[layout::padOffset(9) + 1] = char((editor.at(layout::padOffset(9) + 1) + 1) % 128);
        auto *prompt = new ScriptedPrompt({answer});
        m_objects->setUserPrompt(std::unique_ptr<UserPrompt>(prompt));
        emit m_objects->firmware().restore(backup);
        QTRY_VERIFY(settingsDiff::sameSettings(m_editor.device->controller().image(), backup));
        QCOMPARE(prompt->asked().size(), ownWork ? 1 : 0);
        QCOMPARE(settingsDiff::sameSettings(settings()->imageBytes(), backup), editorTakes);
        QTEST(session->windowTitle(), "title");
        if (!editorTakes)
            return;
        QObject *history = m_objects->engine().rootContext()->contextProperty("EditHistory").value<QObject *>();
        QVERIFY(QMetaObject::invokeMethod(history, "undo"));
        QCOMPARE(settings()->imageBytes(), editor);
        QCOMPARE(session->windowTitle(), before);
    }

    // Quit during a firmware update (here one whose loader never shows)
    // asks, and Cancel keeps going; agreed, the window is closed once the
    // update has given up.
    void quitWaitsForTheUpdate()
    {
        testsupport::writeAll(path("fw.bin"), "firmware");
        auto *prompt = new ScriptedPrompt({-1, 0}); // Cancel, then quit after the update
        m_objects->setUserPrompt(std::unique_ptr<UserPrompt>(prompt));
        FirmwareUpdateFlow &flow = m_objects->firmware();
        flow.update().setLastLookMs(FirmwareUpdateFlow::kCommandLeadMs + 200);
        flow.setBackUp(false);
        struct CloseCounter : QObject {
            int count = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                return (count += event->type() == QEvent::Close) < 0;
            }
        } closings;
        m_editor.root->installEventFilter(&closings);
        for (const int closed : {0, 1}) {
            QSignalSpy finished(&flow, &FirmwareUpdateFlow::finished);
            flow.start(path("fw.bin"));
            QVERIFY(!m_objects->document().confirmClose());
            QCOMPARE(closings.count, 0);
            QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
            QTRY_COMPARE(closings.count, closed);
        }
        QCOMPARE(prompt->asked().filter("Firmware update: A firmware update is running.").size(), 2);
    }
};

MAVU_EDITOR_TEST_MAIN(TestEditSession)
#include "tst_edit_session.moc"

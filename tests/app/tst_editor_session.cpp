// The editor's work against the controller, the whole editor in this process
// on the simulated controller: connected at start, the compare list and its
// taking, the questions before work is dropped, and a long run of writes and
// reads.
#include "app/DifferenceList.h"
#include "app/Editor.h"
#include "app/PresetDocument.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "support/FaultReport.h"
#include "support/editor/EditorFixture.h"
#include "support/editor/QmlWarnings.h"
#include "support/model/ScriptedPrompt.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

using editorharness::child;

class TestEditorSession : public EditorFixture
{
    Q_OBJECT

private slots:
    void startsConnectedAndTheAboutBoxShowsTheController()
    {
        QObject *page = m_editor.root->findChild<QObject *>(QStringLiteral("mainPage"));
        QVERIFY(page);
        QCOMPARE(child(page, "connectState")->property("state").toString(), QStringLiteral("connect"));
        // The pages edit the settings that are sent.
        QCOMPARE(m_objects->engine().rootContext()->contextProperty("DataMgt").value<QObject *>(),
            static_cast<QObject *>(settings()));
    }

    // The compare dialog's list: a row per edited setting against the controller
    // and a file, taking one or all in one change each; unknown or unreadable said.
    void differencesAreListedAndTaken()
    {
        DifferenceList *list = m_objects->differences();
        const auto labels = [list] {
            QStringList l;
            for (int row = 0; row < list->rowCount(); ++row)
                l << list->index(row).data(DifferenceList::LabelRole).toString();
            return l;
        };
        settings()->setPadInfo(47, "padCh", 3); // sent: what the controller holds
        m_window->sendData();
        list->compareWithController();
        QCOMPARE(list->rowCount(), 0);
        QVERIFY(list->status().contains("agree"));
        settings()->setPadInfo(2, "padData", 61);
        settings()->setPadInfo(18, "padRGB", QString("#ff0000"));
        settings()->setBQMInfo(5, "bqmCh", 9);
        QCOMPARE(labels(), (QStringList{"Pad A3 · Note", "Pad B3 · Colour", "Knob B2 · Channel"}));
        QCOMPARE(list->index(0).data(DifferenceList::EditorValueRole).toString(), QString("61 (C#4)"));
        const QByteArray controller = m_objects->session()->controllerImage();
        QSignalSpy changes(settings(), &DataManagement::imageChanged);
        list->take(1);
        QCOMPARE(settings()->imageBytes().mid(layout::padOffset(18), 7), controller.mid(layout::padOffset(18), 7));
        QCOMPARE(labels(), (QStringList{"Pad A3 · Note", "Knob B2 · Channel"}));
        list->takeAll();
        QCOMPARE(changes.count(), 2);
        QCOMPARE(settings()->imageBytes().mid(layout::kCurveOffset), controller.mid(layout::kCurveOffset));
        QVERIFY(labels().isEmpty() && list->status().contains("agree"));
        // A file chosen: its values taken; one that cannot be read or a controller not known: said, no rows.
        QByteArray file = controller;
        file[layout::knobOffset(0) + 2] = 5;
        QVERIFY(preset::writeFile(path("cmp.stm"), file, nullptr));
        QStringList answers{path("cmp.stm"), path("missing.stm")};
        list->setPathQuestion([&answers] { return answers.takeFirst(); });
        list->chooseFile();
        QCOMPARE(labels(), QStringList{"Knob A1 · Channel"});
        list->takeAll();
        QVERIFY(
            labels().isEmpty() && settings()->imageBytes().mid(layout::kCurveOffset) == file.mid(layout::kCurveOffset));
        list->chooseFile();
        QVERIFY(labels().isEmpty() && list->status().contains("missing.stm") && list->withFile());
        EditSession unplugged(settings());
        DifferenceList unknown(settings(), &unplugged);
        unknown.compareWithController();
        QVERIFY(unknown.rowCount() == 0 && unknown.status().contains("not known"));
    }

    // Writes and reads of the whole image, each answer checked byte for
    // byte, with the memory measured before and after. MAVU_FAULT_CYCLES
    // sets a longer run.
    void longRunOfWritesAndReadsLosesNothing()
    {
        const int cycles = qEnvironmentVariableIntValue("MAVU_FAULT_CYCLES") > 0
            ? qEnvironmentVariableIntValue("MAVU_FAULT_CYCLES")
            : 1000;
        const int warmUp = 100;
        m_window->sendData(); // what earlier tests left goes to the controller: the reads ask nothing
        QSignalSpy synced(settings(), &DataManagement::s_updateDate); // the controller's own fields
        m_window->getData();
        QVERIFY(synced.wait(2000));
        int replies = 0;
        const QObject counting; // the count ends with this test
        connect(settings(), &DataManagement::s_updateDate, &counting, [&replies] { ++replies; });
        // The pages still reload every answer; only the painting is left out.
        for (QObject *root : m_objects->engine().rootObjects()) {
            if (auto *window = qobject_cast<QWindow *>(root))
                window->hide();
        }
        const auto cycle = [&](int i) {
            settings()->setPadInfo(i % 48, QStringLiteral("padData"), i % 128);
            settings()->setBQMInfo(i % 12, QStringLiteral("bqmLsbMax"), (i * 7) % 128);
            QByteArray expected = settings()->imageBytes();
            expected[1] = char(protocol::ReadSettings);
            const int before = replies;
            m_window->sendData();
            m_window->getData();
            QDeadlineTimer deadline(2000);
            while (replies == before && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            return replies != before && settings()->imageBytes() == expected;
        };
        int lost = 0;
        for (int i = 0; i < warmUp; ++i)
            lost += cycle(i) ? 0 : 1;
        // Garbage the script engine has not yet collected is not growth.
        const auto settle = [this] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            m_objects->engine().collectGarbage();
        };
        settle();
        const long memBefore = faults::memoryInUseKb();
        for (int i = 0; i < cycles && lost < 10; ++i)
            lost += cycle(warmUp + i) ? 0 : 1;
        settle();
        const long memAfter = faults::memoryInUseKb();
        faults::reportLine(QString::asprintf(
            "CYCLES: %d lost=%d heap_before_kb=%ld heap_after_kb=%ld", cycles, lost, memBefore, memAfter));
        QCOMPARE(lost, 0);
        QCOMPARE(replies, warmUp + cycles);
        QVERIFY(memBefore > 0);
        // About 85 bytes a cycle of the pages' own bookkeeping; a leaked image (458) shows.
        QVERIFY2(memAfter - memBefore < 128 + cycles / 8,
            qPrintable(QStringLiteral("grew by %1 kB").arg(memAfter - memBefore)));
    }

    // Work in neither its file nor the controller is not dropped unasked:
    // Cancel keeps everything, Discard (or Send) goes on.
    void discardingWorkAsksFirst_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("choices");
        QTest::addColumn<bool>("goesOn");
        const QMap<QString, QString> asks{{"Quit", "Save and Send|Save Only|Send Only|Quit Without Saving or Sending"},
            {"Open", "Save and Open|Open Without Saving"}, {"Get From Hardware", "Save and Get|Get Without Saving"},
            {"Restore The Default", "Save and Restore|Restore Without Saving"},
            {"second start", "Save and Open|Open Without Saving"}};
        for (auto it = asks.begin(); it != asks.end(); ++it) {
            const QByteArray action = it.key().toUtf8();
            QTest::addRow("%s, cancel", action.constData()) << it.key() << -1 << it.value() << false;
            QTest::addRow("%s, discard", action.constData())
                << it.key() << int(it.value().count('|')) << it.value() << true;
        }
        QTest::addRow("Quit, send") << "Quit" << 2 << asks["Quit"] << true;
    }
    void discardingWorkAsksFirst()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, choices);
        QFETCH(bool, goesOn);
        auto *window = qobject_cast<QWindow *>(m_editor.root);
        QGuiApplication::setQuitOnLastWindowClosed(false);
        window->show();
        QVERIFY(preset::writeFile(path("other.syx"), settings()->imageBytes(), nullptr)); // what Open takes
        settings()->setPadInfo(9, "padData", (settings()->getPadInfo(9).value("padData").toInt() + 1) % 128);
        const QByteArray edited = settings()->imageBytes();
        auto *prompt = new ScriptedPrompt({answer, path("other.syx")});
        m_objects->setUserPrompt(std::unique_ptr<UserPrompt>(prompt));
        QSignalSpy read(settings(), &DataManagement::s_updateDate);
        if (action == "Quit")
            QVERIFY(QMetaObject::invokeMethod(window, "close"));
        else if (action == "Open")
            m_document->openFile();
        else if (action == "Get From Hardware")
            m_window->getData();
        else if (action == "Restore The Default")
            m_document->restoreDefault();
        else
            m_document->openPresetFiles({path("other.syx")});
        const QString asked = prompt->asked().value(0);
        const QString title = action == "second start" ? "Open" : action;
        QVERIFY2(asked.startsWith(title + ": ") && asked.endsWith("\n" + choices), qPrintable(asked));
        if (goesOn && action == "Get From Hardware")
            QVERIFY(read.wait(2000));
        QCOMPARE(action == "Quit" ? !window->isVisible() : settings()->imageBytes() != edited, goesOn);
        if (action == "Quit")
            QCOMPARE(m_objects->session()->unsentCount() == 0, answer == 2);
        if (!window->isVisible()) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            qmlwarnings::clear(); // the software renderer's flush of the closed window
        }
    }
};

MAVU_EDITOR_TEST_MAIN(TestEditorSession)
#include "tst_editor_session.moc"

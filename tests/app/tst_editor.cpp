// The whole editor in this process on the simulated controller: connected at
// start, presets open and save (the save shortcut taking the field still being
// typed, saves where nothing can be written), the compare list and its
// taking, the questions before work is dropped, and a long run of writes and
// reads.
#include "app/DifferenceList.h"
#include "app/Editor.h"
#include "app/HistoryList.h"
#include "app/PresetLibrary.h"
#include "app/PresetDocument.h"
#include "app/WebLinks.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/ControllerHistory.h"
#include "model/PresetFile.h"
#include "model/PresetText.h"
#include "model/SettingsLayout.h"
#include "support/DiskFault.h"
#include "support/FaultReport.h"
#include "support/TestSupport.h"
#include "support/editor/EditorFixture.h"
#include "support/editor/MessageBoxCloser.h"
#include "support/editor/QmlWarnings.h"
#include "simulator/SimulatedDevice.h"
#include "support/model/ScriptedPrompt.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QWindow>
#include <QtTest>

using editorharness::child;
using testsupport::readAll;

class TestEditor : public EditorFixture
{
    Q_OBJECT
    int m_injected = 0;
    int m_survived = 0;

private slots:
    void initTestCase()
    {
        QDir(history::defaultFolder()).removeRecursively(); // what an earlier run kept
        EditorFixture::initTestCase();
    }

    // Every image read from or written to the controller is kept under its
    // serial number, the same image once: the read on arrival (made before
    // the serial number was known), a Send, and a Get of what was sent.
    void exchangesAreKeptInTheHistory()
    {
        history::Recorder &snapshots = m_objects->snapshots();
        const auto kept = [&] {
            snapshots.waitForDone();
            QStringList events;
            for (const history::Snapshot &s : history::list(snapshots.folder()))
                events << s.serial + ' ' + s.event;
            return events;
        };
        const QString serial = m_window->serialNumber();
        QVERIFY(!serial.isEmpty());
        QCOMPARE(kept(), QStringList{serial + " read"});
        settings()->setPadInfo(3, "padData", 90);
        m_window->sendData();
        QSignalSpy read(m_window, &MainWindow::controllerSettings);
        m_window->getData();
        QVERIFY(read.wait(2000));
        QCOMPARE(kept(), (QStringList{serial + " send", serial + " read"}));
        history::Snapshot newest;
        QByteArray image;
        QVERIFY(history::find(snapshots.folder(), serial + ".2", &newest, &image, nullptr));
        QCOMPARE(image.mid(2), settings()->imageBytes().mid(2)); // bar the command byte

        // The history view: each with its differences from the editor; one
        // taken into the editor is one step to undo.
        HistoryList *list = m_objects->snapshotList();
        list->reload(serial);
        const auto differences = [list](int row) { return list->data(list->index(row), HistoryList::DifferencesRole); };
        QCOMPARE(list->count(), 2);
        QCOMPARE(differences(0), QVariant(0));
        QCOMPARE(differences(1), QVariant(1));
        const QByteArray sent = settings()->imageBytes();
        QVERIFY(list->take(1));
        QCOMPARE(settings()->getPadInfo(3).value("padData").toInt(), 27);
        QCOMPARE(differences(0), QVariant(1));
        auto *steps = m_objects->engine().rootContext()->contextProperty("EditHistory").value<EditHistory *>();
        QCOMPARE(steps->undoText(), QStringLiteral("Undo take a snapshot"));
        steps->undo();
        QCOMPARE(settings()->imageBytes(), sent);

        // Opened while snapshots are still being written and pruned beside
        // the window: every one of them listed, and readable.
        for (int i = 0; i < 30; ++i) {
            settings()->setPadInfo(3, "padData", 40 + i);
            snapshots.record(serial, history::Event::Send, settings()->imageBytes());
        }
        list->reload(serial);
        QCOMPARE(list->count(), 32);
        QCOMPARE(differences(0), QVariant(0));
        QCOMPARE(differences(31), QVariant(1));
    }

    void cleanupTestCase()
    {
        faults::reportFaults(QStringLiteral("storage-full-or-read-only"), m_injected, m_survived);
        EditorFixture::cleanupTestCase();
    }

    // Save asks once and remembers the path; opening replaces the settings
    // or says why not.
    void presetsOpenAndSave()
    {
        // The save dialog answers from this list; an empty answer cancels.
        QStringList answers;
        const auto fromList
            = [&](const QString &, QString *) { return answers.isEmpty() ? QString() : answers.takeFirst(); };
        m_document->setSavePathQuestion(fromList);
        m_document->save(); // cancelled: nothing written, nothing remembered
        QVERIFY(m_document->filePath().isEmpty());
        answers << path("first"); // without extension: the selected filter's, .stm first
        m_document->save();
        QCOMPARE(m_document->filePath(), path("first.stm"));
        QByteArray image = settings()->imageBytes();
        image[8] = 2; // firmware version travels with the preset
        image[14] = 77;
        QVERIFY(preset::writeFile(path("other.syx"), image, nullptr));
        testsupport::writeAll(path("trunc.stm"), preset::encode(image, preset::Format::Stm).left(200));
        QSignalSpy updated(settings(), &DataManagement::s_updateDate);
        testsupport::MessageBoxCloser boxes;
        QVERIFY(!m_document->openPresetPath(path("trunc.stm")));
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().contains("trunc.stm") && boxes.texts().first().contains("truncated"));
        qmlwarnings::clear(); // the failure is logged too
        QCOMPARE(updated.count(), 0);
        QVERIFY(m_document->openPresetPath(path("other.syx")));
        QCOMPARE(settings()->imageBytes(), image);
        // Later saves go to the file shown in the title without asking.
        settings()->setPadInfo(1, "padData", 55);
        QCOMPARE(m_objects->session()->windowTitle(), QStringLiteral("other.syx* — Korvel Mavu Editor"));
        m_document->save();
        QCOMPARE(readAll(path("other.syx")), settings()->imageBytes());
        // The text form, chosen by the filter for a name without extension.
        m_document->setSavePathQuestion([&](const QString &filters, QString *selected) {
            *selected = filters.split(";;").last();
            return path("third");
        });
        m_document->saveAs();
        QCOMPARE(readAll(path("third.json")), presettext::write(settings()->imageBytes()));
        QVERIFY(m_document->openPresetPath(path("third.json")));
        m_document->setSavePathQuestion(fromList);
        answers << path("second.syx");
        m_document->saveAs();
        QCOMPARE(m_document->filePath(), path("second.syx"));
        QCOMPARE(readAll(path("second.syx")), settings()->imageBytes());
        m_document->setSavePathQuestion(nullptr);
    }

    // The save shortcut takes the value still being typed.
    void saveShortcutTakesTheFieldBeingTyped()
    {
        auto *window = qobject_cast<QQuickWindow *>(m_editor.root);
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        m_document->setSavePathQuestion([this](const QString &, QString *) { return path("typed.syx"); });
        QQuickItem *bank = nullptr;
        QVariant tile;
        QObject *pads = child(m_editor.root->findChild<QObject *>(QStringLiteral("mainPage")), "padSwipeView");
        QVERIFY(QMetaObject::invokeMethod(pads, "itemAt", Q_RETURN_ARG(QQuickItem *, bank), Q_ARG(int, 0)));
        QVERIFY(QMetaObject::invokeMethod(bank, "tile", Q_RETURN_ARG(QVariant, tile), Q_ARG(QVariant, 0)));
        QObject *pad = tile.value<QObject *>();
        auto *field = qobject_cast<QQuickItem *>(child(child(pad, "input"), "textInput"));
        QVERIFY(field);
        field->forceActiveFocus();
        field->setProperty("text", QStringLiteral("101"));
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(settings()->getPadInfo(pad->property("realIndex").toInt()).value("padData").toInt(), 101);
        QCOMPARE(readAll(m_document->filePath()), settings()->imageBytes());
        m_document->setSavePathQuestion(nullptr);
    }

    // Keyboard only: bank C, Tab to pad C6's note, type over it, Enter, send;
    // the controller has the new note, and Ctrl+Z (the field holds no
    // typing any more) brings the old one back. Zoom keys reach the settings.
    void keyboardOnlyJourney()
    {
        auto *window = qobject_cast<QQuickWindow *>(m_editor.root);
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const int pad = 2 * 16 + 5;
        const int before = settings()->getPadInfo(pad).value("padData").toInt();
        QTest::keyClick(window, Qt::Key_3, Qt::ControlModifier);
        QQuickItem *field = nullptr;
        for (int i = 0; i < 200 && !field; ++i) {
            QTest::keyClick(window, Qt::Key_Tab);
            QQuickItem *focused = window->activeFocusItem();
            if (focused && focused->parentItem()
                && focused->parentItem()->property("accessibleName").toString() == QLatin1String("Pad C6 note"))
                field = focused;
        }
        QVERIFY(field);
        QTRY_COMPARE(field->property("selectedText").toString(), QString::number(before));
        QTest::keyClick(window, Qt::Key_7);
        QTest::keyClick(window, Qt::Key_2);
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(settings()->getPadInfo(pad).value("padData").toInt(), 72);
        QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(int(m_editor.device->controller().image().at(layout::padOffset(pad) + 1)), 72);
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(settings()->getPadInfo(pad).value("padData").toInt(), before);
        QCOMPARE(field->property("text").toString(), QString::number(before));
        QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier); // zoom, kept with the language
        QCOMPARE(m_window->zoom(), 1.1);
        QTest::keyClick(window, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(m_window->zoom(), 1.0);
    }

    // Nothing half written, nothing left behind, the old file whole, the
    // edits kept: once the fault is gone the same save works.
    void presetSaveWhereNothingCanBeWritten_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("disk full") << int(DiskFault::Full);
        QTest::newRow("read-only disk") << int(DiskFault::ReadOnly);
    }
    void presetSaveWhereNothingCanBeWritten()
    {
        QFETCH(int, kind);
        const QString folder = path(QStringLiteral("presets-%1").arg(kind));
        QVERIFY(QDir().mkpath(folder));
        const QString old = folder + QStringLiteral("/my set.stm");
        QVERIFY(m_document->savePresetTo(old));
        const QByteArray oldBytes = readAll(old);
        settings()->setPadInfo(5, QStringLiteral("padData"), 77 + kind);
        const QByteArray edited = settings()->imageBytes();
        const auto entries
            = [&folder] { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
        const QStringList before = entries();
        ++m_injected;
        {
            DiskFault fault(DiskFault::Kind(kind), folder);
            QString error;
            QVERIFY2(fault.begin(&error), qPrintable(error));
            for (const QString &target : {old, folder + QStringLiteral("/new set.syx")}) {
                testsupport::MessageBoxCloser closer;
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^saving the preset failed:")));
                QVERIFY2(!m_document->savePresetTo(target), qPrintable(target));
                QCOMPARE(closer.texts().size(), 1);
                QVERIFY2(closer.texts().first().contains(target), qPrintable(closer.texts().first()));
            }
        }
        qmlwarnings::clear(); // the failures are logged too
        QCOMPARE(entries(), before);
        QCOMPARE(readAll(old), oldBytes);
        QCOMPARE(settings()->imageBytes(), edited);
        QVERIFY(m_document->savePresetTo(old));
        QByteArray image;
        QString error;
        QVERIFY2(preset::readFile(old, &image, &error), qPrintable(error));
        QCOMPARE(image, edited);
        ++m_survived;
    }

    void startsConnectedAndTheAboutBoxShowsTheController()
    {
        QObject *page = m_editor.root->findChild<QObject *>(QStringLiteral("mainPage"));
        QVERIFY(page);
        QCOMPARE(child(page, "connectState")->property("state").toString(), QStringLiteral("connect"));
        // The pages edit the settings that are sent.
        QCOMPARE(m_objects->engine().rootContext()->contextProperty("DataMgt").value<QObject *>(),
            static_cast<QObject *>(settings()));
    }

    // Where no browser starts (offscreen has none), the page's address is shown instead of nothing.
    void aWebPageWithoutABrowserShowsItsAddress()
    {
        auto *prompt = new ScriptedPrompt;
        m_objects->setUserPrompt(std::unique_ptr<UserPrompt>(prompt));
        const QString page = WebLinks::faqUrl(QStringLiteral("English"));
        m_window->openWebPage(page);
        QVERIFY(qmlwarnings::report().contains("openUrl")); // Qt's own line about the plugin
        qmlwarnings::clear();
        QCOMPARE(prompt->asked(), {"Web Page: No web browser could be started. The page is at:\n" + page});
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
            m_objects->snapshots().waitForDone(); // snapshots not yet on disk are no growth either
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

    // The library: every file of its folders, a preset with its pad colours
    // and date, any other file with why it is none; filtered by name, renamed
    // in place, moved to the trash, following files changed from outside.
    void libraryListsItsFolders()
    {
        PresetLibrary *library = m_objects->library();
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QTemporaryDir folder(data + "/library-XXXXXX"); // beside the desktop's trash
        QDir(data + "/Trash").removeRecursively();
        m_objects->settings()->setPadInfo(47, "padRGB", QString("#ff8000"));
        QVERIFY(preset::writeFile(folder.filePath("Song A.stm"), m_objects->settings()->imageBytes(), nullptr)
            && preset::writeFile(folder.filePath("song b.json"), m_objects->settings()->imageBytes(), nullptr));
        testsupport::writeAll(folder.filePath("notes.txt"), "not a preset\n");
        library->setFolders({folder.path()});
        const auto column = [library](int role) {
            QStringList values;
            for (int row = 0; row < library->rowCount(); ++row)
                values << library->data(library->index(row), role).toString();
            return values;
        };
        QCOMPARE(column(PresetLibrary::NameRole), (QStringList{"notes.txt", "Song A.stm", "song b.json"}));
        QCOMPARE(column(PresetLibrary::IsPresetRole), (QStringList{"false", "true", "true"}));
        QVERIFY(column(PresetLibrary::ReasonRole).first().startsWith("This file is not a Korvel Mavu preset."));
        const QVariantList colours = library->data(library->index(1), PresetLibrary::ColorsRole).toList();
        QCOMPARE(colours.size(), 48);
        QCOMPARE(colours.at(47).toString(), QString("#fe8000")); // shown doubled, as on the pad page
        library->setFilter("SONG");
        QCOMPARE(column(PresetLibrary::NameRole), (QStringList{"Song A.stm", "song b.json"}));
        QVERIFY(!library->rename(0, "../outside") && !library->rename(0, folder.path() + "-outside"));
        QVERIFY(library->rename(0, "Encore"));
        QCOMPARE(column(PresetLibrary::NameRole), QStringList{"song b.json"});
        library->setFilter(QString());
        QVERIFY(QFile::exists(folder.filePath("Encore.stm")) && library->trash(2));
        QVERIFY(!QFile::exists(folder.filePath("song b.json")) && QFile::exists(data + "/Trash/files/song b.json"));
        // Changed by another program: shown at once.
        testsupport::writeAll(folder.filePath("late.syx"), m_objects->settings()->imageBytes());
        QTRY_COMPARE(column(PresetLibrary::NameRole), (QStringList{"Encore.stm", "late.syx", "notes.txt"}));
        // By keyboard: typing filters, Enter opens the one chosen.
        auto *window = qobject_cast<QQuickWindow *>(m_editor.root);
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const auto view = [this](const char *name) {
            QVariant dialog;
            QMetaObject::invokeMethod(m_editor.root->findChild<QObject *>(name), "get", Q_RETURN_ARG(QVariant, dialog));
            return dialog.value<QObject *>();
        };
        QVERIFY(QMetaObject::invokeMethod(view("libraryDialog"), "showLibrary"));
        for (char key : QByteArray("late"))
            QTest::keyClick(window, key);
        QCOMPARE(library->count(), 1);
        // Its picture holds pad C16's colour.
        QStringList shown;
        std::function<void(QQuickItem *)> collect = [&](QQuickItem *item) {
            if (item->objectName() == QLatin1String("padSwatch"))
                shown << item->property("color").value<QColor>().name();
            for (QQuickItem *child : item->childItems())
                collect(child);
        };
        QTRY_VERIFY((collect(window->contentItem()), shown.contains("#fe8000")));
        QTest::keyClick(window, Qt::Key_Return);
        QTRY_COMPARE(m_document->filePath(), folder.filePath("late.syx"));
        library->setFilter(QString());
        QCOMPARE(column(PresetLibrary::IsCurrentRole), (QStringList{"false", "true", "false"}));
        library->setFolders({});
        // The snapshot list and the comparison open each other through the window.
        QObject *history = view("historyDialog");
        QVERIFY(QMetaObject::invokeMethod(history, "showFor", Q_ARG(QVariant, QString())));
        QObject *compare = view("compareDialog");
        QVERIFY(QMetaObject::invokeMethod(history, "compareRequested"));
        QTRY_VERIFY(!history->property("visible").toBool() && compare->property("opened").toBool());
        QVERIFY(QMetaObject::invokeMethod(compare, "snapshotsRequested"));
        QTRY_VERIFY(history->property("opened").toBool());
        QMetaObject::invokeMethod(history, "close");
        QMetaObject::invokeMethod(compare, "close");
    }
};

MAVU_EDITOR_TEST_MAIN(TestEditor)
#include "tst_editor.moc"

// Presets through the whole editor in this process: open and save (the save
// shortcut taking the field still being typed), and saves where nothing can be
// written.
#include "app/Editor.h"
#include "app/PresetDocument.h"
#include "model/DataManagement.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"
#include "support/DiskFault.h"
#include "support/FaultReport.h"
#include "support/TestSupport.h"
#include "support/editor/EditorFixture.h"
#include "support/editor/MessageBoxCloser.h"
#include "support/editor/QmlWarnings.h"

#include <QApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

using editorharness::child;
using testsupport::readAll;

class TestEditorFiles : public EditorFixture
{
    Q_OBJECT
    int m_injected = 0;
    int m_survived = 0;

private slots:
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
        m_document->setSavePathQuestion(
            [&](const QString &, QString *) { return answers.isEmpty() ? QString() : answers.takeFirst(); });
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
};

MAVU_EDITOR_TEST_MAIN(TestEditorFiles)
#include "tst_editor_files.moc"

// Saving where nothing can be written: a full disk, a read-only disk. The
// editor keeps running, says which file failed, and the preset already on
// disk stays as it was. The real editor with its log folder full or read-only
// keeps running too.
#include "FaultReport.h"

#include "app/MainWindow.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"
#include "support/TinyFs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Fills the disk or makes it read-only, or (false) takes that back.
bool injure(TinyFs &fs, bool full, bool on)
{
    return full ? (on ? fs.fill() : fs.removeFiller()) : fs.setReadOnly(on);
}

} // namespace

class TestFaultStorage : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_injected = 0;
    int m_survived = 0;

    static void faults_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("disk full") << true;
        QTest::newRow("read-only disk") << false;
    }

private slots:
    void initTestCase() { editorharness::useLoopbackMidi(); } // no controller
    void cleanupTestCase()
    {
        faults::reportFaults(QStringLiteral("storage-full-or-read-only"), m_injected, m_survived);
    }

    void presetSaveFails_data() { faults_data(); }
    void presetSaveFails()
    {
        QFETCH(bool, full);
        TinyFs fs(m_dir.filePath(QStringLiteral("presets-%1").arg(full)));
        QString error;
        if (!fs.mount(&error))
            QSKIP(qPrintable(QStringLiteral("no tmpfs here: ") + error));
        MainWindow window(nullptr);
        DataManagement *settings = window.settings();
        const QString old = fs.folder() + QStringLiteral("/my set.stm");
        QVERIFY(window.savePresetTo(old));
        const QByteArray oldBytes = testsupport::readAll(old);
        settings->setCurveInten(QStringLiteral("curve"), 3);
        settings->setPadInfo(5, QStringLiteral("padData"), 77);
        const QByteArray edited = settings->imageBytes();

        ++m_injected;
        QVERIFY(injure(fs, full, true));
        const QStringList before = entries(fs.folder());
        for (const QString &target : {old, fs.folder() + QStringLiteral("/new set.syx")}) {
            testsupport::MessageBoxCloser closer;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^saving the preset failed:")));
            QVERIFY2(!window.savePresetTo(target), qPrintable(target));
            QCOMPARE(closer.texts().size(), 1);
            QVERIFY2(closer.texts().first().contains(target), qPrintable(closer.texts().first()));
        }
        // Nothing half written, nothing left behind, the old file whole.
        QCOMPARE(entries(fs.folder()), before);
        QCOMPARE(testsupport::readAll(old), oldBytes);

        // Still running, edits kept: once the fault is gone the same save works.
        QCOMPARE(settings->imageBytes(), edited);
        QVERIFY(injure(fs, full, false));
        QVERIFY(window.savePresetTo(old));
        QByteArray image;
        QVERIFY2(preset::readFile(old, &image, &error), qPrintable(error));
        QCOMPARE(image, edited);
        ++m_survived;
    }

    void editorRunsWithItsLogFolderInjured_data() { faults_data(); }
    void editorRunsWithItsLogFolderInjured()
    {
        QFETCH(bool, full);
        EditorProcess editor;
        TinyFs fs(editor.folder(QStringLiteral("xdg_data_home/korvel-mavu/Log")));
        QString error;
        if (!fs.mount(&error))
            QSKIP(qPrintable(QStringLiteral("no tmpfs here: ") + error));
        ++m_injected;
        QVERIFY(injure(fs, full, true));
        QVERIFY(editor.start());
        QCOMPARE(editor.runSecond(), 0);
        QTest::qWait(1000);
        QVERIFY(editor.isRunning());
        // Space again: the log goes on where it could not.
        QVERIFY(injure(fs, full, false));
        QCOMPARE(editor.runSecond(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(editor.log().contains("second start:"), 10000);
        QVERIFY(editor.isRunning());
        ++m_survived;
    }
};

MAVU_EDITOR_TEST_MAIN(TestFaultStorage)
#include "tst_fault_storage.moc"

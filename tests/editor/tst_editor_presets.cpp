// Presets through the editor: opening replaces the settings or says why not,
// and the save dialogs and the remembered path.
#include "app/MainWindow.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readAll;

class TestEditorPresets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    MainWindow *m_window = nullptr;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    DataManagement *settings() const { return m_window->settings(); }

private slots:
    void initTestCase() { m_window = new MainWindow; }

    void cleanupTestCase() { delete m_window; }

    void init() { settings()->initDefaultData(); }

    void truncatedPresetIsRefusedWithABox()
    {
        QVERIFY(preset::writeFile(path("good.stm"), settings()->imageBytes(), nullptr));
        const QByteArray truncated = readAll(path("good.stm")).left(200);
        testsupport::writeAll(path("trunc.stm"), truncated);
        settings()->setPadInfo(0, "padData", 99);
        const QByteArray before = settings()->imageBytes();

        testsupport::MessageBoxCloser boxes;
        QSignalSpy updated(settings(), &DataManagement::s_updateDate);
        QVERIFY(!m_window->openPresetPath(path("trunc.stm")));
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().contains("trunc.stm"));
        QVERIFY(boxes.texts().first().contains("truncated"));
        QCOMPARE(updated.count(), 0);
        QCOMPARE(settings()->imageBytes(), before);
        QCOMPARE(readAll(path("trunc.stm")), truncated);
    }

    void openReplacesTheImageOnce()
    {
        QByteArray image = settings()->imageBytes();
        image[8] = 2; // firmware version travels with the preset
        image[14] = 77;
        QVERIFY(preset::writeFile(path("other.syx"), image, nullptr));
        QSignalSpy updated(settings(), &DataManagement::s_updateDate);
        QVERIFY(m_window->openPresetPath(path("other.syx")));
        QCOMPARE(updated.count(), 1);
        QCOMPARE(settings()->imageBytes(), image);
    }

    void saveDialogsAndRememberedPath()
    {
        // The save dialog answers from this list; an empty answer cancels.
        QStringList answers;
        QStringList filtersOffered;
        m_window->setSavePathQuestion([&](const QString &filters, QString *) {
            filtersOffered << filters;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        const auto answerNextFileDialog = [&](const QString &path) { answers << path; };

        // Cancelling the first save writes nothing and remembers nothing.
        answerNextFileDialog(QString());
        m_window->save();
        QVERIFY(m_window->filePath().isEmpty());

        // A name without extension gets the selected filter's one (.stm first).
        answerNextFileDialog(path("first"));
        m_window->save();
        QCOMPARE(m_window->filePath(), path("first.stm"));
        QCOMPARE(readAll(path("first.stm")).size(), 462);

        // Later saves go to the same file without asking, also after opening another.
        QVERIFY(preset::writeFile(path("opened.stm"), settings()->imageBytes(), nullptr));
        QVERIFY(m_window->openPresetPath(path("opened.stm")));
        settings()->setPadInfo(1, "padData", 55);
        m_window->save();
        QCOMPARE(readAll(path("first.stm")).mid(4), settings()->imageBytes());

        // A cancelled "Save As" keeps the remembered path.
        answerNextFileDialog(QString());
        m_window->saveAs();
        QCOMPARE(m_window->filePath(), path("first.stm"));

        answerNextFileDialog(path("second.syx"));
        m_window->saveAs();
        QCOMPARE(m_window->filePath(), path("second.syx"));
        QCOMPARE(readAll(path("second.syx")), settings()->imageBytes());
        QCOMPARE(filtersOffered.size(), 4);
        QCOMPARE(filtersOffered.first(), QString("stm (*.stm);;syx (*.syx)"));
        m_window->setSavePathQuestion(nullptr);
    }
};

MAVU_EDITOR_TEST_MAIN(TestEditorPresets)
#include "tst_editor_presets.moc"

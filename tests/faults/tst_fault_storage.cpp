// Saving where nothing can be written: a full disk, a read-only disk, a
// folder that is a file. The editor keeps running, says which file failed,
// and the preset already on disk stays as it was. The real editor with its
// log folder full or read-only keeps running too.
#include "EditorSetup.h"
#include "FaultReport.h"
#include "TinyFs.h"

#include "app/MainWindow.h"
#include "device/LoopbackMidi.h"
#include "device/MidiBackend.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestFaultStorage : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_injected = 0;
    int m_survived = 0;

    QString home(const QString &name) const { return m_dir.filePath(name); }

    QProcessEnvironment editorEnvironment(const QString &root) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        return env;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setMidiBackend(std::make_unique<LoopbackMidi>()); // no controller
    }

    void cleanupTestCase()
    {
        faults::reportFaults(QStringLiteral("storage-full-or-read-only"), m_injected, m_survived);
        setMidiBackend(nullptr);
    }

    void presetSaveFails_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("disk full") << "full";
        QTest::newRow("read-only disk") << "read-only";
        QTest::newRow("folder is a file") << "file";
    }
    void presetSaveFails()
    {
        QFETCH(QString, fault);
        const QString folder = home(QStringLiteral("presets-") + fault);
        TinyFs fs(folder);
        if (fault != QLatin1String("file")) {
            QString error;
            if (!fs.mount(&error))
                QSKIP(qPrintable(QStringLiteral("no tmpfs here: ") + error));
        }
        QVERIFY(QDir().mkpath(folder));

        MainWindow window(nullptr);
        DataManagement *settings = window.settings();
        const QString old = folder + QStringLiteral("/my set.stm");
        QVERIFY(window.savePresetTo(old));
        const QByteArray oldBytes = testsupport::readAll(old);
        QCOMPARE(oldBytes.size(), 462);

        settings->setCurveInten(QStringLiteral("curve"), 3);
        settings->setPadInfo(5, QStringLiteral("padData"), 77);
        const QByteArray edited = settings->imageBytes();

        QStringList targets{old, folder + QStringLiteral("/new set.syx")};
        ++m_injected;
        if (fault == QLatin1String("full")) {
            QVERIFY(fs.fill());
        } else if (fault == QLatin1String("read-only")) {
            QVERIFY(fs.setReadOnly(true));
        } else {
            testsupport::writeAll(folder + QStringLiteral("/sub"), "not a folder");
            targets = QStringList{folder + QStringLiteral("/sub/my set.stm")};
        }
        const QStringList before = entries(folder);

        for (const QString &target : qAsConst(targets)) {
            testsupport::MessageBoxCloser closer;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^saving the preset failed:")));
            QVERIFY2(!window.savePresetTo(target), qPrintable(target));
            QCOMPARE(closer.texts().size(), 1);
            QVERIFY2(closer.texts().first().contains(QDir::toNativeSeparators(target)),
                     qPrintable(closer.texts().first()));
        }
        // Nothing half written, nothing left behind, the old file whole.
        QCOMPARE(entries(folder), before);
        QCOMPARE(testsupport::readAll(old), oldBytes);
        if (fault == QLatin1String("file"))
            QCOMPARE(testsupport::readAll(folder + QStringLiteral("/sub")), QByteArray("not a folder"));

        // Still running, edits kept: once the fault is gone the same save works.
        QCOMPARE(settings->imageBytes(), edited);
        if (fault == QLatin1String("full"))
            QVERIFY(fs.removeFiller());
        else if (fault == QLatin1String("read-only"))
            QVERIFY(fs.setReadOnly(false));
        else
            QVERIFY(QFile::remove(folder + QStringLiteral("/sub")) && QDir().mkpath(folder + QStringLiteral("/sub")));
        for (const QString &target : qAsConst(targets)) {
            QVERIFY(window.savePresetTo(target));
            QByteArray image;
            QString error;
            QVERIFY2(preset::readFile(target, &image, &error), qPrintable(error));
            QCOMPARE(image, edited);
        }
        ++m_survived;
    }

    void editorRunsWithItsLogFolderFullOrReadOnly_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("log folder full") << "full";
        QTest::newRow("log folder read-only") << "read-only";
    }
    void editorRunsWithItsLogFolderFullOrReadOnly()
    {
        QFETCH(QString, fault);
        const QString root = home(QStringLiteral("editor-") + fault);
        const QString runtime = root + QStringLiteral("/run");
        QVERIFY(QDir().mkpath(runtime));
        QFile(runtime).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        TinyFs fs(root + QStringLiteral("/data/korvel-mavu/Log"));
        QString error;
        if (!fs.mount(&error))
            QSKIP(qPrintable(QStringLiteral("no tmpfs here: ") + error));
        ++m_injected;
        QVERIFY(fault == QLatin1String("full") ? fs.fill() : fs.setReadOnly(true));

        QProcess editor;
        editor.setProcessEnvironment(editorEnvironment(root));
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(MAVU_EDITOR_PATH), QStringList());
        QVERIFY(editor.waitForStarted(10000));
        auto stopEditor = qScopeGuard([&editor] {
            editor.kill();
            editor.waitForFinished(10000);
        });
        // Up: it serves the rendezvous of a second start.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(runtime + QStringLiteral("/korvelMavu.socket"))
                                     || editor.state() != QProcess::Running,
                                 30000);
        QCOMPARE(editor.state(), QProcess::Running);
        QProcess second;
        second.setProcessEnvironment(editorEnvironment(root));
        second.start(QStringLiteral(MAVU_EDITOR_PATH), QStringList());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTest::qWait(1000);
        QCOMPARE(editor.state(), QProcess::Running);

        // Space again: the log goes on where it could not.
        QVERIFY(fault == QLatin1String("full") ? fs.removeFiller() : fs.setReadOnly(false));
        second.start(QStringLiteral(MAVU_EDITOR_PATH), QStringList());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        const auto logText = [&fs] {
            QByteArray text;
            for (const QString &name : entries(fs.folder()).filter(QStringLiteral("_log.html")))
                text += testsupport::readAll(fs.folder() + QLatin1Char('/') + name);
            return text;
        };
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains("second start:"), 10000);
        QCOMPARE(editor.state(), QProcess::Running);
        ++m_survived;
    }
};

int main(int argc, char *argv[])
{
    faults::prepareEditorWindow();
    QApplication app(argc, argv);
    TestFaultStorage test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fault_storage.moc"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The editor program as "korvel-mavu --simulator" starts it: the built-in
// controller is found at start, read, and asked for its serial number.
class TestEditorSimulator : public QObject
{
    Q_OBJECT
private slots:
    void startsConnectedAndReadsTheSimulatedController()
    {
        QTemporaryDir home;
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", runtime.path()); // a private single-instance rendezvous
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_QUICK_BACKEND", "software");
        env.remove("KORVEL_MAVU_MIDI_API");
        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.setProcessChannelMode(QProcess::MergedChannels);
        editor.start(MAVU_EDITOR_PATH, {"--simulator"});
        QVERIFY(editor.waitForStarted());

        QByteArray log;
        const QList<QByteArray> expected = {
            "\"zt118\" true",                             // found at start
            "simulator: \"received 8 bytes, command 02\"", // asked for its settings
            "parseMidiData====",                           // and took the answer
            "simulator: \"received 8 bytes, command 04\"", // then its serial number
            "=== \"MAVU-SIM-0\"",
        };
        QElapsedTimer clock;
        clock.start();
        auto seenAll = [&] {
            int from = 0;
            for (const QByteArray &line : expected) {
                from = log.indexOf(line, from);
                if (from < 0)
                    return false;
            }
            return true;
        };
        while (!seenAll() && clock.elapsed() < 20000 && editor.state() == QProcess::Running) {
            editor.waitForReadyRead(100);
            log += editor.readAll();
        }
        editor.terminate();
        if (!editor.waitForFinished(5000)) {
            editor.kill();
            editor.waitForFinished();
        }
        log += editor.readAll();
        QVERIFY2(seenAll(), log.constData());
        QVERIFY2(!log.contains("The current device is occupied"), log.constData());
    }
};

QTEST_GUILESS_MAIN(TestEditorSimulator)
#include "tst_editor_simulator.moc"

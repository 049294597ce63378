// The controller pulled out (or its program killed) while the editor waits
// for its settings: mavu-sim on a private JACK server answers late, and the
// fault lands in between. Nothing may be lost or half taken over.
#include "EditorSetup.h"
#include "FaultReport.h"
#include "JackFixture.h"

#include "app/MainWindow.h"
#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "model/DataManagement.h"
#include "simulator/SimController.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {

const char kClient[] = "tst_fault_unplug";
constexpr int kReplyDelayMs = 1500;

QByteArray simulatorImage(int major, int minor, int patch)
{
    SimController controller;
    controller.setVersion(major, minor, patch);
    return controller.settingsReply();
}

// The MIDI ports this program holds open on the JACK graph.
QStringList editorPorts()
{
    QProcess lsp;
    lsp.start(QStringLiteral("jack_lsp"), QStringList());
    if (!lsp.waitForFinished(10000))
        return {QStringLiteral("jack_lsp did not answer")};
    QStringList ours;
    const QStringList lines = QString::fromLocal8Bit(lsp.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String(kClient))
            && (line.endsWith(QLatin1String(" in")) || line.endsWith(QLatin1String(" out"))))
            ours << line;
    }
    return ours;
}

QList<int> childrenOf(int pid)
{
    QList<int> pids;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(task + QStringLiteral("/children")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &word : file.readAll().simplified().split(' '))
            if (!word.isEmpty())
                pids << word.toInt();
    }
    return pids;
}

// mavu-sim itself, below the watcher shell this test started.
int simulatorPid()
{
    for (int watcher : childrenOf(int(QCoreApplication::applicationPid()))) {
        for (int child : childrenOf(watcher)) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(child));
            if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "mavu-sim")
                return child;
        }
    }
    return -1;
}

} // namespace

class TestFaultUnplug : public QObject
{
    Q_OBJECT
private:
    JackServer m_jack;
    std::unique_ptr<GuardedProcess> m_sim;
    int m_injected = 0;
    int m_survived = 0;

    void startSimulator(const QString &version)
    {
        m_sim = std::make_unique<GuardedProcess>();
        QVERIFY(m_sim->start(simulatorPath(), {"--midi-api", "jack", "--firmware-version", version, "--reply-delay",
                                               QString::number(kReplyDelayMs)}));
        QVERIFY2(m_sim->waitForOutput("plugged in", 10000), m_sim->output().constData());
    }

    // The editor notices the controller, asks for its settings, and holds
    // its ports open for the late answer.
    void waitForPendingRead(QSignalSpy &state)
    {
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 10000);
        QCOMPARE(state.first().first().toBool(), true);
        QVERIFY2(m_sim->waitForOutput("received 8 bytes, command 02", 5000), m_sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(editorPorts().size(), 2, 5000);
    }

    // After the fault: removal reported once, ports let go, the image as it
    // was, and a read now fails plainly instead of waiting for ever.
    void checkSurvived(MainWindow &window, QSignalSpy &state, QSignalSpy &updated, const QByteArray &before)
    {
        // A killed client is dropped by JACK only after its client time-out (10 s).
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 2, 20000);
        QCOMPARE(state.at(1).first().toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(editorPorts().isEmpty(), 5000);
        QTest::qWait(kReplyDelayMs + 500); // past the moment the answer was due
        QCOMPARE(updated.size(), 0);
        QCOMPARE(window.settings()->imageBytes(), before);

        QSignalSpy hints(&window, &MainWindow::showHint);
        window.getData();
        QCOMPARE(hints.size(), 1);
        QCOMPARE(hints.first(), (QList<QVariant>{false, false}));
        QVERIFY(editorPorts().isEmpty());
        QCOMPARE(state.size(), 2);
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_jack.start(&error), qPrintable(error));
        QVERIFY2(installSystemMidi("jack", kClient, &error), qPrintable(error));
    }

    void cleanup() { m_sim.reset(); }

    void cleanupTestCase()
    {
        faults::reportFaults(QStringLiteral("controller-gone-during-read"), m_injected, m_survived);
        setMidiBackend(nullptr);
        m_jack.stop();
    }

    void unpluggedDuringReadThenReplugged()
    {
        MainWindow window(nullptr);
        QSignalSpy state(&window, &MainWindow::devStateChanged);
        QSignalSpy updated(window.settings(), &DataManagement::s_updateDate);
        const QByteArray before = window.settings()->imageBytes();
        startSimulator(QStringLiteral("3.2.1")); // plugged in once the editor runs
        waitForPendingRead(state);
        if (QTest::currentTestFailed())
            return;

        ++m_injected;
        m_sim->signalUser1();
        QVERIFY(m_sim->waitForOutput("unplugged", 5000));
        checkSurvived(window, state, updated, before);
        if (QTest::currentTestFailed())
            return;

        // In again: read as on any arrival.
        m_sim->signalUser1();
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 3, 10000);
        QCOMPARE(state.at(2).first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), simulatorImage(3, 2, 1), 10000);
        QCOMPARE(updated.size(), 1);
        ++m_survived;
    }

    void killedDuringReadThenStartedAgain()
    {
        MainWindow window(nullptr);
        QSignalSpy state(&window, &MainWindow::devStateChanged);
        QSignalSpy updated(window.settings(), &DataManagement::s_updateDate);
        const QByteArray before = window.settings()->imageBytes();
        startSimulator(QStringLiteral("4.5.6")); // plugged in once the editor runs
        waitForPendingRead(state);
        if (QTest::currentTestFailed())
            return;

        ++m_injected;
        const int pid = simulatorPid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        checkSurvived(window, state, updated, before);
        if (QTest::currentTestFailed())
            return;

        m_sim.reset();
        startSimulator(QStringLiteral("4.5.7"));
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 3, 10000);
        QCOMPARE(state.at(2).first().toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), simulatorImage(4, 5, 7), 10000);
        QCOMPARE(updated.size(), 1);
        ++m_survived;
    }
};

int main(int argc, char *argv[])
{
    faults::prepareEditorWindow();
    QApplication app(argc, argv);
    TestFaultUnplug test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fault_unplug.moc"

// The controller pulled out (or its program killed) while the editor waits
// for its settings: mavu-sim on a private JACK server answers late, and the
// fault lands in between. Nothing may be lost or half taken over.
#include "FaultReport.h"

#include "app/MainWindow.h"
#include "model/DataManagement.h"
#include "simulator/SimController.h"
#include "support/EditorHarness.h"
#include "support/JackFixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

namespace {

const char kClient[] = "tst_fault_unplug";
constexpr int kReplyDelayMs = 1500;

// The MIDI ports this program holds open on the JACK graph.
QStringList editorPorts()
{
    QProcess lsp;
    lsp.start(QStringLiteral("jack_lsp"), QStringList());
    if (!lsp.waitForFinished(10000))
        return {QStringLiteral("jack_lsp did not answer")};
    const QStringList lines = QString::fromLocal8Bit(lsp.readAllStandardOutput()).split(QLatin1Char('\n'));
    return lines.filter(QRegularExpression(QStringLiteral("^%1.* (in|out)$").arg(kClient)));
}

} // namespace

class TestFaultUnplug : public QObject
{
    Q_OBJECT
    JackServer m_jack;
    int m_injected = 0;
    int m_survived = 0;

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_jack.start(&error, 1024, kClient), qPrintable(error));
    }

    void cleanupTestCase()
    {
        faults::reportFaults(QStringLiteral("controller-gone-during-read"), m_injected, m_survived);
    }

    void goneDuringARead_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("unplugged, plugged in again") << false;
        QTest::newRow("killed, started again") << true;
    }
    void goneDuringARead()
    {
        QFETCH(bool, killed);
        MainWindow window(nullptr);
        QSignalSpy state(&window, &MainWindow::devStateChanged);
        QSignalSpy updated(window.settings(), &DataManagement::s_updateDate);
        const QByteArray before = window.settings()->imageBytes();
        // Plugged in once the editor runs: noticed, asked, and the ports held open for the late answer.
        auto sim = std::make_unique<GuardedProcess>();
        const QStringList late{"--reply-delay", QString::number(kReplyDelayMs), "--firmware-version"};
        QVERIFY2(startSimulator(*sim, late + QStringList{"3.2.1"}), sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 1, 10000);
        QCOMPARE(state.first().first().toBool(), true);
        QVERIFY2(sim->waitForOutput("received 8 bytes, command 02", 5000), sim->output().constData());
        QTRY_COMPARE_WITH_TIMEOUT(editorPorts().size(), 2, 5000);

        ++m_injected;
        if (killed) {
            sim->killChild();
        } else {
            sim->signalUser1();
            QVERIFY(sim->waitForOutput("unplugged", 5000));
        }
        // Removal reported once, ports let go, the image as it was, and a read
        // now fails plainly instead of waiting for ever. A killed client is
        // dropped by JACK only after its client time-out (10 s).
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 2, 20000);
        QCOMPARE(state.at(1).first().toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(editorPorts().isEmpty(), 5000);
        QTest::qWait(kReplyDelayMs + 500); // past the moment the answer was due
        QCOMPARE(updated.size(), 0);
        QCOMPARE(window.settings()->imageBytes(), before);
        QSignalSpy hints(&window, &MainWindow::showHint);
        window.getData();
        QCOMPARE(hints.first(), (QList<QVariant>{false, false}));
        QVERIFY(editorPorts().isEmpty());

        // Back: read as on any arrival.
        if (killed) {
            sim = std::make_unique<GuardedProcess>();
            QVERIFY(startSimulator(*sim, late + QStringList{"4.5.7"}));
        } else {
            sim->signalUser1();
        }
        QTRY_COMPARE_WITH_TIMEOUT(state.size(), 3, 10000);
        QCOMPARE(state.at(2).first().toBool(), true);
        SimController expected;
        expected.setVersion(killed ? 4 : 3, killed ? 5 : 2, killed ? 7 : 1);
        QTRY_COMPARE_WITH_TIMEOUT(window.settings()->imageBytes(), expected.settingsReply(), 10000);
        QCOMPARE(updated.size(), 1);
        ++m_survived;
    }
};

MAVU_EDITOR_TEST_MAIN(TestFaultUnplug)
#include "tst_fault_unplug.moc"

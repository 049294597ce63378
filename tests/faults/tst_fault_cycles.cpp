// A long session: ten thousand writes and reads of the whole settings image
// against the simulated controller (in-process MIDI), each answer checked
// byte for byte, with the process's memory measured before and after.
#include "FaultReport.h"

#include "app/MainWindow.h"
#include "device/Protocol.h"
#include "model/DataManagement.h"
#include "support/EditorHarness.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

namespace {

constexpr int kCycles = 10000;
constexpr int kWarmUpCycles = 500;
constexpr int kReplyTimeoutMs = 2000;
constexpr long kAllowedGrowthKb = 4096;

QtMessageHandler s_previousHandler = nullptr;

// Twenty thousand "parseMidiData====" lines would drown the output.
void dropDebugLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg)
        s_previousHandler(type, context, message);
}

} // namespace

class TestFaultCycles : public QObject
{
    Q_OBJECT
private:
    InProcessEditor m_editor;
    MainWindow *m_window = nullptr;
    int m_replies = 0;

    // One write then one read; false when no answer came in time.
    bool cycle(int i)
    {
        DataManagement *settings = m_window->settings();
        settings->setPadInfo(i % 48, QStringLiteral("padData"), i % 128);
        settings->setBQMInfo(i % 12, QStringLiteral("bqmLsbMax"), (i * 7) % 128);
        QByteArray expected = settings->imageBytes();
        expected[1] = char(protocol::ReadSettings);

        const int before = m_replies;
        m_window->sendData();
        m_window->getData();
        QDeadlineTimer deadline(kReplyTimeoutMs);
        while (m_replies == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (m_replies == before)
            return false;
        if (settings->imageBytes() != expected) {
            qWarning("cycle %d: the answer differs from what was written", i);
            return false;
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        m_editor.start(this);
        m_window = m_editor.window.get();
        connect(m_window->settings(), &DataManagement::s_updateDate, this, [this] { ++m_replies; });
        // The pages still reload every answer; only the painting, which
        // costs most without a GPU and tells nothing here, is left out.
        for (QObject *root : m_window->engine().rootObjects()) {
            if (auto *window = qobject_cast<QWindow *>(root))
                window->hide();
        }
        // The reads of the arrival, then its serial number request.
        QSignalSpy serial(m_window, &MainWindow::s_snNum);
        QTRY_COMPARE_WITH_TIMEOUT(serial.size(), 1, 5000);
        QCOMPARE(m_replies, 1);
    }

    void tenThousandWritesAndReadsLoseNothing()
    {
        s_previousHandler = qInstallMessageHandler(dropDebugLines);
        int lost = 0;
        for (int i = 0; i < kWarmUpCycles; ++i)
            lost += cycle(i) ? 0 : 1;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const long memBefore = faults::memoryInUseKb();
        int lostInRun = 0;
        for (int i = 0; i < kCycles && lostInRun < 10; ++i)
            lostInRun += cycle(kWarmUpCycles + i) ? 0 : 1;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const long memAfter = faults::memoryInUseKb();
        qInstallMessageHandler(s_previousHandler);

        const QString kind = QString::fromLatin1(faults::memoryInUseKind());
        faults::reportLine(QStringLiteral("CYCLES: %1 lost=%2 %3_before_kb=%4 %3_after_kb=%5")
                               .arg(kCycles)
                               .arg(lostInRun)
                               .arg(kind)
                               .arg(memBefore)
                               .arg(memAfter));
        QCOMPARE(lost, 0);
        QCOMPARE(lostInRun, 0);
        QVERIFY(memBefore > 0);
        QVERIFY2(memAfter - memBefore < kAllowedGrowthKb,
            qPrintable(QStringLiteral("grew by %1 kB").arg(memAfter - memBefore)));
        QCOMPARE(m_replies, 1 + kWarmUpCycles + kCycles);
    }
};

MAVU_EDITOR_TEST_MAIN(TestFaultCycles)
#include "tst_fault_cycles.moc"

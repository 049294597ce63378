// The update port in the way of a firmware transfer: held by another program,
// pulled out mid-transfer, or left behind by a transfer that failed. lrzsz's rb receives on a
// pseudo-terminal; another copy of this program holds the port as any serial
// program would (QSerialPort: exclusive use and a lock file).
#include "FaultReport.h"
#include "PtyLink.h"
#include "RbProcess.h"

#include "firmware/FirmwareUpdate.h"
#include "firmware/SerialPortFinder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

const char kHoldOption[] = "--hold-port";

// The other program: holds the port until its standard input closes.
int holdPort(const QString &path)
{
    QSerialPort port(path);
    if (!port.open(QIODevice::ReadWrite)) {
        std::printf("refused: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    in.readAll();
    return 0;
}

// This process's descriptors open on a file, also once the file is gone
// (a pulled cable takes the terminal with it).
int descriptorsOn(const QString &path)
{
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : path;
    const QString gone = target + QStringLiteral(" (deleted)");
    const QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        if (link == target || link == gone)
            ++count;
    }
    return count;
}

} // namespace

class TestFaultUpdatePort : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_firmware;
    int m_injected = 0;
    int m_survived = 0;

    // Starts the other program on the port; true once it holds it.
    bool hold(QProcess &holder, const QString &port)
    {
        holder.start(QCoreApplication::applicationFilePath(), {QLatin1String(kHoldOption), port});
        QElapsedTimer timer;
        timer.start();
        QByteArray out;
        while (timer.elapsed() < 10000 && holder.state() != QProcess::NotRunning) {
            holder.waitForReadyRead(100);
            out += holder.readAllStandardOutput();
            if (out.contains("held\n"))
                return true;
        }
        qWarning("the holder did not take the port: %s", (out + holder.readAllStandardOutput()).constData());
        return false;
    }

    void release(QProcess &holder)
    {
        holder.closeWriteChannel();
        if (!holder.waitForFinished(5000)) {
            holder.kill();
            holder.waitForFinished(5000);
        }
    }

    // A whole update to rb on the link; the file must arrive unchanged.
    void updateSucceeds(FirmwareUpdate &update, PtyLink &link, QSignalSpy &status)
    {
        const int before = status.count();
        update.startUpdate(m_firmware);
        RbProcess rb;
        QVERIFY(rb.start(link));
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), before + 1, 30000);
        QCOMPARE(status.last().first().toBool(), true);
        QVERIFY(rb.waitForFinished(10000));
        QCOMPARE(rb.received(QStringLiteral("mavu-9.9.9.bin")), testsupport::readAll(m_firmware));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QByteArray bytes(20000, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7 + 3);
        m_firmware = m_dir.filePath(QStringLiteral("mavu-9.9.9.bin"));
        testsupport::writeAll(m_firmware, bytes);
    }

    void cleanupTestCase() { faults::reportFaults(QStringLiteral("update-port"), m_injected, m_survived); }

    void portHeldByAnotherProgramFailsAtOnceThenRetryWorks()
    {
        PtyLink link;
        QVERIFY(link.open());
        FirmwareUpdate update;
        update.setPortOverride(link.portPath());
        QSignalSpy status(&update, &FirmwareUpdate::transStatus);
        QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
        QProcess holder;
        auto stopHolder = qScopeGuard([&] { release(holder); });
        ++m_injected;
        QVERIFY(hold(holder, link.portPath()));

        {
            testsupport::MessageBoxCloser closer;
            update.startUpdate(m_firmware);
            QTRY_COMPARE_WITH_TIMEOUT(closer.texts().size(), 1, 3000);
            const QString text = closer.texts().first();
            QVERIFY2(text.startsWith(QStringLiteral("Failed to open the serial port!")), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("dialout")), qPrintable(text)); // busy, not forbidden
        }
        // Reported at most once, and never as success; nothing was sent.
        QTest::qWait(300);
        QVERIFY(status.count() <= 1);
        if (status.count() == 1)
            QCOMPARE(status.first().first().toBool(), false);
        QCOMPARE(progress.count(), 0);
        QCOMPARE(holder.state(), QProcess::Running); // its hold was not broken

        release(holder);
        updateSucceeds(update, link, status);
        if (QTest::currentTestFailed())
            return;
        ++m_survived;
    }

    void cablePulledMidTransferFailsOnceThenRetryWorks()
    {
        FirmwareUpdate update;
        QSignalSpy status(&update, &FirmwareUpdate::transStatus);
        QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
        ++m_injected;
        {
            PtyLink link(11520); // the line's real rate, so the cut lands mid-file
            QVERIFY(link.open());
            const QString port = link.portPath();
            update.setPortOverride(port);
            update.startUpdate(m_firmware);
            RbProcess rb;
            QVERIFY(rb.start(link));
            QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 3, 20000);
            QVERIFY(status.isEmpty());
            link.cut();
            QCOMPARE(descriptorsOn(port), 1); // the sender has not noticed yet
            QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 2000);
            QCOMPARE(status.first().first().toBool(), false);
            QTest::qWait(300);
            QCOMPARE(status.count(), 1);
            QCOMPARE(descriptorsOn(port), 0);
        }

        // Plugged in again: the same update object sends the whole file.
        PtyLink link;
        QVERIFY(link.open());
        update.setPortOverride(link.portPath());
        updateSucceeds(update, link, status);
        if (QTest::currentTestFailed())
            return;
        ++m_survived;
    }

    void failedTransferReleasesThePort()
    {
        PtyLink link;
        QVERIFY(link.open());
        const int ownDescriptors = descriptorsOn(link.portPath()); // the link's own end
        FirmwareUpdate update;
        update.setPortOverride(link.portPath());
        QSignalSpy status(&update, &FirmwareUpdate::transStatus);

        // Nobody answers on the line: the transfer gives up, once.
        ++m_injected;
        update.transmitter()->setTimeDivide(4);
        update.transmitter()->setTimeMax(1);
        update.startUpdate(m_firmware);
        QTRY_COMPARE(descriptorsOn(link.portPath()), ownDescriptors + 1);
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 10000);
        QCOMPARE(status.first().first().toBool(), false);
        QTest::qWait(300);
        QCOMPARE(status.count(), 1);

        // Let go: another program may take it, and the retry works.
        QCOMPARE(descriptorsOn(link.portPath()), ownDescriptors);
        {
            QProcess holder;
            QVERIFY(hold(holder, link.portPath()));
            release(holder);
        }
        update.transmitter()->setTimeDivide(499);
        update.transmitter()->setTimeMax(5);
        updateSucceeds(update, link, status);
        if (QTest::currentTestFailed())
            return;
        ++m_survived;
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], kHoldOption) == 0) {
        QCoreApplication app(argc, argv);
        return holdPort(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestFaultUpdatePort test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fault_update_port.moc"

// The update port in the way of a firmware transfer: held by another program,
// pulled out mid-transfer, or the file gone. Each ends the update once,
// lets go of the port, and the same update object then sends the whole file to
// lrzsz's rb on a pseudo-terminal, with its progress. A second QSerialPort
// holds the port as any serial program would (exclusive use and a lock
// file). Last, a receiver that leaves at the end of the file, as a
// restarting controller does. And mavuctl asked to end by SIGTERM
// mid-transfer: it ends with 143 only once rb has the whole file.
#include "support/FaultReport.h"
#include "support/FirmwareBytes.h"
#include "support/firmware/PtyLink.h"
#include "support/model/ScriptedPrompt.h"

#include "firmware/FirmwareUpdate.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// lrzsz's rb receiving one batch at the link's far end, in a folder of its
// own: binary, names kept as sent, a verbose log for failures.
struct Rb : QProcess {
    QTemporaryDir dir;
    ~Rb() override
    {
        kill();
        waitForFinished(2000);
    }
    bool start(const PtyLink &link)
    {
        setWorkingDirectory(dir.path());
        setStandardInputFile(link.peerPath());
        setStandardOutputFile(link.peerPath(), QIODevice::Append);
        QProcess::start(QStringLiteral("rb"), {QStringLiteral("-b"), QStringLiteral("-u"), QStringLiteral("-vv")});
        return waitForStarted(5000);
    }
    bool ended(int ms) { return state() == QProcess::NotRunning || waitForFinished(ms); }
    bool succeeded() const { return exitStatus() == QProcess::NormalExit && exitCode() == 0; }
};

} // namespace

class TestFaultUpdatePort : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_firmware;
    int m_injected = 0;
    int m_survived = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLoggingCategory::setFilterRules(QStringLiteral("mavu.*.debug=false"));
        m_firmware = m_dir.filePath(QStringLiteral("fault.bin")); // long enough to be cut mid-file
        testsupport::writeAll(m_firmware, testFirmwareBytes(20000));
    }

    void cleanupTestCase() { faults::reportFaults(QStringLiteral("update-port"), m_injected, m_survived); }

    void faultEndsOnceThenRetryWorks_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("retrySize"); // of the file the retry sends
        // Held through the wait after the update-mode command (ModemManager
        // probing): looked at again until the last look, then given up.
        QTest::newRow("held by another program") << "busy" << 1152; // a block of 1024 and one of 128
        QTest::newRow("cable pulled mid-transfer") << "pulled" << 30077;
        QTest::newRow("file gone: rb sees the cancel") << "missing" << 1100;
    }

    void faultEndsOnceThenRetryWorks()
    {
        QFETCH(QString, fault);
        QFETCH(int, retrySize);
        FirmwareUpdate update;
        ScriptedPrompt prompt;
        update.setPrompt(&prompt);
        QSignalSpy status(&update, &FirmwareUpdate::transStatus);
        QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
        // At the line's real rate (8N1: ten bits a byte), so that the cut lands mid-file.
        auto link = std::make_unique<PtyLink>(fault == "pulled" ? YmodemFileTransmit::kBaudRate / 10 : 0);
        QVERIFY(link->open());
        const QString port = link->portPath();
        const int own = PtyLink::descriptorsOn(port); // the link's own end
        update.setPortOverride(port);
        QSerialPort holder(port);
        ++m_injected;
        {
            Rb rb;
            if (fault == "busy") {
                QVERIFY(holder.open(QIODevice::ReadWrite));
                update.setLastLookMs(UpdatePortWait::kFirstLookMs + 2 * UpdatePortWait::kLookIntervalMs);
                update.updateAfterCommand(m_firmware);
                QTest::qWait(UpdatePortWait::kFirstLookMs + UpdatePortWait::kLookIntervalMs / 2);
                QVERIFY(status.isEmpty()); // not given up at the first look
            } else {
                update.startUpdate(fault == "missing" ? m_dir.filePath(QStringLiteral("absent.bin")) : m_firmware);
            }
            if (fault != "busy")
                QVERIFY(rb.start(*link));
            if (fault == "pulled") {
                QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 3, 20000);
                QVERIFY(status.isEmpty());
                link->cut();
                QCOMPARE(PtyLink::descriptorsOn(port), 1); // the sender has not noticed yet
            }
            // Noticed promptly, reported once and never as success.
            QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 1500);
            QCOMPARE(status.first().first().toBool(), false);
            QTest::qWait(300);
            QCOMPARE(status.count(), 1);
            QCOMPARE(PtyLink::descriptorsOn(port), fault == "pulled" ? 0 : own + int(holder.isOpen()));
            // Busy, not forbidden: no hint about udev rules or groups.
            QCOMPARE(
                prompt.asked(), fault == "busy" ? QStringList{"info: Failed to open the serial port!"} : QStringList());
            if (fault == "missing")
                QVERIFY(rb.ended(20000) && !rb.succeeded());
        }
        // Let go: another program may take the port.
        holder.close();
        if (fault == "pulled") {
            link = std::make_unique<PtyLink>(); // plugged in again
            QVERIFY(link->open());
            update.setPortOverride(link->portPath());
        } else {
            QVERIFY(holder.open(QIODevice::ReadWrite));
            holder.close();
        }

        // The retry sends the whole file to rb, reporting as it goes: each
        // chunk's progress (1024 bytes while more than 128 remain) and the
        // bytes the receiver acknowledged, which lag a chunk. A second start
        // meanwhile is refused and does not end it.
        const QString file = m_dir.filePath(QStringLiteral("mavu-9.9.9.bin"));
        testsupport::writeAll(file, testFirmwareBytes(retrySize));
        QStringList events;
        YmodemFileTransmit *transmit = update.transmitter();
        connect(transmit, &YmodemFileTransmit::transmitProgress, this,
            [&](int p) { events << QStringLiteral("p%1").arg(p); });
        connect(transmit, &YmodemFileTransmit::transmitStatus, this,
            [&](int s) { events << QStringLiteral("s%1").arg(s); });
        connect(transmit, &YmodemFileTransmit::bytesAcknowledged, this, [&](qint64 done, qint64 total) {
            if (events.size() == 1)
                update.startUpdate(file);
            events << QStringLiteral("a%1/%2").arg(done).arg(total);
        });
        ScriptedPrompt retryPrompt;
        update.setPrompt(&retryPrompt);
        update.startUpdate(file);
        Rb rb;
        QVERIFY(rb.start(*link));
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 30000);
        QCOMPARE(retryPrompt.asked(), QStringList{QStringLiteral("info: Failed to open the serial port!")});
        QCOMPARE(status.last().first().toBool(), true);
        QVERIFY(rb.ended(10000));
        QVERIFY2(rb.succeeded(), rb.readAllStandardError().constData());
        QCOMPARE(testsupport::readAll(rb.dir.filePath(QStringLiteral("mavu-9.9.9.bin"))), testsupport::readAll(file));
        QStringList expected{"s0"};
        for (int sent = 0; sent < retrySize;) {
            expected << QStringLiteral("a%1/%2").arg(sent).arg(retrySize);
            sent += qMin(retrySize - sent > 128 ? 1024 : 128, retrySize - sent);
            expected << QStringLiteral("p%1").arg(qint64(sent) * 100 / retrySize) << "s1";
        }
        QCOMPARE(events, expected << QStringLiteral("a%1/%1").arg(retrySize) << QStringList({"s1", "s2"}));
        ++m_survived;
    }

    // Into a pipe (not a terminal), progress comes as a line at each tenth.
    void sigtermLetsTheTransferEndFirst()
    {
        PtyLink link(YmodemFileTransmit::kBaudRate / 10);
        QVERIFY(link.open());
        const QString file = m_dir.filePath(QStringLiteral("term.bin"));
        testsupport::writeAll(file, testFirmwareBytes(30000));
        Rb rb;
        QVERIFY(rb.start(link));
        QProcess mavuctl;
        mavuctl.start(QStringLiteral(MAVU_MAVUCTL_PATH),
            {QStringLiteral("firmware"), QStringLiteral("update"), file, QStringLiteral("--port"), link.portPath()});
        QByteArray err;
        // A header lost to rb's clearing of its input goes again a resend period (5 s) later.
        QTRY_VERIFY_WITH_TIMEOUT((err += mavuctl.readAllStandardError()).contains(" 10% "), 30000);
        mavuctl.terminate(); // SIGTERM
        QVERIFY(mavuctl.waitForFinished(20000));
        err += mavuctl.readAllStandardError();
        // rb has the whole file: mavuctl ended only once it was confirmed.
        QVERIFY2(rb.ended(15000) && rb.succeeded(), (err + rb.readAllStandardError()).constData());
        QCOMPARE(testsupport::readAll(rb.dir.filePath(QStringLiteral("term.bin"))), testsupport::readAll(file));
        QVERIFY(mavuctl.exitStatus() == QProcess::NormalExit && mavuctl.exitCode() == 143);
        QVERIFY2(err.contains("SIGTERM received during the firmware update; ending once the transfer has ended")
                && err.contains("the firmware update is over; ending now") && !err.contains('\r')
                && err.count('%') == 11 && err.contains("100% "),
            err.constData());
        QCOMPARE(mavuctl.readAllStandardOutput(), QByteArray("Firmware term.bin sent.\n"));
    }

    void lineGoneAtTheEndOfTheFile_data()
    {
        QTest::addColumn<int>("ack"); // of the EOT: 0 none, 1 taken in, 2 read in the turn the line goes
        QTest::addColumn<int>("status");
        QTest::newRow("before the EOT's ACK: failed") << 0 << int(YmodemFileTransmit::StatusError);
        QTest::newRow("after the EOT's ACK: delivered") << 1 << int(YmodemFileTransmit::StatusFinish);
        QTest::newRow("EOT's ACK read as the line goes") << 2 << int(YmodemFileTransmit::StatusFinish);
    }
    // A loader that acknowledges the EOT and restarts into the new firmware:
    // its port vanishes. The errors of the lost line (a pseudo-terminal floods
    // ReadError) can come while its ACK still waits to be taken in.
    void lineGoneAtTheEndOfTheFile()
    {
        QFETCH(int, ack);
        QFETCH(int, status);
        PtyLink link;
        QVERIFY(link.open());
        YmodemFileTransmit transmit;
        QList<int> statuses;
        connect(&transmit, &YmodemFileTransmit::transmitStatus, this, [&](int s) { statuses << s; });
        const QString path = m_dir.filePath(QStringLiteral("restart.bin"));
        testsupport::writeAll(path, testFirmwareBytes(1100));
        transmit.setFileName(path);
        transmit.setPortName(link.portPath());
        QSerialPort peer(link.peerPath());
        QVERIFY(peer.open(QIODevice::ReadWrite));
        peer.write("C"); // before the sender listens: still asks for the file
        QVERIFY(peer.waitForBytesWritten(1000));
        QTest::qWait(100);
        QVERIFY(transmit.startTransmit());
        termios settings{}; // set up at the controller's rate
        const int fd = ::open(QFile::encodeName(link.portPath()).constData(), O_RDONLY | O_NOCTTY);
        QVERIFY(fd >= 0 && ::tcgetattr(fd, &settings) == 0);
        ::close(fd);
        QCOMPARE(::cfgetospeed(&settings), speed_t(B115200));
        const QByteArray ackByte(1, char(0x06));
        // The header, 1024 bytes of data while more than 128 remain, the last
        // 76 in a short block, then the EOT.
        const QList<QPair<QByteArray, int>> script{{"", 133}, {ackByte + 'C', 1029}, {ackByte, 133}, {ackByte, 1}};
        for (const auto &step : script) {
            peer.write(step.first);
            QTRY_COMPARE(int(peer.bytesAvailable()), step.second);
            peer.readAll();
        }
        QSerialPort *line = transmit.findChild<QSerialPort *>();
        if (ack > 0) {
            peer.write(ackByte);
            QVERIFY(peer.waitForBytesWritten(1000));
            if (ack == 1)
                QTest::qWait(200);
            else // buffered, but not yet stepped on
                QVERIFY(line->waitForReadyRead(1000));
        }
        link.cut();
        for (int i = 0; ack == 2 && i < YmodemFileTransmit::kReadErrorsGone; ++i)
            line->waitForReadyRead(100); // the errors, before the next step
        QTRY_VERIFY_WITH_TIMEOUT(!statuses.isEmpty() && statuses.last() > YmodemFileTransmit::StatusTransmit, 1500);
        QCOMPARE(statuses.last(), status);
        QCOMPARE(statuses.count(status), 1);
    }
};

QTEST_MAIN(TestFaultUpdatePort)
#include "tst_fault_update_port.moc"

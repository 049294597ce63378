// The update port in the way of a firmware transfer: held by another program,
// pulled out mid-transfer, or the file gone. Each ends the update once,
// lets go of the port, and the same update object then sends the whole file to
// lrzsz's rb on a pseudo-terminal, with its progress. A second QSerialPort
// holds the port as any serial program would (exclusive use and a lock
// file). Last, a receiver that leaves right at the end of the
// batch, as rb and a restarting controller do. And mavuctl asked to end by
// SIGTERM mid-transfer: it ends with 143 only once rb has the whole file.
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
            if (fault == "busy")
                QVERIFY(holder.open(QIODevice::ReadWrite));
            update.startUpdate(fault == "missing" ? m_dir.filePath(QStringLiteral("absent.bin")) : m_firmware);
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
        QCOMPARE(events,
            expected << QStringLiteral("a%1/%1").arg(retrySize) << "s1"
                     << "s2");
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
        QTRY_VERIFY_WITH_TIMEOUT((err += mavuctl.readAllStandardError()).contains(" 10% "), 10000);
        mavuctl.terminate(); // SIGTERM
        QVERIFY(mavuctl.waitForFinished(20000));
        err += mavuctl.readAllStandardError();
        // rb has the file, and was done before mavuctl ended.
        QVERIFY2(rb.ended(0) && rb.succeeded(), err.constData());
        QVERIFY(mavuctl.exitStatus() == QProcess::NormalExit && mavuctl.exitCode() == 143);
        QVERIFY2(err.contains("SIGTERM received during the firmware update; ending once the transfer has ended")
                && err.contains("the firmware update is over; ending now") && !err.contains('\r')
                && err.count('%') == 11 && err.contains("100% "),
            err.constData());
        QCOMPARE(mavuctl.readAllStandardOutput(), QByteArray("Firmware term.bin sent.\n"));
    }

    void receiverGoneAfterConfirmingTheFileIsSuccess_data()
    {
        QTest::addColumn<bool>("lastAck");
        for (const bool lastAck : {false, true})
            QTest::newRow(lastAck ? "gone right after its last ACK" : "gone before its last ACK") << lastAck;
    }
    // A loader that acknowledges the EOT, asks for the next file and restarts
    // into the new firmware: its port vanishes, with or without the last ACK.
    void receiverGoneAfterConfirmingTheFileIsSuccess()
    {
        QFETCH(bool, lastAck);
        PtyLink link;
        QVERIFY(link.open());
        YmodemFileTransmit transmit;
        QList<int> statuses;
        connect(&transmit, &YmodemFileTransmit::transmitStatus, this, [&](int s) { statuses << s; });
        const QString path = m_dir.filePath(QStringLiteral("restart.bin"));
        testsupport::writeAll(path, testFirmwareBytes(1100));
        transmit.setFileName(path);
        transmit.setPortName(link.portPath());
        QVERIFY(transmit.startTransmit());
        QSerialPort peer(link.peerPath());
        QVERIFY(peer.open(QIODevice::ReadWrite));
        const QByteArray ack(1, char(0x06));
        // The header, 1024 bytes of data while more than 128 remain, the last
        // 76 in a short block, the EOT and the end-of-batch block.
        const QList<QPair<QByteArray, int>> script{
            {"C", 133}, {ack + 'C', 1029}, {ack, 133}, {ack, 1}, {ack + 'C', 133}};
        for (const auto &step : script) {
            peer.write(step.first);
            QTRY_COMPARE(int(peer.bytesAvailable()), step.second);
            peer.readAll();
        }
        if (lastAck) {
            peer.write(ack);
            peer.waitForBytesWritten(100);
        }
        link.cut();
        // Finished, once, though the line went away.
        QTRY_VERIFY_WITH_TIMEOUT(!statuses.isEmpty() && statuses.last() > YmodemFileTransmit::StatusTransmit, 1500);
        QCOMPARE(statuses.last(), int(YmodemFileTransmit::StatusFinish));
        QCOMPARE(statuses.count(YmodemFileTransmit::StatusFinish), 1);
    }
};

QTEST_MAIN(TestFaultUpdatePort)
#include "tst_fault_update_port.moc"

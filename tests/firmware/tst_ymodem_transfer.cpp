// The serial transport over a pair of pseudo-terminals, the ways a transfer
// ends: a name too long to be sent, a missing file (lrzsz's rb sees the
// cancel), and a scripted receiver that leaves right at the end of the batch,
// as rb and a restarting controller do, taking its last ACK with it or not.
// Whole files to rb, with the progress, and a pulled cable, a busy port and a
// silent line are in tst_fault_update_port.
#include "FirmwareBytes.h"
#include "PtyLink.h"
#include "RbProcess.h"
#include "firmware/YmodemFileTransmit.h"
#include "support/TestSupport.h"

#include <QLoggingCategory>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

using Status = YmodemFileTransmit::Status;

namespace {

bool isFinal(Status s)
{
    return s != YmodemFileTransmit::StatusEstablish && s != YmodemFileTransmit::StatusTransmit;
}

// One transfer: a line, the transport on its port end, and what it reported.
struct Line {
    bool open(const QString &file)
    {
        if (!link.open())
            return false;
        const QString port = link.portPath();
        QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, [this, port](Status s) {
            statuses << s;
            // The port is free again when the final status arrives; the link
            // itself keeps one descriptor on it.
            if (isFinal(s))
                portClosedAtEnd = PtyLink::descriptorsOn(port) == 1;
        });
        transmit.setFileName(file);
        transmit.setPortName(port);
        return true;
    }

    bool waitForFinal(int ms) const
    {
        return QTest::qWaitFor([this] { return !statuses.isEmpty() && isFinal(statuses.last()); }, ms);
    }

    PtyLink link;
    YmodemFileTransmit transmit;
    QList<Status> statuses;
    bool portClosedAtEnd = false;
};

} // namespace

class TestYmodemTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nameTooLongIsRefusedBeforeAnythingIsSent();
    void missingFileCancelsWithError();
    void receiverGoneAfterConfirmingTheFileIsSuccess_data();
    void receiverGoneAfterConfirmingTheFileIsSuccess();

private:
    QTemporaryDir m_dir;
};

void TestYmodemTransfer::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("rb")).isEmpty(), "lrzsz's rb is needed");
    QVERIFY(m_dir.isValid());
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void TestYmodemTransfer::nameTooLongIsRefusedBeforeAnythingIsSent()
{
    // 125 characters of name + NUL + "5" + NUL is 128 bytes: fits. 126 does not.
    QVERIFY(YmodemFileTransmit::headerFits(QByteArray(125, 'n'), 5));
    QVERIFY(!YmodemFileTransmit::headerFits(QByteArray(126, 'n'), 5));
    QVERIFY(!YmodemFileTransmit::headerFits(QByteArray(120, 'n'), 1234567));

    const QString path = m_dir.filePath(QString(126, QLatin1Char('n')));
    testsupport::writeAll(path, "12345");
    Line line;
    QVERIFY(line.open(path));
    QVERIFY(line.transmit.startTransmit());
    QVERIFY(line.waitForFinal(2000));
    QCOMPARE(line.statuses, QList<Status>{YmodemFileTransmit::StatusError});
    QCOMPARE(line.link.forwarded(), 0LL);
}

void TestYmodemTransfer::missingFileCancelsWithError()
{
    Line line;
    QVERIFY(line.open(m_dir.filePath(QStringLiteral("absent.bin"))));
    QVERIFY(line.transmit.startTransmit());
    QVERIFY(!line.transmit.startTransmit()); // one transfer at a time
    RbProcess rb;
    QVERIFY(rb.start(line.link));
    QVERIFY(line.waitForFinal(20000));
    QCOMPARE(line.statuses, QList<Status>{YmodemFileTransmit::StatusError});
    QVERIFY(line.portClosedAtEnd);
    QVERIFY(rb.waitForFinished(20000));
    QVERIFY(!rb.succeeded()); // rb saw the cancel
    QVERIFY(rb.receivedFiles().isEmpty());
}

void TestYmodemTransfer::receiverGoneAfterConfirmingTheFileIsSuccess_data()
{
    QTest::addColumn<bool>("lastAck");
    QTest::newRow("gone before its last ACK") << false;
    QTest::newRow("gone right after its last ACK") << true;
}

void TestYmodemTransfer::receiverGoneAfterConfirmingTheFileIsSuccess()
{
    // A loader that acknowledges the EOT, asks for the next file and restarts
    // into the new firmware: its port vanishes, with or without the last ACK.
    QFETCH(bool, lastAck);
    const QString path = m_dir.filePath(QStringLiteral("restart.bin"));
    testsupport::writeAll(path, testFirmwareBytes(1100));
    Line line;
    QVERIFY(line.open(path));
    QVERIFY(line.transmit.startTransmit());
    QSerialPort peer(line.link.peerPath());
    QVERIFY(peer.open(QIODevice::ReadWrite));
    const auto answer = [&peer](const QByteArray &bytes, int expected) {
        peer.write(bytes);
        QTRY_COMPARE(int(peer.bytesAvailable()), expected);
        peer.readAll();
    };
    const QByteArray ack(1, char(0x06));
    answer("C", 133); // header
    answer(ack + 'C', 1029); // 1024 bytes of data while more than 128 remain
    answer(ack, 133); // the last 76 in a short block
    answer(ack, 1); // EOT
    answer(ack + 'C', 133); // end-of-batch block
    if (lastAck) {
        peer.write(QByteArray(1, char(0x06)));
        peer.waitForBytesWritten(100);
    }
    line.link.cut();
    QVERIFY(line.waitForFinal(1500));
    QCOMPARE(line.statuses.last(), YmodemFileTransmit::StatusFinish);
    QCOMPARE(line.statuses.count(YmodemFileTransmit::StatusFinish), 1);
}

QTEST_MAIN(TestYmodemTransfer)
#include "tst_ymodem_transfer.moc"

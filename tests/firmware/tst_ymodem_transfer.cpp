// The serial transport sending real files to lrzsz's rb over a pair of
// pseudo-terminals, with its progress and the ways a transfer ends; a scripted
// receiver that leaves right at the end of the batch, as rb and a restarting
// controller do, taking its last ACK with it or not.
// A pulled cable, a busy port and a silent line are in tst_fault_update_port.
#include "PtyLink.h"
#include "RbProcess.h"
#include "firmware/YmodemFileTransmit.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

using Status = YmodemFileTransmit::Status;

namespace {

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

// How many of this process's descriptors are open on the terminal.
int descriptorsOn(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        count += fd.symLinkTarget() == target ? 1 : 0;
    return count;
}

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
        QObject::connect(&transmit, &YmodemFileTransmit::transmitProgress, [this](int p) {
            progress << p;
            order << QStringLiteral("p");
        });
        QObject::connect(&transmit, &YmodemFileTransmit::bytesAcknowledged, [this](qint64 done, qint64 total) {
            acknowledged << done;
            totals << total;
        });
        QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, [this, port](Status s) {
            statuses << s;
            order << QString::number(int(s));
            // The port is free again when the final status arrives; the link
            // itself keeps one descriptor on it.
            if (isFinal(s))
                portClosedAtEnd = descriptorsOn(port) == 1;
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
    QList<int> progress;
    QList<qint64> acknowledged;
    QSet<qint64> totals;
    QList<Status> statuses;
    QStringList order; // "p" for progress, status numbers otherwise
    bool portClosedAtEnd = false;
};

} // namespace

class TestYmodemTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesArriveIdenticalAtRb_data();
    void filesArriveIdenticalAtRb();
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

void TestYmodemTransfer::filesArriveIdenticalAtRb_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("order"); // of the reports, where checked
    // Block sizes, types and numbering against scripted receivers are in
    // tst_ymodem_engine; rb takes two seconds a batch, so only a few here.
    QTest::addRow("empty") << 0 << QStringList();
    // One 1024-byte chunk and one of 128.
    QTest::addRow("1152 bytes") << 1152 << QStringList{"0", "p", "1", "p", "1", "1", "2"};
    QRandomGenerator sizes(7);
    for (int i = 0; i < 3; ++i)
        QTest::addRow("random %d", i) << sizes.bounded(1, 40000) << QStringList();
}

void TestYmodemTransfer::filesArriveIdenticalAtRb()
{
    QFETCH(int, size);
    QFETCH(QStringList, order);
    const QByteArray content = randomBytes(size, quint32(size) + 1);
    const QString name = QStringLiteral("fw-%1.bin").arg(size);
    const QString path = m_dir.filePath(name);
    testsupport::writeAll(path, content);

    Line line;
    QVERIFY(line.open(path));
    QVERIFY(line.transmit.startTransmit());
    QVERIFY(line.transmit.isTransmitting());
    QVERIFY(!line.transmit.startTransmit()); // one transfer at a time
    RbProcess rb;
    QVERIFY(rb.start(line.link));
    QVERIFY2(line.waitForFinal(60000), "no final status");
    QVERIFY2(rb.waitForFinished(10000), "rb did not end");
    QVERIFY2(line.statuses.last() == YmodemFileTransmit::StatusFinish, rb.log().constData());
    QCOMPARE(std::count_if(line.statuses.cbegin(), line.statuses.cend(), isFinal), 1);
    QVERIFY2(rb.succeeded(), rb.log().constData());
    QCOMPARE(rb.receivedFiles(), QStringList{name});
    QVERIFY(rb.received(name) == content);
    QVERIFY(line.portClosedAtEnd);

    // One report per chunk: 1024 bytes while more than 128 remain, then 128.
    // Acknowledged counts what the receiver confirmed: 0 first, the size last.
    QList<int> expected;
    QList<qint64> acknowledged{0};
    for (qint64 sent = 0; sent < size;) {
        sent += qMin<qint64>(size - sent > 128 ? 1024 : 128, size - sent);
        expected << int(sent * 100 / size);
        acknowledged << sent;
    }
    QCOMPARE(line.progress, expected);
    QCOMPARE(line.acknowledged, acknowledged);
    QCOMPARE(line.totals, QSet<qint64>{size});
    if (!order.isEmpty())
        QCOMPARE(line.order, order);
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
    RbProcess rb;
    QVERIFY(rb.start(line.link));
    QVERIFY(line.waitForFinal(20000));
    QCOMPARE(line.statuses, QList<Status>{YmodemFileTransmit::StatusError});
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
    testsupport::writeAll(path, randomBytes(300, 5));
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
    answer("C", 133); // header
    answer(QByteArray("\x06"
                      "C"),
        1029); // the one data block
    answer(QByteArray(1, char(0x06)), 1); // EOT
    answer(QByteArray("\x06"
                      "C"),
        133); // end-of-batch block
    if (lastAck) {
        peer.write(QByteArray(1, char(0x06)));
        peer.waitForBytesWritten(100);
    }
    line.link.cut();
    QVERIFY(line.waitForFinal(1500));
    QCOMPARE(line.statuses, (QList<Status>{YmodemFileTransmit::StatusEstablish, YmodemFileTransmit::StatusTransmit,
                                YmodemFileTransmit::StatusTransmit, YmodemFileTransmit::StatusFinish}));
}

QTEST_MAIN(TestYmodemTransfer)
#include "tst_ymodem_transfer.moc"

// The serial transport sending real files to lrzsz's rb over a pair of
// pseudo-terminals: sizes at the block boundaries, a file long enough for block
// numbers to wrap, the order of reports, and the ways a transfer ends.
#include "PtyLink.h"
#include "RbProcess.h"
#include "firmware/YmodemFileTransmit.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
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
    const QFileInfoList fds = QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files);
    for (const QFileInfo &fd : fds) {
        if (fd.symLinkTarget() == target)
            ++count;
    }
    return count;
}

// Everything one transfer reported, in order.
struct Reports {
    QList<int> progress;
    QList<Status> statuses;
    QStringList order; // "p" for progress, status numbers otherwise
    bool portClosedAtEnd = false;
};

bool isFinal(Status s)
{
    return s != YmodemFileTransmit::StatusEstablish && s != YmodemFileTransmit::StatusTransmit;
}

// One transfer: a line, the transport on its port end, and what it reported.
struct Line {
    explicit Line(int bytesPerSecond = 0)
        : link(bytesPerSecond)
    { }

    // Opens the line, points the transport at it and records its reports.
    bool open(const QString &file)
    {
        if (!link.open())
            return false;
        listen();
        transmit.setFileName(file);
        transmit.setPortName(link.portPath());
        transmit.setPortBaudRate(115200);
        return true;
    }

    void listen()
    {
        reports = Reports();
        transmit.disconnect(); // earlier listeners
        const QString port = link.portPath();
        QObject::connect(&transmit, &YmodemFileTransmit::transmitProgress, &transmit, [this](int p) {
            reports.progress << p;
            reports.order << QStringLiteral("p");
        });
        QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, &transmit, [this, port](Status s) {
            reports.statuses << s;
            reports.order << QString::number(int(s));
            // The port must be free again when the final status arrives; the
            // link itself keeps one descriptor on it.
            if (isFinal(s))
                reports.portClosedAtEnd = descriptorsOn(port) == 1;
        });
    }

    bool waitForFinal(int ms) const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            if (!reports.statuses.isEmpty() && isFinal(reports.statuses.last()))
                return true;
            QTest::qWait(10);
        }
        return false;
    }

    PtyLink link;
    YmodemFileTransmit transmit;
    Reports reports;
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
    void silentReceiverTimesOut();
    void receiverCancelAborts();
    void cablePulledEndsPromptlyAndRetryWorks();
    void receiverGoneAfterConfirmingTheFileIsSuccess();

private:
    QTemporaryDir m_dir;
};

void TestYmodemTransfer::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("rb")).isEmpty(), "lrzsz's rb is needed");
    QVERIFY(m_dir.isValid());
}

void TestYmodemTransfer::filesArriveIdenticalAtRb_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("order"); // of the reports, where checked
    for (int size : {0, 1, 128, 129, 1024, 1025})
        QTest::addRow("%d bytes", size) << size << QStringList();
    // One 1024-byte chunk and one of 128.
    QTest::addRow("1152 bytes") << 1152 << QStringList{"0", "p", "1", "p", "1", "1", "2"};
    // More than 256 blocks of 1024 bytes: the block number wraps past 255.
    QTest::addRow("300 KiB") << 300 * 1024 + 77 << QStringList();
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
    RbProcess rb;
    QVERIFY(rb.start(line.link));
    QVERIFY2(line.waitForFinal(60000), "no final status");
    QVERIFY2(rb.waitForFinished(10000), "rb did not end");
    QVERIFY2(line.reports.statuses.last() == YmodemFileTransmit::StatusFinish, rb.log().constData());
    QVERIFY2(rb.succeeded(), rb.log().constData());
    QCOMPARE(rb.receivedFiles(), QStringList{name});
    const QByteArray received = rb.received(name);
    QCOMPARE(received.size(), content.size());
    QVERIFY(received == content);
    QVERIFY(line.reports.portClosedAtEnd);

    // One report per chunk: 1024 bytes while more than 128 remain, then 128.
    QList<int> expected;
    for (qint64 sent = 0; sent < size;) {
        sent += qMin<qint64>(size - sent > 128 ? 1024 : 128, size - sent);
        expected << int(sent * 100 / size);
    }
    QCOMPARE(line.reports.progress, expected);
    QVERIFY(size == 0 || line.reports.progress.last() == 100);
    if (!order.isEmpty())
        QCOMPARE(line.reports.order, order);
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
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^file name does not fit the YMODEM header")));
    QVERIFY(line.transmit.startTransmit());
    QVERIFY(line.waitForFinal(2000));
    QCOMPARE(line.reports.statuses, QList<Status>{YmodemFileTransmit::StatusError});
    QTest::qWait(100);
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
    QCOMPARE(line.reports.statuses, QList<Status>{YmodemFileTransmit::StatusError});
    QVERIFY(rb.waitForFinished(20000));
    QVERIFY(!rb.succeeded()); // rb saw the cancel
    QVERIFY(rb.receivedFiles().isEmpty());
}

void TestYmodemTransfer::silentReceiverTimesOut()
{
    const QString path = m_dir.filePath(QStringLiteral("silent.bin"));
    testsupport::writeAll(path, "x");
    Line line;
    QVERIFY(line.open(path));
    line.transmit.setTimeDivide(9); // 10 steps a period, give up after 30 steps
    line.transmit.setTimeMax(2);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(line.transmit.startTransmit());
    QVERIFY(line.waitForFinal(10000));
    QCOMPARE(line.reports.statuses, QList<Status>{YmodemFileTransmit::StatusTimeout});
    QVERIFY(line.reports.portClosedAtEnd);
    QVERIFY(timer.elapsed() >= 300);
    // The five cancel bytes went out on the line.
    QTRY_COMPARE(line.link.forwarded(), 5LL);
}

void TestYmodemTransfer::receiverCancelAborts()
{
    const QString path = m_dir.filePath(QStringLiteral("cancelled.bin"));
    testsupport::writeAll(path, randomBytes(50000, 9));
    Line line;
    QVERIFY(line.open(path));
    QVERIFY(line.transmit.startTransmit());
    // A receiver that asks for the file and then cancels after the header.
    QSerialPort peer(line.link.peerPath());
    QVERIFY(peer.open(QIODevice::ReadWrite));
    peer.write("C");
    QTRY_VERIFY(peer.bytesAvailable() >= 133);
    peer.write(QByteArray(2, char(0x18)));
    QVERIFY(line.waitForFinal(5000));
    QCOMPARE(line.reports.statuses.last(), YmodemFileTransmit::StatusAbort);
    QVERIFY(line.reports.portClosedAtEnd);
}

void TestYmodemTransfer::cablePulledEndsPromptlyAndRetryWorks()
{
    const QByteArray content = randomBytes(200 * 1024, 11);
    const QString path = m_dir.filePath(QStringLiteral("pulled.bin"));
    testsupport::writeAll(path, content);

    Line line(11520); // a 115200-baud line: 200 KiB take ~18 s
    QVERIFY(line.open(path));
    QVERIFY(line.transmit.startTransmit());
    {
        RbProcess rb;
        QVERIFY(rb.start(line.link));
        QTRY_VERIFY_WITH_TIMEOUT(!line.reports.progress.isEmpty() && line.reports.progress.last() >= 5, 20000);
        QElapsedTimer timer;
        timer.start();
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial port lost during the transfer")));
        line.link.cut();
        QVERIFY(line.waitForFinal(3000));
        QVERIFY2(timer.elapsed() < 1500, "the lost port was not noticed promptly");
        QCOMPARE(line.reports.statuses.last(), YmodemFileTransmit::StatusError);
        QTest::qWait(300);
        QCOMPARE(std::count_if(line.reports.statuses.cbegin(), line.reports.statuses.cend(), isFinal), 1);
    }

    // Plugged in again: the same object sends the whole file from the start.
    PtyLink replugged;
    QVERIFY(replugged.open());
    line.listen();
    line.transmit.setPortName(replugged.portPath());
    QVERIFY(line.transmit.startTransmit());
    RbProcess rb;
    QVERIFY(rb.start(replugged));
    QVERIFY(line.waitForFinal(60000));
    QVERIFY(rb.waitForFinished(10000));
    QCOMPARE(line.reports.statuses.last(), YmodemFileTransmit::StatusFinish);
    QVERIFY(rb.received(QStringLiteral("pulled.bin")) == content);
}

void TestYmodemTransfer::receiverGoneAfterConfirmingTheFileIsSuccess()
{
    // A loader that acknowledges the EOT, asks for the next file and restarts
    // into the new firmware before its last ACK gets out: its port vanishes.
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
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial port lost during the transfer")));
    line.link.cut();
    QVERIFY(line.waitForFinal(1500));
    QCOMPARE(line.reports.statuses.last(), YmodemFileTransmit::StatusFinish);
}

QTEST_MAIN(TestYmodemTransfer)
#include "tst_ymodem_transfer.moc"

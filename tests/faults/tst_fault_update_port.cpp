// The update port in the way of a firmware transfer: held by another program,
// silent, or pulled out mid-transfer. Each ends the update once, lets go of
// the port, and the same update object then sends the whole file to lrzsz's
// rb on a pseudo-terminal, with its progress. Another copy of this program holds the port as any
// serial program would (QSerialPort: exclusive use and a lock file).
#include "FaultReport.h"
#include "FirmwareBytes.h"
#include "PtyLink.h"
#include "RbProcess.h"

#include "firmware/FirmwareUpdate.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLoggingCategory>
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

// Starts the other program on the port; true once it holds it.
bool hold(QProcess &holder, const QString &port)
{
    holder.start(QCoreApplication::applicationFilePath(), {QLatin1String(kHoldOption), port});
    QByteArray out;
    const bool held = QTest::qWaitFor(
        [&] {
            holder.waitForReadyRead(50);
            out += holder.readAllStandardOutput();
            return out.contains("held\n") || holder.state() == QProcess::NotRunning;
        },
        10000);
    return held && out.contains("held\n");
}

void release(QProcess &holder)
{
    holder.closeWriteChannel();
    if (holder.state() != QProcess::NotRunning && !holder.waitForFinished(5000)) {
        holder.kill();
        holder.waitForFinished(5000);
    }
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

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        m_firmware = m_dir.filePath(QStringLiteral("fault.bin")); // long enough to be cut mid-file
        testsupport::writeAll(m_firmware, testFirmwareBytes(20000));
    }

    void cleanupTestCase() { faults::reportFaults(QStringLiteral("update-port"), m_injected, m_survived); }

    void faultEndsOnceThenRetryWorks_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("retrySize"); // of the file the retry sends
        QTest::newRow("held by another program") << "busy" << 1152; // a block of 1024 and one of 128
        QTest::newRow("nobody answers") << "silent" << 0;
        QTest::newRow("cable pulled mid-transfer") << "pulled" << 30077;
    }

    void faultEndsOnceThenRetryWorks()
    {
        QFETCH(QString, fault);
        QFETCH(int, retrySize);
        FirmwareUpdate update;
        QSignalSpy status(&update, &FirmwareUpdate::transStatus);
        QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
        // At the line's real rate, so that the cut lands mid-file.
        auto link = std::make_unique<PtyLink>(fault == "pulled" ? 11520 : 0);
        QVERIFY(link->open());
        const QString port = link->portPath();
        const int own = PtyLink::descriptorsOn(port); // the link's own end
        update.setPortOverride(port);
        QProcess holder;
        auto stopHolder = qScopeGuard([&] { release(holder); });
        ++m_injected;
        {
            testsupport::MessageBoxCloser closer;
            RbProcess rb;
            if (fault == "busy")
                QVERIFY(hold(holder, port));
            if (fault == "silent") {
                update.transmitter()->setTimeDivide(4);
                update.transmitter()->setTimeMax(1);
            }
            update.startUpdate(m_firmware);
            if (fault == "pulled") {
                QVERIFY(rb.start(*link));
                QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 3, 20000);
                QVERIFY(status.isEmpty());
                link->cut();
                QCOMPARE(PtyLink::descriptorsOn(port), 1); // the sender has not noticed yet
            }
            // Noticed promptly, reported once and never as success.
            QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, fault == "silent" ? 10000 : 1500);
            QCOMPARE(status.first().first().toBool(), false);
            QTest::qWait(300);
            QCOMPARE(status.count(), 1);
            QCOMPARE(PtyLink::descriptorsOn(port), fault == "pulled" ? 0 : own);
            if (fault == "busy") {
                QCOMPARE(closer.texts().size(), 1);
                const QString text = closer.texts().first();
                QVERIFY2(text.startsWith(QStringLiteral("Failed to open the serial port!")), qPrintable(text));
                QVERIFY2(!text.contains(QStringLiteral("dialout")), qPrintable(text)); // busy, not forbidden
                QCOMPARE(progress.count(), 0);
                QCOMPARE(holder.state(), QProcess::Running); // its hold was not broken
            } else {
                QCOMPARE(closer.texts(), QStringList());
            }
        }
        // Let go: another program may take the port.
        release(holder);
        if (fault == "pulled") {
            link = std::make_unique<PtyLink>(); // plugged in again
            QVERIFY(link->open());
            update.setPortOverride(link->portPath());
        } else {
            QVERIFY(hold(holder, port));
            release(holder);
        }
        update.transmitter()->setTimeDivide(499);
        update.transmitter()->setTimeMax(5);

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
        testsupport::MessageBoxCloser closer;
        update.startUpdate(file);
        RbProcess rb;
        QVERIFY(rb.start(*link));
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 30000);
        QCOMPARE(closer.texts(), QStringList{QStringLiteral("Failed to open the serial port!")});
        QCOMPARE(status.last().first().toBool(), true);
        QVERIFY(rb.waitForFinished(10000));
        QVERIFY2(rb.succeeded(), rb.log().constData());
        QCOMPARE(rb.received(QStringLiteral("mavu-9.9.9.bin")), testsupport::readAll(file));
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

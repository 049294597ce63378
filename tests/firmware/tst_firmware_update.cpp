// The update sequence: which port it picks, what it tells the user when it
// cannot start, and the one success flag it gives for a transfer to lrzsz's rb.
// A cable pulled halfway is covered end to end in tst_firmware_e2e.
#include "PtyLink.h"
#include "RbProcess.h"
#include "ScriptedPrompt.h"
#include "app/RecoveryOffer.h"
#include "firmware/MyFtp.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using FakeFinder = FixedSerialPortFinder;

SerialPortEntry port(const QString &name, quint16 vid, quint16 pid, bool ids = true)
{
    SerialPortEntry entry;
    entry.portName = name;
    entry.hasIdentifiers = ids;
    entry.vendorIdentifier = vid;
    entry.productIdentifier = pid;
    return entry;
}

const QString kNotFound = QStringLiteral("The serial port name of the device was not found");
const QString kCannotOpen = QStringLiteral("Failed to open the serial port!");

} // namespace

class TestFirmwareUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsFirstPortWithControllerIdentity();
    void overrideNamesThePort();
    void noPortShowsInformationAndReportsFailure();
    void portThatCannotOpenShowsWarningAndReportsFailure();
    void updateReachesRbAndReportsSuccessOnce();
    void silentControllerFails();
    void recoveryIsOfferedOnceTheLoaderStays();

private:
    QString firmware(const QString &name, int size);
    QTemporaryDir m_dir;
};

void TestFirmwareUpdate::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestFirmwareUpdate::firmware(const QString &name, int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + size);
    const QString path = m_dir.filePath(name);
    testsupport::writeAll(path, bytes);
    return path;
}

void TestFirmwareUpdate::findsFirstPortWithControllerIdentity()
{
    const FakeFinder finder({port("ttyS0", 0, 0, false), port("ttyUSB0", 0x1C75, 0x9999),
        port("ttyACM0", 0x0416, 0x0204), port("ttyACM1", 0x1C75, 0x0204), port("ttyACM2", 0x1C75, 0x0204)});
    QCOMPARE(updateport::locate(finder, QString()), QStringLiteral("ttyACM1"));
    QCOMPARE(updateport::locate(FakeFinder({port("ttyUSB0", 0x1C75, 0x9999)}), QString()), QString());
    QCOMPARE(updateport::locate(FakeFinder({}), QString()), QString());
}

void TestFirmwareUpdate::overrideNamesThePort()
{
    const FakeFinder finder({port("ttyACM1", 0x1C75, 0x0204)});
    const QString existing = firmware(QStringLiteral("fake-tty"), 0);
    QCOMPARE(updateport::locate(finder, existing), existing);
    // A named port that is not there (yet) is not replaced by a USB match.
    QCOMPARE(updateport::locate(finder, m_dir.filePath(QStringLiteral("absent"))), QString());
}

void TestFirmwareUpdate::noPortShowsInformationAndReportsFailure()
{
    FirmwareUpdate update;
    update.setPortFinder(std::make_unique<FakeFinder>(QList<SerialPortEntry>{port("ttyUSB0", 0x1C75, 0x9999)}));
    QSignalSpy status(&update, &FirmwareUpdate::transStatus);
    QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
    testsupport::MessageBoxCloser closer;
    update.startUpdate(firmware(QStringLiteral("a.bin"), 10));
    QTRY_COMPARE(closer.texts(), QStringList{kNotFound});

    update.setPortOverride(m_dir.filePath(QStringLiteral("no-such-tty")));
    update.startUpdate(firmware(QStringLiteral("a.bin"), 10));
    QTRY_COMPARE(closer.texts(), (QStringList{kNotFound, kNotFound}));
    QTest::qWait(200);
    // Each failed start ends the update once, so the dialog stops waiting.
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).first().toBool(), false);
    QCOMPARE(status.at(1).first().toBool(), false);
    QCOMPARE(progress.count(), 0);
}

void TestFirmwareUpdate::portThatCannotOpenShowsWarningAndReportsFailure()
{
    FirmwareUpdate update;
    // Listed with the controller's identity, but gone by the time it is opened.
    update.setPortFinder(
        std::make_unique<FakeFinder>(QList<SerialPortEntry>{port("mavu-vanished-tty", 0x1C75, 0x0204)}));
    QSignalSpy status(&update, &FirmwareUpdate::transStatus);
    testsupport::MessageBoxCloser closer;
    update.startUpdate(firmware(QStringLiteral("a.bin"), 10));
    QTRY_COMPARE(closer.texts(), QStringList{kCannotOpen});
    QTest::qWait(200);
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first().first().toBool(), false);
}

void TestFirmwareUpdate::updateReachesRbAndReportsSuccessOnce()
{
    const QString path = firmware(QStringLiteral("mavu-1.0.3.bin"), 5000);
    PtyLink link;
    QVERIFY(link.open());
    FirmwareUpdate update;
    update.setPortFinder(std::make_unique<FakeFinder>(QList<SerialPortEntry>{}));
    update.setPortOverride(link.portPath());
    QSignalSpy status(&update, &FirmwareUpdate::transStatus);
    QSignalSpy progress(&update, &FirmwareUpdate::transmitProgress);
    QSignalSpy acknowledged(update.transmitter(), &YmodemFileTransmit::bytesAcknowledged);
    RbProcess rb;
    QVERIFY(rb.start(link));
    update.startUpdate(path);
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 10000);
    {
        // A second start while the first runs is refused and must not end it.
        testsupport::MessageBoxCloser closer;
        update.startUpdate(path);
        QTRY_COMPARE(closer.texts(), QStringList{kCannotOpen});
    }
    QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 30000);
    QCOMPARE(status.first().first().toBool(), true);
    QList<int> values;
    for (const QList<QVariant> &args : qAsConst(progress))
        values << args.first().toInt();
    QCOMPARE(values, (QList<int>{20, 40, 61, 81, 100}));
    // Sent is not arrived: the estimate counts what the receiver acknowledged.
    QList<qint64> done;
    for (const QList<QVariant> &args : qAsConst(acknowledged)) {
        done << args.at(0).toLongLong();
        QCOMPARE(args.at(1).toLongLong(), 5000);
    }
    QCOMPARE(done, (QList<qint64>{0, 1024, 2048, 3072, 4096, 5000}));
    QVERIFY(rb.waitForFinished(10000));
    QCOMPARE(rb.received(QStringLiteral("mavu-1.0.3.bin")), testsupport::readAll(path));
    QTest::qWait(200);
    QCOMPARE(status.count(), 1);
}

void TestFirmwareUpdate::silentControllerFails()
{
    PtyLink link;
    QVERIFY(link.open());
    FirmwareUpdate update;
    update.setPortOverride(link.portPath());
    update.transmitter()->setTimeDivide(4);
    update.transmitter()->setTimeMax(1);
    QSignalSpy status(&update, &FirmwareUpdate::transStatus);
    update.startUpdate(firmware(QStringLiteral("quiet.bin"), 10));
    QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 5000);
    QCOMPARE(status.first().first().toBool(), false);
}

void TestFirmwareUpdate::recoveryIsOfferedOnceTheLoaderStays()
{
    FirmwareUpdate update;
    const QString port = m_dir.filePath(QStringLiteral("loader-tty"));
    update.setPortOverride(port);
    MyFtp ftp;
    ftp.setDownloadFolder(m_dir.filePath(QStringLiteral("no-downloads")));
    bool midi = true;
    ScriptedPrompt prompt;
    RecoveryOffer offer(update, ftp, [&] { return midi; });
    offer.setPrompt(&prompt);

    struct Look {
        bool midi;
        bool port;
        int asked;
    };
    const QList<Look> looks = {
        {true, true, 0}, // a normal controller beside a loader port: nothing to mend
        {true, true, 0}, {false, false, 0}, // unplugged
        {false, true, 0}, // the loader, once: maybe a restart passing through
        {false, true, 1}, // still there: asked
        {false, true, 1}, // not asked again while it stays
        {false, false, 1}, {false, true, 1}, {false, true, 2}, // back again: asked again
    };
    for (const Look &look : looks) {
        midi = look.midi;
        if (look.port)
            testsupport::writeAll(port, "");
        else
            QFile::remove(port);
        offer.look();
        QCOMPARE(prompt.asked().size(), look.asked);
    }
    QCOMPARE(prompt.asked().last().split(QLatin1Char('\n')).last(),
        QStringLiteral("Choose a firmware file...|Look for firmware online"));
}

QTEST_MAIN(TestFirmwareUpdate)
#include "tst_firmware_update.moc"

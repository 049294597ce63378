// The firmware server failing in the middle of a download (pyftpdlib with a
// fault on its data connection): the cut-off file must not be kept or handed
// on for flashing, the failure must be reported once, and a retry must work.
#include "support/FaultReport.h"
#include "support/FirmwareBytes.h"
#include "support/firmware/LocalFtpServer.h"

#include "firmware/MyFtp.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kFirmwareSize = 300000;
constexpr int kFaultAfter = 100000;
const QString kName = QStringLiteral("mavu-2.0.0.bin");

// A server with the firmware and a description without size or checksum, so
// only the transfer itself can tell a cut-off file.
bool startServer(LocalFtpServer &server, const QByteArray &fault)
{
    qputenv("MAVU_FTP_FAULT", fault);
    QString error;
    const bool started = server.start(&error);
    qunsetenv("MAVU_FTP_FAULT");
    if (!started) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    server.put(QStringLiteral("describe1.json"),
        QStringLiteral("{\"name\": \"%1\", \"ver\": \"2.0.0\", \"info\": []}").arg(kName).toUtf8());
    server.put(kName, testFirmwareBytes(kFirmwareSize));
    return true;
}

} // namespace

class TestFaultFtpDrop : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_injected = 0;
    int m_survived = 0;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanupTestCase() { faults::reportFaults(QStringLiteral("ftp-drop-mid-download"), m_injected, m_survived); }

    void downloadCutOffThenRetried_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::newRow("data connection aborted") << QByteArray("abort");
        QTest::newRow("data cut, reported complete") << QByteArray("truncate");
        QTest::newRow("server killed") << QByteArray("kill");
    }
    void downloadCutOffThenRetried()
    {
        QFETCH(QByteArray, mode);
        const QString folder = m_dir.filePath(QString::fromLatin1(mode));
        MyFtp ftp;
        ftp.setDeviceConnected(true); // a controller is there
        ftp.setDownloadFolder(folder);
        ftp.setRequestTimeout(5000);
        ftp.setCurrentVersion(QStringLiteral("1.0.0"));
        QSignalSpy info(&ftp, &MyFtp::info);
        QSignalSpy failed(&ftp, &MyFtp::failed);
        QSignalSpy stored(&ftp, &MyFtp::downloadComplete);

        {
            LocalFtpServer faulty(LocalFtpServer::kLogin, QStringLiteral(MAVU_FAULTY_FTP_SERVER_SCRIPT));
            QVERIFY(startServer(faulty, mode + ':' + QByteArray::number(kFaultAfter)));
            QVERIFY(ftp.setServer(faulty.address()));
            ftp.checkOnLineFirmware();
            QTRY_COMPARE_WITH_TIMEOUT(info.size(), 1, 10000);
            QCOMPARE(info.first().first().toString(), kName);

            ++m_injected;
            ftp.downloadFir();
            QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty() || !stored.isEmpty(), 15000);
            QTest::qWait(300);
            QVERIFY2(stored.isEmpty(), qPrintable(stored.value(0).value(0).toString()));
            QCOMPARE(failed.size(), 1);
            QVERIFY(!ftp.isBusy());
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
        }

        // The server well again: the same object downloads the whole file.
        LocalFtpServer good;
        QVERIFY(startServer(good, QByteArray()));
        QVERIFY(ftp.setServer(good.address()));
        ftp.downloadFir();
        QTRY_VERIFY_WITH_TIMEOUT(failed.size() > 1 || !stored.isEmpty(), 15000);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().first().toString(), QDir(folder).absoluteFilePath(kName));
        QVERIFY(testsupport::readAll(stored.first().first().toString()) == testFirmwareBytes(kFirmwareSize));
        ++m_survived;
    }
};

QTEST_GUILESS_MAIN(TestFaultFtpDrop)
#include "tst_fault_ftp_drop.moc"

// The pure pieces of the firmware road: version order, server addresses,
// transfer estimates and the names and number of settings backups.
#include "firmware/FirmwareServer.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/MyFtp.h"
#include "firmware/TransferEstimate.h"
#include "model/DataManagement.h"
#include "model/SettingsBackup.h"

#include <QPolygon>
#include <QTemporaryDir>

#include <QtTest>

class TestFirmwareText : public QObject
{
    Q_OBJECT

private slots:
    void versionsCompareNumerically_data();
    void versionsCompareNumerically();
    void serverAddresses_data();
    void serverAddresses();
    void folderUrls_data();
    void folderUrls();
    void plainFileNames();
    void transferEstimates_data();
    void transferEstimates();
    void backupNames_data();
    void backupNames();
    void backupsKeepTheNewest();
};

void TestFirmwareText::versionsCompareNumerically_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<bool>("valid");
    QTest::newRow("10 after 9") << "1.0.9"
                                << "1.0.10" << true << true;
    QTest::newRow("9 before 10") << "1.0.10"
                                 << "1.0.9" << false << true;
    QTest::newRow("equal") << "1.0.2"
                           << "1.0.2" << false << true;
    QTest::newRow("missing part is 0") << "1.2"
                                       << "1.2.0" << false << true;
    QTest::newRow("extra part counts") << "1.2"
                                       << "1.2.1" << true << true;
    QTest::newRow("later part after earlier bigger") << "2.0.0"
                                                     << "1.9.9" << false << true;
    QTest::newRow("update mode 0") << "0"
                                   << "0.0.1" << true << true;
    QTest::newRow("leading zeros") << "1.02"
                                   << "1.2" << false << true;
    QTest::newRow("long numbers") << "1.99999999999999999999"
                                  << "1.100000000000000000000" << true << true;
    QTest::newRow("empty part is 0") << "1..1"
                                     << "1.0.1" << false << true;
    QTest::newRow("letters") << "1.0.2"
                             << "1.0.3b" << false << false;
    QTest::newRow("empty") << ""
                           << "1.0.0" << false << false;
    QTest::newRow("negative") << "1.0.0"
                              << "1.-1" << false << false;
}

void TestFirmwareText::versionsCompareNumerically()
{
    QFETCH(QString, current);
    QFETCH(QString, offered);
    QFETCH(bool, newer);
    QFETCH(bool, valid);
    bool ok = !valid;
    QCOMPARE(firmwareversion::isNewer(current, offered, &ok), newer);
    QCOMPARE(ok, valid);
}

void TestFirmwareText::serverAddresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("empty is the default") << "" << true << QString::fromLatin1(firmwareserver::kDefaultHost) << -1;
    QTest::newRow("host") << "ftp.example.org" << true << "ftp.example.org" << -1;
    QTest::newRow("host:port") << "127.0.0.1:2121" << true << "127.0.0.1" << 2121;
    QTest::newRow("ipv6") << "[::1]:2121" << true << "::1" << 2121;
    QTest::newRow("url") << "ftp://127.0.0.1:21/" << true << "127.0.0.1" << 21;
    QTest::newRow("bad port") << "host:port" << false << "" << 0;
    QTest::newRow("other scheme") << "gopher://host/" << false << "" << 0;
    QTest::newRow("file with host") << "file://host/srv/fw/" << false << "" << 0;
    QTest::newRow("http without host") << "http:///fw/" << false << "" << 0;
}

void TestFirmwareText::serverAddresses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, host);
    QFETCH(int, port);
    MyFtp ftp;
    ftp.setServer(QStringLiteral("127.0.0.9:9"));
    QString error;
    QCOMPARE(ftp.setServer(text, &error), valid);
    if (valid) {
        QCOMPARE(ftp.server().host, host);
        QCOMPARE(ftp.server().port, port);
    } else {
        QVERIFY(error.contains(text));
        QCOMPARE(ftp.server().host, QStringLiteral("127.0.0.9")); // unchanged
    }
    // Whatever the server, the paths and the login are fixed.
    const QUrl url = firmwareserver::descriptionUrl(ftp.server());
    QCOMPARE(url.path(), QStringLiteral("/firmware/korvel/zt18/describe1.json"));
    QCOMPARE(url.userName(), QStringLiteral("qwelkrnvotx"));
    QCOMPARE(url.password(), QStringLiteral("qwelkrnvotx"));
}

void TestFirmwareText::folderUrls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("firmware");
    QTest::newRow("http") << "http://127.0.0.1:8080/fw"
                          << "http://127.0.0.1:8080/fw/describe1.json"
                          << "http://127.0.0.1:8080/fw/mavu%201.bin";
    QTest::newRow("https") << "https://example.org/a/b/"
                           << "https://example.org/a/b/describe1.json"
                           << "https://example.org/a/b/mavu%201.bin";
    QTest::newRow("ftp folder") << "ftp://host/other/"
                                << "ftp://host/other/describe1.json"
                                << "ftp://host/other/mavu%201.bin";
    QTest::newRow("ftp login") << "ftp://u:p@host"
                               << "ftp://u:p@host/describe1.json"
                               << "ftp://u:p@host/mavu%201.bin";
    QTest::newRow("file") << "file:///usr/share/demo"
                          << "file:///usr/share/demo/describe1.json"
                          << "file:///usr/share/demo/mavu%201.bin";
}

void TestFirmwareText::folderUrls()
{
    // A URL that names a folder serves describe1.json and the files beside it,
    // without the maker's paths and login.
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(QString, firmware);
    MyFtp ftp;
    QString error;
    QVERIFY2(ftp.setServer(text, &error), qPrintable(error));
    QCOMPARE(firmwareserver::descriptionUrl(ftp.server()).toString(), description);
    QCOMPARE(
        firmwareserver::firmwareUrl(ftp.server(), QStringLiteral("mavu 1.bin")).toString(QUrl::FullyEncoded), firmware);
}

void TestFirmwareText::plainFileNames()
{
    using firmwareserver::isPlainFileName;
    QVERIFY(isPlainFileName(QStringLiteral("mavu-1.0.3.bin")));
    QVERIFY(isPlainFileName(QStringLiteral("..mavu")));
    QVERIFY(isPlainFileName(QStringLiteral("固件 1.bin")));
    for (const char *bad : {"", ".", "..", "a/b", "/abs", "a\\b", "../x"})
        QVERIFY2(!isPlainFileName(QString::fromUtf8(bad)), bad);
    QVERIFY(!isPlainFileName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
}

void TestFirmwareText::transferEstimates_data()
{
    // (ms, bytes acknowledged) in order, and the file's size.
    QTest::addColumn<QPolygon>("acknowledged");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("first block out") << QPolygon(QVector<QPoint>{{0, 0}}) << 98304 << "0.0 of 96.0 KB";
    QTest::newRow("too soon for a rate") << QPolygon(QVector<QPoint>{{0, 0}, {400, 4608}}) << 98304 << "4.5 of 96.0 KB";
    QTest::newRow("steady") << QPolygon(QVector<QPoint>{{0, 0}, {1000, 10240}, {2000, 20480}}) << 102400
                            << "20.0 of 100.0 KB, 10.0 KB/s, 0:08 left";
    QTest::newRow("slowed down: the last seconds count")
        << QPolygon(QVector<QPoint>{{0, 0}, {1000, 50000}, {7000, 51024}, {12000, 56144}}) << 200000
        << "54.8 of 195.3 KB, 1.0 KB/s, 2:21 left";
    QTest::newRow("all acknowledged") << QPolygon(QVector<QPoint>{{0, 0}, {1000, 10240}}) << 10240
                                      << "10.0 of 10.0 KB, 10.0 KB/s, 0:00 left";
    QTest::newRow("a new transfer starts afresh")
        << QPolygon(QVector<QPoint>{{0, 0}, {1000, 10240}, {2000, 0}}) << 10240 << "0.0 of 10.0 KB";
}

void TestFirmwareText::transferEstimates()
{
    QFETCH(QPolygon, acknowledged);
    QFETCH(int, total);
    QFETCH(QString, text);
    TransferEstimate estimate;
    qint64 now = 0;
    estimate.setClock([&now] { return now; });
    for (const QPoint &sample : acknowledged) {
        now = sample.x();
        estimate.add(sample.y(), total);
    }
    QCOMPARE(estimate.text(), text);
}

void TestFirmwareText::backupNames_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("name");
    QTest::newRow("serial") << "MAVU-SIM-0001"
                            << "2026-03-04_050607_MAVU-SIM-0001.stm";
    QTest::newRow("unknown") << ""
                             << "2026-03-04_050607_unknown-serial.stm";
    QTest::newRow("no folders from a serial") << "../a/b c"
                                              << "2026-03-04_050607_unknown-serial.stm";
    QTest::newRow("odd characters") << "KM:V 7/\\1"
                                    << "2026-03-04_050607_KM_V_7__1.stm";
}

void TestFirmwareText::backupNames()
{
    QFETCH(QString, serial);
    QFETCH(QString, name);
    QCOMPARE(settingsbackup::fileName(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), serial), name);
}

void TestFirmwareText::backupsKeepTheNewest()
{
    QTemporaryDir dir;
    DataManagement settings;
    settings.initDefaultData();
    const QDateTime start(QDate(2026, 1, 1), QTime(10, 0));
    QString path;
    QString error;
    for (int i = 0; i < settingsbackup::kMaxKept + 2; ++i)
        QVERIFY2(settingsbackup::store(dir.path(), settings.imageBytes(), QStringLiteral("S"),
                     start.addSecs(i * 3600 * 24 * 40), &path, &error),
            qPrintable(error));
    const QStringList kept = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), settingsbackup::kMaxKept);
    QCOMPARE(kept.first(), settingsbackup::fileName(start.addSecs(2 * 3600 * 24 * 40), QStringLiteral("S")));
    QCOMPARE(QFileInfo(path).fileName(), kept.last());
}

QTEST_GUILESS_MAIN(TestFirmwareText)
#include "tst_firmware_text.moc"

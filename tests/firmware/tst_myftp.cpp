// The online firmware check and download against a local FTP server
// (pyftpdlib): what is offered, what is refused, what is stored, and how every
// failure reaches the user without leaving anything behind.
#include "LocalFtpServer.h"
#include "firmware/FirmwareServer.h"
#include "firmware/MyFtp.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray description(
    const QString &name, const QString &ver, const QStringList &info = {}, const QString &extra = QString())
{
    QStringList quoted;
    for (const QString &line : info)
        quoted << QStringLiteral("\"%1\"").arg(line);
    return QStringLiteral("{\"name\": \"%1\", \"ver\": \"%2\", \"info\": [%3]%4}")
        .arg(name, ver, quoted.join(QStringLiteral(", ")), extra)
        .toUtf8();
}

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// What one request ended with.
struct Outcome {
    QList<QVariantList> info;
    QStringList failures;
    QStringList downloads;
    int showDialog = 0;
};

void connectOutcome(MyFtp *ftp, Outcome *outcome)
{
    QObject::connect(
        ftp, &MyFtp::info, ftp, [outcome](const QString &name, const QString &ver, const QStringList &notes) {
            outcome->info << QVariantList{name, ver, notes};
        });
    QObject::connect(ftp, &MyFtp::failed, ftp, [outcome](const QString &reason) { outcome->failures << reason; });
    QObject::connect(
        ftp, &MyFtp::downloadComplete, ftp, [outcome](const QString &path) { outcome->downloads << path; });
    QObject::connect(ftp, &MyFtp::showDialog, ftp, [outcome] { ++outcome->showDialog; });
}

// A check client for one server and one present version, recording outcomes.
struct Client {
    Client(const QString &server, const QString &current)
    {
        QVERIFY(ftp.setServer(server));
        ftp.setCurrentVersion(current);
        connectOutcome(&ftp, &outcome);
    }
    MyFtp ftp;
    Outcome outcome;
};

} // namespace

class TestMyFtp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void offersOnlyNewerFirmware_data();
    void offersOnlyNewerFirmware();
    void missingKeys();
    void malformedDescriptionsFail_data();
    void malformedDescriptionsFail();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void serverFailuresAreReported();
    void silentServerTimesOut();

    void downloadStoresFileInMissingFolder();
    void downloadIsVerified_data();
    void downloadIsVerified();
    void failedDownloadLeavesNothingAndRetryWorks();
    void failedDownloadKeepsEarlierCopy();

    void dialogChecksBeforeAsking();

private:
    bool waitForEnd(const Outcome &outcome, int ms = 15000);
    bool check(MyFtp *ftp, Outcome *outcome);
    bool download(MyFtp *ftp, Outcome *outcome);
    QStringList downloadFolderEntries(const MyFtp &ftp) const;

    QTemporaryDir m_home;
    std::unique_ptr<LocalFtpServer> m_server;
};

void TestMyFtp::initTestCase()
{
    QVERIFY(m_home.isValid());
    // Downloads go below the data folder; keep them in this test's own.
    qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
}

void TestMyFtp::init()
{
    QDir(m_home.filePath(QStringLiteral("data"))).removeRecursively();
    m_server = std::make_unique<LocalFtpServer>();
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

void TestMyFtp::cleanup()
{
    m_server.reset();
}

bool TestMyFtp::waitForEnd(const Outcome &outcome, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (!outcome.info.isEmpty() || !outcome.failures.isEmpty() || !outcome.downloads.isEmpty()) {
            QTest::qWait(50); // nothing else may follow
            return true;
        }
        QTest::qWait(10);
    }
    return false;
}

bool TestMyFtp::check(MyFtp *ftp, Outcome *outcome)
{
    *outcome = Outcome();
    ftp->fetchDescription();
    return waitForEnd(*outcome);
}

bool TestMyFtp::download(MyFtp *ftp, Outcome *outcome)
{
    *outcome = Outcome();
    ftp->fetchFirmware();
    return waitForEnd(*outcome);
}

QStringList TestMyFtp::downloadFolderEntries(const MyFtp &ftp) const
{
    return QDir(ftp.downloadFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

void TestMyFtp::offersOnlyNewerFirmware_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("offered");
    QTest::newRow("newer") << "1.0.9"
                           << "1.0.10" << true;
    QTest::newRow("older") << "1.0.10"
                           << "1.0.9" << false;
    QTest::newRow("equal") << "1.0.2"
                           << "1.0.2" << false;
    QTest::newRow("update mode") << "0"
                                 << "1.0.0" << true;
}

void TestMyFtp::offersOnlyNewerFirmware()
{
    QFETCH(QString, current);
    QFETCH(QString, server);
    QFETCH(bool, offered);
    m_server->put(QStringLiteral("describe1.json"),
        description(QStringLiteral("mavu.bin"), server, {QStringLiteral("Faster pads"), QStringLiteral("修复")}));
    Client client(m_server->address(), current);
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.failures, QStringList());
    QCOMPARE(outcome.info.size(), 1);
    if (offered) {
        QCOMPARE(outcome.info.first(),
            (QVariantList{"mavu.bin", server, QStringList{QStringLiteral("Faster pads"), QStringLiteral("修复")}}));
    } else {
        QCOMPARE(outcome.info.first(), (QVariantList{"null", QString(), QStringList()}));
    }
}

void TestMyFtp::missingKeys()
{
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;

    // No notes: offered with an empty list.
    m_server->put(QStringLiteral("describe1.json"), R"({"name": "a.bin", "ver": "1.0.1"})");
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.info.value(0), (QVariantList{"a.bin", "1.0.1", QStringList()}));

    // Notes that are not strings become empty lines; unknown keys are ignored.
    m_server->put(QStringLiteral("describe1.json"), R"({"name": "a.bin", "ver": "1.0.1", "info": ["x", 3], "k": 1})");
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.info.value(0), (QVariantList{"a.bin", "1.0.1", QStringList{"x", ""}}));

    // No name: nothing to download, so nothing is offered.
    m_server->put(QStringLiteral("describe1.json"), R"({"ver": "1.0.1"})");
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(!download(&ftp, &outcome) || outcome.downloads.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);

    // No version: the description says nothing to compare; it is refused
    // rather than compared against an earlier description's version.
    m_server->put(QStringLiteral("describe1.json"), R"({"name": "b.bin"})");
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(outcome.failures.first().contains(QStringLiteral("version")));
}

void TestMyFtp::malformedDescriptionsFail_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("notObject");
    QTest::newRow("array") << QByteArray("[1, 2]") << true;
    QTest::newRow("not json") << QByteArray("name=mavu.bin") << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("version not a string") << QByteArray(R"({"name": "a.bin", "ver": 2})") << false;
    QTest::newRow("version not numeric") << QByteArray(R"({"name": "a.bin", "ver": "next"})") << false;
    QTest::newRow("negative size") << description("a.bin", "9.0.0", {}, ", \"size\": -1") << false;
    QTest::newRow("fractional size") << description("a.bin", "9.0.0", {}, ", \"size\": 1.5") << false;
    QTest::newRow("size as text") << description("a.bin", "9.0.0", {}, ", \"size\": \"10\"") << false;
    QTest::newRow("short sha256") << description("a.bin", "9.0.0", {}, ", \"sha256\": \"abcd\"") << false;
    QTest::newRow("sha256 not hex") << description(
        "a.bin", "9.0.0", {}, QStringLiteral(", \"sha256\": \"%1\"").arg(QString(64, 'x')))
                                    << false;
}

void TestMyFtp::malformedDescriptionsFail()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, notObject);
    m_server->put(QStringLiteral("describe1.json"), json);
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    if (notObject)
        QTest::ignoreMessage(QtDebugMsg, "document is not object");
    QVERIFY(check(&ftp, &outcome));
    // A broken description is a failure, never "up to date".
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(!outcome.failures.first().isEmpty());
}

void TestMyFtp::unsafeNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << "../evil.bin";
    QTest::newRow("sub folder") << "sub/fw.bin";
    QTest::newRow("backslash") << "..\\\\evil.bin";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("empty") << "";
    QTest::newRow("absolute") << "/etc/passwd";
}

void TestMyFtp::unsafeNamesAreRefused()
{
    QFETCH(QString, name);
    m_server->put(QStringLiteral("describe1.json"), description(name, QStringLiteral("9.0.0")));
    m_server->put(QStringLiteral("evil.bin"), "evil");
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^firmware name is not a plain file name")));
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);

    // Nothing is downloaded even when asked to.
    QVERIFY(download(&ftp, &outcome));
    QVERIFY(outcome.downloads.isEmpty());
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(!QFileInfo::exists(m_home.filePath(QStringLiteral("data"))));
}

void TestMyFtp::serverFailuresAreReported()
{
    // No description on the server.
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures, QStringList{MyFtp::tr("The firmware server has no firmware description.")});

    // Wrong login.
    LocalFtpServer other(QStringLiteral("another-password"));
    QVERIFY(other.start());
    other.put(QStringLiteral("describe1.json"), description("a.bin", "9.0.0"));
    QVERIFY(ftp.setServer(other.address()));
    QTest::ignoreMessage(QtDebugMsg, "httpFinished AuthenticationRequiredError");
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures, QStringList{MyFtp::tr("The firmware server refused the login.")});

    // Nobody listening.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    QVERIFY(ftp.setServer(QStringLiteral("127.0.0.1:%1").arg(port)));
    QTest::ignoreMessage(QtDebugMsg, "httpFinished ConnectionRefusedError");
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(outcome.info.isEmpty());
    QCOMPARE(outcome.failures, QStringList{MyFtp::tr("The firmware server refused the connection.")});

    // And back to a good server: the same object works again.
    m_server->put(QStringLiteral("describe1.json"), description("a.bin", "9.0.0"));
    QVERIFY(ftp.setServer(m_server->address()));
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.failures, QStringList());
    QCOMPARE(outcome.info.value(0).value(0).toString(), QStringLiteral("a.bin"));
}

void TestMyFtp::silentServerTimesOut()
{
    // Accepts the connection and never greets.
    QTcpServer mute;
    QVERIFY(mute.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> held;
    connect(&mute, &QTcpServer::newConnection, &mute, [&] {
        while (QTcpSocket *socket = mute.nextPendingConnection())
            held << socket;
    });
    Client client(QStringLiteral("127.0.0.1:%1").arg(mute.serverPort()), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    ftp.setRequestTimeout(400);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.failures, QStringList{MyFtp::tr("The firmware server did not answer in time.")});
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(!ftp.isBusy());
}

void TestMyFtp::downloadStoresFileInMissingFolder()
{
    QByteArray firmware(70000, '\0');
    for (int i = 0; i < firmware.size(); ++i)
        firmware[i] = char(i * 31);
    m_server->put(QStringLiteral("describe1.json"), description("mavu 1.0.3.bin", "1.0.3"));
    m_server->put(QStringLiteral("mavu 1.0.3.bin"), firmware);
    Client client(m_server->address(), QStringLiteral("1.0.2"));
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.info.size(), 1);
    QVERIFY(!QFileInfo::exists(ftp.downloadFolder()));

    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.failures, QStringList());
    const QString expected = ftp.downloadFolder() + QStringLiteral("/mavu 1.0.3.bin");
    QCOMPARE(outcome.downloads, QStringList{expected});
    QVERIFY(expected.startsWith(m_home.filePath(QStringLiteral("data"))));
    QVERIFY(testsupport::readAll(expected) == firmware);
    QCOMPARE(downloadFolderEntries(ftp), QStringList{"mavu 1.0.3.bin"});
}

void TestMyFtp::downloadIsVerified_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("good");
    const QByteArray firmware("firmware image 1.0.3");
    const QString size = QString::number(firmware.size());
    QTest::newRow("size good") << QStringLiteral(", \"size\": %1").arg(size) << true;
    QTest::newRow("size bad") << QStringLiteral(", \"size\": %1").arg(firmware.size() + 1) << false;
    QTest::newRow("sha256 good") << QStringLiteral(", \"sha256\": \"%1\"").arg(sha256Hex(firmware)) << true;
    QTest::newRow("sha256 upper case") << QStringLiteral(", \"sha256\": \"%1\"").arg(sha256Hex(firmware).toUpper())
                                       << true;
    QTest::newRow("sha256 bad") << QStringLiteral(", \"sha256\": \"%1\"").arg(sha256Hex("other")) << false;
    QTest::newRow("size good, sha256 bad")
        << QStringLiteral(", \"size\": %1, \"sha256\": \"%2\"").arg(size, sha256Hex("other")) << false;
}

void TestMyFtp::downloadIsVerified()
{
    QFETCH(QString, extra);
    QFETCH(bool, good);
    const QByteArray firmware("firmware image 1.0.3");
    m_server->put(QStringLiteral("describe1.json"), description("fw.bin", "1.0.3", {}, extra));
    m_server->put(QStringLiteral("fw.bin"), firmware);
    Client client(m_server->address(), QStringLiteral("1.0.2"));
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.info.size(), 1);
    QVERIFY(download(&ftp, &outcome));
    if (good) {
        QCOMPARE(outcome.failures, QStringList());
        QCOMPARE(outcome.downloads.size(), 1);
        QVERIFY(testsupport::readAll(outcome.downloads.first()) == firmware);
    } else {
        QCOMPARE(outcome.downloads, QStringList());
        QCOMPARE(outcome.failures.size(), 1);
        QCOMPARE(downloadFolderEntries(ftp), QStringList());
    }
}

void TestMyFtp::failedDownloadLeavesNothingAndRetryWorks()
{
    m_server->put(QStringLiteral("describe1.json"), description("late.bin", "2.0.0"));
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QCOMPARE(outcome.info.size(), 1);

    // The file is not there yet.
    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.downloads, QStringList());
    QCOMPARE(outcome.failures.size(), 1);
    QCOMPARE(downloadFolderEntries(ftp), QStringList());
    QVERIFY(!ftp.isBusy());

    // Now it is: the retry stores it.
    m_server->put(QStringLiteral("late.bin"), "late firmware");
    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.failures, QStringList());
    QCOMPARE(outcome.downloads.size(), 1);
    QCOMPARE(testsupport::readAll(outcome.downloads.first()), QByteArray("late firmware"));

    // A server gone away mid-session is a failure too, and again nothing is left.
    QFile::remove(outcome.downloads.first());
    m_server->stop();
    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.failures.size(), 1);
    QCOMPARE(downloadFolderEntries(ftp), QStringList());
}

void TestMyFtp::failedDownloadKeepsEarlierCopy()
{
    m_server->put(QStringLiteral("describe1.json"), description("same.bin", "2.0.0"));
    m_server->put(QStringLiteral("same.bin"), "first copy");
    Client client(m_server->address(), QStringLiteral("1.0.0"));
    auto &[ftp, outcome] = client;
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.downloads.size(), 1);
    const QString path = outcome.downloads.first();

    m_server->put(
        QStringLiteral("describe1.json"), description("same.bin", "2.0.1", {}, QStringLiteral(", \"size\": 3")));
    m_server->put(QStringLiteral("same.bin"), "a corrupted second copy");
    QVERIFY(check(&ftp, &outcome));
    QVERIFY(download(&ftp, &outcome));
    QCOMPARE(outcome.failures.size(), 1);
    QCOMPARE(testsupport::readAll(path), QByteArray("first copy"));
    QCOMPARE(downloadFolderEntries(ftp), QStringList{"same.bin"});
}

void TestMyFtp::dialogChecksBeforeAsking()
{
    m_server->put(QStringLiteral("describe1.json"), description("a.bin", "9.0.0"));
    MyFtp ftp;
    QVERIFY(ftp.setServer(m_server->address()));
    Outcome outcome;
    connectOutcome(&ftp, &outcome);
    testsupport::MessageBoxCloser closer;

    ftp.checkOnLineFirmware(); // no controller
    ftp.setDeviceConnected(true);
    ftp.checkOnLineFirmware(); // no version yet
    QCOMPARE(closer.texts(), (QStringList{QStringLiteral("请先连接设备"), QStringLiteral("获取当前版本号失败")}));
    QCOMPARE(outcome.showDialog, 0);

    ftp.setCurrentVersion(QStringLiteral("1.0.0"));
    QTest::ignoreMessage(QtInfoMsg, "download describe");
    ftp.checkOnLineFirmware();
    QCOMPARE(outcome.showDialog, 1); // at once, before the answer
    QVERIFY(waitForEnd(outcome));
    QCOMPARE(outcome.info.value(0).value(1).toString(), QStringLiteral("9.0.0"));

    ftp.setDeviceConnected(false);
    ftp.downloadFir();
    QCOMPARE(closer.texts().size(), 3);
    QCOMPARE(closer.texts().last(), QStringLiteral("请先连接设备"));
    QTest::qWait(200);
    QVERIFY(outcome.downloads.isEmpty());
}

QTEST_MAIN(TestMyFtp)
#include "tst_myftp.moc"

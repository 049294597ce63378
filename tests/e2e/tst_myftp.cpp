// The online firmware check and download against a local FTP server
// (pyftpdlib) and a local HTTPS server trusted by this test alone, for what only a live server shows: the offer, the
// real download and its verification, a refused login, missing files, nobody listening or answering. The description's
// rules themselves are in tst_firmware_text; a connection dropped mid-download in tst_fault_ftp_drop.
#include "firmware/MyFtp.h"
#include "support/DiskFault.h"
#include "support/TestSupport.h"
#include "support/firmware/LocalFtpServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QScopeGuard>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray description(const QString &name, const QString &ver, const QString &extra = QString())
{
    return QStringLiteral(R"({"name": "%1", "ver": "%2", "info": ["Faster pads", "修复"]%3})")
        .arg(name, ver, extra)
        .toUtf8();
}

// What one request ended with: "info: name|ver|notes", "failed: reason" or "stored: path".
struct Outcome : QStringList {
    explicit Outcome(MyFtp *ftp)
    {
        QObject::connect(ftp, &MyFtp::info, ftp, [this](const QString &name, const QString &ver, const QStringList &n) {
            append("info: " + QStringList{name, ver, n.join(',')}.join('|'));
        });
        QObject::connect(ftp, &MyFtp::failed, ftp, [this](const QString &reason) { append("failed: " + reason); });
        QObject::connect(
            ftp, &MyFtp::downloadComplete, ftp, [this](const QString &path) { append("stored: " + path); });
    }
    // The next request's end, once it has come; nothing may follow it.
    QString next(int ms = 15000)
    {
        if (!QTest::qWaitFor([&] { return size() > m_taken; }, ms))
            return QStringLiteral("nothing");
        QTest::qWait(50);
        return size() == m_taken + 1 ? at(m_taken++) : mid(m_taken).join('\n');
    }
    int m_taken = 0;
};

} // namespace

class TestMyFtp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void checkThenDownload_data();
    void checkThenDownload();
    void failedDownloadKeepsEarlierCopy();
    void downloadToAFullDiskLeavesNothing();

private:
    QTemporaryDir m_home;
    LocalFtpServer m_server;
    LocalFtpServer m_https{QString(), QStringLiteral(MAVU_HTTPS_SERVER_SCRIPT)};
    const QString m_password = QLatin1String(LocalFtpServer::kLogin);
};

void TestMyFtp::initTestCase()
{
    QVERIFY(m_home.isValid());
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    // Downloads go below the data folder; keep them in this test's own.
    qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit());
    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
    QVERIFY2(m_https.start(&error), qPrintable(error));
}

void TestMyFtp::checkThenDownload_data()
{
    // The server's; empty: nobody listens; "-": nobody greets; "https" and
    // "https untrusted": the HTTPS server, its certificate trusted or not.
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("describe"); // describe1.json, if there
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("checked"); // ending in "*": how it starts
    QTest::addColumn<QString>("downloaded"); // empty: not asked
    const QString login = m_password;
    const QByteArray firmware = testsupport::readAll(QStringLiteral(MAVU_FTP_SERVER_SCRIPT)); // any bytes will do
    const QString sha = QCryptographicHash::hash(firmware, QCryptographicHash::Sha256).toHex();
    const QString size = QString::number(firmware.size());
    const QString offered = QStringLiteral("info: mavu 1.0.3.bin|1.0.3|Faster pads,修复");
    const auto row = [&](const char *tag, const QString &password, const QByteArray &describe, const QString &checked,
                         const QString &downloaded, const QString &current = QStringLiteral("1.0.2")) {
        QTest::newRow(tag) << password << describe << current << checked << downloaded;
    };
    const QString verified = QStringLiteral(R"(, "size": %1, "sha256": "%2")").arg(size, sha);
    row("newer, verified", login, description("mavu 1.0.3.bin", "1.0.3", verified), offered, "stored");
    row("not newer", login, description("mavu 1.0.3.bin", "1.0.3"), "info: null||", "", "1.0.3");
    row("size differs", login, description("mavu 1.0.3.bin", "1.0.3", R"(, "size": 3)"), offered,
        "failed: The firmware file has " + size + " bytes instead of 3.");
    row("checksum differs", login, description("mavu 1.0.3.bin", "1.0.3", R"(, "sha256": ")" + QString(64, 'a') + '"'),
        offered, "failed: The firmware file does not match its checksum.");
    row("file missing", login, description("gone.bin", "1.0.3"), "info: gone.bin|1.0.3|Faster pads,修复",
        "failed: The firmware file is not on the server.");
    for (const char *name : {"../evil.bin", "a\\\\b", ".", ""})
        row(name, login, description(name, "9.0.0"), "failed: The firmware server offers an invalid file name.",
            "failed: No firmware has been offered for download.");
    row("versions not comparable", login, description("a.bin", "1.0.3"),
        R"(failed: The firmware versions "x" and "1.0.3" cannot be compared.)", "", "x");
    row("no description", login, "", "failed: The firmware server has no firmware description.", "");
    row("login refused", "another-password", description("a.bin", "9.0.0"),
        "failed: The firmware server refused the login.", "");
    row("nobody listening", "", "", "failed: The firmware server refused the connection.", "");
    row("nobody greets", "-", "", "failed: The firmware server did not answer in time.", "");
    const QString https = QStringLiteral("https");
    row("https: newer, verified", https, description("mavu 1.0.3.bin", "1.0.3", verified), offered, "stored");
    row("https: size differs", https, description("mavu 1.0.3.bin", "1.0.3", R"(, "size": 3)"), offered,
        "failed: The firmware file has " + size + " bytes instead of 3.");
    // Neither size nor checksum described: the length the server announced is what catches it.
    row("https: cut short", https, description("cut-short.bin", "1.0.3"), "info: cut-short.bin|1.0.3|Faster pads,修复",
        "failed: The firmware file has 10 bytes instead of 1000.");
    row("https: file missing", https, description("gone.bin", "1.0.3"), "info: gone.bin|1.0.3|Faster pads,修复",
        "failed: The firmware file is not on the server.");
    row("https: no description", https, "", "failed: The firmware server has no firmware description.", "");
    row("https: certificate not trusted", "https untrusted", description("a.bin", "9.0.0"),
        "failed: The firmware server could not be reached: SSL certificate problem*", "");
}

namespace {
QStringList g_logged;
QtMessageHandler g_testHandler = nullptr;
void keepLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_logged << message;
    g_testHandler(type, context, message);
}
} // namespace

void TestMyFtp::checkThenDownload()
{
    QFETCH(QString, password);
    QFETCH(QByteArray, describe);
    QFETCH(QString, current);
    QFETCH(QString, checked);
    QFETCH(QString, downloaded);
    QDir(m_home.filePath(QStringLiteral("data"))).removeRecursively();
    // One server for the rows with the right login; starting one takes a while.
    const bool remote = password.size() > 1;
    const bool https = password.startsWith(QLatin1String("https"));
    std::unique_ptr<LocalFtpServer> other;
    LocalFtpServer *server = https ? &m_https : &m_server;
    qunsetenv(ServerFetch::kCaFileVariable);
    if (password == QLatin1String("https"))
        qputenv(ServerFetch::kCaFileVariable, QFile::encodeName(m_https.caFile()));
    if (password != m_password && remote && !https) {
        other = std::make_unique<LocalFtpServer>(password);
        server = other.get();
        QVERIFY(server->start());
    }
    MyFtp ftp;
    ftp.setDeviceConnected(true); // a controller is there
    QTcpServer local;
    QVERIFY(remote || local.listen(QHostAddress::LocalHost));
    QVERIFY(ftp.setServer(remote ? server->address() : QStringLiteral("127.0.0.1:%1").arg(local.serverPort())));
    if (!remote)
        ftp.setRequestTimeout(400);
    if (password.isEmpty())
        local.close();
    QFile::remove(server->folder() + QStringLiteral("describe1.json"));
    if (!describe.isEmpty())
        server->put(QStringLiteral("describe1.json"), describe);
    const QByteArray firmware = testsupport::readAll(QStringLiteral(MAVU_FTP_SERVER_SCRIPT));
    server->put(QStringLiteral("mavu 1.0.3.bin"), firmware);
    server->put(QStringLiteral("evil.bin"), firmware); // what "../evil.bin" would fetch
    ftp.setCurrentVersion(current);
    Outcome outcome(&ftp);
    // No line of the log, and nothing the user is told, holds the login.
    g_logged.clear();
    g_testHandler = qInstallMessageHandler(keepLine);
    const auto restore = qScopeGuard([] { qInstallMessageHandler(g_testHandler); });
    const auto noLogin = [] { return !g_logged.join('\n').contains(QStringLiteral("@127.0.0.1")); };
    ftp.checkOnLineFirmware();
    const QString result = outcome.next();
    if (checked.endsWith('*'))
        QVERIFY2(result.startsWith(checked.chopped(1)), qPrintable(result));
    else
        QCOMPARE(result, checked);
    QVERIFY2(noLogin(), qPrintable(g_logged.join('\n')));
    QVERIFY(!ftp.isBusy());
    if (downloaded.isEmpty())
        return;
    ftp.downloadFir();
    const QString stored = ftp.downloadFolder() + QStringLiteral("/mavu 1.0.3.bin");
    if (downloaded == QLatin1String("stored")) {
        // Into the data folder, made for it.
        QCOMPARE(outcome.next(), "stored: " + stored);
        QVERIFY(stored.startsWith(m_home.filePath(QStringLiteral("data"))));
        QVERIFY(testsupport::readAll(stored) == firmware);
        QCOMPARE(ftp.lastDownloaded(), stored); // verified, so offered again
    } else {
        QCOMPARE(outcome.next(), downloaded);
        // Nothing is left behind, not even a partial file.
        QCOMPARE(QDir(ftp.downloadFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    }
    QVERIFY2(noLogin(), qPrintable(g_logged.join('\n')));
    QVERIFY(!ftp.isBusy());
}

void TestMyFtp::failedDownloadKeepsEarlierCopy()
{
    m_server.put(QStringLiteral("describe1.json"), description("same.bin", "2.0.0"));
    m_server.put(QStringLiteral("same.bin"), "first copy");
    MyFtp ftp;
    ftp.setDeviceConnected(true); // a controller is there
    QVERIFY(ftp.setServer(m_server.address()));
    ftp.setCurrentVersion(QStringLiteral("1.0.0"));
    Outcome outcome(&ftp);
    ftp.checkOnLineFirmware();
    QVERIFY(outcome.next().startsWith(QLatin1String("info: same.bin")));
    ftp.downloadFir();
    const QString path = ftp.downloadFolder() + QStringLiteral("/same.bin");
    QCOMPARE(outcome.next(), "stored: " + path);

    // A broken description withdraws the offer.
    m_server.put(QStringLiteral("describe1.json"), "[]");
    ftp.checkOnLineFirmware();
    QVERIFY(outcome.next().startsWith(QLatin1String("failed: ")));
    ftp.downloadFir();
    QCOMPARE(outcome.next(), QStringLiteral("failed: No firmware has been offered for download."));

    m_server.put(QStringLiteral("describe1.json"), description("same.bin", "2.0.1", R"(, "size": 3)"));
    m_server.put(QStringLiteral("same.bin"), "a corrupted second copy");
    ftp.checkOnLineFirmware();
    QVERIFY(outcome.next().startsWith(QLatin1String("info: same.bin")));
    ftp.downloadFir();
    QVERIFY(outcome.next().startsWith(QLatin1String("failed: ")));
    QCOMPARE(testsupport::readAll(path), QByteArray("first copy"));
    QCOMPARE(QDir(ftp.downloadFolder()).entryList(QDir::Files | QDir::Hidden),
        (QStringList{"same.bin", "same.bin.description.json"}));
}

void TestMyFtp::downloadToAFullDiskLeavesNothing()
{
    const QString folder = m_home.filePath(QStringLiteral("full"));
    QVERIFY(QDir().mkpath(folder));
    LocalFtpServer server; // before the fault: the server writes its log
    QVERIFY(server.start());
    server.put(QStringLiteral("describe1.json"), description("small.bin", "2.0.0"));
    server.put(QStringLiteral("small.bin"), QByteArray(2000, 'x')); // stays in the write buffer until the end
    MyFtp ftp;
    ftp.setDeviceConnected(true); // a controller is there
    QVERIFY(ftp.setServer(server.address()));
    ftp.setCurrentVersion(QStringLiteral("1.0.0"));
    ftp.setDownloadFolder(folder);
    Outcome outcome(&ftp);
    ftp.checkOnLineFirmware();
    QVERIFY(outcome.next().startsWith(QLatin1String("info: small.bin")));
    DiskFault full(DiskFault::Full, folder);
    QString error;
    QVERIFY2(full.begin(&error), qPrintable(error));
    ftp.downloadFir();
    const QString result = outcome.next();
    full.end();
    QVERIFY2(result.startsWith(QLatin1String("failed: The firmware file could not be stored")), qPrintable(result));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestMyFtp)
#include "tst_myftp.moc"

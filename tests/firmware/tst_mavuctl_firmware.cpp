// mavuctl firmware check|update as a user runs it: against a local FTP server,
// and flashing lrzsz's rb on a pseudo-terminal.
#include "LocalFtpServer.h"
#include "PtyLink.h"
#include "RbProcess.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kMavuctl = QStringLiteral(MAVU_MAVUCTL_PATH);

testsupport::ProcessResult mavuctl(const QStringList &args, int timeoutMs = 60000)
{
    return testsupport::run(kMavuctl, args, timeoutMs);
}

} // namespace

class TestMavuctlFirmware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void updateFlashesRbOnPort();
    void failuresExitWith1AndSendNothing();
    void updateReportsCancelByController();
    void checkPrintsOfferOrUpToDate();

private:
    QString firmware(const QString &name, int size);
    QTemporaryDir m_dir;
};

void TestMavuctlFirmware::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Nothing here may reach the real firmware server or a real controller.
    qunsetenv("KORVEL_MAVU_FIRMWARE_SERVER");
    qunsetenv("KORVEL_MAVU_UPDATE_PORT");
}

QString TestMavuctlFirmware::firmware(const QString &name, int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 37) ^ (i >> 8));
    const QString path = m_dir.filePath(name);
    testsupport::writeAll(path, bytes);
    return path;
}

void TestMavuctlFirmware::updateFlashesRbOnPort()
{
    const QString path = firmware(QStringLiteral("mavu-2.0.0.bin"), 70 * 1024 + 3);
    PtyLink link;
    QVERIFY(link.open());
    RbProcess rb;
    QVERIFY(rb.start(link));
    const testsupport::ProcessResult result = mavuctl({"firmware", "update", path, "--port", link.portPath()});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(result.out, QByteArray("Firmware mavu-2.0.0.bin sent.\n"));
    QVERIFY(result.err.contains("100%"));
    QVERIFY2(result.err.contains("100%  70.0 of 70.0 KB"), result.err.constData()); // all acknowledged
    QVERIFY(rb.waitForFinished(10000));
    QVERIFY(rb.succeeded());
    QVERIFY(rb.received(QStringLiteral("mavu-2.0.0.bin")) == testsupport::readAll(path));
}

void TestMavuctlFirmware::failuresExitWith1AndSendNothing()
{
    PtyLink link;
    QVERIFY(link.open());
    const QString good = firmware(QStringLiteral("ok.bin"), 10);
    const QString longName = firmware(QString(126, QLatin1Char('x')), 10);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString nobody = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();

    struct Case {
        QStringList args;
        QByteArray error;
    };
    const QList<Case> cases = {
        {{"firmware", "update", m_dir.filePath("absent.bin"), "--port", link.portPath()}, "cannot read"},
        {{"firmware", "update", m_dir.path(), "--port", link.portPath()}, "cannot read"},
        {{"firmware", "update", longName, "--port", link.portPath()}, "too long"},
        {{"firmware", "update", good, "--port", m_dir.filePath("no-tty")}, "no port"},
        {{"firmware", "update", good, "--port"}, "--port needs a value"},
        {{"firmware", "update", good, "--wait", "soon", "--port", link.portPath()}, "usage"},
        // No controller on any MIDI system here, and no update port appears.
        {{"firmware", "update", good, "--update-port", m_dir.filePath("never"), "--wait", "0"}, ""},
        {{"firmware", "update"}, "usage"},
        {{"firmware", "flash", good}, "usage"},
        {{"firmware"}, "usage"},
        {{"firmware", "check", "--current", "1.0.0", "--firmware-server", nobody}, "refused the connection"},
        {{"firmware", "check", "--current", "1.0.0", "--firmware-server", "gopher://127.0.0.1/"},
            "not a firmware server"},
        {{"firmware", "check", "--current"}, "--current needs a value"},
    };
    for (const Case &c : cases) {
        const testsupport::ProcessResult result = mavuctl(c.args);
        QVERIFY2(result.exitCode == 1, qPrintable(c.args.join(' ')));
        QVERIFY2(!result.err.isEmpty() && result.err.contains(c.error), result.err.constData());
        QVERIFY(result.out.isEmpty());
    }
    QTest::qWait(100);
    QCOMPARE(link.forwarded(), 0LL);
}

void TestMavuctlFirmware::updateReportsCancelByController()
{
    const QString path = firmware(QStringLiteral("refused.bin"), 5000);
    PtyLink link;
    QVERIFY(link.open());
    QSerialPort controller(link.peerPath());
    QVERIFY(controller.open(QIODevice::ReadWrite));

    QProcess process;
    process.start(kMavuctl, {"firmware", "update", path, "--port", link.portPath()});
    QVERIFY(process.waitForStarted());
    // The controller asks, takes the header, then refuses the file.
    QElapsedTimer timer;
    timer.start();
    while (controller.bytesAvailable() < 133 && timer.elapsed() < 10000) {
        controller.write("C");
        QTest::qWait(200);
    }
    QVERIFY(controller.bytesAvailable() >= 133);
    controller.write(QByteArray(2, char(0x18)));
    QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("cancelled"));
}

void TestMavuctlFirmware::checkPrintsOfferOrUpToDate()
{
    LocalFtpServer server;
    QVERIFY(server.start());
    server.put(
        "describe1.json", R"({"name": "mavu-1.0.10.bin", "ver": "1.0.10", "info": ["Pads light faster", "Fixes"]})");

    testsupport::ProcessResult result
        = mavuctl({"firmware", "check", "--current", "1.0.9", "--firmware-server", server.address()});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(result.out,
        QByteArray("Firmware 1.0.10 is available: mavu-1.0.10.bin (the controller has 1.0.9).\n"
                   "  Pads light faster\n"
                   "  Fixes\n"));

    // The server may also come from the environment.
    qputenv("KORVEL_MAVU_FIRMWARE_SERVER", server.address().toLocal8Bit());
    result = mavuctl({"firmware", "check", "--current", "1.0.10"});
    qunsetenv("KORVEL_MAVU_FIRMWARE_SERVER");
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(result.out, QByteArray("The controller's firmware 1.0.10 is up to date.\n"));
}

QTEST_MAIN(TestMavuctlFirmware)
#include "tst_mavuctl_firmware.moc"

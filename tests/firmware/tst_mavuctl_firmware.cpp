// mavuctl firmware check|update as a user runs it: the check against a local
// FTP server, and every update that must stop before a byte reaches the
// port. The whole update through mavu-sim is in tst_firmware_dialog_e2e.
#include "LocalFtpServer.h"
#include "PtyLink.h"
#include "support/TestSupport.h"

#include <QSerialPort>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

class TestMavuctlFirmware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void updateCancelledByTheControllerFails();

private:
    QTemporaryDir m_dir;
    LocalFtpServer m_server;
    PtyLink m_link;
};

void TestMavuctlFirmware::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Nothing here may reach the real firmware server or a real controller.
    qunsetenv("KORVEL_MAVU_FIRMWARE_SERVER");
    qunsetenv("KORVEL_MAVU_UPDATE_PORT");
    QVERIFY(m_link.open());
    QVERIFY(m_server.start());
    m_server.put(
        "describe1.json", R"({"name": "mavu-1.0.10.bin", "ver": "1.0.10", "info": ["Pads light faster", "Fixes"]})");
    testsupport::writeAll(m_dir.filePath("ok.bin"), "0123456789");
    testsupport::writeAll(m_dir.filePath(QString(126, QLatin1Char('x'))), "0123456789");
}

void TestMavuctlFirmware::runs_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("environment"); // the firmware server, if given there
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("error"); // a part of it
    const QString good = m_dir.filePath("ok.bin");
    const QString port = m_link.portPath();
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString nobody = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    QTest::newRow("check: newer") << QStringList{"check", "--current", "1.0.9", "--firmware-server", m_server.address()}
                                  << QByteArray() << 0
                                  << QByteArray("Firmware 1.0.10 is available: mavu-1.0.10.bin (the controller has "
                                                "1.0.9).\n  Pads light faster\n  Fixes\n")
                                  << QByteArray();
    QTest::newRow("check: server from the environment")
        << QStringList{"check", "--current", "1.0.10"} << m_server.address().toUtf8() << 0
        << QByteArray("The controller's firmware 1.0.10 is up to date.\n") << QByteArray();
    const QList<QPair<QStringList, QByteArray>> failures = {
        {{"update", m_dir.filePath("absent.bin"), "--port", port}, "cannot read"},
        {{"update", m_dir.path(), "--port", port}, "cannot read"},
        {{"update", m_dir.filePath(QString(126, QLatin1Char('x'))), "--port", port}, "too long"},
        {{"update", good, "--port", m_dir.filePath("no-tty")}, "no port"},
        {{"update", good, "--port"}, "--port needs a value"},
        {{"update", good, "--wait", "soon", "--port", port}, "usage"},
        // No controller on any MIDI system here, and no update port appears.
        {{"update", good, "--update-port", m_dir.filePath("never"), "--wait", "0"}, ""},
        {{"update"}, "usage"},
        {{"flash", good}, "usage"},
        {{}, "usage"},
        {{"check", "--current", "1.0.0", "--firmware-server", nobody}, "refused the connection"},
        {{"check", "--current", "1.0.0", "--firmware-server", "gopher://127.0.0.1/"}, "not a firmware server"},
        {{"check", "--current"}, "--current needs a value"},
    };
    for (int i = 0; i < failures.size(); ++i)
        QTest::addRow("refused %d: %s", i, qPrintable(failures.at(i).first.join(' ').right(40)))
            << failures.at(i).first << QByteArray() << 1 << QByteArray() << failures.at(i).second;
}

void TestMavuctlFirmware::runs()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, environment);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, error);
    if (!environment.isEmpty())
        qputenv("KORVEL_MAVU_FIRMWARE_SERVER", environment);
    const testsupport::ProcessResult result
        = testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), QStringList{"firmware"} + args, 60000);
    qunsetenv("KORVEL_MAVU_FIRMWARE_SERVER");
    QVERIFY2(result.exitCode == exitCode, result.err.constData());
    QCOMPARE(result.out, out);
    QVERIFY2(result.err.contains(error), result.err.constData());
    QVERIFY(exitCode == 0 || !result.err.isEmpty());
    QCOMPARE(m_link.forwarded(), 0LL);
}

void TestMavuctlFirmware::updateCancelledByTheControllerFails()
{
    PtyLink link;
    QVERIFY(link.open());
    QSerialPort controller(link.peerPath());
    QVERIFY(controller.open(QIODevice::ReadWrite));
    QProcess process;
    process.start(
        QStringLiteral(MAVU_MAVUCTL_PATH), {"firmware", "update", m_dir.filePath("ok.bin"), "--port", link.portPath()});
    // The controller asks, takes the header, then refuses the file.
    QVERIFY(QTest::qWaitFor(
        [&] {
            if (controller.bytesAvailable() == 0)
                controller.write("C");
            controller.waitForReadyRead(200);
            return controller.bytesAvailable() >= 133;
        },
        10000));
    controller.write(QByteArray(2, char(0x18)));
    controller.waitForBytesWritten(1000);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

QTEST_MAIN(TestMavuctlFirmware)
#include "tst_mavuctl_firmware.moc"

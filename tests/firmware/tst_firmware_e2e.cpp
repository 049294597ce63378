// The whole firmware road through the editor's own objects: mavu-sim on a
// private JACK server arrives, the online check finds a newer firmware on a
// local FTP server, the download starts the update-mode command, and the file
// goes by YMODEM to the simulator's update port; here with the cable pulled
// halfway and the update tried again (the straight road, through the dialogs,
// is tst_firmware_dialog_e2e). mavuctl takes the same road, saving the
// settings first and writing them back after.
#include "FirmwareBytes.h"
#include "JackFixture.h"
#include "LocalFtpServer.h"

#include "app/AppOptions.h"
#include "app/ColorPalette.h"
#include "app/MainWindow.h"
#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/SettingsBackup.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kFirmwareName = QStringLiteral("mavu-1.0.3.bin");

template <typename T>
T *published(MainWindow &window, const char *name)
{
    return qobject_cast<T *>(window.engine().rootContext()->contextProperty(QLatin1String(name)).value<QObject *>());
}

} // namespace

class TestFirmwareEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void cablePulledMidTransferThenRetry();
    void mavuctlUpdatesTheSimulator();

private:
    void startSimulator(const QString &version, const QStringList &extra = {});
    QString updateLink() const { return m_dir.filePath(QStringLiteral("update-port")); }
    QString receivedFolder() const { return m_dir.filePath(QStringLiteral("received")); }

    QTemporaryDir m_dir;
    JackServer m_jack;
    LocalFtpServer m_ftpServer;
    std::unique_ptr<GuardedProcess> m_sim;
    QByteArray m_firmware;
};

void TestFirmwareEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qmlRegisterType<ColorPalette>("ColorP", 1, 0, "ColorPalette");
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    QString error;
    QVERIFY2(m_jack.start(&error), qPrintable(error));
    QVERIFY2(installSystemMidi(QStringLiteral("jack"), QStringLiteral("tst_firmware_e2e"), &error), qPrintable(error));

    QVERIFY2(m_ftpServer.start(&error), qPrintable(error));
    m_firmware = testFirmwareBytes(160 * 1024 + 33);
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(m_firmware, QCryptographicHash::Sha256).toHex());
    m_ftpServer.put(QStringLiteral("describe1.json"),
        QStringLiteral(R"({"name": "%1", "ver": "1.0.3", "info": ["Brighter pads"], "size": %2, "sha256": "%3"})")
            .arg(kFirmwareName)
            .arg(m_firmware.size())
            .arg(sha)
            .toUtf8());
    m_ftpServer.put(kFirmwareName, m_firmware);

    // What the editor would take from --update-port and --firmware-server.
    AppOptions options;
    options.midiApi = QStringLiteral("jack");
    options.updatePort = updateLink();
    options.firmwareServer = m_ftpServer.address();
    AppOptions::setCurrent(options);
}

void TestFirmwareEndToEnd::cleanup()
{
    m_sim.reset();
    QDir(receivedFolder()).removeRecursively();
}

void TestFirmwareEndToEnd::cleanupTestCase()
{
    setMidiBackend(nullptr);
    m_jack.stop();
}

void TestFirmwareEndToEnd::startSimulator(const QString &version, const QStringList &extra)
{
    m_sim = std::make_unique<GuardedProcess>();
    QVERIFY(m_sim->start(simulatorPath(),
        QStringList{"--midi-api", "jack", "--firmware-version", version, "--update-link", updateLink(),
            "--firmware-dir", receivedFolder(), "--version-after-update", "1.0.3"}
            + extra));
    QVERIFY2(m_sim->waitForOutput("plugged in", 10000), m_sim->output().constData());
}

void TestFirmwareEndToEnd::cablePulledMidTransferThenRetry()
{
    startSimulator(QStringLiteral("1.0.2"));
    MainWindow window(nullptr);
    MyFtp *ftp = published<MyFtp>(window, "Ftp");
    FirmwareUpdate *update = published<FirmwareUpdate>(window, "FirmwareUpdate");
    QSignalSpy state(&window, &MainWindow::devStateChanged);
    QSignalSpy downloaded(ftp, &MyFtp::downloadComplete);
    QSignalSpy progress(update, &FirmwareUpdate::transmitProgress);
    QSignalSpy status(update, &FirmwareUpdate::transStatus);
    testsupport::MessageBoxCloser closer;
    QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.2"), 10000);

    QSignalSpy info(ftp, &MyFtp::info);
    ftp->checkOnLineFirmware();
    QTRY_COMPARE_WITH_TIMEOUT(info.size(), 1, 15000);
    ftp->downloadFir();
    QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 1, 15000);

    // Pulled once a part of the file is across.
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().first().toInt() >= 10, 30000);
    m_sim.reset();
    QTRY_COMPARE_WITH_TIMEOUT(status.size(), 1, 3000);
    QCOMPARE(status.first().first().toBool(), false);
    QTest::qWait(500);
    QCOMPARE(status.size(), 1);
    QCOMPARE(closer.texts(), QStringList());

    // Plugged in again: the editor reads it, and the update runs to the end.
    progress.clear();
    state.clear();
    startSimulator(QStringLiteral("1.0.2"));
    QTRY_VERIFY_WITH_TIMEOUT(!state.isEmpty() && state.last().first().toBool(), 10000);
    ftp->downloadFir();
    QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 2, 15000);
    QTRY_VERIFY2_WITH_TIMEOUT(status.size() == 2, qPrintable(closer.texts().join('|') + m_sim->output()), 60000);
    QVERIFY2(status.last().first().toBool(), m_sim->output().constData());
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(testsupport::readAll(QDir(receivedFolder()).filePath(kFirmwareName)), m_firmware);
    // The controller comes back in normal mode with the new version.
    QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.3"), 15000);
    QCOMPARE(closer.texts(), QStringList());
}

void TestFirmwareEndToEnd::mavuctlUpdatesTheSimulator()
{
    // A controller with the user's own settings, whose new firmware resets
    // them, and whose update port comes later than the first look for it.
    DataManagement own;
    own.initDefaultData();
    own.setCurveInten(QStringLiteral("intensity"), 3);
    const QString preset = m_dir.filePath(QStringLiteral("own.stm"));
    QString error;
    QVERIFY2(preset::writeFile(preset, own.imageBytes(), &error), qPrintable(error));
    startSimulator(QStringLiteral("1.0.2"), {"--image", preset, "--reset-after-update", "--update-delay", "1600"});
    const QString file = m_dir.filePath(kFirmwareName);
    testsupport::writeAll(file, m_firmware);

    const testsupport::ProcessResult check = testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH),
        {"firmware", "check", "--midi-api", "jack", "--firmware-server", m_ftpServer.address()});
    QVERIFY2(check.exitCode == 0, check.err.constData());
    QVERIFY2(check.out.startsWith("Firmware 1.0.3 is available: mavu-1.0.3.bin (the controller has 1.0.2)."),
        check.out.constData());

    // Asked whether to write the saved settings back, the user says yes.
    QProcess mavuctl;
    mavuctl.start(QStringLiteral(MAVU_MAVUCTL_PATH),
        {"firmware", "update", file, "--midi-api", "jack", "--update-port", updateLink()});
    mavuctl.write("y\n");
    mavuctl.closeWriteChannel();
    QVERIFY(mavuctl.waitForFinished(120000));
    const QString out = QString::fromUtf8(mavuctl.readAllStandardOutput());
    const QByteArray err = mavuctl.readAllStandardError();
    QVERIFY2(mavuctl.exitCode() == 0, (err + m_sim->output()).constData());
    QVERIFY(err.contains("100%"));
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(testsupport::readAll(QDir(receivedFolder()).filePath(kFirmwareName)), m_firmware);

    // Where the settings went, and that they came back.
    const QRegularExpressionMatch saved
        = QRegularExpression(QStringLiteral("^Settings saved to (.*_MAVU-SIM-0001\\.stm)\n"
                                            "Firmware mavu-1\\.0\\.3\\.bin sent\\.\n"
                                            "Settings written back from \\1\n$"))
              .match(out);
    QVERIFY2(saved.hasMatch(), qPrintable(out));
    QCOMPARE(QFileInfo(saved.captured(1)).absolutePath(), settingsbackup::defaultFolder());
    QByteArray backup;
    QVERIFY2(preset::readFile(saved.captured(1), &backup, &error), qPrintable(error));
    QVERIFY(settingsbackup::sameSettings(backup, own.imageBytes()));
    QVERIFY2(err.contains("differ from those saved before it"), err.constData());
    QVERIFY2(m_sim->waitForOutput("settings written", 5000), m_sim->output().constData());
}

QTEST_MAIN(TestFirmwareEndToEnd)
#include "tst_firmware_e2e.moc"

// The firmware update as the user goes through it, end to end: the editor's
// window and objects, mavu-sim on a private JACK server with its update port,
// and pyftpdlib on 127.0.0.1. About, "firmware updates", the offer, confirm,
// the download, the settings saved, the wait for a late update port, the gauge
// during the transfer, the success message and the saved settings offered
// back; and roads that fail, whose end the dialog shows instead of spinning on.
#include "FirmwareBytes.h"
#include "JackFixture.h"
#include "EditorHarness.h"
#include "LocalFtpServer.h"
#include "QmlWarnings.h"
#include "ScriptedPrompt.h"

#include "app/AppOptions.h"
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
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using editorharness::child;

namespace {

const QString kFirmwareName = QStringLiteral("mavu-1.0.3.bin");

QByteArray description(const QByteArray &firmware)
{
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(firmware, QCryptographicHash::Sha256).toHex());
    return QStringLiteral(R"({"name": "%1", "ver": "1.0.3", "info": ["Brighter pads", "Steadier knobs"],)"
                          R"( "size": %2, "sha256": "%3"})")
        .arg(kFirmwareName)
        .arg(firmware.size())
        .arg(sha)
        .toUtf8();
}

template <typename T>
T *published(MainWindow &window, const char *name)
{
    return qobject_cast<T *>(window.engine().rootContext()->contextProperty(QLatin1String(name)).value<QObject *>());
}

bool shown(QObject *dialog, const char *part)
{
    QObject *item = child(dialog, part);
    return item && item->property("visible").toBool();
}

QString text(QObject *dialog, const char *part)
{
    return child(dialog, part) ? child(dialog, part)->property("text").toString() : QString();
}

// Only a button the user can see can be clicked.
void clickShown(QObject *dialog, const char *button)
{
    QVERIFY2(shown(dialog, button), button);
    editorharness::click(child(dialog, button));
}

// The dialog's parts that are showing, by name.
QStringList shownParts(QObject *dialog)
{
    QStringList parts;
    for (const char *part : {"busyIndicator", "textWait", "textHint", "textNewest", "scrollView", "progressBarDownload",
             "textRate", "btnSure"}) {
        if (shown(dialog, part))
            parts << QLatin1String(part);
    }
    return parts;
}

} // namespace

class TestFirmwareDialogEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void updateThroughTheDialogs();
    void failureIsShown_data();
    void failureIsShown();
    void recoveryFromUpdateMode();

private:
    void startSimulator(const QStringList &extra, const QString &ready = QStringLiteral("plugged in"));
    // The editor in English, its questions answered from the script.
    void createEditor(const QString &server, const QVariantList &answers);
    // The editor on the running simulator, with the About box open; its
    // questions are answered from the script.
    void openEditor(const QString &server, const QVariantList &answers = {});
    void startCheck();
    QString updateLink() const { return m_dir.filePath(QStringLiteral("update-port")); }
    QString receivedFolder() const { return m_dir.filePath(QStringLiteral("received")); }

    QTemporaryDir m_dir;
    JackServer m_jack;
    LocalFtpServer m_ftpServer;
    std::unique_ptr<GuardedProcess> m_sim;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<testsupport::MessageBoxCloser> m_closer;
    QObject *m_help = nullptr;
    QObject *m_progress = nullptr;
    ScriptedPrompt *m_prompt = nullptr;
    QByteArray m_firmware;
};

void TestFirmwareDialogEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    editorharness::prepare(m_dir.filePath(QStringLiteral("config")));

    QString error;
    QVERIFY2(m_jack.start(&error), qPrintable(error));
    QVERIFY2(installSystemMidi(QStringLiteral("jack"), QStringLiteral("tst_firmware_dialog_e2e"), &error),
        qPrintable(error));
    QVERIFY2(m_ftpServer.start(&error), qPrintable(error));
    m_firmware = testFirmwareBytes(96 * 1024 + 7);
    m_ftpServer.put(QStringLiteral("describe1.json"), description(m_firmware));
    m_ftpServer.put(kFirmwareName, m_firmware);
}

void TestFirmwareDialogEndToEnd::init()
{
    qmlwarnings::clear();
}

void TestFirmwareDialogEndToEnd::startSimulator(const QStringList &extra, const QString &ready)
{
    m_sim = std::make_unique<GuardedProcess>();
    QVERIFY(m_sim->start(simulatorPath(),
        QStringList{"--midi-api", "jack", "--firmware-version", "1.0.2", "--update-link", updateLink(),
            "--firmware-dir", receivedFolder(), "--version-after-update", "1.0.3"}
            + extra));
    QVERIFY2(m_sim->waitForOutput(ready, 10000), m_sim->output().constData());
}

void TestFirmwareDialogEndToEnd::cleanup()
{
    m_window.reset();
    m_closer.reset();
    m_help = nullptr;
    m_progress = nullptr;
    m_prompt = nullptr;
    m_sim.reset();
    QDir(receivedFolder()).removeRecursively();
    QDir(settingsbackup::defaultFolder()).removeRecursively();
}

void TestFirmwareDialogEndToEnd::cleanupTestCase()
{
    qmlwarnings::stop();
    setMidiBackend(nullptr);
    m_jack.stop();
}

void TestFirmwareDialogEndToEnd::createEditor(const QString &server, const QVariantList &answers)
{
    // What the editor takes from --update-port and --firmware-server.
    AppOptions options;
    options.midiApi = QStringLiteral("jack");
    options.updatePort = updateLink();
    options.firmwareServer = server;
    AppOptions::setCurrent(options);

    m_closer = std::make_unique<testsupport::MessageBoxCloser>();
    m_window = std::make_unique<MainWindow>(nullptr);
    m_prompt = new ScriptedPrompt(answers);
    m_window->setUserPrompt(std::unique_ptr<UserPrompt>(m_prompt));
    QVERIFY(!m_window->engine().rootObjects().isEmpty());
    QObject *root = m_window->engine().rootObjects().first();
    QObject *tran = m_window->engine().rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
    QVERIFY(QMetaObject::invokeMethod(tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
    m_help = root->findChild<QObject *>(QStringLiteral("helpDialog"));
    m_progress = root->findChild<QObject *>(QStringLiteral("progressDialog"));
    QVERIFY(m_help && m_progress);
}

void TestFirmwareDialogEndToEnd::openEditor(const QString &server, const QVariantList &answers)
{
    createEditor(server, answers);
    if (QTest::currentTestFailed())
        return;

    // Arrival: the settings reach the About box.
    MyFtp *ftp = published<MyFtp>(*m_window, "Ftp");
    QVERIFY(ftp);
    QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.2"), 10000);
    QVERIFY(QMetaObject::invokeMethod(m_help, "show"));
    QTRY_VERIFY(m_help->property("opened").toBool());
    QCOMPARE(text(m_help, "firmwareVer"), QStringLiteral("Firmware:1.0.2"));
}

void TestFirmwareDialogEndToEnd::startCheck()
{
    QCOMPARE(text(m_help, "btnUpdate"), QStringLiteral("firmware updates"));
    clickShown(m_help, "btnUpdate");
    QTRY_VERIFY(m_progress->property("opened").toBool());
}

void TestFirmwareDialogEndToEnd::updateThroughTheDialogs()
{
    // The user's own settings on a controller whose new firmware resets them,
    // and whose update port comes later than the first look for it.
    DataManagement own;
    own.initDefaultData();
    own.setCurveInten(QStringLiteral("curve"), 2);
    own.setPadInfo(5, QStringLiteral("padData"), 99);
    const QString preset = m_dir.filePath(QStringLiteral("own.stm"));
    QString error;
    QVERIFY2(preset::writeFile(preset, own.imageBytes(), &error), qPrintable(error));
    startSimulator({"--image", preset, "--reset-after-update", "--update-delay", "1600"});
    openEditor(m_ftpServer.address(), {true});
    if (QTest::currentTestFailed())
        return;
    // The serial number follows the settings; the backup is named after it.
    QTRY_VERIFY_WITH_TIMEOUT(text(m_help, "sn").startsWith(QLatin1String("sn:MAVU-")), 5000);
    FirmwareUpdate *update = published<FirmwareUpdate>(*m_window, "FirmwareUpdate");
    QVERIFY(update);
    QSignalSpy progress(update, &FirmwareUpdate::transmitProgress);
    QSignalSpy detail(update, &FirmwareUpdate::transferDetail);

    startCheck();
    if (QTest::currentTestFailed())
        return;
    // The offer: name, version and notes, with the question and its button.
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "btnSure"), 15000);
    QCOMPARE(shownParts(m_progress), (QStringList{"textHint", "scrollView", "btnSure"}));
    QCOMPARE(text(m_progress, "textHint"),
        QStringLiteral("New firmware version detected, please confirm whether to upgrade"));
    QCOMPARE(text(m_progress, "btnSure"), QStringLiteral("Firmware update"));
    QCOMPARE(text(m_progress, "textArea").split(QLatin1Char('\n')),
        (QStringList{"Firmware name:" + kFirmwareName, "Version No.:1.0.3", "Brighter pads", "Steadier knobs"}));

    // Confirmed: the download, the update-mode command, then the gauge.
    QObject *gauge = child(m_progress, "progressBarDownload");
    QVERIFY(gauge);
    QList<double> levels;
    QList<QStringList> seen;
    QObject::connect(update, &FirmwareUpdate::transmitProgress, this, [&] {
        // What the user sees right after each chunk.
        levels << gauge->property("value").toDouble();
        seen << shownParts(m_progress);
    });
    clickShown(m_progress, "btnSure");
    QCOMPARE(shownParts(m_progress), QStringList{"busyIndicator"});
    QVERIFY2(m_sim->waitForOutput("command 05", 15000), m_sim->output().constData());
    // The controller restarts into update mode; the dialog says what it waits for.
    QTRY_COMPARE(shownParts(m_progress), (QStringList{"busyIndicator", "textWait"}));
    QCOMPARE(text(m_progress, "textWait"), QStringLiteral("Waiting for the controller..."));

    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 60000);
    QCOMPARE(text(m_progress, "textNewest"), QStringLiteral("Firmware upgrade succeeded!"));
    QCOMPARE(shownParts(m_progress), QStringList{"textNewest"});
    QCOMPARE(gauge->property("value").toDouble(), 0.0);

    // The gauge followed the transfer, up to full.
    QVERIFY(progress.size() > 3);
    QCOMPARE(levels.size(), progress.size());
    for (int i = 0; i < levels.size(); ++i)
        QCOMPARE(levels.at(i), progress.at(i).first().toInt() / 100.0);
    QCOMPARE(levels.last(), 1.0);
    QVERIFY(levels.first() < 1.0);
    for (const QStringList &parts : seen)
        QCOMPARE(parts, (QStringList{"progressBarDownload", "textRate"}));
    // Under it, what the controller took, how fast, and how long was left.
    QCOMPARE(detail.first().first().toString(), QStringLiteral("0.0 of 96.0 KB"));
    const QString last = detail.last().first().toString();
    // (A fast line may be through before there is a rate to tell.)
    QVERIFY2(QRegularExpression(QStringLiteral("^96\\.0 of 96\\.0 KB(, \\d+\\.\\d KB/s, 0:00 left)?$"))
                 .match(last)
                 .hasMatch(),
        qPrintable(last));

    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(testsupport::readAll(QDir(receivedFolder()).filePath(kFirmwareName)), m_firmware);

    // The settings were saved before the update-mode command...
    const QDir backups(settingsbackup::defaultFolder());
    const QStringList saved = backups.entryList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d{6}_MAVU-SIM-0001\\.stm$"))
                 .match(saved.first())
                 .hasMatch(),
        qPrintable(saved.first()));
    QByteArray backup;
    QVERIFY2(preset::readFile(backups.filePath(saved.first()), &backup, &error), qPrintable(error));
    QVERIFY(settingsbackup::sameSettings(backup, own.imageBytes()));
    // ...and the controller, back with its defaults, got them back as the user asked.
    QVERIFY2(m_sim->waitForOutput("settings written", 15000), m_sim->output().constData());
    QCOMPARE(m_prompt->asked().size(), 1);
    QVERIFY2(m_prompt->asked().first().startsWith(
                 QStringLiteral("Settings backup: After the firmware update the controller's settings differ")),
        qPrintable(m_prompt->asked().first()));
    QVERIFY(settingsbackup::sameSettings(m_window->settings()->imageBytes(), own.imageBytes()));
    QCOMPARE(published<MyFtp>(*m_window, "Ftp")->currentVersion(), QStringLiteral("1.0.3"));
    QCOMPARE(m_closer->texts(), QStringList());
    QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
}

void TestFirmwareDialogEndToEnd::failureIsShown_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("serveFirmware");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("headline");
    QTest::addColumn<QString>("asked");
    // Logging in fails: the server knows another password.
    QTest::newRow("check") << QStringLiteral("anotherword") << false << QStringList() << false
                           << QStringLiteral("Checking for firmware updates failed!") << QString();
    // The description offers a file the server does not have.
    QTest::newRow("download") << QString() << false << QStringList() << true
                              << QStringLiteral("Firmware download failed!") << QString();
    // The settings do not come in time to be saved, and the user stops there.
    QTest::newRow("no backup, not flashed")
        << QString() << true << QStringList{"--reply-delay", "4000"} << true
        << QStringLiteral("Firmware update cancelled.")
        << QStringLiteral("Settings backup: The controller's settings could not be saved before the firmware "
                          "update: the controller did not answer in time.\n\n"
                          "Update the firmware without a backup of the settings?");
}

void TestFirmwareDialogEndToEnd::failureIsShown()
{
    QFETCH(QString, password);
    QFETCH(bool, serveFirmware);
    QFETCH(QStringList, simulator);
    QFETCH(bool, confirm);
    QFETCH(QString, headline);
    QFETCH(QString, asked);
    const auto server
        = password.isEmpty() ? std::make_unique<LocalFtpServer>() : std::make_unique<LocalFtpServer>(password);
    QString error;
    QVERIFY2(server->start(&error), qPrintable(error));
    server->put(QStringLiteral("describe1.json"), description(m_firmware));
    if (serveFirmware)
        server->put(kFirmwareName, m_firmware);
    startSimulator(simulator);
    openEditor(server->address(), {false});
    if (QTest::currentTestFailed())
        return;

    startCheck();
    if (QTest::currentTestFailed())
        return;
    if (confirm) {
        QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "btnSure"), 15000);
        clickShown(m_progress, "btnSure");
    }
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 20000);
    // The headline and, under it, the reason.
    const QStringList lines = text(m_progress, "textNewest").split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), headline);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(shownParts(m_progress), QStringList{"textNewest"});
    QCOMPARE(m_prompt->asked(), asked.isEmpty() ? QStringList() : QStringList{asked});
    // Nothing was sent to the controller.
    QTest::qWait(1500);
    QVERIFY(!m_sim->output().contains("command 05"));
    QCOMPARE(m_closer->texts(), QStringList());
    QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
}

// A controller left in its loader by an update cut short: the editor says so
// at start and flashes the firmware downloaded last, as the user chooses.
void TestFirmwareDialogEndToEnd::recoveryFromUpdateMode()
{
    startSimulator({"--update-mode"}, QStringLiteral("update mode:"));
    const testsupport::ProcessResult list = testsupport::run(
        QStringLiteral(MAVU_MAVUCTL_PATH), {"list", "--midi-api", "jack", "--update-port", updateLink()});
    QVERIFY2(list.out.contains(("\nin update mode: " + updateLink() + " ").toUtf8()), list.out.constData());

    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DataLocation);
    QVERIFY(QDir().mkpath(downloads));
    testsupport::writeAll(QDir(downloads).filePath(kFirmwareName), m_firmware);
    createEditor(m_ftpServer.address(), {0});
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(m_prompt->asked().size(), 1);
    QCOMPARE(m_prompt->asked().first(),
        "Controller in update mode: The controller is in update mode without its MIDI ports: a firmware "
        "update did not finish. Flash a firmware to bring it back.\n"
        "Flash "
            + kFirmwareName + " again|Choose a firmware file...|Look for firmware online");

    // Flashed, with the dialog showing it; the controller comes back with the new version.
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 60000);
    QCOMPARE(text(m_progress, "textNewest"), QStringLiteral("Firmware upgrade succeeded!"));
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(testsupport::readAll(QDir(receivedFolder()).filePath(kFirmwareName)), m_firmware);
    QTRY_COMPARE_WITH_TIMEOUT(published<MyFtp>(*m_window, "Ftp")->currentVersion(), QStringLiteral("1.0.3"), 15000);
    QCOMPARE(m_prompt->asked().size(), 1);
    QCOMPARE(m_closer->texts(), QStringList());
    QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
}

QTEST_MAIN(TestFirmwareDialogEndToEnd)
#include "tst_firmware_dialog_e2e.moc"

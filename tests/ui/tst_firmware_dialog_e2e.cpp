// The firmware update as the user goes through it, end to end: the editor's
// window and objects, mavu-sim on a private JACK server with its update port,
// and pyftpdlib on 127.0.0.1. About, "firmware updates", the offer, confirm,
// the download, the settings saved, the wait for a late update port, the gauge
// during the transfer, the success message and the saved settings offered
// back; roads that fail, whose end the dialog shows instead of spinning on;
// the recovery of a controller left in update mode; and mavuctl's update
// of the same controller, its settings saved and written back.
#include "EditorHarness.h"
#include "FirmwareBytes.h"
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
#include "support/JackFixture.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QQmlContext>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using editorharness::child;

namespace {

const QString kFirmwareName = QStringLiteral("mavu-1.0.3.bin");

bool shown(QObject *dialog, const char *part)
{
    return child(dialog, part) && child(dialog, part)->property("visible").toBool();
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

// The user's own settings, as a preset file for the simulator.
QByteArray ownSettings(const QString &path)
{
    DataManagement own;
    own.initDefaultData();
    own.setCurveInten(QStringLiteral("curve"), 2);
    own.setPadInfo(5, QStringLiteral("padData"), 99);
    QString error;
    if (!preset::writeFile(path, own.imageBytes(), &error))
        qWarning("%s", qPrintable(error));
    return own.imageBytes();
}

} // namespace

class TestFirmwareDialogEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { qmlwarnings::clear(); }
    void cleanup();
    void cleanupTestCase();
    void updateThroughTheDialogs();
    void failureIsShown_data();
    void failureIsShown();
    void recoveryFromUpdateMode();
    void mavuctlUpdatesTheSimulator();

private:
    void startSimulator(const QStringList &extra, const QString &ready = QStringLiteral("plugged in"));
    // The editor in English, its questions answered from the script; once the
    // controller's settings are in, "firmware updates" in the About box.
    void openEditor(const QString &server, const QVariantList &answers, bool check = true);
    QObject *context(const char *name) const
    {
        return m_window->engine().rootContext()->contextProperty(QLatin1String(name)).value<QObject *>();
    }
    QString version() const { return static_cast<MyFtp *>(context("Ftp"))->currentVersion(); }
    // Nothing left to say: no message boxes, no QML warnings.
    void quiet()
    {
        QCOMPARE(m_closer->texts(), QStringList());
        QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
    }
    QString updateLink() const { return m_dir.filePath(QStringLiteral("update-port")); }
    QByteArray received() const { return testsupport::readAll(m_dir.filePath("received/" + kFirmwareName)); }

    QTemporaryDir m_dir;
    JackServer m_jack;
    std::unique_ptr<LocalFtpServer> m_ftpServer;
    std::unique_ptr<GuardedProcess> m_sim;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<testsupport::MessageBoxCloser> m_closer;
    QObject *m_help = nullptr;
    QObject *m_progress = nullptr;
    ScriptedPrompt *m_prompt = nullptr;
    QByteArray m_firmware = testFirmwareBytes(96 * 1024 + 7);
    QByteArray m_description;
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
    m_description = QStringLiteral(R"({"name": "%1", "ver": "1.0.3", "info": ["Brighter pads", "Steadier knobs"],)"
                                   R"( "size": %2, "sha256": "%3"})")
                        .arg(kFirmwareName)
                        .arg(m_firmware.size())
                        .arg(QString(QCryptographicHash::hash(m_firmware, QCryptographicHash::Sha256).toHex()))
                        .toUtf8();
}

void TestFirmwareDialogEndToEnd::startSimulator(const QStringList &extra, const QString &ready)
{
    m_sim = std::make_unique<GuardedProcess>();
    QVERIFY(m_sim->start(simulatorPath(),
        QStringList{"--midi-api", "jack", "--firmware-version", "1.0.2", "--update-link", updateLink(),
            "--firmware-dir", m_dir.filePath("received"), "--version-after-update", "1.0.3"}
            + extra));
    QVERIFY2(m_sim->waitForOutput(ready, 20000), m_sim->output().constData());
}

void TestFirmwareDialogEndToEnd::cleanup()
{
    m_window.reset();
    m_closer.reset();
    m_sim.reset();
    m_ftpServer.reset();
    QDir(m_dir.filePath("received")).removeRecursively();
    QDir(settingsbackup::defaultFolder()).removeRecursively();
}

void TestFirmwareDialogEndToEnd::cleanupTestCase()
{
    qmlwarnings::stop();
    setMidiBackend(nullptr);
    m_jack.stop();
}

void TestFirmwareDialogEndToEnd::openEditor(const QString &password, const QVariantList &answers, bool check)
{
    m_ftpServer = password.isEmpty() ? std::make_unique<LocalFtpServer>() : std::make_unique<LocalFtpServer>(password);
    QString error;
    QVERIFY2(m_ftpServer->start(&error), qPrintable(error));
    m_ftpServer->put(QStringLiteral("describe1.json"), m_description);
    // What the editor takes from --update-port and --firmware-server.
    AppOptions options;
    options.midiApi = QStringLiteral("jack");
    options.updatePort = updateLink();
    options.firmwareServer = m_ftpServer->address();
    AppOptions::setCurrent(options);

    m_closer = std::make_unique<testsupport::MessageBoxCloser>();
    m_window = std::make_unique<MainWindow>(nullptr);
    m_prompt = new ScriptedPrompt(answers);
    m_window->setUserPrompt(std::unique_ptr<UserPrompt>(m_prompt));
    QVERIFY(!m_window->engine().rootObjects().isEmpty());
    QObject *root = m_window->engine().rootObjects().first();
    QVERIFY(QMetaObject::invokeMethod(context("Tran"), "reTrans", Q_ARG(QString, QStringLiteral("English"))));
    m_help = root->findChild<QObject *>(QStringLiteral("helpDialog"));
    m_progress = root->findChild<QObject *>(QStringLiteral("progressDialog"));
    QVERIFY(m_help && m_progress);
    if (!check)
        return;

    // Arrival: the settings reach the About box.
    QTRY_COMPARE_WITH_TIMEOUT(version(), QStringLiteral("1.0.2"), 20000);
    QVERIFY(QMetaObject::invokeMethod(m_help, "show"));
    QTRY_VERIFY(m_help->property("opened").toBool());
    QCOMPARE(text(m_help, "firmwareVer"), QStringLiteral("Firmware:1.0.2"));
    QCOMPARE(text(m_help, "btnUpdate"), QStringLiteral("firmware updates"));
    clickShown(m_help, "btnUpdate");
    QTRY_VERIFY(m_progress->property("opened").toBool());
}

void TestFirmwareDialogEndToEnd::updateThroughTheDialogs()
{
    // On a controller whose new firmware resets the settings, and whose update
    // port comes later than the first look for it.
    const QByteArray own = ownSettings(m_dir.filePath(QStringLiteral("own.stm")));
    startSimulator({"--image", m_dir.filePath("own.stm"), "--reset-after-update", "--update-delay", "1600"});
    openEditor(QString(), {true});
    if (QTest::currentTestFailed())
        return;
    m_ftpServer->put(kFirmwareName, m_firmware);
    // The serial number follows the settings; the backup is named after it.
    QTRY_VERIFY_WITH_TIMEOUT(text(m_help, "sn").startsWith(QLatin1String("sn:MAVU-")), 20000);
    auto *update = qobject_cast<FirmwareUpdate *>(context("FirmwareUpdate"));
    QSignalSpy detail(update, &FirmwareUpdate::transferDetail);

    // The offer: name, version and notes, with the question and its button.
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "btnSure"), 15000);
    QCOMPARE(shownParts(m_progress), (QStringList{"textHint", "scrollView", "btnSure"}));
    QCOMPARE(text(m_progress, "textArea").split(QLatin1Char('\n')),
        (QStringList{"Firmware name:" + kFirmwareName, "Version No.:1.0.3", "Brighter pads", "Steadier knobs"}));

    // Confirmed: the download, the update-mode command, then the gauge,
    // following each chunk, with the rate under it.
    QObject *gauge = child(m_progress, "progressBarDownload");
    QStringList seen;
    connect(update, &FirmwareUpdate::transmitProgress, this, [&](int value) {
        seen << QString::number(qRound(gauge->property("value").toDouble() * 100) - value) + ' '
                + shownParts(m_progress).join(' ');
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
    QVERIFY(seen.size() > 3);
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>{"0 progressBarDownload textRate"});
    // What the controller took, how fast, and how long was left (a fast line
    // may be through before there is a rate to tell).
    QCOMPARE(detail.first().first().toString(), QStringLiteral("0.0 of 96.0 KB"));
    const QString last = detail.last().first().toString();
    QVERIFY2(QRegularExpression("^96\\.0 of 96\\.0 KB(, \\d+\\.\\d KB/s, 0:00 left)?$").match(last).hasMatch(),
        qPrintable(last));
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(received(), m_firmware);

    // The settings were saved before the update-mode command...
    const QFileInfoList saved = QDir(settingsbackup::defaultFolder()).entryInfoList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    QVERIFY2(
        QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d{6}_MAVU-SIM-0001\\.stm$").match(saved[0].fileName()).hasMatch(),
        qPrintable(saved[0].fileName()));
    QByteArray backup;
    QString error;
    QVERIFY2(preset::readFile(saved[0].filePath(), &backup, &error), qPrintable(error));
    QVERIFY(settingsbackup::sameSettings(backup, own));
    // ...and the controller, back with its defaults, got them back as the user asked.
    QVERIFY2(m_sim->waitForOutput("settings written", 15000), m_sim->output().constData());
    QCOMPARE(m_prompt->asked().size(), 1);
    QVERIFY2(m_prompt->asked().first().startsWith(
                 "Settings backup: After the firmware update the controller's settings differ"),
        qPrintable(m_prompt->asked().first()));
    QVERIFY(settingsbackup::sameSettings(m_window->settings()->imageBytes(), own));
    QCOMPARE(version(), QStringLiteral("1.0.3"));
    quiet();
}

void TestFirmwareDialogEndToEnd::failureIsShown_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("serveFirmware");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("headline");
    QTest::addColumn<QString>("asked");
    // Logging in fails: the server knows another password.
    QTest::newRow("check") << "anotherword" << false << QStringList() << "Checking for firmware updates failed!"
                           << QString();
    // The description offers a file the server does not have.
    QTest::newRow("download") << QString() << false << QStringList() << "Firmware download failed!" << QString();
    // The settings do not come in time to be saved, and the user stops there.
    QTest::newRow("no backup, not flashed")
        << QString() << true << QStringList{"--reply-delay", "4000"} << "Firmware update cancelled."
        << "Settings backup: The controller's settings could not be saved before the firmware update: the "
           "controller did not answer in time.\n\nUpdate the firmware without a backup of the settings?";
}

void TestFirmwareDialogEndToEnd::failureIsShown()
{
    QFETCH(QString, password);
    QFETCH(bool, serveFirmware);
    QFETCH(QStringList, simulator);
    QFETCH(QString, headline);
    QFETCH(QString, asked);
    startSimulator(simulator);
    openEditor(password, {false});
    if (QTest::currentTestFailed())
        return;
    if (serveFirmware)
        m_ftpServer->put(kFirmwareName, m_firmware);
    QSignalSpy settingsIn(m_window->settings(), &DataManagement::s_updateDate);
    if (password.isEmpty()) {
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
    // A late answer to the backup's read is not taken for a backup after all.
    if (!asked.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(!settingsIn.isEmpty(), 10000);
    // Nothing was sent to the controller (the command would leave with the
    // decision; a MIDI message crosses JACK in a few periods).
    QTest::qWait(300);
    QVERIFY(!m_sim->output().contains("command 05"));
    quiet();
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
    openEditor(QString(), {0}, false);
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(m_prompt->asked().size(), 1);
    QCOMPARE(m_prompt->asked().first(),
        "Controller in update mode: The controller is in update mode without its MIDI ports: a firmware update did "
        "not finish. Flash a firmware to bring it back.\nFlash "
            + kFirmwareName + " again|Choose a firmware file...|Look for firmware online");

    // Flashed, with the dialog showing it; the controller comes back with the new version.
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 60000);
    QCOMPARE(text(m_progress, "textNewest"), QStringLiteral("Firmware upgrade succeeded!"));
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(received(), m_firmware);
    QTRY_COMPARE_WITH_TIMEOUT(version(), QStringLiteral("1.0.3"), 15000);
    QCOMPARE(m_prompt->asked().size(), 1);
    quiet();
}

// The same road from the command line, on the same kind of controller.
void TestFirmwareDialogEndToEnd::mavuctlUpdatesTheSimulator()
{
    const QByteArray own = ownSettings(m_dir.filePath(QStringLiteral("own.stm")));
    startSimulator({"--image", m_dir.filePath("own.stm"), "--reset-after-update", "--update-delay", "1600"});
    const QString file = m_dir.filePath(kFirmwareName);
    testsupport::writeAll(file, m_firmware);
    LocalFtpServer server;
    QVERIFY(server.start());
    server.put(QStringLiteral("describe1.json"), m_description);
    const testsupport::ProcessResult check = testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH),
        {"firmware", "check", "--midi-api", "jack", "--firmware-server", server.address()});
    QVERIFY2(check.out.startsWith("Firmware 1.0.3 is available: mavu-1.0.3.bin (the controller has 1.0.2)."),
        (check.out + check.err).constData());

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
    QVERIFY2(err.contains("100%  96.0 of 96.0 KB"), err.constData()); // all of it acknowledged
    QVERIFY2(err.contains("differ from those saved before it"), err.constData());
    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(received(), m_firmware);

    // Where the settings went, and that they came back.
    const QRegularExpressionMatch saved = QRegularExpression("^Settings saved to (.*_MAVU-SIM-0001\\.stm)\nFirmware "
                                                             "mavu-1\\.0\\.3\\.bin sent\\.\nSettings written back from "
                                                             "\\1\n$")
                                              .match(out);
    QVERIFY2(saved.hasMatch(), qPrintable(out));
    QCOMPARE(QFileInfo(saved.captured(1)).absolutePath(), settingsbackup::defaultFolder());
    QByteArray backup;
    QString error;
    QVERIFY2(preset::readFile(saved.captured(1), &backup, &error), qPrintable(error));
    QVERIFY(settingsbackup::sameSettings(backup, own));
    QVERIFY2(m_sim->waitForOutput("settings written", 5000), m_sim->output().constData());
}

QTEST_MAIN(TestFirmwareDialogEndToEnd)
#include "tst_firmware_dialog_e2e.moc"

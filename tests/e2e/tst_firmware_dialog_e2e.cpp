// The firmware update as the user goes through it, end to end: the editor's
// window and objects, mavu-sim on a private JACK server with its update port,
// and pyftpdlib on 127.0.0.1. About, "firmware updates", the offer, confirm,
// the download, the settings saved, the wait for a late update port, the gauge
// during the transfer, the success message and the saved settings offered
// back; the recovery of a controller left in update mode; and mavuctl's update
// of the same controller, its settings saved and written back.
#include "support/editor/EditorHarness.h"
#include "support/FirmwareBytes.h"
#include "support/firmware/LocalFtpServer.h"
#include "support/firmware/PtyLink.h"
#include "support/editor/QmlWarnings.h"
#include "support/model/ScriptedPrompt.h"

#include "app/Editor.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/SettingsBackup.h"
#include "support/device/JackServer.h"
#include "support/TestSupport.h"
#include "support/editor/MessageBoxCloser.h"

#include <QCryptographicHash>
#include <QQmlContext>
#include <QSerialPort>
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

} // namespace

class TestFirmwareDialogEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
        editorharness::prepare(m_dir.filePath(QStringLiteral("config")));
        QString error;
        QVERIFY2(m_jack.start(&error, 1024, QStringLiteral("tst_firmware_dialog_e2e")), qPrintable(error));
        m_description = QStringLiteral(R"({"name": "%1", "ver": "1.0.3", "info": ["Brighter pads", "Steadier knobs"],)"
                                       R"( "size": %2, "sha256": "%3"})")
                            .arg(kFirmwareName)
                            .arg(m_firmware.size())
                            .arg(QString(QCryptographicHash::hash(m_firmware, QCryptographicHash::Sha256).toHex()))
                            .toUtf8();
    }
    void init() { qmlwarnings::clear(); }
    void cleanup()
    {
        m_editor.reset();
        m_closer.reset();
        m_sim.reset();
        m_ftpServer.reset();
        QDir(m_dir.filePath("received")).removeRecursively();
        QDir(settingsbackup::defaultFolder()).removeRecursively();
    }
    void cleanupTestCase()
    {
        qmlwarnings::stop();
        m_jack.stop();
    }
    void updateThroughTheDialogs()
    {
        const QByteArray own = startOwnController();
        openEditor({true});
        if (QTest::currentTestFailed())
            return;
        m_ftpServer->put(kFirmwareName, m_firmware);
        // The serial number follows the settings; the backup is named after it.
        QTRY_VERIFY_WITH_TIMEOUT(text(m_help, "sn").startsWith(QLatin1String("sn: MAVU-")), 20000);
        auto *update = qobject_cast<FirmwareUpdate *>(context("FirmwareUpdate"));

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
        QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 60000);
        QCOMPARE(text(m_progress, "textNewest"), QStringLiteral("Firmware upgrade succeeded!"));
        QVERIFY(seen.size() > 3);
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>{"0 progressBarDownload textRate"});
        QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
        QCOMPARE(received(), m_firmware);

        // The settings saved before the update-mode command: the controller, back
        // with its defaults, got them back as the user asked.
        QVERIFY2(m_sim->waitForOutput("settings written", 15000), m_sim->output().constData());
        QCOMPARE(m_prompt->asked().size(), 1);
        QVERIFY(settingsbackup::sameSettings(m_editor->settings()->imageBytes(), own));
        QCOMPARE(version(), QStringLiteral("1.0.3"));
        quiet();
    }
    // The settings do not come in time to be saved, and the user does not flash
    // without them: nothing reaches the controller.
    void noBackupNoUpdate()
    {
        startSimulator({"--reply-delay", "4000"});
        openEditor({false});
        if (QTest::currentTestFailed())
            return;
        m_ftpServer->put(kFirmwareName, m_firmware);
        QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "btnSure"), 15000);
        clickShown(m_progress, "btnSure");
        QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "textNewest"), 30000);
        QVERIFY(text(m_progress, "textNewest").startsWith(QLatin1String("Firmware update cancelled.\n")));
        QCOMPARE(m_prompt->asked().size(), 1);
        QVERIFY(m_prompt->asked().first().contains(QLatin1String("could not be saved before the firmware update")));
        QVERIFY(!m_sim->output().contains("command 05"));
    }
    // A controller left in its loader by an update cut short: the editor says so
    // at start and flashes the firmware downloaded last, as the user chooses.
    void recoveryFromUpdateMode()
    {
        startSimulator({"--update-mode"}, QStringLiteral("update mode:"));
        const testsupport::ProcessResult list = testsupport::run(
            QStringLiteral(MAVU_MAVUCTL_PATH), {"list", "--midi-api", "jack", "--update-port", updateLink()});
        QVERIFY2(list.out.contains(("\nin update mode: " + updateLink() + " ").toUtf8()), list.out.constData());
        // Not a named port on which nothing asks for a file.
        PtyLink node;
        QVERIFY(node.open());
        QCOMPARE(testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH),
                     {"list", "--midi-api", "jack", "--update-port", node.portPath()})
                     .out,
            ("update " + node.portPath() + '\n').toUtf8());
        const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DataLocation);
        QVERIFY(QDir().mkpath(downloads));
        testsupport::writeAll(QDir(downloads).filePath(kFirmwareName), m_firmware);
        openEditor({0}, false);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(m_prompt->asked().size(), 1);
        QVERIFY(m_prompt->asked().first().endsWith(
            "\nFlash " + kFirmwareName + " again|Choose a firmware file...|Look for firmware online"));

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
    void mavuctlUpdatesTheSimulator()
    {
        const QByteArray own = startOwnController();
        m_ftpServer = std::make_unique<LocalFtpServer>();
        QVERIFY(m_ftpServer->start());
        m_ftpServer->put(QStringLiteral("describe1.json"), m_description);
        const testsupport::ProcessResult check = testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH),
            {"firmware", "check", "--midi-api", "jack", "--firmware-server", m_ftpServer->address()});
        QCOMPARE(check.out,
            QByteArray("Firmware 1.0.3 is available: mavu-1.0.3.bin (the controller has 1.0.2).\n"
                       "  Brighter pads\n  Steadier knobs\n"));
        const QString file = m_dir.filePath(kFirmwareName);
        testsupport::writeAll(file, m_firmware);
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
        const QRegularExpressionMatch saved
            = QRegularExpression("^Settings saved to (.*_MAVU-SIM-0001\\.stm)\nFirmware "
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
    // A controller that takes the header and then refuses the file: mavuctl
    // fails, and never says the firmware was sent.
    void mavuctlReportsACancelledUpdate()
    {
        PtyLink link;
        QVERIFY(link.open());
        QSerialPort controller(link.peerPath());
        QVERIFY(controller.open(QIODevice::ReadWrite));
        testsupport::writeAll(m_dir.filePath(kFirmwareName), m_firmware);
        QProcess mavuctl;
        mavuctl.start(QStringLiteral(MAVU_MAVUCTL_PATH),
            {"firmware", "update", m_dir.filePath(kFirmwareName), "--port", link.portPath()});
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
        QVERIFY(mavuctl.waitForFinished(10000));
        QCOMPARE(mavuctl.exitCode(), 1);
        QCOMPARE(mavuctl.readAllStandardOutput(), QByteArray());
    }

private:
    void startSimulator(const QStringList &extra, const QString &ready = QStringLiteral("plugged in"))
    {
        m_sim = std::make_unique<GuardedProcess>();
        QVERIFY(m_sim->start(simulatorPath(),
            QStringList{"--midi-api", "jack", "--firmware-version", "1.0.2", "--update-link", updateLink(),
                "--firmware-dir", m_dir.filePath("received"), "--version-after-update", "1.0.3"}
                + extra));
        QVERIFY2(m_sim->waitForOutput(ready, 20000), m_sim->output().constData());
    }
    // A controller with the user's own settings, which its new firmware resets,
    // and whose update port comes later than the first look for it.
    QByteArray startOwnController()
    {
        DataManagement own;
        own.initDefaultData();
        own.setCurveInten(QStringLiteral("curve"), 2);
        own.setPadInfo(5, QStringLiteral("padData"), 99);
        QString error;
        if (!preset::writeFile(m_dir.filePath("own.stm"), own.imageBytes(), &error))
            qWarning("%s", qPrintable(error));
        startSimulator({"--image", m_dir.filePath("own.stm"), "--reset-after-update", "--update-delay", "1600"});
        return own.imageBytes();
    }
    // The editor in English, its questions answered from the script; once the
    // controller's settings are in, "firmware updates" in the About box.
    void openEditor(const QVariantList &answers, bool check = true)
    {
        m_ftpServer = std::make_unique<LocalFtpServer>();
        QString error;
        QVERIFY2(m_ftpServer->start(&error), qPrintable(error));
        m_ftpServer->put(QStringLiteral("describe1.json"), m_description);
        m_closer = std::make_unique<testsupport::MessageBoxCloser>();
        // What the editor takes from --midi-api, --update-port and --firmware-server.
        m_editor = std::make_unique<Editor>(EditorSetup{m_jack.midi(), updateLink(), m_ftpServer->address()});
        m_prompt = new ScriptedPrompt(answers);
        m_editor->setUserPrompt(std::unique_ptr<UserPrompt>(m_prompt));
        QVERIFY(!m_editor->engine().rootObjects().isEmpty());
        QObject *root = m_editor->engine().rootObjects().first();
        QVERIFY(QMetaObject::invokeMethod(context("Tran"), "reTrans", Q_ARG(QString, QStringLiteral("English"))));
        QVariant help; // the About box, built on first use
        QVERIFY(QMetaObject::invokeMethod(
            root->findChild<QObject *>(QStringLiteral("helpDialog")), "get", Q_RETURN_ARG(QVariant, help)));
        m_help = help.value<QObject *>();
        m_progress = root->findChild<QObject *>(QStringLiteral("progressDialog"));
        QVERIFY(m_help && m_progress);
        if (!check)
            return;

        // Arrival: the settings reach the About box.
        QTRY_COMPARE_WITH_TIMEOUT(version(), QStringLiteral("1.0.2"), 20000);
        QVERIFY(QMetaObject::invokeMethod(m_help, "show"));
        QTRY_VERIFY(m_help->property("opened").toBool());
        QCOMPARE(text(m_help, "firmwareVer"), QStringLiteral("Firmware: 1.0.2"));
        clickShown(m_help, "btnUpdate");
        QTRY_VERIFY(m_progress->property("opened").toBool());
    }
    QObject *context(const char *name) const
    {
        return m_editor->engine().rootContext()->contextProperty(QLatin1String(name)).value<QObject *>();
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
    std::unique_ptr<Editor> m_editor;
    std::unique_ptr<testsupport::MessageBoxCloser> m_closer;
    QObject *m_help = nullptr;
    QObject *m_progress = nullptr;
    ScriptedPrompt *m_prompt = nullptr;
    QByteArray m_firmware = testFirmwareBytes(96 * 1024 + 7);
    QByteArray m_description;
};

QTEST_MAIN(TestFirmwareDialogEndToEnd)
#include "tst_firmware_dialog_e2e.moc"

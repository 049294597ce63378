// The firmware update as the user goes through it, end to end: the editor's
// window and objects, mavu-sim on a private JACK server with its update port,
// and pyftpdlib on 127.0.0.1. About, "firmware updates", the offer, confirm,
// the download, the gauge during the transfer, and the success message; and
// servers that fail, whose failure the dialog shows instead of spinning on.
#include "FirmwareBytes.h"
#include "JackFixture.h"
#include "EditorHarness.h"
#include "LocalFtpServer.h"
#include "QmlWarnings.h"

#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "device/MidiBackend.h"
#include "device/MidiSetup.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QQmlContext>
#include <QSignalSpy>
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
    for (const char *part :
         {"busyIndicator", "textWait", "textHint", "textNewest", "scrollView", "progressBarDownload", "btnSure"}) {
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

private:
    // The editor on the running simulator, with the About box open.
    void openEditor(const QString &server);
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
    m_sim = std::make_unique<GuardedProcess>();
    // The update port comes later than the first look for it, a second after the command.
    QVERIFY(m_sim->start(simulatorPath(), {"--midi-api", "jack", "--firmware-version", "1.0.2", "--update-link",
                                           updateLink(), "--firmware-dir", receivedFolder(),
                                           "--version-after-update", "1.0.3", "--update-delay", "1600"}));
    QVERIFY2(m_sim->waitForOutput("plugged in", 10000), m_sim->output().constData());
}

void TestFirmwareDialogEndToEnd::cleanup()
{
    m_window.reset();
    m_closer.reset();
    m_help = nullptr;
    m_progress = nullptr;
    m_sim.reset();
    QDir(receivedFolder()).removeRecursively();
}

void TestFirmwareDialogEndToEnd::cleanupTestCase()
{
    qmlwarnings::stop();
    setMidiBackend(nullptr);
    m_jack.stop();
}

void TestFirmwareDialogEndToEnd::openEditor(const QString &server)
{
    // What the editor takes from --update-port and --firmware-server.
    AppOptions options;
    options.midiApi = QStringLiteral("jack");
    options.updatePort = updateLink();
    options.firmwareServer = server;
    AppOptions::setCurrent(options);

    m_closer = std::make_unique<testsupport::MessageBoxCloser>();
    m_window = std::make_unique<MainWindow>(nullptr);
    QVERIFY(!m_window->engine().rootObjects().isEmpty());
    QObject *root = m_window->engine().rootObjects().first();
    QObject *tran = m_window->engine().rootContext()->contextProperty(QStringLiteral("Tran")).value<QObject *>();
    QVERIFY(QMetaObject::invokeMethod(tran, "reTrans", Q_ARG(QString, QStringLiteral("English"))));
    m_help = root->findChild<QObject *>(QStringLiteral("helpDialog"));
    m_progress = root->findChild<QObject *>(QStringLiteral("progressDialog"));
    QVERIFY(m_help && m_progress);

    // Arrival: settings, then the serial number, reach the About box.
    MyFtp *ftp = published<MyFtp>(*m_window, "Ftp");
    QVERIFY(ftp);
    QTRY_COMPARE_WITH_TIMEOUT(ftp->currentVersion(), QStringLiteral("1.0.2"), 10000);
    QVERIFY(QMetaObject::invokeMethod(m_help, "show"));
    QTRY_VERIFY(m_help->property("opened").toBool());
    QCOMPARE(text(m_help, "firmwareVer"), QStringLiteral("Firmware:1.0.2"));
    QTRY_VERIFY_WITH_TIMEOUT(text(m_help, "sn").startsWith(QLatin1String("sn:MAVU-")), 5000);
}

void TestFirmwareDialogEndToEnd::startCheck()
{
    QCOMPARE(text(m_help, "btnUpdate"), QStringLiteral("firmware updates"));
    clickShown(m_help, "btnUpdate");
    QTRY_VERIFY(m_progress->property("opened").toBool());
}

void TestFirmwareDialogEndToEnd::updateThroughTheDialogs()
{
    openEditor(m_ftpServer.address());
    if (QTest::currentTestFailed())
        return;
    FirmwareUpdate *update = published<FirmwareUpdate>(*m_window, "FirmwareUpdate");
    QVERIFY(update);
    QSignalSpy progress(update, &FirmwareUpdate::transmitProgress);

    startCheck();
    if (QTest::currentTestFailed())
        return;
    // The offer: name, version and notes, with the question and its button.
    QTRY_VERIFY_WITH_TIMEOUT(shown(m_progress, "btnSure"), 15000);
    QCOMPARE(shownParts(m_progress), (QStringList{"textHint", "scrollView", "btnSure"}));
    QCOMPARE(text(m_progress, "textHint"), QStringLiteral("New firmware version detected, please confirm whether to upgrade"));
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
        QCOMPARE(parts, QStringList{"progressBarDownload"});

    QVERIFY2(m_sim->waitForOutput("firmware received", 5000), m_sim->output().constData());
    QCOMPARE(testsupport::readAll(QDir(receivedFolder()).filePath(kFirmwareName)), m_firmware);
    QCOMPARE(m_closer->texts(), QStringList());
    QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
}

void TestFirmwareDialogEndToEnd::failureIsShown_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("headline");
    // Logging in fails: the server knows another password.
    QTest::newRow("check") << QStringLiteral("anotherword") << false
                           << QStringLiteral("Checking for firmware updates failed!");
    // The description offers a file the server does not have.
    QTest::newRow("download") << QString() << true << QStringLiteral("Firmware download failed!");
}

void TestFirmwareDialogEndToEnd::failureIsShown()
{
    QFETCH(QString, password);
    QFETCH(bool, confirm);
    QFETCH(QString, headline);
    const auto server = password.isEmpty() ? std::make_unique<LocalFtpServer>()
                                           : std::make_unique<LocalFtpServer>(password);
    QString error;
    QVERIFY2(server->start(&error), qPrintable(error));
    server->put(QStringLiteral("describe1.json"), description(m_firmware));
    openEditor(server->address());
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
    // Nothing was sent to the controller.
    QTest::qWait(1500);
    QVERIFY(!m_sim->output().contains("command 05"));
    QCOMPARE(m_closer->texts(), QStringList());
    QVERIFY2(qmlwarnings::collected().isEmpty(), qPrintable(qmlwarnings::report()));
}

QTEST_MAIN(TestFirmwareDialogEndToEnd)
#include "tst_firmware_dialog_e2e.moc"

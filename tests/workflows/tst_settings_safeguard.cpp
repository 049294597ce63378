// The settings kept across a firmware update, without a controller (the road
// with one is in tst_firmware_dialog_e2e): unchanged settings ask nothing,
// changed ones are offered back, no backup stops the update if the user says so.
// A file that cannot be sent is refused before anything reaches the
// controller; a quit, a signal or a logout waits for the update.
#include "device/ControllerChannel.h"
#include "device/Protocol.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareUpdate.h"
#include "model/DataManagement.h"
#include "model/SettingsBackup.h"
#include "support/TestSupport.h"
#include "support/model/ScriptedPrompt.h"
#include "support/device/ScriptedChannel.h"
#include "workflows/FirmwareUpdateFlow.h"
#include "workflows/SettingsSafeguard.h"
#include "workflows/StopSignals.h"
#include "workflows/UpdateShutdown.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

class TestSettingsSafeguard : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit()); }
    void settingsKeptAcrossTheUpdate()
    {
        DataManagement settings;
        settings.initDefaultData();
        const QByteArray before = settings.imageBytes();
        ScriptedPrompt prompt({false, true});
        ScriptedChannel channel;
        SettingsSafeguard safeguard(channel);
        safeguard.setPrompt(&prompt);
        QSignalSpy ready(&safeguard, &SettingsSafeguard::ready);
        QSignalSpy restore(&safeguard, &SettingsSafeguard::restore);
        QSignalSpy editors(&channel, &ControllerChannel::received);
        // No backup: the user is asked whether to go on, and stops there.
        channel.sendError = QStringLiteral("unplugged");
        safeguard.backUp(QStringLiteral("S"));
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(ready.takeFirst().first().toBool(), false);
        QCOMPARE(prompt.asked().size(), 1);
        channel.answer(before);
        QTRY_COMPARE(editors.count(), 1); // not asked for: the editor's own
        channel.sendError.clear();
        safeguard.backUp(QStringLiteral("S"));
        channel.answer(before);
        QTRY_COMPARE(ready.count(), 1);
        QCOMPARE(editors.count(), 1); // the backup's
        QCOMPARE(ready.first().first().toBool(), true);
        QCOMPARE(testsupport::readAll(safeguard.backupPath()).isEmpty(), false);
        QVERIFY(!safeguard.compareOnReturn(before)); // no update succeeded yet
        safeguard.expectReturn();
        QVERIFY(safeguard.compareOnReturn(before));
        QCOMPARE(prompt.asked().size(), 1);
        settings.setCurveInten(QStringLiteral("curve"), 3);
        safeguard.expectReturn();
        QVERIFY(!safeguard.compareOnReturn(settings.imageBytes()));
        QCOMPARE(prompt.asked().size(), 2);
        QCOMPARE(restore.count(), 1);
        QVERIFY(settingsbackup::sameSettings(restore.first().first().toByteArray(), before));
    }

    // On either road (the controller there, or in its loader), before any
    // message: the user is told why, the update ends declined.
    void filesThatCannotBeSentAreRefusedFirst_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why"); // empty: sent
        QTest::newRow("FIFO") << "fifo.bin"
                              << "device, pipe or socket";
        QTest::newRow("device of size 0") << "/dev/null"
                                          << "device, pipe or socket";
        QTest::newRow("folder") << "folder.bin"
                                << "folder";
        QTest::newRow("missing") << "absent.bin"
                                 << "does not exist";
        QTest::newRow("empty") << "empty.bin"
                               << "empty";
        QTest::newRow("over the controller's limit") << "big.bin"
                                                     << "at most 1048576";
        QTest::newRow("name too long for the header") << QString(125, 'n') + ".bin"
                                                      << "too long";
        QTest::newRow("at the limit") << "limit.bin"
                                      << "";
    }
    void filesThatCannotBeSentAreRefusedFirst()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        const QString path = name.startsWith('/') ? name : m_dir.filePath(name);
        if (name == "fifo.bin")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (name == "folder.bin")
            QVERIFY(QDir().mkpath(path));
        else if (name != "absent.bin" && !name.startsWith('/')) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(name == "empty.bin" ? 0
                    : name == "big.bin"             ? firmwarefile::kMaxBytes + 1
                                                    : (name == "limit.bin" ? firmwarefile::kMaxBytes : 10)));
        }
        for (const bool inLoader : {false, true}) {
            ScriptedChannel channel;
            ScriptedPrompt prompt;
            FirmwareUpdate update;
            update.setPortOverride(m_dir.filePath(QStringLiteral("no-port")));
            update.setLastLookMs(0);
            FirmwareUpdateFlow flow(channel, update);
            flow.setPrompt(&prompt);
            flow.setBackUp(false);
            QSignalSpy refused(&flow, &FirmwareUpdateFlow::refused);
            QSignalSpy declined(&update, &FirmwareUpdate::declined);
            if (inLoader)
                flow.startInUpdateMode(path);
            else
                flow.start(path);
            if (why.isEmpty()) {
                QVERIFY(refused.isEmpty() && flow.isBusy());
                QCOMPARE(channel.sent.size(), inLoader ? 0 : 1); // the update-mode command
                continue;
            }
            QCOMPARE(refused.size(), 1);
            QVERIFY2(refused.first().first().toString().contains(why), qPrintable(refused.first().first().toString()));
            QCOMPARE(declined.size(), 1);
            QCOMPARE(prompt.asked().size(), 1);
            QVERIFY(channel.sent.isEmpty() && !flow.isBusy());
        }
    }

    // SIGTERM or SIGINT: at once when no update runs; during the backup, no
    // update-mode command and then the end; during the wait for the loader
    // and the transfer, the end once it has ended by itself. A second signal
    // ends at once; the user's quit asks, and Cancel keeps going.
    void quitAndSignalsWaitForTheUpdate()
    {
        const QString file = m_dir.filePath(QStringLiteral("fw.bin"));
        testsupport::writeAll(file, "firmware");
        DataManagement settings;
        settings.initDefaultData();
        ScriptedChannel channel;
        ScriptedPrompt prompt({-1, 0});
        FirmwareUpdate update;
        update.setPortOverride(m_dir.filePath(QStringLiteral("no-port")));
        FirmwareUpdateFlow flow(channel, update);
        flow.setPrompt(&prompt);
        InProcessStopSignals stopSignals;
        UpdateShutdown shutdown(flow);
        shutdown.watch(&stopSignals);
        QSignalSpy endNow(&shutdown, &UpdateShutdown::endNow);
        bool cancelled = false;
        const auto allows = [] { return true; };
        const auto cancel = [&cancelled] { cancelled = true; };

        QVERIFY(shutdown.mayQuit(&prompt) && !shutdown.holdSessionEnd(allows, cancel));
        stopSignals.raise(SIGINT);
        QCOMPARE(endNow.takeFirst().first().toInt(), 130);

        flow.start(file, QStringLiteral("S")); // the backup's read is out
        stopSignals.raise(SIGTERM);
        QVERIFY(endNow.isEmpty());
        QVERIFY(!shutdown.holdSessionEnd([] { return false; }, cancel) && !cancelled);
        QVERIFY(shutdown.holdSessionEnd(allows, cancel) && cancelled);
        channel.answer(settings.imageBytes());
        QTRY_COMPARE(endNow.size(), 1);
        QCOMPARE(endNow.takeFirst().first().toInt(), 143);
        QCOMPARE(channel.sent.size(), 1); // the read, no update-mode command
        QCOMPARE(channel.sent.first().at(1), char(protocol::ReadSettings));
        QVERIFY(!flow.isBusy());

        // The loader never shows: the update gives up within its wait.
        update.setLastLookMs(FirmwareUpdateFlow::kCommandLeadMs + 200);
        flow.setBackUp(false);
        flow.start(file);
        QVERIFY(!shutdown.mayQuit(&prompt)); // Cancel: keeps going
        QVERIFY(!shutdown.mayQuit(&prompt)); // quit after the update
        QCOMPARE(prompt.asked().size(), 2);
        QVERIFY(endNow.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(endNow.size(), 1, 5000);
        QCOMPARE(endNow.takeFirst().first().toInt(), 0);
        QCOMPARE(channel.sent.last().at(1), char(protocol::EnterUpdate));

        flow.start(file);
        stopSignals.raise(SIGTERM);
        QVERIFY(endNow.isEmpty());
        stopSignals.raise(SIGINT);
        QCOMPARE(endNow.takeFirst().first().toInt(), 130);
    }
};

QTEST_GUILESS_MAIN(TestSettingsSafeguard)
#include "tst_settings_safeguard.moc"

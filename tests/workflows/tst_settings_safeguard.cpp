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
        ScriptedPrompt prompt({false, true, true});
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
        // The next update, begun before the controller came back, goes on
        // without a backup: nothing of the earlier one is held against it.
        safeguard.expectReturn();
        channel.sendError = QStringLiteral("unplugged");
        safeguard.backUp(QStringLiteral("S"));
        QTRY_COMPARE(ready.count(), 2);
        QVERIFY(ready.last().first().toBool() && safeguard.backupPath().isEmpty());
        QVERIFY(!safeguard.compareOnReturn(settings.imageBytes()));
        safeguard.expectReturn();
        QVERIFY(!safeguard.compareOnReturn(before));
        QCOMPARE(prompt.asked().size(), 3);
    }

    // On either road (the controller there, or in its loader), before any
    // message: the user is told why, the update ends declined.
    void filesThatCannotBeSentAreRefusedFirst_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why"); // empty: sent
        const char *const rows[][2] = {{"fifo.bin", "device, pipe or socket"}, {"/dev/null", "device, pipe or socket"},
            {"folder.bin", "folder"}, {"absent.bin", "does not exist"}, {"empty.bin", "empty"},
            {"big.bin", "at most 1048576"}, {"long.bin", "too long"}, {"limit.bin", ""}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]);
    }
    void filesThatCannotBeSentAreRefusedFirst()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        const QString path
            = name.startsWith('/') ? name : m_dir.filePath(name == "long.bin" ? QString(125, 'n') : name);
        QFile file(path);
        if (name == "fifo.bin")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (name == "folder.bin")
            QVERIFY(QDir().mkpath(path));
        else if (name != "absent.bin" && !name.startsWith('/'))
            QVERIFY(file.open(QIODevice::WriteOnly)
                && file.resize(name == "empty.bin" ? 0 : firmwarefile::kMaxBytes + (name == "big.bin")));
        for (const bool inLoader : {false, true}) {
            ScriptedChannel channel;
            ScriptedPrompt prompt;
            FirmwareUpdate update;
            update.setPortOverride(m_dir.filePath(QStringLiteral("no-port")));
            FirmwareUpdateFlow flow(channel, update);
            flow.setPrompt(&prompt);
            flow.setBackUp(false);
            QSignalSpy refused(&flow, &FirmwareUpdateFlow::refused);
            QSignalSpy declined(&update, &FirmwareUpdate::declined);
            inLoader ? flow.startInUpdateMode(path) : flow.start(path);
            QCOMPARE(channel.sent.size(), why.isEmpty() && !inLoader ? 1 : 0); // the update-mode command
            QCOMPARE(flow.isBusy(), why.isEmpty());
            QCOMPARE(declined.size() + refused.size() + prompt.asked().size(), why.isEmpty() ? 0 : 3);
            QVERIFY(why.isEmpty() || refused.first().first().toString().contains(why));
        }
    }

    // SIGTERM or SIGINT: at once when no update runs; during the backup, no
    // update-mode command and then the end; during the wait for the loader
    // and the transfer, the end once it has given up. A second signal ends at
    // once; a logout is held.
    void signalsWaitForTheUpdate()
    {
        const QString file = m_dir.filePath(QStringLiteral("fw.bin"));
        testsupport::writeAll(file, "firmware");
        DataManagement settings;
        settings.initDefaultData();
        ScriptedChannel channel;
        FirmwareUpdate update;
        update.setPortOverride(m_dir.filePath(QStringLiteral("no-port")));
        FirmwareUpdateFlow flow(channel, update);
        InProcessStopSignals stopSignals;
        UpdateShutdown shutdown(flow);
        shutdown.watch(&stopSignals);
        QSignalSpy endNow(&shutdown, &UpdateShutdown::endNow);
        bool cancelled = false;
        const auto allows = [] { return true; };
        const auto cancel = [&cancelled] { cancelled = true; };
        QVERIFY(!shutdown.holdSessionEnd(allows, cancel));
        stopSignals.raise(SIGINT);
        QCOMPARE(endNow.takeFirst().first().toInt(), 130);

        flow.start(file, QStringLiteral("S")); // the backup's read is out
        stopSignals.raise(SIGTERM);
        QVERIFY(!shutdown.holdSessionEnd([] { return false; }, cancel) && !cancelled);
        QVERIFY(shutdown.holdSessionEnd(allows, cancel) && cancelled && endNow.isEmpty());
        channel.answer(settings.imageBytes());
        QTRY_COMPARE(endNow.size(), 1);
        QCOMPARE(endNow.takeFirst().first().toInt(), 143);
        QCOMPARE(channel.sent, QList<QByteArray>{protocol::request(protocol::ReadSettings)}); // no update-mode command

        update.setLastLookMs(FirmwareUpdateFlow::kCommandLeadMs + 200);
        flow.setBackUp(false);
        flow.start(file);
        stopSignals.raise(SIGTERM);
        QVERIFY(endNow.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(endNow.size(), 1, 5000);
        QCOMPARE(endNow.takeFirst().first().toInt(), 143);
        flow.start(file);
        stopSignals.raise(SIGTERM);
        stopSignals.raise(SIGINT);
        QCOMPARE(endNow.takeFirst().first().toInt(), 130);
    }
};

QTEST_GUILESS_MAIN(TestSettingsSafeguard)
#include "tst_settings_safeguard.moc"

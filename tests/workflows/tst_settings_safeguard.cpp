// The settings kept across a firmware update, without a controller (the road
// with one is in tst_firmware_dialog_e2e): unchanged settings ask nothing,
// changed ones are offered back, no backup stops the update if the user says so.
#include "device/ControllerChannel.h"
#include "model/DataManagement.h"
#include "model/SettingsBackup.h"
#include "support/TestSupport.h"
#include "support/model/ScriptedPrompt.h"
#include "support/device/ScriptedChannel.h"
#include "workflows/SettingsSafeguard.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestSettingsSafeguard)
#include "tst_settings_safeguard.moc"

// Preset files on disk: both forms, recognised by content, bad files refused
// saying why, failed saves that keep the old file, and the settings backups
// kept before a firmware update. (Paths that are no files: tst_mavuctl.)
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/SettingsBackup.h"
#include "model/SettingsLayout.h"
#include "support/TestSupport.h"
#include "support/model/SettingsFixture.h"

#include <QDir>
#include <QtTest>

using testsupport::fromHex;
using testsupport::readAll;

class TestPresetFiles : public SettingsFixture
{
    Q_OBJECT

private slots:
    void presetFormsRoundTripByContent()
    {
        QByteArray image = m_defaults;
        image[1] = 0x02; // a controller reply's command byte is kept
        image[200] = 0x33;
        QVERIFY(preset::writeFile(path("x.stm"), image, nullptr) && preset::writeFile(path("y.SYX"), image, nullptr));
        QCOMPARE(readAll(path("x.stm")), fromHex("00 00 01 CA") + image);
        QCOMPARE(readAll(path("y.SYX")), image);
        // Renamed files are still recognised by what they hold.
        QVERIFY(QFile::rename(path("x.stm"), path("x.syx")) && QFile::rename(path("y.SYX"), path("y.stm")));
        for (const char *name : {"x.syx", "y.stm"}) {
            QByteArray read;
            QString error;
            QVERIFY2(preset::readFile(path(name), &read, &error), qPrintable(error));
            QCOMPARE(read, image);
        }
    }

    // A file that is no preset is refused unchanged, and the message says so
    // first, then why (the rows without a message: any reason will do).
    void badPresetsAreRefused_data()
    {
        DataManagement data; // the data functions run before init()
        data.initDefaultData();
        const QByteArray defaults = data.imageBytes();
        const QByteArray stm = fromHex("00 00 01 CA") + defaults;
        const QString lead = QStringLiteral("This file is not a Korvel Mavu preset. ");
        QByteArray noEnd = defaults;
        noEnd.back() = '\0';
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("text") << QByteArray("hello, this is not a preset\n")
                              << lead + "A preset begins with 00 00 01 CA or F0; this file begins with 68 65 6C 6C.";
        QTest::newRow("empty") << QByteArray() << lead + "The file is empty.";
        QTest::newRow("3 bytes") << fromHex("00 00 01") << lead + "The file is too short to be a preset (3 bytes).";
        QTest::newRow("truncated") << stm.left(300) << lead + "The file is truncated: 300 of 462 bytes are present.";
        QTest::newRow("short SysEx") << defaults.left(300)
                                     << lead + "The settings block is 300 bytes long; a complete block has 458 bytes.";
        QTest::newRow("SysEx without F7")
            << noEnd << lead + "The settings block does not begin with F0 and end with F7.";
        QTest::newRow("far too big") << QByteArray(5000, 'x')
                                     << lead + "The file is 5000 bytes long; at most 462 bytes are expected.";
        QTest::newRow("a byte too many") << stm + "x"
                                         << lead + "The file is 463 bytes long; at most 462 bytes are expected.";
        // A folder is no file at all: that is the whole story.
        QTest::newRow("folder") << QByteArray() << QStringLiteral("This is a folder, not a file.");
        const QList<QByteArray> more
            = {fromHex("00 00 00 14") + defaults.left(20), fromHex("FF FF FF FF") + defaults, stm.left(461),
                stm.left(461) + '\0', stm.left(4) + '\0' + stm.mid(5), defaults.left(457), defaults + char(0xF7)};
        for (const QByteArray &contents : more)
            QTest::newRow(contents.toHex().left(24).constData()) << contents << QString();
    }
    void badPresetsAreRefused()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        const bool folder = QByteArray(QTest::currentDataTag()) == "folder";
        const QString file = folder ? m_dir.path() : path(QStringLiteral("bad.stm"));
        if (!folder)
            testsupport::writeAll(file, contents);
        QByteArray image("untouched");
        QString error;
        QVERIFY(!preset::readFile(file, &image, &error));
        QVERIFY2(message.isEmpty() ? !error.isEmpty() : error == message, qPrintable(error));
        QVERIFY(image == "untouched" && (folder || readAll(file) == contents));
    }

    void failedReadsAndSavesSayWhyAndKeepTheOldFile()
    {
        QByteArray image;
        QString error;
        QVERIFY(!preset::readFile(path("missing.stm"), &image, &error) && !error.isEmpty());
        QVERIFY(preset::writeFile(path("keep.stm"), m_defaults, nullptr));
        const QByteArray before = readAll(path("keep.stm"));
        QVERIFY(QDir(m_dir.path()).mkpath("folder.stm/inner"));
        for (const QString &target : {path("keep.stm"), path("no/such/folder/x.stm"), path("folder.stm")}) {
            error.clear();
            QVERIFY(!preset::writeFile(target, m_defaults.left(100), &error) && !error.isEmpty()); // incomplete image
            error.clear();
            QVERIFY(target == path("keep.stm") || (!preset::writeFile(target, m_defaults, &error) && !error.isEmpty()));
        }
        QCOMPARE(readAll(path("keep.stm")), before);
        QVERIFY(QFileInfo(path("folder.stm/inner")).isDir());
    }

    void backups()
    {
        const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7));
        QCOMPARE(
            settingsbackup::fileName(at, " MAVU-SIM-0001\n"), QStringLiteral("2026-03-04_050607_MAVU-SIM-0001.stm"));
        QCOMPARE(settingsbackup::fileName(at, "../a/b c"), QStringLiteral("2026-03-04_050607_unknown-serial.stm"));
        QCOMPARE(settingsbackup::fileName(at, "KM:V 7/\\1"), QStringLiteral("2026-03-04_050607_KM_V_7__1.stm"));

        // Only the newest are kept.
        const QString folder = path(QStringLiteral("backups"));
        QString stored;
        QString error;
        for (int i = 0; i < settingsbackup::kMaxKept + 2; ++i)
            QVERIFY2(
                settingsbackup::store(folder, m_defaults, "S", at.addDays(i * 40), &stored, &error), qPrintable(error));
        const QStringList kept = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), settingsbackup::kMaxKept);
        QCOMPARE(kept.first(), settingsbackup::fileName(at.addDays(80), "S"));
        QCOMPARE(QFileInfo(stored).fileName(), kept.last());

        // Written back after an update: the settings of before, the header and version of now.
        QByteArray updated = m_defaults;
        updated[layout::kVersionOffset] = 9;
        QCOMPARE(settingsbackup::restoredImage(m_defaults, updated), updated);
        QVERIFY(!settingsbackup::sameSettings(m_defaults.left(100), m_defaults.left(100))); // not an image
    }
};

QTEST_GUILESS_MAIN(TestPresetFiles)
#include "tst_preset_files.moc"

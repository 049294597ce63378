// Preset files on disk: the three forms, recognised by content, bad files and
// bad hand edits refused saying why (and where), failed saves that keep the
// old file, the settings backups kept before a firmware update and the
// snapshots kept of each controller. (Paths that are no files: tst_mavuctl.)
#include "model/ControllerHistory.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "model/PresetText.h"
#include "model/SettingsBackup.h"
#include "model/SettingsLayout.h"
#include "support/TestSupport.h"
#include "support/model/SettingsFixture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <array>
#include <functional>

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
        QVERIFY(preset::writeFile(path("x.stm"), image, nullptr) && preset::writeFile(path("y.SYX"), image, nullptr)
            && preset::writeFile(path("z.Json"), image, nullptr));
        QCOMPARE(readAll(path("x.stm")), fromHex("00 00 01 CA") + image);
        QCOMPARE(readAll(path("y.SYX")), image);
        QVERIFY(readAll(path("z.Json")).startsWith("{\n  \"format\": \"korvel-mavu-preset\",\n  \"version\": 1,\n"));
        // Renamed files are still recognised by what they hold.
        QVERIFY(QFile::rename(path("x.stm"), path("x.syx")) && QFile::rename(path("y.SYX"), path("y.stm"))
            && QFile::rename(path("z.Json"), path("z.stm")));
        for (const char *name : {"x.syx", "y.stm", "z.stm"}) {
            QByteArray read;
            QString error;
            QVERIFY2(preset::readFile(path(name), &read, &error), qPrintable(error));
            QCOMPARE(read, image);
        }
    }

    // Each byte between F0 and F7 changed alone: the text shows it under its
    // own name and reads back to the same image.
    void textFormKeepsEveryField_data()
    {
        DataManagement data;
        data.initDefaultData();
        const QByteArray defaults = data.imageBytes();
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QStringList>("where"); // keys and indexes down to the value
        QTest::addColumn<QJsonValue>("shown");
        auto add = [&](int offset, int value, const QStringList &where,
                       const std::function<QJsonValue(const QByteArray &)> &shown) {
            QByteArray image = defaults;
            image[offset] = char(value);
            QTest::addRow("%s", qPrintable(where.join('.'))) << image << where << shown(image);
        };
        for (int i = 0; i < 7; ++i)
            add(1 + i, 0x90 + i, {"header", QString::number(i)},
                [](const QByteArray &image) { return QString::fromLatin1(image.mid(1, 7).toHex(' ').toUpper()); });
        for (int i = 0; i < 3; ++i)
            add(8 + i, 200 + i, {"firmware", QString::number(i)}, [=](const QByteArray &) { return 200 + i; });
        add(11, 3, {"curve"}, [](const QByteArray &) { return 3; });
        add(12, 99, {"intensity"}, [](const QByteArray &) { return 99; });
        struct Key {
            const char *name;
            int value;
        };
        const QVector<Key> padKeys{{"padtype", 2}, {"padData", 127}, {"padCh", 16}, {"padMode", 1}, {"padColor", 127},
            {"padColor", 64}, {"padColor", 1}};
        const QVector<Key> knobKeys{{"bqmType", 2}, {"bqmData", 127}, {"bqmCh", 16}, {"bqmLsbMin", 5}, {"bqmLsbMax", 0},
            {"bqmMsbMin", 9}, {"bqmMsbMax", 3}};
        const QVector<Key> buttonKeys{{"wbtype", 1}, {"wbData", 0}, {"wbCh", 16}, {"wbMode", 1}};
        const struct {
            const char *list;
            int count, offset;
            QVector<Key> keys;
        } records[] = {{"pads", 48, 13, padKeys}, {"knobs", 12, 349, knobKeys}, {"buttons", 6, 433, buttonKeys}};
        for (const auto &r : records) {
            for (int n = 0; n < r.count; ++n) {
                const int base = r.offset + n * r.keys.size();
                for (int k = 0; k < r.keys.size(); ++k) {
                    const bool colour = QByteArray(r.keys[k].name) == "padColor";
                    add(base + k, r.keys[k].value, {r.list, QString::number(n), r.keys[k].name},
                        [=](const QByteArray &image) -> QJsonValue {
                            if (!colour)
                                return r.keys[k].value;
                            // The screen colour: each stored component doubled.
                            return QString::asprintf(
                                "#%02x%02x%02x", 2 * image[base + 4], 2 * image[base + 5], 2 * image[base + 6]);
                        });
                }
            }
        }
    }
    void textFormKeepsEveryField()
    {
        QFETCH(QByteArray, image);
        QFETCH(QStringList, where);
        QFETCH(QJsonValue, shown);
        QString error;
        const QByteArray text = preset::encode(image, preset::Format::Json, &error);
        QVERIFY2(!text.isEmpty(), qPrintable(error));
        QJsonValue value = QJsonDocument::fromJson(text).object();
        for (const QString &step : where) {
            bool number = false;
            const int index = step.toInt(&number);
            // The header is one string of bytes: its index is no JSON step.
            if (!value.isString())
                value = number ? value.toArray().at(index) : value.toObject().value(step);
        }
        QCOMPARE(value, shown);
        QByteArray back;
        QVERIFY2(preset::decode(text, &back, &error), qPrintable(error));
        QCOMPARE(back, image);
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

        // Hand edits of the text form: each kind of mistake, with its line.
        const QByteArray text = presettext::write(defaults);
        const QByteArray pad0 = R"({"padtype": 0, "padData": 24, "padCh": 1, "padMode": 0, "padColor": "#b40000"})";
        const QList<std::array<const char *, 4>> edits{
            {"unknown key", R"("curve": 0,)", R"("curve": 0, "brightness": 1,)",
                "Line 6, brightness: this is not a setting of a preset."},
            {"unknown key of a pad", R"("padMode": 0,)", R"("padMode": 0, "velocity": 3,)",
                "Line 9, pads[0].velocity: this is not a setting of a preset."},
            {"missing", "  \"intensity\": 0,\n", "", "Line 1, intensity: this setting is missing."},
            {"missing in a knob", R"(, "bqmMsbMax": 127})", "}",
                "Line 59, knobs[0].bqmMsbMax: this setting is missing."},
            {"out of range", R"("padData": 29, "padCh": 1)", R"("padData": 29, "padCh": 17)",
                "Line 14, pads[5].padCh: 17 is out of range; 1 to 16 are allowed."},
            {"below range", R"("wbData": 21)", R"("wbData": -1)",
                "Line 73, buttons[0].wbData: -1 is out of range; 0 to 127 are allowed."},
            {"out of the firmware's range", "[1, 0, 0]", "[1, 256, 0]",
                "Line 5, firmware[1]: 256 is out of range; 0 to 255 are allowed."},
            {"text for a number", R"("padData": 24,)", R"("padData": "24",)",
                "Line 9, pads[0].padData: a whole number is expected."},
            {"fraction", R"("intensity": 0)", R"("intensity": 0.5)", "Line 7, intensity: a whole number is expected."},
            {"number for a list", "[1, 0, 0]", "1", "Line 5, firmware: a list in brackets is expected."},
            {"number for a pad", pad0.constData(), "5", "Line 9, pads[0]: a group of settings in braces is expected."},
            {"bad colour", "\"#b40000\"", "\"#b4000\"",
                "Line 9, pads[0].padColor: a colour such as \"#ff8000\" is expected."},
            {"colour by name", "\"#b40000\"", "\"red\"",
                "Line 9, pads[0].padColor: a colour such as \"#ff8000\" is expected."},
            {"a button too few", ",\n    {\"wbtype\": 0, \"wbData\": 26, \"wbCh\": 1, \"wbMode\": 0}", "",
                "Line 72, buttons: 5 entries are given; 6 are expected."},
            {"twice", R"("curve": 0,)", R"("curve": 0, "curve": 1,)", "Line 6, curve: this setting is given twice."},
            {"other format", "korvel-mavu-preset", "other", "Line 2, format: \"korvel-mavu-preset\" is expected."},
            {"newer version", R"("version": 1)", R"("version": 2)",
                "Line 3, version: this editor reads presets of version 1 only."},
            {"bad header", "00 20 6F 00", "00 20 6F",
                "Line 4, header: seven bytes in hexadecimal such as \"01 00 00 00 20 6F 00\" are expected."},
            {"no JSON", R"("version": 1,)", R"("version": 1,,)", "Line 3: \",\" is not expected here."},
            {"more after the end", "\n}\n", "\n}\nx", "Line 81: \"x\" is not expected here."},
        };
        for (const auto &e : edits) {
            QByteArray edited = text;
            QVERIFY(edited.contains(e[1]));
            edited.replace(edited.indexOf(e[1]), int(qstrlen(e[1])), e[2]);
            QTest::newRow(e[0]) << edited << QString::fromUtf8(e[3]);
        }
        QTest::newRow("cut short") << text.left(text.indexOf("knobs")) << "Line 58: the text ends too early.";
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

        // A name in no known form is refused, unless it is a preset already:
        // then its form is kept.
        QVERIFY(!preset::writeFile(path("x.txt"), m_defaults, &error) && !QFile::exists(path("x.txt")));
        QCOMPARE(error, QStringLiteral("A preset file name ends in .stm, .syx or .json."));
        QVERIFY(QFile::copy(path("keep.stm"), path("keep.bak")));
        QByteArray changed = m_defaults;
        changed[20] = 5;
        QVERIFY(preset::writeFile(path("keep.bak"), changed, &error));
        QCOMPARE(readAll(path("keep.bak")), preset::encode(changed, preset::Format::Stm));
        // Values the text cannot hold are no text preset.
        changed[15] = 0; // pad 0's channel
        QVERIFY(!preset::writeFile(path("bad.json"), changed, &error) && !QFile::exists(path("bad.json")));
        QVERIFY2(error.contains("pads[0].padCh: 0 is out of range"), qPrintable(error));
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

    // Each exchange kept once under the controller's serial number, newest first.
    void historyKeepsEachImageOnce()
    {
        const QString folder = path(QStringLiteral("history"));
        const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7, 8), Qt::UTC);
        QByteArray changed = m_defaults;
        changed[20] = 9;
        QByteArray sentCopy = changed;
        sentCopy[1] = 0x02; // only the command byte differs: the same image
        const QList<std::pair<history::Event, QByteArray>> exchanges{{history::Event::Read, m_defaults},
            {history::Event::Get, m_defaults}, {history::Event::Send, changed}, {history::Event::Get, sentCopy},
            {history::Event::Restore, m_defaults}, {history::Event::Backup, changed}};
        QString error;
        for (int i = 0; i < exchanges.size(); ++i)
            QVERIFY2(history::record(folder, "KMV1", exchanges[i].first, exchanges[i].second, at.addSecs(i), &error),
                qPrintable(error));
        history::Recorder recorder(folder); // the same through the editor's thread
        recorder.record("OTHER", history::Event::Get, changed, at.addDays(-1));
        recorder.waitForDone();
        QStringList kept;
        for (const history::Snapshot &s : history::list(folder))
            kept << QStringLiteral("%1 %2 %3").arg(s.id, s.event, s.when.toString(Qt::ISODateWithMs));
        QCOMPARE(kept,
            (QStringList{"KMV1.4 backup 2026-03-04T05:06:12.008Z", "KMV1.3 restore 2026-03-04T05:06:11.008Z",
                "KMV1.2 send 2026-03-04T05:06:09.008Z", "KMV1.1 read 2026-03-04T05:06:07.008Z",
                "OTHER.1 get 2026-03-03T05:06:07.008Z"}));
        QCOMPARE(history::list(folder, "OTHER").size(), 1);
        history::Snapshot found;
        QByteArray image;
        QVERIFY(history::find(folder, "KMV1.2", &found, &image, &error) && image == changed && found.event == "send");
        for (const char *id : {"KMV1.9", "KMV1", "../history/KMV1.2", ".2", ""})
            QVERIFY(!history::find(folder, id, &found, &image, &error) && !error.isEmpty());
    }

    // Serial numbers come from the device: none leads out of the folder.
    void historyFolderNamesAreSafe_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QStringLiteral("KMV-0001.a") << QStringLiteral("KMV-0001.a");
        QTest::newRow("unreadable") << QStringLiteral("") << QStringLiteral("unknown-serial");
        QTest::newRow("blank") << QStringLiteral("  ") << QStringLiteral("unknown-serial");
        QTest::newRow("parent") << QStringLiteral("..") << QStringLiteral("unknown-serial");
        QTest::newRow("hidden") << QStringLiteral(".x") << QStringLiteral("unknown-serial");
        QTest::newRow("path") << QStringLiteral("../../etc/x") << QStringLiteral("unknown-serial");
        QTest::newRow("slashes") << QStringLiteral("a/b\\c d") << QStringLiteral("a_b_c_d");
        QTest::newRow("too long") << QString(300, 'k') << QString(64, 'k');
    }
    void historyFolderNamesAreSafe()
    {
        QFETCH(QString, serial);
        QFETCH(QString, folder);
        const QString history = path(QStringLiteral("h"));
        QString error;
        QVERIFY2(
            history::record(history, serial, history::Event::Read, m_defaults, QDateTime::currentDateTimeUtc(), &error),
            qPrintable(error));
        QCOMPARE(QDir(history).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{folder});
        QCOMPARE(history::list(history).value(0).id, folder + ".1");
        QDir(history).removeRecursively();
    }

    // At most kMaxKept, the oldest going first, but never the newest
    // kNewestKept nor the backups made before a firmware update.
    void historyIsPruned_data()
    {
        QTest::addColumn<int>("backups"); // the oldest this many are backups
        QTest::addColumn<QList<int>>("gone");
        QTest::addColumn<int>("left");
        QTest::newRow("oldest goes") << 0 << QList<int>{1} << history::kMaxKept;
        QTest::newRow("backups stay") << 5 << QList<int>{6} << history::kMaxKept;
        QTest::newRow("newest stay") << history::kMaxKept - history::kNewestKept + 1 << QList<int>{}
                                     << history::kMaxKept + 1;
    }
    void historyIsPruned()
    {
        QFETCH(int, backups);
        QFETCH(QList<int>, gone);
        QFETCH(int, left);
        const QString folder = path(QStringLiteral("pruned"));
        QVERIFY(QDir().mkpath(folder + "/S"));
        for (int n = 1; n <= history::kMaxKept; ++n)
            testsupport::writeAll(QStringLiteral("%1/S/%2_20260101T000000.000Z_%3.syx")
                                      .arg(folder)
                                      .arg(n, 6, 10, QChar('0'))
                                      .arg(n <= backups ? "backup" : "read"),
                m_defaults);
        QByteArray newer = m_defaults;
        newer[30] = 1;
        QString error;
        QVERIFY(history::record(folder, "S", history::Event::Get, newer, QDateTime::currentDateTimeUtc(), &error));
        QStringList ids;
        for (const history::Snapshot &s : history::list(folder, "S"))
            ids << s.id;
        QCOMPARE(ids.size(), left);
        QCOMPARE(ids.first(), QStringLiteral("S.%1").arg(history::kMaxKept + 1));
        for (int n : gone)
            QVERIFY(!ids.contains(QStringLiteral("S.%1").arg(n)));
        QVERIFY(ids.contains(QStringLiteral("S.%1").arg(gone.isEmpty() ? 1 : gone.first() + 1)));
        QDir(folder).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestPresetFiles)
#include "tst_preset_files.moc"

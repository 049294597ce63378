// The settings: the model's image and defaults, the operations the pages and
// mavuctl call, the colour arithmetic, preset files on disk, and mavuctl's
// file commands.
#include "cli/EditCommand.h"
#include "cli/SetCommand.h"
#include "device/MidiDoctor.h"
#include "firmware/Doctor.h"
#include "i18n/Trans.h"
#include "model/ColorMath.h"
#include "model/ControlHit.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/PresetFile.h"
#include "model/SettingsDiff.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace layout;
using testsupport::fromHex;
using testsupport::readAll;
using Ints = QVector<int>;
using Data = DataManagement &;
using Edit = std::function<void(Data)>;
Q_DECLARE_METATYPE(Edit)
using Edits = std::function<void(Data, EditHistory &)>;
Q_DECLARE_METATYPE(Edits)

namespace {

testsupport::ProcessResult mavuctl(const QStringList &args)
{
    return testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), args);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    DataManagement m_data;
    QByteArray m_defaults;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // One key of count records from first on.
    Ints field(QVariantMap (DataManagement::*get)(int), int first, int count, const char *key)
    {
        Ints v;
        for (int i = first; i < first + count; ++i)
            v << (m_data.*get)(i).value(key).toInt();
        return v;
    }
    Ints pads(int first, int count, const char *key) { return field(&DataManagement::getPadInfo, first, count, key); }
    Ints knobs(int first, const char *key) { return field(&DataManagement::getBQMInfo, first, 4, key); }
    Ints rgb(int p) { return {pads(p, 1, "padR")[0], pads(p, 1, "padG")[0], pads(p, 1, "padB")[0]}; }
    // An edit operation with its arguments, or "set" and its.
    static bool apply(Data d, const QStringList &args, QString *error)
    {
        return args.first() == "set" ? cli::applySet(d, args.mid(1), error)
                                     : cli::applyEdit(d, args.first(), args.mid(1), error);
    }

private slots:
    void init()
    {
        DataManagement fresh;
        fresh.initDefaultData();
        m_defaults = fresh.imageBytes();
        m_data.setImage(m_defaults.constData(), m_defaults.size());
    }

    void imageAndDefaults()
    {
        DataManagement blank;
        const QByteArray header = fromHex("F0 01 00 00 00 20 6F 00 01 00 00");
        QCOMPARE(blank.imageBytes(), header + QByteArray(kImageSize - 12, '\0') + char(kSysExEnd));
        QSignalSpy updated(&blank, &DataManagement::s_updateDate);
        blank.initDefaultData();
        QCOMPARE(updated.count(), 1);
        QCOMPARE(blank.imageBytes().left(11) + blank.imageBytes().right(1), header + char(kSysExEnd));
        // Spot checks of the defaults the controller gets: each bank its colour, the knobs' controllers.
        QCOMPARE(pads(15, 2, "padR") + pads(31, 2, "padG") + pads(47, 1, "padB"), (Ints{90, 0, 90, 0, 90}));
        QCOMPARE(pads(0, 48, "padCh"), Ints(48, 1));
        QCOMPARE(knobs(8, "bqmData"), (Ints{53, 54, 51, 52}));
        // Defaults keep what the controller reported: command byte, version, curve, intensity.
        QByteArray reply = m_defaults;
        reply.replace(1, 1, "\x02").replace(8, 5, fromHex("02 03 04 03 63"));
        m_data.setImage(reply.constData(), reply.size());
        m_data.initDefaultData();
        QCOMPARE(m_data.imageBytes(), reply);
        QCOMPARE(m_data.getVerInfo(), (QVariantList{2, 3, 4}));
    }

    void batches()
    {
        QSignalSpy updated(&m_data, &DataManagement::s_updateDate);
        m_data.setPadBatch(2, "note", false, "padData", 120);
        QCOMPARE(pads(16, 16, "padData"), (Ints{120, 121, 122, 123, 124, 125, 126, 127} + Ints(8, 127)));
        m_data.setPadBatch(1, "cc", true, "padData", 5);
        QCOMPARE(pads(0, 16, "padData"), (Ints{5, 4, 3, 2, 1, 0} + Ints(10, 0)));
        QCOMPARE(pads(0, 16, "padtype"), Ints(16, 1));
        m_data.setPadBatch(3, "pc", false, "padCh", 10);
        QCOMPARE(pads(32, 16, "padCh") + pads(32, 16, "padtype"), Ints(16, 10) + Ints(16, 2));
        m_data.setPadBatch(3, "bogus", false, "nonsense", 3); // unknown mode means note
        QCOMPARE(pads(32, 16, "padtype"), Ints(16, 0));
        m_data.setBQMBatch(1, "pitch", "bqmData", 126);
        QCOMPARE(knobs(0, "bqmData") + knobs(0, "bqmType"), (Ints{126, 127, 127, 127, 2, 2, 2, 2}));
        m_data.setBQMBatch(3, "chn", "bqmData", -2);
        QCOMPARE(knobs(8, "bqmData") + knobs(8, "bqmType"), (Ints{0, 0, 0, 1, 1, 1, 1, 1}));
        m_data.setBQMBatch(2, "cc", "bqmLsbMin", 9);
        QCOMPARE(knobs(4, "bqmLsbMin") + knobs(4, "bqmData"), (Ints{9, 9, 9, 9, 14, 15, 12, 13}));
        QCOMPARE(updated.count(), 7);
        // Only the bank's records change.
        QCOMPARE(m_data.imageBytes().left(padOffset(0)), m_defaults.left(padOffset(0)));
        QCOMPARE(m_data.imageBytes().mid(knobOffset(12)), m_defaults.mid(knobOffset(12)));
        const QByteArray before = m_data.imageBytes();
        for (int bank : {0, 4, -1}) {
            m_data.setPadBatch(bank, "cc", false, "padData", 1);
            m_data.setPadBatchColor(bank, "#ffffff");
            m_data.setBQMBatch(bank, "pitch", "bqmData", 1);
            m_data.setLum(bank, 0.5f);
        }
        QCOMPARE(updated.count(), 7);
        QCOMPARE(m_data.imageBytes(), before);
    }

    void coloursAndBrightness()
    {
        QSignalSpy updated(&m_data, &DataManagement::s_updateDate);
        m_data.setPadInfo(5, "padRGB", QString("#ff8000"));
        QCOMPARE(rgb(5), (Ints{127, 64, 0}));
        m_data.setLum(1, 0.5f);
        QCOMPARE(rgb(5), (Ints{63, 32, 0}));
        m_data.setLum(1, 0.0f);
        QCOMPARE(rgb(5), (Ints{0, 0, 0}));
        m_data.setLum(1, 1.0f);
        QCOMPARE(rgb(5) + rgb(0) + rgb(16), (Ints{127, 64, 0, 127, 0, 0, 0, 90, 0})); // per bank, from the full colour
        m_data.setPadBatchColor(2, "#000000"); // black lights white at full brightness
        QCOMPARE(rgb(20), (Ints{0, 0, 0}));
        m_data.setLum(2, 1.0f);
        QCOMPARE(pads(16, 16, "padB"), Ints(16, 127));
        QCOMPARE(updated.count(), 5);
        m_data.setPadInfo(3, "padRGB", QString("not a colour"));
        QCOMPARE(rgb(3), (Ints{0, 0, 0}));
        // Short, long and QML's alpha form; anything else is no colour at all.
        std::array<int, 3> c{};
        QVERIFY(::parseColor("#f80", &c) && c == (std::array<int, 3>{255, 136, 0}));
        QVERIFY(::parseColor("#7fFF8001", &c) && c == (std::array<int, 3>{255, 128, 1}));
        QVERIFY(!::parseColor("#ff800", &c) && !::parseColor("#ff800g", &c) && !::parseColor("ff8000", &c));
        QCOMPARE(m_data.fullColor(3), (std::array<std::int8_t, 3>{127, 127, 127}));
        // Bytes above 7F (a preset may hold them) read as negative: white too. Single precision falls short.
        QCOMPARE(::normalizeColor(-5, -1, -128), (std::array<std::int8_t, 3>{127, 127, 127}));
        QCOMPARE(::normalizeColor(15, 0, 0), (std::array<std::int8_t, 3>{126, 0, 0}));
    }

    void singleFields()
    {
        QSignalSpy updated(&m_data, &DataManagement::s_updateDate);
        m_data.setPadInfo(47, "padCh", 16);
        m_data.setPadInfo(0, "padData", 300); // its low byte
        m_data.setPadInfo(1, "padData", 200); // read back signed, as stored
        m_data.setBQMInfo(11, "bqmMsbMin", 5);
        m_data.setWalkingBeltInfo(5, "wbtype", 1);
        m_data.setCurveInten("curve", 3);
        m_data.setCurveInten("intensity", 100);
        QCOMPARE(pads(47, 1, "padCh") + pads(0, 2, "padData"), (Ints{16, 44, -56}));
        QCOMPARE(knobs(8, "bqmMsbMin")[3], 5);
        QCOMPARE(m_data.getWalkingBeltInfo(5).value("wbtype").toInt(), 1);
        QCOMPARE(m_data.imageBytes().mid(kCurveOffset, 2), fromHex("03 64"));
        QCOMPARE(updated.count(), 0);
        // Unknown keys and indexes change nothing.
        const QByteArray before = m_data.imageBytes();
        m_data.setPadInfo(2, "padR", 5); // colours only go through the string form
        m_data.setPadInfo(2, "padData", QString("#ffffff"));
        m_data.setPadInfo(48, "padData", 1);
        m_data.setPadInfo(-1, "padRGB", QString("#ffffff"));
        m_data.setBQMInfo(12, "bqmData", 1);
        m_data.setWalkingBeltInfo(6, "wbData", 1);
        QCOMPARE(m_data.imageBytes(), before);
        QVERIFY(m_data.getPadInfo(48).isEmpty() && m_data.getPadInfo(-1).isEmpty() && m_data.getBQMInfo(12).isEmpty());
        QVERIFY(m_data.getWalkingBeltInfo(6).isEmpty() && m_data.getWalkingBeltInfo(-1).isEmpty());
    }

    // One row per setting the user knows (a colour is one), named by bank; taking every row makes both equal.
    void differencesBySetting()
    {
        m_data.setPadInfo(18, "padRGB", QString("#ff0000"));
        m_data.setBQMInfo(5, "bqmCh", 9);
        m_data.setWalkingBeltInfo(1, "wbMode", 1);
        m_data.setCurveInten("curve", 3);
        const QByteArray edited = m_data.imageBytes();
        const auto diffs = settingsDiff::compare(m_defaults, edited);
        QCOMPARE(settingsDiff::toText(diffs),
            QString("GLOBAL      curve      FULL -> EXP\n"
                    "PAD B3      padColor   0 90 0 -> 127 0 0\n"
                    "KNOB B2     bqmCh      1 -> 9\n"
                    "BUTTON stop  wbMode     Momentary -> Toggle\n"));
        QByteArray taken = m_defaults;
        for (const auto &d : diffs)
            settingsDiff::take(d, edited, &taken);
        QCOMPARE(taken, edited);
        QVERIFY(settingsDiff::compare(edited, edited).isEmpty());
        QCOMPARE(settingsDiff::compare(QByteArray("short"), m_defaults).size() > 0, true);
    }

    // Each row: how many undos take the edits back, the menu's text, the edits.
    void undoAndRedoEveryEdit_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<Edits>("edits");
        const auto row = [](const char *name, int steps, const char *text, Edits edits) {
            QTest::newRow(name) << steps << QString(text) << edits;
        };
        const auto field = [](const char *key, int first, int second) {
            return [=](Data d, EditHistory &) {
                d.setPadInfo(2, "padData", first);
                d.setPadInfo(second < 0 ? 3 : 2, key, std::abs(second));
            };
        };
        const auto whole = [](const char *what) {
            return [what](Data d, EditHistory &h) {
                QByteArray other = d.imageBytes();
                other[padOffset(7) + 1] = 5;
                other[kCurveOffset] = 3;
                const EditHistory::Group step(&h, what);
                QString(what) == "restoreDefault" ? d.initDefaultData() : d.setImage(other.constData(), other.size());
            };
        };
        row("colour", 1, "Undo Pad B2 colour", [](Data d, EditHistory &) { d.setPadInfo(17, "padRGB", "#ff0000"); });
        row("knob field", 1, "Undo Knob B2 channel", [](Data d, EditHistory &) { d.setBQMInfo(5, "bqmCh", 3); });
        row("button field", 1, "Undo Button Stop mode",
            [](Data d, EditHistory &) { d.setWalkingBeltInfo(1, "wbMode", 1); });
        row("curve", 1, "Undo velocity curve", [](Data d, EditHistory &) { d.setCurveInten("curve", 2); });
        row("brightness", 1, "Undo several settings", [](Data d, EditHistory &) { d.setLum(3, 0.5f); });
        row("function page fills a bank", 1, "Undo fill bank B", [](Data d, EditHistory &h) {
            h.beginGroup("fillBank", 2);
            d.setPadBatch(2, "cc", true, "padData", 60);
            d.setPadBatchColor(2, "#00ff00");
            d.setLum(2, 0.5f);
            d.setBQMBatch(2, "pitch", "bqmCh", 4);
            d.setCurveInten("intensity", 90);
            h.endGroup();
        });
        row("a batch call alone", 1, "Undo several settings",
            [](Data d, EditHistory &) { d.setPadBatch(1, "note", false, "padCh", 5); });
        row("open preset", 1, "Undo open preset", whole("openPreset"));
        row("get from hardware", 1, "Undo get from hardware", whole("getFromHardware"));
        row("restore the default", 1, "Undo restore the default", whole("restoreDefault"));
        // Repeated edits of one setting merge, those of others do not.
        row("pad field typed twice", 1, "Undo Pad A3 note", field("padData", 40, 41));
        row("typed back as it was", 0, "Undo", field("padData", 40, 26));
        row("two fields of a pad", 2, "Undo Pad A3 channel", field("padCh", 40, 3));
        row("one field of two pads", 2, "Undo Pad A4 note", field("padData", 40, -40));
    }
    void undoAndRedoEveryEdit()
    {
        QFETCH(int, steps);
        QFETCH(QString, undoText);
        QFETCH(Edits, edits);
        m_data.setBQMInfo(0, "bqmCh", 9); // so that the defaults change something
        const QByteArray start = m_data.imageBytes();
        EditHistory history(&m_data);
        edits(m_data, history);
        const QByteArray after = m_data.imageBytes();
        QCOMPARE(history.undoText(), undoText);
        for (int i = 0; i < steps; ++i) {
            QVERIFY(m_data.imageBytes() != start);
            history.undo();
        }
        QCOMPARE(m_data.imageBytes(), start);
        QCOMPARE(history.canUndo(), false); // the undos took no steps of their own
        for (int i = 0; i < steps; ++i)
            history.redo();
        QCOMPARE(m_data.imageBytes(), after);
        QCOMPARE(history.canRedo(), false);
        if (steps == 0)
            return;
        history.undo();
        QCOMPARE(history.redoText(), QString(undoText).replace("Undo", "Redo"));
        m_data.setCurveInten("intensity", 77); // drops the step undone
        QCOMPARE(history.canRedo(), false);
        for (int i = 0; i < steps; ++i)
            history.undo();
        QCOMPARE(m_data.imageBytes(), start);
        QCOMPARE(history.canUndo(), false);
    }

    // The steps outlive a language switch and are named in the new language.
    void editHistoryFollowsTheLanguage()
    {
        EditHistory history(&m_data);
        m_data.setPadInfo(2, "padData", 40);
        Trans trans(nullptr);
        trans.reTrans(QStringLiteral("简体中文"));
        const QString chinese = history.undoText();
        trans.reTrans(QStringLiteral("English"));
        QCOMPARE(chinese, QStringLiteral("撤销打击垫 A3 音符"));
        QCOMPARE(history.undoText(), QStringLiteral("Undo Pad A3 note"));
    }

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

    void badPresetsAreRefused()
    {
        const QByteArray stm = fromHex("00 00 01 CA") + m_defaults;
        const QList<QByteArray> bad = {QByteArray(), QByteArray("\x00\x00\x01", 3),
            fromHex("00 00 00 14") + m_defaults.left(20), fromHex("FF FF FF FF") + m_defaults, stm.left(461), stm + "x",
            stm.left(461) + '\0', stm.left(4) + '\0' + stm.mid(5), m_defaults.left(457), m_defaults + char(0xF7),
            "hello, this is not a preset\n"};
        for (const QByteArray &contents : bad) {
            testsupport::writeAll(path("bad.stm"), contents);
            QByteArray image("untouched");
            QString error;
            QVERIFY2(!preset::readFile(path("bad.stm"), &image, &error), contents.toHex().left(40).constData());
            QVERIFY(!error.isEmpty() && image == "untouched" && readAll(path("bad.stm")) == contents);
        }
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

    // Paths that are no preset file are refused from their type and size,
    // unopened: a pipe would wait for a writer for ever, a device never end.
    void notFilesAreRefusedUnread_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("pipe") << QString("pipe.stm") << "device, pipe or socket";
        QTest::newRow("character device") << QString("/dev/zero") << "device, pipe or socket";
        QTest::newRow("folder") << QString("folder.syx") << "folder";
        QTest::newRow("far too big") << QString("huge.stm") << "at most 462 bytes";
    }
    void notFilesAreRefusedUnread()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        const QString target = name.startsWith('/') ? name : path(name);
        if (name == "pipe.stm")
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        else if (name == "folder.syx")
            QVERIFY(QDir().mkpath(target));
        else if (name == "huge.stm")
            QVERIFY(QFile(target).open(QIODevice::WriteOnly) && QFile(target).resize(qint64(1) << 32));
        QByteArray image("untouched");
        QString error;
        QVERIFY(!preset::readFile(target, &image, &error));
        QVERIFY2(error.contains(why) && image == "untouched", qPrintable(error));
        const auto r = mavuctl({"dump", target});
        QVERIFY2(r.exitCode == 1 && r.err.contains(why.toUtf8()), r.err.constData());
    }

    // mavuctl's edits reach the model operation of their name with their
    // arguments; its sets (first word "set") the fields of the control they name.
    void editsReachTheirOperation_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::addColumn<Edit>("same");
        const auto row
            = [](const QStringList &edit, Edit same) { QTest::newRow(qPrintable(edit.join(' '))) << edit << same; };
        row({"setPadInfo", "47", "padCh", "16"}, [](Data d) { d.setPadInfo(47, "padCh", 16); });
        row({"setPadInfo", "5", "padRGB", "#ff8000"}, [](Data d) { d.setPadInfo(5, "padRGB", QString("#ff8000")); });
        row({"setPadBatch", "2", "note", "true", "padData", "120"},
            [](Data d) { d.setPadBatch(2, "note", true, "padData", 120); });
        row({"setPadBatchColor", "3", "#0000ff"}, [](Data d) { d.setPadBatchColor(3, "#0000ff"); });
        row({"setBQMInfo", "11", "bqmMsbMin", "5"}, [](Data d) { d.setBQMInfo(11, "bqmMsbMin", 5); });
        row({"setBQMBatch", "1", "pitch", "bqmData", "126"}, [](Data d) { d.setBQMBatch(1, "pitch", "bqmData", 126); });
        row({"setWalkingBeltInfo", "3", "wbtype", "1"}, [](Data d) { d.setWalkingBeltInfo(3, "wbtype", 1); });
        row({"setLum", "1", "0.5"}, [](Data d) { d.setLum(1, 0.5f); });
        row({"setCurveInten", "intensity", "90"}, [](Data d) { d.setCurveInten("intensity", 90); });
        row({"initDefaultData"}, [](Data d) { d.initDefaultData(); });
        row({"set", "PAD", "A6", "note", "C#4", "channel", "3"}, [](Data d) {
            d.setPadInfo(5, "padtype", 0);
            d.setPadInfo(5, "padData", 61);
            d.setPadInfo(5, "padCh", 3);
        });
        row({"set", "pad:c16", "pc", "5", "color", "#ff8000"}, [](Data d) {
            d.setPadInfo(47, "padtype", 2);
            d.setPadInfo(47, "padData", 5);
            d.setPadInfo(47, "padRGB", QString("#ff8000"));
        });
        row({"set", "KNOB", "B2", "type", "pitch", "msb-max", "100"}, [](Data d) {
            d.setBQMInfo(5, "bqmType", 2);
            d.setBQMInfo(5, "bqmMsbMax", 100);
        });
        row({"set", "BUTTON", "stop", "cc", "20", "mode", "toggle"}, [](Data d) {
            d.setWalkingBeltInfo(1, "wbtype", 0);
            d.setWalkingBeltInfo(1, "wbData", 20);
            d.setWalkingBeltInfo(1, "wbMode", 1);
        });
        row({"set", "BANK", "C", "notes", "36", "brightness", "0.5"}, [](Data d) {
            d.setPadBatch(3, "note", false, "padData", 36);
            d.setLum(3, 0.5f);
        });
        row({"set", "bank:b", "knob-ccs", "20", "color", "#0000ff"}, [](Data d) {
            d.setBQMBatch(2, "cc", "bqmData", 20);
            d.setPadBatchColor(2, "#0000ff");
        });
        row({"set", "GLOBAL", "curve", "exp", "pressure", "90"}, [](Data d) {
            d.setCurveInten("curve", 3);
            d.setCurveInten("intensity", 90);
        });
    }
    void editsReachTheirOperation()
    {
        QFETCH(QStringList, edit);
        QFETCH(Edit, same);
        DataManagement byCli, direct;
        for (DataManagement *d : {&byCli, &direct}) {
            d->setImage(m_defaults.constData(), m_defaults.size());
            d->setPadInfo(0, "padData", 1); // so that the defaults change something
        }
        QString error;
        QVERIFY2(apply(byCli, edit, &error), qPrintable(error));
        same(direct);
        QCOMPARE(byCli.imageBytes(), direct.imageBytes());
    }

    void badEditsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::newRow("unknown op") << QStringList{"setEverything", "1"};
        QTest::newRow("too many") << QStringList{"setLum", "1", "0.5", "2"};
        QTest::newRow("not a number") << QStringList{"setPadInfo", "x", "padData", "1"};
        QTest::newRow("pad border") << QStringList{"setPadInfo", "48", "padData", "1"};
        QTest::newRow("bank border") << QStringList{"setPadBatch", "4", "note", "false", "padData", "1"};
        QTest::newRow("bad key") << QStringList{"setBQMInfo", "0", "bqmdata", "1"};
        QTest::newRow("bad colour") << QStringList{"setPadBatchColor", "1", "#ggg"};
        QTest::newRow("value range") << QStringList{"setWalkingBeltInfo", "0", "wbData", "128"};
        QTest::newRow("brightness range") << QStringList{"setLum", "1", "1.5"};
        QTest::newRow("no such control") << QStringList{"set", "PAD", "D1", "note", "5"};
        QTest::newRow("no such key") << QStringList{"set", "KNOB", "A1", "note", "5"};
        QTest::newRow("note range") << QStringList{"set", "PAD", "A6", "note", "H4"};
        QTest::newRow("a later value bad") << QStringList{"set", "PAD", "A6", "note", "60", "channel", "17"};
        QTest::newRow("value missing") << QStringList{"set", "BUTTON", "stop", "mode"};
    }
    void badEditsChangeNothing()
    {
        QFETCH(QStringList, edit);
        QString error;
        QVERIFY(!apply(m_data, edit, &error) && !error.isEmpty());
        QCOMPARE(m_data.imageBytes(), m_defaults);
    }

    void mavuctlFileCommands()
    {
        const QString stm = path("p.stm");
        QCOMPARE(mavuctl({"defaults", stm}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", stm, "setPadInfo", "5", "padData", "99"}).exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(mavuctl({"dump", "--json", stm}).out)["pads"][5]["padData"].toInt(), 99);
        QCOMPARE(mavuctl({"convert", stm, path("p.syx")}).exitCode, 0);
        QCOMPARE(readAll(path("p.syx")), readAll(stm).mid(4));
        QCOMPARE(mavuctl({"convert", path("p.syx"), path("back.stm")}).exitCode, 0);
        QCOMPARE(readAll(path("back.stm")), readAll(stm));
        // Global options before or after the command, in both forms; a command's own help.
        for (const QStringList &args :
            {QStringList{"--midi-api", "jack", "dump", "--json", stm}, {"dump", stm, "--json", "--midi-api=jack"}})
            QCOMPARE(QJsonDocument::fromJson(mavuctl(args).out)["pads"][5]["padData"].toInt(), 99);
        const auto help = mavuctl({"dump", "--help"});
        QVERIFY2(help.exitCode == 0 && help.out.startsWith("Usage: mavuctl dump") && help.out.contains("--json"),
            help.out.constData());
        QCOMPARE(mavuctl({"set", stm, "PAD", "A6", "note", "C4"}).exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(mavuctl({"dump", "--json", stm}).out)["pads"][5]["padData"].toInt(), 60);
        // Each command's keys in its help; edit's say where counting starts.
        QVERIFY(mavuctl({"set", "--help"})
                    .out.contains("BUTTON previous|stop|next|record|start|repeat\n"
                                  "                    type cc|mc, cc 0..127, channel 1..16"));
        QVERIFY(mavuctl({"--help"}).out.contains("INDEX       counts from 0: pads 0..47"));

        // Bad command lines and files: one line on stderr, nothing else, the file as it was.
        testsupport::writeAll(path("trunc.stm"), readAll(stm).left(300));
        const QList<QStringList> bad = {{}, {"frobnicate"}, {"dump", stm, stm}, {"edit", stm, "setLum", "9", "1"},
            {"dump", path("trunc.stm")}, {"edit", path("trunc.stm"), "initDefaultData"},
            {"convert", path("trunc.stm"), path("out.syx")}, {"dump", "--bogus", stm}, {"--midi-api", "x", "dump", stm},
            {"get", "-o"}, {"set", stm, "PAD", "A6", "note", "128"}, {"set", stm, "PAD", "A6"}};
        const QByteArray before = readAll(stm);
        for (const QStringList &args : bad) {
            const auto r = mavuctl(args);
            QVERIFY2(r.exitCode > 0 && r.out.isEmpty(), qPrintable(args.join(' ')));
            QVERIFY2(r.err.startsWith("mavuctl: ") && r.err.count('\n') == 1, r.err.constData());
        }
        QCOMPARE(readAll(stm), before);
        QCOMPARE(readAll(path("trunc.stm")).size(), 300);
        QVERIFY(!QFile::exists(path("out.syx")));
    }

    // As diff(1): 0 and nothing when equal (whatever the form), 1 and a line per setting, 2 and why.
    void mavuctlDiff_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("equal") << QStringList{"@a.stm", "@a.syx"} << 0 << QByteArray() << QByteArray();
        QTest::newRow("differ") << QStringList{"@a.syx", "@b.stm"} << 1
                                << QByteArray("PAD A3      padData    26 (D1) -> 61 (C#4)\n"
                                              "PAD B3      padColor   0 90 0 -> 127 0 0\n"
                                              "KNOB B2     bqmCh      1 -> 9\n")
                                << QByteArray();
        QTest::newRow("unreadable") << QStringList{"@b.stm", "@none.stm"} << 2 << QByteArray()
                                    << QByteArray("mavuctl: cannot open ");
        QTest::newRow("one preset") << QStringList{"@a.stm"} << 2 << QByteArray()
                                    << QByteArray("mavuctl: usage: mavuctl diff A B");
        QTest::newRow("unknown option") << QStringList{"--bogus", "@a.stm", "@b.stm"} << 2 << QByteArray()
                                        << QByteArray("mavuctl: Unknown option 'bogus'.");
    }
    void mavuctlDiff()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QString error;
        QVERIFY(preset::writeFile(path("a.stm"), m_defaults, &error)
            && preset::writeFile(path("a.syx"), m_defaults, &error));
        m_data.setPadInfo(2, "padData", 61);
        m_data.setPadInfo(18, "padRGB", QString("#ff0000"));
        m_data.setBQMInfo(5, "bqmCh", 9);
        QVERIFY2(preset::writeFile(path("b.stm"), m_data.imageBytes(), &error), qPrintable(error));
        const auto r = mavuctl(QStringList{"diff"} + args.replaceInStrings("@", m_dir.path() + '/'));
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
        QVERIFY2(r.err.startsWith(err) && r.err.count('\n') == (err.isEmpty() ? 0 : 1), r.err.constData());
        QVERIFY(mavuctl({"diff", "--help"}).out.startsWith("Usage: mavuctl diff A B"));
    }

    // mavuctl doctor (and the Help menu's report) on a system laid out in a
    // folder: the update port is a pseudo-terminal behind a USB device of the
    // controller's identity in update mode.
    void doctorFindsWhatStandsInTheWay_data()
    {
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("finding");
        const QStringList all{"seq", "udev", "rules", "applied", "controller"};
        QTest::newRow("all well") << all << QString();
        QTest::newRow("no sequencer") << QStringList(all.mid(1)) << "No ALSA sequencer";
        QTest::newRow("port busy") << (all + QStringList{"busy"}) << "is busy";
        QTest::newRow("rules missing") << QStringList{"seq", "udev", "controller"}
                                       << "70-korvel-mavu.rules) are not installed";
        QTest::newRow("ModemManager") << QStringList{"seq", "udev", "modem", "controller"} << "ModemManager is running";
        QTest::newRow("rules not applied") << QStringList{"seq", "udev", "rules", "controller"} << "not applied";
        QTest::newRow("update mode") << QStringList(all.mid(0, 4)) << "in update mode";
    }
    void doctorFindsWhatStandsInTheWay()
    {
        QFETCH(QStringList, system);
        QFETCH(QString, finding);
        QTemporaryDir root;
        const auto put = [&root](const QString &file, const QByteArray &text) {
            QDir().mkpath(QFileInfo(root.filePath(file)).path());
            testsupport::writeAll(root.filePath(file), text);
        };
        int master = -1, slave = -1;
        char pty[256] = {};
        QVERIFY(::openpty(&master, &slave, pty, nullptr, nullptr) == 0);
        const auto closeBoth = qScopeGuard([&] {
            ::close(slave);
            ::close(master);
        });
        put("sys/devices/usb1/1-1/idVendor", "1c75\n");
        put("sys/devices/usb1/1-1/idProduct", "0204\n");
        QDir().mkpath(root.filePath("sys/devices/usb1/1-1/1-1:1.0"));
        QDir().mkpath(root.filePath("sys/class/tty/ttyACM0"));
        QVERIFY(QFile::link("../../../devices/usb1/1-1/1-1:1.0", root.filePath("sys/class/tty/ttyACM0/device")));
        QDir().mkpath(root.filePath("dev"));
        QVERIFY(QFile::link(QString(pty), root.filePath("dev/ttyACM0")));
        struct stat info { };
        QVERIFY(::stat(pty, &info) == 0);
        const QMap<QString, QPair<QString, QByteArray>> parts = {{"seq", {"dev/snd/seq", ""}},
            {"udev", {"run/udev/control", ""}}, {"rules", {"usr/lib/udev/rules.d/70-korvel-mavu.rules", ""}},
            {"applied",
                {QStringLiteral("run/udev/data/c%1:%2").arg(major(info.st_rdev)).arg(minor(info.st_rdev)),
                    "E:ID_MM_DEVICE_IGNORE=1\n"}},
            {"modem", {"proc/812/comm", "ModemManager\n"}}};
        for (const QString &part : system) {
            if (parts.contains(part)) // the others are not files
                put(parts.value(part).first, parts.value(part).second);
        }
        QSerialPort holder(QString::fromLatin1(pty)); // another program using the port
        QVERIFY(!system.contains("busy") || holder.open(QIODevice::ReadWrite));
        doctor::Inputs inputs;
        inputs.root = root.path();
        inputs.midiProducts = QStringList{"Midi Through", system.contains("controller") ? "Korvel Mavu" : "Mavu"};
        const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
        const QList<doctor::Finding> findings
            = doctor::midiFindings(inputs, !port.isEmpty()) + doctor::updateFindings(inputs, port);
        const QString report = doctor::report(findings);
        QVERIFY2(report.contains(finding.isEmpty() ? "All is well." : finding), qPrintable(report));
        QCOMPARE(doctor::allWell(findings), finding.isEmpty());
        for (const doctor::Finding &f : findings)
            QVERIFY2(f.ok == f.fix.isEmpty(), qPrintable(f.text)); // every problem comes with its fix
        if (finding.isEmpty())
            return;
        // The command: the same finding from another process, and exit status 1.
        const auto r
            = mavuctl({"doctor", "--root", root.path(), "--midi-api", "alsa", "--firmware-server", "127.0.0.1:1"});
        QVERIFY2(r.exitCode == 1 && r.out.contains(finding.toUtf8()), r.out.constData());
    }

    // A control's names, from either of the forms that name it.
    void controlNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names"); // report, list, on screen
        QTest::newRow("list form") << "pad:B3" << QStringList{"PAD B3", "pad:B3", "Pad B3"};
        QTest::newRow("any spacing and case") << " knob  c4" << QStringList{"KNOB C4", "knob:C4", "Knob C4"};
        QTest::newRow("button") << "BUTTON stop" << QStringList{"BUTTON stop", "button:stop", "Button Stop"};
        QTest::newRow("global") << "global" << QStringList{"GLOBAL", "", "All pads"};
        QTest::newRow("past the last") << "PAD C17" << QStringList{"", "", ""};
        QTest::newRow("no name") << "pad:" << QStringList{"", "", ""};
        QTest::newRow("nothing") << "" << QStringList{"", "", ""};
    }
    void controlNames()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        const ControlId control = ControlId::parse(text);
        QCOMPARE((QStringList{control.machineName(), control.listName(), control.translatedName()}), names);
    }

    // A message from the controller names the control that sent it, by the
    // image; the control's own message names it back.
    void controlHits_data()
    {
        QTest::addColumn<Ints>("bytes"); // offset, value: written into the defaults
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("shownBank");
        QTest::addColumn<QString>("hit");
        const int pc = padOffset(20), toggling = padOffset(40), pressure = knobOffset(9);
        const Ints twice{padOffset(2) + 1, 42};
        QTest::newRow("note, bank B") << Ints() << fromHex("90 2A 64") << 0 << "pad:B3";
        QTest::newRow("CC knob at 0") << Ints() << fromHex("B0 0F 00") << 0 << "knob:B2";
        QTest::newRow("PC pad") << Ints{pc, 2, pc + 1, 5, pc + 2, 3} << fromHex("C2 05") << 0 << "pad:B5";
        QTest::newRow("button CC") << Ints() << fromHex("B0 16 7F") << 0 << "button:stop";
        QTest::newRow("button let go") << Ints() << fromHex("B0 16 00") << 0 << "";
        QTest::newRow("toggling pad off") << Ints{toggling, 1, toggling + 3, 1} << fromHex("B0 40 00") << 0 << "pad:C9";
        QTest::newRow("wrong channel") << Ints() << fromHex("91 2A 64") << 0 << "";
        QTest::newRow("note off") << Ints() << fromHex("80 2A 40") << 0 << "";
        QTest::newRow("velocity 0") << Ints() << fromHex("90 2A 00") << 0 << "";
        QTest::newRow("twice, B shown") << twice << fromHex("90 2A 64") << 1 << "pad:B3";
        QTest::newRow("twice, C shown") << twice << fromHex("90 2A 64") << 2 << "pad:A3";
        QTest::newRow("pressure, ch 16") << Ints{pressure, 1, pressure + 2, 16} << fromHex("DF 30") << 0 << "knob:C2";
        QTest::newRow("pitch bend") << Ints{knobOffset(3), 2} << fromHex("E0 00 40") << 0 << "knob:A4";
    }
    void controlHits()
    {
        QFETCH(Ints, bytes);
        QFETCH(QByteArray, message);
        QFETCH(int, shownBank);
        QFETCH(QString, hit);
        QByteArray image = m_defaults;
        for (int i = 0; i + 1 < bytes.size(); i += 2)
            image[bytes[i]] = char(bytes[i + 1]);
        const controlhit::ShownBanks shown{shownBank, shownBank};
        const controlhit::Control control = controlhit::fromMessage(image, message, shown);
        QCOMPARE(control.listName(), hit);
        if (!hit.isEmpty()) // and the control's own message is taken as it
            QCOMPARE(controlhit::fromMessage(image, controlhit::toMessage(image, control), shown), control);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

// The settings model: its image and defaults, the operations the pages and
// mavuctl call, the colour arithmetic, the differences between two images
// setting by setting (the one comparison behind the status line, the marks,
// the compare list and mavuctl diff), and the controls: their names, and which
// control a message played on the controller comes from.
#include "model/ColorMath.h"
#include "model/ControlHit.h"
#include "model/ControlId.h"
#include "model/DataManagement.h"
#include "model/SettingsDiff.h"
#include "support/TestSupport.h"
#include "support/model/SettingsFixture.h"

#include <QSignalSpy>
#include <QtTest>

using namespace layout;
using testsupport::fromHex;
using Ints = QVector<int>;

class TestSettings : public SettingsFixture
{
    Q_OBJECT
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

private slots:
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

    void everyFieldDiffersAlone_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("difference"); // "PAD B3 padCh"; empty for none
        const QStringList pad{"padtype", "padData", "padCh", "padMode", "padColor", "padColor", "padColor"};
        const QStringList knob{"bqmType", "bqmData", "bqmCh", "bqmLsbMin", "bqmLsbMax", "bqmMsbMin", "bqmMsbMax"};
        const QStringList button{"wbtype", "wbData", "wbCh", "wbMode"};
        int offset = 0;
        const auto add = [&offset](const QString &difference) {
            QTest::addRow("%d %s", offset, qPrintable(difference)) << offset << difference;
            ++offset;
        };
        const auto control = [&add](const QString &name, const QStringList &keys) {
            for (const QString &key : keys)
                add(name + ' ' + key);
        };
        for (int i = 0; i < 11; ++i)
            add(QString()); // the message's framing and the firmware version
        add("GLOBAL curve");
        add("GLOBAL intensity");
        for (int p = 0; p < 48; ++p)
            control(QString("PAD %1%2").arg(QChar('A' + p / 16)).arg(p % 16 + 1), pad);
        for (int k = 0; k < 12; ++k)
            control(QString("KNOB %1%2").arg(QChar('A' + k / 4)).arg(k % 4 + 1), knob);
        for (const char *name : {"previous", "stop", "next", "record", "start", "repeat"})
            control(QString("BUTTON ") + name, button);
        add(QString()); // F7
        QCOMPARE(offset, 458);
    }
    void everyFieldDiffersAlone()
    {
        QFETCH(int, offset);
        QFETCH(QString, difference);
        const QByteArray before(458, '\x11');
        QByteArray after = before;
        after[offset] = '\x14';
        QStringList found;
        for (const settingsDiff::Difference &d : settingsDiff::compare(before, after))
            found << d.control.machineName() + ' ' + d.key;
        QCOMPARE(found, difference.isEmpty() ? QStringList() : QStringList{difference});
        QCOMPARE(settingsDiff::sameSettings(before, after), difference.isEmpty());
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
        const ControlId control = ControlId::parse(text);
        QTEST((QStringList{control.machineName(), control.listName(), control.translatedName()}), "names");
        for (auto kind : {ControlId::Kind::Pad, ControlId::Kind::Knob, ControlId::Kind::Button})
            QVERIFY(!ControlId({kind, ControlId::count(kind)}).isValid()); // one past the last, however made
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

// Controls: their names in every form, and which control a message played on
// the controller comes from.
#include "model/ControlHit.h"
#include "model/ControlId.h"
#include "support/TestSupport.h"
#include "support/model/SettingsFixture.h"

#include <QtTest>

using namespace layout;
using testsupport::fromHex;
using Ints = QVector<int>;

class TestControls : public SettingsFixture
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestControls)
#include "tst_controls.moc"

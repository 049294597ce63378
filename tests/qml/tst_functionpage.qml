import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

// The bank quick-fill page against the real settings model and clipboard.
Item {
    id: top
    width: 1080
    height: 892

    // The page reaches these by the window's ids.
    ColorDialog { id: colordlg }
    Item { id: mainPage; property bool isVisable: false }

    Component {
        id: pageComponent
        FunctionPage { isVisable: true }
    }

    TestCase {
        name: "FunctionPage"
        when: windowShown

        property var page: null

        function init() {
            DataMgt.initDefaultData()
            page = createTemporaryObject(pageComponent, top)
            verify(page)
            waitForRendering(page)
        }

        function cleanup() {
            colordlg.close()
        }

        // A click on a block's title strip, where no field takes the press.
        function tick(block) {
            mouseClick(block, block.width / 2, 8)
        }

        function enter(field, text) {
            field.textInput.text = text
            field.textInput.forceActiveFocus()
            keyClick(Qt.Key_Return)
        }

        function ticks(blocks) {
            return blocks.map(function (b) { return b.checked })
        }

        function field(getter, first, count, key) {
            var values = []
            for (var i = first; i < first + count; ++i)
                values.push(DataMgt[getter](i)[key])
            return values
        }

        function range(from, step, count) {
            var values = []
            for (var i = 0; i < count; ++i)
                values.push(Math.min(127, Math.max(0, from + i * step)))
            return values
        }

        function repeat(value, count) {
            return range(value, 0, count)
        }

        function test_blocksOfAFamilyExcludeEachOther() {
            var k = page.groupA.knobsw
            var knobBlocks = [k.cc, k.chnTouch, k.pitchBend]
            tick(k.cc)
            tick(k.pitchBend)
            compare(ticks(knobBlocks), [false, false, true])
            tick(k.pitchBend) // a second click takes the tick away
            compare(ticks(knobBlocks), [false, false, false])
            mouseClick(k, k.width - 3, k.height / 2) // the family frame itself cannot be ticked
            verify(!k.checked)
            // Pad numbering blocks exclude each other; the colour block is independent.
            var p = page.groupB.knock
            var padBlocks = [p.noteBtn, p.ccBtn, p.pcBtn, p.colorBtn]
            tick(p.noteBtn)
            tick(p.colorBtn)
            tick(p.pcBtn)
            compare(ticks(padBlocks), [false, false, true, true])
            compare(page.groupA.countChecked() + page.groupB.countChecked(), 2)
        }

        function test_saveWithNothingTickedShowsTheTipAndWritesNothing() {
            var g = page.groupA
            var before = Image.hex()
            mouseClick(g.saveBtn)
            verify(g.tipInfo.visible)
            compare(g.tipInfo.content, "Please select parameter block and fill the text field.")
            compare(Image.hex(), before)
            tryCompare(g.tipInfo, "visible", false, 5000)
        }

        // A pad numbering block filled in and saved: the bank it numbers, and only that bank.
        function test_padNumbering_data() {
            return [
                { tag: "notes on B rise from 120, up to 127", group: "groupB", first: 16,
                  block: "noteBtn", input: "noteInput", value: "120", combo: "noteChannelCombox", channel: 4,
                  expected: { padData: range(120, 1, 16), padtype: repeat(0, 16), padCh: repeat(5, 16) } },
                { tag: "notes on A fall from 5, down to 0", group: "groupA", first: 0,
                  block: "noteBtn", input: "noteInput", value: "5", flip: "noteAD", flipped: "Des",
                  expected: { padData: range(5, -1, 16), padCh: repeat(1, 16) } },
                { tag: "toggled CC on C", group: "groupC", first: 32,
                  block: "ccBtn", input: "ccNoteInput", value: "20", flip: "ccType", flipped: "Toggle",
                  combo: "ccChannelCombox", channel: 15,
                  expected: { padtype: repeat(1, 16), padMode: repeat(1, 16), padData: range(20, 1, 16),
                              padCh: repeat(16, 16) } },
                { tag: "PC on A falling from 10", group: "groupA", first: 0,
                  block: "pcBtn", input: "pcNoteInput", value: "10", flip: "pcAD", combo: "pcChannelCombox", channel: 9,
                  expected: { padtype: repeat(2, 16), padData: range(10, -1, 16), padCh: repeat(10, 16) } }
            ]
        }

        function test_padNumbering(data) {
            var g = page[data.group]
            var p = g.knock
            tick(p[data.block])
            enter(p[data.input], data.value)
            if (data.flip) {
                mouseClick(p[data.flip])
                if (data.flipped)
                    compare(p[data.flip].text, data.flipped)
            }
            if (data.combo)
                p[data.combo].currentIndex = data.channel
            var others = [0, 16, 32].filter(function (f) { return f !== data.first })
            var before = others.map(function (f) { return field("getPadInfo", f, 16, "padData") })
            mouseClick(g.saveBtn)
            for (var key in data.expected)
                compare(field("getPadInfo", data.first, 16, key), data.expected[key], key)
            compare(others.map(function (f) { return field("getPadInfo", f, 16, "padData") }), before, "other banks")
        }

        // A knob family filled in and saved: the bank's four knobs.
        function test_knobFamily_data() {
            return [
                { tag: "control change on B", group: "groupB", first: 4, block: "cc",
                  fields: { startInput: "10", minInput: "5", maxInput: "100" }, combo: "channelCombox", channel: 2,
                  expected: { bqmType: repeat(0, 4), bqmData: [10, 11, 12, 13], bqmLsbMin: repeat(5, 4),
                              bqmLsbMax: repeat(100, 4), bqmCh: repeat(3, 4) } },
                { tag: "channel pressure on C keeps the data", group: "groupC", first: 8, block: "chnTouch",
                  fields: { chn1MinInput: "7", chn1MaxInput: "90" }, combo: "chn1ChannelCombox", channel: 11,
                  expected: { bqmType: repeat(1, 4), bqmData: [53, 54, 51, 52], bqmLsbMin: repeat(7, 4),
                              bqmLsbMax: repeat(90, 4), bqmCh: repeat(12, 4) } },
                { tag: "pitch bend on A", group: "groupA", first: 0, block: "pitchBend",
                  fields: { lsbMinInput: "1", lsbMaxInput: "2", msbMinInput: "3", msbMaxInput: "4" },
                  combo: "chn2ChannelCombox", channel: 6,
                  expected: { bqmType: repeat(2, 4), bqmLsbMin: repeat(1, 4), bqmLsbMax: repeat(2, 4),
                              bqmMsbMin: repeat(3, 4), bqmMsbMax: repeat(4, 4), bqmCh: repeat(7, 4) } }
            ]
        }

        function test_knobFamily(data) {
            var g = page[data.group]
            var k = g.knobsw
            tick(k[data.block])
            for (var f in data.fields)
                enter(k[f], data.fields[f])
            k[data.combo].currentIndex = data.channel
            mouseClick(g.saveBtn)
            for (var key in data.expected)
                compare(field("getBQMInfo", data.first, 4, key), data.expected[key], key)
        }

        // Colour, brightness and pressure, ticked together with a numbering
        // block: one Save runs every ticked family.
        function test_saveRunsEveryTickedFamily() {
            DataMgt.setPadBatchColor(2, "#ff8000") // stored as 127, 64, 0
            var g = page.groupB
            tick(g.knock.noteBtn)
            enter(g.knock.noteInput, "30")
            mouseClick(g.brightness, 6, 6)
            g.brightness.brightnessSlider.value = 0.5
            mouseClick(g.pressure, 190, 20) // on the "Velocity Curve" label
            enter(g.pressure.pressureInput, "90")
            g.pressure.velocityComboBox.currentIndex = 2
            compare(g.countChecked(), 3)
            mouseClick(g.saveBtn)
            verify(!g.tipInfo.visible)
            compare(field("getPadInfo", 16, 16, "padData"), range(30, 1, 16))
            compare(field("getPadInfo", 16, 16, "padR"), repeat(63, 16))
            compare(field("getPadInfo", 16, 16, "padG"), repeat(32, 16))
            compare([Image.byteAt(11), Image.byteAt(12)], [2, 90]) // curve and intensity
        }

        function test_colourBlockWritesTheSwatchNotTheFields() {
            var p = page.groupB.knock
            tick(p.colorBtn)
            p.chooseColorRect.syncColorValue("#ff8000")
            compare([p.r.text, p.g.text, p.b.text], ["255", "128", "0"])
            enter(p.r, "10") // typed components do not repaint the swatch
            compare(String(p.chooseColorRect.color), "#ff8000")
            mouseClick(page.groupB.saveBtn)
            compare(field("getPadInfo", 16, 16, "padR"), repeat(127, 16))
            compare(field("getPadInfo", 16, 16, "padG"), repeat(64, 16))
            compare(field("getPadInfo", 16, 16, "padB"), repeat(0, 16))
        }

        function test_colourDialogFillsTheColourBlock() {
            var p = page.groupA.knock
            var before = Image.hex()
            mouseClick(p.chooseColorRect)
            tryVerify(function () { return colordlg.opened })
            compare(colordlg.keyIndex, -1)
            colordlg.currentColor = "#102030"
            var children = colordlg.contentItem.children
            for (var i = 0; i < children.length; ++i) {
                if (children[i].text === "confirm")
                    mouseClick(children[i])
            }
            compare([p.r.text, p.g.text, p.b.text], ["16", "32", "48"])
            compare(String(p.chooseColorRect.color), "#102030")
            // Choosing a colour is not ticking the block, and writes nothing.
            verify(!p.colorBtn.checked)
            compare(Image.hex(), before)
        }

        function test_copyTakesTheNamedColumn() {
            var groups = {"A": page.groupA, "B": page.groupB, "C": page.groupC}
            var sides = [["A", "leftCopyBtn", "B"], ["A", "rightCopyBtn", "C"], ["B", "leftCopyBtn", "A"],
                         ["B", "rightCopyBtn", "C"], ["C", "leftCopyBtn", "A"], ["C", "rightCopyBtn", "B"]]
            var before = Image.hex()
            for (var s = 0; s < sides.length; ++s) {
                var button = groups[sides[s][0]][sides[s][1]]
                compare(button.text, "Copy data from Group " + sides[s][2])
                enter(page.groupA.knobsw.startInput, "11")
                enter(page.groupB.knobsw.startInput, "22")
                enter(page.groupC.knobsw.startInput, "33")
                var wanted = groups[sides[s][2]].knobsw.startInput.text
                mouseClick(button)
                compare(groups[sides[s][0]].knobsw.startInput.text, wanted, sides[s].join(" "))
            }
            compare(Image.hex(), before, "copying writes nothing to the settings")
        }

        function test_copyTakesEveryFieldButNoTick() {
            var a = page.groupA
            var b = page.groupB
            var k = a.knobsw
            var inputs = [[k, "startInput", "12"], [k, "minInput", "3"], [k, "maxInput", "99"], [k, "chn1MinInput", "4"],
                          [k, "chn1MaxInput", "98"], [k, "lsbMinInput", "5"], [k, "lsbMaxInput", "97"],
                          [k, "msbMinInput", "6"], [k, "msbMaxInput", "96"], [a.knock, "noteInput", "36"],
                          [a.knock, "ccNoteInput", "40"], [a.knock, "pcNoteInput", "50"],
                          [a.pressure, "pressureInput", "77"]]
            var combos = [[k, "channelCombox", 1], [k, "chn1ChannelCombox", 2], [k, "chn2ChannelCombox", 3],
                          [a.knock, "noteChannelCombox", 4], [a.knock, "ccChannelCombox", 5],
                          [a.knock, "pcChannelCombox", 6], [a.pressure, "velocityComboBox", 3]]
            inputs.forEach(function (i) { enter(i[0][i[1]], i[2]) })
            combos.forEach(function (c) { c[0][c[1]].currentIndex = c[2] })
            mouseClick(a.knock.noteAD)
            mouseClick(a.knock.ccType)
            mouseClick(a.knock.pcAD)
            a.knock.chooseColorRect.syncColorValue("#0a141e")
            a.brightness.brightnessSlider.value = 0.25
            tick(k.pitchBend)
            tick(a.knock.colorBtn)

            mouseClick(b.leftCopyBtn) // "Copy data from Group A"
            var target = function (owner) { return owner === k ? b.knobsw : owner === a.knock ? b.knock : b.pressure }
            inputs.forEach(function (i) { compare(target(i[0])[i[1]].text, i[2], i[1]) })
            combos.forEach(function (c) { compare(target(c[0])[c[1]].currentIndex, c[2], c[1]) })
            compare([b.knock.noteAD.checked, b.knock.ccAD.checked, b.knock.ccType.checked, b.knock.pcAD.checked],
                    [true, false, true, true])
            compare([b.knock.r.text, b.knock.g.text, b.knock.b.text], ["10", "20", "30"])
            compare(String(b.knock.chooseColorRect.color), "#0a141e")
            compare(b.brightness.brightnessSlider.value, 0.25)
            // Ticks stay where they were, in both columns; the source keeps its fields.
            compare(b.countChecked(), 0)
            verify(k.pitchBend.checked && a.knock.colorBtn.checked)
            compare(k.startInput.text, "12")
        }

        function test_pastedColourComesFromTheTypedComponents() {
            enter(page.groupB.knock.r, "255")
            enter(page.groupB.knock.g, "0")
            enter(page.groupB.knock.b, "0")
            mouseClick(page.groupC.rightCopyBtn) // "Copy data from Group B"
            compare(String(page.groupC.knock.chooseColorRect.color), "#ff0000")
            compare(String(page.groupB.knock.chooseColorRect.color), "#5e17ce") // never repainted by typing
        }

        function test_hidingKeepsFieldsAndBackReturns() {
            tick(page.groupA.knock.noteBtn)
            enter(page.groupA.knock.noteInput, "64")
            page.isVisable = false
            page.isVisable = true
            verify(page.groupA.knock.noteBtn.checked)
            compare(page.groupA.knock.noteInput.text, "64")
            mouseClick(page.backBtn)
            verify(!page.visible)
            verify(mainPage.isVisable)
        }
    }
}

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

        // Blocks of a family exclude each other; the colour block is independent.
        function test_blocksOfAFamilyExcludeEachOther() {
            var k = page.groupA.knobsw
            tick(k.cc)
            tick(k.pitchBend)
            compare(ticks([k.cc, k.chnTouch, k.pitchBend]), [false, false, true])
            tick(k.pitchBend) // a second click takes the tick away
            mouseClick(k, k.width - 3, k.height / 2) // the family frame itself cannot be ticked
            compare(ticks([k.cc, k.chnTouch, k.pitchBend, k]), [false, false, false, false])
            var p = page.groupB.knock
            tick(p.noteBtn)
            tick(p.colorBtn)
            tick(p.pcBtn)
            compare(ticks([p.noteBtn, p.ccBtn, p.pcBtn, p.colorBtn]), [false, false, true, true])
        }

        function test_saveWithNothingTickedShowsTheTipAndWritesNothing() {
            var g = page.groupA
            var before = ImageProbe.hex()
            mouseClick(g.saveBtn)
            verify(g.tipInfo.visible)
            compare(g.tipInfo.content, "Please select parameter block and fill the text field.")
            compare(ImageProbe.hex(), before)
            tryCompare(g.tipInfo, "visible", false, 5000)
        }

        // A pad numbering block filled in and saved: the bank it numbers, and only that bank.
        function test_padNumbering_data() {
            return [
                { tag: "notes on B rise from 120, up to 127", group: "groupB", first: 16,
                  block: "noteBtn", input: "noteInput", value: "120", combo: "noteChannelCombox", channel: 4,
                  expected: { padData: range(120, 1, 16), padtype: repeat(0, 16), padCh: repeat(5, 16) } },
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
            var g = page.groupB
            tick(g.knock.noteBtn)
            enter(g.knock.noteInput, "30")
            tick(g.knock.colorBtn)
            g.knock.chooseColorRect.syncColorValue("#ff8000") // stored as 127, 64, 0
            compare([g.knock.r.text, g.knock.g.text, g.knock.b.text], ["255", "128", "0"])
            enter(g.knock.r, "10") // typed components do not repaint the swatch, and Save writes the swatch
            mouseClick(g.brightness, 6, 6)
            g.brightness.brightnessSlider.value = 0.5
            mouseClick(g.pressure, 190, 20) // on the "Velocity Curve" label
            enter(g.pressure.pressureInput, "90")
            g.pressure.velocityComboBox.currentIndex = 2
            compare(g.countChecked(), 4)
            mouseClick(g.saveBtn)
            verify(!g.tipInfo.visible)
            compare(field("getPadInfo", 16, 16, "padData"), range(30, 1, 16))
            compare(field("getPadInfo", 16, 16, "padR").concat(field("getPadInfo", 16, 16, "padG")),
                    repeat(63, 16).concat(repeat(32, 16))) // the colour, then the brightness
            compare([ImageProbe.byteAt(11), ImageProbe.byteAt(12)], [2, 90]) // curve and intensity
        }

        // Copying takes every field (the colour from its typed components) but no tick.
        function test_copyTakesFieldsButNoTick() {
            var a = page.groupA
            var b = page.groupB
            enter(a.knobsw.msbMaxInput, "96")
            a.knobsw.chn2ChannelCombox.currentIndex = 3
            enter(a.knock.pcNoteInput, "50")
            mouseClick(a.knock.pcAD)
            enter(a.knock.r, "255")
            enter(a.knock.g, "0")
            enter(a.knock.b, "0")
            a.brightness.brightnessSlider.value = 0.25
            enter(a.pressure.pressureInput, "77")
            tick(a.knobsw.pitchBend)
            mouseClick(b.leftCopyBtn) // "Copy data from Group A"
            compare([b.knobsw.msbMaxInput.text, b.knobsw.chn2ChannelCombox.currentIndex], ["96", 3])
            compare([b.knock.pcNoteInput.text, b.knock.pcAD.checked], ["50", true])
            compare(String(b.knock.chooseColorRect.color), "#ff0000")
            compare(String(a.knock.chooseColorRect.color), "#5e17ce") // never repainted by typing
            compare([b.brightness.brightnessSlider.value, b.pressure.pressureInput.text], [0.25, "77"])
            compare(b.countChecked(), 0)
            verify(a.knobsw.pitchBend.checked)
        }

        function test_backReturnsToTheEditor() {
            mouseClick(page.backBtn)
            verify(!page.visible && mainPage.isVisable)
        }
    }
}

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

    SignalSpy { id: updates; target: DataMgt; signalName: "s_updateDate" }

    TestCase {
        name: "FunctionPage"
        when: windowShown

        property var page: null

        function init() {
            DataMgt.initDefaultData()
            page = createTemporaryObject(pageComponent, top)
            verify(page)
            waitForRendering(page)
            updates.clear()
            LogProbe.start()
        }

        function cleanup() {
            LogProbe.stop()
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
            var result = []
            for (var i = 0; i < blocks.length; ++i)
                result.push(blocks[i].checked)
            return result
        }

        // The value keys of the model's per-record lines, in order, with
        // repeats of the same key folded into one.
        function keySequence(kind) {
            var lines = LogProbe.lines()
            var keys = []
            for (var i = 0; i < lines.length; ++i) {
                if (lines[i].indexOf(kind) < 0)
                    continue
                var m = /"(\w+)"/.exec(lines[i])
                if (m && keys[keys.length - 1] !== m[1])
                    keys.push(m[1])
            }
            return keys
        }

        function padField(first, count, key) {
            var values = []
            for (var p = first; p < first + count; ++p)
                values.push(DataMgt.getPadInfo(p)[key])
            return values
        }

        function knobField(first, key) {
            var values = []
            for (var k = first; k < first + 4; ++k)
                values.push(DataMgt.getBQMInfo(k)[key])
            return values
        }

        function range(from, step, count) {
            var values = []
            for (var i = 0; i < count; ++i)
                values.push(from + i * step)
            return values
        }

        function repeat(value, count) {
            var values = []
            for (var i = 0; i < count; ++i)
                values.push(value)
            return values
        }

        function test_layoutAndStartingFields() {
            compare([page.groupA.x, page.groupB.x, page.groupC.x], [16, 368, 720])
            compare(page.groupB.y, 133)
            compare([page.groupA.title, page.groupB.title, page.groupC.title], ["Group A", "Group B", "Group C"])
            // The column takes the size of its artwork, drawn at half its pixels.
            compare(page.groupA.width, 344)
            compare(page.groupA.height, 748)

            var k = page.groupA.knobsw
            compare([k.startInput.text, k.minInput.text, k.maxInput.text], ["0", "0", "127"])
            compare([k.chn1MinInput.text, k.chn1MaxInput.text], ["0", "127"])
            compare([k.lsbMinInput.text, k.lsbMaxInput.text, k.msbMinInput.text, k.msbMaxInput.text],
                    ["0", "127", "0", "127"])
            compare(k.channelCombox.count, 16)
            compare(k.channelCombox.currentText, "1")

            var p = page.groupA.knock
            compare([p.noteInput.text, p.ccNoteInput.text, p.pcNoteInput.text], ["0", "0", "0"])
            compare([p.noteAD.text, p.ccType.text], ["Asc", "Moment"])
            compare([p.r.text, p.g.text, p.b.text], ["94", "23", "206"])
            compare(p.r.maxRange, 255)
            compare(String(p.chooseColorRect.color), "#5e17ce")

            compare(page.groupA.brightness.brightnessSlider.value, 1)
            var pressure = page.groupA.pressure
            compare(pressure.pressureInput.text, "0")
            compare(pressure.velocityComboBox.model, ["FULL", "LO", "LINEAR", "EXP"])

            var all = [k.cc, k.chnTouch, k.pitchBend, p.noteBtn, p.ccBtn, p.pcBtn, p.colorBtn,
                       page.groupA.brightness, pressure]
            compare(ticks(all), repeat(false, all.length))
            compare(page.groupA.countChecked(), 0)
        }

        function test_knobBlocksExcludeEachOther() {
            var k = page.groupA.knobsw
            var blocks = [k.cc, k.chnTouch, k.pitchBend]
            tick(k.cc)
            compare(ticks(blocks), [true, false, false])
            tick(k.pitchBend)
            compare(ticks(blocks), [false, false, true])
            tick(k.chnTouch)
            compare(ticks(blocks), [false, true, false])
            compare(k.countChecked(), 1)
            // A second click takes the tick away again.
            tick(k.chnTouch)
            compare(ticks(blocks), [false, false, false])
            compare(k.countChecked(), 0)
            // The family frame itself cannot be ticked.
            mouseClick(k, k.width - 3, k.height / 2)
            verify(!k.checked)
            // Other columns are not affected.
            tick(k.cc)
            compare(page.groupB.knobsw.countChecked(), 0)
        }

        function test_padNumberingExcludesButColourIsIndependent() {
            var p = page.groupB.knock
            var blocks = [p.noteBtn, p.ccBtn, p.pcBtn, p.colorBtn]
            tick(p.noteBtn)
            tick(p.colorBtn)
            compare(ticks(blocks), [true, false, false, true])
            compare(p.countChecked(), 2)
            tick(p.ccBtn)
            compare(ticks(blocks), [false, true, false, true])
            tick(p.pcBtn)
            compare(ticks(blocks), [false, false, true, true])
            tick(p.colorBtn)
            compare(ticks(blocks), [false, false, true, false])
            tick(p.colorBtn)
            tick(p.noteBtn)
            compare(ticks(blocks), [true, false, false, true])
            mouseClick(p, p.width - 3, p.height / 2)
            verify(!p.checked)
        }

        function test_singleBlocksCount() {
            var g = page.groupC
            mouseClick(g.brightness, 6, 6)
            verify(g.brightness.checked)
            mouseClick(g.pressure, 190, 20) // on the "Velocity Curve" label
            verify(g.pressure.checked)
            compare([g.brightness.countChecked(), g.pressure.countChecked()], [1, 1])
            tick(g.knobsw.cc)
            tick(g.knock.colorBtn)
            tick(g.knock.pcBtn)
            compare(g.countChecked(), 5)
        }

        function test_saveWithNothingTickedShowsTheTipAndWritesNothing() {
            var g = page.groupA
            var before = DataMgt.getPadInfo(0)
            verify(!g.tipInfo.visible)
            mouseClick(g.saveBtn)
            verify(g.tipInfo.visible)
            compare(g.tipInfo.content, "Please select parameter block and fill the text field.")
            compare(LogProbe.lines(), [])
            compare(updates.count, 0)
            compare(DataMgt.getPadInfo(0), before)
            tryCompare(g.tipInfo, "visible", false, 5000)
        }

        // A pad numbering block filled in and saved: the bank it numbers, and
        // only that bank.
        function test_padNumbering_data() {
            return [
                { tag: "notes on B rise from 120, up to 127", group: "groupB", first: 16,
                  block: "noteBtn", input: "noteInput", value: "120", combo: "noteChannelCombox", channel: 4,
                  expected: { padData: range(120, 1, 8).concat(repeat(127, 8)), padtype: repeat(0, 16),
                              padCh: repeat(5, 16) },
                  keys: ["padCh"], updates: 2 },
                { tag: "notes on A fall from 5, down to 0", group: "groupA", first: 0,
                  block: "noteBtn", input: "noteInput", value: "5", flip: "noteAD", flipped: "Des",
                  expected: { padData: range(5, -1, 6).concat(repeat(0, 10)), padCh: repeat(1, 16) } },
                { tag: "toggled CC on C", group: "groupC", first: 32,
                  block: "ccBtn", input: "ccNoteInput", value: "20", flip: "ccType", flipped: "Toggle",
                  combo: "ccChannelCombox", channel: 15,
                  expected: { padtype: repeat(1, 16), padMode: repeat(1, 16), padData: range(20, 1, 16),
                              padCh: repeat(16, 16) },
                  keys: ["padMode", "padCh"] },
                { tag: "PC on A falling from 10", group: "groupA", first: 0,
                  block: "pcBtn", input: "pcNoteInput", value: "10", flip: "pcAD", combo: "pcChannelCombox", channel: 9,
                  expected: { padtype: repeat(2, 16), padData: range(10, -1, 11).concat(repeat(0, 5)),
                              padCh: repeat(10, 16) } }
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
            var before = others.map(function (f) { return padField(f, 16, "padData") })
            mouseClick(g.saveBtn)
            for (var key in data.expected)
                compare(padField(data.first, 16, key), data.expected[key], key)
            compare(others.map(function (f) { return padField(f, 16, "padData") }), before, "other banks")
            if (data.keys)
                compare(keySequence("setPadInfo1"), data.keys)
            if (data.updates)
                compare(updates.count, data.updates)
        }

        function test_colourBlockWritesTheSwatchNotTheFields() {
            var p = page.groupB.knock
            tick(p.colorBtn)
            p.chooseColorRect.syncColorValue("#ff8000")
            compare([p.r.text, p.g.text, p.b.text], ["255", "128", "0"])
            compare(String(p.chooseColorRect.color), "#ff8000")
            // Typed components do not repaint the swatch, and Save writes the swatch.
            enter(p.r, "10")
            compare(String(p.chooseColorRect.color), "#ff8000")
            mouseClick(page.groupB.saveBtn)
            compare(padField(16, 16, "padR"), repeat(127, 16))
            compare(padField(16, 16, "padG"), repeat(64, 16))
            compare(padField(16, 16, "padB"), repeat(0, 16))
            compare(LogProbe.count(["setPadBatchColor", "bank: 2", "#ff8000"]), 1)
        }

        function test_colourDialogFillsTheColourBlock() {
            var p = page.groupA.knock
            mouseClick(p.chooseColorRect)
            tryVerify(function () { return colordlg.opened })
            compare(colordlg.keyIndex, -1)
            compare(colordlg.currentColor, "#5e17ce")
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
            compare(LogProbe.count(["padRGB"]), 0)
        }

        // A knob family filled in and saved: the bank's four knobs.
        function test_knobFamily_data() {
            return [
                { tag: "control change on B", group: "groupB", first: 4, block: "cc",
                  fields: { startInput: "10", minInput: "5", maxInput: "100" }, combo: "channelCombox", channel: 2,
                  expected: { bqmType: repeat(0, 4), bqmData: [10, 11, 12, 13], bqmLsbMin: repeat(5, 4),
                              bqmLsbMax: repeat(100, 4) },
                  keys: ["bqmLsbMin", "bqmLsbMax", "bqmCh"], updates: 4 },
                { tag: "channel pressure on C, no data", group: "groupC", first: 8, block: "chnTouch",
                  fields: { chn1MinInput: "7", chn1MaxInput: "90" }, combo: "chn1ChannelCombox", channel: 11,
                  expected: { bqmType: repeat(1, 4), bqmLsbMin: repeat(7, 4), bqmLsbMax: repeat(90, 4) },
                  keys: ["bqmLsbMin", "bqmLsbMax", "bqmCh"], noData: true },
                { tag: "pitch bend on A", group: "groupA", first: 0, block: "pitchBend",
                  fields: { lsbMinInput: "1", lsbMaxInput: "2", msbMinInput: "3", msbMaxInput: "4" },
                  combo: "chn2ChannelCombox", channel: 6,
                  expected: { bqmType: repeat(2, 4), bqmLsbMin: repeat(1, 4), bqmLsbMax: repeat(2, 4),
                              bqmMsbMin: repeat(3, 4), bqmMsbMax: repeat(4, 4) },
                  keys: ["bqmLsbMin", "bqmLsbMax", "bqmMsbMin", "bqmMsbMax", "bqmCh"] }
            ]
        }

        function test_knobFamily(data) {
            var g = page[data.group]
            var k = g.knobsw
            tick(k[data.block])
            for (var field in data.fields)
                enter(k[field], data.fields[field])
            k[data.combo].currentIndex = data.channel
            mouseClick(g.saveBtn)
            for (var key in data.expected)
                compare(knobField(data.first, key), data.expected[key], key)
            compare(knobField(data.first, "bqmCh"), repeat(data.channel + 1, 4))
            compare(keySequence("setBQMInfo"), data.keys)
            if (data.updates)
                compare(updates.count, data.updates)
            if (data.noData)
                compare(LogProbe.count(["bqmData"]), 0)
        }

        function test_brightnessScalesTheBank() {
            DataMgt.setPadBatchColor(3, "#ff8000") // stored as 127, 64, 0
            LogProbe.start()
            var g = page.groupC
            mouseClick(g.brightness, 6, 6)
            g.brightness.brightnessSlider.value = 0.5
            mouseClick(g.saveBtn)
            compare(padField(32, 16, "padR"), repeat(63, 16))
            compare(padField(32, 16, "padG"), repeat(32, 16))
            compare(LogProbe.count(["setLum", "bank: 3", "value 0.5"]), 1)
            compare(LogProbe.lines().length, 1)
        }

        function test_pressureIsGlobalWhicheverColumn() {
            var names = ["A", "B", "C"]
            var groups = [page.groupA, page.groupB, page.groupC]
            for (var i = 0; i < groups.length; ++i) {
                var g = groups[i]
                LogProbe.start()
                mouseClick(g.pressure, 190, 20)
                enter(g.pressure.pressureInput, "90")
                g.pressure.velocityComboBox.currentIndex = 2
                mouseClick(g.saveBtn)
                compare(LogProbe.lines().length, 2, names[i])
                compare(LogProbe.count(["setCurveInten", "\"intensity\"", "value 90"]), 1, names[i])
                compare(LogProbe.count(["setCurveInten", "\"curve\"", "value 2"]), 1, names[i])
                var first = LogProbe.lines()[0]
                verify(first.indexOf("intensity") >= 0, "intensity first")
            }
        }

        function test_saveRunsEveryTickedFamilyInTurn() {
            var g = page.groupB
            tick(g.knobsw.cc)
            tick(g.knock.noteBtn)
            tick(g.knock.colorBtn)
            mouseClick(g.brightness, 6, 6)
            mouseClick(g.pressure, 190, 20)
            mouseClick(g.saveBtn)
            var order = []
            var lines = LogProbe.lines()
            for (var i = 0; i < lines.length; ++i) {
                var name = lines[i].split(" ")[0]
                if (order[order.length - 1] !== name)
                    order.push(name)
            }
            compare(order, ["setBQMInfo", "setPadInfo1", "setPadBatchColor", "setLum", "setCurveInten"])
            verify(!g.tipInfo.visible)
        }

        function test_copyButtonsNameAndTakeTheRightColumn() {
            var groups = {"A": page.groupA, "B": page.groupB, "C": page.groupC}
            var expected = [
                { column: "A", left: "B", right: "C" },
                { column: "B", left: "A", right: "C" },
                { column: "C", left: "A", right: "B" }
            ]
            for (var i = 0; i < expected.length; ++i) {
                var e = expected[i]
                var g = groups[e.column]
                compare(g.leftCopyBtn.text, "Copy data from Group " + e.left)
                compare(g.rightCopyBtn.text, "Copy data from Group " + e.right)
                var sides = [[g.leftCopyBtn, e.left], [g.rightCopyBtn, e.right]]
                for (var s = 0; s < sides.length; ++s) {
                    enter(page.groupA.knobsw.startInput, "11")
                    enter(page.groupB.knobsw.startInput, "22")
                    enter(page.groupC.knobsw.startInput, "33")
                    var source = groups[sides[s][1]]
                    var wanted = source.knobsw.startInput.text
                    mouseClick(sides[s][0])
                    compare(g.knobsw.startInput.text, wanted, e.column + " from " + sides[s][1])
                }
            }
            compare(LogProbe.lines(), [], "copying writes nothing to the settings")
        }

        function test_copyFromColumnATakesEveryFieldButNoTick() {
            var a = page.groupA
            var b = page.groupB
            enter(a.knobsw.startInput, "12")
            enter(a.knobsw.minInput, "3")
            enter(a.knobsw.maxInput, "99")
            a.knobsw.channelCombox.currentIndex = 1
            enter(a.knobsw.chn1MinInput, "4")
            enter(a.knobsw.chn1MaxInput, "98")
            a.knobsw.chn1ChannelCombox.currentIndex = 2
            enter(a.knobsw.lsbMinInput, "5")
            enter(a.knobsw.lsbMaxInput, "97")
            enter(a.knobsw.msbMinInput, "6")
            enter(a.knobsw.msbMaxInput, "96")
            a.knobsw.chn2ChannelCombox.currentIndex = 3
            enter(a.knock.noteInput, "36")
            mouseClick(a.knock.noteAD)
            a.knock.noteChannelCombox.currentIndex = 4
            enter(a.knock.ccNoteInput, "40")
            mouseClick(a.knock.ccType)
            a.knock.ccChannelCombox.currentIndex = 5
            enter(a.knock.pcNoteInput, "50")
            mouseClick(a.knock.pcAD)
            a.knock.pcChannelCombox.currentIndex = 6
            a.knock.chooseColorRect.syncColorValue("#0a141e")
            a.brightness.brightnessSlider.value = 0.25
            enter(a.pressure.pressureInput, "77")
            a.pressure.velocityComboBox.currentIndex = 3
            tick(a.knobsw.pitchBend)
            tick(a.knock.colorBtn)

            mouseClick(b.leftCopyBtn) // "Copy data from Group A"

            var k = b.knobsw
            compare([k.startInput.text, k.minInput.text, k.maxInput.text, k.channelCombox.currentIndex],
                    ["12", "3", "99", 1])
            compare([k.chn1MinInput.text, k.chn1MaxInput.text, k.chn1ChannelCombox.currentIndex], ["4", "98", 2])
            compare([k.lsbMinInput.text, k.lsbMaxInput.text, k.msbMinInput.text, k.msbMaxInput.text,
                     k.chn2ChannelCombox.currentIndex], ["5", "97", "6", "96", 3])
            var p = b.knock
            compare([p.noteInput.text, p.noteAD.checked, p.noteChannelCombox.currentIndex], ["36", true, 4])
            compare([p.ccNoteInput.text, p.ccAD.checked, p.ccType.checked, p.ccChannelCombox.currentIndex],
                    ["40", false, true, 5])
            compare([p.pcNoteInput.text, p.pcAD.checked, p.pcChannelCombox.currentIndex], ["50", true, 6])
            compare([p.r.text, p.g.text, p.b.text], ["10", "20", "30"])
            compare(String(p.chooseColorRect.color), "#0a141e")
            compare(b.brightness.brightnessSlider.value, 0.25)
            compare([b.pressure.pressureInput.text, b.pressure.velocityComboBox.currentIndex], ["77", 3])

            // Ticks stay where they were, in both columns.
            compare(b.countChecked(), 0)
            verify(a.knobsw.pitchBend.checked && a.knock.colorBtn.checked)
            // Column A is the source and keeps its fields.
            compare(a.knobsw.startInput.text, "12")
            compare(LogProbe.lines(), [])
        }

        function test_pastedColourComesFromTheTypedComponents() {
            var c = page.groupC
            enter(page.groupB.knock.r, "255")
            enter(page.groupB.knock.g, "0")
            enter(page.groupB.knock.b, "0")
            mouseClick(c.rightCopyBtn) // "Copy data from Group B"
            compare(String(c.knock.chooseColorRect.color), "#ff0000")
            // The source's swatch was never repainted by typing.
            compare(String(page.groupB.knock.chooseColorRect.color), "#5e17ce")
        }

        function test_backReturnsToTheEditor() {
            mouseClick(page.backBtn)
            verify(!page.visible)
            verify(mainPage.isVisable)
        }

        function test_fieldsAndTicksSurviveHiding() {
            tick(page.groupA.knock.noteBtn)
            enter(page.groupA.knock.noteInput, "64")
            page.isVisable = false
            page.isVisable = true
            verify(page.groupA.knock.noteBtn.checked)
            compare(page.groupA.knock.noteInput.text, "64")
        }
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

// The bank quick-fill page against the real settings model and clipboard.
Item {
    id: top
    width: 1080
    height: 892


    Component {
        id: pageComponent
        FunctionPage { isVisable: true }
    }

    PageTest {
        name: "FunctionPage"

        property var page: null

        function init() {
            DataMgt.initDefaultData()
            page = createTemporaryObject(pageComponent, top)
            verify(page)
            waitForRendering(page)
        }

        // A click on a block's title strip, where no field takes the press.
        function tick(block) {
            mouseClick(block, block.width / 2, 8)
        }

        // What Save wrote must be what these model operations write on the defaults.
        function compareWithModel(calls) {
            var written = ImageProbe.hex()
            DataMgt.initDefaultData()
            for (var i = 0; i < calls.length; ++i)
                DataMgt[calls[i][0]].apply(DataMgt, calls[i].slice(1))
            compare(written, ImageProbe.hex())
        }

        // Each family of a bank filled in and saved reaches the model as a batch for that bank.
        function test_familySaved_data() {
            return [
                { tag: "rising notes on B", group: "groupB", family: "knock", block: "noteBtn",
                  fields: { noteInput: "120" }, combo: ["noteChannelCombox", 4],
                  same: [["setPadBatch", 2, "note", false, "padData", 120], ["setPadBatch", 2, "note", false, "padCh", 5]] },
                { tag: "toggled CC on C", group: "groupC", family: "knock", block: "ccBtn",
                  fields: { ccNoteInput: "20" }, flip: "ccType", combo: ["ccChannelCombox", 15],
                  same: [["setPadBatch", 3, "cc", false, "padMode", 1], ["setPadBatch", 3, "cc", false, "padData", 20],
                         ["setPadBatch", 3, "cc", false, "padCh", 16]] },
                { tag: "falling PC on A", group: "groupA", family: "knock", block: "pcBtn",
                  fields: { pcNoteInput: "10" }, flip: "pcAD", combo: ["pcChannelCombox", 9],
                  same: [["setPadBatch", 1, "pc", true, "padData", 10], ["setPadBatch", 1, "pc", false, "padCh", 10]] },
                { tag: "knob CC on B", group: "groupB", family: "knobsw", block: "cc",
                  fields: { startInput: "10", minInput: "5", maxInput: "100" }, combo: ["channelCombox", 2],
                  same: [["setBQMBatch", 2, "cc", "bqmData", 10], ["setBQMBatch", 2, "cc", "bqmLsbMin", 5],
                         ["setBQMBatch", 2, "cc", "bqmLsbMax", 100], ["setBQMBatch", 2, "cc", "bqmCh", 3]] },
                { tag: "channel pressure on C", group: "groupC", family: "knobsw", block: "chnTouch",
                  fields: { chn1MinInput: "7", chn1MaxInput: "90" }, combo: ["chn1ChannelCombox", 11],
                  same: [["setBQMBatch", 3, "chn", "bqmLsbMin", 7], ["setBQMBatch", 3, "chn", "bqmLsbMax", 90],
                         ["setBQMBatch", 3, "chn", "bqmCh", 12]] },
                { tag: "pitch bend on A", group: "groupA", family: "knobsw", block: "pitchBend",
                  fields: { lsbMinInput: "1", lsbMaxInput: "2", msbMinInput: "3", msbMaxInput: "4" },
                  combo: ["chn2ChannelCombox", 6],
                  same: [["setBQMBatch", 1, "pitch", "bqmLsbMin", 1], ["setBQMBatch", 1, "pitch", "bqmLsbMax", 2],
                         ["setBQMBatch", 1, "pitch", "bqmMsbMin", 3], ["setBQMBatch", 1, "pitch", "bqmMsbMax", 4],
                         ["setBQMBatch", 1, "pitch", "bqmCh", 7]] }
            ]
        }

        function test_familySaved(data) {
            var g = page[data.group]
            var f = g[data.family]
            tick(f[data.block])
            for (var name in data.fields)
                enter(f[name], data.fields[name])
            if (data.flip)
                mouseClick(f[data.flip])
            f[data.combo[0]].currentIndex = data.combo[1]
            mouseClick(g.saveBtn)
            compareWithModel(data.same)
        }

        // Colour, brightness and pressure, ticked together with a numbering
        // block: one Save runs every ticked family, the colour before the brightness.
        function test_saveRunsEveryTickedFamily() {
            var g = page.groupB
            tick(g.knock.noteBtn)
            enter(g.knock.noteInput, "30")
            tick(g.knock.colorBtn)
            g.knock.chooseColorRect.syncColorValue("#ff8000")
            compare([g.knock.r.text, g.knock.g.text, g.knock.b.text], ["127", "64", "0"]) // the controller's scale
            enter(g.knock.r, "10") // a typed component repaints the swatch, which Save writes
            mouseClick(g.brightness, 6, 6)
            g.brightness.brightnessSlider.value = 0.5
            mouseClick(g.pressure, 190, 20) // on the "Velocity Curve" label
            enter(g.pressure.pressureInput, "90")
            g.pressure.velocityComboBox.currentIndex = 2
            compare(g.countChecked(), 4)
            mouseClick(g.saveBtn)
            verify(!g.tipInfo.visible)
            compare(EditHistory.undoText, "Undo fill bank B") // one step for all of it
            compareWithModel([["setPadBatch", 2, "note", false, "padData", 30], ["setPadBatch", 2, "note", false, "padCh", 1],
                              ["setPadBatchColor", 2, "#148000"], ["setLum", 2, 0.5],
                              ["setCurveInten", "intensity", 90], ["setCurveInten", "curve", 2]])
        }
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"
import "qrc:/qml/BaseControl"

// The function page's one velocity curve and pressure level, ticks that show,
// and edits that Save would pass over named instead.
Item {
    id: top
    width: 1080
    height: 892

    Component {
        id: pageComponent
        FunctionPage { isVisable: true }
    }

    PageTest {
        name: "FunctionPageGlobals"

        property var page: null

        function init() {
            DataMgt.initDefaultData()
            DataMgt.setCurveInten("curve", 0)
            DataMgt.setCurveInten("intensity", 0)
            page = createTemporaryObject(pageComponent, top)
            waitForRendering(page)
        }

        // Curve and level as each column shows them.
        function shown() {
            return [page.groupA, page.groupB, page.groupC].map(function (g) {
                return g.pressure.velocityComboBox.currentIndex + "/" + g.pressure.pressureInput.text
            })
        }

        // A click where no field is: the bottom left corner of a block.
        function tick(block) {
            mouseClick(block, 6, block.height - 5)
        }

        function test_curveAndLevelShownOnce() {
            var a = page.groupA.pressure
            a.velocityComboBox.activated(1) // LO
            enter(a.pressureInput, "90")
            compare(shown(), ["1/90", "1/90", "1/90"])
            verify(page.groupC.pressure.edited)
            tick(a)
            mouseClick(page.groupA.saveBtn)
            compare(JSON.stringify(DataMgt.getCurveInten()), JSON.stringify({ curve: 1, intensity: 90 }))
            verify(!page.groupC.pressure.edited)
            page.destroy()
            page = createTemporaryObject(pageComponent, top) // opened again
            compare(shown(), ["1/90", "1/90", "1/90"])
            DataMgt.setCurveInten("curve", 3) // a preset opened, the controller read
            compare(shown(), ["3/90", "3/90", "3/90"])
        }

        function test_tickShows_data() {
            return [
                { tag: "knob CC", path: ["knobsw", "cc"] },
                { tag: "pad note", path: ["knock", "noteBtn"] },
                { tag: "pad colour", path: ["knock", "colorBtn"] },
                { tag: "brightness", path: ["brightness"] },
                { tag: "pressure", path: ["pressure"] }
            ]
        }

        function test_tickShows(data) {
            var block = data.path.reduce(function (item, name) { return item[name] }, page.groupB)
            var box = findChild(block, "tickBox")
            verify(box.visible && !box.checked)
            tick(block)
            verify(block.checked && box.checked)
            compare(String(block.background.border.color), String(CusConfig.colorElement))
            tick(block)
            verify(!box.checked)
        }

        // What the user did in column A before Save: typed, chose or moved.
        function test_editedButUntickedIsNamed_data() {
            function typeIn(field) {
                return function (g) {
                    field(g).textInput.forceActiveFocus()
                    keyClick(Qt.Key_5)
                }
            }
            return [
                { tag: "nothing done", edit: function (g) {}, tip: "tipInfo", written: false },
                { tag: "pad start typed, nothing ticked", edit: typeIn(function (g) { return g.knock.noteInput }),
                  tip: "untickedTip", names: "PADs NOTE", written: false },
                { tag: "knob start typed, colour ticked", edit: typeIn(function (g) { return g.knobsw.startInput }),
                  ticked: function (g) { return g.knock.colorBtn }, tip: "untickedTip", names: "Knobs CC", written: true },
                { tag: "CC channel chosen and ticked", edit: function (g) { g.knock.ccChannelCombox.activated(3) },
                  ticked: function (g) { return g.knock.ccBtn }, written: true },
                { tag: "brightness and pressure moved", tip: "untickedTip", names: "Luminance, Pressure", written: false,
                  edit: function (g) { g.brightness.brightnessSlider.moved(); g.pressure.velocityComboBox.activated(2) } }
            ]
        }

        function test_editedButUntickedIsNamed(data) {
            var g = page.groupA
            var before = ImageProbe.hex()
            data.edit(g)
            if (data.ticked)
                tick(data.ticked(g))
            mouseClick(g.saveBtn)
            compare(ImageProbe.hex() !== before, data.written)
            compare([g.tipInfo.visible, g.untickedTip.visible], [data.tip === "tipInfo", data.tip === "untickedTip"])
            if (data.names)
                verify(g.untickedTip.content.indexOf(": " + data.names + ".") > 0, g.untickedTip.content)
        }
    }
}

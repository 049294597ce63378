import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"
import "qrc:/qml/BaseControl"

Item {
    width: 700
    height: 500

    BQMPage { id: bankC; pageNum: 2 }
    CusInput { id: input; x: 10; y: 420 }
    CusInput { id: wide; x: 10; y: 450; maxRange: 255 }

    PageTest {
        name: "Knobs"

        // The number fields every page uses, by keyboard: a value out of range
        // is refused where it was typed and taken back when the field is left;
        // keys step from the value the field had, each step confirmed once.
        function test_inputKeys_data() {
            return [
                { tag: "just above range", field: input, text: "128", shown: "128", refused: true, left: "5", finished: 0 },
                { tag: "empty", field: input, text: "", shown: "0", refused: false, left: "0", finished: 1 },
                { tag: "in a wider range", field: wide, text: "200", shown: "200", refused: false, left: "200", finished: 1 },
                { tag: "above a wider range", field: wide, text: "999", shown: "999", refused: true, left: "5", finished: 0 },
                { tag: "up", field: input, key: Qt.Key_Up, shown: "6", finished: 1 },
                { tag: "page down, not below 0", field: input, key: Qt.Key_PageDown, shown: "0", finished: 1 },
                { tag: "page up", field: input, key: Qt.Key_PageUp, shown: "15", finished: 1 },
                { tag: "end of a wider range", field: wide, key: Qt.Key_End, shown: "255", finished: 1 },
                { tag: "home", field: wide, key: Qt.Key_Home, shown: "0", finished: 1 },
                { tag: "escape takes typing back", field: input, typing: "77", key: Qt.Key_Escape, shown: "5", finished: 0 }
            ]
        }

        function test_inputKeys(data) {
            data.field.text = "5"
            data.field.textInput.forceActiveFocus()
            wait(0) // the deferred select-all on focus
            compare(data.field.textInput.selectedText, "5", "focus selects the value")
            var finished = 0
            var count = function () { ++finished }
            data.field.editingFinished.connect(count)
            if (data.text !== undefined) {
                data.field.textInput.text = data.text
                if (data.key === undefined)
                    keyClick(Qt.Key_Return)
            }
            if (data.typing !== undefined)
                data.typing.split("").forEach(function (c) { keyClick(c) }) // replaces the selected value
            if (data.key !== undefined)
                keyClick(data.key)
            compare([data.field.textInput.text, data.field.refused, finished],
                    [data.shown, data.refused === true, data.finished])
            data.field.editingFinished.disconnect(count)
            data.field.textInput.focus = false
            if (data.left !== undefined)
                compare(data.field.textInput.text, data.left)
        }

        function test_maxIsRefusedOrSharedByAllPanels() {
            var knob = bankC.knob(1)
            enter(knob.ccMax, "200") // refused: nothing written
            compare([DataMgt.getBQMInfo(9).bqmLsbMax, knob.ccMax.refused], [127, true])
            enter(knob.ccMax, "100")
            compare([DataMgt.getBQMInfo(9).bqmLsbMax, knob.ccMax.text, knob.chnTouchMax.text, knob.inputlsbMax.text],
                    [100, "100", "100", "100"])

            mouseClick(knob.tabBar.itemAt(1))
            enter(knob.chnTouchMin, "12")
            compare([DataMgt.getBQMInfo(9).bqmLsbMin, knob.ccMin.text, knob.inputlsbMin.text], [12, "12", "12"])
            enter(knob.ccInput, "77")
            compare([DataMgt.getBQMInfo(9).bqmData, knob.chnTouchInput.text, knob.pitchBendInput.text], [77, "77", "77"])

            mouseClick(knob.tabBar.itemAt(2))
            enter(knob.inputmsbMax, "")
            compare([knob.inputmsbMax.text, DataMgt.getBQMInfo(9).bqmMsbMax], ["0", 0])
        }

        function test_tabShowsOnePanelStoresTheTypeAndReloads() {
            var knob = bankC.knob(3)
            mouseClick(knob.tabBar.itemAt(2))
            compare(DataMgt.getBQMInfo(11).bqmType, 2)
            compare([knob.ccInput.parent.visible, knob.chnTouchInput.parent.visible, knob.pitchBendInput.parent.visible],
                    [false, false, true])
            verify(!knob.pitchBendInput.enabled && !knob.chnTouchInput.enabled)
            mouseClick(knob.tabBar.itemAt(0))
            compare([DataMgt.getBQMInfo(11).bqmType, knob.ccInput.parent.visible], [0, true])
            // A batch change reloads every knob of the bank.
            DataMgt.setBQMBatch(3, "pitch", "bqmData", 100)
            for (var i = 0; i < 4; ++i) {
                knob = bankC.knob(i)
                compare([knob.tabBar.currentIndex, knob.ccInput.text, knob.pitchBendInput.text, knob.pitchBendInput.parent.visible],
                        [2, String(100 + i), String(100 + i), true])
            }
            // Loading writes the loaded type back unchanged.
            compare(DataMgt.getBQMInfo(8).bqmType, 2)
        }
    }
}

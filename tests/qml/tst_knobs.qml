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

        // The number fields every page uses: clamped, and confirmed once.
        function test_inputClamps_data() {
            return [
                { tag: "just above range", field: input, text: "128", result: "127" },
                { tag: "empty", field: input, text: "", result: "0" },
                { tag: "above a wider range", field: wide, text: "999", result: "255" }
            ]
        }

        function test_inputClamps(data) {
            var finished = 0
            var count = function () { ++finished }
            data.field.editingFinished.connect(count)
            enter(data.field, data.text)
            data.field.editingFinished.disconnect(count)
            compare([data.field.textInput.text, finished], [data.result, 1])
        }

        function test_maxIsClampedAndSharedByAllPanels() {
            var knob = bankC.knob(1)
            enter(knob.ccMax, "200")
            compare([DataMgt.getBQMInfo(9).bqmLsbMax, knob.ccMax.text, knob.chnTouchMax.text, knob.inputlsbMax.text],
                    [127, "127", "127", "127"])

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

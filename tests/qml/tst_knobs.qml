import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

Item {
    width: 700
    height: 400

    BQMPage { id: bankC; pageNum: 2 }

    TestCase {
        name: "Knobs"
        when: windowShown

        function init() {
            DataMgt.initDefaultData()
        }

        function enter(field, text) {
            field.textInput.text = text
            field.textInput.forceActiveFocus()
            keyClick(Qt.Key_Return)
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

        function test_tabShowsOnePanelAndStoresTheType() {
            var knob = bankC.knob(3)
            mouseClick(knob.tabBar.itemAt(2))
            compare(DataMgt.getBQMInfo(11).bqmType, 2)
            compare([knob.ccInput.parent.visible, knob.chnTouchInput.parent.visible, knob.pitchBendInput.parent.visible],
                    [false, false, true])
            verify(!knob.pitchBendInput.enabled && !knob.chnTouchInput.enabled)
            mouseClick(knob.tabBar.itemAt(0))
            compare([DataMgt.getBQMInfo(11).bqmType, knob.ccInput.parent.visible], [0, true])
        }

        function test_pitchBendChannelSyncsThePanels() {
            var knob = bankC.knob(1) // knob 9: the second of bank C
            mouseClick(knob.tabBar.itemAt(2))
            knob.pitchBendChannel.forceActiveFocus()
            keyClick(Qt.Key_Down)
            compare([DataMgt.getBQMInfo(9).bqmCh, knob.ccChannel.currentIndex, knob.chnTouchChannel.currentIndex], [2, 1, 1])
        }

        function test_reloadAfterABatch() {
            DataMgt.setBQMBatch(3, "pitch", "bqmData", 100)
            for (var i = 0; i < 4; ++i) {
                var knob = bankC.knob(i)
                compare([knob.tabBar.currentIndex, knob.ccInput.text, knob.pitchBendInput.text, knob.pitchBendInput.parent.visible],
                        [2, String(100 + i), String(100 + i), true])
            }
            // Loading writes the loaded type back unchanged.
            compare(DataMgt.getBQMInfo(8).bqmType, 2)
        }
    }
}

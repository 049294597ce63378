import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

Item {
    width: 400
    height: 300

    WalkingBeltPage { id: page }

    TestCase {
        name: "Transport"
        when: windowShown

        function init() {
            DataMgt.initDefaultData()
        }

        function enabled(wb) {
            return [wb.btnState.enabled, wb.inputValue.enabled, wb.cbxCH.enabled]
        }

        // MC greys the controls out and keeps their values; there is no third kind.
        function test_mcGreysOutItsControlsAndKeepsTheValues() {
            var wb = page.panel(4)
            var before = DataMgt.getWalkingBeltInfo(4)
            mouseClick(wb.tabBar.itemAt(1))
            compare(enabled(wb), [false, false, false])
            before.wbtype = 1
            compare(DataMgt.getWalkingBeltInfo(4), before)
            verify(!wb.tabBar.itemAt(2).visible)
            mouseClick(wb.tabBar.itemAt(0))
            compare(DataMgt.getWalkingBeltInfo(4).wbtype, 0)
            compare(enabled(wb), [true, true, true])
        }

        function test_editsReachTheModel() {
            var wb = page.panel(0)
            wb.inputValue.textInput.text = "99"
            wb.inputValue.textInput.forceActiveFocus()
            keyClick(Qt.Key_Return)
            mouseClick(wb.btnState)
            wb.cbxCH.forceActiveFocus()
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            var info = DataMgt.getWalkingBeltInfo(0)
            compare([info.wbData, info.wbMode, info.wbCh], [99, 1, 3])
            compare(DataMgt.getWalkingBeltInfo(1).wbMode, 0, "other buttons keep theirs")
        }
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

Item {
    width: 400
    height: 300

    WalkingBeltPage { id: page }

    PageTest {
        name: "Transport"

        function enabled(wb) {
            return [wb.btnState.enabled, wb.inputValue.enabled, wb.cbxCH.enabled]
        }

        // MC greys the controls out and keeps their values; the MIDI kind
        // comes back, and its edits reach the model.
        function test_kindsAndEdits() {
            var wb = page.panel(4)
            var before = DataMgt.getWalkingBeltInfo(4)
            mouseClick(wb.tabBar.itemAt(1))
            compare(enabled(wb), [false, false, false])
            before.wbtype = 1
            compare(DataMgt.getWalkingBeltInfo(4), before)
            mouseClick(wb.tabBar.itemAt(0))
            compare(DataMgt.getWalkingBeltInfo(4).wbtype, 0)
            compare(enabled(wb), [true, true, true])
            wb = page.panel(0)
            enter(wb.inputValue, "99")
            mouseClick(wb.btnState)
            wb.cbxCH.forceActiveFocus()
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            var info = DataMgt.getWalkingBeltInfo(0)
            compare([info.wbData, info.wbMode, info.wbCh], [99, 1, 3])
            keyClick(Qt.Key_PageDown) // ten down the list
            compare(DataMgt.getWalkingBeltInfo(0).wbCh, 13)
            keyClick(Qt.Key_End)
            compare(DataMgt.getWalkingBeltInfo(0).wbCh, 16)
            compare(DataMgt.getWalkingBeltInfo(1).wbMode, 0, "other buttons keep theirs")
        }
    }
}

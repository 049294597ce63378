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

        function test_mcGreysOutItsControlsAndKeepsTheValues() {
            var wb = page.panel(4)
            var before = DataMgt.getWalkingBeltInfo(4)
            mouseClick(wb.tabBar.itemAt(1))
            compare(DataMgt.getWalkingBeltInfo(4).wbtype, 1)
            verify(!wb.btnState.enabled)
            verify(!wb.inputValue.enabled)
            verify(!wb.cbxCH.enabled)
            compare(DataMgt.getWalkingBeltInfo(4).wbData, before.wbData)
            compare(DataMgt.getWalkingBeltInfo(4).wbCh, before.wbCh)
            // No third kind to pick.
            verify(!wb.tabBar.itemAt(2).visible)

            mouseClick(wb.tabBar.itemAt(0))
            compare(DataMgt.getWalkingBeltInfo(4).wbtype, 0)
            verify(wb.btnState.enabled)
            verify(wb.inputValue.enabled)
            verify(wb.cbxCH.enabled)
        }

        function test_editsReachTheModel() {
            var wb = page.panel(0)
            wb.inputValue.textInput.text = "99"
            wb.inputValue.textInput.forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(DataMgt.getWalkingBeltInfo(0).wbData, 99)
            mouseClick(wb.btnState)
            compare(DataMgt.getWalkingBeltInfo(0).wbMode, 1)
            wb.cbxCH.forceActiveFocus()
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            compare(DataMgt.getWalkingBeltInfo(0).wbCh, 3)
            // Other buttons keep theirs.
            compare(DataMgt.getWalkingBeltInfo(1).wbMode, 0)
        }
    }
}

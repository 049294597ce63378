import QtQuick 2.15
import QtTest 1.2

// A page's test case: runs once the window shows, each test on the default settings.
TestCase {
    when: windowShown

    function init() {
        DataMgt.initDefaultData()
    }

    // Types into a number field and confirms, as the user does.
    function enter(field, text) {
        field.textInput.forceActiveFocus()
        field.textInput.text = text
        keyClick(Qt.Key_Return)
    }
}

import QtQuick 2.15
import "../BaseControl"
import "../component"

// Help's list of the keys: every control works without a mouse.
DialogFrame {
    id: dialog

    readonly property var rows: [
        [qsTr("Tab, Shift+Tab"), qsTr("Next or previous control, in reading order")],
        [qsTr("Up, Down"), qsTr("Value or choice one step up or down")],
        [qsTr("Page Up, Page Down"), qsTr("Ten steps")],
        [qsTr("Home, End"), qsTr("Lowest or highest value")],
        [qsTr("Left, Right"), qsTr("Neighbouring tab")],
        [qsTr("Digits, Enter"), qsTr("Type a value and confirm it")],
        [qsTr("Space, Enter"), qsTr("Press a button, open a list")],
        [qsTr("Escape"), qsTr("Take back typing, close a dialog")],
        ["Ctrl+1, Ctrl+2, Ctrl+3", qsTr("Bank A, B or C")],
        ["Ctrl++, Ctrl+-, Ctrl+0", qsTr("Zoom in, out, actual size")],
        ["Ctrl+Z, Ctrl+Shift+Z", qsTr("Undo, redo")],
        ["Ctrl+Shift+T, Ctrl+Shift+G", qsTr("Send to, get from the controller")]
    ]

    dHeight: 300

    Column {
        x: 20
        y: 16
        spacing: 4

        BasicText {
            text: qsTr("Keyboard and Screen Readers")
            font.bold: true
        }

        Repeater {
            model: dialog.rows

            Row {
                spacing: 8

                BasicText {
                    width: 150
                    text: modelData[0]
                    fontSize: CusConfig.fontSizeLevel4
                }
                BasicText {
                    width: 170
                    wrapMode: Text.WordWrap
                    text: modelData[1]
                    fontSize: CusConfig.fontSizeLevel4
                    enableColor: CusConfig.colorTextSecondary
                }
            }
        }
    }
}

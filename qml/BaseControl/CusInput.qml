import QtQuick 2.15
import "."

// Three-digit number field. The text is clamped to 0..maxRange and written
// without leading zeros when editing finishes.
Rectangle {
    id: root

    property int maxRange: 127
    property color textColor: enabled ? CusConfig.colortext : CusConfig.colorTextDisable
    property alias textInput: textinput
    property alias text: textinput.text

    // Emitted after the clamped text is in place.
    signal editingFinished()

    function clampText() {
        var value = parseInt(textinput.text, 10)
        if (isNaN(value) || value < 0)
            value = 0
        if (value > maxRange)
            value = maxRange
        var clamped = String(value)
        if (textinput.text !== clamped)
            textinput.text = clamped
    }

    x: 58
    y: 9
    width: 56
    height: 14
    color: enabled ? CusConfig.colorInput : CusConfig.colorInputDisable
    radius: CusConfig.radiuSize3
    border.width: enabled ? 0 : 1
    border.color: CusConfig.colorBorderInput

    TextInput {
        id: textinput
        anchors.fill: parent
        inputMask: "000"
        text: "0"
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        selectByMouse: true
        clip: true
        color: root.textColor
        font.family: CusConfig.fontFamily
        font.pixelSize: CusConfig.fontSizeLevel2
        onEditingFinished: {
            root.clampText()
            root.editingFinished()
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import ColorP 1.0
import "../BaseControl"
import "../component/ColorLevels.js" as ColorLevels
import ".."

// Shared colour picker. keyIndex 0..47 edits that pad; -1 hands the colour
// back to the caller's swatch through its syncColorValue(). The fields show
// the controller's 0..127, and the colour is kept on that scale.
Dialog {
    id: dialog

    property string currentColor: CusConfig.colorPickerDefault
    property var colorRect: null
    property int keyIndex: -1
    property alias red: r
    property alias green: g
    property alias blue: b
    property alias confirmButton: confirmButton
    property alias code: code
    // Where the keyboard was before the dialog came, and goes back to.
    property Item returnFocus: null

    function fillInputs(color) {
        var levels = ColorLevels.levels(color)
        r.text = levels[0]
        g.text = levels[1]
        b.text = levels[2]
        code.text = ColorLevels.snapped(color)
    }

    function show(index, colorRect, rectColor) {
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
        returnFocus = parent.Window.activeFocusItem
        open()
        code.forceActiveFocus(Qt.TabFocusReason)
        colorPalette.clearPoint()
        dialog.colorRect = colorRect
        currentColor = ColorLevels.snapped(rectColor)
        keyIndex = index
        fillInputs(currentColor)
    }

    function takeInputs() {
        currentColor = ColorLevels.color(r.text, g.text, b.text)
        code.text = currentColor
        colorPalette.clearPoint()
    }

    // A "#rrggbb" code, as the controller can keep it.
    function takeCode() {
        if (code.text.toLowerCase() === currentColor)
            return
        currentColor = ColorLevels.snapped(code.text)
        fillInputs(currentColor)
        colorPalette.clearPoint()
    }

    modal: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    onClosed: {
        if (returnFocus)
            returnFocus.forceActiveFocus()
    }

    background: Rectangle {
        color: CusConfig.colorInput
        radius: CusConfig.radiuSize2
        border.width: 1
    }

    onAccepted: {
        if (dialog.colorRect)
            dialog.colorRect.color = currentColor
    }

    contentItem: Item {
        ColorPalette {
            id: colorPalette
            x: 20
            y: 30
            width: 300
            height: 300
            // The fields below do what the wheel does, by keyboard too.
            Accessible.ignored: true

            MouseArea {
                anchors.fill: parent
                onPressed: function (mouse) { colorPalette.mouseMove(mouse.x, mouse.y) }
                onPositionChanged: function (mouse) { colorPalette.mouseMove(mouse.x, mouse.y) }
            }

            // What the controller can store of the colour under the pointer.
            onColorChang: {
                dialog.currentColor = ColorLevels.snapped(colorStr)
                dialog.fillInputs(colorStr)
            }
        }

        Rectangle {
            id: rect
            x: 260
            y: 310
            width: 24
            height: 24
            color: dialog.currentColor
            border.width: 1
            border.color: CusConfig.colorBorderInput
            Accessible.role: Accessible.Graphic
            Accessible.name: ColorLevels.describe(dialog.currentColor, qsTranslate)
        }

        BasicText {
            x: 20; y: 8; height: 16
            verticalAlignment: Text.AlignVCenter
            text: qsTr("Code")
        }
        Rectangle {
            x: 60; y: 8; width: 80; height: 16
            radius: CusConfig.radiuSize3
            color: CusConfig.colorInput
            border.width: 1
            border.color: code.acceptableInput ? CusConfig.colorBorderInput : CusConfig.colorRefused

            TextInput {
                id: code
                anchors.fill: parent
                horizontalAlignment: TextInput.AlignHCenter
                verticalAlignment: TextInput.AlignVCenter
                activeFocusOnTab: true
                selectByMouse: true
                color: CusConfig.colorTextSecondary
                font.family: CusConfig.fontFamily
                font.pixelSize: CusConfig.fontSizeLevel2
                validator: RegularExpressionValidator { regularExpression: /#[0-9a-fA-F]{6}/ }
                Accessible.name: qsTr("Colour code, #rrggbb")
                onActiveFocusChanged: {
                    if (activeFocus)
                        Qt.callLater(code.selectAll)
                }
                onEditingFinished: dialog.takeCode()
            }

            FocusRing {
                shown: code.activeFocus
            }
        }

        BasicText {
            x: 45; y: 340; width: 20; height: 16
            text: qsTr("R")
            horizontalAlignment: Text.AlignRight
        }
        BasicText {
            x: 125; y: 340; width: 20; height: 16
            text: qsTr("G")
            horizontalAlignment: Text.AlignRight
        }
        BasicText {
            x: 205; y: 340; width: 20; height: 16
            text: qsTr("B")
            horizontalAlignment: Text.AlignRight
        }

        // White-on-white would hide the digits, so the fields use the dark text.
        CusInput {
            id: r
            accessibleName: qsTr("Red")
            x: 70; y: 340; width: 48; height: 16
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }
        CusInput {
            id: g
            accessibleName: qsTr("Green")
            x: 150; y: 340; width: 48; height: 16
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }
        CusInput {
            id: b
            accessibleName: qsTr("Blue")
            x: 230; y: 340; width: 48; height: 16
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }
        BasicText {
            x: 284; y: 340; height: 16
            verticalAlignment: Text.AlignVCenter
            fontSize: CusConfig.fontSizeLevel4
            enableColor: CusConfig.colorTextSecondary
            text: qsTr("0–127")
        }

        CusButton {
            x: 50; y: 370; width: 100; height: 24
            text: qsTr("cancel")
            textColor: CusConfig.colortext
            onClicked: dialog.reject()
        }
        CusButton {
            id: confirmButton
            x: 185; y: 370; width: 100; height: 24
            text: qsTr("confirm")
            textColor: CusConfig.colortext
            onClicked: {
                if (dialog.keyIndex === -1) {
                    if (dialog.colorRect && typeof dialog.colorRect.syncColorValue === "function")
                        dialog.colorRect.syncColorValue(dialog.currentColor)
                } else {
                    DataMgt.setPadInfo(dialog.keyIndex, "padRGB", dialog.currentColor)
                }
                dialog.accept()
            }
        }

        DialogScaler {
            dialog: dialog
            baseWidth: 360
            baseHeight: 430
        }
    }
}

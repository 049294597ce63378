import QtQuick 2.15
import QtQuick.Controls 2.15
import ColorP 1.0
import "../BaseControl"
import ".."

// Shared colour picker. keyIndex 0..47 edits that pad; -1 hands the colour
// back to the caller's swatch through its syncColorValue().
Dialog {
    id: dialog

    property string currentColor: CusConfig.colorPickerDefault
    property var colorRect: null
    property int keyIndex: -1

    function fillInputs(color) {
        var s = String(color)
        r.text = parseInt(s.substr(1, 2), 16)
        g.text = parseInt(s.substr(3, 2), 16)
        b.text = parseInt(s.substr(5, 2), 16)
    }

    function show(index, colorRect, rectColor) {
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
        open()
        colorPalette.clearPoint()
        dialog.colorRect = colorRect
        currentColor = String(rectColor)
        keyIndex = index
        fillInputs(currentColor)
    }

    function takeInputs() {
        currentColor = MainLogic.rgbtoStr(Number(r.text), Number(g.text), Number(b.text))
        colorPalette.clearPoint()
    }

    modal: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

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

            MouseArea {
                anchors.fill: parent
                onPressed: colorPalette.mouseMove(mouse.x, mouse.y)
                onPositionChanged: colorPalette.mouseMove(mouse.x, mouse.y)
            }

            onColorChang: {
                dialog.currentColor = colorStr
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
            x: 70; y: 340; width: 48; height: 16
            maxRange: 255
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }
        CusInput {
            id: g
            x: 150; y: 340; width: 48; height: 16
            maxRange: 255
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }
        CusInput {
            id: b
            x: 230; y: 340; width: 48; height: 16
            maxRange: 255
            textColor: CusConfig.colorTextSecondary
            border.width: 1
            onEditingFinished: dialog.takeInputs()
        }

        CusButton {
            x: 50; y: 370; width: 100; height: 24
            text: qsTr("cancel")
            textColor: CusConfig.colortext
            onClicked: dialog.reject()
        }
        CusButton {
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

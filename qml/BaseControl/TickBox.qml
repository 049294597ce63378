import QtQuick 2.15
import "."

// A check box that only shows: filled with a white check mark when ticked,
// an empty outlined square when not. Drawn, so that no font has to have a
// check mark glyph.
Rectangle {
    id: root

    property bool checked: false

    width: 12
    height: 12
    radius: 3
    color: checked ? CusConfig.colorElement : CusConfig.colorInput
    border.width: 1
    border.color: checked ? CusConfig.colorElement : CusConfig.colorBorderInput

    Canvas {
        id: mark
        anchors.fill: parent
        visible: root.checked
        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()
        onPaint: {
            var c = getContext("2d")
            c.reset()
            c.strokeStyle = CusConfig.colortext
            c.lineWidth = Math.max(1.5, width / 7)
            c.lineCap = "round"
            c.lineJoin = "round"
            c.beginPath()
            c.moveTo(width * 0.24, height * 0.52)
            c.lineTo(width * 0.43, height * 0.72)
            c.lineTo(width * 0.77, height * 0.30)
            c.stroke()
        }
    }
}

import QtQuick 2.15
import "../../BaseControl"

// A frame's caption, centred on its top edge; the plate interrupts the border.
// A frame that is ticked itself (brightness, pressure) shows its tick box here.
Rectangle {
    id: caption

    property string content
    property Item block: parent

    width: row.width + 12
    height: 16
    y: -8
    anchors.horizontalCenter: parent.horizontalCenter
    color: CusConfig.colorPanelBackground

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 4

        TickBox {
            objectName: "tickBox"
            anchors.verticalCenter: parent.verticalCenter
            visible: caption.block.checkable
            checked: caption.block.checked
        }

        Text {
            text: caption.content
            color: CusConfig.colorTitleText
            font.family: CusConfig.fontFamily
            font.pixelSize: CusConfig.fontSizeCaption
        }
    }
}

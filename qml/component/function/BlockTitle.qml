import QtQuick 2.15
import "../../BaseControl"

// A parameter block's name, centred at its top, after the box that shows
// whether the block is ticked.
Row {
    id: title

    property alias text: label.text
    property Item block: parent

    y: 3
    anchors.horizontalCenter: parent.horizontalCenter
    spacing: 4

    TickBox {
        objectName: "tickBox"
        anchors.verticalCenter: parent.verticalCenter
        visible: title.block.checkable
        checked: title.block.checked
    }

    BasicText {
        id: label
        font.bold: true
    }
}

import QtQuick 2.15
import "../../BaseControl"

// A frame's caption, centred on its top edge; the plate interrupts the border.
CusText {
    id: caption

    fontSize: CusConfig.fontSizeCaption
    width: metrics.width + 12
    height: 16
    y: -8
    anchors.horizontalCenter: parent.horizontalCenter

    TextMetrics {
        id: metrics
        font.family: CusConfig.fontFamily
        font.pixelSize: CusConfig.fontSizeCaption
        text: caption.content
    }
}

import QtQuick 2.15
import "../../BaseControl"

// A parameter block's name, centred at its top.
BasicText {
    y: 3
    anchors.horizontalCenter: parent.horizontalCenter
    font.bold: true
}

import QtQuick 2.15
import "."

// A caption on an opaque plate, so it can interrupt a frame's border.
Rectangle {
    property color textColor: "#383A3E"
    property real fontSize: 12
    property string content: "text"

    color: "#F0F0F0"

    Text {
        anchors.centerIn: parent
        text: parent.content
        color: parent.textColor
        font.family: CusConfig.fontFamily
        font.pixelSize: parent.fontSize
    }
}

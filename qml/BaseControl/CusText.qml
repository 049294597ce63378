import QtQuick 2.15
import "."

// A caption on an opaque plate, so it can interrupt a frame's border.
Rectangle {
    property color textColor: CusConfig.colorTitleText
    property real fontSize: CusConfig.fontSizeLevel2
    property string content: "text"

    color: CusConfig.colorPanelBackground

    Text {
        anchors.centerIn: parent
        text: parent.content
        color: parent.textColor
        font.family: CusConfig.fontFamily
        font.pixelSize: parent.fontSize
    }
}

import QtQuick 2.15
import "."

// Transient notice; a second show() while it is up does not prolong it.
Rectangle {
    id: root

    property color textColor: CusConfig.colortext
    property real fontSize: CusConfig.tipTextPixel
    property string content: "text"
    property int duration: 3000

    function show() {
        visible = true
        hideTimer.start()
    }

    visible: false
    color: CusConfig.colorTipBackground

    Text {
        anchors.fill: parent
        anchors.margins: 4
        text: root.content
        color: root.textColor
        font.family: CusConfig.fontFamily
        font.pixelSize: root.fontSize
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Timer {
        id: hideTimer
        interval: root.duration
        repeat: false
        onTriggered: root.visible = false
    }
}

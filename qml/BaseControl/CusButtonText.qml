import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// Text-only link button; while hovered it shows imgSource below itself.
Button {
    id: control

    property string imgSource: ""
    property color textColorNormal: CusConfig.colorBorderInput
    property color textColorDisable: CusConfig.colorCbxDisable
    property color textColorHovered: Qt.lighter(CusConfig.colorElement, 1.2)
    property color textColorPressed: Qt.darker(CusConfig.colorElement, 1.2)

    padding: 0
    leftPadding: 0
    rightPadding: 0
    topPadding: 0
    bottomPadding: 0
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel4

    background: Item {}

    contentItem: Text {
        text: control.text
        font: control.font
        color: CusConfig.stateColor(control, control.textColorNormal, control.textColorHovered,
                                    control.textColorPressed, control.textColorDisable)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Image {
        visible: control.hovered && control.imgSource !== ""
        source: visible ? control.imgSource : ""
        y: 18
        anchors.horizontalCenter: parent.horizontalCenter
        z: 10
    }

    TransArea {}
}

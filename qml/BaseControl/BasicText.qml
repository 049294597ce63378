import QtQuick 2.15
import "."

// Plain label in the house font; greys out with its item.
Text {
    property color enableColor: CusConfig.colorTitleText
    property color disableColor: CusConfig.colorTextDisable
    property real fontSize: CusConfig.fontSizeLevel2

    font.family: CusConfig.fontFamily
    font.pixelSize: fontSize
    color: enabled ? enableColor : disableColor
}

import QtQuick 2.15
import "."

// Plain label in the house font; greys out with its item.
Text {
    property color enableColor: "#383A3E"
    property color disableColor: "#a6a6a6"
    property real fontSize: CusConfig.fontSizeLevel2

    font.family: CusConfig.fontFamily
    font.pixelSize: fontSize
    color: enabled ? enableColor : disableColor
}

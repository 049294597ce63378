import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// Tab drawn from two images, one for the checked state.
TabButton {
    id: control

    property url btnImgNormal
    property url btnImgChecked
    property real fontSize: CusConfig.fontSizeLevel3
    property color textColor: CusConfig.colortext
    property color checkedTextColor: CusConfig.colortext

    width: 38
    height: 14
    implicitWidth: 38
    implicitHeight: 14
    padding: 0
    font.family: CusConfig.fontFamily
    font.pixelSize: fontSize

    // Stretched with fixed ends so the rounded corners stay round at any width.
    background: BorderImage {
        source: control.checked ? control.btnImgChecked : control.btnImgNormal
        border { left: 6; right: 6; top: 6; bottom: 6 }
        horizontalTileMode: BorderImage.Stretch
        verticalTileMode: BorderImage.Stretch
    }

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.checked ? control.checkedTextColor : control.textColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // Wider desktop fonts shrink the text to fit before it is cut short.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.min(font.pixelSize, 8)
        elide: Text.ElideRight
    }

    TransArea {}
}

pragma Singleton
import QtQuick 2.15

// Colours, radii, fonts and sizes shared by every page.
QtObject {
    // The design font is a Windows one; elsewhere a CJK-capable sans keeps
    // Chinese and Latin text in one face.
    readonly property string preferredFontFamily: "微软雅黑"
    readonly property string fallbackFontFamily: "Noto Sans CJK SC"
    property string fontFamily: Qt.fontFamilies().indexOf(preferredFontFamily) >= 0
                                ? preferredFontFamily : fallbackFontFamily
    property string trasString: typeof trans !== "undefined" ? "trans.transString" : ""

    property real fontSizeLevel1: 16
    property real fontSizeLevel2: 12
    property real fontSizeLevel3: 8
    property real fontSizeLevel4: 10

    property int scrollBarRadius: 2
    property int scrollBarMinLen: 40
    property int scrollBarSize: 10
    property int scrollBarSize_Smaller: 5
    property int tipTextPixel: 12

    property color colorElement: "#5e17cc"
    property color colorInput: "#FFFFFF"
    property color colorInputDisable: "#E5E5E5"
    property color colorBorderPopup: "#383A3E"
    property color colortext: "#FFFFFF"
    property color colorTextDisable: "#a6a6a6"
    property color colorCbxDisable: "#E5E5E5"
    property color colorBorderInput: "#707070"
    property color colorTitle: "#E5E5E5"
    property color colorMenbar: "#D9D9D9"
    property color colorTitleText: "#383A3E"

    property int radiuSize1: 15
    property int radiuSize2: 10
    property int radiuSize3: 5

    // Background rule shared by the buttons: disabled, pressed or checked,
    // hovered, normal.
    function stateColor(control, normal, hovered, pressed, disabled) {
        if (!control.enabled)
            return disabled
        if (control.pressed || control.checked)
            return pressed
        if (control.hovered)
            return hovered
        return normal
    }
}

pragma Singleton
import QtQuick 2.15

// Colours, radii, fonts and sizes shared by every page.
QtObject {
    // The design font is a Windows one; elsewhere the Chinese pages take a
    // CJK sans that keeps Chinese and Latin text in one face, and the English
    // ones the desktop's own font: a CJK face costs megabytes of glyph data
    // (stray Chinese characters still reach it through font fallback).
    readonly property string preferredFontFamily: "微软雅黑"
    readonly property string chineseFontFamily: "Noto Sans CJK SC"
    readonly property bool chinese: typeof Tran !== "undefined" && Tran.currentLanguage === "简体中文"
    property string fontFamily: Qt.fontFamilies().indexOf(preferredFontFamily) >= 0
                                ? preferredFontFamily
                                : chinese ? chineseFontFamily : Qt.application.font.family
    property string trasString: typeof trans !== "undefined" ? "trans.transString" : ""

    property real fontSizeLevel1: 16
    property real fontSizeLevel2: 12
    property real fontSizeLevel3: 8
    property real fontSizeLevel4: 10
    property real fontSizeCaption: 14
    property real fontSizeProductName: 24

    // The window's nominal size: the page area and the menu bar above it.
    readonly property int windowWidth: 1080
    readonly property int windowHeight: 832 + 60

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

    // Roles named for what they colour; the values are the design's own.
    property color colorWindowBackground: "#00000000"
    property color colorNone: "transparent"
    property color colorTextSecondary: "#707070"
    property color colorTextDialog: "#333333"
    property color colorTextOnButton: "#F0F0F0"
    property color colorTextPopupItem: "#303030"
    property color colorControlDisable: "#A6A6A6"
    property color colorBorderHover: "#2A82E4"
    property color colorPanelBackground: "#F0F0F0"
    property color colorPanelBorder: "#E5E5E5"
    property color colorGroupBorder: "#A6A6A6"
    property color colorMenuBackground: "#F0F0F0"
    property color colorHintBackground: "#E5E5E5"
    property color colorTipBackground: Qt.rgba(0.5, 0.5, 0.5, 0.5)
    // A notice over busy fields, which must stay readable.
    property color colorNoticeBackground: Qt.rgba(0.22, 0.23, 0.24, 0.9)
    property color colorSliderTrack: "#E5E5E5"
    property color colorHandle: "#CCCCCC"
    property color colorHandleHovered: "#DDDDDD"
    property color colorHandlePressed: "#999999"
    property color colorHeaderGradientTop: "#D9D9DC"
    property color colorHeaderGradientBottom: "#CFCFD3"
    property color colorHeaderBorder: "#C4C4C8"
    property color colorHeaderInnerBorder: "#B3ECECEE"
    property color colorWindowPanel: "#E5E5E5"
    property color colorWindowBorder: "#000000"
    property color colorProductName: "#000000"
    // The pad swatch before its colour is read.
    property color colorStateActive: "#FF7900"
    // A control's settings differ from the controller's.
    property color colorDiffersMark: colorStateActive
    // The connection corner, one look each, none of them the orange above:
    // connected (a green dot, dark text), not connected (a hollow grey ring,
    // grey text that is still readable) and the controller in update mode (blue).
    property color colorConnected: "#1F9D55"
    property color colorConnectedText: colorTitleText
    property color colorDisconnected: "#707070"
    property color colorUpdateMode: "#2A82E4"
    // The knock colour's channel labels.
    property color colorChannelRed: "#D43030"
    property color colorChannelGreen: "#A5D63F"
    property color colorChannelBlue: "#2A82E4"
    readonly property string colorPickerDefault: "#000000"
    // A control played on the controller: its ring, and how long it shows.
    property color colorHit: "#FF2E63"
    property int hitDuration: 300
    // The keyboard's focus (see FocusRing), and a typed value that was refused.
    property color colorFocusRing: "#111111"
    property color colorFocusRingInner: "#FFFFFF"
    property color colorRefused: "#D43030"
    // The user's zoom on top of the screen's own scale; the window keeps it.
    property real zoom: 1
    // What each zoom key step adds or takes, and the limits.
    readonly property real zoomStep: 0.1
    readonly property real zoomMin: 0.5
    readonly property real zoomMax: 2

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

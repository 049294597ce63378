import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// Two-state button: shows text1 unchecked and text2 checked.
Button {
    id: control

    property string text1: qsTr("Momentary")
    property string text2: qsTr("Toggle")
    property color backgroundColorNormal: CusConfig.colorElement
    property color backgroundColorDisable: CusConfig.colorControlDisable
    property color backgroundColorHovered: Qt.lighter(CusConfig.colorElement, 1.2)
    property color backgroundColorPressed: Qt.darker(CusConfig.colorElement, 1.2)
    property color textColor: CusConfig.colorTextOnButton
    property color disableTextColor: CusConfig.colorCbxDisable
    property color borderColor: CusConfig.colorNone

    checkable: true
    padding: 0
    text: checked ? text2 : text1
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel4

    background: Rectangle {
        implicitWidth: 80
        implicitHeight: 14
        radius: CusConfig.radiuSize3
        border.width: control.enabled ? 0 : 1
        border.color: control.enabled ? control.borderColor : CusConfig.colorBorderInput
        color: CusConfig.stateColor(control, control.backgroundColorNormal, control.backgroundColorHovered,
                                    control.backgroundColorPressed, control.backgroundColorDisable)
    }

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.enabled ? control.textColor : control.disableTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // Wider desktop fonts shrink the text to fit before it is cut short.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.min(font.pixelSize, 8)
        elide: Text.ElideRight
    }

    // For screen readers when the text alone does not say what it is
    // ("Pad A1 mode"); the text then goes with it.
    property string accessibleName: ""

    Accessible.name: accessibleName !== "" ? accessibleName : text
    Accessible.description: accessibleName !== "" ? text : ""

    // Enter as well as Space, as in the desktop's own dialogs.
    Keys.onPressed: function (event) {
        if (KeySteps.isEnter(event.key)) {
            if (checkable)
                toggle()
            clicked()
            event.accepted = true
        }
    }

    FocusRing {
        shown: control.visualFocus
    }

    TransArea {}
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// Filled accent button with centred white text.
Button {
    id: control

    property color backgroundColorNormal: CusConfig.colorElement
    property color backgroundColorDisable: CusConfig.colorCbxDisable
    property color backgroundColorHovered: Qt.lighter(CusConfig.colorElement, 1.2)
    property color backgroundColorPressed: Qt.darker(CusConfig.colorElement, 1.2)
    property alias backgroundColor: bg.color
    property alias textColor: label.color

    padding: 0
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2

    background: Rectangle {
        id: bg
        implicitWidth: 80
        implicitHeight: 24
        radius: CusConfig.radiuSize3
        color: CusConfig.stateColor(control, control.backgroundColorNormal, control.backgroundColorHovered,
                                    control.backgroundColorPressed, control.backgroundColorDisable)
    }

    contentItem: Text {
        id: label
        text: control.text
        font: control.font
        color: CusConfig.colortext
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

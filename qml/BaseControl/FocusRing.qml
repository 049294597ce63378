import QtQuick 2.15
import "."

// Marks the control that has the keyboard's focus: a dark ring with a light
// edge inside it, which shows on the light panels and on the accent alike.
// Put it in the control; `shown` says when.
Rectangle {
    id: ring

    property bool shown: parent.activeFocus
    // Outside the control by default; tabs that touch draw it inside.
    property real inset: -3

    // Neither recorded nor rescaled: it follows its control.
    objectName: "ingnoreAll"
    anchors.fill: parent
    anchors.margins: inset
    z: 10
    visible: shown
    radius: CusConfig.radiuSize3 - inset
    color: CusConfig.colorNone
    border.width: 2
    border.color: CusConfig.colorFocusRing

    Rectangle {
        anchors.fill: parent
        anchors.margins: 2
        radius: Math.max(0, parent.radius - 2)
        color: CusConfig.colorNone
        border.width: 1
        border.color: CusConfig.colorFocusRingInner
    }
}

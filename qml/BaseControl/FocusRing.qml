import QtQuick 2.15
import "."

// Marks the control that has the keyboard's focus: a dark ring with a light
// edge inside it, which shows on the light panels and on the accent alike.
// Put it in the control; `shown` says when. The ring is built only while
// shown: one is seen at a time, and a window of controls each keeping its
// own would cost start time and megabytes.
Loader {
    id: ring

    property bool shown: parent.activeFocus
    // Outside the control by default; tabs that touch draw it inside.
    property real inset: -3
    property real radius: CusConfig.radiuSize3 - inset

    // Neither recorded nor rescaled: it follows its control.
    objectName: "ingnoreAll"
    anchors.fill: parent
    anchors.margins: inset
    z: 10
    visible: shown
    active: shown

    // A file, not an inline component: that would be an object per ring.
    source: Qt.resolvedUrl("FocusRingShape.qml")
}

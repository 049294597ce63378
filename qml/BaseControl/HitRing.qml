import QtQuick 2.15
import "."

// A ring around a control played on the controller, for a moment; a new hit
// starts it again. Fill the control with it.
Rectangle {
    id: ring

    readonly property alias lit: fade.running

    function flash() {
        fade.restart()
    }

    anchors.margins: -3
    radius: CusConfig.radiuSize2 + 3
    color: CusConfig.colorNone
    border.color: CusConfig.colorHit
    border.width: 3
    visible: lit

    // The glow: a fainter, wider edge outside the ring.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -3
        radius: parent.radius + 3
        color: CusConfig.colorNone
        border.color: CusConfig.colorHit
        border.width: 3
        opacity: 0.35
    }

    NumberAnimation {
        id: fade
        target: ring
        property: "opacity"
        from: 1
        to: 0.4
        duration: CusConfig.hitDuration
    }
}

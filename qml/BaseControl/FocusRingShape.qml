import QtQuick 2.15
import "."

// What a FocusRing shows, its radius taken from the ring.
Rectangle {
    radius: parent ? parent.radius : 0
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

pragma Singleton
import QtQuick 2.15

// Lights a control played on the controller. Its ring is made on the first
// hit: most controls are never played while the editor runs, and a ring on
// every one of them at start would cost memory for nothing.
QtObject {
    // Loaded by name: a type import of HitRing would make the folder import itself.
    property Component ring: null

    // control: an item with "hitRing" (null until the first hit) and
    // "hitArea" (what the ring surrounds).
    function flash(control) {
        if (!control.hitRing) {
            if (!ring)
                ring = Qt.createComponent("HitRing.qml")
            control.hitRing = ring.createObject(control)
            control.hitRing.anchors.fill = control.hitArea
        }
        control.hitRing.flash()
    }
}

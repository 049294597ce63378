import QtQuick 2.15

// Sets the cursor and reports hovering without taking any mouse or wheel
// event from the control underneath.
MouseArea {
    anchors.fill: parent
    hoverEnabled: true
    propagateComposedEvents: true
    acceptedButtons: Qt.NoButton
    cursorShape: enabled ? Qt.PointingHandCursor : Qt.ForbiddenCursor
    onPressed: function (mouse) { mouse.accepted = false }
    onReleased: function (mouse) { mouse.accepted = false }
    onWheel: function (wheel) { wheel.accepted = false }
}

import QtQuick 2.15
import "../BaseControl"

// Dot and text telling whether the controller is connected.
Item {
    id: root

    width: 120
    height: 18

    Rectangle {
        id: rect
        y: 6
        width: 6
        height: 6
        radius: 3
        color: "#707070"
    }

    BasicText {
        id: text
        x: 10
        text: qsTr("No device found")
        enableColor: "#A6A6A6"
    }

    states: State {
        name: "connect"
        PropertyChanges { target: rect; color: "#ff7900" }
        PropertyChanges { target: text; text: qsTr("Device connected") }
    }
}

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
        color: CusConfig.colorStateIdle
    }

    BasicText {
        id: text
        x: 10
        text: qsTr("No device found")
        enableColor: CusConfig.colorTextDisable
    }

    states: State {
        name: "connect"
        PropertyChanges { target: rect; color: CusConfig.colorStateActive }
        PropertyChanges { target: text; text: qsTr("Device connected") }
    }
}

import QtQuick 2.15
import "../BaseControl"

// Dot and text telling whether the controller is connected, or in its update
// mode (the loader, or a firmware update under way), which goes first.
Item {
    id: root

    property bool connected: false
    property bool updateMode: false
    property alias dot: dot
    property alias label: label

    width: 140
    height: 18
    state: updateMode ? "update" : connected ? "connect" : ""
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Rectangle {
        id: dot
        objectName: "dot"
        y: 5
        width: 8
        height: 8
        radius: 4
        color: CusConfig.colorNone
        border.width: 1.5
        border.color: CusConfig.colorDisconnected
    }

    BasicText {
        id: label
        objectName: "label"
        x: 13
        text: qsTr("No device found")
        enableColor: CusConfig.colorDisconnected
        // The controller came, went or is being updated: said out loud.
        onTextChanged: Announce.say(label.text)
    }

    states: [
        State {
            name: "connect"
            PropertyChanges { target: dot; color: CusConfig.colorConnected; border.color: CusConfig.colorConnected }
            PropertyChanges { target: label; text: qsTr("Device connected"); enableColor: CusConfig.colorConnectedText }
        },
        State {
            name: "update"
            PropertyChanges { target: dot; color: CusConfig.colorUpdateMode; border.color: CusConfig.colorUpdateMode }
            PropertyChanges { target: label; text: qsTr("Update mode"); enableColor: CusConfig.colorUpdateMode }
        }
    ]
}

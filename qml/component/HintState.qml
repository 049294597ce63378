import QtQuick 2.15
import "../BaseControl"

// Result banner that fades in and out.
Item {
    id: root

    property string text: ""

    width: 170
    height: 25

    Rectangle {
        id: rect
        y: 6
        width: parent.width
        height: parent.height
        radius: 3
        color: CusConfig.colorHintBackground
        opacity: 0

        Behavior on opacity {
            NumberAnimation { duration: 200 }
        }

        BasicText {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            enableColor: CusConfig.colorTextDialog
        }
    }

    states: State {
        name: "pop"
        PropertyChanges { target: rect; opacity: 1 }
    }
}

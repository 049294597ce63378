import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"
import "../component"

// The snapshots kept of the controller, newest first: when, what happened and
// how many settings differ from the editor. The chosen one can be compared,
// taken into the editor (one step to undo) or saved as a preset. Up and Down
// choose, Enter compares.
DialogFrame {
    id: dialog

    property var list: null
    property alias rows: rows
    signal compareRequested

    function showFor(serial) {
        list.reload(serial)
        rows.currentIndex = 0
        openCentred()
        rows.forceActiveFocus()
    }

    function compareCurrent() {
        if (list.compare(rows.currentIndex))
            dialog.compareRequested()
    }

    dWidth: 560
    dHeight: 420

    BasicText {
        x: 20
        y: 14
        fontSize: CusConfig.fontSizeLevel1
        enableColor: CusConfig.colorTextDialog
        text: qsTr("History of the controller")
    }

    Rectangle {
        x: 20
        y: 50
        width: 520
        height: 22
        color: CusConfig.colorPanelBorder

        BasicText {
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Time")
        }
        BasicText {
            x: 170
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Event")
        }
        BasicText {
            x: 400
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Differences")
        }
    }

    ListView {
        id: rows
        objectName: "snapshotRows"
        x: 20
        y: 74
        width: 520
        height: 294
        clip: true
        focus: true
        keyNavigationEnabled: true
        model: dialog.list
        visible: count > 0
        ScrollBar.vertical: ScrollBar {}
        Keys.onReturnPressed: dialog.compareCurrent()
        Keys.onEnterPressed: dialog.compareCurrent()

        delegate: Rectangle {
            width: rows.width
            height: 28
            color: ListView.isCurrentItem ? CusConfig.colorPanelBorder : "transparent"

            MouseArea {
                anchors.fill: parent
                onClicked: rows.currentIndex = index
                onDoubleClicked: dialog.compareCurrent()
            }
            BasicText {
                x: 8
                width: 156
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                text: model.time
            }
            BasicText {
                x: 170
                width: 224
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                text: model.event
            }
            BasicText {
                x: 400
                anchors.verticalCenter: parent.verticalCenter
                text: model.differences
            }
        }
    }

    BasicText {
        x: 40
        y: 140
        width: 480
        visible: rows.count === 0
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextSecondary
        text: qsTr("Nothing has been read from the controller or written to it yet.")
    }

    Row {
        x: 20
        y: 380
        spacing: 10

        CusButton {
            objectName: "compareSnapshot"
            width: 160
            enabled: rows.count > 0
            text: qsTr("Compare")
            onClicked: dialog.compareCurrent()
        }
        CusButton {
            objectName: "takeSnapshot"
            width: 160
            enabled: rows.count > 0
            text: qsTr("Take into the editor")
            onClicked: dialog.list.take(rows.currentIndex)
        }
        CusButton {
            objectName: "saveSnapshot"
            width: 180
            enabled: rows.count > 0
            text: qsTr("Save as preset…")
            onClicked: dialog.list.saveAs(rows.currentIndex)
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"
import "../component"

// What differs between the editor and the controller or a preset file, a row
// per setting, each with a button to take the other side's value. The list
// (DifferenceList) does the comparing and the taking.
DialogFrame {
    id: dialog

    property var list: null
    readonly property string otherName: list && list.withFile ? list.fileName : qsTr("Controller")
    property alias rows: rows
    property alias takeAllButton: takeAll
    property alias statusText: status
    signal snapshotsRequested

    function showController() {
        list.compareWithController()
        openCentred()
    }

    dWidth: 560
    dHeight: 420

    BasicText {
        x: 20
        y: 14
        fontSize: CusConfig.fontSizeLevel1
        enableColor: CusConfig.colorTextDialog
        text: qsTr("Compare")
    }

    Row {
        x: 20
        y: 44
        spacing: 10

        CusButton {
            objectName: "withController"
            width: 150
            text: qsTr("With the controller")
            backgroundColorNormal: dialog.list && !dialog.list.withFile ? CusConfig.colorElement
                                                                       : CusConfig.colorControlDisable
            onClicked: dialog.list.compareWithController()
        }
        CusButton {
            objectName: "withFile"
            width: 150
            text: qsTr("With a file…")
            backgroundColorNormal: dialog.list && dialog.list.withFile ? CusConfig.colorElement
                                                                      : CusConfig.colorControlDisable
            onClicked: dialog.list.chooseFile()
        }
        CusButton {
            objectName: "withSnapshot"
            width: 150
            text: qsTr("With a snapshot…")
            onClicked: {
                dialog.close()
                dialog.snapshotsRequested()
            }
        }
    }

    Rectangle {
        x: 20
        y: 80
        width: 520
        height: 22
        color: CusConfig.colorPanelBorder

        BasicText {
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Setting")
        }
        BasicText {
            x: 200
            width: 90
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Editor")
        }
        BasicText {
            x: 300
            width: 90
            elide: Text.ElideMiddle
            anchors.verticalCenter: parent.verticalCenter
            text: dialog.otherName
        }
    }

    ListView {
        id: rows
        x: 20
        y: 104
        width: 520
        height: 264
        clip: true
        model: dialog.list
        visible: status.text === ""
        ScrollBar.vertical: ScrollBar {}

        delegate: Item {
            width: rows.width
            height: 28

            BasicText {
                x: 8
                width: 186
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                text: model.label
            }
            Row {
                x: 200
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4

                Rectangle {
                    width: 14
                    height: 14
                    visible: model.editorColor !== undefined
                    color: model.editorColor !== undefined ? model.editorColor : CusConfig.colorNone
                    border.color: CusConfig.colorGroupBorder
                }
                BasicText {
                    width: 90
                    elide: Text.ElideRight
                    text: model.editorValue
                }
            }
            Row {
                x: 300
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4

                Rectangle {
                    width: 14
                    height: 14
                    visible: model.otherColor !== undefined
                    color: model.otherColor !== undefined ? model.otherColor : CusConfig.colorNone
                    border.color: CusConfig.colorGroupBorder
                }
                BasicText {
                    width: 90
                    elide: Text.ElideRight
                    text: model.otherValue
                }
            }
            CusButton {
                objectName: "take"
                x: 400
                width: 116
                height: 22
                anchors.verticalCenter: parent.verticalCenter
                font.pixelSize: CusConfig.fontSizeLevel4
                text: dialog.list.withFile ? qsTr("Take the file's") : qsTr("Take the controller's")
                onClicked: dialog.list.take(index)
            }
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: CusConfig.colorPanelBorder
            }
        }
    }

    BasicText {
        id: status
        x: 40
        y: 140
        width: 480
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextSecondary
        text: dialog.list ? dialog.list.status : ""
    }

    CusButton {
        id: takeAll
        x: 300
        y: 380
        width: 240
        enabled: dialog.list !== null && dialog.list.count > 0
        text: dialog.list && dialog.list.withFile ? qsTr("Take all of the file's")
                                                  : qsTr("Take all of the controller's")
        onClicked: dialog.list.takeAll()
    }
}

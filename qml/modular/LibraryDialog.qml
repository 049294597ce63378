import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"
import "../component"

// The presets of the library's folders at a glance: each with a picture of
// its 48 pad colours laid out as the pad page (three banks of four by four,
// numbered from the bottom row up), its name and date. Typing filters by
// name; Up and Down choose; Enter or a double click opens; F2 renames in
// place; Delete moves the file to the trash. A file that is no preset is
// shown greyed with the reason.
DialogFrame {
    id: dialog

    property var list: null
    property alias rows: rows
    property alias filterField: filterField

    function showLibrary() {
        list.rescan()
        openCentred()
        filterField.forceActiveFocus()
    }

    function openCurrent() {
        if (list.open(rows.currentIndex))
            close()
    }

    dWidth: 560
    dHeight: 460

    BasicText {
        x: 20
        y: 14
        fontSize: CusConfig.fontSizeLevel1
        enableColor: CusConfig.colorTextDialog
        text: qsTr("Preset library")
    }

    TextField {
        id: filterField
        objectName: "libraryFilter"
        x: 20
        y: 44
        width: 520
        height: 28
        placeholderText: qsTr("Filter by name")
        text: dialog.list ? dialog.list.filter : ""
        onTextEdited: dialog.list.filter = text
        Keys.onDownPressed: rows.forceActiveFocus()
        Keys.onReturnPressed: dialog.openCurrent()
        Keys.onEnterPressed: dialog.openCurrent()
    }

    ListView {
        id: rows
        objectName: "libraryRows"
        x: 20
        y: 80
        width: 520
        height: 330
        clip: true
        keyNavigationEnabled: true
        model: dialog.list
        ScrollBar.vertical: ScrollBar {}
        Keys.onReturnPressed: dialog.openCurrent()
        Keys.onEnterPressed: dialog.openCurrent()
        Keys.onDeletePressed: dialog.list.trash(currentIndex)
        Keys.onPressed: function (event) {
            if (event.key === Qt.Key_F2 && currentItem) {
                currentItem.rename()
                event.accepted = true
            } else if (event.text.length > 0 && event.text.charCodeAt(0) > 32) {
                // Typing goes on in the filter.
                filterField.forceActiveFocus()
                filterField.insert(filterField.length, event.text)
                dialog.list.filter = filterField.text
                event.accepted = true
            }
        }

        delegate: Rectangle {
            id: entry
            // Read here: inside the pad grid's repeaters "model" is theirs.
            property var padColors: model.colors

            function rename() {
                nameEdit.text = model.name
                nameEdit.visible = true
                nameEdit.forceActiveFocus()
                nameEdit.selectAll()
            }

            width: rows.width
            height: 44
            color: ListView.isCurrentItem ? CusConfig.colorPanelBorder : "transparent"
            opacity: model.isPreset ? 1 : 0.5

            MouseArea {
                anchors.fill: parent
                onClicked: rows.currentIndex = index
                onDoubleClicked: {
                    rows.currentIndex = index
                    dialog.openCurrent()
                }
            }
            // Three banks of four by four, as the pad page shows them.
            Row {
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                visible: model.isPreset
                Repeater {
                    model: 3
                    Grid {
                        property int bank: index
                        columns: 4
                        spacing: 1
                        Repeater {
                            model: 16
                            Rectangle {
                                objectName: "padSwatch"
                                width: 7
                                height: 7
                                color: {
                                    var colors = entry.padColors
                                    var pad = bank * 16 + (3 - Math.floor(index / 4)) * 4 + index % 4
                                    return colors && colors.length === 48 ? colors[pad] : "transparent"
                                }
                            }
                        }
                    }
                }
            }
            BasicText {
                x: 110
                y: 5
                width: 300
                elide: Text.ElideMiddle
                font.bold: model.isCurrent
                text: (model.isCurrent ? "● " : "") + model.name
            }
            BasicText {
                x: 110
                y: 24
                width: 400
                elide: Text.ElideRight
                enableColor: CusConfig.colorTextSecondary
                text: model.isPreset ? model.date : model.reason
            }
            TextField {
                id: nameEdit
                x: 106
                y: 2
                width: 300
                height: 24
                visible: false
                onAccepted: {
                    visible = false
                    dialog.list.rename(index, text)
                    rows.forceActiveFocus()
                }
                Keys.onEscapePressed: {
                    visible = false
                    rows.forceActiveFocus()
                }
                onActiveFocusChanged: if (!activeFocus) visible = false
            }
        }
    }

    BasicText {
        x: 40
        y: 160
        width: 480
        visible: rows.count === 0
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextSecondary
        text: qsTr("No presets here. Save one into %1, or add a folder.").arg(dialog.list ? dialog.list.folders.join(", ") : "")
    }

    Row {
        x: 20
        y: 420
        spacing: 10
        CusButton {
            objectName: "openPreset"
            width: 110
            enabled: rows.count > 0
            text: qsTr("Open")
            onClicked: dialog.openCurrent()
        }
        CusButton {
            width: 110
            enabled: rows.count > 0
            text: qsTr("Rename")
            onClicked: rows.currentItem.rename()
        }
        CusButton {
            width: 130
            enabled: rows.count > 0
            text: qsTr("Move to Trash")
            onClicked: dialog.list.trash(rows.currentIndex)
        }
        CusButton {
            width: 130
            text: qsTr("Add Folder…")
            onClicked: dialog.list.chooseFolder()
        }
    }
}

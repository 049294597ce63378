import QtQuick 2.15
import "../BaseControl"

// One pad tile: message type, number, note, channel, mode and colour.
// Every edit goes straight into the settings model.
Item {
    id: root

    property int realIndex: -1

    // The window owns the one colour dialog; the swatch shows what it chose.
    signal colorRequested(var swatch, color current)
    // Tab changes while the tile is being built must not overwrite the
    // stored type; the page sets this after the first load.
    property bool ready: false
    // Its settings differ from the controller's.
    property bool differs: false
    property alias tabBar: tabBar
    property alias cbxCH: cbxCH
    property alias cbxNote: cbxNote
    property alias btnState: btnState
    property alias input: input
    property alias colorRect: colorRect
    property alias numberLabel: tValue
    property alias keyLabel: tKey
    // Lit by Hits.flash(); made on the first hit.
    property Item hitRing: null
    readonly property Item hitArea: rect1
    // "Pad A1": what a screen reader calls the pad and begins its fields with.
    readonly property string padName: realIndex < 0 ? "" : qsTr("Pad %1").arg("ABC"[Math.floor(realIndex / 16)]
                                                                               + (realIndex % 16 + 1))

    Accessible.role: Accessible.Grouping
    Accessible.name: padName

    // Shows and enables what the pad's type uses: a note has its name, a
    // control change or program change only its number, labelled as such.
    function uiLogic() {
        switch (tabBar.currentIndex) {
        case 0:
            cbxNote.enabled = true
            btnState.enabled = false
            cbxNote.currentIndex = Number(input.textInput.text)
            root.state = "noteState"
            break
        case 1:
            cbxNote.enabled = false
            btnState.enabled = true
            root.state = "ccState"
            break
        default:
            cbxNote.enabled = false
            btnState.enabled = false
            root.state = "pcState"
            break
        }
    }

    width: 136
    height: 136

    Rectangle {
        id: rect1
        width: 126
        height: 126
        color: CusConfig.colorPanelBackground
        border.color: CusConfig.colorPanelBorder
        radius: CusConfig.radiuSize2
    }

    DiffMark {
        objectName: "diffMark"
        x: 114
        y: 6
        visible: root.differs
    }

    BasicText {
        id: tValue
        x: 17
        y: 9
        text: "#"
    }

    CusImage {
        id: line
        x: 53
        y: 16
        source: "qrc:/img/line.png"
        visible: false
        Accessible.ignored: true
    }

    CusInput {
        id: input
        x: 58
        y: 9
        width: 56
        height: 14
        textColor: CusConfig.colorTextSecondary
        accessibleName: root.state === "noteState" ? qsTr("%1 note").arg(root.padName)
                      : root.state === "ccState" ? qsTr("%1 CC number").arg(root.padName)
                      : qsTr("%1 program number").arg(root.padName)
        valueWords: root.state === "noteState" ? cbxNote.displayText : ""
        textInput.onTextChanged: {
            if (tabBar.currentIndex === 0 && textInput.text !== "")
                cbxNote.currentIndex = Number(textInput.text)
        }
        onEditingFinished: DataMgt.setPadInfo(root.realIndex, "padData", Number(textInput.text))
    }

    BasicText {
        id: tKey
        x: 17
        y: 33
        text: qsTr("KEY")
    }

    CusComboxGrid {
        id: cbxNote
        x: 58
        y: 35
        width: 56
        height: 14
        model: NoteDataModel {}
        textRole: "key"
        soleValue: false
        ownerIndex: root.realIndex
        accessibleName: qsTr("%1 note name").arg(root.padName)
        onActivated: {
            if (tabBar.currentIndex === 0)
                input.textInput.text = cbxNote.currentIndex
            DataMgt.setPadInfo(root.realIndex, "padData", cbxNote.currentIndex)
        }
    }

    BasicText {
        id: tCH
        x: 17
        y: 59
        text: qsTr("CH")
    }

    CusCombox {
        id: cbxCH
        x: 58
        y: 61
        width: 56
        height: 14
        model: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]
        backgroundColor: CusConfig.colorInput
        accessibleName: qsTr("%1 channel").arg(root.padName)
        onActivated: DataMgt.setPadInfo(root.realIndex, "padCh", Number(cbxCH.currentText))
    }

    CusButtonState {
        id: btnState
        x: 10
        y: 85
        width: 80
        height: 14
        accessibleName: qsTr("%1 mode").arg(root.padName)
        onClicked: DataMgt.setPadInfo(root.realIndex, "padMode", btnState.checked ? 1 : 0)
    }

    Swatch {
        id: colorRect
        x: 98
        y: 85
        width: 14
        height: 14
        color: CusConfig.colorStateActive
        accessibleName: qsTr("%1 colour").arg(root.padName)
        onChosen: root.colorRequested(colorRect, colorRect.color)
    }

    CusTabBar {
        id: tabBar
        x: 8
        y: 108
        textColor: CusConfig.colorTextSecondary
        checkedTextColor: CusConfig.colortext
        accessibleName: qsTr("%1 type").arg(root.padName)
        onCurrentIndexChanged: {
            if (root.ready)
                DataMgt.setPadInfo(root.realIndex, "padtype", tabBar.currentIndex)
            root.uiLogic()
        }
    }

    states: [
        State {
            name: "noteState"
            PropertyChanges { target: tValue; visible: false }
            PropertyChanges { target: tKey; y: 21 }
            PropertyChanges { target: line; visible: true }
        },
        State {
            name: "ccState"
            PropertyChanges { target: tValue; text: qsTr("CC #") }
            PropertyChanges { target: tKey; visible: false }
            PropertyChanges { target: cbxNote; visible: false }
        },
        State {
            name: "pcState"
            PropertyChanges { target: tValue; text: qsTr("PC #") }
            PropertyChanges { target: tKey; visible: false }
            PropertyChanges { target: cbxNote; visible: false }
        }
    ]
}

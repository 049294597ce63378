import QtQuick 2.15
import "../../BaseControl"

// One bank column of the function page: the ticked blocks are written to the
// bank on "Save"; the copy buttons ask the page for another column's fields.
Item {
    id: root

    property string name: "A"
    property string title: "Group A"
    property alias knobsw: knobsw
    property alias knock: knock
    property alias brightness: brightness
    property alias pressure: pressure
    property alias leftCopyBtn: leftCopyBtn
    property alias rightCopyBtn: rightCopyBtn
    property alias saveBtn: saveBtn
    property alias tipInfo: tipInfo
    property alias untickedTip: untickedTip
    // The velocity curve and pressure level the page shows in every column.
    property alias settings: pressure.settings
    // The blocks the last Save left out: edited, but not ticked.
    property string untickedNames: ""

    readonly property var families: [knobsw, knock, brightness, pressure]

    Accessible.role: Accessible.Grouping
    Accessible.name: title

    signal colorRequested(var swatch, color current)
    signal copyFromLeft()
    signal copyFromRight()

    function bank() {
        return name === "C" ? 3 : name === "B" ? 2 : 1
    }

    function countChecked() {
        var n = 0
        for (var i = 0; i < families.length; ++i)
            n += families[i].countChecked()
        return n
    }

    function setParam(bank) {
        for (var i = 0; i < families.length; ++i)
            families[i].setParam(bank)
    }

    // Every field of every block, ticked or not.
    function copy() {
        for (var i = 0; i < families.length; ++i)
            families[i].copy()
    }

    function paste() {
        for (var i = 0; i < families.length; ++i)
            families[i].paste()
    }

    function editedUnticked() {
        var names = []
        for (var i = 0; i < families.length; ++i)
            names = names.concat(families[i].editedUnticked())
        return names
    }

    // Writes the ticked blocks; edited blocks that are not ticked are named
    // rather than passed over in silence.
    function save() {
        var unticked = editedUnticked()
        if (countChecked() === 0 && unticked.length === 0) {
            tipInfo.show()
            return
        }
        if (countChecked() > 0) {
            // Every ticked block is one step to undo.
            EditHistory.beginGroup("fillBank", bank())
            try {
                setParam(bank())
            } finally {
                EditHistory.endGroup()
            }
        }
        untickedNames = unticked.join(", ")
        if (unticked.length > 0)
            untickedTip.show()
    }

    width: bg.width
    height: bg.height

    CusImage {
        id: bg
        source: "qrc:/img/functionGroupRect@2x.png"
    }

    CusText {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 11
        width: 100
        height: 15
        fontSize: CusConfig.fontSizeCaption
        content: root.title
    }

    KnobSwitchGroup { id: knobsw; x: 7; y: 46 }
    KnockGroup { id: knock; x: 7; y: 240; onColorRequested: function (swatch, current) { root.colorRequested(swatch, current) } }
    Brightness { id: brightness; x: 7; y: 553 }
    Pressure { id: pressure; x: 7; y: 626 }

    CusButton {
        id: leftCopyBtn
        x: 7
        y: 681
        width: 160
        height: 24
        text: root.name === "A" ? qsTr("Copy data from Group B") : qsTr("Copy data from Group A")
        textColor: CusConfig.colortext
        onClicked: root.copyFromLeft()
    }

    CusButton {
        id: rightCopyBtn
        x: 177
        y: 681
        width: 160
        height: 24
        text: root.name === "C" ? qsTr("Copy data from Group B") : qsTr("Copy data from Group C")
        textColor: CusConfig.colortext
        onClicked: root.copyFromRight()
    }

    CusButton {
        id: saveBtn
        x: 136
        y: 714
        width: 72
        height: 24
        text: qsTr("Save")
        textColor: CusConfig.colortext
        onClicked: root.save()
    }

    Tip {
        id: tipInfo
        anchors.centerIn: parent
        width: root.width * 0.9
        height: 50
        radius: 40
        color: CusConfig.colorTipBackground
        textColor: CusConfig.colortext
        fontSize: CusConfig.fontSizeLevel1
        duration: 3000
        content: qsTr("Please select parameter block and fill the text field.")
    }

    Tip {
        id: untickedTip
        objectName: "untickedTip"
        anchors.centerIn: parent
        width: root.width * 0.9
        height: 96
        radius: 20
        color: CusConfig.colorNoticeBackground
        textColor: CusConfig.colortext
        fontSize: CusConfig.fontSizeLevel1
        duration: 5000
        content: qsTr("Not saved, since not ticked: %1. Tick a block to save it.").arg(root.untickedNames)
    }
}

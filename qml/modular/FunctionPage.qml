import QtQuick 2.15
import "../BaseControl"
import "../component/function"

// Bank quick-fill page, shown instead of the editor from the "Function" menu.
// One column per bank; a column's copy buttons take another column's fields.
// The velocity curve and pressure level are the controller's, not a bank's:
// every column shows the same pair.
Item {
    id: root

    property bool isVisable: false

    signal backRequested()
    signal colorRequested(var swatch, color current)
    property alias backBtn: backBtn
    property alias groupA: groupA
    property alias groupB: groupB
    property alias groupC: groupC
    property alias globalSettings: globalSettings

    function copyInto(from, to) {
        from.copy()
        to.paste()
    }

    anchors.fill: parent
    visible: isVisable

    GlobalSettings {
        id: globalSettings
    }

    CusButton {
        id: backBtn
        x: 460
        y: 84
        width: 160
        height: 24
        text: qsTr("Back")
        textColor: CusConfig.colortext
        onClicked: {
            root.isVisable = false
            root.backRequested()
        }
    }

    FunctionGroup {
        id: groupA
        x: 16
        y: 133
        name: "A"
        title: qsTr("Group A")
        settings: globalSettings
        onColorRequested: function (swatch, current) { root.colorRequested(swatch, current) }
        onCopyFromLeft: root.copyInto(groupB, groupA)
        onCopyFromRight: root.copyInto(groupC, groupA)
    }

    FunctionGroup {
        id: groupB
        x: 368
        y: 133
        name: "B"
        title: qsTr("Group B")
        settings: globalSettings
        onColorRequested: function (swatch, current) { root.colorRequested(swatch, current) }
        onCopyFromLeft: root.copyInto(groupA, groupB)
        onCopyFromRight: root.copyInto(groupC, groupB)
    }

    FunctionGroup {
        id: groupC
        x: 720
        y: 133
        name: "C"
        title: qsTr("Group C")
        settings: globalSettings
        onColorRequested: function (swatch, current) { root.colorRequested(swatch, current) }
        onCopyFromLeft: root.copyInto(groupA, groupC)
        onCopyFromRight: root.copyInto(groupB, groupC)
    }
}

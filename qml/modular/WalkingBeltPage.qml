import QtQuick 2.15
import "../BaseControl"
import "../component"

// The six transport buttons; they do not change with the bank.
Item {
    id: root

    readonly property var icons: [
        "qrc:/img/icon_previous@2x.png",
        "qrc:/img/icon_stop@2x.png",
        "qrc:/img/icon_next@2x.png",
        "qrc:/img/icon_record@2x.png",
        "qrc:/img/icon_start@2x.png",
        "qrc:/img/icon_recurrsive@2x.png"
    ]

    readonly property var names: [qsTr("Previous button"), qsTr("Stop button"), qsTr("Next button"),
                                  qsTr("Record button"), qsTr("Start button"), qsTr("Repeat button")]

    Accessible.role: Accessible.Grouping
    Accessible.name: qsTr("Transport buttons")

    // The panel of a transport button.
    function panel(index) {
        return repeater.itemAt(index).children[1]
    }

    function showHit(index) {
        Hits.flash(panel(index))
    }

    Grid {
        columns: 3
        columnSpacing: 16
        rowSpacing: 12

        Repeater {
            id: repeater
            model: root.icons

            Column {
                spacing: 4

                // The panel below says what it is.
                Image {
                    x: 29
                    source: modelData
                    Accessible.ignored: true
                }

                WalkingBelt {
                    id: wb
                    itemIndex: index
                    buttonName: root.names[index]
                    differs: Session.differingButtons.indexOf(index) >= 0
                }
            }
        }
    }
}

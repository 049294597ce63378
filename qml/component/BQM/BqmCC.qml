import QtQuick 2.15
import "../../BaseControl"

// Knob sub-panel for control change and channel pressure.
Rectangle {
    id: root

    property alias inputValue: inputValue
    property alias inputMin: inputMin
    property alias inputMax: inputMax
    property alias cbxCH: cbxCH
    // The knob's name for screen readers ("Knob B3").
    property string owner: ""

    width: 158
    height: 98
    color: CusConfig.colorPanelBackground
    border.color: CusConfig.colorPanelBorder
    radius: CusConfig.radiuSize2

    BasicText { x: 33; y: 7; text: "#" }
    BasicText { x: 33; y: 25; text: qsTr("MIN") }
    BasicText { x: 33; y: 43; text: qsTr("MAX") }
    BasicText { x: 33; y: 61; text: qsTr("CH") }

    CusInput {
        id: inputValue; x: 63; y: 8; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 CC number").arg(root.owner)
    }
    CusInput {
        id: inputMin; x: 63; y: 26; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 minimum").arg(root.owner)
    }
    CusInput {
        id: inputMax; x: 63; y: 44; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 maximum").arg(root.owner)
    }

    CusCombox {
        id: cbxCH
        x: 63
        y: 62
        width: 56
        height: 14
        model: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]
        backgroundColor: CusConfig.colorInput
        accessibleName: qsTr("%1 channel").arg(root.owner)
    }
}

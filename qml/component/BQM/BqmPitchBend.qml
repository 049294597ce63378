import QtQuick 2.15
import "../../BaseControl"

// Knob sub-panel for pitch bend: LSB and MSB ranges.
Rectangle {
    id: root

    property alias inputValue: inputValue
    property alias inputlsbMin: inputlsbMin
    property alias inputlsbMax: inputlsbMax
    property alias inputmsbMin: inputmsbMin
    property alias inputmsbMax: inputmsbMax
    property alias cbxCH: cbxCH
    // The knob's name for screen readers ("Knob B3").
    property string owner: ""

    width: 158
    height: 98
    color: CusConfig.colorPanelBackground
    border.color: CusConfig.colorPanelBorder
    radius: CusConfig.radiuSize2

    BasicText { x: 13; y: 8; text: "#" }
    CusInput {
        id: inputValue; x: 50; y: 8; enabled: false; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 CC number").arg(root.owner)
    }

    BasicText { x: 13; y: 26; text: qsTr("LSB MIN"); fontSize: CusConfig.fontSizeLevel3 }
    CusInput {
        id: inputlsbMin; x: 50; y: 26; width: 32; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 LSB minimum").arg(root.owner)
    }
    CusInput {
        id: inputlsbMax; x: 86; y: 26; width: 32; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 LSB maximum").arg(root.owner)
    }
    BasicText { x: 122; y: 26; text: qsTr("MAX"); fontSize: CusConfig.fontSizeLevel3 }

    BasicText { x: 13; y: 44; text: qsTr("MSB MIN"); fontSize: CusConfig.fontSizeLevel3 }
    CusInput {
        id: inputmsbMin; x: 50; y: 44; width: 32; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 MSB minimum").arg(root.owner)
    }
    CusInput {
        id: inputmsbMax; x: 86; y: 44; width: 32; textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 MSB maximum").arg(root.owner)
    }
    BasicText { x: 122; y: 44; text: qsTr("MAX"); fontSize: CusConfig.fontSizeLevel3 }

    BasicText { x: 13; y: 61; text: qsTr("CH") }
    CusCombox {
        id: cbxCH
        x: 50
        y: 62
        width: 56
        height: 14
        model: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]
        backgroundColor: CusConfig.colorInput
        accessibleName: qsTr("%1 channel").arg(root.owner)
    }
}

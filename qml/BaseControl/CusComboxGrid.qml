import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// The note picker: a drop-down whose pop-up is a grid filled column by column.
ComboBox {
    id: control

    property bool soleValue: true
    property color textColor: CusConfig.colorTextSecondary
    property color itemHoverColor: CusConfig.colorElement
    property color itemTextColor: CusConfig.colorTextPopupItem
    property color backgroundColor: CusConfig.colorInputDisable
    property color borderColor: CusConfig.colorGroupBorder
    property real fontSize: CusConfig.fontSizeLevel1
    // Pop-up cells follow the screen the window is on, and the user's zoom.
    property real screenRate: typeof MainLogic !== "undefined" ? MainLogic.getScalingRate() : 1
    readonly property real scale_: screenRate * CusConfig.zoom
    property real cellWidth: 30 * scale_
    // The box is rescaled with its page, so its height already carries the scale.
    property real cellHeight: height
    // Pad index of the owning tile; the rightmost column opens to the left.
    property int ownerIndex: -1
    property int hoveredIndex: -1
    readonly property int columns: 11
    readonly property int rows: 13

    width: 80
    height: 16
    padding: 0
    leftPadding: 0
    rightPadding: 0
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2

    // For screen readers: what the box chooses ("Pad A1 channel"); its
    // choice goes with it.
    property string accessibleName: ""

    Accessible.name: accessibleName
    Accessible.description: displayText

    indicator: Item {}

    Keys.onPressed: function (event) {
        if (KeySteps.stepChoice(control, event)) {
            event.accepted = true
        } else if (KeySteps.isEnter(event.key) && !popup.visible) {
            popup.open()
            event.accepted = true
        }
    }

    FocusRing {
        shown: control.visualFocus
        radius: control.height / 2 + 3
    }

    background: Rectangle {
        radius: control.height / 2
        color: control.backgroundColor
        border.width: 1
        border.color: control.enabled ? control.borderColor : CusConfig.colorCbxDisable
    }

    contentItem: Text {
        text: control.displayText
        font: control.font
        color: control.enabled ? control.textColor : CusConfig.colorTextDisable
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    delegate: ItemDelegate {
        width: control.cellWidth
        height: control.cellHeight
        padding: 0

        contentItem: Text {
            text: control.soleValue ? modelData : qsTr(model[control.textRole])
            font.family: CusConfig.fontFamily
            font.pixelSize: Math.min(control.fontSize, CusConfig.fontSizeLevel4 * control.scale_)
            color: control.currentIndex === index ? CusConfig.colortext : control.itemTextColor
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }

        background: Rectangle {
            radius: 3
            color: control.currentIndex === index ? control.itemHoverColor
                 : control.hoveredIndex === index ? Qt.lighter(control.itemHoverColor, 1.5)
                 : CusConfig.colorNone
        }

        TransArea {
            onContainsMouseChanged: {
                if (containsMouse)
                    control.hoveredIndex = index
                else if (control.hoveredIndex === index)
                    control.hoveredIndex = -1
            }
        }
    }

    popup: Popup {
        id: gridPopup
        width: control.cellWidth * control.columns + 10 * control.scale_
        height: control.cellHeight * control.rows + 2 * padding
        x: control.ownerIndex % 4 === 3 ? -200 : (control.width - width) / 2
        y: control.height + 3
        padding: 5

        contentItem: GridView {
            clip: true
            interactive: false
            flow: GridView.FlowTopToBottom
            cellWidth: control.cellWidth
            cellHeight: control.cellHeight
            model: gridPopup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
        }

        background: Rectangle {
            radius: 10
            color: CusConfig.colorInput
            border.width: 1
            border.color: control.borderColor
        }
    }

    Connections {
        target: typeof MainLogic !== "undefined" ? MainLogic : null
        function onScreenChanged() { control.screenRate = MainLogic.getScalingRate() }
    }
}

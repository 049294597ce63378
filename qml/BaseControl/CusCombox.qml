import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// Pill-shaped drop-down with a plain list below it.
ComboBox {
    id: control

    property bool soleValue: true
    property real offsetValue: height / 2
    property color textColor: CusConfig.colorTitleText
    property color textDisableColor: CusConfig.colorCbxDisable
    property color itemHoverColor: CusConfig.colorElement
    property color itemTextColor: CusConfig.colorTitleText
    property color itembackgroundColor: CusConfig.colorInput
    property color backgroundColor: CusConfig.colorElement
    property color backgroundDisableColor: CusConfig.colorControlDisable
    property color borderColor: CusConfig.colorBorderInput
    // Pop-up cells follow the screen the window is on, and the user's zoom.
    property real screenRate: typeof MainLogic !== "undefined" ? MainLogic.getScalingRate() : 1
    readonly property real scale_: screenRate * CusConfig.zoom

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
        radius: control.offsetValue
        color: control.enabled ? control.backgroundColor : control.backgroundDisableColor
        border.width: control.enabled ? 0 : 1
        border.color: control.borderColor
    }

    contentItem: Text {
        text: qsTr(control.displayText)
        font: control.font
        color: control.enabled ? control.textColor : control.textDisableColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    delegate: ItemDelegate {
        id: row
        width: control.popup.width
        // The box itself is already rescaled with its page.
        height: control.height
        padding: 0
        highlighted: control.highlightedIndex === index

        contentItem: Text {
            text: control.soleValue ? modelData : qsTr(model[control.textRole])
            font.family: CusConfig.fontFamily
            font.pixelSize: CusConfig.fontSizeLevel2 * control.scale_
            color: control.currentIndex === index ? CusConfig.colortext : control.itemTextColor
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }

        background: Rectangle {
            color: control.currentIndex === index ? control.itemHoverColor
                 : control.hoveredIndex === index ? Qt.lighter(control.itemHoverColor, 1.5)
                 : control.itembackgroundColor
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
        x: control.offsetValue
        y: control.height
        width: control.width - 2 * control.offsetValue
        implicitHeight: Math.min(contentItem.implicitHeight, control.height * 17)
        padding: 0

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
            ScrollIndicator.vertical: ScrollIndicator {}
        }

        background: Rectangle {
            color: control.itembackgroundColor
            border.width: 1
            border.color: CusConfig.colorBorderPopup
        }
    }

    property int hoveredIndex: -1

    Connections {
        target: typeof MainLogic !== "undefined" ? MainLogic : null
        function onScreenChanged() { control.screenRate = MainLogic.getScalingRate() }
    }
}

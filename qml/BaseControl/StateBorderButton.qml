import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// A block whose tick is shown by its border colour.
Button {
    id: control

    property color backgroundColor: "#E5E5E5"
    property color borderNormalColor: "transparent"
    property color borderHoverColor: "#2A82E4"
    property color borderPressedColor: "#707070"
    property color borderDisableColor: "#a6a6a6"

    function setChecked(flag) {
        if (checked !== flag)
            checked = flag
    }

    checkable: true
    checked: false
    padding: 0

    background: Rectangle {
        radius: 6
        color: control.backgroundColor
        border.width: 2
        border.color: CusConfig.stateColor(control, control.borderNormalColor, control.borderHoverColor,
                                           control.borderPressedColor, control.borderDisableColor)
    }

    contentItem: Item {}
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// A block whose tick is shown by its border colour.
Button {
    id: control

    property color backgroundColor: CusConfig.colorInputDisable
    property color borderNormalColor: CusConfig.colorNone
    property color borderHoverColor: CusConfig.colorBorderHover
    property color borderPressedColor: CusConfig.colorBorderInput
    property color borderDisableColor: CusConfig.colorControlDisable

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

import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// A block that is ticked to take part: its title carries a TickBox and its
// border turns to the accent while ticked. `edited` says that the user changed
// one of its fields since the block was last written.
Button {
    id: control

    property color backgroundColor: CusConfig.colorInputDisable
    property color borderNormalColor: CusConfig.colorNone
    property color borderHoverColor: CusConfig.colorBorderHover
    property color borderPressedColor: CusConfig.colorElement
    property color borderDisableColor: CusConfig.colorControlDisable
    property bool edited: false

    function setChecked(flag) {
        if (checked !== flag)
            checked = flag
    }

    function markEdited() {
        edited = true
    }

    checkable: true
    checked: false
    padding: 0
    // A frame that is not ticked itself takes no focus; a block is named by its title.
    focusPolicy: checkable ? Qt.StrongFocus : Qt.NoFocus
    Accessible.name: control.title !== undefined ? control.title : text

    // Enter ticks as Space does.
    Keys.onPressed: function (event) {
        if (KeySteps.isEnter(event.key) && checkable) {
            toggle()
            clicked()
            event.accepted = true
        }
    }

    FocusRing {
        shown: control.visualFocus
        radius: 8
    }

    background: Rectangle {
        radius: 6
        color: control.backgroundColor
        border.width: 2
        border.color: CusConfig.stateColor(control, control.borderNormalColor, control.borderHoverColor,
                                           control.borderPressedColor, control.borderDisableColor)
    }

    contentItem: Item {}
}

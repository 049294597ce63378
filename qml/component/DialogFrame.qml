import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import "../BaseControl"
import ".."

// The frame the About and firmware dialogs share: a modal box of 358 x 216
// base pixels that follows the screen's scaling rate, with a close button.
// The dialog's own items go into the content item beside these.
Dialog {
    id: dialog

    property int dWidth: 358
    property int dHeight: 216
    // False while something runs that the dialog must stay open for.
    property bool closable: true

    // Where the keyboard was before the dialog came, and goes back to.
    property Item returnFocus: null

    function openCentred() {
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
        if (!opened)
            returnFocus = parent.Window.activeFocusItem
        open()
    }

    function show() {
        openCentred()
    }

    width: dWidth
    height: dHeight
    modal: true
    closePolicy: closable ? Popup.CloseOnEscape | Popup.CloseOnPressOutside : Popup.NoAutoClose
    // Takes the keyboard, so that Escape and Tab work in it.
    focus: true
    onClosed: {
        if (returnFocus)
            returnFocus.forceActiveFocus()
    }
    leftPadding: 0
    topPadding: 0
    rightPadding: 0
    bottomPadding: 0

    background: Rectangle {
        id: bg
        color: CusConfig.colorPanelBackground
        border.width: 1
        radius: CusConfig.radiuSize2
    }

    contentItem: Item {
        DialogScaler {
            dialog: dialog
            baseWidth: dialog.dWidth
            baseHeight: dialog.dHeight
        }

        CusButton_Image {
            x: dialog.dWidth - 30
            y: 3
            z: 1
            visible: dialog.closable
            btnImgNormal: "qrc:/img/icon_close_default.png"
            btnImgHovered: "qrc:/img/icon_close_click.png"
            btnImgPressed: "qrc:/img/icon_close_click.png"
            Accessible.name: qsTr("Close")
            onClicked: dialog.close()
        }
    }
}

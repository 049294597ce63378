import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// Icon button: a 15 x 15 image picked by the button state. These are the
// window's and the dialogs' close and minimise buttons, which are no Tab
// stops, as on the desktop's own title bars (Escape closes a dialog, Ctrl+Q
// the window): they have no focus ring, and Space on one unseen would close.
Button {
    id: control

    focusPolicy: Qt.NoFocus

    property url btnImgNormal
    property url btnImgHovered: btnImgNormal
    property url btnImgPressed: btnImgHovered
    property url btnImgDisbaled: btnImgNormal
    property bool selected: false

    implicitWidth: 24
    implicitHeight: 36
    padding: 0

    background: Item {}

    contentItem: Item {
        Image {
            anchors.centerIn: parent
            width: 15
            height: 15
            sourceSize: Qt.size(30, 30)
            smooth: true
            source: !control.enabled ? control.btnImgDisbaled
                  : (control.pressed || control.checked || control.selected) ? control.btnImgPressed
                  : control.hovered ? control.btnImgHovered
                  : control.btnImgNormal
        }
    }

    TransArea {}
}

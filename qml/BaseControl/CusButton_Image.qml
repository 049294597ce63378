import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// Icon button: a 15 x 15 image picked by the button state.
Button {
    id: control

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

import QtQuick 2.15
import "../BaseControl"

// Bank quick-fill page. Shown instead of the editor from the "Function" menu.
// Its parameter columns are added on top of this frame.
Item {
    id: root

    property bool isVisable: false

    anchors.fill: parent
    visible: isVisable

    CusButton {
        id: backBtn
        x: 460
        y: 84
        width: 160
        height: 24
        text: qsTr("Back")
        textColor: "#FFFFFF"
        onClicked: {
            root.isVisable = false
            mainPage.isVisable = true
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"

// The "About" box. The language state picks which link rows it shows; the
// rows themselves are added on top of this frame.
Dialog {
    id: dialog

    property int dWidth: 358
    property int dHeight: 216
    property alias helpStae: helpStae

    function show() {
        x = (parent.width - width) / 2
        y = (parent.height - height) / 2
        open()
    }

    width: dWidth
    height: dHeight
    modal: true
    leftPadding: 0
    topPadding: 0

    background: Rectangle {
        id: bg
        color: "#f0f0f0"
        border.width: 1
        radius: CusConfig.radiuSize2
    }

    contentItem: Item {
        Item {
            id: helpStae
            states: [
                State { name: "chineseHelp" },
                State { name: "englishHelp" }
            ]
        }

        BasicText {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 118
            text: qsTr("Korvel PC Control Windows OS")
            enableColor: CusConfig.colorTextDisable
        }

        BasicText {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 132
            text: MainLogic.getSoftVersion()
            enableColor: CusConfig.colorTextDisable
        }

        CusButton_Image {
            x: 328
            y: 3
            btnImgNormal: "qrc:/img/icon_close_default.png"
            btnImgHovered: "qrc:/img/icon_close_click.png"
            btnImgPressed: "qrc:/img/icon_close_click.png"
            onClicked: dialog.close()
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// Tab drawn from two images, one for the checked state.
TabButton {
    id: control

    property url btnImgNormal
    property url btnImgChecked
    property real fontSize: CusConfig.fontSizeLevel3
    property color textColor: CusConfig.colortext
    property color checkedTextColor: CusConfig.colortext

    width: 38
    height: 14
    implicitWidth: 38
    implicitHeight: 14
    padding: 0
    font.family: CusConfig.fontFamily
    font.pixelSize: fontSize

    // Stretched with fixed ends so the rounded corners stay round at any width.
    background: BorderImage {
        source: control.checked ? control.btnImgChecked : control.btnImgNormal
        border { left: 6; right: 6; top: 6; bottom: 6 }
        horizontalTileMode: BorderImage.Stretch
        verticalTileMode: BorderImage.Stretch
    }

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.checked ? control.checkedTextColor : control.textColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // Wider desktop fonts shrink the text to fit before it is cut short.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.min(font.pixelSize, 8)
        elide: Text.ElideRight
    }

    // Only the chosen tab is a Tab stop; the arrows move the choice.
    focusPolicy: checked ? Qt.StrongFocus : Qt.ClickFocus

    Keys.onPressed: function (event) {
        var bar = TabBar.tabBar
        var delta = event.key === Qt.Key_Left ? -1 : event.key === Qt.Key_Right ? 1 : 0
        if (delta !== 0 && bar) {
            var index = bar.currentIndex + delta
            var next = bar.itemAt(index)
            if (next && next.enabled) {
                bar.setCurrentIndex(index)
                next.forceActiveFocus(Qt.TabFocusReason)
            }
            event.accepted = true
        } else if (KeySteps.isEnter(event.key)) {
            checked = true
            event.accepted = true
        }
    }

    FocusRing {
        shown: control.visualFocus
        inset: 1
    }

    TransArea {}
}

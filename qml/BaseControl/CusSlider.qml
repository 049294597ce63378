import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

Slider {
    id: control

    property bool showNumber: false

    from: 0
    to: 1
    stepSize: 0.01
    value: 1
    implicitWidth: 192
    implicitHeight: handleItem.height
    padding: 0

    background: Rectangle {
        x: control.leftPadding
        y: control.topPadding + control.availableHeight / 2 - height / 2
        width: control.availableWidth
        height: 4
        radius: 2
        color: CusConfig.colorSliderTrack

        Rectangle {
            width: control.visualPosition * parent.width
            height: parent.height
            radius: 2
            color: CusConfig.colorElement
        }
    }

    handle: Rectangle {
        id: handleItem
        x: control.leftPadding + control.visualPosition * (control.availableWidth - width)
        y: control.topPadding + control.availableHeight / 2 - height / 2
        width: control.showNumber ? 24 : 16
        height: width
        radius: width / 2
        color: control.pressed ? CusConfig.colorHandlePressed
                             : control.hovered ? CusConfig.colorHandleHovered : CusConfig.colorHandle

        Text {
            anchors.centerIn: parent
            visible: control.showNumber
            text: Math.round(control.value)
            font.family: CusConfig.fontFamily
            font.pixelSize: CusConfig.fontSizeLevel4
            color: CusConfig.colorTitleText
        }
    }

    // Beyond the arrows: ten steps, and the ends.
    Keys.onPressed: function (event) {
        var delta = KeySteps.stepOf(event.key, (to - from) / stepSize)
        if (delta !== 0 && event.key !== Qt.Key_Up && event.key !== Qt.Key_Down) {
            value = Math.max(from, Math.min(to, value + delta * stepSize))
            moved()
            event.accepted = true
        }
    }

    FocusRing {
        shown: control.visualFocus
        radius: height / 2
    }

    TransArea {}
}

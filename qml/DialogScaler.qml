import QtQuick 2.15
import "BaseControl"

// AutoResize for a dialog's content item: lays the content out at the
// screen's scaling rate and sizes the dialog to its base size times that
// rate, again whenever the window moves to a screen with another rate.
// Dialogs float above the window, out of reach of the page's own AutoResize.
AutoResize {
    id: scaler

    property var dialog
    property real baseWidth
    property real baseHeight

    // The user's zoom (Ctrl++, Ctrl+-) on top of the screen's rate.
    function rescale() {
        verticalRatio = MainLogic.getScalingRate() * CusConfig.zoom
        horizontalRatio = MainLogic.getScalingRate() * CusConfig.zoom // lays the content out again
        dialog.width = baseWidth * horizontalRatio
        dialog.height = baseHeight * verticalRatio
    }

    Component.onCompleted: {
        begin()
        rescale()
        resize() // also when the rate is 1 and nothing changed
    }

    Connections {
        target: MainLogic
        function onScreenChanged() { scaler.rescale() }
    }

    Connections {
        target: CusConfig
        function onZoomChanged() { scaler.rescale() }
    }
}

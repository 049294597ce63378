import QtQuick 2.15
import QtQuick.Controls 2.15

// A page of a SwipeView built when it is first shown or swiped towards, and
// kept from then on.
Loader {
    readonly property bool wanted: SwipeView.isCurrentItem || (SwipeView.view && SwipeView.view.contentItem.moving)

    active: false
    onWantedChanged: {
        if (wanted)
            active = true
    }
    // The window's AutoResize laid out what existed at the start.
    onLoaded: {
        if (typeof autoResize !== "undefined")
            autoResize.adopt(item)
    }
    Component.onCompleted: {
        if (wanted)
            active = true
    }
}

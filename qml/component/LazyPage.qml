import QtQuick 2.15
import QtQuick.Controls 2.15

// A page of a SwipeView built when it is first shown or swiped towards, and
// kept from then on.
Loader {
    readonly property bool wanted: SwipeView.isCurrentItem || (SwipeView.view && SwipeView.view.contentItem.moving)

    // Whatever lays out new pages for the window's scale (its AutoResize).
    property var resizer: null

    // The view places its pages; a place the resizer noted before the view
    // had laid them out would stack every page on the first one.
    objectName: "ingnoreAll"

    active: false
    // Out of sight, out of the Tab order.
    visible: wanted
    onWantedChanged: {
        if (wanted)
            active = true
    }
    onLoaded: {
        if (resizer)
            resizer.adopt(item)
    }
    Component.onCompleted: {
        if (wanted)
            active = true
    }
}

.pragma library

// How far a key moves a value or a choice: the arrows by one, Page Up and
// Page Down by ten, Home and End to the ends (range: the distance between
// them). 0 for any other key.
function stepOf(key, range) {
    switch (key) {
    case Qt.Key_Up: return 1
    case Qt.Key_Down: return -1
    case Qt.Key_PageUp: return 10
    case Qt.Key_PageDown: return -10
    case Qt.Key_Home: return -range
    case Qt.Key_End: return range
    }
    return 0
}

// Ctrl+Shift+Z and Ctrl+Y both redo, whatever the desktop's scheme says.
function isRedo(event) {
    var ctrl = (event.modifiers & Qt.ControlModifier) !== 0
    var shift = (event.modifiers & Qt.ShiftModifier) !== 0
    return ctrl && ((event.key === Qt.Key_Z && shift) || (event.key === Qt.Key_Y && !shift))
}

function isEnter(key) {
    return key === Qt.Key_Return || key === Qt.Key_Enter
}

// A combo box's choice moved down its list by Page Up, Page Down, Home or
// End (the box itself takes the arrows), as a user's pick: it reports
// `activated`. True when the key was one of these.
function stepChoice(box, event) {
    // Down the list is up the index: Page Down goes on, Home to the start.
    var isPage = event.key === Qt.Key_PageUp || event.key === Qt.Key_PageDown
    var isEnd = event.key === Qt.Key_Home || event.key === Qt.Key_End
    var delta = isPage ? -stepOf(event.key, box.count) : isEnd ? stepOf(event.key, box.count) : 0
    if (delta === 0 || box.popup.visible)
        return false
    var index = Math.max(0, Math.min(box.count - 1, box.currentIndex + delta))
    if (index !== box.currentIndex) {
        box.currentIndex = index
        box.activated(index)
    }
    return true
}

import QtQuick 2.15
import QtQuick.Controls 2.15

// A menu command with keys. The keys are a Shortcut of their own rather than
// the action's, because only a Shortcut tells its sequence's native text,
// which the menu item shows; they work wherever the window has the focus.
Action {
    id: action

    // The sequence the item shows (a StandardKey or a text) and any others.
    property var keys
    property var moreKeys: []
    readonly property string keysText: key.nativeText

    readonly property Shortcut key: Shortcut {
        sequence: action.keys
        sequences: action.moreKeys
        enabled: action.enabled
        onActivated: action.trigger()
    }
}

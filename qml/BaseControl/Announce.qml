pragma Singleton
import QtQuick 2.15

// What changed by itself, for screen readers: the window shows the latest
// line to them as an alert.
QtObject {
    signal said(string text)

    function say(text) {
        said(text)
    }
}

import QtQuick 2.15

// The velocity curve and the pressure level as the function page shows them.
// The controller has one of each, so the page keeps one pair, whichever
// column shows or edits it; it follows the settings whenever they change
// there, and keeps a value still being edited otherwise.
QtObject {
    id: root

    property string level: "0"
    property int curve: 0
    // What the settings hold.
    property int storedLevel: -1
    property int storedCurve: -1

    function load() {
        var stored = DataMgt.getCurveInten()
        if (stored.intensity === storedLevel && stored.curve === storedCurve)
            return
        storedLevel = stored.intensity
        storedCurve = stored.curve
        level = String(stored.intensity)
        curve = stored.curve
    }

    property Connections watch: Connections {
        target: DataMgt
        function onImageChanged() { root.load() }
        function onS_updateDate() { root.load() }
    }

    Component.onCompleted: load()
}

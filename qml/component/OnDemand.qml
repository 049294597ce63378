import QtQml 2.15

// A popup built the first time it is needed and kept from then on: until the
// user opens it, its parts cost neither memory nor start time, and naming it
// by file keeps them from being compiled before then.
QtObject {
    property url source
    // Returns the properties it is built with: asked for then, not before.
    property var initial: null
    property var parentItem: null
    property var item: null

    function get() {
        if (!item) {
            var component = Qt.createComponent(source)
            item = component.createObject(parentItem, initial ? initial() : {})
            if (!item)
                console.warn(component.errorString())
        }
        return item
    }
}

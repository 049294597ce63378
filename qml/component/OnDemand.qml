import QtQml 2.15

// A popup built the first time it is needed and kept from then on: until the
// user opens it, its parts cost neither memory nor start time.
QtObject {
    property Component component
    property var parentItem: null
    property var item: null

    function get() {
        if (!item)
            item = component.createObject(parentItem)
        return item
    }
}

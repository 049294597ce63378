import QtQuick 2.15

// Records the geometry and font size of every item under targetItem once,
// then lays them out again at horizontalRatio / verticalRatio.
Item {
    id: globalResize

    property var targetItem: parent
    property bool fixedAspectRatio: false
    property bool accordingToX: true
    property bool fontAccordingToMax: false
    property bool ifAutoResize: true
    property string ingnoreAll: "ingnoreAll"
    property string ingnoreChildren: "ingnoreChildren"
    property real horizontalRatio: 1
    property real verticalRatio: 1
    property real fontRatio: 1
    property real fontSizeScaleFactor: 1
    property bool isBegin: false
    property var targetItemGeometry: ({})
    property var childrenItemGeometry: []
    property var childrenText: []

    signal resized()

    function fontSizeOf(item) {
        if (item.font === undefined || item.font === null)
            return 0
        return item.font.pixelSize > 0 ? item.font.pixelSize : 0
    }

    // Positioners place their children themselves; their gaps scale too.
    function spacingOf(item, name) {
        return typeof item[name] === "number" ? item[name] : undefined
    }

    // What resize() needs of an item, as it stands now.
    function noted(child, placedByView) {
        return {
            item: child,
            placedByView: placedByView,
            objectName: child.objectName,
            x: child.x,
            y: child.y,
            centerX: child.x + child.width / 2,
            centerY: child.y + child.height / 2,
            width: child.width,
            height: child.height,
            // A text that sizes itself keeps doing so: its font scales instead.
            // Items that lay out their own children take the size given.
            implicitSized: child.objectName !== ingnoreChildren && fontSizeOf(child) > 0
                           && child.width === child.implicitWidth
                           && child.height === child.implicitHeight,
            fontPixelSize: fontSizeOf(child),
            spacing: spacingOf(child, "spacing"),
            rowSpacing: spacingOf(child, "rowSpacing"),
            columnSpacing: spacingOf(child, "columnSpacing")
        }
    }

    // A flickable's content item stands where it is scrolled to, and its view
    // places the delegates on it: neither is laid out here, or a later resize
    // would scroll a swipe view back to the page shown when it was noted.
    function getAllChildren(list, target, placedByView) {
        var children = target.children
        for (var i = 0; i < children.length; ++i) {
            var child = children[i]
            if (child === globalResize || child.objectName === ingnoreAll)
                continue
            var scrolled = child === target.contentItem && typeof target.contentX === "number"
            if (!scrolled)
                list.push(noted(child, placedByView === true))
            if (child.objectName !== ingnoreChildren)
                getAllChildren(list, child, scrolled)
        }
        return list
    }

    function begin() {
        targetItemGeometry = {
            width: targetItem.width,
            height: targetItem.height
        }
        childrenItemGeometry = getAllChildren([], targetItem)
        isBegin = true
    }

    // Takes in the children of an item built after begin(), such as a page
    // loaded on first show, and lays them out at the current ratios.
    function adopt(item) {
        if (!isBegin || !item)
            return
        childrenItemGeometry = getAllChildren(childrenItemGeometry, item)
        resize()
    }

    function setIfChanged(item, name, value) {
        if (item[name] !== value)
            item[name] = value
    }

    function resize() {
        if (!isBegin || !ifAutoResize)
            return
        fontRatio = fontAccordingToMax ? Math.max(horizontalRatio, verticalRatio)
                                       : Math.min(horizontalRatio, verticalRatio)
        var hr = horizontalRatio
        var vr = verticalRatio
        if (fixedAspectRatio) {
            hr = Math.min(horizontalRatio, verticalRatio)
            vr = hr
        }
        for (var i = 0; i < childrenItemGeometry.length; ++i) {
            var g = childrenItemGeometry[i]
            var item = g.item
            if (!item)
                continue
            var w = g.width * hr
            var h = g.height * vr
            if (!g.placedByView) {
                if (!g.implicitSized) {
                    setIfChanged(item, "width", w)
                    setIfChanged(item, "height", h)
                }
                if (accordingToX) {
                    setIfChanged(item, "x", g.x * hr)
                    setIfChanged(item, "y", g.y * vr)
                } else {
                    setIfChanged(item, "x", g.centerX * hr - w / 2)
                    setIfChanged(item, "y", g.centerY * vr - h / 2)
                }
            }
            if (g.fontPixelSize > 0)
                setIfChanged(item.font, "pixelSize", g.fontPixelSize * fontRatio * fontSizeScaleFactor)
            if (g.spacing !== undefined)
                setIfChanged(item, "spacing", g.spacing * Math.min(hr, vr))
            if (g.rowSpacing !== undefined)
                setIfChanged(item, "rowSpacing", g.rowSpacing * vr)
            if (g.columnSpacing !== undefined)
                setIfChanged(item, "columnSpacing", g.columnSpacing * hr)
        }
        resized()
    }

    // Both: the two follow the zoom one after the other, and a pass on the
    // first alone laid heights and rows out at the last zoom.
    onHorizontalRatioChanged: resize()
    onVerticalRatioChanged: resize()
}

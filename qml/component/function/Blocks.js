.pragma library

// What a family of parameter blocks says about its ticks and edits.

function countChecked(blocks) {
    var n = 0
    for (var i = 0; i < blocks.length; ++i)
        n += blocks[i].checked ? 1 : 0
    return n
}

// The blocks the user changed but did not tick, by name ("Knobs CC"): Save
// leaves them out and says so.
function editedUnticked(blocks, family) {
    var names = []
    for (var i = 0; i < blocks.length; ++i) {
        if (blocks[i].edited && !blocks[i].checked)
            names.push(family ? family + " " + blocks[i].title : blocks[i].title)
    }
    return names
}

// A field's name for screen readers: its block's title and the label on its
// left in the same row ("CC MIN").
function fieldName(field) {
    var label = null
    var siblings = field.parent ? field.parent.children : []
    for (var i = 0; i < siblings.length; ++i) {
        var s = siblings[i]
        if (s.objectName === "blockLabel" && s.visible && Math.abs(s.y - field.y) < 8 && s.x < field.x
                && (!label || s.x > label.x))
            label = s
    }
    var title = field.block && field.block.title ? field.block.title + " " : ""
    return title + (label ? label.text : "")
}

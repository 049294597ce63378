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

.pragma library

// The controller keeps each colour component as 0..127, and the pages show
// those numbers, as Compare and `mavuctl dump` do; the screen draws 0..255.
// A colour is shown on the controller's scale and drawn at twice its numbers,
// so whatever number is typed is what the controller gets and shows again.

// "#rrggbb" (or QML's "#aarrggbb") as its components on the controller's scale.
function levels(color) {
    var s = String(color)
    s = s.substr(s.length - 6)
    return [0, 2, 4].map(function (i) { return Math.floor(parseInt(s.substr(i, 2), 16) / 2) })
}

// Components on the controller's scale (numbers or texts) as "#rrggbb".
function color(r, g, b) {
    return "#" + [r, g, b].map(function (c) {
        var v = Math.max(0, Math.min(127, Math.floor(Number(c)) || 0)) * 2
        return (v < 16 ? "0" : "") + v.toString(16)
    }).join("")
}

// The colour as the controller can keep it.
function snapped(c) {
    var l = levels(c)
    return color(l[0], l[1], l[2])
}

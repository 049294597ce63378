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

// The colour in words for screen readers, by its hue: a name of the
// "ColourNames" translation context (for qsTranslate). Components 0..127.
function nameOf(r, g, b) {
    var max = Math.max(r, g, b), min = Math.min(r, g, b)
    if (max < 16)
        return "black"
    if (max - min < max * 0.2)
        return max > 100 ? "white" : "grey"
    var hue
    if (max === r)
        hue = (60 * (g - b) / (max - min) + 360) % 360
    else if (max === g)
        hue = 60 * (b - r) / (max - min) + 120
    else
        hue = 60 * (r - g) / (max - min) + 240
    var names = [[15, "red"], [45, "orange"], [70, "yellow"], [160, "green"], [195, "cyan"], [255, "blue"],
                 [290, "purple"], [335, "magenta"], [360, "red"]]
    for (var i = 0; i < names.length; ++i) {
        if (hue < names[i][0])
            return names[i][1]
    }
    return "red"
}

// "red, 127 0 0": the words and the numbers of a "#rrggbb" colour, the
// words translated by tr (qsTranslate).
function describe(c, tr) {
    var l = levels(c)
    return tr("ColourNames", nameOf(l[0], l[1], l[2])) + ", " + l.join(" ")
}

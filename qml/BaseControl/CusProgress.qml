import QtQuick 2.15
import "."

// Fill gauge: a purple column rises behind the artwork as value goes 0..1.
// The parts follow the gauge's own size, so a page rescaling the gauge
// rescales them; AutoResize leaves the parts themselves alone.
Item {
    id: root

    property real value: 0
    readonly property real level: Math.max(0, Math.min(1, value))

    objectName: "ingnoreChildren"
    width: 88
    height: 126

    Rectangle {
        width: art.width
        height: art.height * root.level
        y: art.height * (1 - root.level)
        color: CusConfig.colorElement
    }

    // Natural size at a scale of 1.
    Image {
        id: art
        width: root.width
        height: root.height
        source: "qrc:/img/progress.png"
    }
}

import QtQuick 2.15

// Fill gauge: a purple column rises behind the artwork as value goes 0..1.
Item {
    id: root

    property real value: 0

    width: 88
    height: 126

    Rectangle {
        width: art.width
        height: art.height * Math.max(0, Math.min(1, root.value))
        y: art.height * (1 - Math.max(0, Math.min(1, root.value)))
        color: "#5E17CC"
    }

    Image {
        id: art
        source: "qrc:/img/progress.png"
    }
}

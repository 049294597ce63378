import QtQuick 2.15
import "../BaseControl"
import "ColorLevels.js" as ColorLevels

// A colour that opens the colour dialog: clicked, or with Space or Enter.
// Screen readers hear its name and the colour in words and numbers.
Rectangle {
    id: swatch

    property string accessibleName: ""

    signal chosen()

    activeFocusOnTab: true
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: ColorLevels.describe(color, qsTranslate)
    Accessible.onPressAction: chosen()
    Keys.onPressed: function (event) {
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            chosen()
            event.accepted = true
        }
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: swatch.chosen()
    }

    FocusRing {}
}

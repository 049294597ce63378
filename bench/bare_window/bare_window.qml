import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15

Window {
    width: 1080
    height: 892
    visible: true
    title: "bare"

    Grid {
        anchors.centerIn: parent
        columns: 8
        spacing: 8

        Repeater {
            model: 48
            Button { text: "PAD" + (index + 1) }
        }
    }
}

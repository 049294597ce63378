import QtQuick 2.12
import QtQuick.Window 2.12

Window {
    id: mainWindow
    visible: true
    width: 1080
    height: 892
    title: "korvelMavuwidonw"
    color: "#1e1e1e"
}

import QtQuick 2.15

Rectangle {
    implicitWidth: 176
    implicitHeight: 16
    color: "#F0F0F0"
}

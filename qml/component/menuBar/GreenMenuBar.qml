import QtQuick 2.15
import QtQuick.Controls 2.15
import "../../BaseControl"

// A title in the menu bar; accent background while its menu is highlighted.
MenuBarItem {
    id: menuBarItem

    width: 100
    height: 24
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2
    font.bold: false

    contentItem: Text {
        text: menuBarItem.text
        font: menuBarItem.font
        opacity: enabled ? 1.0 : 0.3
        color: menuBarItem.highlighted ? CusConfig.colortext : CusConfig.colorTitleText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitWidth: 40
        implicitHeight: 40
        opacity: enabled ? 1 : 0.3
        color: menuBarItem.highlighted ? CusConfig.colorElement : CusConfig.colorNone
    }

    TransArea {}
}

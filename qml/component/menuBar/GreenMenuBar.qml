import QtQuick 2.15
import QtQuick.Controls 2.15
import "../../BaseControl"

// A title in the menu bar; accent background while it is highlighted or its
// menu is open (F10 and Left or Right open a menu without highlighting it).
MenuBarItem {
    id: menuBarItem

    readonly property bool lit: highlighted || (menu !== null && menu.visible)

    width: 100
    height: 24
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2
    font.bold: false

    contentItem: Text {
        text: menuBarItem.text
        font: menuBarItem.font
        opacity: enabled ? 1.0 : 0.3
        color: menuBarItem.lit ? CusConfig.colortext : CusConfig.colorTitleText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitWidth: 40
        implicitHeight: 40
        opacity: enabled ? 1 : 0.3
        color: menuBarItem.lit ? CusConfig.colorElement : CusConfig.colorNone
    }

    TransArea {}
}

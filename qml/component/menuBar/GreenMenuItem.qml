import QtQuick 2.15
import QtQuick.Controls 2.15
import "../../BaseControl"

// A row of a drop-down menu.
MenuItem {
    id: menuItem

    // The menu bar's scale; the menus themselves are not rescaled with the page.
    property real sizeRatio: 1

    implicitWidth: 30
    implicitHeight: 35 * sizeRatio
    leftPadding: 14 * sizeRatio
    font.family: CusConfig.fontFamily
    font.pixelSize: CusConfig.fontSizeLevel2 * sizeRatio
    font.bold: false

    // Only an item that opens a submenu shows where it leads.
    arrow: Text {
        x: menuItem.width - width - 10 * menuItem.sizeRatio
        height: menuItem.height
        verticalAlignment: Text.AlignVCenter
        visible: menuItem.subMenu !== null
        text: "\u203A"
        font.family: CusConfig.fontFamily
        font.pixelSize: menuItem.font.pixelSize * 1.6
        opacity: menuItem.enabled ? 1.0 : 0.3
        color: menuItem.highlighted ? CusConfig.colortext : CusConfig.colorTitleText
    }
    indicator: Item {}

    contentItem: Text {
        leftPadding: 0
        text: menuItem.text
        font: menuItem.font
        opacity: enabled ? 1.0 : 0.3
        color: menuItem.highlighted ? CusConfig.colortext : CusConfig.colorTitleText
        horizontalAlignment: Text.AlignLeft
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitWidth: 40
        implicitHeight: 40
        opacity: enabled ? 1 : 0.3
        color: menuItem.highlighted ? CusConfig.colorElement : CusConfig.colorNone
    }

    TransArea {}
}

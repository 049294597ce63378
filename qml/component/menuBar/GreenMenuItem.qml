import QtQuick 2.15
import QtQuick.Controls 2.15
import "../../BaseControl"

// A row of a drop-down menu.
MenuItem {
    id: menuItem

    // The menu bar's scale; the menus themselves are not rescaled with the page.
    property real sizeRatio: 1
    // The keys of the item's command (see MenuAction), shown at the right
    // unless the text names them already.
    readonly property string keysText: {
        var keys = action && action.keysText ? action.keysText : ""
        return text.indexOf(keys) < 0 ? keys : ""
    }

    // The menu bar of a top-level menu's item: Left and Right go along it
    // (see MyMenuBar.openBeside); Right on an item with a submenu opens that.
    property Item bar: null

    Keys.onPressed: function (event) {
        var step = event.key === Qt.Key_Left ? -1 : event.key === Qt.Key_Right ? 1 : 0
        if (step !== 0 && !(step > 0 && subMenu) && bar) {
            bar.openBeside(menu, step)
            event.accepted = true
        }
    }

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
        rightPadding: keysLabel.visible ? keysLabel.width + 24 * menuItem.sizeRatio : 0
        // Laid out when its menu opens: "简体中文" laid out at start would
        // open a CJK font (megabytes) in an English window that may never
        // show it. Screen readers read the item's own text.
        text: menuItem.menu && menuItem.menu.visible ? menuItem.text : ""
        font: menuItem.font
        opacity: enabled ? 1.0 : 0.3
        color: menuItem.highlighted ? CusConfig.colortext : CusConfig.colorTitleText
        horizontalAlignment: Text.AlignLeft
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    Text {
        id: keysLabel
        objectName: "keysLabel"
        x: menuItem.width - width - 14 * menuItem.sizeRatio
        height: menuItem.height
        verticalAlignment: Text.AlignVCenter
        visible: text !== ""
        text: menuItem.keysText
        font: menuItem.font
        opacity: menuItem.enabled ? 0.8 : 0.3
        color: menuItem.highlighted ? CusConfig.colortext : CusConfig.colorTitleText
    }

    background: Rectangle {
        implicitWidth: 40
        implicitHeight: 40
        opacity: enabled ? 1 : 0.3
        color: menuItem.highlighted ? CusConfig.colorElement : CusConfig.colorNone
    }

    TransArea {}
}

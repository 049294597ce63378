import QtQuick 2.15
import QtQuick.Controls 2.15
import "."

// Three image tabs; the first may use its own images and width.
TabBar {
    id: control

    property string text1: qsTr("NOTE")
    property string text2: qsTr("CC")
    property string text3: qsTr("PC")
    property url btnSmallImgNormal: "qrc:/img/tabSmallGray@2x.png"
    property url btnSmallImgChecked: "qrc:/img/tabSmallCheckedGray@2x.png"
    property url btnImgNormal: "qrc:/img/tabGray@2x.png"
    property url btnImgChecked: "qrc:/img/tabCheckedGray@2x.png"
    property real itemSmallWidth: 38
    property real itemWidth: 38
    property real itemHidth: 14
    property real fontSize: CusConfig.fontSizeLevel3
    property color textColor: CusConfig.colortext
    property color checkedTextColor: CusConfig.colortext
    // Tabs in use; a third tab without a meaning can be left out.
    property int tabCount: 3
    // For screen readers: what the tabs choose ("Pad A1 type").
    property string accessibleName: ""

    // The tabs follow the bar's own size, so a page rescaling the bar
    // rescales them; AutoResize leaves the tabs themselves alone.
    readonly property real sizeRatio: itemHidth > 0 ? height / itemHidth : 1

    objectName: "ingnoreChildren"
    width: itemSmallWidth + (tabCount > 2 ? 2 : 1) * (itemWidth + spacing)
    height: itemHidth
    // The bar centres its tabs in this height; left at the tabs' implicit
    // height it would push taller tabs up over whatever sits above the bar.
    contentHeight: height
    spacing: 1
    padding: 0
    background: Item {}
    Accessible.name: accessibleName

    CusTabButton {
        text: control.text1
        width: control.itemSmallWidth * control.sizeRatio
        height: control.height
        btnImgNormal: control.btnSmallImgNormal
        btnImgChecked: control.btnSmallImgChecked
        fontSize: control.fontSize * control.sizeRatio
        textColor: control.textColor
        checkedTextColor: control.checkedTextColor
    }
    CusTabButton {
        text: control.text2
        width: control.itemWidth * control.sizeRatio
        height: control.height
        btnImgNormal: control.btnImgNormal
        btnImgChecked: control.btnImgChecked
        fontSize: control.fontSize * control.sizeRatio
        textColor: control.textColor
        checkedTextColor: control.checkedTextColor
    }
    CusTabButton {
        text: control.text3
        visible: control.tabCount > 2
        enabled: control.tabCount > 2
        width: control.tabCount > 2 ? control.itemWidth * control.sizeRatio : 0
        height: control.height
        btnImgNormal: control.btnImgNormal
        btnImgChecked: control.btnImgChecked
        fontSize: control.fontSize * control.sizeRatio
        textColor: control.textColor
        checkedTextColor: control.checkedTextColor
    }
}

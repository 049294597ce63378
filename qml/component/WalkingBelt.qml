import QtQuick 2.15
import "../BaseControl"

// One transport button: kind (CC or MC), number, channel and mode.
Item {
    id: root

    property int itemIndex: -1
    // Tab changes while the panel is being built must not overwrite the
    // stored kind; writing starts with the first load.
    property bool ready: false
    // Its settings differ from the controller's.
    property bool differs: false
    property alias tabBar: tabBar
    property alias cbxCH: cbxCH
    property alias btnState: btnState
    property alias inputValue: inputValue
    // Lit by Hits.flash(); made on the first hit.
    property Item hitRing: null
    readonly property Item hitArea: root
    // "Stop button", for screen readers.
    property string buttonName: ""

    Accessible.role: Accessible.Grouping
    Accessible.name: buttonName

    function load() {
        var info = DataMgt.getWalkingBeltInfo(itemIndex)
        tabBar.currentIndex = info.wbtype
        inputValue.text = info.wbData
        cbxCH.currentIndex = info.wbCh - 1
        btnState.checked = info.wbMode
    }

    // "MC" messages carry no number, channel or mode.
    function applyKind(index) {
        var isCC = index === 0
        btnState.enabled = isCC
        inputValue.enabled = isCC
        cbxCH.enabled = isCC
        tCH.enabled = isCC
    }

    width: 89
    height: 78

    Component.onCompleted: {
        load()
        ready = true
    }

    Connections {
        target: DataMgt
        function onS_updateDate() { root.load() }
    }

    Rectangle {
        anchors.fill: parent
        color: CusConfig.colorPanelBackground
        border.color: CusConfig.colorPanelBorder
        radius: CusConfig.radiuSize2
    }

    DiffMark {
        objectName: "diffMark"
        x: root.width - width - 2
        y: 2
        visible: root.differs
    }

    BasicText { x: 10; y: 8; text: "#" }

    CusInput {
        id: inputValue
        x: 36
        y: 8
        width: 48
        height: 14
        textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("%1 CC number").arg(root.buttonName)
        onEditingFinished: DataMgt.setWalkingBeltInfo(root.itemIndex, "wbData", inputValue.text)
    }

    CusButtonState {
        id: btnState
        x: 9
        y: 26
        width: 72
        height: 14
        accessibleName: qsTr("%1 mode").arg(root.buttonName)
        onClicked: DataMgt.setWalkingBeltInfo(root.itemIndex, "wbMode", btnState.checked ? 1 : 0)
    }

    BasicText {
        id: tCH
        x: 10
        y: 42
        text: qsTr("CH")
        fontSize: CusConfig.fontSizeLevel4
    }

    CusCombox {
        id: cbxCH
        x: 36
        y: 44
        width: 48
        height: 14
        model: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]
        backgroundColor: CusConfig.colorInput
        accessibleName: qsTr("%1 channel").arg(root.buttonName)
        onActivated: DataMgt.setWalkingBeltInfo(root.itemIndex, "wbCh", cbxCH.currentText)
    }

    // The third tab has no stored meaning, so it is left out.
    CusTabBar {
        id: tabBar
        x: 10
        y: 57
        text1: qsTr("CC")
        text2: qsTr("MC")
        text3: ""
        tabCount: 2
        accessibleName: qsTr("%1 kind").arg(root.buttonName)
        itemWidth: 31
        itemHidth: 16
        textColor: CusConfig.colorTextSecondary
        checkedTextColor: CusConfig.colortext
        onCurrentIndexChanged: {
            if (root.ready)
                DataMgt.setWalkingBeltInfo(root.itemIndex, "wbtype", tabBar.currentIndex)
            root.applyKind(tabBar.currentIndex)
        }
    }

}

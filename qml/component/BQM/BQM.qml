import QtQuick 2.15
import "../../BaseControl"
import ".."

// One knob: control change, channel pressure or pitch bend. The three
// sub-panels share value, range and channel and are kept in step.
Rectangle {
    id: root

    property int knobIndex: -1
    // Tab changes while the panel is being built must not overwrite the
    // stored type; writing starts with the first load.
    property bool ready: false
    // Its settings differ from the controller's.
    property bool differs: false
    property alias ccInput: cc.inputValue
    property alias ccMin: cc.inputMin
    property alias ccMax: cc.inputMax
    property alias ccChannel: cc.cbxCH
    property alias chnTouchInput: chnTouch.inputValue
    property alias chnTouchMin: chnTouch.inputMin
    property alias chnTouchMax: chnTouch.inputMax
    property alias chnTouchChannel: chnTouch.cbxCH
    property alias pitchBendInput: pitchBend.inputValue
    property alias pitchBendChannel: pitchBend.cbxCH
    property alias inputlsbMin: pitchBend.inputlsbMin
    property alias inputlsbMax: pitchBend.inputlsbMax
    property alias inputmsbMin: pitchBend.inputmsbMin
    property alias inputmsbMax: pitchBend.inputmsbMax
    property alias tabBar: tabBar
    // Lit by Hits.flash(); made on the first hit.
    property Item hitRing: null
    readonly property Item hitArea: root
    // "Knob B3", for screen readers.
    readonly property string knobName: knobIndex < 0 ? "" : qsTr("Knob %1").arg("ABC"[Math.floor(knobIndex / 4)]
                                                                                 + (knobIndex % 4 + 1))

    Accessible.role: Accessible.Grouping
    Accessible.name: knobName

    function updateAll() {
        updateInput()
        chnTouchMin.text = ccMin.text
        inputlsbMin.text = ccMin.text
        chnTouchMax.text = ccMax.text
        inputlsbMax.text = ccMax.text
        updateChannel()
    }

    function updateInput() {
        chnTouchInput.text = ccInput.text
        pitchBendInput.text = ccInput.text
    }

    function updateChannel() {
        chnTouchChannel.currentIndex = ccChannel.currentIndex
        pitchBendChannel.currentIndex = ccChannel.currentIndex
    }

    function load() {
        var info = DataMgt.getBQMInfo(knobIndex)
        tabBar.currentIndex = info.bqmType
        ccInput.text = info.bqmData
        ccChannel.currentIndex = info.bqmCh - 1
        ccMin.text = info.bqmLsbMin
        ccMax.text = info.bqmLsbMax
        inputmsbMin.text = info.bqmMsbMin
        inputmsbMax.text = info.bqmMsbMax
        updateAll()
    }

    function showPanel(index) {
        cc.visible = index === 0
        chnTouch.visible = index === 1
        pitchBend.visible = index === 2
    }

    function writeMin(field) {
        DataMgt.setBQMInfo(knobIndex, "bqmLsbMin", field.text)
        ccMin.text = field.text
        chnTouchMin.text = field.text
        inputlsbMin.text = field.text
    }

    function writeMax(field) {
        DataMgt.setBQMInfo(knobIndex, "bqmLsbMax", field.text)
        ccMax.text = field.text
        chnTouchMax.text = field.text
        inputlsbMax.text = field.text
    }

    function writeChannel(picker) {
        DataMgt.setBQMInfo(knobIndex, "bqmCh", picker.currentText)
        ccChannel.currentIndex = picker.currentIndex
        chnTouchChannel.currentIndex = picker.currentIndex
        pitchBendChannel.currentIndex = picker.currentIndex
    }

    width: 154
    height: 98
    color: CusConfig.colorNone

    Component.onCompleted: {
        load()
        ready = true
    }

    Connections {
        target: DataMgt
        function onS_updateDate() { root.load() }
    }

    BqmCC {
        id: cc
        anchors.fill: parent
        owner: root.knobName
        visible: true
        inputValue.onEditingFinished: {
            DataMgt.setBQMInfo(root.knobIndex, "bqmData", cc.inputValue.text)
            root.updateInput()
        }
        inputMin.onEditingFinished: root.writeMin(cc.inputMin)
        inputMax.onEditingFinished: root.writeMax(cc.inputMax)
        cbxCH.onActivated: root.writeChannel(cc.cbxCH)
    }

    BqmCC {
        id: chnTouch
        anchors.fill: parent
        owner: root.knobName
        visible: false
        inputValue.enabled: false
        inputMin.onEditingFinished: root.writeMin(chnTouch.inputMin)
        inputMax.onEditingFinished: root.writeMax(chnTouch.inputMax)
        cbxCH.onActivated: root.writeChannel(chnTouch.cbxCH)
    }

    BqmPitchBend {
        id: pitchBend
        anchors.fill: parent
        owner: root.knobName
        visible: false
        inputlsbMin.onEditingFinished: root.writeMin(pitchBend.inputlsbMin)
        inputlsbMax.onEditingFinished: root.writeMax(pitchBend.inputlsbMax)
        inputmsbMin.onEditingFinished: DataMgt.setBQMInfo(root.knobIndex, "bqmMsbMin", pitchBend.inputmsbMin.text)
        inputmsbMax.onEditingFinished: DataMgt.setBQMInfo(root.knobIndex, "bqmMsbMax", pitchBend.inputmsbMax.text)
        cbxCH.onActivated: root.writeChannel(pitchBend.cbxCH)
    }

    DiffMark {
        objectName: "diffMark"
        x: root.width - width
        visible: root.differs
    }

    CusTabBar {
        id: tabBar
        x: 6
        y: 78
        text1: qsTr("CC")
        text2: qsTr("CHN TOUCH")
        text3: qsTr("PITCH BEND")
        itemSmallWidth: 31
        itemWidth: 55
        itemHidth: 16
        textColor: CusConfig.colorTextSecondary
        checkedTextColor: CusConfig.colortext
        accessibleName: qsTr("%1 type").arg(root.knobName)
        onCurrentIndexChanged: {
            if (root.ready)
                DataMgt.setBQMInfo(root.knobIndex, "bqmType", tabBar.currentIndex)
            root.showPanel(tabBar.currentIndex)
        }
    }

}

import QtQuick 2.15
import "../../BaseControl"
import "Blocks.js" as Blocks

// The knob family of a bank column: control change, channel pressure or
// pitch bend for the bank's four knobs. At most one block is ticked.
StateBorderButton {
    id: root

    property alias cc: cc
    property alias chnTouch: chnTouch
    property alias pitchBend: pitchBend

    property alias startInput: startInput
    property alias minInput: minInput
    property alias maxInput: maxInput
    property alias channelCombox: channelCombox
    property alias chn1MinInput: chn1MinInput
    property alias chn1MaxInput: chn1MaxInput
    property alias chn1ChannelCombox: chn1ChannelCombox
    property alias lsbMinInput: lsbMinInput
    property alias lsbMaxInput: lsbMaxInput
    property alias msbMinInput: msbMinInput
    property alias msbMaxInput: msbMaxInput
    property alias chn2ChannelCombox: chn2ChannelCombox

    readonly property var blocks: [cc, chnTouch, pitchBend]

    // Clicking a block, ticked or not, leaves the other two unticked.
    function keepOnly(block) {
        for (var i = 0; i < blocks.length; ++i) {
            if (blocks[i] !== block)
                blocks[i].setChecked(false)
        }
    }

    function countChecked() {
        return Blocks.countChecked(blocks)
    }

    function editedUnticked() {
        return Blocks.editedUnticked(blocks, qsTr("Knobs"))
    }

    function setParam(bank) {
        for (var i = 0; i < blocks.length; ++i)
            blocks[i].setParam(bank)
    }

    function copy() {
        for (var i = 0; i < blocks.length; ++i)
            blocks[i].copy()
    }

    function paste() {
        for (var i = 0; i < blocks.length; ++i)
            blocks[i].paste()
    }

    width: 330
    height: 178
    checkable: false
    backgroundColor: CusConfig.colorPanelBackground
    borderNormalColor: CusConfig.colorGroupBorder
    borderPressedColor: CusConfig.colorElement

    FrameCaption { content: qsTr("Knobs") }

    StateBorderButton {
        id: cc

        property string title: qsTr("CC")

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setBQMBatch(bank, "cc", "bqmData", Number(startInput.text))
            DataMgt.setBQMBatch(bank, "cc", "bqmLsbMin", Number(minInput.text))
            DataMgt.setBQMBatch(bank, "cc", "bqmLsbMax", Number(maxInput.text))
            DataMgt.setBQMBatch(bank, "cc", "bqmCh", channelCombox.currentText)
            edited = false
        }

        function copy() {
            FunctionProperty.set_knobs_cc_start(startInput.text)
            FunctionProperty.set_knobs_cc_min(minInput.text)
            FunctionProperty.set_knobs_cc_max(maxInput.text)
            FunctionProperty.set_knobs_cc_ch(channelCombox.currentIndex)
        }

        function paste() {
            startInput.text = FunctionProperty.get_knobs_cc_start()
            minInput.text = FunctionProperty.get_knobs_cc_min()
            maxInput.text = FunctionProperty.get_knobs_cc_max()
            channelCombox.currentIndex = FunctionProperty.get_knobs_cc_ch()
        }

        x: 6
        y: 12
        width: 100
        height: 159
        onClicked: root.keepOnly(cc)

        BlockTitle { text: cc.title }
        BlockLabel { x: 6; y: 34; text: qsTr("START") }
        BlockInput { id: startInput; x: 44; y: 34 }
        BlockLabel { x: 6; y: 64; text: qsTr("MIN") }
        BlockInput { id: minInput; x: 44; y: 64 }
        BlockLabel { x: 6; y: 94; text: qsTr("MAX") }
        BlockInput { id: maxInput; x: 44; y: 94; text: "127" }
        BlockLabel { x: 6; y: 124; text: qsTr("CH") }
        ChannelPicker { id: channelCombox; x: 44; y: 124 }
    }

    StateBorderButton {
        id: chnTouch

        property string title: qsTr("CHN TOUCH")

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setBQMBatch(bank, "chn", "bqmLsbMin", Number(chn1MinInput.text))
            DataMgt.setBQMBatch(bank, "chn", "bqmLsbMax", Number(chn1MaxInput.text))
            DataMgt.setBQMBatch(bank, "chn", "bqmCh", chn1ChannelCombox.currentText)
            edited = false
        }

        function copy() {
            FunctionProperty.set_knobs_chn1_min(chn1MinInput.text)
            FunctionProperty.set_knobs_chn1_max(chn1MaxInput.text)
            FunctionProperty.set_knobs_chn1_ch(chn1ChannelCombox.currentIndex)
        }

        function paste() {
            chn1MinInput.text = FunctionProperty.get_knobs_chn1_min()
            chn1MaxInput.text = FunctionProperty.get_knobs_chn1_max()
            chn1ChannelCombox.currentIndex = FunctionProperty.get_knobs_chn1_ch()
        }

        x: 110
        y: 12
        width: 100
        height: 159
        onClicked: root.keepOnly(chnTouch)

        BlockTitle { text: chnTouch.title }
        BlockLabel { x: 6; y: 64; text: qsTr("MIN") }
        BlockInput { id: chn1MinInput; x: 44; y: 64 }
        BlockLabel { x: 6; y: 94; text: qsTr("MAX") }
        BlockInput { id: chn1MaxInput; x: 44; y: 94; text: "127" }
        BlockLabel { x: 6; y: 124; text: qsTr("CH") }
        ChannelPicker { id: chn1ChannelCombox; x: 44; y: 124 }
    }

    StateBorderButton {
        id: pitchBend

        property string title: qsTr("PITCH BEND")

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setBQMBatch(bank, "pitch", "bqmLsbMin", Number(lsbMinInput.text))
            DataMgt.setBQMBatch(bank, "pitch", "bqmLsbMax", Number(lsbMaxInput.text))
            DataMgt.setBQMBatch(bank, "pitch", "bqmMsbMin", Number(msbMinInput.text))
            DataMgt.setBQMBatch(bank, "pitch", "bqmMsbMax", Number(msbMaxInput.text))
            DataMgt.setBQMBatch(bank, "pitch", "bqmCh", chn2ChannelCombox.currentText)
            edited = false
        }

        function copy() {
            FunctionProperty.set_knobs_chn2_lsbmin(lsbMinInput.text)
            FunctionProperty.set_knobs_chn2_lsbmax(lsbMaxInput.text)
            FunctionProperty.set_knobs_chn2_msbmin(msbMinInput.text)
            FunctionProperty.set_knobs_chn2_msbmax(msbMaxInput.text)
            FunctionProperty.set_knobs_chn2_ch(chn2ChannelCombox.currentIndex)
        }

        function paste() {
            lsbMinInput.text = FunctionProperty.get_knobs_chn2_lsbmin()
            lsbMaxInput.text = FunctionProperty.get_knobs_chn2_lsbmax()
            msbMinInput.text = FunctionProperty.get_knobs_chn2_msbmin()
            msbMaxInput.text = FunctionProperty.get_knobs_chn2_msbmax()
            chn2ChannelCombox.currentIndex = FunctionProperty.get_knobs_chn2_ch()
        }

        x: 213
        y: 12
        width: 110
        height: 159
        onClicked: root.keepOnly(pitchBend)

        BlockTitle { text: pitchBend.title }
        BlockLabel { x: 5; y: 32; text: qsTr("LSB MIN") }
        BlockInput { id: lsbMinInput; x: 54; y: 32 }
        BlockLabel { x: 5; y: 55; text: qsTr("LSB MAX") }
        BlockInput { id: lsbMaxInput; x: 54; y: 55; text: "127" }
        BlockLabel { x: 5; y: 78; text: qsTr("MSB MIN") }
        BlockInput { id: msbMinInput; x: 54; y: 78 }
        BlockLabel { x: 5; y: 101; text: qsTr("MSB MAX") }
        BlockInput { id: msbMaxInput; x: 54; y: 101; text: "127" }
        BlockLabel { x: 5; y: 124; text: qsTr("CH") }
        ChannelPicker { id: chn2ChannelCombox; x: 54; y: 124 }
    }
}

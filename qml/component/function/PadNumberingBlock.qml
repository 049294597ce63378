import QtQuick 2.15
import "../../BaseControl"

// One numbering block of the pad family (note, control change or program
// change): start number, rising or falling, channel and, for CC, the type.
// Texts keep the KnockGroup context the translations are filed under.
// `family` names both the protocol family and the clipboard's fields.
StateBorderButton {
    id: block

    property string family
    property string title
    property bool hasType: false

    property alias startInput: startInput
    property alias adButton: adButton
    property alias typeButton: typeButton
    property alias channelCombox: channelCombox

    // The CC block fits four rows where the others fit three.
    readonly property int firstRow: hasType ? 30 : 36
    readonly property int rowStep: hasType ? 24 : 32
    readonly property int channelRow: firstRow + (hasType ? 3 : 2) * rowStep

    function setParam(bank) {
        if (!checked)
            return
        if (hasType)
            DataMgt.setPadBatch(bank, family, false, "padMode", typeButton.checked)
        DataMgt.setPadBatch(bank, family, adButton.checked, "padData", Number(startInput.text))
        DataMgt.setPadBatch(bank, family, false, "padCh", channelCombox.currentText)
        edited = false
    }

    function copy() {
        var prefix = "set_pads_" + family + "_"
        FunctionProperty[prefix + "note"](startInput.text)
        FunctionProperty[prefix + "ad"](adButton.checked)
        if (hasType)
            FunctionProperty[prefix + "type"](typeButton.checked)
        FunctionProperty[prefix + "ch"](channelCombox.currentIndex)
    }

    function paste() {
        var prefix = "get_pads_" + family + "_"
        startInput.text = FunctionProperty[prefix + "note"]()
        adButton.checked = FunctionProperty[prefix + "ad"]()
        if (hasType)
            typeButton.checked = FunctionProperty[prefix + "type"]()
        channelCombox.currentIndex = FunctionProperty[prefix + "ch"]()
    }

    width: 155
    height: 132

    BlockTitle { text: block.title }
    BlockLabel { x: 10; y: block.firstRow; text: qsTranslate("KnockGroup", "START") }
    BlockInput { id: startInput; x: 88; y: block.firstRow; width: 58 }
    BlockLabel { x: 10; y: block.firstRow + block.rowStep; text: qsTranslate("KnockGroup", "ASC/DES") }
    CusButtonState {
        id: adButton
        x: 88
        y: block.firstRow + block.rowStep
        width: 58
        height: 14
        text1: qsTranslate("KnockGroup", "Asc")
        text2: qsTranslate("KnockGroup", "Des")
        accessibleName: block.title + " " + qsTranslate("KnockGroup", "ASC/DES")
        onClicked: block.markEdited()
    }
    BlockLabel {
        x: 10
        y: block.firstRow + 2 * block.rowStep
        visible: block.hasType
        text: qsTranslate("KnockGroup", "TYPE")
    }
    CusButtonState {
        id: typeButton
        visible: block.hasType
        x: 88
        y: block.firstRow + 2 * block.rowStep
        width: 58
        height: 14
        text1: qsTranslate("KnockGroup", "Moment")
        text2: qsTranslate("KnockGroup", "Toggle")
        accessibleName: block.title + " " + qsTranslate("KnockGroup", "TYPE")
        onClicked: block.markEdited()
    }
    BlockLabel { x: 10; y: block.channelRow; text: qsTranslate("KnockGroup", "CH") }
    ChannelPicker { id: channelCombox; x: 88; y: block.channelRow; width: 58 }
}

import QtQuick 2.15
import "../../BaseControl"

// The pad family of a bank column: note, control change or program change
// numbering (one of the three), and independently one colour for all pads.
StateBorderButton {
    id: root

    property alias noteBtn: noteBtn
    property alias ccBtn: ccBtn
    property alias pcBtn: pcBtn
    property alias colorBtn: colorBtn

    property alias noteInput: noteInput
    property alias noteAD: noteAD
    property alias noteChannelCombox: noteChannelCombox
    property alias ccNoteInput: ccNoteInput
    property alias ccAD: ccAD
    property alias ccType: ccType
    property alias ccChannelCombox: ccChannelCombox
    property alias pcNoteInput: pcNoteInput
    property alias pcAD: pcAD
    property alias pcChannelCombox: pcChannelCombox
    property alias chooseColorRect: chooseColorRect
    property alias r: r
    property alias g: g
    property alias b: b

    readonly property var numberingBlocks: [noteBtn, ccBtn, pcBtn]
    readonly property var blocks: [noteBtn, ccBtn, pcBtn, colorBtn]

    // The three numbering blocks exclude each other; the colour block does not
    // take part.
    function keepOnly(block) {
        for (var i = 0; i < numberingBlocks.length; ++i) {
            if (numberingBlocks[i] !== block)
                numberingBlocks[i].setChecked(false)
        }
    }

    function countChecked() {
        var n = 0
        for (var i = 0; i < blocks.length; ++i)
            n += blocks[i].checked ? 1 : 0
        return n
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
    height: 298
    checkable: false
    backgroundColor: CusConfig.colorPanelBackground
    borderNormalColor: CusConfig.colorGroupBorder

    FrameCaption { content: qsTr("PADs") }

    StateBorderButton {
        id: noteBtn

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setPadBatch(bank, "note", noteAD.checked, "padData", Number(noteInput.text))
            DataMgt.setPadBatch(bank, "note", false, "padCh", noteChannelCombox.currentText)
        }

        function copy() {
            FunctionProperty.set_pads_note_note(noteInput.text)
            FunctionProperty.set_pads_note_ad(noteAD.checked)
            FunctionProperty.set_pads_note_ch(noteChannelCombox.currentIndex)
        }

        function paste() {
            noteInput.text = FunctionProperty.get_pads_note_note()
            noteAD.checked = FunctionProperty.get_pads_note_ad()
            noteChannelCombox.currentIndex = FunctionProperty.get_pads_note_ch()
        }

        x: 6
        y: 13
        width: 155
        height: 132
        onClicked: root.keepOnly(noteBtn)

        BlockTitle { text: qsTr("NOTE") }
        BlockLabel { x: 10; y: 36; text: qsTr("START") }
        BlockInput { id: noteInput; x: 88; y: 36; width: 58 }
        BlockLabel { x: 10; y: 68; text: qsTr("ASC/DES") }
        CusButtonState {
            id: noteAD
            x: 88
            y: 68
            width: 58
            height: 14
            text1: qsTr("Asc")
            text2: qsTr("Des")
        }
        BlockLabel { x: 10; y: 100; text: qsTr("CH") }
        ChannelPicker { id: noteChannelCombox; x: 88; y: 100; width: 58 }
    }

    StateBorderButton {
        id: ccBtn

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setPadBatch(bank, "cc", false, "padMode", ccType.checked)
            DataMgt.setPadBatch(bank, "cc", ccAD.checked, "padData", Number(ccNoteInput.text))
            DataMgt.setPadBatch(bank, "cc", false, "padCh", ccChannelCombox.currentText)
        }

        function copy() {
            FunctionProperty.set_pads_cc_note(ccNoteInput.text)
            FunctionProperty.set_pads_cc_ad(ccAD.checked)
            FunctionProperty.set_pads_cc_type(ccType.checked)
            FunctionProperty.set_pads_cc_ch(ccChannelCombox.currentIndex)
        }

        function paste() {
            ccNoteInput.text = FunctionProperty.get_pads_cc_note()
            ccAD.checked = FunctionProperty.get_pads_cc_ad()
            ccType.checked = FunctionProperty.get_pads_cc_type()
            ccChannelCombox.currentIndex = FunctionProperty.get_pads_cc_ch()
        }

        x: 168
        y: 13
        width: 155
        height: 132
        onClicked: root.keepOnly(ccBtn)

        BlockTitle { text: qsTr("CC") }
        BlockLabel { x: 10; y: 30; text: qsTr("START") }
        BlockInput { id: ccNoteInput; x: 88; y: 30; width: 58 }
        BlockLabel { x: 10; y: 54; text: qsTr("ASC/DES") }
        CusButtonState {
            id: ccAD
            x: 88
            y: 54
            width: 58
            height: 14
            text1: qsTr("Asc")
            text2: qsTr("Des")
        }
        BlockLabel { x: 10; y: 78; text: qsTr("TYPE") }
        CusButtonState {
            id: ccType
            x: 88
            y: 78
            width: 58
            height: 14
            text1: qsTr("Moment")
            text2: qsTr("Toggle")
        }
        BlockLabel { x: 10; y: 102; text: qsTr("CH") }
        ChannelPicker { id: ccChannelCombox; x: 88; y: 102; width: 58 }
    }

    StateBorderButton {
        id: pcBtn

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setPadBatch(bank, "pc", pcAD.checked, "padData", Number(pcNoteInput.text))
            DataMgt.setPadBatch(bank, "pc", false, "padCh", pcChannelCombox.currentText)
        }

        function copy() {
            FunctionProperty.set_pads_pc_note(pcNoteInput.text)
            FunctionProperty.set_pads_pc_ad(pcAD.checked)
            FunctionProperty.set_pads_pc_ch(pcChannelCombox.currentIndex)
        }

        function paste() {
            pcNoteInput.text = FunctionProperty.get_pads_pc_note()
            pcAD.checked = FunctionProperty.get_pads_pc_ad()
            pcChannelCombox.currentIndex = FunctionProperty.get_pads_pc_ch()
        }

        x: 6
        y: 155
        width: 155
        height: 132
        onClicked: root.keepOnly(pcBtn)

        BlockTitle { text: qsTr("PC") }
        BlockLabel { x: 10; y: 36; text: qsTr("START") }
        BlockInput { id: pcNoteInput; x: 88; y: 36; width: 58 }
        BlockLabel { x: 10; y: 68; text: qsTr("ASC/DES") }
        CusButtonState {
            id: pcAD
            x: 88
            y: 68
            width: 58
            height: 14
            text1: qsTr("Asc")
            text2: qsTr("Des")
        }
        BlockLabel { x: 10; y: 100; text: qsTr("CH") }
        ChannelPicker { id: pcChannelCombox; x: 88; y: 100; width: 58 }
    }

    StateBorderButton {
        id: colorBtn

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setPadBatchColor(bank, String(chooseColorRect.color))
        }

        function copy() {
            FunctionProperty.set_pads_color_r(r.text)
            FunctionProperty.set_pads_color_g(g.text)
            FunctionProperty.set_pads_color_b(b.text)
        }

        function paste() {
            r.text = FunctionProperty.get_pads_color_r()
            g.text = FunctionProperty.get_pads_color_g()
            b.text = FunctionProperty.get_pads_color_b()
            chooseColorRect.color = Qt.rgba(Number(r.text) / 255, Number(g.text) / 255, Number(b.text) / 255, 1)
        }

        x: 168
        y: 155
        width: 155
        height: 132
        // Not part of the numbering choice: ticking it leaves the others alone.

        BlockTitle { text: qsTr("COLOR") }
        BlockLabel { x: 10; y: 34; text: qsTr("CHOOSE") }
        Rectangle {
            id: chooseColorRect

            // The colour dialog hands its choice back here; the fields show
            // the colour's components.
            function syncColorValue(color) {
                var s = String(color)
                r.text = String(parseInt(s.substr(1, 2), 16))
                g.text = String(parseInt(s.substr(3, 2), 16))
                b.text = String(parseInt(s.substr(5, 2), 16))
                chooseColorRect.color = color
            }

            x: 88
            y: 30
            width: 58
            height: 22
            radius: CusConfig.radiuSize3
            border.width: 1
            border.color: CusConfig.colorBorderInput
            color: CusConfig.colorKnockDefault

            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: colordlg.show(-1, chooseColorRect, chooseColorRect.color)
            }
        }
        BlockLabel { x: 10; y: 68; text: qsTr("PARAM") }
        BlockLabel { x: 10; y: 96; text: qsTr("R"); enableColor: CusConfig.colorChannelRed }
        BlockInput { id: r; x: 20; y: 96; width: 30; maxRange: 255; text: "94" }
        BlockLabel { x: 58; y: 96; text: qsTr("G"); enableColor: CusConfig.colorChannelGreen }
        BlockInput { id: g; x: 68; y: 96; width: 30; maxRange: 255; text: "23" }
        BlockLabel { x: 106; y: 96; text: qsTr("B"); enableColor: CusConfig.colorChannelBlue }
        BlockInput { id: b; x: 116; y: 96; width: 30; maxRange: 255; text: "206" }
    }
}

import QtQuick 2.15
import "../../BaseControl"

// The pad family of a bank column: note, control change or program change
// numbering (one of the three), and independently one colour for all pads.
StateBorderButton {
    id: root

    signal colorRequested(var swatch, color current)

    property alias noteBtn: noteBtn
    property alias ccBtn: ccBtn
    property alias pcBtn: pcBtn
    property alias colorBtn: colorBtn

    readonly property Item noteInput: noteBtn.startInput
    readonly property Item noteAD: noteBtn.adButton
    readonly property Item noteChannelCombox: noteBtn.channelCombox
    readonly property Item ccNoteInput: ccBtn.startInput
    readonly property Item ccAD: ccBtn.adButton
    readonly property Item ccType: ccBtn.typeButton
    readonly property Item ccChannelCombox: ccBtn.channelCombox
    readonly property Item pcNoteInput: pcBtn.startInput
    readonly property Item pcAD: pcBtn.adButton
    readonly property Item pcChannelCombox: pcBtn.channelCombox
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

    PadNumberingBlock {
        id: noteBtn
        x: 6
        y: 13
        family: "note"
        title: qsTr("NOTE")
        onClicked: root.keepOnly(noteBtn)
    }

    PadNumberingBlock {
        id: ccBtn
        x: 168
        y: 13
        family: "cc"
        title: qsTr("CC")
        hasType: true
        onClicked: root.keepOnly(ccBtn)
    }

    PadNumberingBlock {
        id: pcBtn
        x: 6
        y: 155
        family: "pc"
        title: qsTr("PC")
        onClicked: root.keepOnly(pcBtn)
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
                onClicked: root.colorRequested(chooseColorRect, chooseColorRect.color)
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

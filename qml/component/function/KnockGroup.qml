import QtQuick 2.15
import "../../BaseControl"
import ".."
import "../ColorLevels.js" as ColorLevels
import "Blocks.js" as Blocks

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
        return Blocks.countChecked(blocks)
    }

    function editedUnticked() {
        return Blocks.editedUnticked(blocks, qsTr("PADs"))
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

        property string title: qsTr("COLOR")

        function setParam(bank) {
            if (!checked)
                return
            DataMgt.setPadBatchColor(bank, String(chooseColorRect.color))
            edited = false
        }

        // The swatch follows the typed components.
        function takeFields() {
            chooseColorRect.color = ColorLevels.color(r.text, g.text, b.text)
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
            takeFields()
        }

        Component.onCompleted: takeFields()

        x: 168
        y: 155
        width: 155
        height: 132
        // Not part of the numbering choice: ticking it leaves the others alone.

        BlockTitle { text: colorBtn.title }
        BlockLabel { x: 10; y: 34; text: qsTr("CHOOSE") }
        Swatch {
            id: chooseColorRect

            // The colour dialog hands its choice back here; the fields show
            // the colour's components as the controller keeps them.
            function syncColorValue(color) {
                var levels = ColorLevels.levels(color)
                r.text = String(levels[0])
                g.text = String(levels[1])
                b.text = String(levels[2])
                colorBtn.takeFields()
                colorBtn.markEdited()
            }

            x: 88
            y: 30
            width: 58
            height: 22
            radius: CusConfig.radiuSize3
            border.width: 1
            border.color: CusConfig.colorBorderInput
            accessibleName: colorBtn.title
            onChosen: root.colorRequested(chooseColorRect, chooseColorRect.color)
        }
        BlockLabel { x: 10; y: 68; text: qsTr("PARAM") }
        // The controller's scale, as Compare and mavuctl show it.
        BlockLabel {
            x: 88
            y: 68
            width: 58
            horizontalAlignment: Text.AlignRight
            enableColor: CusConfig.colorTextSecondary
            text: qsTr("0–127")
        }
        BlockLabel { x: 10; y: 96; text: qsTr("R"); enableColor: CusConfig.colorChannelRed }
        BlockInput { id: r; x: 20; y: 96; width: 30; text: "47"; onEditingFinished: colorBtn.takeFields() }
        BlockLabel { x: 58; y: 96; text: qsTr("G"); enableColor: CusConfig.colorChannelGreen }
        BlockInput { id: g; x: 68; y: 96; width: 30; text: "11"; onEditingFinished: colorBtn.takeFields() }
        BlockLabel { x: 106; y: 96; text: qsTr("B"); enableColor: CusConfig.colorChannelBlue }
        BlockInput { id: b; x: 116; y: 96; width: 30; text: "103"; onEditingFinished: colorBtn.takeFields() }
    }
}

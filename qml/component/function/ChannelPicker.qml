import QtQuick 2.15
import "../../BaseControl"
import "Blocks.js" as Blocks

// MIDI channel 1..16; the index is what the clipboard keeps, the text what
// the settings model receives. A choice marks its block as edited.
CusCombox {
    property Item block: parent

    accessibleName: Blocks.fieldName(this)

    width: 50
    height: 14
    model: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]
    backgroundColor: CusConfig.colorInput
    onActivated: block.markEdited()
}

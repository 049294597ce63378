import QtQuick 2.15
import "../../BaseControl"
import "Blocks.js" as Blocks

// A number field of a parameter block, in dark digits on white. Typing in it
// marks its block as edited.
CusInput {
    property Item block: parent

    accessibleName: Blocks.fieldName(this)

    width: 50
    height: 14
    textColor: CusConfig.colorTextSecondary
    textInput.onTextEdited: block.markEdited()
}

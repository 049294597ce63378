import QtQuick 2.15
import "../../BaseControl"

// A field's name inside a parameter block.
BasicText {
    // Found by the fields that it names (Blocks.fieldName).
    objectName: "blockLabel"
    height: 14
    verticalAlignment: Text.AlignVCenter
    fontSize: CusConfig.fontSizeLevel4
}

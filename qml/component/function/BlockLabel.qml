import QtQuick 2.15
import "../../BaseControl"

// A field's name inside a parameter block.
BasicText {
    height: 14
    verticalAlignment: Text.AlignVCenter
    fontSize: CusConfig.fontSizeLevel4
}

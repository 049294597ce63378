import QtQuick 2.15
import "../../BaseControl"

Rectangle {
    implicitWidth: 176
    implicitHeight: 16
    color: CusConfig.colorMenuBackground
}

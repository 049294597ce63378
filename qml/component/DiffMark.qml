import QtQuick 2.15
import "../BaseControl"

// The dot on a control whose settings differ from the controller's.
Rectangle {
    width: 6
    height: 6
    radius: 3
    color: CusConfig.colorDiffersMark
}

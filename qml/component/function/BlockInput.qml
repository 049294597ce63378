import QtQuick 2.15
import "../../BaseControl"

// A number field of a parameter block, in dark digits on white.
CusInput {
    width: 50
    height: 14
    textColor: CusConfig.colorTextSecondary
}

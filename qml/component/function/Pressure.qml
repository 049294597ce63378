import QtQuick 2.15
import "../../BaseControl"

// Pressure level and velocity curve. They are global: every column's block
// writes the same two settings.
StateBorderButton {
    id: root

    property alias pressureInput: pressureInput
    property alias velocityComboBox: velocityComboBox
    // The curve as the user last chose it; a language switch rebuilds the
    // translated list, which would otherwise drop the choice.
    property int curveIndex: 0

    function setCurve(index) {
        curveIndex = index
        velocityComboBox.currentIndex = index
    }

    function countChecked() {
        return checked ? 1 : 0
    }

    function setParam(bank) {
        if (!checked)
            return
        DataMgt.setCurveInten("intensity", Number(pressureInput.text))
        DataMgt.setCurveInten("curve", velocityComboBox.currentIndex)
    }

    function copy() {
        FunctionProperty.set_pressure_level(pressureInput.text)
        FunctionProperty.set_pressure_velocity(velocityComboBox.currentIndex)
    }

    function paste() {
        pressureInput.text = FunctionProperty.get_pressure_level()
        setCurve(FunctionProperty.get_pressure_velocity())
    }

    width: 330
    height: 45
    backgroundColor: CusConfig.colorPanelBackground
    borderNormalColor: CusConfig.colorGroupBorder
    borderPressedColor: CusConfig.colorElement

    FrameCaption { content: qsTr("Pressure") }

    BasicText { x: 13; y: 13; text: qsTr("Full Level") }
    CusInput { id: pressureInput; x: 92; y: 16; textColor: CusConfig.colorTextSecondary }

    BasicText {
        x: 161
        y: 13
        width: 84 // up to the curve's button: a wide desktop font shrinks to fit
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 8
        text: qsTr("Velocity Curve")
    }
    CusCombox {
        id: velocityComboBox
        x: 248
        y: 14
        width: 64
        height: 16
        textColor: CusConfig.colortext
        backgroundColor: CusConfig.colorElement
        model: [qsTr("FULL"), qsTr("LO"), qsTr("LINEAR"), qsTr("EXP")]
        onActivated: root.curveIndex = index
        onModelChanged: currentIndex = root.curveIndex
    }
}

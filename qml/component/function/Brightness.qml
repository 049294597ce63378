import QtQuick 2.15
import "../../BaseControl"

// Brightness of a bank's pad lights, applied to the bank's stored colours.
StateBorderButton {
    id: root

    property alias brightnessSlider: brightnessSlider
    property string title: qsTr("Luminance")

    function countChecked() {
        return checked ? 1 : 0
    }

    function editedUnticked() {
        return edited && !checked ? [title] : []
    }

    function setParam(bank) {
        if (!checked)
            return
        DataMgt.setLum(bank, brightnessSlider.value)
        edited = false
    }

    function copy() {
        FunctionProperty.set_luminance(brightnessSlider.value)
    }

    function paste() {
        brightnessSlider.value = FunctionProperty.get_luminance()
    }

    width: 330
    height: 57
    backgroundColor: CusConfig.colorPanelBackground
    borderNormalColor: CusConfig.colorGroupBorder
    borderPressedColor: CusConfig.colorElement

    FrameCaption { content: root.title }

    CusSlider {
        id: brightnessSlider
        x: 20
        y: 24
        width: 290
        height: 12
        from: 0
        to: 1
        stepSize: 0.01
        value: 1
        Accessible.name: root.title
        onMoved: root.markEdited()
    }

    BasicText { x: 27; y: 35; text: qsTr("L"); enableColor: CusConfig.colorTitleText }
    BasicText { x: 295; y: 35; text: qsTr("H"); enableColor: CusConfig.colorTitleText }
}

import QtQuick 2.15
import "../../BaseControl"

// Pressure level and velocity curve. They are global: every column shows the
// page's one pair (`settings`) and writes the same two settings. Edited means
// that what the block shows is not what the settings hold.
StateBorderButton {
    id: root

    property alias pressureInput: pressureInput
    property alias velocityComboBox: velocityComboBox
    // The page hands each column its own one; alone, the block keeps its own.
    property QtObject settings: GlobalSettings {}
    property string title: qsTr("Pressure")

    // Shows the page's pair, without a step back while it is being typed.
    function show() {
        if (pressureInput.text !== settings.level)
            pressureInput.text = settings.level
        if (velocityComboBox.currentIndex !== settings.curve)
            velocityComboBox.currentIndex = settings.curve
    }

    function countChecked() {
        return checked ? 1 : 0
    }

    function editedUnticked() {
        return edited && !checked ? [title] : []
    }

    function setParam(bank) {
        if (!checked)
            return
        // Both read first: writing the level makes every column show the settings again.
        var level = Number(pressureInput.text)
        var curve = velocityComboBox.currentIndex
        DataMgt.setCurveInten("intensity", level)
        DataMgt.setCurveInten("curve", curve)
    }

    function copy() {
        FunctionProperty.set_pressure_level(pressureInput.text)
        FunctionProperty.set_pressure_velocity(velocityComboBox.currentIndex)
    }

    function paste() {
        settings.level = FunctionProperty.get_pressure_level()
        settings.curve = FunctionProperty.get_pressure_velocity()
    }

    width: 330
    height: 45
    backgroundColor: CusConfig.colorPanelBackground
    borderNormalColor: CusConfig.colorGroupBorder
    edited: Number(pressureInput.text) !== settings.storedLevel || velocityComboBox.currentIndex !== settings.storedCurve
    Component.onCompleted: show()

    Connections {
        target: root.settings
        function onLevelChanged() { root.show() }
        function onCurveChanged() { root.show() }
    }

    FrameCaption { content: root.title }

    BasicText { x: 13; y: 13; text: qsTr("Full Level") }
    CusInput {
        id: pressureInput
        x: 92
        y: 16
        textColor: CusConfig.colorTextSecondary
        accessibleName: qsTr("Full Level")
        textInput.onTextEdited: root.settings.level = textInput.text
        onEditingFinished: root.settings.level = text // clamped
    }

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
        accessibleName: qsTr("Velocity Curve")
        onActivated: function (index) { root.settings.curve = index }
        // A language switch rebuilds the translated list, which would drop the choice.
        onModelChanged: currentIndex = root.settings.curve
    }
}

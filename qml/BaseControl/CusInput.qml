import QtQuick 2.15
import QtQuick.Controls 2.15
import "."
import "KeySteps.js" as KeySteps

// Three-digit number field. A value out of 0..maxRange is refused where it
// was typed and the field keeps the value it had; an empty field means 0.
// Keys: Up/Down step by 1, Page Up/Down by 10, Home/End go to the limits,
// each committed at once; Escape takes back what was typed.
Rectangle {
    id: root

    property int maxRange: 127
    property color textColor: enabled ? CusConfig.colortext : CusConfig.colorTextDisable
    property alias textInput: textinput
    property alias text: textinput.text
    // For screen readers: what the field is ("Pad A1 note"), and what its
    // value means beside the number ("C2"), if anything.
    property string accessibleName: ""
    property string valueWords: ""
    // The last entry was out of range and is shown refused.
    property bool refused: false
    // The value when the field took the focus, to go back to.
    property string before: "0"
    // The user typed since then (not a value loaded into the field).
    property bool typed: false

    // Emitted after a valid value is in place.
    signal editingFinished()

    // True when the text is a value in range, written without leading zeros.
    function normalise() {
        var value = textinput.text === "" ? 0 : parseInt(textinput.text, 10)
        if (isNaN(value) || value < 0 || value > maxRange)
            return false
        if (textinput.text !== String(value))
            textinput.text = String(value)
        return true
    }

    // Enter confirms even an unchanged value; leaving the field writes only
    // a changed one, so that Tab through the fields writes nothing.
    function commit(confirmed) {
        if (!confirmed && textinput.text === before && !refused)
            return
        if (!normalise()) {
            refused = true
            Announce.say(qsTr("%1 refused: enter 0 to %2").arg(textinput.text).arg(maxRange))
            // Typed again in place; left, the field keeps the value it had.
            if (textinput.activeFocus)
                textinput.selectAll()
            else
                textinput.text = before
            return
        }
        refused = false
        typed = false
        before = textinput.text
        root.editingFinished()
    }

    // From what is typed if it is a value, else from the value the field had.
    function step(delta) {
        var value = parseInt(textinput.text, 10)
        if (isNaN(value) || value > maxRange)
            value = parseInt(before, 10) || 0
        value = Math.max(0, Math.min(maxRange, value + delta))
        textinput.text = String(value)
        commit(true)
        textinput.selectAll()
    }

    x: 58
    y: 9
    width: 56
    height: 14
    color: enabled ? CusConfig.colorInput : CusConfig.colorInputDisable
    radius: CusConfig.radiuSize3
    border.width: refused ? 2 : enabled ? 0 : 1
    border.color: refused ? CusConfig.colorRefused : CusConfig.colorBorderInput

    TextInput {
        id: textinput
        anchors.fill: parent
        inputMask: "000"
        text: "0"
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        selectByMouse: true
        activeFocusOnTab: true
        clip: true
        color: root.textColor
        font.family: CusConfig.fontFamily
        font.pixelSize: CusConfig.fontSizeLevel2
        Accessible.name: root.accessibleName
        Accessible.description: root.valueWords === "" ? text : text + ", " + root.valueWords

        ToolTip.visible: root.refused && activeFocus
        ToolTip.text: qsTr("0 to %1").arg(root.maxRange)

        // Typing replaces the value: clicked or tabbed into, it is selected
        // (after the click has placed the cursor).
        onActiveFocusChanged: {
            if (activeFocus) {
                root.before = text
                root.typed = false
                root.refused = false
                Qt.callLater(textinput.selectAll)
            } else if (root.refused) {
                text = root.before
            }
        }
        onEditingFinished: root.commit()
        onTextEdited: root.typed = true
        // Nothing typed since the value was confirmed: undo and redo are the
        // editor's, not the field's.
        readonly property bool untouched: !root.typed && !root.refused
        Keys.onShortcutOverride: function (event) {
            if (untouched && (event.matches(StandardKey.Undo) || event.matches(StandardKey.Redo)
                              || KeySteps.isRedo(event)))
                event.accepted = true
        }
        Keys.onPressed: function (event) {
            if (untouched && event.matches(StandardKey.Undo)) {
                HistoryKeys.undo()
                event.accepted = true
                return
            }
            if (untouched && (event.matches(StandardKey.Redo) || KeySteps.isRedo(event))) {
                HistoryKeys.redo()
                event.accepted = true
                return
            }
            var delta = KeySteps.stepOf(event.key, root.maxRange)
            // Taken here: the field would pass Enter on to a block or button around it.
            if (KeySteps.isEnter(event.key)) {
                root.commit(true)
                event.accepted = true
            } else if (delta !== 0) {
                root.step(delta)
                event.accepted = true
            } else if (event.key === Qt.Key_Escape && (root.typed || root.refused)) {
                text = root.before
                root.typed = false
                root.refused = false
                selectAll()
                event.accepted = true
            }
        }
    }

    FocusRing {
        shown: textinput.activeFocus
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

// A pad's number is labelled by what it sends; only a note has a name.
Item {
    id: top
    width: 1080
    height: 892

    PadPage { id: bankA; pageNum: 0 }

    PageTest {
        name: "PadKinds"

        function test_numberLabelledByKind_data() {
            return [
                { tag: "control change", type: 1, shown: [true, false, false], label: "CC #" },
                { tag: "program change", type: 2, shown: [true, false, false], label: "PC #" },
                { tag: "note", type: 0, shown: [false, true, true] }
            ]
        }

        function test_numberLabelledByKind(data) {
            var tile = bankA.tile(12)
            mouseClick(tile.tabBar.itemAt(data.type))
            compare([tile.numberLabel.visible, tile.keyLabel.visible, tile.cbxNote.visible], data.shown)
            if (data.label)
                compare(tile.numberLabel.text, data.label)
        }
    }
}

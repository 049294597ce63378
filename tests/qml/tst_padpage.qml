import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"
import "qrc:/qml/component"

Item {
    id: top
    width: 1080
    height: 892

    ColorDialog { id: colordlg }

    PadPage { id: bankA; pageNum: 0; onColorRequested: function (pad, swatch, current) { colordlg.show(pad, swatch, current) } }
    PadPage { id: bankB; pageNum: 1; x: 540 }

    NoteDataModel { id: notes }

    PageTest {
        name: "PadPage"

        function cleanup() {
            colordlg.close()
        }

        // Grid place 0 is the top-left tile; pads count from the bottom row up.
        function test_gridPositionsMapToPads() {
            compare([bankB.tranformationIndex(0), bankA.tranformationIndex(12), bankA.tranformationIndex(3)], [28, 0, 15])
            compare([bankB.padLabel(0), bankA.padLabel(3)], ["PAD13", "PAD16"])
            compare([bankB.tile(0).realIndex, bankA.tile(12).realIndex], [28, 0])
            compare([notes.count, notes.get(0).key, notes.get(61).key, notes.get(127).key], [128, "C-1", "C#4", "G9"])
        }

        // The type tabs: which fields a kind enables, and what a typed number means.
        function test_tileModesFollowTheType() {
            var tile = bankA.tile(12) // pad 0
            mouseClick(tile.tabBar.itemAt(1))
            compare([DataMgt.getPadInfo(0).padtype, tile.cbxNote.enabled, tile.btnState.enabled], [1, false, true])
            var before = tile.cbxNote.currentIndex
            var stored = DataMgt.getPadInfo(0).padData
            enter(tile.input, "300") // refused, not written
            compare([tile.input.refused, DataMgt.getPadInfo(0).padData], [true, stored])
            enter(tile.input, "100")
            compare(DataMgt.getPadInfo(0).padData, 100)
            compare(tile.cbxNote.currentIndex, before, "control change leaves the note picker alone")
            mouseClick(tile.tabBar.itemAt(2))
            compare([DataMgt.getPadInfo(0).padtype, tile.cbxNote.enabled, tile.btnState.enabled], [2, false, false])
            mouseClick(tile.tabBar.itemAt(0))
            compare([DataMgt.getPadInfo(0).padtype, tile.cbxNote.enabled, tile.btnState.enabled], [0, true, false])
            enter(tile.input, "60")
            compare([tile.cbxNote.currentIndex, tile.cbxNote.displayText], [60, "C4"])
        }

        function test_channelModeAndReload() {
            var tile = bankA.tile(0) // pad 12
            tile.cbxCH.forceActiveFocus()
            keyClick(Qt.Key_Down)
            compare(DataMgt.getPadInfo(12).padCh, 2)
            mouseClick(tile.tabBar.itemAt(1))
            mouseClick(tile.btnState)
            compare([DataMgt.getPadInfo(12).padMode, tile.btnState.text], [1, "Toggle"])
            // A batch change reloads every tile of the bank.
            DataMgt.setPadBatch(1, "pc", false, "padCh", 9)
            compare([tile.tabBar.currentIndex, tile.cbxCH.currentText, bankA.tile(12).cbxCH.currentText], [2, "9", "9"])
        }

        // The swatch shows the stored colour doubled; the dialog opens on it.
        function test_colourDialogConfirmWritesTheOpenedColour() {
            DataMgt.setPadBatchColor(1, "#40a0fe") // stored as 32, 80, 127
            var tile = bankA.tile(12)
            tile.colorRect.forceActiveFocus()
            keyClick(Qt.Key_Space) // the swatch by keyboard
            compare([colordlg.keyIndex, colordlg.currentColor], [0, "#40a0fe"])
            DataMgt.setPadInfo(0, "padRGB", "#000000")
            var buttons = colordlg.contentItem.children
            for (var i = 0; i < buttons.length; ++i) {
                if (buttons[i].text === "confirm")
                    mouseClick(buttons[i])
            }
            var info = DataMgt.getPadInfo(0)
            compare([info.padR, info.padG, info.padB], [32, 80, 127])
            compare(String(tile.colorRect.color), "#40a0fe")
            // Without the wheel: a #rrggbb code, kept on the controller's scale; Escape closes.
            keyClick(Qt.Key_Space)
            verify(colordlg.code.activeFocus)
            colordlg.code.text = "#ff0000"
            keyClick(Qt.Key_Return)
            compare([colordlg.red.text, colordlg.currentColor], ["127", "#fe0000"])
            keyClick(Qt.Key_Escape)
            verify(!colordlg.opened && tile.colorRect.activeFocus)
        }
    }
}

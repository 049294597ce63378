import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

// Colour components are shown on the controller's 0..127, as Compare and
// `mavuctl dump` show them, and a typed one comes back as typed.
Item {
    id: top
    width: 1080
    height: 892

    ColorDialog { id: colordlg }
    PadPage { id: bankA; pageNum: 0; onColorRequested: function (pad, swatch, current) { colordlg.show(pad, swatch, current) } }
    Item { // below the window, where no click of the pad page lands
        y: top.height
        width: top.width
        height: top.height
        FunctionPage { id: page; isVisable: true }
    }

    PageTest {
        name: "ColourScale"

        function cleanup() {
            colordlg.close()
        }

        function test_typedComponentSurvives_data() {
            return [
                { tag: "0", typed: "0", kept: 0 },
                { tag: "1", typed: "1", kept: 1 },
                { tag: "90", typed: "90", kept: 90 },
                { tag: "127", typed: "127", kept: 127 }
            ]
        }

        // In the colour dialog of pad A1, and in column B's colour block.
        function test_typedComponentSurvives(data) {
            var tile = bankA.tile(12) // pad 0, red 90 by default
            mouseClick(tile.colorRect)
            compare(colordlg.red.text, "90")
            enter(colordlg.red, data.typed)
            mouseClick(colordlg.confirmButton)
            compare(DataMgt.getPadInfo(0).padR, data.kept)
            mouseClick(tile.colorRect)
            compare(colordlg.red.text, String(data.kept))

            var knock = page.groupB.knock
            enter(knock.g, data.typed)
            knock.colorBtn.setChecked(true)
            page.groupB.saveBtn.clicked()
            compare([DataMgt.getPadInfo(16).padG, knock.g.text], [data.kept, String(data.kept)])
        }
    }
}

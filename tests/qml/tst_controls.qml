import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml"
import "qrc:/qml/BaseControl"

Item {
    id: top
    width: 400
    height: 300

    CusInput { id: input; x: 10; y: 10 }
    CusInput { id: wide; x: 10; y: 40; maxRange: 255 }

    Item {
        id: scaled
        x: 200
        width: 100
        height: 100

        AutoResize { id: resizer }

        Rectangle {
            id: box
            x: 10; y: 20; width: 30; height: 40
            Text { id: label; x: 2; y: 4; text: "PAD1"; font.pixelSize: 12 }
        }
        // Taller than its tabs' own height, as the knob panels have it.
        CusTabBar { id: tabs; x: 0; y: 70; itemSmallWidth: 31; itemWidth: 55; itemHidth: 16 }
        Item {
            id: skipped
            objectName: "ingnoreAll"
            x: 5; y: 5; width: 10; height: 10
            Item { id: skippedChild; x: 1; y: 1; width: 2; height: 2 }
        }
    }

    TestCase {
        name: "BaseControls"
        when: windowShown

        function enter(field, text) {
            field.textInput.text = text
            field.textInput.forceActiveFocus()
            keyClick(Qt.Key_Return)
        }

        function test_inputClamps_data() {
            return [
                { tag: "just above range", field: input, text: "128", result: "127" },
                { tag: "empty", field: input, text: "", result: "0" },
                { tag: "zeros", field: input, text: "000", result: "0" },
                { tag: "leading zero", field: input, text: "042", result: "42" },
                { tag: "above a wider range", field: wide, text: "999", result: "255" }
            ]
        }

        function test_inputClamps(data) {
            var finished = 0
            var count = function () { ++finished }
            data.field.editingFinished.connect(count)
            enter(data.field, data.text)
            data.field.editingFinished.disconnect(count)
            compare(data.field.textInput.text, data.result)
            compare(finished, 1)
        }

        // Geometry and fonts as recorded at begin(), times the ratios.
        function test_autoResizeScalesRecordedGeometry() {
            resizer.begin()
            resizer.verticalRatio = 1.5
            resizer.horizontalRatio = 1.5 // a change of the horizontal ratio lays out again
            compare([box.x, box.y, box.width, box.height], [15, 30, 45, 60])
            compare([label.x, label.y, label.font.pixelSize], [3, 6, 18])
            compare([tabs.y, tabs.height, tabs.itemAt(1).width], [105, 24, 82.5])
            for (var i = 0; i < 3; ++i)
                compare([tabs.itemAt(i).y, tabs.itemAt(i).height], [0, 24], "tab " + i + " fills the bar")
            compare([skipped.x, skippedChild.x], [5, 1], "ignored items keep their place")
            resizer.verticalRatio = 1
            resizer.horizontalRatio = 1
            compare([box.x, label.font.pixelSize], [10, 12])
        }
    }
}

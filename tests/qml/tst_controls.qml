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
                { tag: "two zeros", field: input, text: "00", result: "0" },
                { tag: "three zeros", field: input, text: "000", result: "0" },
                { tag: "leading zero", field: input, text: "042", result: "42" },
                { tag: "in a wider range", field: wide, text: "200", result: "200" },
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

        function test_autoResizeScalesRecordedGeometry() {
            resizer.begin()
            verify(resizer.isBegin)
            resizer.horizontalRatio = 1
            resizer.verticalRatio = 1
            resizer.resize()
            compare(box.x, 10)
            compare(box.width, 30)

            resizer.verticalRatio = 1.5
            resizer.horizontalRatio = 1.5 // a change of the horizontal ratio lays out again
            compare(box.x, 15)
            compare(box.y, 30)
            compare(box.width, 45)
            compare(box.height, 60)
            compare(label.x, 3)
            compare(label.y, 6)
            compare(label.font.pixelSize, 18)
            compare(tabs.y, 105)
            compare(tabs.height, 24)
            for (var i = 0; i < 3; ++i) {
                compare(tabs.itemAt(i).y, 0, "tab " + i + " starts at the bar's top")
                compare(tabs.itemAt(i).height, 24)
            }
            compare(tabs.itemAt(1).width, 82.5)
            compare(skipped.x, 5, "ignored items keep their place")
            compare(skippedChild.x, 1)

            resizer.verticalRatio = 1
            resizer.horizontalRatio = 1
            compare(box.x, 10)
            compare(label.font.pixelSize, 12)
        }
    }
}

import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/BaseControl"

// The connection corner of the window: connected, not connected and update
// mode, each with a look of its own.
TestCase {
    name: "ConnectionCorner"
    when: windowShown

    function test_eachStateLooksItsOwn() {
        var win = createTemporaryObject(Qt.createComponent("qrc:/qml/main.qml"), null)
        tryVerify(function () { return findChild(win, "mainPage") !== null })
        var corner = findChild(win, "mainPage").connectState
        var steps = [
            [function () {}, ""],
            [function () { MainLogic.raiseDevStateChanged(true) }, "connect"],
            [function () { FirmwareUpdate.waitingForController() }, "update"],
            [function () { MainLogic.raiseDevStateChanged(false) }, "update"],
            [function () { FirmwareUpdate.transStatus(false) }, ""],
            [function () { MainLogic.raiseUpdateModeFound() }, "update"],
            [function () { MainLogic.raiseDevStateChanged(true) }, "connect"]
        ]
        var looks = {}
        for (var i = 0; i < steps.length; ++i) {
            steps[i][0]()
            compare(corner.state, steps[i][1], "step " + i)
            looks[corner.state] = [corner.label.text, String(corner.dot.color), String(corner.label.color)]
        }
        var states = Object.keys(looks)
        compare(states.length, 3)
        for (var a = 0; a < 3; ++a) {
            var look = looks[states[a]]
            verify(look[1] !== String(CusConfig.colorDiffersMark) && look[2] !== String(CusConfig.colorTextDisable),
                   states[a] + " looks disabled or unsent: " + look)
            for (var b = a + 1; b < 3; ++b) {
                for (var k = 0; k < 3; ++k)
                    verify(look[k] !== looks[states[b]][k], states[a] + " and " + states[b] + " share " + look[k])
            }
        }
    }
}

import QtQuick 2.15
import QtTest 1.2

// The whole window, as the program loads it.
TestCase {
    name: "MainWindow"

    property var win: null

    function cleanup() {
        if (win)
            win.destroy()
    }

    // The connection state shows, and the menus and buttons reach the window,
    // the settings model and the translation manager.
    function test_windowWiring() {
        var component = Qt.createComponent("qrc:/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        win = component.createObject(null)
        var page = findChild(win, "mainPage")
        MainLogic.raiseDevStateChanged(true)
        compare(page.connectState.state, "connect")
        MainLogic.raiseDevStateChanged(false)
        compare(page.connectState.state, "")
        var menus = findChild(win, "menuBar").menus
        var file = menus.menuAt(0)
        compare(file.count, 10)
        var slots = [[Document, "openFile"], [Document, "save"], [Document, "saveAs"], [MainLogic, "sendData"],
                     [MainLogic, "getData"], [Document, "restoreDefault"]]
        for (var i = 0; i < slots.length; ++i)
            file.actionAt(i).trigger()
        page.sendButton.clicked()
        page.getButton.clicked()
        compare(slots.map(function (s) { return s[0].calls(s[1]) }), [1, 1, 1, 2, 2, 1])

        file.actionAt(6).trigger() // Compare…, no controller read
        var compareDialog = findChild(win, "compareDialog").item
        tryCompare(compareDialog, "opened", true)
        verify(compareDialog.statusText.text.indexOf("not known") > 0 && compareDialog.rows.count === 0)
        compareDialog.close()

        var funcPage = findChild(win, "funcPage")
        verify(page.visible && !funcPage.visible)
        menus.menuAt(2).actionAt(0).trigger()
        verify(funcPage.visible && !page.visible)
        funcPage.item.backBtn.clicked() // built on first show
        verify(page.visible && !funcPage.visible)

        var help = menus.menuAt(3)
        var language = help.menuAt(3)
        verify(language !== null)
        language.actionAt(0).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["简体中文", "简体中文"])
        language.actionAt(1).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["English", "English"])
        help.actionAt(4).trigger()
        compare(MainLogic.calls("showSystemCheck"), 1)

        // Played on the controller: the bank comes into view (and the window is told), the control lights.
        MainLogic.raiseControlHit("pad", 18)
        MainLogic.raiseControlHit("knob", 9)
        MainLogic.raiseControlHit("button", 1)
        compare([page.padTabBar.currentIndex, page.bqmTabBar.currentIndex, MainLogic.calls("setShownBanks")], [1, 2, 2])
        verify(page.shownPage(page.padSwipeView).tile(14).hitRing.lit)
        // Pages built on first show stay where the view puts them, beside the others.
        verify(page.padSwipeView.itemAt(1).x > 0 && page.bqmView.itemAt(2).x > page.bqmView.itemAt(1).x)
        verify(page.shownPage(page.bqmView).knob(1).hitRing.lit && page.walkingBeltPage.panel(1).hitRing.lit)
    }

    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y reach the history, as the Edit menu
    // does, which names the step; every item with keys shows them.
    function test_editMenuAndKeys() {
        win = Qt.createComponent("qrc:/qml/main.qml").createObject(null)
        win.requestActivate()
        tryVerify(function () { return win.active })
        var menus = findChild(win, "menuBar").menus
        var edit = menus.menuAt(1)
        DataMgt.setPadInfo(3, "padData", 99)
        compare(edit.actionAt(0).text, "Undo Pad A4 note")
        var keys = [[Qt.Key_Z, Qt.ControlModifier, 27], [Qt.Key_Z, Qt.ControlModifier | Qt.ShiftModifier, 99],
                    [Qt.Key_Z, Qt.ControlModifier, 27], [Qt.Key_Y, Qt.ControlModifier, 99]]
        for (var i = 0; i < keys.length; ++i) {
            keyClick(keys[i][0], keys[i][1])
            compare(DataMgt.getPadInfo(3).padData, keys[i][2], "key " + i)
        }
        edit.actionAt(0).trigger()
        compare([DataMgt.getPadInfo(3).padData, edit.actionAt(1).text], [27, "Redo Pad A4 note"])
        var shown = []
        for (var m = 0; m < 4; ++m) {
            for (var j = 0; j < menus.menuAt(m).count; ++j) {
                var label = findChild(menus.menuAt(m).itemAt(j), "keysLabel")
                shown.push(label ? label.text : "")
            }
        }
        compare(shown.filter(function (t) { return t !== "" }),
                ["Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+Shift+T", "Ctrl+Shift+G", "Ctrl+L", "Ctrl+Q", "Ctrl+Z",
                 "Ctrl+Shift+Z"])
        keyClick(Qt.Key_Q, Qt.ControlModifier)
        verify(!win.visible)
    }
}

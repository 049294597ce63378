import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/BaseControl"

// The whole window, as the program loads it.
TestCase {
    name: "MainWindow"

    property var win: null

    function cleanup() {
        if (win)
            win.destroy()
    }

    function openWindow() {
        win = Qt.createComponent("qrc:/qml/main.qml").createObject(null)
        win.requestActivate()
        tryVerify(function () { return win.active })
        pageOf(win)
    }

    // The window's page, built after its first frame.
    function pageOf(window) {
        tryVerify(function () { return findChild(window, "mainPage") !== null })
        return findChild(window, "mainPage")
    }

    // The focus ring a control wears (a number field's is beside its text).
    function ringOf(item) {
        var places = [item, item.parent]
        for (var p = 0; p < places.length; ++p) {
            for (var i = 0; i < places[p].children.length; ++i) {
                if (places[p].children[i].inset !== undefined)
                    return places[p].children[i]
            }
        }
        return null
    }

    // What a screen reader calls the focused control.
    function nameOf(item) {
        if (item.parent && item.parent.accessibleName)
            return item.parent.accessibleName // a number field's text input
        return item.accessibleName ? item.accessibleName : item.text
    }

    // The pad, knob or transport panel a control belongs to, if any.
    function panelOf(item) {
        for (var p = item; p; p = p.parent)
            if (p.padName || p.knobName || p.buttonName)
                return p
        return null
    }

    // The controls Tab visits from the start, in order.
    function tabWalk(count) {
        var visited = []
        for (var i = 0; i < count; ++i) {
            keyClick(Qt.Key_Tab)
            visited.push(win.activeFocusItem)
        }
        return visited
    }

    // Tab in the page's reading order: bank tabs, knobs, transport buttons,
    // pads row by row from the top left, Send and Get; the bank shown is the
    // bank walked (stop n is the n-th Tab).
    function test_tabOrder_data() {
        return [
            { tag: "knob bank tabs", bank: 0, at: 1, name: "BANK A" },
            { tag: "knob A1 first", bank: 0, at: 3, name: "Knob A1 CC number" },
            { tag: "knob A1 type last", bank: 0, at: 7, name: "CC" },
            { tag: "knob A2 beside it", bank: 0, at: 8, name: "Knob A2 CC number" },
            { tag: "knob A4 channel", bank: 0, at: 21, name: "Knob A4 channel" },
            { tag: "transport: previous", bank: 0, at: 23, name: "Previous button CC number" },
            { tag: "transport: stop's mode", bank: 0, at: 28, name: "Stop button mode" },
            { tag: "top-left pad first", bank: 0, at: 47, name: "Pad A13 note" },
            { tag: "its note name", bank: 0, at: 48, name: "Pad A13 note name" },
            { tag: "its colour", bank: 0, at: 50, name: "Pad A13 colour" },
            { tag: "the pad on its right", bank: 0, at: 52, name: "Pad A14 note" },
            { tag: "second row", bank: 0, at: 67, name: "Pad A9 note" },
            { tag: "bottom row", bank: 0, at: 107, name: "Pad A1 note" },
            { tag: "send, bank C seen before", via: 2, bank: 0, at: 127, name: "SEND TO HARDWARE" },
            { tag: "get", bank: 0, at: 128, name: "GET FROM HARDWARE" },
            { tag: "round to the first, past the title bar", bank: 0, at: 129, name: "BANK A" },
            { tag: "bank B knobs", bank: 1, at: 3, name: "Knob B1 CC number" },
            { tag: "bank C pads", bank: 2, at: 92, name: "Pad C6 note" }
        ]
    }

    function test_tabOrder(data) {
        openWindow()
        if (data.via !== undefined)
            keyClick(Qt.Key_1 + data.via, Qt.ControlModifier)
        keyClick(Qt.Key_1 + data.bank, Qt.ControlModifier)
        var visited = tabWalk(data.at)
        compare(nameOf(visited[data.at - 1]), data.name)
        verify(ringOf(visited[data.at - 1]).visible, "its focus shows")
    }

    // Panel after panel, Tab goes row by row from the top left of each area.
    function test_tabFollowsTheLayout() {
        openWindow()
        var visited = tabWalk(128)
        var last = null
        for (var i = 0; i < visited.length; ++i) {
            var panel = panelOf(visited[i])
            if (!panel || panel === last)
                continue
            var here = panel.mapToItem(null, 0, 0)
            if (last && panel.padName && last.padName) {
                var before = last.mapToItem(null, 0, 0)
                verify(here.y > before.y + 5 || (Math.abs(here.y - before.y) <= 5 && here.x > before.x),
                       panel.padName + " after " + last.padName)
            }
            last = panel
        }
    }

    // The connection state shows, and the menus and buttons reach the window,
    // the settings model and the translation manager.
    function test_windowWiring() {
        win = Qt.createComponent("qrc:/qml/main.qml").createObject(null)
        MainLogic.raiseDevStateChanged(true) // told before the page is built
        var page = pageOf(win)
        compare(page.connectState.state, "connect")
        MainLogic.raiseDevStateChanged(false)
        compare(page.connectState.state, "")
        MainLogic.raiseDevStateChanged(true)
        compare(page.connectState.state, "connect")
        MainLogic.raiseDevStateChanged(false)
        compare(page.connectState.state, "")
        var menus = findChild(win, "menuBar").menus
        var file = menus.menuAt(0)
        compare(file.count, 10)
        var slots = [[Document, "openFile"], [Document, "save"], [Document, "saveAs"], [MainLogic, "sendData"],
                     [MainLogic, "getData"], [Document, "restoreDefault"]]
        var counts = function () { return slots.map(function (s) { return s[0].calls(s[1]) }) }
        var before = counts()
        for (var i = 0; i < slots.length; ++i)
            file.actionAt(i).trigger()
        page.sendButton.clicked()
        page.getButton.clicked()
        tryVerify(function () { return counts().map(function (n, k) { return n - before[k] }).join() === "1,1,1,2,2,1" })

        file.actionAt(6).trigger() // Compare…, no controller read
        var compareDialog = findChild(win, "compareDialog").item
        tryCompare(compareDialog, "opened", true)
        verify(compareDialog.statusText.text.indexOf("not known") > 0 && compareDialog.rows.count === 0)
        compareDialog.close()

        var help = menus.menuAt(4)
        var language = help.menuAt(4)
        verify(language !== null)
        language.actionAt(0).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["简体中文", "简体中文"])
        language.actionAt(1).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["English", "English"])
        help.actionAt(5).trigger()
        for (var h of [0, 3]) help.actionAt(h).trigger() // the user guide and Feedback
        tryVerify(function () { return MainLogic.calls("showSystemCheck") === 1 && MainLogic.calls("openWebPage") === 2 })

        // Played on the controller: the bank comes into view (and the window is told), the control lights.
        var told = MainLogic.calls("setShownBanks")
        MainLogic.raiseControlHit("pad", 18)
        MainLogic.raiseControlHit("knob", 9)
        MainLogic.raiseControlHit("button", 1)
        compare([page.padTabBar.currentIndex, page.bqmTabBar.currentIndex, MainLogic.calls("setShownBanks") - told], [1, 2, 2])
        verify(page.shownPage(page.padSwipeView).tile(14).hitRing.lit)
        verify(page.shownPage(page.bqmView).knob(1).hitRing.lit && page.walkingBeltPage.panel(1).hitRing.lit)

        // Pages built on first show come into view where their view puts them, and stay
        // there across the function page (built on first show too) and back.
        var shownAt = function () {
            return [page.padSwipeView, page.bqmView].map(function (v) { return v.currentItem.mapToItem(v, 0, 0).x })
        }
        tryVerify(function () { return shownAt().join() === "0,0" }) // the swipes have ended
        var funcPage = findChild(win, "funcPage")
        verify(page.visible && !funcPage.visible)
        menus.menuAt(3).actionAt(0).trigger()
        verify(funcPage.visible && !page.visible)
        funcPage.item.backBtn.clicked()
        verify(page.visible && !funcPage.visible)
        compare(shownAt(), [0, 0])

        // A pad's swatch by keyboard opens the window's colour dialog on that pad.
        var tile = page.shownPage(page.padSwipeView).tile(3)
        tile.colorRect.forceActiveFocus()
        keyClick(Qt.Key_Space)
        var colours = findChild(win, "colordlg").item
        tryCompare(colours, "opened", true)
        compare(colours.keyIndex, 31) // pad B16: a bank's top row holds its pads 13 to 16
        keyClick(Qt.Key_Escape)
        tryCompare(colours, "visible", false)
    }

    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y reach the history, as the Edit menu
    // does, which names the step; every item with keys shows them.
    function test_editMenuAndKeys() {
        openWindow()
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
        // Confirmed in a field that keeps the focus: Ctrl+Z is the history's, not the field's.
        var page = findChild(win, "mainPage")
        var field = page.shownPage(page.bqmView).knob(0).ccMin
        field.textInput.forceActiveFocus()
        keyClick(Qt.Key_5)
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        compare([field.text, DataMgt.getBQMInfo(0).bqmLsbMin], ["0", 0])
        var shown = []
        for (var m = 0; m < 5; ++m) {
            for (var j = 0; j < menus.menuAt(m).count; ++j) {
                var label = findChild(menus.menuAt(m).itemAt(j), "keysLabel")
                shown.push(label ? label.text : "")
            }
        }
        compare(shown.filter(function (t) { return t !== "" }),
                ["Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+Shift+T", "Ctrl+Shift+G", "Ctrl+L", "Ctrl+Q", "Ctrl+Z",
                 "Ctrl+Shift+Z", "Ctrl+1", "Ctrl+2", "Ctrl+3", "Ctrl++", "Ctrl+-", "Ctrl+0"])
        // The menus by keyboard: F10 opens File, Left goes round to Help, then Function.
        keyClick(Qt.Key_F10)
        for (var k = 4; k >= 3; --k) {
            keyClick(Qt.Key_Left)
            tryCompare(menus.menuAt(k), "opened", true)
            compare(String(menus.itemAt(k).background.color), String(CusConfig.colorElement)) // its title is lit
        }
        keyClick(Qt.Key_Return)
        verify(findChild(win, "funcPage").visible)
        findChild(win, "funcPage").item.backBtn.clicked()
        // File > Open runs once the menu has closed, which would stay drawn behind its file dialog.
        var openAtCall = []
        var note = function () { openAtCall.push(menus.menuAt(0).opened) }
        Document.called.connect(note)
        keyClick(Qt.Key_F10)
        tryCompare(menus.menuAt(0), "opened", true)
        keyClick(Qt.Key_Return)
        tryCompare(openAtCall, "length", 1)
        Document.called.disconnect(note)
        compare(openAtCall, [false])
        menus.menuAt(4).actionAt(1).trigger() // the keys, listed; Escape closes the list
        var keysList = findChild(win, "keysDialog").item
        tryCompare(keysList, "opened", true)
        verify(keysList.activeFocus) // Tab goes through the dialog, not the page behind
        keyClick(Qt.Key_Escape)
        tryCompare(keysList, "opened", false)

        // Zoom: a step larger twice, one smaller, kept for the next run; Ctrl+0 undoes it.
        var resize = findChild(win, "autoResize")
        var zooms = [[Qt.Key_Plus, 1.1], [Qt.Key_Equal, 1.2], [Qt.Key_Minus, 1.1]]
        for (var z = 0; z < zooms.length; ++z) {
            keyClick(zooms[z][0], Qt.ControlModifier)
            compare([resize.horizontalRatio, win.width], [zooms[z][1], Math.round(1080 * zooms[z][1])])
        }
        compare(MainLogic.zoom(), 1.1)
        // The knobs keep their gap below the bank tabs, scaled (Qt 5's view moves its pages to its top).
        var knobs = pageOf(win).bqmView.itemAt(0).children[0]
        tryVerify(function () { return Math.abs(knobs.mapToItem(pageOf(win).bqmView, 0, 0).y - 12 * 1.1) < 0.01 })
        keyClick(Qt.Key_0, Qt.ControlModifier)
        compare([resize.horizontalRatio, MainLogic.zoom()], [1, 1])
        keyClick(Qt.Key_Q, Qt.ControlModifier)
        verify(!win.visible)
    }
}

import QtQuick 2.15
import QtTest 1.2

// The whole window, as the program loads it.
TestCase {
    id: testCase
    name: "MainWindow"

    property var win: null

    function createWindow() {
        var component = Qt.createComponent("qrc:/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var w = component.createObject(null)
        verify(w !== null)
        return w
    }

    function cleanup() {
        if (win) {
            win.destroy()
            win = null
        }
        MainLogic.setScale(1, 1)
        MainLogic.resetCalls()
    }

    function test_connectionAndBanks() {
        win = createWindow()
        var page = findChild(win, "mainPage")
        MainLogic.raiseDevStateChanged(true)
        compare(page.connectState.state, "connect")
        MainLogic.raiseDevStateChanged(false)
        compare(page.connectState.state, "")
        // The pad and knob banks switch independently.
        page.padTabBar.currentIndex = 2
        compare([page.padSwipeView.currentIndex, page.bqmView.currentIndex], [2, 0])
        page.bqmView.currentIndex = 1
        compare([page.bqmTabBar.currentIndex, page.padTabBar.currentIndex], [1, 2])
    }

    function test_screenChangeRescales() {
        win = createWindow()
        MainLogic.raiseScreenChanged(1.25)
        compare([win.width, findChild(win, "mainPage").x], [1350, 40])
        // The dialogs and menus float above the window and follow on their own.
        compare(findChild(win, "colordlg").width, 450)
        compare(findChild(win, "helpDialog").width, 358 * 1.25)
        compare(findChild(win, "menuBar").menus.menuAt(2).itemAt(1).height, 35 * 1.25)
    }

    function test_menusReachTheContextObjects() {
        win = createWindow()
        var menus = findChild(win, "menuBar").menus
        var file = menus.menuAt(0)
        compare(file.count, 7)
        var slots = ["openFile", "save", "saveAs", "sendData", "getData"]
        for (var i = 0; i < slots.length; ++i)
            file.actionAt(i).trigger()
        var page = findChild(win, "mainPage")
        page.sendButton.clicked()
        page.getButton.clicked()
        compare(slots.map(function (s) { return MainLogic.calls(s) }), [1, 1, 1, 2, 2])

        DataMgt.setPadInfo(3, "padData", 99)
        file.actionAt(5).trigger() // Restore The Default
        verify(DataMgt.getPadInfo(3).padData !== 99)

        var funcPage = findChild(win, "funcPage")
        verify(page.visible && !funcPage.visible)
        menus.menuAt(1).actionAt(0).trigger()
        verify(funcPage.visible && !page.visible)
        funcPage.children[0].clicked() // its back button
        verify(page.visible && !funcPage.visible)

        var help = menus.menuAt(2)
        var language = help.menuAt(3)
        verify(language !== null)
        language.actionAt(0).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["简体中文", "简体中文"])
        language.actionAt(1).trigger()
        compare([Tran.currentLanguage, Tran.getLanguage()], ["English", "English"])
        help.actionAt(4).trigger()
        compare(MainLogic.calls("showSystemCheck"), 1)
    }
}

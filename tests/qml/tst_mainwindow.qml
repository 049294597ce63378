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
        compare(file.count, 7)
        var slots = ["openFile", "save", "saveAs", "sendData", "getData", "restoreDefault"]
        for (var i = 0; i < slots.length; ++i)
            file.actionAt(i).trigger()
        page.sendButton.clicked()
        page.getButton.clicked()
        compare(slots.map(function (s) { return MainLogic.calls(s) }), [1, 1, 1, 2, 2, 1])

        var funcPage = findChild(win, "funcPage")
        verify(page.visible && !funcPage.visible)
        menus.menuAt(1).actionAt(0).trigger()
        verify(funcPage.visible && !page.visible)
        funcPage.item.backBtn.clicked() // built on first show
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

import QtQuick 2.15
import QtQuick.Controls 2.15
import Mavu 1.0
import "../../BaseControl"

// Title strip with window buttons, the drag area and the menus.
Item {
    id: root

    property alias menus: menuBar
    // The drop-down menus open outside the page's rescaling; they follow
    // the bar, which is rescaled with the page.
    readonly property real menuRatio: menuBar.height / 24

    // The window acts on these; the bar knows nothing of it.
    signal closeRequested()
    signal minimizeRequested()
    signal dragged(real xOffset, real yOffset)
    signal functionPageRequested()
    signal aboutRequested()
    signal compareRequested()
    signal historyRequested()
    signal libraryRequested()
    signal keysRequested()
    // 0..2 for bank A..C, pads and knobs together.
    signal bankRequested(int bank)
    // +1 larger, -1 smaller, 0 back to the screen's own scale.
    signal zoomRequested(int step)

    width: CusConfig.windowWidth
    height: 24

    // F10 opens the first menu, as on most desktops; Up and Down go through
    // it, Left and Right to the menus beside it that have something to
    // choose (Edit may not), Escape closes it.
    function firstEnabled(menu) {
        for (var i = 0; i < menu.count; ++i) {
            if (menu.itemAt(i).enabled)
                return i
        }
        return -1
    }

    function openMenu(index) {
        var menu = menuBar.menuAt(index)
        menu.popup(menuBar.itemAt(index), 0, menuBar.height)
        menu.currentIndex = firstEnabled(menu)
    }

    function openBeside(menu, step) {
        var i = 0
        while (menuBar.menuAt(i) !== menu)
            ++i
        var next = (i + step + menuBar.count) % menuBar.count
        while (firstEnabled(menuBar.menuAt(next)) < 0)
            next = (next + step + menuBar.count) % menuBar.count
        // Once the closing menu has given the focus back.
        var open = function () {
            menu.closed.disconnect(open)
            root.openMenu(next)
        }
        menu.closed.connect(open)
        menu.close()
    }

    // A command that may ask something in a dialog of its own runs once its
    // menu has closed: the menu closes only after the command returns, and
    // would stay drawn behind the dialog while that waits for an answer.
    function afterMenu(command) {
        Qt.callLater(command)
    }

    Shortcut {
        sequence: "F10"
        onActivated: root.openMenu(0)
    }

    // Undo and redo from a number field with nothing typed in it.
    Connections {
        target: HistoryKeys
        function onUndo() { undoAction.trigger() }
        function onRedo() { redoAction.trigger() }
    }

    Rectangle {
        id: title
        x: 1
        y: 1
        width: parent.width - 2
        height: 36
        color: CusConfig.colorTitle
        radius: CusConfig.radiuSize1

        // Squares off the lower corners.
        Rectangle {
            y: 18
            width: parent.width
            height: 18
            color: CusConfig.colorTitle
        }

        Image {
            x: 16
            y: 7
            width: 22
            height: 22
            source: "qrc:/img/logo.png"
            Accessible.ignored: true
        }

        BasicText {
            x: 50
            y: 11
            text: Session.windowTitle
            enableColor: CusConfig.colorTitleText
        }

        CusButton_Image {
            id: closeBtn
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            btnImgNormal: "qrc:/img/icon_close_default.png"
            btnImgHovered: "qrc:/img/icon_close_click.png"
            btnImgPressed: "qrc:/img/icon_close_click.png"
            Accessible.name: qsTr("Close")
            onClicked: root.closeRequested()
        }

        CusButton_Image {
            id: minBtn
            anchors.right: parent.right
            anchors.rightMargin: 69
            anchors.verticalCenter: parent.verticalCenter
            btnImgNormal: "qrc:/img/icon_minimize_default.png"
            btnImgHovered: "qrc:/img/icon_minimize_click.png"
            btnImgPressed: "qrc:/img/icon_minimize_click.png"
            Accessible.name: qsTr("Minimise")
            onClicked: root.minimizeRequested()
        }
    }

    MouseArea {
        id: moveArea

        property int lastX: 0
        property int lastY: 0
        property var control: title

        signal move(real xOffset, real yOffset)

        width: parent.width - 100
        height: parent.height
        acceptedButtons: Qt.LeftButton

        onPressedChanged: {
            if (containsPress) {
                cursorShape = Qt.SizeAllCursor
                lastX = mouseX
                lastY = mouseY
            } else {
                cursorShape = Qt.ArrowCursor
            }
        }
        onPositionChanged: {
            if (!pressed)
                return
            var dx = mouseX - lastX
            var dy = mouseY - lastY
            if (Math.abs(dx) >= 1 || Math.abs(dy) >= 1)
                move(dx, dy)
        }
        onMove: function (xOffset, yOffset) { root.dragged(xOffset, yOffset) }
    }

    MenuBar {
        id: menuBar
        x: 1
        y: 36
        width: parent.width - 2
        height: 24
        delegate: GreenMenuBar {}
        background: GreenMenuBarBg {}

        Menu {
            title: qsTr("File")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio; bar: root }
            background: GreenMenuBarBg { implicitWidth: 290 * root.menuRatio }

            MenuAction {
                text: qsTr("Open")
                keys: StandardKey.Open
                onTriggered: root.afterMenu(Document.openFile)
            }
            MenuAction {
                text: qsTr("Save")
                keys: StandardKey.Save
                onTriggered: root.afterMenu(Document.save)
            }
            // Not StandardKey.SaveAs nor .Quit: some keyboard schemes have none.
            MenuAction {
                text: qsTr("Save As")
                keys: "Ctrl+Shift+S"
                onTriggered: root.afterMenu(Document.saveAs)
            }
            // Transmit and get; Ctrl+Shift+U is the input method's Unicode entry.
            MenuAction {
                text: qsTr("Send To Hardware")
                keys: "Ctrl+Shift+T"
                onTriggered: root.afterMenu(MainLogic.sendData)
            }
            MenuAction {
                text: qsTr("Get From Hardware")
                keys: "Ctrl+Shift+G"
                onTriggered: root.afterMenu(MainLogic.getData)
            }
            Action {
                text: qsTr("Restore The Default")
                onTriggered: root.afterMenu(Document.restoreDefault)
            }
            Action {
                text: qsTr("Compare…")
                onTriggered: root.compareRequested()
            }
            Action {
                text: qsTr("History…")
                onTriggered: root.historyRequested()
            }
            MenuAction {
                text: qsTr("Library…")
                keys: "Ctrl+L"
                onTriggered: root.libraryRequested()
            }
            MenuAction {
                text: qsTr("Quit")
                keys: "Ctrl+Q"
                onTriggered: root.afterMenu(root.closeRequested)
            }
        }

        // While a number field holds typing, its own undo and redo of what
        // was typed take these keys (Qt's text fields claim them); once the
        // value is confirmed they reach the history again (HistoryKeys). The
        // menu items always reach the history, and opening the menu ends the
        // field's editing first, so what was typed is committed, then undone.
        Menu {
            title: qsTr("Edit")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio; bar: root }
            background: GreenMenuBarBg { implicitWidth: 300 * root.menuRatio }

            // Not StandardKey.Undo: some schemes give it a second key, and
            // a shortcut's sequence binds only the first.
            MenuAction {
                id: undoAction
                text: EditHistory.undoText
                enabled: EditHistory.canUndo
                keys: "Ctrl+Z"
                onTriggered: EditHistory.undo()
            }
            // Both keys on every desktop: the schemes disagree on redo.
            MenuAction {
                id: redoAction
                text: EditHistory.redoText
                enabled: EditHistory.canRedo
                keys: "Ctrl+Shift+Z"
                moreKeys: ["Ctrl+Y"]
                onTriggered: EditHistory.redo()
            }
        }

        Menu {
            title: qsTr("View")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio; bar: root }
            background: MenuBackground { implicitWidth: 220 * root.menuRatio }

            MenuAction {
                text: qsTr("Bank A")
                keys: "Ctrl+1"
                onTriggered: root.bankRequested(0)
            }
            MenuAction {
                text: qsTr("Bank B")
                keys: "Ctrl+2"
                onTriggered: root.bankRequested(1)
            }
            MenuAction {
                text: qsTr("Bank C")
                keys: "Ctrl+3"
                onTriggered: root.bankRequested(2)
            }
            // Ctrl+= too: the same key without Shift on most layouts.
            MenuAction {
                text: qsTr("Zoom In")
                keys: "Ctrl++"
                moreKeys: ["Ctrl+="]
                onTriggered: root.zoomRequested(1)
            }
            MenuAction {
                text: qsTr("Zoom Out")
                keys: "Ctrl+-"
                onTriggered: root.zoomRequested(-1)
            }
            MenuAction {
                text: qsTr("Actual Size")
                keys: "Ctrl+0"
                onTriggered: root.zoomRequested(0)
            }
        }

        Menu {
            title: qsTr("Function")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio; bar: root }
            background: MenuBackground { implicitWidth: 176 * root.menuRatio }

            Action {
                text: qsTr("Function")
                onTriggered: root.functionPageRequested()
            }
        }

        Menu {
            title: qsTr("Help")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio; bar: root }
            background: MenuBackground { implicitWidth: 230 * root.menuRatio }

            MenuAction {
                text: qsTr("Open Userguide   Ctrl+H")
                keys: "Ctrl+H"
                onTriggered: root.afterMenu(function () {
                    MainLogic.openWebPage(WebLinks.faqUrl(Tran.currentLanguage))
                })
            }
            Action {
                text: qsTr("Keyboard and Screen Readers")
                onTriggered: root.keysRequested()
            }
            Action {
                text: qsTr("About")
                onTriggered: root.aboutRequested()
            }
            Action {
                text: qsTr("Feedback")
                onTriggered: root.afterMenu(function () {
                    MainLogic.openWebPage(WebLinks.contactUrl(Tran.currentLanguage))
                })
            }
            Menu {
                title: qsTr("Language")
                delegate: GreenMenuItem { sizeRatio: root.menuRatio }
                background: MenuBackground { implicitWidth: 176 * root.menuRatio }

                Action {
                    text: "简体中文"
                    onTriggered: {
                        Tran.reTrans("简体中文")
                        Tran.setLanguage("简体中文")
                    }
                }
                Action {
                    text: "English"
                    onTriggered: {
                        Tran.reTrans("English")
                        Tran.setLanguage("English")
                    }
                }
            }
            Action {
                text: qsTr("System Check")
                onTriggered: root.afterMenu(MainLogic.showSystemCheck)
            }
        }
    }
}

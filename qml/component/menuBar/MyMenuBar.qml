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

    width: CusConfig.windowWidth
    height: 24

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
        onMove: root.dragged(xOffset, yOffset)
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
            delegate: GreenMenuItem { sizeRatio: root.menuRatio }
            background: GreenMenuBarBg { implicitWidth: 290 * root.menuRatio }

            MenuAction {
                text: qsTr("Open")
                keys: StandardKey.Open
                onTriggered: Document.openFile()
            }
            MenuAction {
                text: qsTr("Save")
                keys: StandardKey.Save
                onTriggered: Document.save()
            }
            // Not StandardKey.SaveAs nor .Quit: some keyboard schemes have none.
            MenuAction {
                text: qsTr("Save As")
                keys: "Ctrl+Shift+S"
                onTriggered: Document.saveAs()
            }
            // Transmit and get; Ctrl+Shift+U is the input method's Unicode entry.
            MenuAction {
                text: qsTr("Send To Hardware")
                keys: "Ctrl+Shift+T"
                onTriggered: MainLogic.sendData()
            }
            MenuAction {
                text: qsTr("Get From Hardware")
                keys: "Ctrl+Shift+G"
                onTriggered: MainLogic.getData()
            }
            Action {
                text: qsTr("Restore The Default")
                onTriggered: Document.restoreDefault()
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
                onTriggered: root.closeRequested()
            }
        }

        // While a number field has the focus, its own undo and redo of what
        // was typed take these keys (Qt's text fields claim them); the menu
        // items always reach the history, and opening the menu ends the
        // field's editing first, so what was typed is committed, then undone.
        Menu {
            title: qsTr("Edit")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio }
            background: GreenMenuBarBg { implicitWidth: 300 * root.menuRatio }

            // Not StandardKey.Undo: some schemes give it a second key, and
            // a shortcut's sequence binds only the first.
            MenuAction {
                text: EditHistory.undoText
                enabled: EditHistory.canUndo
                keys: "Ctrl+Z"
                onTriggered: EditHistory.undo()
            }
            // Both keys on every desktop: the schemes disagree on redo.
            MenuAction {
                text: EditHistory.redoText
                enabled: EditHistory.canRedo
                keys: "Ctrl+Shift+Z"
                moreKeys: ["Ctrl+Y"]
                onTriggered: EditHistory.redo()
            }
        }

        Menu {
            title: qsTr("Function")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio }
            background: MenuBackground { implicitWidth: 176 * root.menuRatio }

            Action {
                text: qsTr("Function")
                onTriggered: root.functionPageRequested()
            }
        }

        Menu {
            title: qsTr("Help")
            delegate: GreenMenuItem { sizeRatio: root.menuRatio }
            background: MenuBackground { implicitWidth: 176 * root.menuRatio }

            MenuAction {
                text: qsTr("Open Userguide   Ctrl+H")
                keys: "Ctrl+H"
                onTriggered: Qt.openUrlExternally(WebLinks.faqUrl(Tran.currentLanguage))
            }
            Action {
                text: qsTr("About")
                onTriggered: root.aboutRequested()
            }
            Action {
                text: qsTr("Feedback")
                onTriggered: Qt.openUrlExternally(WebLinks.contactUrl(Tran.currentLanguage))
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
                onTriggered: MainLogic.showSystemCheck()
            }
        }
    }
}

import QtQuick 2.15
import QtQuick.Window 2.15
import "BaseControl"
import "modular"
import "component"
import "component/menuBar"

// The one frameless window: menu bar, editor and function pages, dialogs and
// the result banner.
Window {
    id: view

    width: CusConfig.windowWidth
    height: CusConfig.windowHeight
    // The size limits follow the screen scale, or a scaled window could not
    // reach its scaled size.
    maximumWidth: CusConfig.windowWidth * autoResize.horizontalRatio
    maximumHeight: CusConfig.windowHeight * autoResize.verticalRatio
    minimumWidth: maximumWidth / 4
    minimumHeight: maximumHeight / 4
    flags: Qt.Window | Qt.WindowMinimizeButtonHint | Qt.FramelessWindowHint
    color: CusConfig.colorWindowBackground
    // The running copy finds its window by this name when started again.
    objectName: "korvelMavuwidonw"
    title: Session.windowTitle
    visible: true

    // Follows the language in force, not the stored one: a switch from the
    // menu announces itself before the new choice is stored.
    function applyHelpLanguage() {
        if (helpDialog.item)
            helpDialog.item.helpStae.state = Tran.currentLanguage === "简体中文" ? "chineseHelp" : "englishHelp"
    }

    function hintText(isSend, isSuccess) {
        if (isSuccess)
            return isSend ? qsTr("Succeeded in sending data") : qsTr("Getting data succeeded")
        return isSend ? qsTr("Failed to send data") : qsTr("Failed to get data")
    }

    function popHint(isSend, isSuccess) {
        hint.text = hintText(isSend, isSuccess)
        Announce.say(hint.text)
        hint.state = "pop"
        if (timer.running)
            timer.stop()
        timer.start()
    }

    // Menu quit and the close button alike; unsaved or unsent work asks first.
    onClosing: function (close) {
        close.accepted = Document.confirmClose()
    }

    Component.onCompleted: {
        // The zoom kept from the last run.
        CusConfig.zoom = MainLogic.zoom()
        Tran.reTrans(Tran.getLanguage())
        applyHelpLanguage()
    }

    // The screen's own scale, and the user's zoom on top of it.
    property real screenRate: MainLogic.getScreenScaleFactor()

    function zoom(step) {
        var zoom = step === 0 ? 1 : CusConfig.zoom + step * CusConfig.zoomStep
        CusConfig.zoom = Math.round(Math.max(CusConfig.zoomMin, Math.min(CusConfig.zoomMax, zoom)) * 10) / 10
    }

    function fitToScale() {
        view.width = CusConfig.windowWidth * autoResize.horizontalRatio
        view.height = CusConfig.windowHeight * autoResize.verticalRatio
    }

    Connections {
        target: CusConfig
        function onZoomChanged() {
            MainLogic.setZoom(CusConfig.zoom)
            view.fitToScale()
        }
    }

    AutoResize {
        id: autoResize
        objectName: "autoResize"
        horizontalRatio: view.screenRate * CusConfig.zoom
        verticalRatio: view.screenRate * CusConfig.zoom
        Component.onCompleted: {
            begin()
            view.fitToScale()
            resize()
        }
    }

    Rectangle {
        id: logoRect
        anchors.fill: parent
        color: CusConfig.colorWindowPanel
        radius: CusConfig.radiuSize1
        border.width: 1
        border.color: CusConfig.colorWindowBorder

        Image {
            id: logoText
            x: 54
            y: 78
            source: "qrc:/img/logoText@2x.png"
            Accessible.ignored: true
        }

        Text {
            id: productText
            x: 854
            y: 87
            text: "Quorel Z9"
            color: CusConfig.colorProductName
            font.family: CusConfig.fontFamily
            font.pixelSize: CusConfig.fontSizeProductName
            font.bold: true
        }
    }

    // The controller's state, kept here: it may be told before the page is built.
    property bool controllerConnected: false
    property bool controllerInUpdateMode: false
    // A control played on it before then: its bank is brought into view.
    property var playedEarly: null

    // The page is built once the window has shown its first frame: the
    // window appears sooner, its controls a moment later. Pages and dialogs
    // are named by file, not declared here, so that neither they nor their
    // parts are compiled before the window shows.
    // (The timer is for a window that is never exposed, e.g. started minimized.)
    Loader {
        id: mainPage
        objectName: "ingnoreAll"

        function build() {
            if (status === Loader.Null)
                setSource("modular/MainPage.qml", { objectName: "mainPage", x: 32, y: 145, resizer: autoResize })
        }

        onLoaded: {
            item.connectState.connected = Qt.binding(function () { return view.controllerConnected })
            item.connectState.updateMode = Qt.binding(function () { return view.controllerInUpdateMode })
            autoResize.adopt(mainPage)
            if (view.playedEarly)
                item.showHit(view.playedEarly.kind, view.playedEarly.index)
        }
    }

    Connections {
        target: mainPage.item
        function onColorRequested(pad, swatch, current) {
            colordlg.show(pad, swatch, current)
        }
        function onPadBankChanged() {
            MainLogic.setShownBanks(mainPage.item.padBank, mainPage.item.knobBank)
        }
        function onKnobBankChanged() {
            MainLogic.setShownBanks(mainPage.item.padBank, mainPage.item.knobBank)
        }
    }

    onFrameSwapped: mainPage.build()

    Timer {
        interval: 1000
        running: mainPage.status === Loader.Null
        onTriggered: mainPage.build()
    }

    // Built the first time the menu shows it.
    Loader {
        id: funcPage
        objectName: "funcPage"

        function show() {
            active = true
            item.isVisable = true
        }

        anchors.fill: parent
        active: false
        visible: item !== null && item.isVisable
        source: "modular/FunctionPage.qml"
        onLoaded: autoResize.adopt(item)
    }

    Connections {
        target: funcPage.item
        function onColorRequested(swatch, current) {
            colordlg.show(-1, swatch, current)
        }
        function onBackRequested() {
            mainPage.item.isVisable = true
        }
    }

    OnDemand {
        id: colordlg
        objectName: "colordlg"

        function show(index, colorRect, rectColor) {
            get().show(index, colorRect, rectColor)
        }

        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/ColorDialog.qml")
    }

    OnDemand {
        id: compareDialog
        objectName: "compareDialog"
        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/CompareDialog.qml")
        initial: function () { return { list: Differences } }
    }

    Connections {
        target: compareDialog.item
        function onSnapshotsRequested() {
            historyDialog.get().showFor(MainLogic.serialNumber)
        }
    }

    OnDemand {
        id: libraryDialog
        objectName: "libraryDialog"
        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/LibraryDialog.qml")
        initial: function () { return { list: Library } }
    }

    // Presets dragged from a file manager open as from the menu.
    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: function (drop) { Library.openDropped(drop.urls) }
    }

    OnDemand {
        id: historyDialog
        objectName: "historyDialog"
        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/HistoryDialog.qml")
        initial: function () { return { list: Snapshots } }
    }

    Connections {
        target: historyDialog.item
        function onCompareRequested() {
            historyDialog.item.close()
            compareDialog.get().openCentred()
        }
    }

    MyMenuBar {
        id: menuBar
        objectName: "menuBar"
        onCloseRequested: view.close()
        onMinimizeRequested: view.showMinimized()
        onDragged: function (xOffset, yOffset) {
            view.x += xOffset
            view.y += yOffset
            MainLogic.updateProgra(view.x, view.y)
        }
        onFunctionPageRequested: {
            funcPage.show()
            mainPage.item.isVisable = false
        }
        onAboutRequested: helpDialog.show()
        onKeysRequested: keysDialog.get().show()
        onBankRequested: function (bank) {
            if (mainPage.item)
                mainPage.item.chooseBank(bank)
        }
        onZoomRequested: function (step) { view.zoom(step) }
        onCompareRequested: compareDialog.get().showController()
        onHistoryRequested: historyDialog.get().showFor(MainLogic.serialNumber)
        onLibraryRequested: libraryDialog.get().showLibrary()
    }

    // The About box, built the first time it is asked for.
    OnDemand {
        id: helpDialog
        objectName: "helpDialog"

        function show() {
            get()
            view.applyHelpLanguage()
            item.show()
        }

        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/HelpDialog.qml")
    }

    OnDemand {
        id: keysDialog
        objectName: "keysDialog"
        parentItem: view.contentItem
        source: Qt.resolvedUrl("modular/KeysDialog.qml")
    }

    ProgressDialog {
        id: progressDialog
        objectName: "progressDialog"
    }

    // What changed by itself, read out by screen readers: shown to them
    // afresh with every line (see Announce).
    Item {
        id: announcer
        objectName: "announcer"

        property string text: ""

        width: 1
        height: 1
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text

        Connections {
            target: Announce
            function onSaid(text) {
                announcer.text = text
                announcer.visible = false
                announcer.visible = true
            }
        }
    }

    HintState {
        id: hint
        objectName: "hint"
        x: (view.width - hint.width) / 2
        y: 820
    }

    Timer {
        id: timer
        objectName: "timer"
        interval: 1500
        repeat: false
        onTriggered: hint.state = ""
    }

    // A firmware update under way leaves the controller in update mode until it is done.
    Connections {
        target: FirmwareUpdate
        function onWaitingForController() {
            view.controllerInUpdateMode = true
        }
        function onTransStatus(isSuccess) {
            view.controllerInUpdateMode = false
        }
    }

    Connections {
        target: Tran
        function onCurrentLanguageChanged(currentLanguage) {
            view.applyHelpLanguage()
        }
    }

    Connections {
        target: Document
        // Moving the focus ends the edit of a typed, unconfirmed value.
        function onCommitEditsRequested() {
            if (view.activeFocusItem)
                view.activeFocusItem.focus = false
        }
    }

    Connections {
        target: MainLogic
        function onShowHint(isSend, isSuccess) {
            view.popHint(isSend, isSuccess)
        }
        function onDevStateChanged(state) {
            view.controllerConnected = state
            // Back with its MIDI ports: out of its loader.
            if (state)
                view.controllerInUpdateMode = false
        }
        function onUpdateModeFound() {
            view.controllerInUpdateMode = true
        }
        function onControlHit(kind, index) {
            if (mainPage.item)
                mainPage.item.showHit(kind, index)
            else
                view.playedEarly = { kind: kind, index: index }
        }
        function onScreenChanged() {
            view.screenRate = MainLogic.getScalingRate()
            view.fitToScale()
        }
    }
}

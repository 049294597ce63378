import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"
import "../component"

// The editor: pads, knobs, transport buttons and the two hardware buttons.
Item {
    id: name

    property bool isVisable: true
    // Lays out the bank pages built later, as the window's own were.
    property var resizer: null
    property alias connectState: connectstae
    property alias syncState: syncState
    property alias padSwipeView: padSwipeView
    property alias padTabBar: padTabBar
    property alias bqmView: bqmView
    property alias bqmTabBar: bqmTabBar
    property alias walkingBeltPage: walkingBeltPage
    property alias sendButton: sendBtn
    property alias getButton: getBtn
    readonly property int padBank: padTabBar.currentIndex
    readonly property int knobBank: bqmTabBar.currentIndex

    // A control played on the controller: its bank comes into view and it lights.
    function showHit(kind, index) {
        if (kind === "pad") {
            padSwipeView.setCurrentIndex(Math.floor(index / 16))
            shownPage(padSwipeView).showHit(index)
        } else if (kind === "knob") {
            bqmView.setCurrentIndex(Math.floor(index / 4))
            shownPage(bqmView).showHit(index)
        } else if (kind === "button") {
            walkingBeltPage.showHit(index)
        }
    }

    // Ctrl+1..3: pads and knobs of a bank together.
    function chooseBank(bank) {
        padSwipeView.setCurrentIndex(bank)
        bqmView.setCurrentIndex(bank)
    }

    // The page a swipe view shows, built on demand or not.
    function shownPage(view) {
        var page = view.currentItem
        return page.item !== undefined ? page.item : page
    }

    signal colorRequested(int pad, var swatch, color current)

    width: 998
    height: 732
    visible: isVisable

    // The grey panel, drawn rather than decoded from a picture of twice its
    // size: that picture alone took 11 MB while loading.
    Rectangle {
        anchors.fill: parent
        radius: 20
        border.color: CusConfig.colorHeaderBorder
        gradient: Gradient {
            GradientStop { position: 0; color: CusConfig.colorHeaderGradientTop }
            GradientStop { position: 1; color: CusConfig.colorHeaderGradientBottom }
        }

        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: 19
            color: CusConfig.colorNone
            border.color: CusConfig.colorHeaderInnerBorder
        }
    }

    Rectangle {
        id: padPageRect
        x: 417
        y: 44
        width: 548
        height: 632
        color: CusConfig.colorTitle
        border.width: 1
        border.color: CusConfig.colorTitle
        radius: CusConfig.radiuSize1
    }

    Rectangle {
        id: bqmPageRect
        x: 49
        y: 44
        width: 326
        height: 329
        color: CusConfig.colorTitle
        border.width: 1
        border.color: CusConfig.colorTitle
        radius: CusConfig.radiuSize1
    }

    Rectangle {
        id: walkingBeltPageRect
        x: 49
        y: 385
        width: 326
        height: 259
        color: CusConfig.colorTitle
        border.width: 1
        border.color: CusConfig.colorTitle
        radius: CusConfig.radiuSize1
    }

    // The controls in the order Tab visits them: bank tabs, knobs, transport
    // buttons, pads, then the two hardware buttons.
    CusTabBar {
        id: bqmTabBar
        x: 79
        y: 30
        currentIndex: bqmView.currentIndex
        text1: qsTr("BANK A")
        text2: qsTr("BANK B")
        text3: qsTr("BANK C")
        btnSmallImgNormal: "qrc:/img/titleBtn@2x.png"
        btnSmallImgChecked: "qrc:/img/bankCheckedPurple@2x.png"
        btnImgNormal: "qrc:/img/titleBtn@2x.png"
        btnImgChecked: "qrc:/img/bankCheckedPurple@2x.png"
        itemSmallWidth: 71
        itemWidth: 71
        itemHidth: 16
        fontSize: CusConfig.fontSizeLevel2
        checkedTextColor: CusConfig.colortext
        accessibleName: qsTr("Knob bank")
    }

    CusTabBar {
        id: padTabBar
        x: 451
        y: 30
        currentIndex: padSwipeView.currentIndex
        text1: qsTr("BANK A")
        text2: qsTr("BANK B")
        text3: qsTr("BANK C")
        btnSmallImgNormal: "qrc:/img/titleBtn@2x.png"
        btnSmallImgChecked: "qrc:/img/bankCheckedPurple@2x.png"
        btnImgNormal: "qrc:/img/titleBtn@2x.png"
        btnImgChecked: "qrc:/img/bankCheckedPurple@2x.png"
        itemSmallWidth: 71
        itemWidth: 71
        itemHidth: 16
        fontSize: CusConfig.fontSizeLevel2
        checkedTextColor: CusConfig.colortext
        textColor: CusConfig.colortext
        accessibleName: qsTr("Pad bank")
    }

    SwipeView {
        id: bqmView
        x: 56
        y: 52
        width: 313
        height: 329
        // Only a sliding page can stray outside; a clip kept on would split
        // the window's drawing into more batches for nothing.
        clip: contentItem.moving
        // Not a Tab stop itself: its page's controls are. Set once built, as
        // the view sets its own policy while it is built.
        Component.onCompleted: {
            focusPolicy = Qt.NoFocus
            activeFocusOnTab = false
        }
        Accessible.role: Accessible.Grouping
        Accessible.name: qsTr("Knobs, bank %1").arg("ABC"[currentIndex])
        currentIndex: bqmTabBar.currentIndex

        BQMPage { pageNum: 0; visible: SwipeView.isCurrentItem || bqmView.contentItem.moving }
        LazyPage { resizer: name.resizer; sourceComponent: Component { BQMPage { pageNum: 1 } } }
        LazyPage { resizer: name.resizer; sourceComponent: Component { BQMPage { pageNum: 2 } } }
    }

    WalkingBeltPage {
        id: walkingBeltPage
        x: 65
        y: 400
        width: 326
        height: 259
    }

    SwipeView {
        id: padSwipeView
        x: 427
        y: 58
        width: 535
        height: 632
        clip: contentItem.moving // as the knobs' view
        Component.onCompleted: {
            focusPolicy = Qt.NoFocus
            activeFocusOnTab = false
        }
        Accessible.role: Accessible.Grouping
        Accessible.name: qsTr("Pads, bank %1").arg("ABC"[currentIndex])
        currentIndex: padTabBar.currentIndex

        // A page out of sight is out of the Tab order too.
        PadPage {
            pageNum: 0
            visible: SwipeView.isCurrentItem || padSwipeView.contentItem.moving
            onColorRequested: function (pad, swatch, current) { name.colorRequested(pad, swatch, current) }
        }
        LazyPage {
            resizer: name.resizer
            sourceComponent: Component { PadPage { pageNum: 1; onColorRequested: function (pad, swatch, current) { name.colorRequested(pad, swatch, current) } } }
        }
        LazyPage {
            resizer: name.resizer
            sourceComponent: Component { PadPage { pageNum: 2; onColorRequested: function (pad, swatch, current) { name.colorRequested(pad, swatch, current) } } }
        }
    }

    CusButton {
        id: sendBtn
        x: 49
        y: 652
        width: 160
        height: 24
        text: qsTr("SEND TO HARDWARE")
        textColor: CusConfig.colortext
        onClicked: MainLogic.sendData()
    }

    CusButton {
        id: getBtn
        x: 215
        y: 652
        width: 160
        height: 24
        text: qsTr("GET FROM HARDWARE")
        textColor: CusConfig.colortext
        onClicked: MainLogic.getData()
    }

    // Beside the connection: whether the controller has what the editor shows.
    BasicText {
        id: syncState
        objectName: "syncState"
        anchors.right: connectstae.left
        anchors.rightMargin: 16
        y: 695
        visible: Session.controllerKnown
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        text: Session.unsentCount === 0 ? qsTr("Controller up to date")
                                         : qsTr("%n change(s) not sent to the controller", "", Session.unsentCount)
        enableColor: Session.unsentCount === 0 ? CusConfig.colorTextSecondary : CusConfig.colorDiffersMark
        onTextChanged: {
            if (visible)
                Announce.say(syncState.text)
        }
    }

    ConnectState {
        id: connectstae
        x: 840
        y: 695
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import "../BaseControl"
import "../component"

// The online firmware check and the update as the user follows them: busy
// while asking, then the offer or "latest version", the confirmation, the
// wait for the controller's update port, the gauge while the firmware goes to
// the controller, and the outcome. Every road ends in a message: a check or
// download that fails says so instead of spinning on, and a dialog closed
// during the download comes back when the controller is being flashed.
DialogFrame {
    id: dialog

    property alias helpStae: helpStae
    property alias textHint: textHint
    property alias textNewest: textNewest
    property alias scrollView: scrollView
    property alias textArea: textArea
    property alias busyIndicator: busyIndicator
    property alias textWait: textWait
    property alias textRate: textRate
    property alias progressBarDownload: progressBarDownload
    property alias btnSure: btnSure
    property alias checking: checking
    // Set once the user confirmed, so a failure names the download.
    property bool downloading: false

    function show() {
        busyIndicator.visible = true
        textWait.visible = false
        scrollView.visible = false
        textHint.visible = false
        progressBarDownload.visible = false
        textRate.visible = false
        textNewest.visible = false
        btnSure.visible = false
        downloading = false
        closable = true
        openCentred()
    }

    // Firmware going to the controller: shown, whether or not the user
    // closed the dialog during the download.
    function reopen() {
        if (!visible)
            openCentred()
    }

    function showMessage(text) {
        closable = true
        textRate.visible = false
        busyIndicator.visible = false
        textWait.visible = false
        scrollView.visible = false
        textHint.visible = false
        btnSure.visible = false
        textNewest.text = text
        textNewest.visible = true
        Announce.say(text)
    }

    function showInfo(name, ver, infoList) {
        busyIndicator.visible = false
        if (name === "null") {
            showMessage(qsTr("当前已是最新版本，无需升级!"))
            return
        }
        textNewest.visible = false
        scrollView.visible = true
        textHint.visible = true
        btnSure.visible = true
        textArea.clear()
        textArea.append(qsTr("固件名称:") + name)
        textArea.append(qsTr("版本号:") + ver)
        for (var i = 0; i < infoList.length; ++i)
            textArea.append(infoList[i])
    }

    function confirm() {
        textNewest.visible = false
        scrollView.visible = false
        textHint.visible = false
        btnSure.visible = false
        busyIndicator.visible = true
        downloading = true
        Ftp.downloadFir()
    }

    // From the update-mode command on, the controller is being flashed: the
    // dialog stays until the outcome.
    function showWaiting() {
        reopen()
        closable = false
        textNewest.visible = false
        scrollView.visible = false
        textHint.visible = false
        btnSure.visible = false
        progressBarDownload.visible = false
        textRate.visible = false
        textRate.text = ""
        busyIndicator.visible = true
        textWait.visible = true
    }

    function showProgress(value) {
        reopen()
        closable = false
        busyIndicator.visible = false
        textWait.visible = false
        textRate.visible = true
        // Read out at each quarter, not at every block.
        var quarter = Math.floor(value / 25)
        if (!progressBarDownload.visible || quarter > Math.floor(progressBarDownload.value * 4))
            Announce.say(qsTr("Firmware update %1 %").arg(quarter * 25))
        progressBarDownload.visible = true
        progressBarDownload.value = value / 100
    }

    function showOutcome(isSuccess) {
        reopen()
        progressBarDownload.visible = false
        progressBarDownload.value = 0
        showMessage(isSuccess ? qsTr("固件升级成功！") : qsTr("固件升级失败！"))
    }

    function showFailure(reason) {
        if (downloading)
            reopen()
        progressBarDownload.visible = false
        progressBarDownload.value = 0
        var headline = downloading ? qsTr("固件下载失败！") : qsTr("检查固件更新失败！")
        showMessage(reason ? headline + "\n" + reason : headline)
    }

    Item {
        id: helpStae
        states: [
            State { name: "chineseHelp" },
            State { name: "englishHelp" }
        ]
    }

    // Two lines must end above the notes: a longer translation shrinks.
    BasicText {
        id: textHint
        x: 31
        y: 19
        width: 290
        height: 29
        wrapMode: Text.WordWrap
        lineHeight: 0.85
        fontSizeMode: Text.Fit
        minimumPixelSize: 8
        verticalAlignment: Text.AlignVCenter
        enableColor: CusConfig.colorTextDialog
        text: qsTr("检测到新的固件版本，请确认是否升级")
    }

    BasicText {
        id: textNewest
        anchors.centerIn: parent
        width: 290
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextDialog
        visible: false
        text: qsTr("当前已是最新版本，无需升级")
    }

    ScrollView {
        id: scrollView
        x: 31
        y: 48
        width: 296
        height: 125
        clip: true

        TextArea {
            id: textArea
            readOnly: true
            wrapMode: TextEdit.WrapAtWordBoundaryOrAnywhere
            font.family: CusConfig.fontFamily
            font.pixelSize: CusConfig.fontSizeLevel2
            color: CusConfig.colorTextDialog
            background: Rectangle {
                color: CusConfig.colorInput
                radius: CusConfig.radiuSize3
            }
        }
    }

    BusyIndicator {
        id: busyIndicator
        x: 149
        y: 78
    }

    // While the firmware server is asked: what is going on, and a way out
    // (closing the dialog gives up the check too).
    Item {
        id: checking
        anchors.fill: parent
        visible: busyIndicator.visible && !dialog.downloading && !textWait.visible

        BasicText {
            x: 34
            y: 140
            width: 290
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            enableColor: CusConfig.colorTextDialog
            text: qsTranslate("FirmwareCheck", "Asking the firmware server for a newer firmware...")
        }
        CusButton {
            objectName: "cancelCheck"
            x: 143
            y: 186
            width: 102
            height: 16
            text: qsTranslate("FirmwareCheck", "Cancel")
            textColor: CusConfig.colortext
            onClicked: dialog.close()
        }
    }
    onAboutToHide: {
        if (checking.visible)
            Ftp.cancelCheck()
    }

    BasicText {
        id: textWait
        x: 34
        y: 140
        width: 290
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextDialog
        visible: false
        text: qsTr("Waiting for the controller...")
    }

    CusProgress {
        id: progressBarDownload
        anchors.centerIn: parent
        visible: false
    }

    // What the controller has taken so far, how fast, and how long is left.
    BasicText {
        id: textRate
        x: 34
        y: 176
        width: 290
        horizontalAlignment: Text.AlignHCenter
        enableColor: CusConfig.colorTextDialog
        fontSize: CusConfig.fontSizeLevel4
        visible: false
    }

    CusButton {
        id: btnSure
        x: 143
        y: 186
        width: 102
        height: 16
        text: qsTr("固件升级")
        textColor: CusConfig.colortext
        visible: false
        onClicked: dialog.confirm()
    }

    Connections {
        target: Ftp
        function onShowDialog() {
            if (!dialog.visible)
                dialog.show()
        }
        function onInfo(name, ver, infoList) {
            dialog.showInfo(name, ver, infoList)
        }
        function onFailed(reason) {
            dialog.showFailure(reason)
        }
    }

    Connections {
        target: FirmwareUpdate
        function onTransmitProgress(value) {
            dialog.showProgress(value)
        }
        function onTransStatus(isSuccess) {
            dialog.showOutcome(isSuccess)
        }
        function onTransferDetail(text) {
            textRate.text = text
        }
        function onWaitingForController() {
            dialog.showWaiting()
        }
        function onDeclined() {
            dialog.showMessage(qsTr("Firmware update cancelled.\nThe controller was not changed."))
        }
    }
}

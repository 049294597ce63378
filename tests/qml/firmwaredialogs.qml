import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"

// The About box and the firmware dialog, driven by the signals of the real
// online check and update objects. Run by tst_qml_dialogs; the name keeps it
// out of tst_qml_pages, which takes every tst_*.qml here.
Item {
    id: top
    width: 1080
    height: 892

    HelpDialog { id: helpDialog }
    ProgressDialog { id: progressDialog }

    TestCase {
        name: "FirmwareDialogs"
        when: windowShown

        function init() {
            FtpControl.setDeviceConnected(true)
        }

        function cleanup() {
            helpDialog.close()
            progressDialog.close()
            tryCompare(progressDialog, "visible", false)
            tryCompare(helpDialog, "visible", false)
            MainLogic.setScale(1, 1)
        }

        // What the dialog shows, as names of its visible parts.
        function shownParts() {
            var parts = []
            var named = {
                "busy": progressDialog.busyIndicator,
                "wait": progressDialog.textWait,
                "hint": progressDialog.textHint,
                "message": progressDialog.textNewest,
                "notes": progressDialog.scrollView,
                "gauge": progressDialog.progressBarDownload,
                "confirm": progressDialog.btnSure
            }
            for (var name in named) {
                if (named[name].visible)
                    parts.push(name)
            }
            return parts.sort()
        }

        function openBusy() {
            Ftp.showDialog()
            tryCompare(progressDialog, "opened", true)
            compare(shownParts(), ["busy"])
        }

        // Both dialogs sit centred in the window and grow with its scaling
        // rate; the gauge still fills by its value.
        function test_dialogsFollowTheScalingRate() {
            MainLogic.raiseScreenChanged(1.5)
            compare([helpDialog.width, helpDialog.height, helpDialog.btnUpdate.width], [537, 324, 165])
            openBusy()
            compare([progressDialog.x, progressDialog.y, progressDialog.width, progressDialog.height],
                    [(top.width - 537) / 2, (top.height - 324) / 2, 537, 324])
            verify(progressDialog.modal)
            FirmwareUpdate.transmitProgress(50)
            var gauge = progressDialog.progressBarDownload
            compare([gauge.width, gauge.height, gauge.children[0].height, gauge.children[0].y], [132, 189, 94.5, 94.5])
            MainLogic.raiseScreenChanged(1)
            compare([gauge.width, gauge.height, gauge.children[0].height], [88, 126, 63])
            compare([helpDialog.width, helpDialog.height, helpDialog.btnUpdate.width], [358, 216, 110])
        }

        function test_aboutBox() {
            compare(helpDialog.sn.text, "sn:")
            MainLogic.s_snNum("MAVU-0042")
            compare(helpDialog.sn.text, "sn:MAVU-0042")
            DataMgt.initDefaultData()
            var v = DataMgt.getVerInfo()
            compare(helpDialog.firmwareVer.text, "Firmware:" + v[0] + "." + v[1] + "." + v[2])
            // The links follow the language; an account name shows its QR code while hovered.
            helpDialog.helpStae.state = "englishHelp"
            verify(!helpDialog.row.visible)
            compare(helpDialog.support.text, "SUPPORT CENTER")
            helpDialog.helpStae.state = "chineseHelp"
            verify(!helpDialog.support.visible)
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            var texts = []
            var button = null
            for (var i = 0; i < helpDialog.row.children.length; ++i) {
                var child = helpDialog.row.children[i]
                if (child.text !== undefined)
                    texts.push(child.text)
                if (child.text === "官方客服")
                    button = child
            }
            compare(texts, ["进入官网", "微信公众号", "官方客服", "小红书", "哔哩哔哩"])
            compare(button.imgSource, "qrc:/img/客服.png")
            var picture = null
            for (var j = 0; j < button.children.length; ++j) {
                if (button.children[j].source !== undefined)
                    picture = button.children[j]
            }
            verify(!picture.visible)
            mouseMove(button, button.width / 2, button.height / 2)
            tryCompare(picture, "visible", true)
            tryCompare(picture, "status", Image.Ready)
            mouseMove(top, 5, 5)
            tryCompare(picture, "visible", false)
        }

        // What the check's answers make the dialog show.
        function test_whatTheDialogShows_data() {
            return [
                { tag: "opened: only the busy indicator", road: function() {}, parts: ["busy"] },
                { tag: "latest", road: function() { Ftp.info("null", "", []) }, parts: ["message"] },
                { tag: "a second showDialog keeps it", road: function() {
                    Ftp.info("null", "", [])
                    Ftp.showDialog()
                } , parts: ["message"] },
                { tag: "offer", road: function() {
                    Ftp.info("mavu-1.0.2.bin", "1.0.2", ["Old note"])
                    // A later offer replaces the notes rather than adding to them.
                    Ftp.info("mavu-1.0.3.bin", "1.0.3", ["Faster pad scanning", "Brighter lights"])
                }, parts: ["confirm", "hint", "notes"], text: "检测到新的固件版本，请确认是否升级",
                  notes: ["固件名称:mavu-1.0.3.bin", "版本号:1.0.3", "Faster pad scanning", "Brighter lights"] },
                { tag: "progress", road: function() { FirmwareUpdate.transmitProgress(50) }, parts: ["gauge"] }
            ]
        }

        function test_whatTheDialogShows(data) {
            // Whatever an earlier use left showing is hidden again.
            progressDialog.textNewest.visible = true
            progressDialog.btnSure.visible = true
            openBusy()
            data.road()
            verify(progressDialog.opened)
            compare(shownParts(), data.parts)
            if (data.parts[0] === "message")
                compare(progressDialog.textNewest.text, "当前已是最新版本，无需升级!")
            if (data.notes) {
                compare(progressDialog.textHint.text, data.text)
                compare(progressDialog.btnSure.text, "固件升级")
                compare(progressDialog.textArea.text.split("\n"), data.notes)
            }
        }

        function test_progressFillsTheGaugeFromTheBottom() {
            openBusy()
            var gauge = progressDialog.progressBarDownload
            var fill = gauge.children[0]
            var art = gauge.children[1]
            compare(art.source, "qrc:/img/progress.png")
            for (var value = 50; value <= 100; value += 50) {
                FirmwareUpdate.transmitProgress(value)
                compare(gauge.value, value / 100)
                compare([fill.width, fill.height, fill.y], [art.width, art.height * value / 100, art.height * (100 - value) / 100])
            }
        }

        // Every road out of the dialog ends in a message the user can close,
        // also when the user closed the dialog on the way.
        function test_everyRoadEndsTheDialog_data() {
            function offerAndConfirm() {
                Ftp.info("mavu-1.0.3.bin", "1.0.3", [])
                mouseClick(progressDialog.btnSure)
            }
            function flash(ok) {
                return function() {
                    FirmwareUpdate.waitingForController()
                    verify(!progressDialog.closable)
                    FirmwareUpdate.transmitProgress(30)
                    verify(!progressDialog.closable)
                    FirmwareUpdate.transStatus(ok)
                }
            }
            return [
                { tag: "updated", road: flash(true), text: "固件升级成功！" },
                { tag: "transfer failed", road: flash(false), text: "固件升级失败！" },
                { tag: "no update port", text: "固件升级失败！", road: function() {
                    FirmwareUpdate.waitingForController()
                    FirmwareUpdate.transStatus(false)
                } },
                { tag: "check failed", text: "检查固件更新失败！\nThe firmware server was not found.", road: function() {
                    Ftp.failed("The firmware server was not found.")
                } },
                // The real check never offered this file, so the download is refused.
                { tag: "download refused", text: "固件下载失败！\nNo firmware has been offered for download.",
                  road: offerAndConfirm },
                { tag: "controller gone before the confirm", text: "固件下载失败！\nThe controller is not connected.",
                  road: function() {
                    FtpControl.setDeviceConnected(false)
                    offerAndConfirm()
                } },
                { tag: "closed during the download", text: "固件升级成功！", road: function() {
                    progressDialog.close()
                    tryCompare(progressDialog, "visible", false)
                    flash(true)()
                } }
            ]
        }

        function test_everyRoadEndsTheDialog(data) {
            openBusy()
            data.road()
            tryCompare(progressDialog, "opened", true)
            compare(shownParts(), ["message"])
            compare(progressDialog.textNewest.text, data.text)
            compare(progressDialog.progressBarDownload.value, 0)
            verify(progressDialog.closable)
        }

        function test_updateButton_data() {
            return [
                // Nothing listens on the server's port: the busy indicator gives way to the reason.
                { tag: "check fails", connected: true },
                { tag: "without the controller only a notice", connected: false }
            ]
        }

        function test_updateButton(data) {
            FtpControl.setDeviceConnected(data.connected)
            var boxes = FtpControl.messageBoxTexts().length
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            compare(helpDialog.btnUpdate.text, "firmware updates")
            mouseClick(helpDialog.btnUpdate)
            if (!data.connected) {
                compare(FtpControl.messageBoxTexts().length, boxes + 1)
                verify(!progressDialog.visible)
                return
            }
            tryCompare(progressDialog, "opened", true)
            tryCompare(progressDialog.textNewest, "visible", true, 15000)
            compare(shownParts(), ["message"])
            verify(progressDialog.textNewest.text.indexOf("检查固件更新失败！\n") === 0, progressDialog.textNewest.text)
        }
    }
}

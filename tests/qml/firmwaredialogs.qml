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

        function test_bothDialogsShareTheFrame() {
            var dialogs = [helpDialog, progressDialog]
            for (var i = 0; i < dialogs.length; ++i) {
                var d = dialogs[i]
                compare([d.width, d.height], [358, 216])
                verify(d.modal)
                compare(d.background.color, "#f0f0f0")
                compare(d.background.radius, 10)
                d.show()
                tryCompare(d, "opened", true)
                compare([d.x, d.y], [(top.width - 358) / 2, (top.height - 216) / 2])
                d.close()
                tryCompare(d, "visible", false)
            }
        }

        function test_dialogsFollowTheScalingRate() {
            MainLogic.raiseScreenChanged(1.5)
            compare([helpDialog.width, helpDialog.height], [537, 324])
            compare([progressDialog.width, progressDialog.height], [537, 324])
            compare(helpDialog.btnUpdate.width, 165)
            // The gauge grows with the dialog and still fills by its value.
            openBusy()
            FirmwareUpdate.transmitProgress(50)
            var gauge = progressDialog.progressBarDownload
            compare([gauge.width, gauge.height], [132, 189])
            compare(gauge.children[0].height, 94.5)
            compare(gauge.children[0].y, 94.5)
            compare(gauge.children[1].height, 189)
            MainLogic.raiseScreenChanged(1)
            compare([gauge.width, gauge.height], [88, 126])
            compare(gauge.children[0].height, 63)
            compare([helpDialog.width, progressDialog.height], [358, 216])
            compare(helpDialog.btnUpdate.width, 110)
        }

        function test_aboutBoxLinksFollowTheLanguageState() {
            helpDialog.show()
            helpDialog.helpStae.state = "chineseHelp"
            verify(helpDialog.row.visible)
            verify(!helpDialog.support.visible)
            var texts = []
            for (var i = 0; i < helpDialog.row.children.length; ++i) {
                var child = helpDialog.row.children[i]
                if (child.text !== undefined)
                    texts.push(child.text)
            }
            compare(texts, ["进入官网", "微信公众号", "官方客服", "小红书", "哔哩哔哩"])
            helpDialog.helpStae.state = "englishHelp"
            verify(!helpDialog.row.visible)
            verify(helpDialog.support.visible)
            compare(helpDialog.support.text, "SUPPORT CENTER")
        }

        function test_accountNamesShowTheirQrCodeWhileHovered() {
            helpDialog.helpStae.state = "chineseHelp"
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            var expected = {"微信公众号": "公众号", "官方客服": "客服", "小红书": "小红书"}
            var seen = 0
            for (var i = 0; i < helpDialog.row.children.length; ++i) {
                var button = helpDialog.row.children[i]
                if (expected[button.text] === undefined)
                    continue
                compare(button.imgSource, "qrc:/img/" + expected[button.text] + ".png")
                var picture = null
                for (var j = 0; j < button.children.length; ++j) {
                    if (button.children[j].source !== undefined)
                        picture = button.children[j]
                }
                verify(picture, button.text)
                verify(!picture.visible)
                mouseMove(button, button.width / 2, button.height / 2)
                tryCompare(button, "hovered", true)
                verify(picture.visible)
                tryCompare(picture, "status", Image.Ready)
                compare(picture.y, 18)
                verify(picture.width >= 60 && picture.width === picture.height, "a square code: " + picture.width)
                mouseMove(top, 5, 5)
                tryCompare(picture, "visible", false)
                ++seen
            }
            compare(seen, 3)
        }

        function test_serialNumberAndFirmwareVersion() {
            compare(helpDialog.sn.text, "sn:")
            MainLogic.s_snNum("MAVU-0042")
            compare(helpDialog.sn.text, "sn:MAVU-0042")
            DataMgt.initDefaultData()
            var v = DataMgt.getVerInfo()
            compare(helpDialog.firmwareVer.text, "Firmware:" + v[0] + "." + v[1] + "." + v[2])
            compare(helpDialog.firmwareVer.width, 95)
            compare(helpDialog.sn.width, 120)
        }

        function test_showLeavesOnlyTheBusyIndicator() {
            progressDialog.textNewest.visible = true
            progressDialog.btnSure.visible = true
            progressDialog.progressBarDownload.visible = true
            progressDialog.show()
            tryCompare(progressDialog, "opened", true)
            compare(shownParts(), ["busy"])
        }

        function test_aSecondShowDialogKeepsTheDialogAsItIs() {
            openBusy()
            Ftp.info("null", "", [])
            compare(shownParts(), ["message"])
            Ftp.showDialog()
            compare(shownParts(), ["message"])
            verify(progressDialog.opened)
        }

        function test_latestVersion() {
            openBusy()
            Ftp.info("null", "", [])
            compare(shownParts(), ["message"])
            compare(progressDialog.textNewest.text, "当前已是最新版本，无需升级!")
        }

        function test_offerListsNameVersionAndNotes() {
            openBusy()
            Ftp.info("mavu-1.0.3.bin", "1.0.3", ["Faster pad scanning", "Brighter lights"])
            compare(shownParts(), ["confirm", "hint", "notes"])
            compare(progressDialog.textHint.text, "检测到新的固件版本，请确认是否升级")
            compare(progressDialog.btnSure.text, "固件升级")
            compare(progressDialog.textArea.text.split("\n"),
                    ["固件名称:mavu-1.0.3.bin", "版本号:1.0.3", "Faster pad scanning", "Brighter lights"])
            // A later offer replaces the notes rather than adding to them.
            Ftp.info("mavu-1.0.4.bin", "1.0.4", [])
            compare(progressDialog.textArea.text.split("\n"), ["固件名称:mavu-1.0.4.bin", "版本号:1.0.4"])
        }

        function test_progressFillsTheGaugeFromTheBottom() {
            openBusy()
            FirmwareUpdate.transmitProgress(50)
            compare(shownParts(), ["gauge"])
            var gauge = progressDialog.progressBarDownload
            compare(gauge.value, 0.5)
            compare([gauge.width, gauge.height], [88, 126])
            var fill = gauge.children[0]
            var art = gauge.children[1]
            compare(art.source, "qrc:/img/progress.png")
            compare(fill.color, "#5e17cc")
            compare(fill.width, art.width)
            compare(fill.height, art.height * 0.5)
            compare(fill.y, art.height * 0.5)
            FirmwareUpdate.transmitProgress(100)
            compare(fill.height, art.height)
            compare(fill.y, 0)
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

        function test_updateButtonRunsTheCheckUntilItFails() {
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            compare(helpDialog.btnUpdate.text, "firmware updates")
            mouseClick(helpDialog.btnUpdate)
            tryCompare(progressDialog, "opened", true)
            // Nothing listens on the server's port: the busy indicator gives
            // way to the reason.
            tryCompare(progressDialog.textNewest, "visible", true, 15000)
            compare(shownParts(), ["message"])
            verify(progressDialog.textNewest.text.indexOf("检查固件更新失败！\n") === 0, progressDialog.textNewest.text)
        }

        function test_updateButtonWithoutTheControllerOnlyTellsSo() {
            FtpControl.setDeviceConnected(false)
            var boxes = FtpControl.messageBoxTexts().length
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            mouseClick(helpDialog.btnUpdate)
            compare(FtpControl.messageBoxTexts().length, boxes + 1)
            verify(!progressDialog.visible)
        }
    }
}

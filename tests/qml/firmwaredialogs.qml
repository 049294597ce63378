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
            FtpControl.setCurrentVersion("1.0.2")
        }

        function cleanup() {
            helpDialog.close()
            progressDialog.close()
            tryCompare(progressDialog, "visible", false)
            tryCompare(helpDialog, "visible", false)
        }

        // What the dialog shows, as names of its visible parts.
        function shownParts() {
            var named = { busy: progressDialog.busyIndicator, wait: progressDialog.textWait, hint: progressDialog.textHint,
                          message: progressDialog.textNewest, notes: progressDialog.scrollView,
                          gauge: progressDialog.progressBarDownload, confirm: progressDialog.btnSure }
            return Object.keys(named).filter(function (name) { return named[name].visible }).sort()
        }

        function openBusy() {
            Ftp.showDialog()
            tryCompare(progressDialog, "opened", true)
            compare(shownParts(), ["busy"])
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
                { tag: "latest", road: function() { Ftp.info("null", "", []) }, text: "当前已是最新版本，无需升级!" },
                { tag: "updated", road: flash(true), text: "固件升级成功！" },
                { tag: "transfer failed", road: flash(false), text: "固件升级失败！" },
                { tag: "check failed", text: "检查固件更新失败！\nThe firmware server was not found.",
                  road: function() { Ftp.failed("The firmware server was not found.") } },
                // The real check never offered this file, so the download is refused.
                { tag: "download refused", text: "固件下载失败！\nNo firmware has been offered for download.",
                  road: offerAndConfirm },
                { tag: "controller gone before the confirm", text: "固件下载失败！\nThe controller is not connected.",
                  road: function() { FtpControl.setDeviceConnected(false); offerAndConfirm() } },
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

        // Without the controller or its version the About box's button only
        // puts up a notice. (Its check, on to the offer, is in tst_firmware_dialog_e2e.)
        function test_updateButtonNotice_data() {
            return [
                { tag: "no controller", connected: false, version: "1.0.2" },
                { tag: "no version", connected: true, version: "" }
            ]
        }

        function test_updateButtonNotice(data) {
            FtpControl.setDeviceConnected(data.connected)
            FtpControl.setCurrentVersion(data.version)
            var boxes = FtpControl.messageBoxTexts().length
            helpDialog.show()
            tryCompare(helpDialog, "opened", true)
            mouseClick(helpDialog.btnUpdate)
            compare(FtpControl.messageBoxTexts().length, boxes + 1)
            verify(!progressDialog.visible)
        }
    }
}

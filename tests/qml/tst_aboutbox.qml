import QtQuick 2.15
import QtTest 1.2
import "qrc:/qml/modular"
import "qrc:/qml/BaseControl"

// The About box names the system it runs on and labels its versions; its
// update button looks as enabled as it is.
Item {
    id: top
    width: 1080
    height: 892

    HelpDialog { id: help; firmwareVersion: "1.0.2" }

    TestCase {
        name: "AboutBox"
        when: windowShown

        function test_saysWhatItIs() {
            help.show()
            tryCompare(help, "opened", true)
            compare([help.productLine.text, help.softVersion.text, help.firmwareVer.text],
                    ["Korvel PC Control for Linux", "Editor: 1.0.1.1", "Firmware: 1.0.2"])
            verify(help.btnUpdate.enabled)
            compare(String(help.btnUpdate.background.color), String(CusConfig.colorElement))
            help.close()
        }
    }
}

import QtQuick 2.15
import QtQuick.Controls 2.15
import Mavu 1.0
import "../BaseControl"
import "../component"

// The "About" box: versions, serial number, the online firmware check and the
// maker's links. The language state picks the English or the Chinese links.
DialogFrame {
    id: dialog

    property alias helpStae: helpStae
    property alias firmwareVer: firmwareVer
    property alias sn: sn
    property alias btnUpdate: btnUpdate
    property alias support: support
    property alias row: row
    property alias productLine: productLine
    property alias softVersion: softVersion
    // The system the editor runs on, by its usual name.
    readonly property string systemName: ({ "linux": "Linux", "windows": "Windows", "osx": "macOS" })[Qt.platform.os]
                                         || Qt.platform.os
    // Kept apart from the label so a language switch re-labels it.
    // The controller's version once it has answered, not a preset's.
    property string firmwareVersion: Session.firmwareVersion

    Item {
        id: helpStae
        states: [
            State {
                name: "chineseHelp"
                PropertyChanges { target: row; visible: true }
                PropertyChanges { target: support; visible: false }
            },
            State {
                name: "englishHelp"
                PropertyChanges { target: row; visible: false }
                PropertyChanges { target: support; visible: true }
            }
        ]
    }

    BasicText {
        id: footer
        anchors.horizontalCenter: parent.horizontalCenter
        y: 193
        z: -1
        fontSize: CusConfig.fontSizeLevel3
        enableColor: CusConfig.colorTextDisable
        text: qsTr("Copyright © Korvel Audio. All rights reserved.")
    }

    Image {
        id: logo
        x: 136
        y: 21
        source: "qrc:/img/helpLogo.png"
    }

    // Information, not disabled controls: the secondary text colour.
    BasicText {
        id: productLine
        anchors.horizontalCenter: parent.horizontalCenter
        y: 118
        text: qsTr("Korvel PC Control for %1").arg(dialog.systemName)
        enableColor: CusConfig.colorTextSecondary
    }

    // Cells of a fixed width keep the row centred whatever their texts.
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 132
        spacing: 4

        BasicText {
            id: softVersion
            width: 100
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: qsTr("Editor: %1").arg(MainLogic.getSoftVersion())
            enableColor: CusConfig.colorTextSecondary
        }
        BasicText {
            id: firmwareVer
            width: 110
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: qsTr("Firmware: %1").arg(dialog.firmwareVersion || "–")
            enableColor: CusConfig.colorTextSecondary
        }
        BasicText {
            id: sn
            width: 130
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: "sn:"
            enableColor: CusConfig.colorTextSecondary
        }
    }

    CusButton {
        id: btnUpdate
        anchors.horizontalCenter: parent.horizontalCenter
        y: 148
        width: 140
        height: 18
        text: qsTr("firmware updates")
        textColor: CusConfig.colortext
        onClicked: Ftp.checkOnLineFirmware()
    }

    CusButtonText {
        id: support
        x: 139
        y: 169
        text: qsTr("SUPPORT CENTER")
        onClicked: MainLogic.openWebPage(WebLinks.englishSite)
    }

    Component {
        id: line
        Rectangle {
            y: 8
            width: 1
            height: 8
            color: CusConfig.colorTextDisable
        }
    }

    // The Chinese links; the account names show their QR code on hover. The
    // links are as high as the row so the separators sit at their middle.
    Row {
        id: row
        anchors.horizontalCenter: parent.horizontalCenter
        y: 168
        spacing: 10
        visible: false

        CusButtonText {
            height: 24
            text: "进入官网"
            onClicked: MainLogic.openWebPage(WebLinks.chineseSite)
        }
        Loader { sourceComponent: line }
        CusButtonText {
            height: 24
            text: "微信公众号"
            imgSource: "qrc:/img/公众号.png"
        }
        Loader { sourceComponent: line }
        CusButtonText {
            height: 24
            text: "官方客服"
            imgSource: "qrc:/img/客服.png"
        }
        Loader { sourceComponent: line }
        CusButtonText {
            height: 24
            text: "小红书"
            imgSource: "qrc:/img/小红书.png"
        }
        Loader { sourceComponent: line }
        CusButtonText {
            height: 24
            text: "哔哩哔哩"
            onClicked: MainLogic.openWebPage(WebLinks.videoChannel)
        }
    }

    // Also the number reported before the box was built.
    Component.onCompleted: {
        if (MainLogic.serialNumber)
            sn.text = "sn: " + MainLogic.serialNumber
    }

    Connections {
        target: MainLogic
        function onS_snNum(snStr) {
            sn.text = "sn: " + snStr
        }
    }
}

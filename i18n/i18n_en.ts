<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>MyFtp</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先连接设备</source>
        <translation>Please connect the device first</translation>
    </message>
    <message>
        <source>获取当前版本号失败</source>
        <translation>Failed to get the current version number</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>固件升级</source>
        <translation>Firmware update</translation>
    </message>
    <message>
        <source>固件升级失败！</source>
        <translation>Firmware upgrade failed!</translation>
    </message>
    <message>
        <source>固件升级成功！</source>
        <translation>Firmware upgrade succeeded!</translation>
    </message>
    <message>
        <source>固件名称:</source>
        <translation>Firmware name:</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version No.:</translation>
    </message>
    <message>
        <source>当前已是最新版本，无需升级</source>
        <translation>Currently, it is the latest version, no need to upgrade</translation>
    </message>
    <message>
        <source>当前已是最新版本，无需升级!</source>
        <translation>Currently it is the latest version, no need to upgrade!</translation>
    </message>
    <message>
        <source>检测到新的固件版本，请确认是否升级</source>
        <translation>New firmware version detected, please confirm whether to upgrade</translation>
    </message>
    <message>
        <source>固件下载失败！</source>
        <translation>Firmware download failed!</translation>
    </message>
    <message>
        <source>检查固件更新失败！</source>
        <translation>Checking for firmware updates failed!</translation>
    </message>
</context>
<context>
    <name>Trans</name>
    <message>
        <source>TargetLanguage</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>MainPage</name>
    <message numerus="yes">
        <source>%n change(s) not sent to the controller</source>
        <translation><numerusform>%n change not sent to the controller</numerusform><numerusform>%n changes not sent to the controller</numerusform></translation>
    </message>
</context>
<context>
    <name>PresetDocument</name>
    <message numerus="yes">
        <source>%n change(s) not sent to the controller.</source>
        <translation><numerusform>%n change not sent to the controller.</numerusform><numerusform>%n changes not sent to the controller.</numerusform></translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>BQM</name>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>CHN TOUCH</source>
        <translation>通道触后</translation>
    </message>
    <message>
        <source>PITCH BEND</source>
        <translation>弯音</translation>
    </message>
    <message>
        <source>Knob %1</source>
        <translation>旋钮 %1</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 类型</translation>
    </message>
</context>
<context>
    <name>BqmCC</name>
    <message>
        <source>MIN</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>MAX</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>%1 CC number</source>
        <translation>%1 CC 号</translation>
    </message>
    <message>
        <source>%1 minimum</source>
        <translation>%1 最小值</translation>
    </message>
    <message>
        <source>%1 maximum</source>
        <translation>%1 最大值</translation>
    </message>
    <message>
        <source>%1 channel</source>
        <translation>%1 通道</translation>
    </message>
</context>
<context>
    <name>BqmPitchBend</name>
    <message>
        <source>LSB MIN</source>
        <translation>精调最小</translation>
    </message>
    <message>
        <source>MAX</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>MSB MIN</source>
        <translation>粗调最小</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>%1 CC number</source>
        <translation>%1 CC 号</translation>
    </message>
    <message>
        <source>%1 LSB minimum</source>
        <translation>%1 精调最小值</translation>
    </message>
    <message>
        <source>%1 LSB maximum</source>
        <translation>%1 精调最大值</translation>
    </message>
    <message>
        <source>%1 MSB minimum</source>
        <translation>%1 粗调最小值</translation>
    </message>
    <message>
        <source>%1 MSB maximum</source>
        <translation>%1 粗调最大值</translation>
    </message>
    <message>
        <source>%1 channel</source>
        <translation>%1 通道</translation>
    </message>
</context>
<context>
    <name>Brightness</name>
    <message>
        <source>Luminance</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>L</source>
        <translation>低</translation>
    </message>
    <message>
        <source>H</source>
        <translation>高</translation>
    </message>
</context>
<context>
    <name>ColorDialog</name>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>0–127</source>
        <translation>0–127</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Colour code, #rrggbb</source>
        <translation>颜色代码，#rrggbb</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source>With a snapshot…</source>
        <translation>与快照比较…</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>控制器</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>比较</translation>
    </message>
    <message>
        <source>With the controller</source>
        <translation>与控制器比较</translation>
    </message>
    <message>
        <source>With a file…</source>
        <translation>与文件比较…</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置项</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>编辑器</translation>
    </message>
    <message>
        <source>Take the file&apos;s</source>
        <translation>采用文件的</translation>
    </message>
    <message>
        <source>Take the controller&apos;s</source>
        <translation>采用控制器的</translation>
    </message>
    <message>
        <source>Take all of the file&apos;s</source>
        <translation>全部采用文件的</translation>
    </message>
    <message>
        <source>Take all of the controller&apos;s</source>
        <translation>全部采用控制器的</translation>
    </message>
</context>
<context>
    <name>ConnectState</name>
    <message>
        <source>No device found</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Device connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Update mode</source>
        <translation>升级模式</translation>
    </message>
</context>
<context>
    <name>ControlId</name>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>录音</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>循环</translation>
    </message>
    <message>
        <source>Pad %1</source>
        <translation>打击垫 %1</translation>
    </message>
    <message>
        <source>Knob %1</source>
        <translation>旋钮 %1</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>按钮 %1</translation>
    </message>
    <message>
        <source>All pads</source>
        <translation>全部打击垫</translation>
    </message>
</context>
<context>
    <name>CusButtonState</name>
    <message>
        <source>Momentary</source>
        <translation>即时</translation>
    </message>
    <message>
        <source>Toggle</source>
        <translation>切换</translation>
    </message>
</context>
<context>
    <name>CusTabBar</name>
    <message>
        <source>NOTE</source>
        <translation>音符</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>PC</source>
        <translation>PC</translation>
    </message>
</context>
<context>
    <name>CusTabButton</name>
    <message>
        <source>BANK A</source>
        <translation>储存 A</translation>
    </message>
</context>
<context>
    <name>DifferenceList</name>
    <message>
        <source>Momentary</source>
        <translation>即时</translation>
    </message>
    <message>
        <source>Toggle</source>
        <translation>切换</translation>
    </message>
    <message>
        <source>CHN TOUCH</source>
        <translation>通道触后</translation>
    </message>
    <message>
        <source>PITCH BEND</source>
        <translation>弯音</translation>
    </message>
    <message>
        <source>FULL</source>
        <translation>全力度</translation>
    </message>
    <message>
        <source>LO</source>
        <translation>柔软</translation>
    </message>
    <message>
        <source>LINEAR</source>
        <translation>中等</translation>
    </message>
    <message>
        <source>EXP</source>
        <translation>强硬</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>音符</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>程序号</translation>
    </message>
    <message>
        <source>CC number</source>
        <translation>CC 号</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Velocity curve</source>
        <translation>力度曲线</translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation>压力阈值</translation>
    </message>
    <message>
        <source>min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Compare with a preset</source>
        <translation>与预设文件比较</translation>
    </message>
    <message>
        <source>Presets (*.stm *.syx *.json);;All files (*)</source>
        <translation>预设 (*.stm *.syx *.json);;所有文件 (*)</translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; could not be opened.
%2</source>
        <translation>无法打开预设“%1”。
%2</translation>
    </message>
    <message>
        <source>The controller&apos;s settings are not known: connect it, or get them from it.</source>
        <translation>控制器的设置未知：请连接控制器，或从控制器获取设置。</translation>
    </message>
    <message>
        <source>The editor and the file agree.</source>
        <translation>编辑器与文件的设置相同。</translation>
    </message>
    <message>
        <source>The editor and the controller agree.</source>
        <translation>编辑器与控制器的设置相同。</translation>
    </message>
</context>
<context>
    <name>Doctor</name>
    <message>
        <source>PROBLEM</source>
        <translation>问题</translation>
    </message>
    <message>
        <source>note</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>hint:</source>
        <translation>建议：</translation>
    </message>
    <message>
        <source>fix:</source>
        <translation>解决：</translation>
    </message>
    <message>
        <source>All is well.</source>
        <translation>一切正常。</translation>
    </message>
    <message>
        <source>Something needs fixing (above).</source>
        <translation>有需要解决的问题（见上文）。</translation>
    </message>
    <message>
        <source>No ALSA sequencer: /dev/snd/seq is missing, so USB MIDI devices cannot be reached through ALSA.</source>
        <translation>没有 ALSA 音序器：缺少 /dev/snd/seq，无法通过 ALSA 访问 USB MIDI 设备。</translation>
    </message>
    <message>
        <source>Load it with &quot;sudo modprobe snd-seq&quot;. Without sound hardware (containers, virtual machines) use JACK: start a server (&quot;jackd -d dummy&quot;, or your desktop&apos;s JACK or PipeWire) and run &quot;korvel-mavu --midi-api=jack&quot;; &quot;a2jmidid -e&quot; brings ALSA MIDI devices into JACK.</source>
        <translation>用 &quot;sudo modprobe snd-seq&quot; 加载它。没有声音硬件时（容器、虚拟机）请使用 JACK：启动一个服务器（&quot;jackd -d dummy&quot;，或桌面的 JACK 或 PipeWire），然后运行 &quot;korvel-mavu --midi-api=jack&quot;；&quot;a2jmidid -e&quot; 可把 ALSA MIDI 设备接入 JACK。</translation>
    </message>
    <message>
        <source>The ALSA sequencer /dev/snd/seq may not be used by you.</source>
        <translation>您无权使用 ALSA 音序器 /dev/snd/seq。</translation>
    </message>
    <message>
        <source>Join the audio group (&quot;sudo usermod -aG audio $USER&quot;) and log in again.</source>
        <translation>加入 audio 组（&quot;sudo usermod -aG audio $USER&quot;）后重新登录。</translation>
    </message>
    <message>
        <source>ALSA sequencer: reachable.</source>
        <translation>ALSA 音序器：可用。</translation>
    </message>
    <message>
        <source>MIDI: the simulated controller (--simulator) stands in for the system&apos;s MIDI.</source>
        <translation>MIDI：由模拟控制器（--simulator）代替系统的 MIDI。</translation>
    </message>
    <message>
        <source>JACK: in use.</source>
        <translation>JACK：正在使用。</translation>
    </message>
    <message>
        <source>JACK: no server running (only needed with --midi-api=jack).</source>
        <translation>JACK：没有运行的服务器（仅 --midi-api=jack 时需要）。</translation>
    </message>
    <message>
        <source>JACK: server running (%1); use --midi-api=jack.</source>
        <translation>JACK：服务器正在运行（%1）；请使用 --midi-api=jack。</translation>
    </message>
    <message>
        <source>PipeWire: running. Its JACK (&quot;pw-jack korvel-mavu --midi-api=jack&quot;) shows ALSA MIDI devices as Midi-Bridge ports.</source>
        <translation>PipeWire：正在运行。它的 JACK（&quot;pw-jack korvel-mavu --midi-api=jack&quot;）把 ALSA MIDI 设备显示为 Midi-Bridge 端口。</translation>
    </message>
    <message>
        <source>Choose one that runs here with --midi-api=alsa or --midi-api=jack.</source>
        <translation>请用 --midi-api=alsa 或 --midi-api=jack 选择本机可用的一个。</translation>
    </message>
    <message>
        <source>A JACK server of another name is reached with JACK_DEFAULT_SERVER=%1.</source>
        <translation>其他名称的 JACK 服务器可通过 JACK_DEFAULT_SERVER=%1 访问。</translation>
    </message>
    <message>
        <source>The MIDI system did not start: %1.</source>
        <translation>MIDI 系统未能启动：%1。</translation>
    </message>
    <message>
        <source>The controller&apos;s MIDI ports are present.</source>
        <translation>控制器的 MIDI 端口存在。</translation>
    </message>
    <message>
        <source>The controller is in update mode: it has its update port but no MIDI ports.</source>
        <translation>控制器处于升级模式：只有升级端口，没有 MIDI 端口。</translation>
    </message>
    <message>
        <source>Finish the firmware update (the editor offers it, or &quot;mavuctl firmware update FILE --port PORT&quot;).</source>
        <translation>请完成固件升级（编辑器会提供，或使用 &quot;mavuctl firmware update FILE --port PORT&quot;）。</translation>
    </message>
    <message>
        <source>The controller&apos;s MIDI ports are not listed.</source>
        <translation>没有列出控制器的 MIDI 端口。</translation>
    </message>
    <message>
        <source>Plug the controller in with a cable that carries data. Under JACK its ports appear only through a bridge (a2jmidid -e, or PipeWire&apos;s JACK).</source>
        <translation>请用能传输数据的线连接控制器。在 JACK 下，它的端口只通过桥接出现（a2jmidid -e，或 PipeWire 的 JACK）。</translation>
    </message>
    <message>
        <source>Update port: not present (it appears only while the controller is in update mode).</source>
        <translation>升级端口：不存在（只在控制器处于升级模式时出现）。</translation>
    </message>
    <message>
        <source>You may not open the update port %1 (group %2).</source>
        <translation>您无权打开升级端口 %1（组 %2）。</translation>
    </message>
    <message>
        <source>You are in the group %1, but this session began before: log out and in again.</source>
        <translation>您已在组 %1 中，但本次会话开始得更早：请注销后重新登录。</translation>
    </message>
    <message>
        <source>Plug the controller in again so that the udev rules apply, or join the group: &quot;sudo usermod -aG %1 $USER&quot;, then log in again.</source>
        <translation>请重新插上控制器以应用 udev 规则，或加入该组：&quot;sudo usermod -aG %1 $USER&quot;，然后重新登录。</translation>
    </message>
    <message>
        <source>Install the udev rules (%1), or join the group: &quot;sudo usermod -aG %2 $USER&quot;, then log in again.</source>
        <translation>请安装 udev 规则（%1），或加入该组：&quot;sudo usermod -aG %2 $USER&quot;，然后重新登录。</translation>
    </message>
    <message>
        <source>The update port %1 is busy: %2.</source>
        <translation>升级端口 %1 被占用：%2。</translation>
    </message>
    <message>
        <source>Close the program that holds it (&quot;fuser %1&quot; names it; ModemManager and serial terminals are the usual ones).</source>
        <translation>请关闭占用它的程序（&quot;fuser %1&quot; 可查出；通常是 ModemManager 或串口终端）。</translation>
    </message>
    <message>
        <source>Update port %1: can be opened.</source>
        <translation>升级端口 %1：可以打开。</translation>
    </message>
    <message>
        <source>udev is not running here (a container?): its rules do not matter.</source>
        <translation>这里没有运行 udev（容器？）：它的规则无关紧要。</translation>
    </message>
    <message>
        <source>The editor&apos;s udev rules (%1) are not installed.</source>
        <translation>没有安装编辑器的 udev 规则（%1）。</translation>
    </message>
    <message>
        <source>Install them: %1</source>
        <translation>请安装：%1</translation>
    </message>
    <message>
        <source>The udev rules (%1) are installed but were not applied to the update port.</source>
        <translation>udev 规则（%1）已安装，但未应用到升级端口。</translation>
    </message>
    <message>
        <source>Reload them (sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger) or plug the controller in again.</source>
        <translation>请重新加载（sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger）或重新插上控制器。</translation>
    </message>
    <message>
        <source>udev rules: installed (%1).</source>
        <translation>udev 规则：已安装（%1）。</translation>
    </message>
    <message>
        <source>ModemManager is running and would probe the update port during an update.</source>
        <translation>ModemManager 正在运行，升级时会探测升级端口。</translation>
    </message>
    <message>
        <source>Install the udev rules (they tell it to leave the port alone), or stop it for the update: sudo systemctl stop ModemManager</source>
        <translation>请安装 udev 规则（规则会让它不碰该端口），或在升级时停止它：sudo systemctl stop ModemManager</translation>
    </message>
    <message>
        <source>ModemManager: running, told by the udev rules to leave the port alone.</source>
        <translation>ModemManager：正在运行，udev 规则已让它不碰该端口。</translation>
    </message>
    <message>
        <source>Firmware server: answers.</source>
        <translation>固件服务器：有应答。</translation>
    </message>
    <message>
        <source>The firmware server does not answer: %1.</source>
        <translation>固件服务器没有应答：%1。</translation>
    </message>
    <message>
        <source>Only firmware updates need it: check the network connection and --firmware-server (KORVEL_MAVU_FIRMWARE_SERVER).</source>
        <translation>只有固件升级需要它：请检查网络连接和 --firmware-server（KORVEL_MAVU_FIRMWARE_SERVER）。</translation>
    </message>
    <message>
        <source>no answer within %1 seconds</source>
        <translation>%1 秒内没有应答</translation>
    </message>
</context>
<context>
    <name>FirmwareCheck</name>
    <message>
        <source>Asking the firmware server for a newer firmware...</source>
        <translation>正在向固件服务器查询新固件……</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>FunctionGroup</name>
    <message>
        <source>Copy data from Group B</source>
        <translation>复制B组布局数据</translation>
    </message>
    <message>
        <source>Copy data from Group A</source>
        <translation>复制A组布局数据</translation>
    </message>
    <message>
        <source>Copy data from Group C</source>
        <translation>复制C组布局数据</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Please select parameter block and fill the text field.</source>
        <translation>请先勾选参数区块并填写数值。</translation>
    </message>
    <message>
        <source>Not saved, since not ticked: %1. Tick a block to save it.</source>
        <translation>以下区块已修改但未勾选，因此未保存：%1。勾选区块后才会保存。</translation>
    </message>
</context>
<context>
    <name>FunctionPage</name>
    <message>
        <source>Back</source>
        <translation>返回主界面</translation>
    </message>
    <message>
        <source>Group A</source>
        <translation>A组布局</translation>
    </message>
    <message>
        <source>Group B</source>
        <translation>B组布局</translation>
    </message>
    <message>
        <source>Group C</source>
        <translation>C组布局</translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>Copyright © Korvel Audio. All rights reserved.</source>
        <translation>版权所有 © Korvel Audio。保留所有权利。</translation>
    </message>
    <message>
        <source>Korvel PC Control for %1</source>
        <translation>Korvel PC控制面板 %1客户端</translation>
    </message>
    <message>
        <source>Editor: %1</source>
        <translation>编辑器：%1</translation>
    </message>
    <message>
        <source>Firmware: %1</source>
        <translation>固件版本号：%1</translation>
    </message>
    <message>
        <source>firmware updates</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>SUPPORT CENTER</source>
        <translation>支持中心</translation>
    </message>
</context>
<context>
    <name>ImageCheck</name>
    <message>
        <source>The settings block is %1 bytes long; a complete block has %2 bytes.</source>
        <translation>设置数据块长 %1 字节，完整的数据块应为 %2 字节。</translation>
    </message>
    <message>
        <source>The settings block does not begin with F0 and end with F7.</source>
        <translation>设置数据块不是以 F0 开头、以 F7 结尾。</translation>
    </message>
</context>
<context>
    <name>KnobSwitchGroup</name>
    <message>
        <source>Knobs</source>
        <translation>旋钮</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>START</source>
        <translation>开始值</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>MAX</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>CHN TOUCH</source>
        <translation>通道触后</translation>
    </message>
    <message>
        <source>PITCH BEND</source>
        <translation>弯音</translation>
    </message>
    <message>
        <source>LSB MIN</source>
        <translation>精调最小</translation>
    </message>
    <message>
        <source>LSB MAX</source>
        <translation>精调最大</translation>
    </message>
    <message>
        <source>MSB MIN</source>
        <translation>粗调最小</translation>
    </message>
    <message>
        <source>MSB MAX</source>
        <translation>粗调最大</translation>
    </message>
</context>
<context>
    <name>KnockGroup</name>
    <message>
        <source>PADs</source>
        <translation>打击垫</translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation>音符</translation>
    </message>
    <message>
        <source>START</source>
        <translation>编号起始值</translation>
    </message>
    <message>
        <source>ASC/DES</source>
        <translation>升序/降序</translation>
    </message>
    <message>
        <source>Asc</source>
        <translation>升序</translation>
    </message>
    <message>
        <source>Des</source>
        <translation>降序</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>TYPE</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Moment</source>
        <translation>即时</translation>
    </message>
    <message>
        <source>Toggle</source>
        <translation>切换</translation>
    </message>
    <message>
        <source>PC</source>
        <translation>PC</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>CHOOSE</source>
        <translation>选择颜色</translation>
    </message>
    <message>
        <source>PARAM</source>
        <translation>色值参数</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>0–127</source>
        <translation>0–127</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Succeeded in sending data</source>
        <translation>发送数据成功</translation>
    </message>
    <message>
        <source>Getting data succeeded</source>
        <translation>获取数据成功</translation>
    </message>
    <message>
        <source>Failed to send data</source>
        <translation>发送数据失败</translation>
    </message>
    <message>
        <source>Failed to get data</source>
        <translation>获取数据失败</translation>
    </message>
</context>
<context>
    <name>MainPage</name>
    <message>
        <source>BANK A</source>
        <translation>储存 A</translation>
    </message>
    <message>
        <source>BANK B</source>
        <translation>储存 B</translation>
    </message>
    <message>
        <source>BANK C</source>
        <translation>储存 C</translation>
    </message>
    <message>
        <source>SEND TO HARDWARE</source>
        <translation>发送到硬件</translation>
    </message>
    <message>
        <source>GET FROM HARDWARE</source>
        <translation>从硬件获取</translation>
    </message>
    <message>
        <source>Controller up to date</source>
        <translation>控制器已是最新</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) not sent to the controller</source>
        <translation><numerusform>%n 处更改未发送到控制器</numerusform></translation>
    </message>
    <message>
        <source>Pad bank</source>
        <translation>打击垫储存</translation>
    </message>
    <message>
        <source>Knob bank</source>
        <translation>旋钮储存</translation>
    </message>
    <message>
        <source>Pads, bank %1</source>
        <translation>打击垫，储存 %1</translation>
    </message>
    <message>
        <source>Knobs, bank %1</source>
        <translation>旋钮，储存 %1</translation>
    </message>
</context>
<context>
    <name>ControllerPorts</name>
    <message>
        <source>the controller's MIDI port is not open</source>
        <translation>控制器的 MIDI 端口未打开</translation>
    </message>
    <message>
        <source>Error prompt</source>
        <translation>错误提示</translation>
    </message>
    <message>
        <source>The current device is occupied</source>
        <translation>当前设备被占用</translation>
    </message>
</context>
<context>
    <name>PresetDocument</name>
    <message>
        <source>Error prompt</source>
        <translation>错误提示</translation>
    </message>
    <message>
        <source>stm (*.stm)</source>
        <translation>stm 预设文件 (*.stm)</translation>
    </message>
    <message>
        <source>syx (*.syx)</source>
        <translation>SysEx 文件 (*.syx)</translation>
    </message>
    <message>
        <source>Preset as text (*.json)</source>
        <translation>文本预设 (*.json)</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>The preset could not be saved to &quot;%1&quot;.
%2</source>
        <translation>无法将预设保存到“%1”。
%2</translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; could not be opened.
%2</source>
        <translation>无法打开预设“%1”。
%2</translation>
    </message>
    <message>
        <source>The settings in the editor are not saved.</source>
        <translation>编辑器中的设置尚未保存。</translation>
    </message>
    <message>
        <source>The changes to &quot;%1&quot; are not saved.</source>
        <translation>对“%1”的更改尚未保存。</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) not sent to the controller.</source>
        <translation><numerusform>%n 处更改未发送到控制器。</numerusform></translation>
    </message>
    <message>
        <source>Save and Open</source>
        <translation>保存并打开</translation>
    </message>
    <message>
        <source>Open Without Saving</source>
        <translation>不保存，直接打开</translation>
    </message>
    <message>
        <source>Save and Get</source>
        <translation>保存并获取</translation>
    </message>
    <message>
        <source>Get Without Saving</source>
        <translation>不保存，直接获取</translation>
    </message>
    <message>
        <source>Save and Restore</source>
        <translation>保存并恢复</translation>
    </message>
    <message>
        <source>Restore Without Saving</source>
        <translation>不保存，直接恢复</translation>
    </message>
    <message>
        <source>Save and Send</source>
        <translation>保存并发送</translation>
    </message>
    <message>
        <source>Save Only</source>
        <translation>仅保存</translation>
    </message>
    <message>
        <source>Send Only</source>
        <translation>仅发送</translation>
    </message>
    <message>
        <source>Save and Quit</source>
        <translation>保存并退出</translation>
    </message>
    <message>
        <source>Send and Quit</source>
        <translation>发送并退出</translation>
    </message>
    <message>
        <source>Quit Without Saving or Sending</source>
        <translation>不保存也不发送，直接退出</translation>
    </message>
    <message>
        <source>Quit Without Saving</source>
        <translation>不保存，直接退出</translation>
    </message>
    <message>
        <source>Quit Without Sending</source>
        <translation>不发送，直接退出</translation>
    </message>
    <message>
        <source>Save and Load the Backup</source>
        <translation>保存并载入备份</translation>
    </message>
    <message>
        <source>Load the Backup Without Saving</source>
        <translation>不保存，直接载入备份</translation>
    </message>
    <message>
        <source>Load the Backup</source>
        <translation>载入备份</translation>
    </message>
    <message>
        <source>The saved settings are back on the controller.</source>
        <translation>已保存的设置已写回控制器。</translation>
    </message>
    <message>
        <source>Load them into the editor as well?</source>
        <translation>是否也将其载入编辑器？</translation>
    </message>
    <message>
        <source>Settings backup</source>
        <translation>设置备份</translation>
    </message>
</context>
<context>
    <name>MyFtp</name>
    <message>
        <source>The controller is not connected.</source>
        <translation>控制器未连接。</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>请先连接设备</source>
        <translation>请先连接设备</translation>
    </message>
    <message>
        <source>获取当前版本号失败</source>
        <translation>获取当前版本号失败</translation>
    </message>
    <message>
        <source>No firmware has been offered for download.</source>
        <translation>没有可供下载的固件。</translation>
    </message>
    <message>
        <source>The firmware file cannot be stored in %1.</source>
        <translation>固件文件无法保存到 %1。</translation>
    </message>
    <message>
        <source>The firmware server did not answer in time.</source>
        <translation>固件服务器没有及时响应。</translation>
    </message>
    <message>
        <source>The firmware description is too large.</source>
        <translation>固件描述文件过大。</translation>
    </message>
    <message>
        <source>The firmware file could not be written: %1</source>
        <translation>无法写入固件文件：%1</translation>
    </message>
    <message>
        <source>The firmware server refused the connection.</source>
        <translation>固件服务器拒绝了连接。</translation>
    </message>
    <message>
        <source>The firmware server was not found.</source>
        <translation>找不到固件服务器。</translation>
    </message>
    <message>
        <source>The firmware server refused the login.</source>
        <translation>固件服务器拒绝登录。</translation>
    </message>
    <message>
        <source>The firmware server has no firmware description.</source>
        <translation>固件服务器上没有固件描述文件。</translation>
    </message>
    <message>
        <source>The firmware file is not on the server.</source>
        <translation>服务器上没有这个固件文件。</translation>
    </message>
    <message>
        <source>The firmware server could not be reached: %1</source>
        <translation>无法连接固件服务器：%1</translation>
    </message>
    <message>
        <source>The firmware versions &quot;%1&quot; and &quot;%2&quot; cannot be compared.</source>
        <translation>无法比较固件版本“%1”和“%2”。</translation>
    </message>
    <message>
        <source>The firmware server offers an invalid file name.</source>
        <translation>固件服务器提供的文件名无效。</translation>
    </message>
    <message>
        <source>The firmware file could not be stored.</source>
        <translation>无法保存固件文件。</translation>
    </message>
    <message>
        <source>The firmware file has %1 bytes instead of %2.</source>
        <translation>固件文件大小为 %1 字节，应为 %2 字节。</translation>
    </message>
    <message>
        <source>The firmware file does not match its checksum.</source>
        <translation>固件文件校验和不匹配。</translation>
    </message>
    <message>
        <source>The firmware file could not be stored: %1</source>
        <translation>无法保存固件文件：%1</translation>
    </message>
</context>
<context>
    <name>MyMenuBar</name>
    <message>
        <source>Library…</source>
        <translation>预设库…</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>历史记录…</translation>
    </message>
    <message>
        <source>Compare…</source>
        <translation>比较…</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Send To Hardware</source>
        <translation>发送到硬件</translation>
    </message>
    <message>
        <source>Get From Hardware</source>
        <translation>从硬件获取</translation>
    </message>
    <message>
        <source>Restore The Default</source>
        <translation>恢复默认值</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>快速布局</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Open Userguide   Ctrl+H</source>
        <translation>打开用户指南</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>意见反馈</translation>
    </message>
    <message>
        <source>System Check</source>
        <translation>系统检查</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <source>Bank A</source>
        <translation>储存 A</translation>
    </message>
    <message>
        <source>Bank B</source>
        <translation>储存 B</translation>
    </message>
    <message>
        <source>Bank C</source>
        <translation>储存 C</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>实际大小</translation>
    </message>
    <message>
        <source>Keyboard and Screen Readers</source>
        <translation>键盘与读屏软件</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
</context>
<context>
    <name>PadKey</name>
    <message>
        <source>KEY</source>
        <translation>按键</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>CC #</source>
        <translation>CC 号</translation>
    </message>
    <message>
        <source>PC #</source>
        <translation>程序号</translation>
    </message>
    <message>
        <source>Pad %1</source>
        <translation>打击垫 %1</translation>
    </message>
    <message>
        <source>%1 note</source>
        <translation>%1 音符</translation>
    </message>
    <message>
        <source>%1 CC number</source>
        <translation>%1 CC 号</translation>
    </message>
    <message>
        <source>%1 program number</source>
        <translation>%1 程序号</translation>
    </message>
    <message>
        <source>%1 note name</source>
        <translation>%1 音名</translation>
    </message>
    <message>
        <source>%1 channel</source>
        <translation>%1 通道</translation>
    </message>
    <message>
        <source>%1 mode</source>
        <translation>%1 模式</translation>
    </message>
    <message>
        <source>%1 colour</source>
        <translation>%1 颜色</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 类型</translation>
    </message>
</context>
<context>
    <name>PresetFile</name>
    <message>
        <source>The file is empty.</source>
        <translation>文件是空的。</translation>
    </message>
    <message>
        <source>The file is too short to be a preset (%1 bytes).</source>
        <translation>文件太短，只有 %1 字节。</translation>
    </message>
    <message>
        <source>This file is not a Korvel Mavu preset.</source>
        <translation>此文件不是 Korvel Mavu 预设。</translation>
    </message>
    <message>
        <source>A preset begins with %1 or %2; this file begins with %3.</source>
        <translation>预设文件以 %1 或 %2 开头，而此文件以 %3 开头。</translation>
    </message>
    <message>
        <source>The file is truncated: %1 of %2 bytes are present.</source>
        <translation>文件不完整：只有 %1 字节，应为 %2 字节。</translation>
    </message>
    <message>
        <source>The file has %1 unexpected bytes after the settings block.</source>
        <translation>设置数据块之后多出 %1 字节无法识别的数据。</translation>
    </message>
    <message>
        <source>The settings hold a value that a preset as text cannot keep: %1</source>
        <translation>设置中有文本预设无法保存的值：%1</translation>
    </message>
    <message>
        <source>A preset file name ends in .stm, .syx or .json.</source>
        <translation>预设文件名须以 .stm、.syx 或 .json 结尾。</translation>
    </message>
</context>
<context>
    <name>PlainFile</name>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>这是一个文件夹，不是文件。</translation>
    </message>
    <message>
        <source>This is not a regular file but a device, pipe or socket; it is not read.</source>
        <translation>这不是普通文件，而是设备、管道或套接字，不会读取。</translation>
    </message>
    <message>
        <source>The file is %1 bytes long; at most %2 bytes are expected.</source>
        <translation>文件长 %1 字节，最多应为 %2 字节。</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdate</name>
    <message>
        <source>You may not use the controller&apos;s update port. Install the editor&apos;s udev rules (70-korvel-mavu.rules, in /usr/lib/udev/rules.d or /etc/udev/rules.d) and plug the controller in again, or join the dialout group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation>没有使用控制器升级端口的权限。请安装编辑器的 udev 规则（70-korvel-mavu.rules，放在 /usr/lib/udev/rules.d 或 /etc/udev/rules.d），然后重新插入控制器；或者加入 dialout 组（sudo usermod -aG dialout $USER）后重新登录。</translation>
    </message>
</context>
<context>
    <name>Pressure</name>
    <message>
        <source>Pressure</source>
        <translation>压力阈值</translation>
    </message>
    <message>
        <source>Full Level</source>
        <translation>自定义力度值</translation>
    </message>
    <message>
        <source>Velocity Curve</source>
        <translation>力度曲线</translation>
    </message>
    <message>
        <source>FULL</source>
        <translation>全力度</translation>
    </message>
    <message>
        <source>LO</source>
        <translation>柔软</translation>
    </message>
    <message>
        <source>LINEAR</source>
        <translation>中等</translation>
    </message>
    <message>
        <source>EXP</source>
        <translation>强硬</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Firmware update cancelled.
The controller was not changed.</source>
        <translation>固件升级已取消。
控制器未作任何更改。</translation>
    </message>
    <message>
        <source>Waiting for the controller...</source>
        <translation>正在等待控制器……</translation>
    </message>
    <message>
        <source>当前已是最新版本，无需升级!</source>
        <translation>当前已是最新版本，无需升级!</translation>
    </message>
    <message>
        <source>固件名称:</source>
        <translation>固件名称:</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>版本号:</translation>
    </message>
    <message>
        <source>固件升级成功！</source>
        <translation>固件升级成功！</translation>
    </message>
    <message>
        <source>固件升级失败！</source>
        <translation>固件升级失败！</translation>
    </message>
    <message>
        <source>固件下载失败！</source>
        <translation>固件下载失败！</translation>
    </message>
    <message>
        <source>检查固件更新失败！</source>
        <translation>检查固件更新失败！</translation>
    </message>
    <message>
        <source>检测到新的固件版本，请确认是否升级</source>
        <translation>检测到新的固件版本，请确认是否升级</translation>
    </message>
    <message>
        <source>当前已是最新版本，无需升级</source>
        <translation>当前已是最新版本，无需升级</translation>
    </message>
    <message>
        <source>固件升级</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Firmware update %1 %</source>
        <translation>固件升级 %1 %</translation>
    </message>
</context>
<context>
    <name>SystemCheckBox</name>
    <message>
        <source>Looking at the MIDI system, the update port and the firmware server...</source>
        <translation>正在检查 MIDI 系统、升级端口和固件服务器……</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>System check</source>
        <translation>系统检查</translation>
    </message>
</context>
<context>
    <name>Trans</name>
    <message>
        <source>TargetLanguage</source>
        <translation>简体中文</translation>
    </message>
</context>
<context>
    <name>WalkingBelt</name>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>MC</source>
        <translation>MC</translation>
    </message>
    <message>
        <source>%1 CC number</source>
        <translation>%1 CC 号</translation>
    </message>
    <message>
        <source>%1 mode</source>
        <translation>%1 模式</translation>
    </message>
    <message>
        <source>%1 channel</source>
        <translation>%1 通道</translation>
    </message>
    <message>
        <source>%1 kind</source>
        <translation>%1 消息类型</translation>
    </message>
</context>
<context>
    <name>SettingsSafeguard</name>
    <message>
        <source>Settings backup</source>
        <translation>设置备份</translation>
    </message>
    <message>
        <source>the controller did not answer in time</source>
        <translation>控制器未及时应答</translation>
    </message>
    <message>
        <source>The controller's settings could not be saved before the firmware update: %1.

Update the firmware without a backup of the settings?</source>
        <translation>固件升级前未能保存控制器的设置：%1。

是否在没有设置备份的情况下升级固件？</translation>
    </message>
    <message>
        <source>After the firmware update the controller's settings differ from those saved before it (%1).

Write the saved settings back to the controller?</source>
        <translation>固件升级后，控制器的设置与升级前保存的设置（%1）不同。

是否将保存的设置写回控制器？</translation>
    </message>
</context>
<context>
    <name>SettingsBackup</name>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>Flash %1 again</source>
        <translation>重新写入 %1</translation>
    </message>
    <message>
        <source>Choose a firmware file...</source>
        <translation>选择固件文件……</translation>
    </message>
    <message>
        <source>Look for firmware online</source>
        <translation>在线查找固件</translation>
    </message>
    <message>
        <source>Controller in update mode</source>
        <translation>控制器处于升级模式</translation>
    </message>
    <message>
        <source>The controller is in update mode without its MIDI ports: a firmware update did not finish. Flash a firmware to bring it back.</source>
        <translation>控制器处于升级模式，且没有 MIDI 端口：上次固件升级未完成。请写入固件以恢复控制器。</translation>
    </message>
    <message>
        <source>Firmware file</source>
        <translation>固件文件</translation>
    </message>
    <message>
        <source>Firmware (*.bin);;All files (*)</source>
        <translation>固件 (*.bin);;所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>TransferEstimate</name>
    <message>
        <source>%1 of %2 KB</source>
        <translation>%1 / %2 KB</translation>
    </message>
    <message>
        <source>%1, %2 KB/s, %3 left</source>
        <translation>%1，%2 KB/s，剩余 %3</translation>
    </message>
</context>
<context>
    <name>EditHistory</name>
    <message>
        <source>take a snapshot</source>
        <translation>载入快照</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>撤销%1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>重做%1</translation>
    </message>
    <message>
        <source>fill bank %1</source>
        <translation>填充储存 %1</translation>
    </message>
    <message>
        <source>open preset</source>
        <translation>打开预设</translation>
    </message>
    <message>
        <source>get from hardware</source>
        <translation>从硬件获取</translation>
    </message>
    <message>
        <source>restore the default</source>
        <translation>恢复默认值</translation>
    </message>
    <message>
        <source>restore the settings backup</source>
        <translation>恢复设置备份</translation>
    </message>
    <message>
        <source>type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>colour</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>CC number</source>
        <translation>CC 号</translation>
    </message>
    <message>
        <source>minimum</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>maximum</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>MSB minimum</source>
        <translation>MSB 最小值</translation>
    </message>
    <message>
        <source>MSB maximum</source>
        <translation>MSB 最大值</translation>
    </message>
    <message>
        <source>number</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>velocity curve</source>
        <translation>力度曲线</translation>
    </message>
    <message>
        <source>pressure level</source>
        <translation>压力阈值</translation>
    </message>
    <message>
        <source>note</source>
        <translation>音符</translation>
    </message>
    <message>
        <source>program</source>
        <translation>程序号</translation>
    </message>
    <message>
        <source>several settings</source>
        <translation>多项设置</translation>
    </message>
</context>
<context>
    <name>EditSession</name>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Korvel Mavu Editor</source>
        <translation>Korvel Mavu 编辑器</translation>
    </message>
</context>
<context>
    <name>PresetText</name>
    <message>
        <source>Line %1: the text ends too early.</source>
        <translation>第 %1 行：文本提前结束。</translation>
    </message>
    <message>
        <source>Line %1: &quot;%2&quot; is not expected here.</source>
        <translation>第 %1 行：此处不应出现“%2”。</translation>
    </message>
    <message>
        <source>Line %1: the text nests too deep.</source>
        <translation>第 %1 行：文本嵌套过深。</translation>
    </message>
    <message>
        <source>Line %1, %2: a group of settings in braces is expected.</source>
        <translation>第 %1 行，%2：此处应为花括号中的一组设置。</translation>
    </message>
    <message>
        <source>Line %1, %2: this is not a setting of a preset.</source>
        <translation>第 %1 行，%2：这不是预设中的设置。</translation>
    </message>
    <message>
        <source>Line %1, %2: this setting is given twice.</source>
        <translation>第 %1 行，%2：此设置出现了两次。</translation>
    </message>
    <message>
        <source>Line %1, %2: this setting is missing.</source>
        <translation>第 %1 行，%2：缺少此设置。</translation>
    </message>
    <message>
        <source>Line %1, %2: &quot;%3&quot; is expected.</source>
        <translation>第 %1 行，%2：此处应为“%3”。</translation>
    </message>
    <message>
        <source>Line %1, %2: this editor reads presets of version %3 only.</source>
        <translation>第 %1 行，%2：本编辑器只能读取版本 %3 的预设。</translation>
    </message>
    <message>
        <source>Line %1, %2: seven bytes in hexadecimal such as &quot;01 00 00 00 20 6F 00&quot; are expected.</source>
        <translation>第 %1 行，%2：此处应为七个十六进制字节，例如“01 00 00 00 20 6F 00”。</translation>
    </message>
    <message>
        <source>Line %1, %2: a list in brackets is expected.</source>
        <translation>第 %1 行，%2：此处应为方括号中的列表。</translation>
    </message>
    <message>
        <source>Line %1, %2: %3 entries are given; %4 are expected.</source>
        <translation>第 %1 行，%2：给出了 %3 项，应为 %4 项。</translation>
    </message>
    <message>
        <source>Line %1, %2: a whole number is expected.</source>
        <translation>第 %1 行，%2：此处应为整数。</translation>
    </message>
    <message>
        <source>Line %1, %2: %3 is out of range; %4 to %5 are allowed.</source>
        <translation>第 %1 行，%2：%3 超出范围，允许 %4 到 %5。</translation>
    </message>
    <message>
        <source>Line %1, %2: a colour such as &quot;#ff8000&quot; is expected.</source>
        <translation>第 %1 行，%2：此处应为颜色，例如“#ff8000”。</translation>
    </message>
</context>
<context>
    <name>ControllerHistory</name>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <source>There is no snapshot %1.</source>
        <translation>没有快照 %1。</translation>
    </message>
</context>
<context>
    <name>HistoryList</name>
    <message>
        <source>Read on arrival</source>
        <translation>连接时读取</translation>
    </message>
    <message>
        <source>Get From Hardware</source>
        <translation>从硬件获取</translation>
    </message>
    <message>
        <source>Send To Hardware</source>
        <translation>发送到硬件</translation>
    </message>
    <message>
        <source>Backup before a firmware update</source>
        <translation>固件更新前的备份</translation>
    </message>
    <message>
        <source>Backup written back</source>
        <translation>写回的备份</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>History of the controller</source>
        <translation>控制器的历史记录</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>事件</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>差异</translation>
    </message>
    <message>
        <source>Nothing has been read from the controller or written to it yet.</source>
        <translation>尚未从控制器读取或向其写入任何设置。</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>比较</translation>
    </message>
    <message>
        <source>Take into the editor</source>
        <translation>载入编辑器</translation>
    </message>
    <message>
        <source>Save as preset…</source>
        <translation>另存为预设…</translation>
    </message>
</context>
<context>
    <name>PresetLibrary</name>
    <message>
        <source>Add a Folder to the Library</source>
        <translation>向预设库添加文件夹</translation>
    </message>
</context>
<context>
    <name>LibraryDialog</name>
    <message>
        <source>Preset library</source>
        <translation>预设库</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>按名称筛选</translation>
    </message>
    <message>
        <source>No presets here. Save one into %1, or add a folder.</source>
        <translation>这里没有预设。请将预设保存到 %1，或添加文件夹。</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>移到回收站</translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation>添加文件夹…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Web Page</source>
        <translation>网页</translation>
    </message>
    <message>
        <source>No web browser could be started. The page is at:
%1</source>
        <translation>无法启动网页浏览器。页面地址：
%1</translation>
    </message>
</context>
<context>
    <name>FirmwareFile</name>
    <message>
        <source>The firmware file %1 does not exist.</source>
        <translation>固件文件 %1 不存在。</translation>
    </message>
    <message>
        <source>%1 is a folder, not a firmware file.</source>
        <translation>%1 是文件夹，不是固件文件。</translation>
    </message>
    <message>
        <source>%1 is a device, pipe or socket, not a firmware file.</source>
        <translation>%1 是设备、管道或套接字，不是固件文件。</translation>
    </message>
    <message>
        <source>The firmware file %1 is empty.</source>
        <translation>固件文件 %1 是空的。</translation>
    </message>
    <message>
        <source>The firmware file %1 has %2 bytes; the controller takes at most %3.</source>
        <translation>固件文件 %1 有 %2 字节；控制器最多接受 %3 字节。</translation>
    </message>
    <message>
        <source>The firmware file %1 cannot be read.</source>
        <translation>无法读取固件文件 %1。</translation>
    </message>
    <message>
        <source>The name %1 is too long to be sent; rename the file.</source>
        <translation>文件名 %1 太长，无法发送；请重命名该文件。</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdateFlow</name>
    <message>
        <source>Firmware update</source>
        <translation>固件升级</translation>
    </message>
</context>
<context>
    <name>UpdateShutdown</name>
    <message>
        <source>Firmware update</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>A firmware update is running. Quitting now could leave the controller in its loader, without a working firmware.

The editor can quit as soon as the controller is safe: when the transfer has ended, or at once if the firmware has not started going across.</source>
        <translation>固件升级正在进行。现在退出可能使控制器停留在引导程序中，没有可用的固件。

编辑器可以在控制器安全后立即退出：传输结束时，或在固件尚未开始传输时立即退出。</translation>
    </message>
    <message>
        <source>Quit After the Update</source>
        <translation>升级结束后退出</translation>
    </message>
</context>
<context>
    <name>CusInput</name>
    <message>
        <source>%1 refused: enter 0 to %2</source>
        <translation>%1 不被接受：请输入 0 到 %2</translation>
    </message>
    <message>
        <source>0 to %1</source>
        <translation>0 到 %1</translation>
    </message>
</context>
<context>
    <name>WalkingBeltPage</name>
    <message>
        <source>Previous button</source>
        <translation>上一个按钮</translation>
    </message>
    <message>
        <source>Stop button</source>
        <translation>停止按钮</translation>
    </message>
    <message>
        <source>Next button</source>
        <translation>下一个按钮</translation>
    </message>
    <message>
        <source>Record button</source>
        <translation>录音按钮</translation>
    </message>
    <message>
        <source>Start button</source>
        <translation>播放按钮</translation>
    </message>
    <message>
        <source>Repeat button</source>
        <translation>循环按钮</translation>
    </message>
    <message>
        <source>Transport buttons</source>
        <translation>走带按钮</translation>
    </message>
</context>
<context>
    <name>DialogFrame</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>ColourNames</name>
    <message>
        <source>black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>white</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>灰色</translation>
    </message>
    <message>
        <source>red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>橙色</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <source>green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>青色</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>purple</source>
        <translation>紫色</translation>
    </message>
    <message>
        <source>magenta</source>
        <translation>品红色</translation>
    </message>
</context>
<context>
    <name>KeysDialog</name>
    <message>
        <source>Tab, Shift+Tab</source>
        <translation>Tab、Shift+Tab</translation>
    </message>
    <message>
        <source>Next or previous control, in reading order</source>
        <translation>按阅读顺序到下一个或上一个控件</translation>
    </message>
    <message>
        <source>Up, Down</source>
        <translation>上、下</translation>
    </message>
    <message>
        <source>Value or choice one step up or down</source>
        <translation>数值或选项加一步或减一步</translation>
    </message>
    <message>
        <source>Page Up, Page Down</source>
        <translation>Page Up、Page Down</translation>
    </message>
    <message>
        <source>Ten steps</source>
        <translation>十步</translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation>Home、End</translation>
    </message>
    <message>
        <source>Lowest or highest value</source>
        <translation>最小值或最大值</translation>
    </message>
    <message>
        <source>Left, Right</source>
        <translation>左、右</translation>
    </message>
    <message>
        <source>Neighbouring tab</source>
        <translation>相邻的选项卡</translation>
    </message>
    <message>
        <source>Digits, Enter</source>
        <translation>数字、Enter</translation>
    </message>
    <message>
        <source>Type a value and confirm it</source>
        <translation>输入数值并确认</translation>
    </message>
    <message>
        <source>Space, Enter</source>
        <translation>空格、Enter</translation>
    </message>
    <message>
        <source>Press a button, open a list</source>
        <translation>按下按钮，打开列表</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Take back typing, close a dialog</source>
        <translation>撤回输入，关闭对话框</translation>
    </message>
    <message>
        <source>Bank A, B or C</source>
        <translation>储存 A、B 或 C</translation>
    </message>
    <message>
        <source>Zoom in, out, actual size</source>
        <translation>放大、缩小、实际大小</translation>
    </message>
    <message>
        <source>Undo, redo</source>
        <translation>撤销、重做</translation>
    </message>
    <message>
        <source>Send to, get from the controller</source>
        <translation>发送到控制器、从控制器读取</translation>
    </message>
    <message>
        <source>Keyboard and Screen Readers</source>
        <translation>键盘与读屏软件</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version Information</source>
        <translation>版本信息</translation>
    </message>
    <message>
        <source>www.taviron.example</source>
        <translation>www.taviron.example</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-size:9pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:14pt;&quot;&gt;TavironINV&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:16pt; font-weight:600;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;TavironINV Version:   0.8.18&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;       Parameter Version:  0.100&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Copyright © Taviron. All rights reserved.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-size:9pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:14pt;&quot;&gt;TavironINV&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:16pt; font-weight:600;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;TavironINV 版本：   0.8.18&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;       参数版本：  0.100&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;版权所有 © Taviron，保留所有权利。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>AdvOptionDialog</name>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Y-Axis Offset</source>
        <translation>Y轴偏移</translation>
    </message>
    <message>
        <source>Ch%1</source>
        <translation>通道%1</translation>
    </message>
    <message>
        <source>X-Axis</source>
        <translation>X轴</translation>
    </message>
    <message>
        <source>Seconds per page</source>
        <translation>每页秒数</translation>
    </message>
    <message>
        <source>Record Time</source>
        <translation>记录时间</translation>
    </message>
    <message>
        <source>Time(0~3600 seconds)</source>
        <translation>时间(0~3600秒)</translation>
    </message>
</context>
<context>
    <name>AdvancePlot</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>XLS Files(*.xlsx);;TXT Files(*.txt)</source>
        <translation>XLS 文件(*.xlsx);;TXT 文件(*.txt)</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1:
%2。</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be saved</source>
        <translation>只能保存以 .%1 或 .%2 结尾的文件名</translation>
    </message>
    <message>
        <source>System Time</source>
        <translation>系统时间</translation>
    </message>
</context>
<context>
    <name>AlarmCode</name>
    <message>
        <source>Save Message</source>
        <translation>保存信息</translation>
    </message>
    <message>
        <source>History Message</source>
        <translation>历史信息</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
    <message>
        <source>         Frequency: </source>
        <translation>         频率: </translation>
    </message>
    <message>
        <source>         Current: </source>
        <translation>         电流: </translation>
    </message>
    <message>
        <source>         Output Voltage: </source>
        <translation>         输出电压: </translation>
    </message>
    <message>
        <source>         The accumulation rate of temperature: </source>
        <translation>         温升累积率: </translation>
    </message>
    <message>
        <source>         P-N Voltage: </source>
        <translation>         P-N电压: </translation>
    </message>
    <message>
        <source>         Continuing Operation Time: </source>
        <translation>         连续运行时间: </translation>
    </message>
    <message>
        <source>         Status Word: </source>
        <translation>         状态字: </translation>
    </message>
    <message>
        <source>min</source>
        <translation>分钟</translation>
    </message>
</context>
<context>
    <name>CComSetup</name>
    <message>
        <source>CR</source>
        <translation>CR</translation>
    </message>
    <message>
        <source>CR+LF</source>
        <translation>CR+LF</translation>
    </message>
    <message>
        <source>Connection test...</source>
        <translation>连接测试...</translation>
    </message>
    <message>
        <source>Taviron protocol</source>
        <translation>Taviron协议</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Connection successful!</source>
        <translation>连接成功！</translation>
    </message>
    <message>
        <source>INV Type</source>
        <translation>变频器型号</translation>
    </message>
    <message>
        <source>The INV type is &lt;font size=&apos;+1&apos;&gt;&lt;b&gt;unknown&lt;/b&gt;&lt;/font&gt;. </source>
        <translation>变频器型号&lt;font size=&apos;+1&apos;&gt;&lt;b&gt;未知&lt;/b&gt;&lt;/font&gt;。</translation>
    </message>
    <message>
        <source>Please click OK to select manually.</source>
        <translation>请点击“确定”手动选择。</translation>
    </message>
    <message>
        <source>Connection successful !
</source>
        <translation>连接成功！
</translation>
    </message>
    <message>
        <source>The INV type is: </source>
        <translation>变频器型号：</translation>
    </message>
    <message>
        <source> Connection failed!</source>
        <translation> 连接失败！</translation>
    </message>
    <message>
        <source>Select station: NO.</source>
        <translation>选择站： NO.</translation>
    </message>
    <message>
        <source>Please check the station and COM port!</source>
        <translation>请检查站号和COM口！</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>The delay &quot;%1&quot; was not taken: it must be a whole number of milliseconds from 0 to 1000. The delay stays %2 ms.</source>
        <translation>延时“%1”未被采用：延时必须是 0 到 1000 之间的整数毫秒。延时保持为 %2 毫秒。</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>Navigation</source>
        <translation>导航</translation>
    </message>
    <message>
        <source>key tone</source>
        <translation>按键音</translation>
    </message>
    <message>
        <source>Pr. restoration</source>
        <translation>参数恢复</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can&apos;t open serial port</source>
        <translation>无法打开串口</translation>
    </message>
    <message>
        <source>
 The Specified serial port does not exist or occupied.</source>
        <translation>
 指定的串口不存在或已被占用。</translation>
    </message>
    <message>
        <source>Operation mode</source>
        <translation>操作模式</translation>
    </message>
    <message>
        <source>Inverter Type</source>
        <translation>变频器型号</translation>
    </message>
    <message>
        <source>Communication Error!</source>
        <translation>通讯错误！</translation>
    </message>
    <message>
        <source>Parity Error!</source>
        <translation>奇偶校验错误！</translation>
    </message>
    <message>
        <source>Illegal function code!</source>
        <translation>非法功能码！</translation>
    </message>
    <message>
        <source>Sum Check error!</source>
        <translation>和校验错误！</translation>
    </message>
    <message>
        <source>Illegal data address!</source>
        <translation>非法数据地址！</translation>
    </message>
    <message>
        <source>Communication protocol error!</source>
        <translation>通讯协议错误！</translation>
    </message>
    <message>
        <source>Illegal data value!</source>
        <translation>非法数据值！</translation>
    </message>
    <message>
        <source>Frame error!</source>
        <translation>帧错误！</translation>
    </message>
    <message>
        <source>Overflow error!</source>
        <translation>溢出错误！</translation>
    </message>
    <message>
        <source>Abnormal patterns!</source>
        <translation>模式异常！</translation>
    </message>
    <message>
        <source>Command code error!</source>
        <translation>命令码错误！</translation>
    </message>
    <message>
        <source>Material range error!</source>
        <translation>数据范围错误！</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>请稍候</translation>
    </message>
    <message>
        <source>Off-Line</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>趋势</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>On-Line</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>ZR Files(*.tv)</source>
        <translation>ZR 文件(*.tv)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>ZR Files(*.zr)</source>
        <translation>ZR 文件(*.zr)</translation>
    </message>
    <message>
        <source>Complete the update!</source>
        <translation>更新完成！</translation>
    </message>
    <message>
        <source>Update false!</source>
        <translation>更新失败！</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>The desktop has no program that opens it.</source>
        <translation>桌面没有可以打开它的程序。</translation>
    </message>
    <message>
        <source>The desktop launcher xdg-open is missing (package xdg-utils).</source>
        <translation>缺少桌面启动程序 xdg-open（软件包 xdg-utils）。</translation>
    </message>
    <message>
        <source>No program that shows compiled help is installed (package xchm).</source>
        <translation>未安装显示编译帮助文件的程序（软件包 xchm）。</translation>
    </message>
    <message>
        <source>Cannot open the help file %1:
%2</source>
        <translation>无法打开帮助文件 %1：
%2</translation>
    </message>
    <message>
        <source>no zip archive</source>
        <translation>不是 zip 压缩文件</translation>
    </message>
    <message>
        <source>it is not an update package (%1)</source>
        <translation>它不是更新包（%1）</translation>
    </message>
    <message>
        <source>it holds a symbolic link</source>
        <translation>它含有符号链接</translation>
    </message>
    <message>
        <source>it holds no files</source>
        <translation>它不含任何文件</translation>
    </message>
    <message>
        <source>its list of items is damaged or holds more than %1 items</source>
        <translation>其条目列表已损坏或多于 %1 项</translation>
    </message>
    <message>
        <source>an item is larger than %1 MiB</source>
        <translation>有条目大于 %1 MiB</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB in all</source>
        <translation>其总大小超过 %1 MiB</translation>
    </message>
    <message>
        <source>it cannot be unpacked (%1)</source>
        <translation>无法解压（%1）</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>%1 could not be moved into place; the data files are as they were</source>
        <translation>无法将 %1 移入；数据文件保持原样</translation>
    </message>
    <message>
        <source>an item could not be moved into place, and the old data files are kept in %1</source>
        <translation>有条目无法移入，原数据文件保存在 %1</translation>
    </message>
    <message>
        <source>the name does not end in .tv</source>
        <translation>文件名不以 .tv 结尾</translation>
    </message>
    <message>
        <source>it is not a document (%1)</source>
        <translation>它不是文档（%1）</translation>
    </message>
    <message>
        <source>its settings are larger than %1 MiB</source>
        <translation>其设置大于 %1 MiB</translation>
    </message>
    <message>
        <source>it holds no settings</source>
        <translation>它不含设置</translation>
    </message>
    <message>
        <source>its settings cannot be read (%1)</source>
        <translation>无法读取其设置（%1）</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>the name does not end in .zr</source>
        <translation>文件名不以 .zr 结尾</translation>
    </message>
    <message>
        <source>%1:
%2.</source>
        <translation>%1：
%2。</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>it is damaged (an item cannot be unpacked); no data file was changed</source>
        <translation>它已损坏（有条目无法解压）；数据文件均未更改</translation>
    </message>
    <message>
        <source>STOP was not answered: the drive may still run.
Exit anyway?</source>
        <translation>停止未得到应答：变频器可能仍在运行。
仍要退出吗？</translation>
    </message>
</context>
<context>
    <name>CNavigation</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>System setting</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>Select station: </source>
        <translation>选择站： </translation>
    </message>
    <message>
        <source>NO.</source>
        <translation>NO.</translation>
    </message>
    <message>
        <source>Setting guide</source>
        <translation>设置向导</translation>
    </message>
    <message>
        <source>Please execute connection test first!</source>
        <translation>请先执行连接测试！</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>请将变频器操作模式切换为CU！</translation>
    </message>
    <message>
        <source>The station number must be from 0 to 254!</source>
        <translation>站号必须在0到254之间！</translation>
    </message>
    <message>
        <source>The station number has been used!</source>
        <translation>该站号已被使用！</translation>
    </message>
    <message>
        <source>Please select the branch first !</source>
        <translation>请先选择站点！</translation>
    </message>
    <message>
        <source>Drive restarting: please wait</source>
        <translation>变频器正在重新启动：请稍候</translation>
    </message>
    <message>
        <source>STOP not answered: the drive may still run</source>
        <translation>停止未得到应答：变频器可能仍在运行</translation>
    </message>
    <message>
        <source>Nothing was sent: SET takes the frequency in the unit P.%1 selects, which could not be read.</source>
        <translation>未发送任何数据：SET按P.%1选择的单位发送频率，而该参数无法读取。</translation>
    </message>
    <message>
        <source>STOP not sent: the station has passed no connection test</source>
        <translation>停止未发送：该站号尚未通过连接测试</translation>
    </message>
</context>
<context>
    <name>CParameter</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Nothing can be saved.</source>
        <translation>没有可保存的内容。</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>XLS Files(*.xlsx);;TXT Files(*.txt)</source>
        <translation>XLS 文件(*.xlsx);;TXT 文件(*.txt)</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be saved</source>
        <translation>只能保存扩展名为 .%1 或 .%2 的文件</translation>
    </message>
    <message>
        <source>It is not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>Comment 2</source>
        <translation>注释 2</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>已修改</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>The INV type doesn&apos;t match .</source>
        <translation>变频器型号不匹配。</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Unable to write parameter value.
</source>
        <translation>无法写入参数值。
</translation>
    </message>
    <message>
        <source>Please stop INV first!</source>
        <translation>请先停止变频器！</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>请将变频器操作模式切换为CU！</translation>
    </message>
    <message>
        <source>Please confirm the parameter value of 00-03(P.77).</source>
        <translation>请确认00-03(P.77)的参数值。</translation>
    </message>
    <message>
        <source>Please confirm the parameter value of 00-05(P.295).</source>
        <translation>请确认00-05(P.295)的参数值。</translation>
    </message>
    <message>
        <source>The parameter file is inconsistent with the software version of the control board.
</source>
        <translation>参数文件与控制板软件版本不一致。
</translation>
    </message>
    <message>
        <source>Continue writing?</source>
        <translation>是否继续写入？</translation>
    </message>
    <message>
        <source>Writing parameters...</source>
        <translation>正在写入参数...</translation>
    </message>
    <message>
        <source>write failure!</source>
        <translation>写入失败！</translation>
    </message>
    <message>
        <source>Communication Error!</source>
        <translation>通讯错误！</translation>
    </message>
    <message>
        <source>Reading parameters...</source>
        <translation>正在读取参数...</translation>
    </message>
    <message>
        <source>Click &quot;Confirm&quot; to confirm the operation.
</source>
        <translation>点击“确认”执行该操作。
</translation>
    </message>
    <message>
        <source>Click &quot;Cancel&quot; to cancel the operation.
</source>
        <translation>点击“取消”取消该操作。
</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>The operation will clear all alarm record information.
</source>
        <translation>该操作将清除所有报警记录信息。
</translation>
    </message>
    <message>
        <source>The operation will reset the INV.
</source>
        <translation>该操作将复位变频器。
</translation>
    </message>
    <message>
        <source>The operation will clear all parameters to initial value.
</source>
        <translation>该操作将把所有参数恢复为初始值。
</translation>
    </message>
    <message>
        <source>The operation will clear part parameters to initial value.
</source>
        <translation>该操作将把部分参数恢复为初始值。
</translation>
    </message>
    <message>
        <source>These values were not loaded:
%1</source>
        <translation>以下数值未被载入：
%1</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB, more than any parameter list</source>
        <translation>文件大于 %1 MiB，超过任何参数列表</translation>
    </message>
    <message>
        <source>Line %1: longer than %2 bytes</source>
        <translation>第 %1 行：超过 %2 字节</translation>
    </message>
    <message>
        <source>the line is cut short</source>
        <translation>该行不完整</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be opened</source>
        <translation>只能打开扩展名为 .%1 或 .%2 的文件</translation>
    </message>
    <message>
        <source>There is no setting value to write. Open a parameter list or enter setting values first.</source>
        <translation>没有可写入的设定值。请先打开参数文件或输入设定值。</translation>
    </message>
    <message>
        <source>The unit of %1 is set by P.%2, which could not be read: nothing was written.</source>
        <translation>%1的单位由P.%2设定，而该参数无法读取：未写入任何数据。</translation>
    </message>
    <message>
        <source>unknown: P.%1 not read</source>
        <translation>未知：未读取P.%1</translation>
    </message>
    <message>
        <source>The link was lost: writing stopped at P.%1; it and the rows after it were not written.</source>
        <translation>通讯中断：写入在P.%1处停止；该参数及其后的参数均未写入。</translation>
    </message>
    <message>
        <source>The unit of P.%1 is set by P.%2, which could not be read: no value is shown.</source>
        <translation>P.%1的单位由P.%2设定，而该参数无法读取：不显示数值。</translation>
    </message>
</context>
<context>
    <name>CSearch</name>
    <message>
        <source>Search</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Did not find the accordant characters</source>
        <translation>未找到匹配的字符</translation>
    </message>
</context>
<context>
    <name>CSelPar</name>
    <message>
        <source> Group</source>
        <translation> 组</translation>
    </message>
</context>
<context>
    <name>CSetType</name>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>ComSetDialog</name>
    <message>
        <source>Communication setup</source>
        <translation>通讯设置</translation>
    </message>
    <message>
        <source>Automatic communication setup</source>
        <translation>自动通讯设置</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>站号：</translation>
    </message>
    <message>
        <source>Serial Port:</source>
        <translation>串口：</translation>
    </message>
    <message>
        <source>Connection Test</source>
        <translation>连接测试</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Compare</name>
    <message>
        <source>Dialog</source>
        <translation>参数比较</translation>
    </message>
    <message>
        <source>Group mode</source>
        <translation>分组模式</translation>
    </message>
    <message>
        <source>Trad. P mode</source>
        <translation>传统P模式</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Default value</source>
        <translation>初始值</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>当前值</translation>
    </message>
    <message>
        <source>Setting value</source>
        <translation>设定值</translation>
    </message>
</context>
<context>
    <name>CompareResult</name>
    <message>
        <source>Default VS Current</source>
        <translation>初始值 VS 当前值</translation>
    </message>
    <message>
        <source>Default VS Setting</source>
        <translation>初始值 VS 设定值</translation>
    </message>
    <message>
        <source>Current VS Setting</source>
        <translation>当前值 VS 设定值</translation>
    </message>
</context>
<context>
    <name>DialOptionDialog</name>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Max Value</source>
        <translation>最大值</translation>
    </message>
</context>
<context>
    <name>HideParameter</name>
    <message>
        <source>Read History Alarm</source>
        <translation>读取历史报警</translation>
    </message>
    <message>
        <source>Read Run Time</source>
        <translation>读取运行时间</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>全部保存</translation>
    </message>
    <message>
        <source>Read Hide Pr.</source>
        <translation>读取隐藏参数</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Monitor Ram</source>
        <translation>监视RAM</translation>
    </message>
    <message>
        <source>History Alarm Code:</source>
        <translation>历史报警代码：</translation>
    </message>
    <message>
        <source>Accumulative motor operation time:</source>
        <translation>电机累计运行时间：</translation>
    </message>
    <message>
        <source>Hide Parameter List:</source>
        <translation>隐藏参数列表：</translation>
    </message>
    <message>
        <source>NO.</source>
        <translation>NO.</translation>
    </message>
    <message>
        <source>Default value</source>
        <translation>初始值</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>当前值</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Reading parameters...</source>
        <translation>正在读取参数...</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>请将变频器操作模式切换为CU！</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>Alarm Information...</source>
        <translation>报警信息...</translation>
    </message>
    <message>
        <source>Alarm </source>
        <translation>报警 </translation>
    </message>
    <message>
        <source> min </source>
        <translation> 分钟 </translation>
    </message>
    <message>
        <source> day </source>
        <translation> 天 </translation>
    </message>
    <message>
        <source>Save Message</source>
        <translation>保存信息</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>IOState</name>
    <message>
        <source>I/O State</source>
        <translation>I/O状态</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1:
%2。</translation>
    </message>
</context>
<context>
    <name>InverterState</name>
    <message>
        <source>System State</source>
        <translation>系统状态</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>运行中</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>正转</translation>
    </message>
    <message>
        <source>Reversal</source>
        <translation>反转</translation>
    </message>
    <message>
        <source>Freq Arrival</source>
        <translation>频率到达</translation>
    </message>
    <message>
        <source>Overload</source>
        <translation>过载</translation>
    </message>
    <message>
        <source>Pr. restor</source>
        <translation>参数恢复</translation>
    </message>
    <message>
        <source>Freq Detection</source>
        <translation>频率检测</translation>
    </message>
    <message>
        <source>Alarm occurrence</source>
        <translation>报警发生</translation>
    </message>
    <message>
        <source>key tone</source>
        <translation>按键音</translation>
    </message>
</context>
<context>
    <name>MainAdvPlot</name>
    <message>
        <source>Ch%1</source>
        <translation>通道%1</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>趋势</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>全部清除</translation>
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
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>保存图表</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>变频器:</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本:</translation>
    </message>
    <message>
        <source>KW:</source>
        <translation>功率:</translation>
    </message>
    <message>
        <source>Voltage:</source>
        <translation>电压:</translation>
    </message>
    <message>
        <source>Current:</source>
        <translation>电流:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Y-Axis Range</source>
        <translation>Y轴范围</translation>
    </message>
    <message>
        <source>Channel Select</source>
        <translation>通道选择</translation>
    </message>
    <message>
        <source>Set Pen Width</source>
        <translation>设置线宽</translation>
    </message>
    <message>
        <source>Channel Value</source>
        <translation>通道值</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1:
%2。</translation>
    </message>
    <message>
        <source>No picture format is known by the ending of the name</source>
        <translation>文件名的扩展名不对应任何已知的图片格式</translation>
    </message>
</context>
<context>
    <name>MainDialPlot</name>
    <message>
        <source>Monitor</source>
        <translation>监视</translation>
    </message>
    <message>
        <source>Alarm Code</source>
        <translation>报警代码</translation>
    </message>
    <message>
        <source>System Diagnosis</source>
        <translation>系统诊断</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Inverter Type:</source>
        <translation>变频器型号:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本:</translation>
    </message>
    <message>
        <source>Output Current:</source>
        <translation>输出电流:</translation>
    </message>
    <message>
        <source>Input Voltage:</source>
        <translation>输入电压:</translation>
    </message>
    <message>
        <source>kw:</source>
        <translation>功率:</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source> Clear</source>
        <translation> 清除</translation>
    </message>
    <message>
        <source>Sample Value</source>
        <translation>采样值</translation>
    </message>
    <message>
        <source>RAM</source>
        <translation>RAM</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1:
%2。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;System</source>
        <translation>系统(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Parameter list</source>
        <translation>参数列表(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Communication setup</source>
        <translation>通讯设置(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>&amp;Monitor</source>
        <translation>监视(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Trend</source>
        <translation>趋势(&amp;T)</translation>
    </message>
    <message>
        <source>All &amp;Parameters list</source>
        <translation>全部参数列表(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Communication Setup Wizard</source>
        <translation>通讯设置向导(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Version Information</source>
        <translation>版本信息(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>更新(&amp;U)</translation>
    </message>
    <message>
        <source>Chinese(simplified)</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Chinese(traditional)</source>
        <translation>繁体中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>另存为(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Quick Setup</source>
        <translation>快速设置(&amp;Q)</translation>
    </message>
</context>
<context>
    <name>MonitorThread</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1</source>
        <translation>无法读取文件 %1</translation>
    </message>
</context>
<context>
    <name>NavForm</name>
    <message>
        <source>Navigation</source>
        <translation>导航</translation>
    </message>
    <message>
        <source>CU</source>
        <translation>CU</translation>
    </message>
    <message>
        <source>EXT</source>
        <translation>EXT</translation>
    </message>
    <message>
        <source>JOG</source>
        <translation>JOG</translation>
    </message>
    <message>
        <source>REV</source>
        <translation>反转</translation>
    </message>
    <message>
        <source>FWD</source>
        <translation>正转</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>SET</source>
        <translation>设定</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Select station: ---</source>
        <translation>选择站： ---</translation>
    </message>
    <message>
        <source>System setting</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Setting guide</source>
        <translation>设置向导</translation>
    </message>
</context>
<context>
    <name>OptionDialog</name>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>X-Axis</source>
        <translation>X轴</translation>
    </message>
    <message>
        <source>Seconds per page</source>
        <translation>每页秒数</translation>
    </message>
    <message>
        <source>Y-Axis</source>
        <translation>Y轴</translation>
    </message>
    <message>
        <source>Max Value</source>
        <translation>最大值</translation>
    </message>
</context>
<context>
    <name>PInf</name>
    <message>
        <source>Describe</source>
        <translation>说明</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>ParInformation</name>
    <message>
        <source>P.</source>
        <translation>P.</translation>
    </message>
    <message>
        <source>No detail describe!</source>
        <translation>无详细说明！</translation>
    </message>
</context>
<context>
    <name>ParameterForm</name>
    <message>
        <source>Parameter list</source>
        <translation>参数列表</translation>
    </message>
    <message>
        <source>Batch Read</source>
        <translation>批量读取</translation>
    </message>
    <message>
        <source>Batch Write</source>
        <translation>批量写入</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>P.996</source>
        <translation>P.996</translation>
    </message>
    <message>
        <source>P.997</source>
        <translation>P.997</translation>
    </message>
    <message>
        <source>P.998</source>
        <translation>P.998</translation>
    </message>
    <message>
        <source>P.999</source>
        <translation>P.999</translation>
    </message>
    <message>
        <source>open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Clear the current value</source>
        <translation>清除当前值</translation>
    </message>
    <message>
        <source>Clear the setting value</source>
        <translation>清除设定值</translation>
    </message>
    <message>
        <source>Show List Parameter</source>
        <translation>显示列表参数</translation>
    </message>
    <message>
        <source>Show Selected Parameter</source>
        <translation>显示选定参数</translation>
    </message>
    <message>
        <source>Show All Parameter</source>
        <translation>显示全部参数</translation>
    </message>
    <message>
        <source>Default VS Current</source>
        <translation>初始值 VS 当前值</translation>
    </message>
    <message>
        <source>Default VS Setting</source>
        <translation>初始值 VS 设定值</translation>
    </message>
    <message>
        <source>Current VS Setting</source>
        <translation>当前值 VS 设定值</translation>
    </message>
    <message>
        <source>Group mode</source>
        <translation>分组模式</translation>
    </message>
    <message>
        <source>Trad. P mode</source>
        <translation>传统P模式</translation>
    </message>
    <message>
        <source>MODBUS</source>
        <translation>MODBUS</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>范围</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Default value</source>
        <translation>初始值</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>当前值</translation>
    </message>
    <message>
        <source>Setting value</source>
        <translation>设定值</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>注释</translation>
    </message>
</context>
<context>
    <name>PassWordDlg</name>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Password Error !</source>
        <translation>密码错误！</translation>
    </message>
</context>
<context>
    <name>Plot</name>
    <message>
        <source>y -- &gt; Value</source>
        <translation>y -- &gt; 数值</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>QuickSetup</name>
    <message>
        <source>Quick Setup</source>
        <translation>快速设置</translation>
    </message>
    <message>
        <source>V/F control</source>
        <translation>V/F控制</translation>
    </message>
    <message>
        <source>Facility vector control</source>
        <translation>简易矢量控制</translation>
    </message>
    <message>
        <source>Speed sensorless vector closed-loop control</source>
        <translation>无速度传感器矢量闭环控制</translation>
    </message>
    <message>
        <source>General flux vector control</source>
        <translation>通用磁通矢量控制</translation>
    </message>
    <message>
        <source>V/F closed-loop control</source>
        <translation>V/F闭环控制</translation>
    </message>
    <message>
        <source>Closed-loop vector control</source>
        <translation>闭环矢量控制</translation>
    </message>
    <message>
        <source>Speed control</source>
        <translation>速度控制</translation>
    </message>
    <message>
        <source>Torque control</source>
        <translation>转矩控制</translation>
    </message>
    <message>
        <source>Position control</source>
        <translation>位置控制</translation>
    </message>
    <message>
        <source>User Parameters</source>
        <translation>用户参数</translation>
    </message>
    <message>
        <source>Control Methods</source>
        <translation>控制方式</translation>
    </message>
    <message>
        <source>Next Step</source>
        <translation>下一步</translation>
    </message>
    <message>
        <source>Step 1</source>
        <translation>第1步</translation>
    </message>
    <message>
        <source>Basic Parameters</source>
        <translation>基本参数</translation>
    </message>
    <message>
        <source>Maximum Output Frequency</source>
        <translation>最大输出频率</translation>
    </message>
    <message>
        <source>Maximum Voltage Frequency</source>
        <translation>最大电压频率</translation>
    </message>
    <message>
        <source>Maximum Output Voltage</source>
        <translation>最大输出电压</translation>
    </message>
    <message>
        <source>Acceleration Time</source>
        <translation>加速时间</translation>
    </message>
    <message>
        <source>Deceleration Time</source>
        <translation>减速时间</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Back Step</source>
        <translation>上一步</translation>
    </message>
    <message>
        <source>HZ</source>
        <translation>HZ</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Step 2</source>
        <translation>第2步</translation>
    </message>
    <message>
        <source>Operation Method Parameters</source>
        <translation>运行方式参数</translation>
    </message>
    <message>
        <source>The reference source of target frequency .</source>
        <translation>目标频率的给定来源：</translation>
    </message>
    <message>
        <source>Operation panel</source>
        <translation>操作面板</translation>
    </message>
    <message>
        <source>External terminals</source>
        <translation>外部端子</translation>
    </message>
    <message>
        <source>Communication</source>
        <translation>通讯</translation>
    </message>
    <message>
        <source>External voltage/current signal or combination of multi-speed stage levels</source>
        <translation>外部电压/电流信号或多段速组合</translation>
    </message>
    <message>
        <source>The set value of P.15</source>
        <translation>P.15的设定值</translation>
    </message>
    <message>
        <source>External voltage/current signal,combination of multi-speed stage levels or External JOG</source>
        <translation>外部电压/电流信号、多段速组合或外部点动</translation>
    </message>
    <message>
        <source>Frequency of each section in Programmed operation mode</source>
        <translation>程序运行模式下各段的频率</translation>
    </message>
    <message>
        <source>Communication,combination of multi-speed stage levels or External JOG</source>
        <translation>通讯、多段速组合或外部点动</translation>
    </message>
    <message>
        <source>Operation panel,combination of multi-speed stage levels or External JOG</source>
        <translation>操作面板、多段速组合或外部点动</translation>
    </message>
    <message>
        <source>The signal source of motor starting .</source>
        <translation>电机启动的信号来源：</translation>
    </message>
    <message>
        <source>External terminal STF</source>
        <translation>外部端子STF</translation>
    </message>
    <message>
        <source>Brake Selection</source>
        <translation>停车方式选择</translation>
    </message>
    <message>
        <source>Linear Braking</source>
        <translation>减速停车</translation>
    </message>
    <message>
        <source>Idling Braking</source>
        <translation>自由停车</translation>
    </message>
    <message>
        <source>Step 3</source>
        <translation>第3步</translation>
    </message>
    <message>
        <source>STF(the inverter runs forward)</source>
        <translation>STF(变频器正转)</translation>
    </message>
    <message>
        <source>STR(the inverter runs reverse)</source>
        <translation>STR(变频器反转)</translation>
    </message>
    <message>
        <source>RL(Multi-speedlow speed)</source>
        <translation>RL(多段速低速)</translation>
    </message>
    <message>
        <source>RM(Multi-speed medium speed)</source>
        <translation>RM(多段速中速)</translation>
    </message>
    <message>
        <source>RH(multi-speedhigh speed)</source>
        <translation>RH(多段速高速)</translation>
    </message>
    <message>
        <source>Analog terminal 4-5 priority</source>
        <translation>模拟量端子4-5优先</translation>
    </message>
    <message>
        <source>The external thermal relay operation</source>
        <translation>外部热继电器动作</translation>
    </message>
    <message>
        <source>MRS(the instantaneous stopping of the inverter output)</source>
        <translation>MRS(变频器输出瞬时停止)</translation>
    </message>
    <message>
        <source>RT(the inverter second function)</source>
        <translation>RT(变频器第二功能)</translation>
    </message>
    <message>
        <source>EXT(external JOG)</source>
        <translation>EXT(外部点动)</translation>
    </message>
    <message>
        <source>STF+EXJ</source>
        <translation>STF+EXJ</translation>
    </message>
    <message>
        <source>STR+EXJ</source>
        <translation>STR+EXJ</translation>
    </message>
    <message>
        <source>STF+RT</source>
        <translation>STF+RT</translation>
    </message>
    <message>
        <source>STR+RT</source>
        <translation>STR+RT</translation>
    </message>
    <message>
        <source>STF+RL</source>
        <translation>STF+RL</translation>
    </message>
    <message>
        <source>STR+RL</source>
        <translation>STR+RL</translation>
    </message>
    <message>
        <source>STF+RM</source>
        <translation>STF+RM</translation>
    </message>
    <message>
        <source>STR+RM</source>
        <translation>STR+RM</translation>
    </message>
    <message>
        <source>STF+RH</source>
        <translation>STF+RH</translation>
    </message>
    <message>
        <source>STR+RH</source>
        <translation>STR+RH</translation>
    </message>
    <message>
        <source>STF+RL+RM</source>
        <translation>STF+RL+RM</translation>
    </message>
    <message>
        <source>STR+RL+RM</source>
        <translation>STR+RL+RM</translation>
    </message>
    <message>
        <source>STF+RT+RL</source>
        <translation>STF+RT+RL</translation>
    </message>
    <message>
        <source>STR+RT+RL</source>
        <translation>STR+RT+RL</translation>
    </message>
    <message>
        <source>STF+RT+RM</source>
        <translation>STF+RT+RM</translation>
    </message>
    <message>
        <source>STR+RT+RM</source>
        <translation>STR+RT+RM</translation>
    </message>
    <message>
        <source>STF+RT+RL+RM</source>
        <translation>STF+RT+RL+RM</translation>
    </message>
    <message>
        <source>STR+RT+RL+RM</source>
        <translation>STR+RT+RL+RM</translation>
    </message>
    <message>
        <source>RUN(the inverter runs forward)</source>
        <translation>RUN(变频器正转)</translation>
    </message>
    <message>
        <source>STF/STR(it is used with RUN, when STF/STR is on, the inverter runs reverse;when STF/STR is off, the inverter runs forward)</source>
        <translation>STF/STR(与RUN配合使用，STF/STR接通时反转；断开时正转)</translation>
    </message>
    <message>
        <source>RES(external reset function)</source>
        <translation>RES(外部复位功能)</translation>
    </message>
    <message>
        <source>STOP(it can be used as a three-wire mode with the RUN signal or the STF-STR terminal)</source>
        <translation>STOP(可与RUN信号或STF-STR端子组成三线式运行)</translation>
    </message>
    <message>
        <source>REX(multi-speed set (16 levels))</source>
        <translation>REX(多段速设定(16段))</translation>
    </message>
    <message>
        <source>PO(in external mode, programmed operation mode is chosen)</source>
        <translation>PO(外部模式下选择程序运行模式)</translation>
    </message>
    <message>
        <source>RES_E (external reset become valid only when the alarm goes off.)</source>
        <translation>RES_E (仅在报警发生时外部复位有效。)</translation>
    </message>
    <message>
        <source>MPO (in external mode the manually operation cycle mode is chosen.)</source>
        <translation>MPO (外部模式下选择手动循环运行模式。)</translation>
    </message>
    <message>
        <source>TRI(triangle wave function is chosen)</source>
        <translation>TRI(选择三角波功能)</translation>
    </message>
    <message>
        <source>GP_BP(Automatic switchover frequency between inverter and commercial power-supply operation.)</source>
        <translation>GP_BP(变频器与工频电源运行的自动切换。)</translation>
    </message>
    <message>
        <source>CS(Manual switch to commercial power supply)</source>
        <translation>CS(手动切换到工频电源)</translation>
    </message>
    <message>
        <source>STF/STR +STOP(The motor has a reverse rotation when the RUN signal is on. When the RUN signal is off, stop the motor and then run the motor for forward rotation.)</source>
        <translation>STF/STR +STOP(RUN信号接通时电机反转。RUN信号断开时电机停止后正转。)</translation>
    </message>
    <message>
        <source>P_MRS (the inverter output instantaneously stops, The MRS is pulse signal input)</source>
        <translation>P_MRS (变频器输出瞬时停止，MRS为脉冲信号输入)</translation>
    </message>
    <message>
        <source>PWM setting frequency (Note 1)</source>
        <translation>PWM设定频率(注1)</translation>
    </message>
    <message>
        <source>RUN_EN (the digital input terminal running enable)</source>
        <translation>RUN_EN (数字输入端子运行使能)</translation>
    </message>
    <message>
        <source>PID_OFF (the digital input terminal stopping PID enable)</source>
        <translation>PID_OFF (数字输入端子停止PID)</translation>
    </message>
    <message>
        <source>The second mode</source>
        <translation>第二模式</translation>
    </message>
    <message>
        <source>Initial curling radius selection terminal 1</source>
        <translation>初始卷径选择端子1</translation>
    </message>
    <message>
        <source>Initial curling radius selection terminal 2</source>
        <translation>初始卷径选择端子2</translation>
    </message>
    <message>
        <source>Thickness selection terminal 1</source>
        <translation>厚度选择端子1</translation>
    </message>
    <message>
        <source>Thickness selection terminal 2</source>
        <translation>厚度选择端子2</translation>
    </message>
    <message>
        <source>Wind-up roll-down switching</source>
        <translation>收卷放卷切换</translation>
    </message>
    <message>
        <source>Predrive reference</source>
        <translation>预驱动给定</translation>
    </message>
    <message>
        <source>Torque memory</source>
        <translation>转矩记忆</translation>
    </message>
    <message>
        <source>Torque memory enable</source>
        <translation>转矩记忆使能</translation>
    </message>
    <message>
        <source>Turn counting signal(note1)</source>
        <translation>计圈信号(注1)</translation>
    </message>
    <message>
        <source>Switch speed/Torque control</source>
        <translation>速度/转矩控制切换</translation>
    </message>
    <message>
        <source>Curling radius restore</source>
        <translation>卷径复位</translation>
    </message>
    <message>
        <source>High-speed pulse input function(note1)</source>
        <translation>高速脉冲输入功能(注1)</translation>
    </message>
    <message>
        <source>Analog terminal 2-5 priority</source>
        <translation>模拟量端子2-5优先</translation>
    </message>
    <message>
        <source>Analog terminal 3-5 priority</source>
        <translation>模拟量端子3-5优先</translation>
    </message>
    <message>
        <source>Starting/Stopping of PLC</source>
        <translation>PLC启动/停止</translation>
    </message>
    <message>
        <source>Origin retry enable function SHOM</source>
        <translation>原点回归使能SHOM</translation>
    </message>
    <message>
        <source>Origin retry setting origin ORGP</source>
        <translation>原点回归设定原点ORGP</translation>
    </message>
    <message>
        <source>Switch position/Speed control</source>
        <translation>位置/速度控制切换</translation>
    </message>
    <message>
        <source>External switch zero-servo</source>
        <translation>外部切换零伺服</translation>
    </message>
    <message>
        <source>External accelerate/decelerate pause</source>
        <translation>外部加减速暂停</translation>
    </message>
    <message>
        <source>External forced stop</source>
        <translation>外部强制停止</translation>
    </message>
    <message>
        <source>Output &amp; Input Function Parameters</source>
        <translation>输出与输入功能参数</translation>
    </message>
    <message>
        <source>Terminal (SO-SE)</source>
        <translation>端子(SO-SE)</translation>
    </message>
    <message>
        <source>Relay (A-B-C)</source>
        <translation>继电器(A-B-C)</translation>
    </message>
    <message>
        <source>Relay (A1-B1-C1)</source>
        <translation>继电器(A1-B1-C1)</translation>
    </message>
    <message>
        <source>Relay (A2-B2-C2)</source>
        <translation>继电器(A2-B2-C2)</translation>
    </message>
    <message>
        <source>The output of A%1 function selection (%2)</source>
        <translation>A%1输出功能选择(%2)</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>Terminal (SU-SE)</source>
        <translation>端子(SU-SE)</translation>
    </message>
    <message>
        <source>Terminal (RUN-SE)</source>
        <translation>端子(RUN-SE)</translation>
    </message>
    <message>
        <source>Terminal (FU/10X-SE)</source>
        <translation>端子(FU/10X-SE)</translation>
    </message>
    <message>
        <source>Terminal (SO1-SE)</source>
        <translation>端子(SO1-SE)</translation>
    </message>
    <message>
        <source>Terminal (SO2-SE)</source>
        <translation>端子(SO2-SE)</translation>
    </message>
    <message>
        <source>Multi-function input terminals %1</source>
        <translation>多功能输入端子%1</translation>
    </message>
    <message>
        <source>Multi-function input terminals M%1(%2)</source>
        <translation>多功能输入端子M%1(%2)</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation>第4步</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 Hz.</source>
        <translation>“%1”最大为%2 Hz。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 V, or 9999 for no set value.</source>
        <translation>“%1”最大为%2 V，或9999表示不设定。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 s.</source>
        <translation>“%1”最大为%2 s。</translation>
    </message>
    <message>
        <source>Parameter P.%1 cannot take the value %2.</source>
        <translation>参数P.%1不能设定为%2。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何参数。</translation>
    </message>
    <message>
        <source>RUN (Inverter running)</source>
        <translation>RUN (变频器运行中)</translation>
    </message>
    <message>
        <source>SU (Up to frequency)</source>
        <translation>SU (频率到达)</translation>
    </message>
    <message>
        <source>FU (Output frequency detection)</source>
        <translation>FU (输出频率检测)</translation>
    </message>
    <message>
        <source>OL (Overload detection)</source>
        <translation>OL (过负载检测)</translation>
    </message>
    <message>
        <source>OMD (Zero current detection)</source>
        <translation>OMD (零电流检测)</translation>
    </message>
    <message>
        <source>ALARM (Alarm detection)</source>
        <translation>ALARM (报警检测)</translation>
    </message>
    <message>
        <source>PO1 (Section detection)</source>
        <translation>PO1 (段检测)</translation>
    </message>
    <message>
        <source>PO2 (Periodical detection)</source>
        <translation>PO2 (周期检测)</translation>
    </message>
    <message>
        <source>PO3 (Pause detection)</source>
        <translation>PO3 (暂停检测)</translation>
    </message>
    <message>
        <source>BP (Inverter output)</source>
        <translation>BP (变频器输出)</translation>
    </message>
    <message>
        <source>GP (Commercial power-supply output)</source>
        <translation>GP (工频电源输出)</translation>
    </message>
    <message>
        <source>OMD1 (zero current detection 1)</source>
        <translation>OMD1 (零电流检测1)</translation>
    </message>
    <message>
        <source>AUX (Assistant output)</source>
        <translation>AUX (辅助输出)</translation>
    </message>
    <message>
        <source>FAN (Fan abnormal)</source>
        <translation>FAN (风扇异常)</translation>
    </message>
    <message>
        <source>RY (Converter operation to complete)</source>
        <translation>RY (变频器运行准备完成)</translation>
    </message>
    <message>
        <source>BP (Maintenance reminder function detection)</source>
        <translation>BP (维护提醒功能检测)</translation>
    </message>
    <message>
        <source>OL2 (Over torque alarm output)</source>
        <translation>OL2 (过转矩报警输出)</translation>
    </message>
    <message>
        <source>Capacitor life anomaly</source>
        <translation>电容寿命异常</translation>
    </message>
    <message>
        <source>The drive did not take %1. The set-up stopped there: the values before it are written, none after it.</source>
        <translation>变频器未接受 %1。设置在此停止：之前的数值已写入，之后的均未写入。</translation>
    </message>
    <message>
        <source>P.%1 = %2 (&quot;%3&quot;)</source>
        <translation>P.%1 = %2（“%3”）</translation>
    </message>
</context>
<context>
    <name>Ram</name>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>保存数据</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>保存图表</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Adress</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Ch1</source>
        <translation>通道1</translation>
    </message>
    <message>
        <source>Ch2</source>
        <translation>通道2</translation>
    </message>
    <message>
        <source>Set Pen Color</source>
        <translation>设置画笔颜色</translation>
    </message>
    <message>
        <source>Set Pen Width</source>
        <translation>设置线宽</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The RAM monitor needs Modbus RTU or Modbus ASCII.</source>
        <translation>RAM监视需要Modbus RTU或Modbus ASCII协议。</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>无法写入文件 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>ReadWrite</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>无法读取文件 %1：
%2。</translation>
    </message>
    <message>
        <source>P.%1, which sets the unit of the frequencies, could not be read: they show &quot;?&quot; until it can.</source>
        <translation>无法读取设定频率单位的 P.%1：读取恢复之前，频率显示“?”。</translation>
    </message>
</context>
<context>
    <name>SaveFileName</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
要替换它吗？</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Character String:</source>
        <translation>字符串：</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>全字匹配</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>区分大小写</translation>
    </message>
    <message>
        <source>Upward search</source>
        <translation>向上查找</translation>
    </message>
    <message>
        <source>Downward search</source>
        <translation>向下查找</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SelectParameter</name>
    <message>
        <source>Select Parameter</source>
        <translation>选择参数</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SetTypeDialog</name>
    <message>
        <source>Inverter Type setting</source>
        <translation>变频器型号设置</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-size:9pt;&quot;&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; color:#000000;&quot;&gt;Please choose station number ,type and  power of the inverter.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-size:9pt;&quot;&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; color:#000000;&quot;&gt;请选择变频器的站号、型号和功率。&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>站号：</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>型号：</translation>
    </message>
    <message>
        <source>Power:</source>
        <translation>功率：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Workbook</name>
    <message>
        <source>There is no cell at row %1, column %2</source>
        <translation>第 %1 行第 %2 列没有单元格</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a sheet</source>
        <translation>“%1”不能用作工作表名称</translation>
    </message>
    <message>
        <source>A value of type %1 cannot be put in a cell</source>
        <translation>类型为 %1 的值不能放入单元格</translation>
    </message>
    <message>
        <source>A cell holds at most 32767 characters</source>
        <translation>一个单元格最多容纳 32767 个字符</translation>
    </message>
    <message>
        <source>Invalid colour</source>
        <translation>无效的颜色</translation>
    </message>
    <message>
        <source>A column is 0 to 255 characters wide</source>
        <translation>列宽须为 0 到 255 个字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no range</source>
        <translation>“%1”不是有效的区域</translation>
    </message>
    <message>
        <source>It is not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>It is not a workbook</source>
        <translation>不是工作簿</translation>
    </message>
    <message>
        <source>The workbook has no sheet</source>
        <translation>工作簿中没有工作表</translation>
    </message>
    <message>
        <source>The workbook&apos;s shared strings are missing</source>
        <translation>工作簿缺少共享字符串</translation>
    </message>
    <message>
        <source>The workbook&apos;s shared strings are damaged</source>
        <translation>工作簿的共享字符串已损坏</translation>
    </message>
    <message>
        <source>The workbook&apos;s first sheet is missing</source>
        <translation>工作簿缺少第一个工作表</translation>
    </message>
    <message>
        <source>The first sheet is damaged</source>
        <translation>第一个工作表已损坏</translation>
    </message>
    <message>
        <source>The workbook is too large</source>
        <translation>工作簿过大</translation>
    </message>
</context>
</TS>

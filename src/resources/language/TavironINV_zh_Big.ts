<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version Information</source>
        <translation>版本資訊</translation>
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
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;       參數版本：  0.100&lt;/span&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-family:&apos;Times New Roman&apos;; font-size:10pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;版權所有 © Taviron，保留所有權利。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>AdvOptionDialog</name>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Y-Axis Offset</source>
        <translation>Y軸偏移</translation>
    </message>
    <message>
        <source>Ch%1</source>
        <translation>通道%1</translation>
    </message>
    <message>
        <source>X-Axis</source>
        <translation>X軸</translation>
    </message>
    <message>
        <source>Seconds per page</source>
        <translation>每頁秒數</translation>
    </message>
    <message>
        <source>Record Time</source>
        <translation>記錄時間</translation>
    </message>
    <message>
        <source>Time(0~3600 seconds)</source>
        <translation>時間(0~3600秒)</translation>
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
        <translation>儲存資料</translation>
    </message>
    <message>
        <source>XLS Files(*.xlsx);;TXT Files(*.txt)</source>
        <translation>XLS 檔案(*.xlsx);;TXT 檔案(*.txt)</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1:
%2。</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be saved</source>
        <translation>只能儲存以 .%1 或 .%2 結尾的檔案名稱</translation>
    </message>
    <message>
        <source>System Time</source>
        <translation>系統時間</translation>
    </message>
</context>
<context>
    <name>AlarmCode</name>
    <message>
        <source>Save Message</source>
        <translation>儲存資訊</translation>
    </message>
    <message>
        <source>History Message</source>
        <translation>歷史資訊</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>         Frequency: </source>
        <translation>         頻率: </translation>
    </message>
    <message>
        <source>         Current: </source>
        <translation>         電流: </translation>
    </message>
    <message>
        <source>         Output Voltage: </source>
        <translation>         輸出電壓: </translation>
    </message>
    <message>
        <source>         The accumulation rate of temperature: </source>
        <translation>         溫升累積率: </translation>
    </message>
    <message>
        <source>         P-N Voltage: </source>
        <translation>         P-N電壓: </translation>
    </message>
    <message>
        <source>         Continuing Operation Time: </source>
        <translation>         連續運行時間: </translation>
    </message>
    <message>
        <source>         Status Word: </source>
        <translation>         狀態字: </translation>
    </message>
    <message>
        <source>min</source>
        <translation>分鐘</translation>
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
        <translation>連線測試...</translation>
    </message>
    <message>
        <source>Taviron protocol</source>
        <translation>Taviron協定</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇同位</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶同位</translation>
    </message>
    <message>
        <source>Connection successful!</source>
        <translation>連線成功！</translation>
    </message>
    <message>
        <source>INV Type</source>
        <translation>變頻器型號</translation>
    </message>
    <message>
        <source>The INV type is &lt;font size=&apos;+1&apos;&gt;&lt;b&gt;unknown&lt;/b&gt;&lt;/font&gt;. </source>
        <translation>變頻器型號&lt;font size=&apos;+1&apos;&gt;&lt;b&gt;未知&lt;/b&gt;&lt;/font&gt;。</translation>
    </message>
    <message>
        <source>Please click OK to select manually.</source>
        <translation>請按「確定」手動選擇。</translation>
    </message>
    <message>
        <source>Connection successful !
</source>
        <translation>連線成功！
</translation>
    </message>
    <message>
        <source>The INV type is: </source>
        <translation>變頻器型號：</translation>
    </message>
    <message>
        <source> Connection failed!</source>
        <translation> 連線失敗！</translation>
    </message>
    <message>
        <source>Select station: NO.</source>
        <translation>選擇站： NO.</translation>
    </message>
    <message>
        <source>Please check the station and COM port!</source>
        <translation>請檢查站號與COM埠！</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>The delay &quot;%1&quot; was not taken: it must be a whole number of milliseconds from 0 to 1000. The delay stays %2 ms.</source>
        <translation>延時「%1」未被採用：延時必須是 0 到 1000 之間的整數毫秒。延時保持為 %2 毫秒。</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>Navigation</source>
        <translation>導覽</translation>
    </message>
    <message>
        <source>key tone</source>
        <translation>按鍵音</translation>
    </message>
    <message>
        <source>Pr. restoration</source>
        <translation>參數回復</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>Can&apos;t open serial port</source>
        <translation>無法開啟序列埠</translation>
    </message>
    <message>
        <source>
 The Specified serial port does not exist or occupied.</source>
        <translation>
 指定的序列埠不存在或已被佔用。</translation>
    </message>
    <message>
        <source>Operation mode</source>
        <translation>操作模式</translation>
    </message>
    <message>
        <source>Inverter Type</source>
        <translation>變頻器型號</translation>
    </message>
    <message>
        <source>Communication Error!</source>
        <translation>通訊錯誤！</translation>
    </message>
    <message>
        <source>Parity Error!</source>
        <translation>同位檢查錯誤！</translation>
    </message>
    <message>
        <source>Illegal function code!</source>
        <translation>非法功能碼！</translation>
    </message>
    <message>
        <source>Sum Check error!</source>
        <translation>總和檢查錯誤！</translation>
    </message>
    <message>
        <source>Illegal data address!</source>
        <translation>非法資料位址！</translation>
    </message>
    <message>
        <source>Communication protocol error!</source>
        <translation>通訊協定錯誤！</translation>
    </message>
    <message>
        <source>Illegal data value!</source>
        <translation>非法資料值！</translation>
    </message>
    <message>
        <source>Frame error!</source>
        <translation>訊框錯誤！</translation>
    </message>
    <message>
        <source>Overflow error!</source>
        <translation>溢位錯誤！</translation>
    </message>
    <message>
        <source>Abnormal patterns!</source>
        <translation>模式異常！</translation>
    </message>
    <message>
        <source>Command code error!</source>
        <translation>命令碼錯誤！</translation>
    </message>
    <message>
        <source>Material range error!</source>
        <translation>資料範圍錯誤！</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>請稍候</translation>
    </message>
    <message>
        <source>Off-Line</source>
        <translation>離線</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>參數</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>監視</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>趨勢</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>On-Line</source>
        <translation>線上</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>儲存檔案</translation>
    </message>
    <message>
        <source>ZR Files(*.tv)</source>
        <translation>ZR 檔案(*.tv)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>ZR Files(*.zr)</source>
        <translation>ZR 檔案(*.zr)</translation>
    </message>
    <message>
        <source>Complete the update!</source>
        <translation>更新完成！</translation>
    </message>
    <message>
        <source>Update false!</source>
        <translation>更新失敗！</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>The desktop has no program that opens it.</source>
        <translation>桌面沒有可以開啟它的程式。</translation>
    </message>
    <message>
        <source>The desktop launcher xdg-open is missing (package xdg-utils).</source>
        <translation>缺少桌面啟動程式 xdg-open（套件 xdg-utils）。</translation>
    </message>
    <message>
        <source>No program that shows compiled help is installed (package xchm).</source>
        <translation>未安裝顯示編譯說明檔的程式（套件 xchm）。</translation>
    </message>
    <message>
        <source>Cannot open the help file %1:
%2</source>
        <translation>無法開啟說明檔 %1：
%2</translation>
    </message>
    <message>
        <source>no zip archive</source>
        <translation>不是 zip 壓縮檔</translation>
    </message>
    <message>
        <source>it is not an update package (%1)</source>
        <translation>它不是更新包（%1）</translation>
    </message>
    <message>
        <source>it holds a symbolic link</source>
        <translation>它含有符號連結</translation>
    </message>
    <message>
        <source>it holds no files</source>
        <translation>它不含任何檔案</translation>
    </message>
    <message>
        <source>its list of items is damaged or holds more than %1 items</source>
        <translation>其項目清單已損壞或多於 %1 項</translation>
    </message>
    <message>
        <source>an item is larger than %1 MiB</source>
        <translation>有項目大於 %1 MiB</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB in all</source>
        <translation>其總大小超過 %1 MiB</translation>
    </message>
    <message>
        <source>it cannot be unpacked (%1)</source>
        <translation>無法解壓縮（%1）</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>%1 could not be moved into place; the data files are as they were</source>
        <translation>無法將 %1 移入；資料檔案保持原樣</translation>
    </message>
    <message>
        <source>an item could not be moved into place, and the old data files are kept in %1</source>
        <translation>有項目無法移入，原資料檔案保存在 %1</translation>
    </message>
    <message>
        <source>the name does not end in .tv</source>
        <translation>檔名不以 .tv 結尾</translation>
    </message>
    <message>
        <source>it is not a document (%1)</source>
        <translation>它不是文件（%1）</translation>
    </message>
    <message>
        <source>its settings are larger than %1 MiB</source>
        <translation>其設定大於 %1 MiB</translation>
    </message>
    <message>
        <source>it holds no settings</source>
        <translation>它不含設定</translation>
    </message>
    <message>
        <source>its settings cannot be read (%1)</source>
        <translation>無法讀取其設定（%1）</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>the name does not end in .zr</source>
        <translation>檔名不以 .zr 結尾</translation>
    </message>
    <message>
        <source>%1:
%2.</source>
        <translation>%1：
%2。</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是一般檔案</translation>
    </message>
    <message>
        <source>it is damaged (an item cannot be unpacked); no data file was changed</source>
        <translation>它已損壞（有項目無法解壓縮）；資料檔案均未變更</translation>
    </message>
    <message>
        <source>STOP was not answered: the drive may still run.
Exit anyway?</source>
        <translation>停止未得到回應：變頻器可能仍在運行。
仍要退出嗎？</translation>
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
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>System setting</source>
        <translation>系統設定</translation>
    </message>
    <message>
        <source>Select station: </source>
        <translation>選擇站： </translation>
    </message>
    <message>
        <source>NO.</source>
        <translation>NO.</translation>
    </message>
    <message>
        <source>Setting guide</source>
        <translation>設定精靈</translation>
    </message>
    <message>
        <source>Please execute connection test first!</source>
        <translation>請先執行連線測試！</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>請將變頻器操作模式切換為CU！</translation>
    </message>
    <message>
        <source>The station number must be from 0 to 254!</source>
        <translation>站號必須介於0到254之間！</translation>
    </message>
    <message>
        <source>The station number has been used!</source>
        <translation>該站號已被使用！</translation>
    </message>
    <message>
        <source>Please select the branch first !</source>
        <translation>請先選擇站點！</translation>
    </message>
    <message>
        <source>Drive restarting: please wait</source>
        <translation>變頻器正在重新啟動：請稍候</translation>
    </message>
    <message>
        <source>STOP not answered: the drive may still run</source>
        <translation>停止未得到回應：變頻器可能仍在運行</translation>
    </message>
    <message>
        <source>Nothing was sent: SET takes the frequency in the unit P.%1 selects, which could not be read.</source>
        <translation>未傳送任何資料：SET按P.%1選擇的單位傳送頻率，而該參數無法讀取。</translation>
    </message>
    <message>
        <source>STOP not sent: the station has passed no connection test</source>
        <translation>停止未送出：該站號尚未通過連線測試</translation>
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
        <translation>沒有可儲存的內容。</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>儲存檔案</translation>
    </message>
    <message>
        <source>XLS Files(*.xlsx);;TXT Files(*.txt)</source>
        <translation>XLS 檔案(*.xlsx);;TXT 檔案(*.txt)</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be saved</source>
        <translation>只能儲存副檔名為 .%1 或 .%2 的檔案</translation>
    </message>
    <message>
        <source>It is not a regular file</source>
        <translation>不是一般檔案</translation>
    </message>
    <message>
        <source>Comment 2</source>
        <translation>註解 2</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>已修改</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>開啟檔案</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>The INV type doesn&apos;t match .</source>
        <translation>變頻器型號不符。</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>繼續</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Unable to write parameter value.
</source>
        <translation>無法寫入參數值。
</translation>
    </message>
    <message>
        <source>Please stop INV first!</source>
        <translation>請先停止變頻器！</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>請將變頻器操作模式切換為CU！</translation>
    </message>
    <message>
        <source>Please confirm the parameter value of 00-03(P.77).</source>
        <translation>請確認00-03(P.77)的參數值。</translation>
    </message>
    <message>
        <source>Please confirm the parameter value of 00-05(P.295).</source>
        <translation>請確認00-05(P.295)的參數值。</translation>
    </message>
    <message>
        <source>The parameter file is inconsistent with the software version of the control board.
</source>
        <translation>參數檔案與控制板軟體版本不一致。
</translation>
    </message>
    <message>
        <source>Continue writing?</source>
        <translation>是否繼續寫入？</translation>
    </message>
    <message>
        <source>Writing parameters...</source>
        <translation>正在寫入參數...</translation>
    </message>
    <message>
        <source>write failure!</source>
        <translation>寫入失敗！</translation>
    </message>
    <message>
        <source>Communication Error!</source>
        <translation>通訊錯誤！</translation>
    </message>
    <message>
        <source>Reading parameters...</source>
        <translation>正在讀取參數...</translation>
    </message>
    <message>
        <source>Click &quot;Confirm&quot; to confirm the operation.
</source>
        <translation>點擊「確認」執行該操作。
</translation>
    </message>
    <message>
        <source>Click &quot;Cancel&quot; to cancel the operation.
</source>
        <translation>點擊「取消」取消該操作。
</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>The operation will clear all alarm record information.
</source>
        <translation>該操作將清除所有警報記錄資訊。
</translation>
    </message>
    <message>
        <source>The operation will reset the INV.
</source>
        <translation>該操作將重置變頻器。
</translation>
    </message>
    <message>
        <source>The operation will clear all parameters to initial value.
</source>
        <translation>該操作將把所有參數恢復為初始值。
</translation>
    </message>
    <message>
        <source>The operation will clear part parameters to initial value.
</source>
        <translation>該操作將把部分參數恢復為初始值。
</translation>
    </message>
    <message>
        <source>These values were not loaded:
%1</source>
        <translation>以下數值未被載入：
%1</translation>
    </message>
    <message>
        <source>The file is larger than %1 MiB, more than any parameter list</source>
        <translation>檔案大於 %1 MiB，超過任何參數列表</translation>
    </message>
    <message>
        <source>Line %1: longer than %2 bytes</source>
        <translation>第 %1 行：超過 %2 位元組</translation>
    </message>
    <message>
        <source>the line is cut short</source>
        <translation>該行不完整</translation>
    </message>
    <message>
        <source>Only names ending in .%1 or .%2 can be opened</source>
        <translation>只能開啟副檔名為 .%1 或 .%2 的檔案</translation>
    </message>
    <message>
        <source>There is no setting value to write. Open a parameter list or enter setting values first.</source>
        <translation>沒有可寫入的設定值。請先開啟參數檔案或輸入設定值。</translation>
    </message>
    <message>
        <source>The unit of %1 is set by P.%2, which could not be read: nothing was written.</source>
        <translation>%1的單位由P.%2設定，而該參數無法讀取：未寫入任何資料。</translation>
    </message>
    <message>
        <source>unknown: P.%1 not read</source>
        <translation>未知：未讀取P.%1</translation>
    </message>
    <message>
        <source>The link was lost: writing stopped at P.%1; it and the rows after it were not written.</source>
        <translation>通訊中斷：寫入在P.%1處停止；該參數及其後的參數均未寫入。</translation>
    </message>
    <message>
        <source>The unit of P.%1 is set by P.%2, which could not be read: no value is shown.</source>
        <translation>P.%1的單位由P.%2設定，而該參數無法讀取：不顯示數值。</translation>
    </message>
</context>
<context>
    <name>CSearch</name>
    <message>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Did not find the accordant characters</source>
        <translation>找不到相符的字元</translation>
    </message>
</context>
<context>
    <name>CSelPar</name>
    <message>
        <source> Group</source>
        <translation> 群組</translation>
    </message>
</context>
<context>
    <name>CSetType</name>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
</context>
<context>
    <name>ComSetDialog</name>
    <message>
        <source>Communication setup</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <source>Automatic communication setup</source>
        <translation>自動通訊設定</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>站號：</translation>
    </message>
    <message>
        <source>Serial Port:</source>
        <translation>序列埠：</translation>
    </message>
    <message>
        <source>Connection Test</source>
        <translation>連線測試</translation>
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
        <translation>參數比較</translation>
    </message>
    <message>
        <source>Group mode</source>
        <translation>群組模式</translation>
    </message>
    <message>
        <source>Trad. P mode</source>
        <translation>傳統P模式</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>Default value</source>
        <translation>初始值</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>目前值</translation>
    </message>
    <message>
        <source>Setting value</source>
        <translation>設定值</translation>
    </message>
</context>
<context>
    <name>CompareResult</name>
    <message>
        <source>Default VS Current</source>
        <translation>初始值 VS 目前值</translation>
    </message>
    <message>
        <source>Default VS Setting</source>
        <translation>初始值 VS 設定值</translation>
    </message>
    <message>
        <source>Current VS Setting</source>
        <translation>目前值 VS 設定值</translation>
    </message>
</context>
<context>
    <name>DialOptionDialog</name>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
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
        <translation>讀取歷史報警</translation>
    </message>
    <message>
        <source>Read Run Time</source>
        <translation>讀取運行時間</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>全部儲存</translation>
    </message>
    <message>
        <source>Read Hide Pr.</source>
        <translation>讀取隱藏參數</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Monitor Ram</source>
        <translation>監視RAM</translation>
    </message>
    <message>
        <source>History Alarm Code:</source>
        <translation>歷史報警代碼：</translation>
    </message>
    <message>
        <source>Accumulative motor operation time:</source>
        <translation>電機累計運行時間：</translation>
    </message>
    <message>
        <source>Hide Parameter List:</source>
        <translation>隱藏參數列表：</translation>
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
        <translation>目前值</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Reading parameters...</source>
        <translation>正在讀取參數...</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please change INV operation mode to CU!</source>
        <translation>請將變頻器操作模式切換為CU！</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>Alarm Information...</source>
        <translation>報警資訊...</translation>
    </message>
    <message>
        <source>Alarm </source>
        <translation>報警 </translation>
    </message>
    <message>
        <source> min </source>
        <translation> 分鐘 </translation>
    </message>
    <message>
        <source> day </source>
        <translation> 天 </translation>
    </message>
    <message>
        <source>Save Message</source>
        <translation>儲存資訊</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>IOState</name>
    <message>
        <source>I/O State</source>
        <translation>I/O狀態</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>無法讀取檔案 %1:
%2。</translation>
    </message>
</context>
<context>
    <name>InverterState</name>
    <message>
        <source>System State</source>
        <translation>系統狀態</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>運行中</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>正轉</translation>
    </message>
    <message>
        <source>Reversal</source>
        <translation>反轉</translation>
    </message>
    <message>
        <source>Freq Arrival</source>
        <translation>頻率到達</translation>
    </message>
    <message>
        <source>Overload</source>
        <translation>過載</translation>
    </message>
    <message>
        <source>Pr. restor</source>
        <translation>參數恢復</translation>
    </message>
    <message>
        <source>Freq Detection</source>
        <translation>頻率檢測</translation>
    </message>
    <message>
        <source>Alarm occurrence</source>
        <translation>報警發生</translation>
    </message>
    <message>
        <source>key tone</source>
        <translation>按鍵音</translation>
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
        <translation>趨勢</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>運行</translation>
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
        <translation>縮小</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>儲存資料</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>儲存圖表</translation>
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
        <translation>移動</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>變頻器:</translation>
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
        <translation>電壓:</translation>
    </message>
    <message>
        <source>Current:</source>
        <translation>電流:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Y-Axis Range</source>
        <translation>Y軸範圍</translation>
    </message>
    <message>
        <source>Channel Select</source>
        <translation>通道選擇</translation>
    </message>
    <message>
        <source>Set Pen Width</source>
        <translation>設定線寬</translation>
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
        <translation>無法寫入檔案 %1:
%2。</translation>
    </message>
    <message>
        <source>No picture format is known by the ending of the name</source>
        <translation>檔案名稱的副檔名不對應任何已知的圖片格式</translation>
    </message>
</context>
<context>
    <name>MainDialPlot</name>
    <message>
        <source>Monitor</source>
        <translation>監視</translation>
    </message>
    <message>
        <source>Alarm Code</source>
        <translation>報警代碼</translation>
    </message>
    <message>
        <source>System Diagnosis</source>
        <translation>系統診斷</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>運行</translation>
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
        <translation>變頻器型號:</translation>
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
        <translation>輸出電流:</translation>
    </message>
    <message>
        <source>Input Voltage:</source>
        <translation>輸入電壓:</translation>
    </message>
    <message>
        <source>kw:</source>
        <translation>功率:</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source> Clear</source>
        <translation> 清除</translation>
    </message>
    <message>
        <source>Sample Value</source>
        <translation>採樣值</translation>
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
        <translation>無法讀取檔案 %1:
%2。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;System</source>
        <translation>系統(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Parameter list</source>
        <translation>參數列表(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Communication setup</source>
        <translation>通訊設定(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message>
        <source>&amp;Monitor</source>
        <translation>監視(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Trend</source>
        <translation>趨勢(&amp;T)</translation>
    </message>
    <message>
        <source>All &amp;Parameters list</source>
        <translation>全部參數列表(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Communication Setup Wizard</source>
        <translation>通訊設定精靈(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Version Information</source>
        <translation>版本資訊(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>更新(&amp;U)</translation>
    </message>
    <message>
        <source>Chinese(simplified)</source>
        <translation>簡體中文</translation>
    </message>
    <message>
        <source>Chinese(traditional)</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>儲存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>另存新檔(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>開啟(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Quick Setup</source>
        <translation>快速設定(&amp;Q)</translation>
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
        <translation>無法讀取檔案 %1</translation>
    </message>
</context>
<context>
    <name>NavForm</name>
    <message>
        <source>Navigation</source>
        <translation>導覽</translation>
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
        <translation>反轉</translation>
    </message>
    <message>
        <source>FWD</source>
        <translation>正轉</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>頻率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>SET</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Select station: ---</source>
        <translation>選擇站： ---</translation>
    </message>
    <message>
        <source>System setting</source>
        <translation>系統設定</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Setting guide</source>
        <translation>設定精靈</translation>
    </message>
</context>
<context>
    <name>OptionDialog</name>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>X-Axis</source>
        <translation>X軸</translation>
    </message>
    <message>
        <source>Seconds per page</source>
        <translation>每頁秒數</translation>
    </message>
    <message>
        <source>Y-Axis</source>
        <translation>Y軸</translation>
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
        <translation>說明</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>編號</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>備註</translation>
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
        <translation>無詳細說明！</translation>
    </message>
</context>
<context>
    <name>ParameterForm</name>
    <message>
        <source>Parameter list</source>
        <translation>參數列表</translation>
    </message>
    <message>
        <source>Batch Read</source>
        <translation>批次讀取</translation>
    </message>
    <message>
        <source>Batch Write</source>
        <translation>批次寫入</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>讀取</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>寫入</translation>
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
        <translation>開啟</translation>
    </message>
    <message>
        <source>save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Clear the current value</source>
        <translation>清除目前值</translation>
    </message>
    <message>
        <source>Clear the setting value</source>
        <translation>清除設定值</translation>
    </message>
    <message>
        <source>Show List Parameter</source>
        <translation>顯示列表參數</translation>
    </message>
    <message>
        <source>Show Selected Parameter</source>
        <translation>顯示選定參數</translation>
    </message>
    <message>
        <source>Show All Parameter</source>
        <translation>顯示全部參數</translation>
    </message>
    <message>
        <source>Default VS Current</source>
        <translation>初始值 VS 目前值</translation>
    </message>
    <message>
        <source>Default VS Setting</source>
        <translation>初始值 VS 設定值</translation>
    </message>
    <message>
        <source>Current VS Setting</source>
        <translation>目前值 VS 設定值</translation>
    </message>
    <message>
        <source>Group mode</source>
        <translation>群組模式</translation>
    </message>
    <message>
        <source>Trad. P mode</source>
        <translation>傳統P模式</translation>
    </message>
    <message>
        <source>MODBUS</source>
        <translation>MODBUS</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>範圍</translation>
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
        <translation>單位</translation>
    </message>
    <message>
        <source>Default value</source>
        <translation>初始值</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>目前值</translation>
    </message>
    <message>
        <source>Setting value</source>
        <translation>設定值</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>註解</translation>
    </message>
</context>
<context>
    <name>PassWordDlg</name>
    <message>
        <source>Password:</source>
        <translation>密碼：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Password Error !</source>
        <translation>密碼錯誤！</translation>
    </message>
</context>
<context>
    <name>Plot</name>
    <message>
        <source>y -- &gt; Value</source>
        <translation>y -- &gt; 數值</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>儲存資料</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
%2。</translation>
    </message>
</context>
<context>
    <name>QuickSetup</name>
    <message>
        <source>Quick Setup</source>
        <translation>快速設定</translation>
    </message>
    <message>
        <source>V/F control</source>
        <translation>V/F控制</translation>
    </message>
    <message>
        <source>Facility vector control</source>
        <translation>簡易矢量控制</translation>
    </message>
    <message>
        <source>Speed sensorless vector closed-loop control</source>
        <translation>無速度傳感器矢量閉環控制</translation>
    </message>
    <message>
        <source>General flux vector control</source>
        <translation>通用磁通矢量控制</translation>
    </message>
    <message>
        <source>V/F closed-loop control</source>
        <translation>V/F閉環控制</translation>
    </message>
    <message>
        <source>Closed-loop vector control</source>
        <translation>閉環矢量控制</translation>
    </message>
    <message>
        <source>Speed control</source>
        <translation>速度控制</translation>
    </message>
    <message>
        <source>Torque control</source>
        <translation>轉矩控制</translation>
    </message>
    <message>
        <source>Position control</source>
        <translation>位置控制</translation>
    </message>
    <message>
        <source>User Parameters</source>
        <translation>用戶參數</translation>
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
        <translation>基本參數</translation>
    </message>
    <message>
        <source>Maximum Output Frequency</source>
        <translation>最大輸出頻率</translation>
    </message>
    <message>
        <source>Maximum Voltage Frequency</source>
        <translation>最大電壓頻率</translation>
    </message>
    <message>
        <source>Maximum Output Voltage</source>
        <translation>最大輸出電壓</translation>
    </message>
    <message>
        <source>Acceleration Time</source>
        <translation>加速時間</translation>
    </message>
    <message>
        <source>Deceleration Time</source>
        <translation>減速時間</translation>
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
        <translation>運行方式參數</translation>
    </message>
    <message>
        <source>The reference source of target frequency .</source>
        <translation>目標頻率的給定來源：</translation>
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
        <translation>通訊</translation>
    </message>
    <message>
        <source>External voltage/current signal or combination of multi-speed stage levels</source>
        <translation>外部電壓/電流信號或多段速組合</translation>
    </message>
    <message>
        <source>The set value of P.15</source>
        <translation>P.15的設定值</translation>
    </message>
    <message>
        <source>External voltage/current signal,combination of multi-speed stage levels or External JOG</source>
        <translation>外部電壓/電流信號、多段速組合或外部點動</translation>
    </message>
    <message>
        <source>Frequency of each section in Programmed operation mode</source>
        <translation>程序運行模式下各段的頻率</translation>
    </message>
    <message>
        <source>Communication,combination of multi-speed stage levels or External JOG</source>
        <translation>通訊、多段速組合或外部點動</translation>
    </message>
    <message>
        <source>Operation panel,combination of multi-speed stage levels or External JOG</source>
        <translation>操作面板、多段速組合或外部點動</translation>
    </message>
    <message>
        <source>The signal source of motor starting .</source>
        <translation>電機啟動的信號來源：</translation>
    </message>
    <message>
        <source>External terminal STF</source>
        <translation>外部端子STF</translation>
    </message>
    <message>
        <source>Brake Selection</source>
        <translation>停車方式選擇</translation>
    </message>
    <message>
        <source>Linear Braking</source>
        <translation>減速停車</translation>
    </message>
    <message>
        <source>Idling Braking</source>
        <translation>自由停車</translation>
    </message>
    <message>
        <source>Step 3</source>
        <translation>第3步</translation>
    </message>
    <message>
        <source>STF(the inverter runs forward)</source>
        <translation>STF(變頻器正轉)</translation>
    </message>
    <message>
        <source>STR(the inverter runs reverse)</source>
        <translation>STR(變頻器反轉)</translation>
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
        <translation>模擬量端子4-5優先</translation>
    </message>
    <message>
        <source>The external thermal relay operation</source>
        <translation>外部熱繼電器動作</translation>
    </message>
    <message>
        <source>MRS(the instantaneous stopping of the inverter output)</source>
        <translation>MRS(變頻器輸出瞬時停止)</translation>
    </message>
    <message>
        <source>RT(the inverter second function)</source>
        <translation>RT(變頻器第二功能)</translation>
    </message>
    <message>
        <source>EXT(external JOG)</source>
        <translation>EXT(外部點動)</translation>
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
        <translation>RUN(變頻器正轉)</translation>
    </message>
    <message>
        <source>STF/STR(it is used with RUN, when STF/STR is on, the inverter runs reverse;when STF/STR is off, the inverter runs forward)</source>
        <translation>STF/STR(與RUN配合使用，STF/STR接通時反轉；斷開時正轉)</translation>
    </message>
    <message>
        <source>RES(external reset function)</source>
        <translation>RES(外部復位功能)</translation>
    </message>
    <message>
        <source>STOP(it can be used as a three-wire mode with the RUN signal or the STF-STR terminal)</source>
        <translation>STOP(可與RUN信號或STF-STR端子組成三線式運行)</translation>
    </message>
    <message>
        <source>REX(multi-speed set (16 levels))</source>
        <translation>REX(多段速設定(16段))</translation>
    </message>
    <message>
        <source>PO(in external mode, programmed operation mode is chosen)</source>
        <translation>PO(外部模式下選擇程序運行模式)</translation>
    </message>
    <message>
        <source>RES_E (external reset become valid only when the alarm goes off.)</source>
        <translation>RES_E (僅在報警發生時外部復位有效。)</translation>
    </message>
    <message>
        <source>MPO (in external mode the manually operation cycle mode is chosen.)</source>
        <translation>MPO (外部模式下選擇手動循環運行模式。)</translation>
    </message>
    <message>
        <source>TRI(triangle wave function is chosen)</source>
        <translation>TRI(選擇三角波功能)</translation>
    </message>
    <message>
        <source>GP_BP(Automatic switchover frequency between inverter and commercial power-supply operation.)</source>
        <translation>GP_BP(變頻器與工頻電源運行的自動切換。)</translation>
    </message>
    <message>
        <source>CS(Manual switch to commercial power supply)</source>
        <translation>CS(手動切換到工頻電源)</translation>
    </message>
    <message>
        <source>STF/STR +STOP(The motor has a reverse rotation when the RUN signal is on. When the RUN signal is off, stop the motor and then run the motor for forward rotation.)</source>
        <translation>STF/STR +STOP(RUN信號接通時電機反轉。RUN信號斷開時電機停止後正轉。)</translation>
    </message>
    <message>
        <source>P_MRS (the inverter output instantaneously stops, The MRS is pulse signal input)</source>
        <translation>P_MRS (變頻器輸出瞬時停止，MRS為脈衝信號輸入)</translation>
    </message>
    <message>
        <source>PWM setting frequency (Note 1)</source>
        <translation>PWM設定頻率(注1)</translation>
    </message>
    <message>
        <source>RUN_EN (the digital input terminal running enable)</source>
        <translation>RUN_EN (數字輸入端子運行使能)</translation>
    </message>
    <message>
        <source>PID_OFF (the digital input terminal stopping PID enable)</source>
        <translation>PID_OFF (數字輸入端子停止PID)</translation>
    </message>
    <message>
        <source>The second mode</source>
        <translation>第二模式</translation>
    </message>
    <message>
        <source>Initial curling radius selection terminal 1</source>
        <translation>初始捲徑選擇端子1</translation>
    </message>
    <message>
        <source>Initial curling radius selection terminal 2</source>
        <translation>初始捲徑選擇端子2</translation>
    </message>
    <message>
        <source>Thickness selection terminal 1</source>
        <translation>厚度選擇端子1</translation>
    </message>
    <message>
        <source>Thickness selection terminal 2</source>
        <translation>厚度選擇端子2</translation>
    </message>
    <message>
        <source>Wind-up roll-down switching</source>
        <translation>收捲放捲切換</translation>
    </message>
    <message>
        <source>Predrive reference</source>
        <translation>預驅動給定</translation>
    </message>
    <message>
        <source>Torque memory</source>
        <translation>轉矩記憶</translation>
    </message>
    <message>
        <source>Torque memory enable</source>
        <translation>轉矩記憶使能</translation>
    </message>
    <message>
        <source>Turn counting signal(note1)</source>
        <translation>計圈信號(注1)</translation>
    </message>
    <message>
        <source>Switch speed/Torque control</source>
        <translation>速度/轉矩控制切換</translation>
    </message>
    <message>
        <source>Curling radius restore</source>
        <translation>捲徑復位</translation>
    </message>
    <message>
        <source>High-speed pulse input function(note1)</source>
        <translation>高速脈衝輸入功能(注1)</translation>
    </message>
    <message>
        <source>Analog terminal 2-5 priority</source>
        <translation>模擬量端子2-5優先</translation>
    </message>
    <message>
        <source>Analog terminal 3-5 priority</source>
        <translation>模擬量端子3-5優先</translation>
    </message>
    <message>
        <source>Starting/Stopping of PLC</source>
        <translation>PLC啟動/停止</translation>
    </message>
    <message>
        <source>Origin retry enable function SHOM</source>
        <translation>原點回歸使能SHOM</translation>
    </message>
    <message>
        <source>Origin retry setting origin ORGP</source>
        <translation>原點回歸設定原點ORGP</translation>
    </message>
    <message>
        <source>Switch position/Speed control</source>
        <translation>位置/速度控制切換</translation>
    </message>
    <message>
        <source>External switch zero-servo</source>
        <translation>外部切換零伺服</translation>
    </message>
    <message>
        <source>External accelerate/decelerate pause</source>
        <translation>外部加減速暫停</translation>
    </message>
    <message>
        <source>External forced stop</source>
        <translation>外部強制停止</translation>
    </message>
    <message>
        <source>Output &amp; Input Function Parameters</source>
        <translation>輸出與輸入功能參數</translation>
    </message>
    <message>
        <source>Terminal (SO-SE)</source>
        <translation>端子(SO-SE)</translation>
    </message>
    <message>
        <source>Relay (A-B-C)</source>
        <translation>繼電器(A-B-C)</translation>
    </message>
    <message>
        <source>Relay (A1-B1-C1)</source>
        <translation>繼電器(A1-B1-C1)</translation>
    </message>
    <message>
        <source>Relay (A2-B2-C2)</source>
        <translation>繼電器(A2-B2-C2)</translation>
    </message>
    <message>
        <source>The output of A%1 function selection (%2)</source>
        <translation>A%1輸出功能選擇(%2)</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>輸出</translation>
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
        <translation>多功能輸入端子%1</translation>
    </message>
    <message>
        <source>Multi-function input terminals M%1(%2)</source>
        <translation>多功能輸入端子M%1(%2)</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>輸入</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation>第4步</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 Hz.</source>
        <translation>“%1”最大為%2 Hz。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 V, or 9999 for no set value.</source>
        <translation>“%1”最大為%2 V，或9999表示不設定。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can be at most %2 s.</source>
        <translation>“%1”最大為%2 s。</translation>
    </message>
    <message>
        <source>Parameter P.%1 cannot take the value %2.</source>
        <translation>參數P.%1不能設定為%2。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未寫入任何參數。</translation>
    </message>
    <message>
        <source>RUN (Inverter running)</source>
        <translation>RUN (變頻器運行中)</translation>
    </message>
    <message>
        <source>SU (Up to frequency)</source>
        <translation>SU (頻率到達)</translation>
    </message>
    <message>
        <source>FU (Output frequency detection)</source>
        <translation>FU (輸出頻率檢測)</translation>
    </message>
    <message>
        <source>OL (Overload detection)</source>
        <translation>OL (過負載檢測)</translation>
    </message>
    <message>
        <source>OMD (Zero current detection)</source>
        <translation>OMD (零電流檢測)</translation>
    </message>
    <message>
        <source>ALARM (Alarm detection)</source>
        <translation>ALARM (報警檢測)</translation>
    </message>
    <message>
        <source>PO1 (Section detection)</source>
        <translation>PO1 (段檢測)</translation>
    </message>
    <message>
        <source>PO2 (Periodical detection)</source>
        <translation>PO2 (週期檢測)</translation>
    </message>
    <message>
        <source>PO3 (Pause detection)</source>
        <translation>PO3 (暫停檢測)</translation>
    </message>
    <message>
        <source>BP (Inverter output)</source>
        <translation>BP (變頻器輸出)</translation>
    </message>
    <message>
        <source>GP (Commercial power-supply output)</source>
        <translation>GP (工頻電源輸出)</translation>
    </message>
    <message>
        <source>OMD1 (zero current detection 1)</source>
        <translation>OMD1 (零電流檢測1)</translation>
    </message>
    <message>
        <source>AUX (Assistant output)</source>
        <translation>AUX (輔助輸出)</translation>
    </message>
    <message>
        <source>FAN (Fan abnormal)</source>
        <translation>FAN (風扇異常)</translation>
    </message>
    <message>
        <source>RY (Converter operation to complete)</source>
        <translation>RY (變頻器運行準備完成)</translation>
    </message>
    <message>
        <source>BP (Maintenance reminder function detection)</source>
        <translation>BP (維護提醒功能檢測)</translation>
    </message>
    <message>
        <source>OL2 (Over torque alarm output)</source>
        <translation>OL2 (過轉矩報警輸出)</translation>
    </message>
    <message>
        <source>Capacitor life anomaly</source>
        <translation>電容壽命異常</translation>
    </message>
    <message>
        <source>The drive did not take %1. The set-up stopped there: the values before it are written, none after it.</source>
        <translation>變頻器未接受 %1。設定在此停止：之前的數值已寫入，之後的均未寫入。</translation>
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
        <translation>運行</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>儲存資料</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>儲存圖表</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Adress</source>
        <translation>位址</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>長度</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>類型</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>數值</translation>
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
        <translation>設定畫筆顏色</translation>
    </message>
    <message>
        <source>Set Pen Width</source>
        <translation>設定線寬</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The RAM monitor needs Modbus RTU or Modbus ASCII.</source>
        <translation>RAM監視需要Modbus RTU或Modbus ASCII協定。</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>無法寫入檔案 %1：
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
        <translation>無法讀取檔案 %1：
%2。</translation>
    </message>
    <message>
        <source>P.%1, which sets the unit of the frequencies, could not be read: they show &quot;?&quot; until it can.</source>
        <translation>無法讀取設定頻率單位的 P.%1：讀取恢復之前，頻率顯示「?」。</translation>
    </message>
</context>
<context>
    <name>SaveFileName</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
要取代它嗎？</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Character String:</source>
        <translation>字串：</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>全字相符</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>區分大小寫</translation>
    </message>
    <message>
        <source>Upward search</source>
        <translation>向上搜尋</translation>
    </message>
    <message>
        <source>Downward search</source>
        <translation>向下搜尋</translation>
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
        <translation>選擇參數</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
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
        <translation>變頻器型號設定</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-size:9pt;&quot;&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; color:#000000;&quot;&gt;Please choose station number ,type and  power of the inverter.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot; font-size:9pt;&quot;&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;Times New Roman&apos;; color:#000000;&quot;&gt;請選擇變頻器的站號、型號與功率。&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>站號：</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>型號：</translation>
    </message>
    <message>
        <source>Power:</source>
        <translation>功率：</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
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
        <translation>第 %1 列第 %2 欄沒有儲存格</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a sheet</source>
        <translation>「%1」不能作為工作表名稱</translation>
    </message>
    <message>
        <source>A value of type %1 cannot be put in a cell</source>
        <translation>類型為 %1 的值無法放入儲存格</translation>
    </message>
    <message>
        <source>A cell holds at most 32767 characters</source>
        <translation>一個儲存格最多容納 32767 個字元</translation>
    </message>
    <message>
        <source>Invalid colour</source>
        <translation>無效的色彩</translation>
    </message>
    <message>
        <source>A column is 0 to 255 characters wide</source>
        <translation>欄寬須為 0 到 255 個字元</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no range</source>
        <translation>「%1」不是有效的範圍</translation>
    </message>
    <message>
        <source>It is not a regular file</source>
        <translation>不是一般檔案</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>記憶體不足</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>檔案不存在</translation>
    </message>
    <message>
        <source>It is not a workbook</source>
        <translation>不是活頁簿</translation>
    </message>
    <message>
        <source>The workbook has no sheet</source>
        <translation>活頁簿中沒有工作表</translation>
    </message>
    <message>
        <source>The workbook&apos;s shared strings are missing</source>
        <translation>活頁簿缺少共用字串</translation>
    </message>
    <message>
        <source>The workbook&apos;s shared strings are damaged</source>
        <translation>活頁簿的共用字串已損毀</translation>
    </message>
    <message>
        <source>The workbook&apos;s first sheet is missing</source>
        <translation>活頁簿缺少第一個工作表</translation>
    </message>
    <message>
        <source>The first sheet is damaged</source>
        <translation>第一個工作表已損毀</translation>
    </message>
    <message>
        <source>The workbook is too large</source>
        <translation>工作簿過大</translation>
    </message>
</context>
</TS>

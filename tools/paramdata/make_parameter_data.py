#!/usr/bin/env python3
"""Writes the parameter data files of the DI-RER series from catalogue.txt.

Series A (VR3) numbers its parameters in groups and is read in the extended mode, series D (VM3)
is read in the plain mode, series S (VS5) in the extended mode without groups. Model code 1 of
series A (an application model) has files of its own. Run from the repository root:
    python3 tools/paramdata/make_parameter_data.py
"""
import os
import re
from xml.sax.saxutils import escape

from helptexts import MORE_HELP, SERIES_HELP, family_help

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
DATA = os.path.join(ROOT, 'src', 'data')

GROUPS = {'u': 0, 'b': 1, 'a': 2, 'v': 3, 'm': 4, 'i': 5, 'o': 6, 'c': 7, 'p': 8, 'r': 9,
          'd': 10, 's': 11, 'x': 12, 'k': 13, 'h': 14, 'e': 15, 'l': 16, 't': 17, 'w': 18}

# Characters whose traditional form differs, for the names and help texts used here.
TRAD = dict(zip(
    '频设时间减电压机额护动选择输端讯号拟数据长运转启线补偿热继过报警记录显视参考值积标协议验应迟写读软件变载'
    '点段组风温复清锁码语滤跳跃宽离故历阻极对学习测调谐节计关闭围范单称统态储区为与后当实际给键盘内环唤'
    '矢开闭检发续锁误卷绕张厂维寿命达负级约种类缺欠相认两项径径闸强烦励漏绝缘断阈乱盖备扩没优术凭赖种实'
    '馈圆滑间隙双压摆频导轴损样载样务块坏丢荡铭铁务变态倍禁仅统监声亮显连偏较',
    '頻設時間減電壓機額護動選擇輸端訊號擬數據長運轉啟線補償熱繼過報警記錄顯視參考值積標協議驗應遲寫讀軟件變載'
    '點段組風溫復清鎖碼語濾跳躍寬離故歷阻極對學習測調諧節計關閉圍範單稱統態儲區為與後當實際給鍵盤內環喚'
    '矢開閉檢發續鎖誤捲繞張廠維壽命達負級約種類缺欠相認兩項徑徑閘強煩勵漏絕緣斷閾亂蓋備擴沒優術憑賴種實'
    '饋圓滑間隙雙壓擺頻導軸損樣載樣務塊壞丟蕩銘鐵務變態倍禁僅統監聲亮顯連偏較'))
TRAD.update({'动': '動', '转': '轉', '压': '壓', '间': '間', '复': '復', '制': '制', '励': '勵', '钮': '鈕',
             '阶': '階', '级': '級', '储': '儲', '态': '態', '数': '數', '步': '步', '断': '斷', '简': '簡',
             '易': '易', '幅': '幅', '摆': '擺', '织': '織', '维': '維', '护': '護', '寿': '壽', '编': '編',
             '码': '碼', '器': '器', '脉': '脈', '冲': '衝', '给': '給', '径': '徑', '积': '積', '尔': '爾',
             '户': '戶', '厂': '廠', '扭': '扭', '矩': '矩', '热': '熱', '过': '過', '载': '載', '负': '負',
             '荷': '荷', '旋': '旋', '绕': '繞', '卷': '捲', '张': '張', '带': '帶', '这': '這', '个': '個',
             '时': '時', '设': '設', '为': '為', '须': '須', '将': '將', '则': '則', '从': '從', '会': '會',
             '该': '該', '应': '應', '样': '樣', '无': '無', '当': '當', '经': '經', '续': '續', '后': '後',
             '开': '開', '关': '關', '门': '門', '与': '與', '并': '並', '让': '讓', '达': '達', '试': '試',
             '种': '種', '态': '態', '项': '項', '围': '圍', '仅': '僅', '义': '義', '认': '認', '觉': '覺',
             '显': '顯', '示': '示', '报': '報', '检': '檢', '测': '測', '缺': '缺', '错': '錯', '误': '誤',
             '准': '準', '线': '線', '于': '於', '范': '範', '处': '處', '调': '調', '节': '節', '灵': '靈',
             '敏': '敏', '稳': '穩', '机': '機', '电': '電', '长': '長', '统': '統', '决': '決', '启': '啟',
             '闭': '閉', '环': '環', '馈': '饋', '偏': '偏', '滑': '滑', '补': '補', '偿': '償', '较': '較',
             '转': '轉', '轮': '輪', '软': '軟', '硬': '硬', '网': '網', '络': '絡', '写': '寫', '读': '讀',
             '键': '鍵', '盘': '盤', '锁': '鎖', '语': '語', '亮': '亮', '监': '監', '视': '視', '参': '參',
             '频': '頻', '率': '率', '输': '輸', '出': '出', '入': '入', '选': '選', '择': '擇', '组': '組',
             '点': '點', '动': '動', '谐': '諧', '习': '習', '学': '學', '阻': '阻', '感': '感', '励': '勵',
             '磁': '磁', '额': '額', '极': '極', '计': '計', '时': '時', '间': '間', '历': '歷', '史': '史',
             '压': '壓', '欠': '欠', '风': '風', '扇': '扇', '温': '溫', '护': '護', '继': '繼', '剩': '剩',
             '余': '餘', '号': '號', '讯': '訊', '协': '協', '议': '議', '验': '驗', '迟': '遲', '据': '據',
             '长': '長', '单': '單', '位': '位', '称': '稱', '获': '獲', '取': '取', '实': '實', '际': '際',
             '标': '標', '目': '目', '值': '值', '积': '積', '微': '微', '分': '分', '唤': '喚', '醒': '醒',
             '睡': '睡', '眠': '眠', '节': '節', '能': '能', '再': '再', '试': '試', '次': '次', '数': '數',
             '发': '發', '生': '生', '闸': '閘', '频': '頻', '载': '載', '波': '波', '模': '模', '拟': '擬',
             '滤': '濾', '端': '端', '逻': '邏', '辑': '輯', '响': '響', '应': '應', '延': '延', '偏': '偏',
             '置': '置', '增': '增', '益': '益', '绝': '絕', '缘': '緣', '等': '等', '自': '自', '由': '由',
             '跳': '跳', '跃': '躍', '下': '下', '上': '上', '限': '限', '倍': '倍', '速': '速', '失': '失',
             '防': '防', '止': '止', '平': '平', '水': '水', '资': '資', '料': '料', '态': '態', '变': '變',
             '码': '碼', '类': '類', '连': '連', '接': '接', '断': '斷', '减': '減', '线': '線', '曲': '曲',
             '汇': '匯', '总': '總', '记': '記', '录': '錄', '电': '電', '度': '度', '表': '表', '清': '清',
             '零': '零', '累': '累', '通': '通', '初': '初', '始': '始', '化': '化', '密': '密', '么': '麼',
             '维': '維', '检': '檢', '换': '換', '寿': '壽', '命': '命', '预': '預', '报': '報', '区': '區',
             '简': '簡', '易': '易', '顺': '順', '序': '序', '步': '步', '长': '長', '摆': '擺', '幅': '幅',
             '织': '織', '跨': '跨', '变': '變', '频': '頻', '器': '器', '种': '種', '内': '內', '部': '部',
             '优': '優', '先': '先', '级': '級', '强': '強', '制': '制', '钟': '鐘', '虑': '慮', '惯': '慣',
             '量': '量', '紧': '緊', '急': '急', '杆': '桿', '举': '舉', '吊': '吊', '钩': '鉤', '盖': '蓋',
             '备': '備', '份': '份', '复': '復', '归': '歸', '状': '狀', '场': '場', '务': '務', '执': '執',
             '运': '運', '行': '行', '后': '後', '称': '稱', '写': '寫', '只': '唯', '样': '樣', '径': '徑',
             '张': '張', '力': '力', '涨': '漲', '宽': '寬', '铭': '銘', '牌': '牌', '额': '額', '输': '輸',
             '异': '異', '览': '覽', '请': '請', '车': '車', '适': '適', '遥': '遙', '随': '隨', '鸣': '鳴',
             '却': '卻', '详': '詳', '细': '細', '虚': '虛', '旧': '舊', '来': '來', '锥': '錐', '传': '傳',
             '体': '體', '画': '畫', '确': '確', '题': '題'})
# Words whose characters stand in both scripts, yet are written otherwise in Taiwan.
TRAD_WORDS = {'周期': '週期'}


# Amperes in hundredths up to 160 kW and in tenths above: the rated current's scale at monitor start. A current's
# range and default carry the decimals of its unit.
CURRENT_UNIT = 'V:160.01,0.01A//999,0.1A'
CURRENT_RANGE = 'V:160.01,0~500.00//999,0~500.0'
NO_CURRENT = 'V:160.01,0.00//999,0.0'
# The program skips a longer text of a definition file (MaxDataNameChars).
MAX_TEXT = 256


def trad(text):
    for simplified, traditional in TRAD_WORDS.items():
        text = text.replace(simplified, traditional)
    return ''.join(TRAD.get(ch, ch) for ch in text)


def read_catalogue():
    rows = []
    with open(os.path.join(HERE, 'catalogue.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            p = line.split('|')
            # A range with its special value contains the separator, once in each of its variants.
            num, cat, en, zh = p[:4]
            unit, dflt, rw, series = p[-4:]
            rng = '|'.join(p[4:-4])
            rows.append(dict(num=int(num), cat=cat, en=en, zh=zh, range=rng, unit=unit, default=dflt,
                             rw=rw, series=series))
    return rows


def generated():
    """Families of parameters that follow a pattern: histories, steps, second-motor data."""
    rows = []

    def add(num, cat, en, zh, rng, unit, dflt, rw, series):
        rows.append(dict(num=num, cat=cat, en=en, zh=zh, range=rng, unit=unit, default=dflt, rw=rw,
                         series=series))

    for i in range(12):
        add(200 + i, 'h', 'Alarm history %d' % (i + 1), '异常记录%d' % (i + 1), '0~255', '1', '0', 'R', 'AD')
    add(212, 'h', 'Output frequency at last alarm', '最近异常时输出频率', '0~650.00', '0.01Hz', '0.00', 'R', 'AD')
    add(213, 'h', 'Output current at last alarm', '最近异常时输出电流', CURRENT_RANGE, CURRENT_UNIT, NO_CURRENT, 'R', 'AD')
    add(214, 'h', 'Bus voltage at last alarm', '最近异常时母线电压', '0~1000.0', '0.1V', '0.0', 'R', 'AD')
    add(215, 'h', 'Heat sink temperature at last alarm', '最近异常时散热片温度', '-20.0~150.0', '0.1°', '0.0', 'R', 'AD')
    add(216, 'h', 'Alarm history clear', '异常记录清除', '0~1', '1', '0', 'W', 'AD')
    # The alarm and service pages select a record and a detail item and read them; series D details
    # three records, series A two. The run time's counters are the drive's own.
    add(288, 'h', 'Alarm record selection', '异常记录选择', '1~14', '1', '1', 'W', 'AD')
    add(289, 'h', 'Alarm code of the selected record', '所选异常记录代码', '0~255', '1', '0', 'R', 'AD')
    for letter, last in (('A', 14), ('D', 21)):
        add(290, 'h', 'Alarm detail item selection', '异常详细项目选择', '1~%d' % last, '1', '1', 'W', letter)
    add(291, 'h', 'Alarm detail item value', '异常详细项目值', '0~65535', '1', '0', 'R', 'AD')
    add(292, 'h', 'Cumulative run time (minutes)', '累计运行时间(分)', '0~1439', '1min', '0', 'R', 'AD')
    add(293, 'h', 'Cumulative run time (days)', '累计运行时间(天)', '0~65535', '1day', '0', 'R', 'AD')
    # The second motor's data default as the first's: its power the drive's capacity, its voltage and currents
    # by voltage class (voltage_variants).
    motor = {r['num']: r for r in read_catalogue()}[174]
    second = [('Second motor rated power', '第二电机额定功率', motor['range'], '0.01kW', motor['default']),
              ('Second motor poles', '第二电机极数', '2~12', '1', '4'),
              ('Second motor rated voltage', '第二电机额定电压', '0~1000.0', '0.1V', '-'),
              ('Second motor rated frequency', '第二电机额定频率', '10.00~400.00', '0.01Hz', 'P189:1,50.00//0,60.00'),
              ('Second motor rated current', '第二电机额定电流', CURRENT_RANGE, CURRENT_UNIT, '-'),
              ('Second motor rated speed', '第二电机额定转速', '0~60000', '1r/min', 'P189:1,1440//0,1740'),
              ('Second motor stator resistance', '第二电机定子电阻', '0~65.535', '0.001Ω', '0.000'),
              ('Second motor rotor resistance', '第二电机转子电阻', '0~65.535', '0.001Ω', '0.000'),
              ('Second motor leakage inductance', '第二电机漏感', '0~6553.5', '0.1mH', '0.0'),
              ('Second motor mutual inductance', '第二电机互感', '0~6553.5', '0.1mH', '0.0'),
              ('Second motor excitation current', '第二电机励磁电流', CURRENT_RANGE, CURRENT_UNIT, '-'),
              ('Second motor auto tuning selection', '第二电机自动调谐选择', '0~2', '1', '0'),
              ('Second motor selection terminal', '第二电机切换端子', '0~8', '1', '0'),
              ('Second motor overload protection current', '第二电机电子热继电器电流', CURRENT_RANGE,
               CURRENT_UNIT, '-'),
              ('Second motor slip compensation gain', '第二电机转差补偿增益', '0~200.0', '0.1%', '0.0'),
              ('Second motor torque boost', '第二电机转矩提升', '0~30.0|99999', '0.1%', '99999')]
    # P.300 and P.400 hold the control method the set-up wizard writes; the settings they held
    # moved to the free numbers after their families.
    add(300, 'e', 'Control method selection', '控制方式选择', '0~4', '1', '0', 'W', 'AD')
    # Series D keeps its voltage and capacity codes at P.301 and P.302 (its firmware at P.360), so
    # its second-motor poles and voltage follow the family at P.317 and P.318.
    for i, (en, zh, rng, unit, dflt) in enumerate(second):
        num = 316 if i == 0 else 300 + i
        if num in (301, 302):
            add(num, 'e', en, zh, rng, unit, dflt, 'W', 'A')
            add(num + 16, 'e', en, zh, rng, unit, dflt, 'W', 'D')
        else:
            add(num, 'e', en, zh, rng, unit, dflt, 'W', 'AD')
    add(301, 'e', 'Voltage code', '电压等级代码', '0~999', '1', '0', 'R', 'D')
    add(302, 'e', 'Capacity code', '容量代码', '0~999', '1', '0', 'R', 'D')
    add(360, 'e', 'Control board firmware version', '控制板软件版本', '0~99.99', '0.01', '0.00', 'R', 'D')
    add(400, 's', 'Control mode selection', '控制模式选择', '0~2|99999', '1', '0', 'W', 'A')
    for i in range(8, 16):
        add(408 if i == 8 else 400 + i - 8, 's', 'Multi-speed %d' % i, '多段速%d' % i, '0~650.00|99999', '0.01Hz',
            '99999', 'W', 'AD')
    for i in range(1, 7):
        add(500 + 2 * (i - 1), 'l', 'Simple PLC step %d frequency' % i, '简易PLC第%d段频率' % i,
            '0~650.00', '0.01Hz', '0.00', 'W', 'A')
        add(501 + 2 * (i - 1), 'l', 'Simple PLC step %d time' % i, '简易PLC第%d段运行时间' % i,
            '0~6000.0', '0.1s', '0.0', 'W', 'A')
    add(512, 'l', 'Simple PLC operation mode', '简易PLC运行方式', '0~3', '1', '0', 'W', 'A')
    # Terminal functions of the HDI input and the two option slots; 99999 is no function.
    add(550, 'i', 'Terminal HDI function', 'HDI端子功能选择', '0~41,43~66', '1', '57', 'W', 'A')
    for slot, base in (('SLOT3', 551), ('SLOT2', 559)):
        for i in range(6):
            add(base + i, 'i', 'Terminal M1%d function (%s)' % (i, slot), 'M1%d端子功能选择(%s)' % (i, slot),
                '0~41,43~66|99999', '1', '99999', 'W', 'A')
    for slot, base in (('SLOT3', 568), ('SLOT2', 576)):
        for i in range(8):
            add(base + i, 'o', 'Output A1%d function (%s)' % (i, slot), 'A1%d输出功能选择(%s)' % (i, slot),
                '0~10,16~20|99999', '1', '99999', 'W', 'A')
    traverse = [('Traverse function selection', '摆频功能选择', '0~2', '1', '0'),
                ('Traverse amplitude', '摆频幅度', '0~25.0', '0.1%', '10.0'),
                ('Traverse jump amplitude', '摆频突跳幅度', '0~50.0', '0.1%', '10.0'),
                ('Traverse cycle', '摆频周期', '0.1~3600.0', '0.1s', '10.0'),
                ('Traverse rise time', '摆频上升时间', '0.1~360.0', '0.1s', '5.0'),
                ('Traverse fall time', '摆频下降时间', '0.1~360.0', '0.1s', '5.0')]
    for i, (en, zh, rng, unit, dflt) in enumerate(traverse):
        add(600 + i, 't', en, zh, rng, unit, dflt, 'W', 'AD')
    calibration = [('Analog output calibration', '模拟量输出校正', '0~200.0', '0.1%', '100.0'),
                   ('AM terminal calibration', 'AM端子校正', '0~200.0', '0.1%', '100.0'),
                   ('Terminal 2 bias frequency', '端子2偏置频率', '0~650.00', '0.01Hz', '0.00'),
                   ('Terminal 2 bias', '端子2偏置', '0~300.0', '0.1%', '0.0'),
                   ('Terminal 2 gain frequency', '端子2增益频率', '0~650.00', '0.01Hz', 'P189:1,50.00//0,60.00'),
                   ('Terminal 2 gain', '端子2增益', '0~300.0', '0.1%', '100.0'),
                   ('Terminal 4 bias frequency', '端子4偏置频率', '0~650.00', '0.01Hz', '0.00'),
                   ('Terminal 4 bias', '端子4偏置', '0~300.0', '0.1%', '20.0'),
                   ('Terminal 4 gain frequency', '端子4增益频率', '0~650.00', '0.01Hz', 'P189:1,50.00//0,60.00'),
                   ('Terminal 4 gain', '端子4增益', '0~300.0', '0.1%', '100.0')]
    for i, (en, zh, rng, unit, dflt) in enumerate(calibration):
        add(900 + i, 'k', en, zh, rng, unit, dflt, 'W', 'A')
    add(990, 'd', 'Key tone', '按键蜂鸣音', '0~1', '1', '1', 'W', 'AD')
    extended = [('Torque limit level', '转矩限制水平', '0~400.0|99999', '0.1%', '150.0'),
                ('Regenerative torque limit level', '再生转矩限制水平', '0~400.0|99999', '0.1%', '99999'),
                ('Speed limit in torque control', '转矩控制时速度限制', '0~650.00', '0.01Hz', 'P189:1,50.00//0,60.00'),
                ('Torque command source', '转矩指令来源', '0~4', '1', '0'),
                ('Torque command value', '转矩指令值', '-400.0~400.0', '0.1%', '0.0'),
                ('Droop gain', '下垂增益', '0~100.0', '0.1%', '0.0'),
                ('Droop filter time constant', '下垂滤波时间常数', '0~1.00', '0.01s', '0.30'),
                ('Zero speed holding time', '零速保持时间', '0~10.00', '0.01s', '0.00'),
                ('Encoder pulses per revolution', '编码器每转脉冲数', '0~4096', '1', '1024'),
                ('Encoder rotation direction', '编码器旋转方向', '0~1', '1', '1')]
    for i, (en, zh, rng, unit, dflt) in enumerate(extended):
        add(1000 + i, 'x', en, zh, rng, unit, dflt, 'W', 'A')
    for i in range(1, 9):
        add(1100 + i - 1, 'w', 'User parameter %d' % i, '用户参数%d' % i, '0~65535', '1', '0', 'W', 'A')
    maintenance = [('Maintenance timer', '维护定时器', '0~9998', '1', '0', 'R'),
                   ('Maintenance timer warning time', '维护定时器报警时间', '0~9998|9999', '1', '9999', 'W'),
                   ('Cooling fan life display', '冷却风扇寿命显示', '0~100', '1%', '100', 'R'),
                   ('Main circuit capacitor life display', '主回路电容寿命显示', '0~100', '1%', '100', 'R'),
                   ('Inrush current limit circuit life display', '浪涌电流抑制回路寿命显示', '0~100', '1%', '100', 'R'),
                   ('Life alarm status display', '寿命报警状态显示', '0~15', '1', '0', 'R')]
    for i, (en, zh, rng, unit, dflt, rw) in enumerate(maintenance):
        add(1200 + i, 'u', en, zh, rng, unit, dflt, rw, 'A')
    return rows


def reaching_down(copies, version):
    """Firmware copies of one element, the lowest reaching down to where its row begins, so that wherever the row
    shows, the element resolves."""
    copies = sorted(copies, key=lambda c: float(c[0].split('-')[0]))
    first = version.split('-')[0] if version else '0'
    return [(first + '-' + copies[0][0].split('-')[1], copies[0][1])] + copies[1:]


def prefixed(text, version):
    return version + '\\\\' + text if version else text


# The rated current (A) of a drive of each rating (kW), by its output voltage: classes 021 and 023 200 V, 043 400 V.
RATED_CURRENT = {
    200: ((0.2, 1.6), (0.4, 2.5), (0.75, 4.2), (1.5, 7.0), (2.2, 10.0), (3.7, 16.5), (5.5, 24.0), (7.5, 33.0),
          (11, 46.0), (15, 61.0)),
    400: ((0.4, 1.2), (0.75, 2.1), (1.5, 3.7), (2.2, 5.2), (3.7, 8.8), (5.5, 12.5), (7.5, 16.0), (11, 24.0), (15, 32.0),
          (18.5, 38.0), (22, 45.0), (30, 60.0), (37, 75.0), (45, 90.0), (55, 110.0), (75, 150.0), (90, 180.0),
          (110, 216.0), (132, 260.0), (160, 304.0), (185, 340.0), (220, 420.0)),
}
CLASS_VOLTS = {'021': 200, '023': 200, '043': 400}
# The motor's excitation (no-load) current as a share of its rated current.
EXCITATION_SHARE = 1 / 3
# Where series A and D keep the second motor's rated voltage.
SECOND_VOLTAGE = {'A': 302, 'D': 318}


def amperes(value, kw):
    """A current as a drive of that capacity shows it: the decimals of CURRENT_UNIT."""
    return '%.*f' % (2 if kw < 160.01 else 1, value)


def by_rating(values):
    """A capacity variant giving each rating its own value: a rating's pair stands below the next rating."""
    thresholds = [kw for kw, _ in values[1:]] + [999]
    return 'V:' + '//'.join('%g,%s' % (t, amperes(a, kw)) for t, (kw, a) in zip(thresholds, values))


def voltage_variants(num, letter):
    """Elements that differ by voltage class: name suffix -> text."""
    if num in (177, SECOND_VOLTAGE.get(letter)):
        return {'Default': {'021': '220.0', '023': '220.0', '043': '380.0'}}
    if num == 163:
        return {'Range': {'021': '150.0~300.0', '023': '150.0~300.0', '043': '300.0~600.0'},
                'Default': {'021': '190.0', '023': '190.0', '043': '380.0'}}
    if num == 19:
        return {'Range': {'021': '0~500.0|99999', '023': '0~500.0|99999', '043': '0~1000.0|99999'}}
    if num in (9, 56, 304, 313):  # the rated current, which the overload protection current takes; the second motor's
        return {'Default': {code: by_rating(RATED_CURRENT[volts]) for code, volts in CLASS_VOLTS.items()}}
    if num in (176, 310):
        return {'Default': {code: by_rating([(kw, round(a * EXCITATION_SHARE, 1)) for kw, a in RATED_CURRENT[volts]])
                            for code, volts in CLASS_VOLTS.items()}}
    return {}


# Firmware-dependent copies of the range of P.40 (extended reading only). Every series counts its
# firmware below 1.0, where a version read from the drive survives unchanged (only the fraction of a
# reading above 1.0 is kept, and a reading can only lower the version), so the steps lie there.
RANGE40 = {
    'A': [('0.30-0.40', '0~11,16~20|99999'), ('0.40-0.50', '0~11,16~21|99999'), ('0.50-0.52', '0~11,16~22|99999'),
          ('0.52-0.55', '0~11,16~23|99999'), ('0.55-0.60', '0~11,16~23,41,50|99999'),
          ('0.60-99', '0~11,16~23,41~45,50|99999')],
    'S': [('0.10-0.16', '0~11,16~20'), ('0.16-0.20', '0~11,16~21'), ('0.20-0.21', '0~11,16~22'),
          ('0.21-0.22', '0~11,16~23'), ('0.22-0.24', '0~11,16~23,41,50'), ('0.24-99', '0~11,16~23,41~45,50')],
}
# The firmware from which P.22 may be written.
WRITABLE22 = {'A': ('0.30', '0.50'), 'S': ('0.10', '0.20')}
# Names a series gives a number of its own.
SERIES_NAMES = {('A', 40): ('Terminal (SO1-SE)', 'SO1-SE端子功能选择')}


FIXED_GROUPS = {77: '00-03', 295: '00-05'}
SPECIAL = {'A': '99999', 'D': '9999', 'S': '99999'}
# Firmware below which a series reads FFFFh as 9999 (typeInfo.txt, readWrite_99999), where it differs from SPECIAL.
SPECIAL_FROM = {'S': '0.20'}


def with_special(text, special):
    """The text with the special value of each range (variants included) written as the drive reads it."""
    return re.sub(r'\|9{4,5}(?=//|$)', '|' + special, text)


def special_copies(letter, text):
    """(version, text) copies of a range or default by the firmware's special value; one unversioned copy
    where the series reads FFFFh alike at every version or the text holds no special value."""
    if letter not in SPECIAL_FROM or not re.search(r'(^|\|)9{4,5}(?=//|$)', text):
        return [('', text)]
    first = SPECIAL_FROM[letter]

    def special(value):
        return re.sub(r'(^|\|)9{4,5}(?=//|$)', lambda m: m.group(1) + value, text)
    return [('0-' + first, special('9999')), (first + '-99', special(SPECIAL[letter]))]
RESERVED_GROUPS = set(FIXED_GROUPS.values()) | {'00-02'}


def series_rows(letter, model):
    rows = [r for r in read_catalogue() + generated() if letter in r['series']]
    if letter == 'S':
        rows = [r for r in rows if r['num'] < 200]
    extra = []
    if letter == 'A':
        # Parameters tied to firmware: one that came with 0.52, one withdrawn at 0.50.
        extra.append(dict(num=1010, cat='x', en='Speed feed-forward gain', zh='速度前馈增益', range='0~200.0',
                          unit='0.1%', default='0.0', rw='W', series='A', version='0.52-99'))
        extra.append(dict(num=1011, cat='x', en='Old torque mode selection', zh='旧转矩模式选择', range='0~1',
                          unit='1', default='0', rw='W', series='A', version='0.30-0.50'))
    if letter == 'S':
        # Series S keeps its run time at P.164 (minutes) and P.165 (days).
        extra.append(dict(num=164, cat='d', en='Cumulative run time (minutes)', zh='累计运行时间(分)', range='0~1439',
                          unit='1min', default='0', rw='R', series='S'))
        extra.append(dict(num=165, cat='d', en='Cumulative run time (days)', zh='累计运行时间(天)', range='0~65535',
                          unit='1day', default='0', rw='R', series='S'))
        extra.append(dict(num=195, cat='d', en='Second display item', zh='第二显示项目', range='0~20',
                          unit='1', default='1', rw='W', series='S', version='0.03-99'))
        extra.append(dict(num=196, cat='d', en='Panel frequency knob selection', zh='面板频率旋钮选择', range='0~1',
                          unit='1', default='0', rw='W', series='S', version='0-0.03'))
    if letter == 'A' and model == '1':
        winder = [('Winder mode selection', '卷绕模式选择', '0~3', '1', '0'),
                  ('Tension set point', '张力设定值', '0~100.0', '0.1%', '20.0'),
                  ('Tension taper', '张力锥度', '0~100.0', '0.1%', '0.0'),
                  ('Initial roll diameter', '初始卷径', '1~3000', '1mm', '100'),
                  ('Maximum roll diameter', '最大卷径', '1~3000', '1mm', '1000'),
                  ('Line speed', '线速度', '0~1000.0', '0.1m/min', '100.0'),
                  ('Roll diameter calculation selection', '卷径计算选择', '0~2', '1', '0'),
                  ('Material thickness', '材料厚度', '0.01~100.00', '0.01mm', '0.10'),
                  ('Material density', '材料密度', '0~30000', '1kg/m3', '1000'),
                  ('Inertia compensation gain', '惯量补偿增益', '0~200.0', '0.1%', '0.0')]
        for i, (en, zh, rng, unit, dflt) in enumerate(winder):
            extra.append(dict(num=700 + i, cat='t', en=en, zh=zh, range=rng, unit=unit, default=dflt, rw='W',
                              series='A'))
    rows = sorted(rows + extra, key=lambda r: r['num'])
    for r in rows:
        r['en'], r['zh'] = SERIES_NAMES.get((letter, r['num']), (r['en'], r['zh']))
    # The special value as the series reads FFFFh: 9999 on series D, 99999 on the others.
    special = SPECIAL[letter]
    for r in rows:
        r['range'] = with_special(r['range'], special)
        r['default'] = special if r['default'] in ('9999', '99999') else r['default']
    # Group codes in catalogue order of each category; the pseudo-row keeps "00-02", and the protection
    # parameters that the batch write names keep theirs.
    counters = {}
    for r in rows:
        if r['num'] in FIXED_GROUPS:
            r['group'] = FIXED_GROUPS[r['num']]
            continue
        g = GROUPS[r['cat']]
        item = counters.get(g, 0)
        while '%02d-%02d' % (g, item) in RESERVED_GROUPS:
            item += 1
        counters[g] = item + 1
        r['group'] = '%02d-%02d' % (g, item)
    for rule in related_rules(letter, model, rows):
        follow_selector(rows, *rule.split('//')[:3])
    if letter == 'A':
        rows.append(dict(num='99X', group='00-02', en='Clear and reset commands', zh='清除与复位指令', range='0~6',
                         unit='1', default='0', rw='W'))
    return rows


def at_decimals(text, decimals):
    """A default at a selector's resolution: the same value with that resolution's decimals."""
    if ':' in text:  # a variant of its own, nested with "|" for its separators
        key, body = text.split(':', 1)
        items = [x for x in re.split(',|//', body) if x]
        values = [at_decimals(v, decimals) if i % 2 else v for i, v in enumerate(items)]
        return key + ':' + '|'.join(values)
    if not re.fullmatch(r'-?\d+(\.\d+)?', text) or text in ('9999', '99999'):
        return text
    shown = '%.*f' % (decimals, float(text))
    assert float(shown) == float(text), 'default %s lost at %d decimals' % (text, decimals)
    return shown


def follow_selector(rows, selector, resolutions, governed):
    """The governed rows' unit, default and range by the selector's value: a range the selector does not name
    takes its resolution's decimals."""
    pairs = [x for x in re.split('[-;]', resolutions) if x]
    pairs = list(zip(pairs[0::2], pairs[1::2]))
    numbers = {int(n) for n in governed.split(';')}
    for r in rows:
        if r['num'] not in numbers:
            continue
        name = re.sub(r'^[0-9.]+', '', r['unit'])
        r['unit'] = 'P%s:' % selector + '//'.join('%s,%s%s' % (v, res, name) for v, res in pairs)
        defaults = [at_decimals(r['default'], len(res.partition('.')[2])) for v, res in pairs]
        if len(set(defaults)) > 1:
            r['default'] = 'P%s:' % selector + '//'.join('%s,%s' % (v, d) for (v, res), d in zip(pairs, defaults))
        if not r['range'].startswith('P'):  # a range of its own selector (P.21's times) stands as given
            ranges = [re.sub(r'\d+\.\d+', lambda m: at_decimals(m.group(0), len(res.partition('.')[2])), r['range'])
                      for v, res in pairs]
            if len(set(ranges)) > 1:
                r['range'] = 'P%s:' % selector + '//'.join('%s,%s' % (v, x) for (v, res), x in zip(pairs, ranges))


def writable_text(rw, language):
    if language == 'Eng':
        return 'Writable' if rw == 'W' else 'Read-Only'
    if language == 'zh':
        return '可写' if rw == 'W' else '只-读'
    return '可寫' if rw == 'W' else '唯-讀'


def write_xml(path, body, encoding):
    head = '<?xml version="1.0" encoding="%s"?>\n<!DOCTYPE InvParameter>\n<InvParameter version="1.0">\n' % (
        'gb2312' if encoding == 'gbk' else 'UTF-8')
    text = (head + body + '</InvParameter>\n').replace('\n', '\r\n')
    with open(path, 'wb') as f:
        if encoding == 'utf-8':
            f.write(b'\xef\xbb\xbf')
        f.write(text.encode(encoding))


def definition_file(letter, model, rows):
    extended = letter in 'AS'
    out = []
    for r in rows:
        n = r['num']
        version = r.get('version', '') if extended else ''

        def el(kind, text, suffix='', copies=False):
            for copy_version, copy in special_copies(letter, text) if copies else [('', text)]:
                assert not (copy_version and version), 'a row tied to firmware with a special value'
                assert len(prefixed(copy, copy_version or version)) <= MAX_TEXT, 'P.%s: %s too long' % (n, kind)
                out.append(' <%s%s%s>%s</%s%s%s>\n' % (kind, n, suffix, escape(prefixed(copy, copy_version or version)),
                                                    kind, n, suffix))

        if letter == 'A':
            el('Group', r['group'])
        el('Name', r['en'])
        variants = voltage_variants(n, letter) if n != '99X' else {}
        assert r['default'] != '-' or 'Default' in variants, 'P.%s: a default by voltage class without one' % n
        if n == 40 and extended:
            for rng_version, rng in reaching_down(RANGE40[letter], version):
                out.append(' <Range40>%s\\\\%s</Range40>\n' % (rng_version, rng))
        elif 'Range' in variants:
            for code, text in variants['Range'].items():
                el('Range', with_special(text, SPECIAL[letter]), '-' + code, True)
        else:
            el('Range', r['range'], copies=True)
        el('Unit', r['unit'])
        if 'Default' in variants:
            for code, text in variants['Default'].items():
                el('Default', text, '-' + code)
        elif n == 1 and extended:
            el('Default', ' ' + r['default'])  # a leading space the extended reading drops
        else:
            el('Default', r['default'], copies=True)
        out.extend(writable_elements(letter, r, 'Eng', version))
    return ''.join(out)


def writable_elements(letter, r, language, version):
    """The Writable elements of a row, alike in every language: P.22's by firmware."""
    n = r['num']
    if n == 22 and letter in WRITABLE22:
        first, writable = WRITABLE22[letter]
        copies = [(first + '-' + writable, writable_text('R', language)), (writable + '-99', writable_text('W', language))]
        return [' <Writable22>%s\\\\%s</Writable22>\n' % c for c in reaching_down(copies, version)]
    text = escape(prefixed(writable_text(r['rw'], language), version))
    return [' <Writable%s>%s</Writable%s>\n' % (n, text, n)]


def localized_file(letter, rows, language):
    extended = letter in 'AS'
    out = []
    for r in rows:
        n = r['num']
        version = r.get('version', '') if extended else ''
        name = r['zh'] if language == 'zh' else trad(r['zh'])

        def el(kind, text, suffix=''):
            assert len(prefixed(text, version)) <= MAX_TEXT, 'P.%s: %s too long' % (n, kind)
            out.append(' <%s%s%s>%s</%s%s%s>\n' % (kind, n, suffix, escape(prefixed(text, version)), kind, n, suffix))

        if letter == 'A':
            el('Group', r['group'])
        el('Name', name)
        if isinstance(n, int) and r['default'].startswith('P189:'):
            el('Range', r['range'])
            el('Default', r['default'])
        out.extend(writable_elements(letter, r, language, version))
    return ''.join(out)


HELP = {
    0: ('Raises the output voltage at low frequency to make up for the voltage drop of the motor winding.;'
        'Too high a value may cause overcurrent trips.;The default depends on the drive capacity.',
        '补偿低频时电机绕组的电压降，提高输出电压。;设定过大可能导致过电流跳闸。;初始值随变频器容量而定。'),
    1: ('Upper limit of the output frequency.;Frequency commands above it are clamped to it.',
        '输出频率的上限。;高于该值的频率指令被限制为该值。'),
    2: ('Lower limit of the output frequency.;The motor runs at this frequency even with a lower command.',
        '输出频率的下限。;频率指令较低时电机仍以该频率运行。'),
    3: ('Frequency at which the output voltage reaches the base frequency voltage.;'
        'Set it to the rated frequency on the motor nameplate.',
        '输出电压达到基准频率电压时的频率。;请设定为电机铭牌上的额定频率。'),
    7: ('Time to accelerate from 0 Hz to the acceleration/deceleration reference frequency.;'
        'The unit follows the acceleration/deceleration time unit.',
        '从0Hz加速到加减速基准频率所需的时间。;单位由加减速时间单位决定。'),
    8: ('Time to decelerate from the acceleration/deceleration reference frequency to 0 Hz.;'
        'The unit follows the acceleration/deceleration time unit.',
        '从加减速基准频率减速到0Hz所需的时间。;单位由加减速时间单位决定。'),
    9: ('Current at which the electronic thermal relay protects the motor.;Set the rated motor current.',
        '电子热继电器保护电机的电流值。;请设定电机额定电流。'),
    13: ('Output frequency at the start.;The drive does not run below it.', '启动时的输出频率。;低于该频率时不运行。'),
    15: ('Output frequency in jog operation.;Used for positioning and test runs.',
         '点动运行时的输出频率。;用于定位和试运行。'),
    21: ('0: acceleration and deceleration times in steps of 0.01 s;1: in steps of 0.1 s',
         '0：加减速时间以0.01秒为单位;1：以0.1秒为单位'),
    22: ('Output current above which the output frequency is held or lowered to avoid a trip.;'
         '100% is the rated current of the drive.',
         '超过该输出电流时保持或降低输出频率以防止跳闸。;100%为变频器额定电流。'),
    34: ('0: the frequency set on the panel is stored at power-off;1: it is not stored',
         '0：断电时存储面板设定的频率;1：不存储'),
    40: ('Function of the open-collector output SO.;Refer to the output function table.',
         'SO集电极开路输出端子的功能。;请参照输出功能一览表。'),
    72: ('PWM carrier frequency.;A higher value lowers motor noise and raises drive losses.',
         'PWM载波频率。;设定较高时电机噪声降低，变频器损耗增加。'),
    77: ('0: parameters may be written;1: only this parameter may be written;2: parameters may be written while running',
         '0：可写入参数;1：仅可写入本参数;2：运行中也可写入参数'),
    79: ('0: external and panel operation;1: panel operation;2: external operation;'
         '3: communication for frequency and start;4: combined operation;'
         '5: frequency by external signal or multi-speed, start by panel;'
         '6: frequency by communication, multi-speed or external jog, start by external terminals;'
         '7: frequency by external signal or multi-speed, start by communication;'
         '8: frequency by panel, multi-speed or external jog, start by external terminals',
         '0：外部/面板运行切换;1：面板运行;2：外部运行;3：通讯运行(频率与启动);4：组合运行;'
         '5：频率由外部信号或多段速给定，面板启动;6：频率由通讯、多段速或外部点动给定，外部端子启动;'
         '7：频率由外部信号或多段速给定，通讯启动;8：频率由面板、多段速或外部点动给定，外部端子启动'),
    120: ('Station number of the drive on the communication line.;0 to 254.', '通讯线路上变频器的站号。;0～254。'),
    121: ('0: 4800;1: 9600;2: 19200;3: 38400;4: 57600;5: 115200 baud', '0：4800;1：9600;2：19200;3：38400;4：57600;5：115200'),
    140: ('0: PID off;1: PID with deviation input;2: PID with feedback input;3: PID by communication;4: PID for pump',
          '0：PID无效;1：偏差输入PID;2：反馈输入PID;3：通讯PID;4：水泵PID'),
    160: ('0: input phase loss not detected;1: input phase loss detected', '0：不检测输入缺相;1：检测输入缺相'),
    189: ('0: 60 Hz system;1: 50 Hz system;'
          'Defaults of the frequency parameters and of the motors\' rated speeds P.179 and P.305 follow it.',
          '0：60Hz系统;1：50Hz系统;频率参数以及电机额定转速P.179、P.305的初始值随之变化。'),
    191: ('1: all parameters to their initial values;2: all but the communication parameters',
          '1：全部参数恢复初始值;2：通讯参数以外恢复初始值'),
}
HELP_GROUPS = {'10-12': ('Skip frequencies: the drive passes through the band without staying in it.;'
                         'Set lower and upper limit of each band.',
                         '跳跃频率：变频器不在该频带内稳定运行。;分别设定各频带的下限和上限。')}


# Further characters of the help texts only (the parameter files keep their own conversion).
HELP_TRAD = dict(zip('仪别恒担旧满现终结许轻进针静齿～', '儀別恆擔舊滿現終結許輕進針靜齒~'))


def help_trad(text):
    return ''.join(HELP_TRAD.get(ch, ch) for ch in trad(text))


def help_text(num, letter):
    if (letter, num) in SERIES_HELP:
        return SERIES_HELP[(letter, num)]
    if num in HELP:
        return HELP[num]
    return MORE_HELP.get(num) or family_help(num)


# The limits of the skip frequency bands, which share one help line.
SKIP_BANDS = (31, 32, 33, 35)


def help_file(path, language, rows, letter):
    lines = []
    numbers = sorted(r['num'] for r in rows if isinstance(r['num'], int))
    for n in numbers:
        if n in SKIP_BANDS:
            continue  # one shared line below
        texts = help_text(n, letter)
        if texts:
            en, zh = texts
            text = en if language == 'Eng' else zh if language == 'zh' else help_trad(zh)
            text = re.sub(r'\b9{4,5}\b', SPECIAL[letter], text)
            lines.append('%d//%s' % (n, text))
    skip = [n for n in numbers if n in SKIP_BANDS]
    if skip:
        en, zh = HELP_GROUPS['10-12']
        text = en if language == 'Eng' else zh if language == 'zh' else help_trad(zh)
        lines.append('%s//%s' % ('-'.join(str(n) for n in skip), text))
    with open(path, 'wb') as f:
        f.write(('\r\n'.join(lines) + '\r\n').encode('gbk'))


HIDDEN = {
    # P.1401 and P.1402: voltage and capacity codes of the VR3-043-5.5K drive (5.5K is the sixth rating).
    'VR3': [(1400, '0', '1'), (1401, '3', '1'), (1402, '0.50-99\\6', '1'),
            (1403, '0.30-0.50\\1.0', '0.1s'), (1404, '2000', '1'), (1405, '0.0', '0.1%')],
    'VM3': [(1400, '0', '1'), (1401, '100.0', '0.1%'), (1402, '60.00', '0.01Hz'), (1403, '0.0', '0.1V')],
    'VS5': [(300, '0', '1'), (301, '100.0', '0.1%'), (302, '0.03-99\\3.0', '0.1s')],
}


def write_hidden(model):
    body = ['<?xml version="1.0" encoding="UTF-8"?>', '<HideParameter version="1.0">']
    for n, dflt, unit in HIDDEN[model]:
        body.append(' <Pr%d>' % n)
        body.append('  <DefaultValue>%s</DefaultValue>' % escape(dflt))
        body.append('  <Unit>%s</Unit>' % escape(unit))
        body.append(' </Pr%d>' % n)
    body.append('</HideParameter>')
    folder = os.path.join(DATA, 'hideparameter')
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, '%sHideParameter.xml' % model), 'wb') as f:
        f.write(('\r\n'.join(body) + '\r\n').encode('utf-8'))


# The related-unit rules: selector, its values' resolutions, the parameters it governs, its value when the drive
# cannot be read. P.187 of series A governs every parameter in 0.01 Hz (FREQUENCIES); series D's P.991 selects
# only the monitored and set frequencies, so it governs none.
FREQUENCIES = 'frequencies'
TIMES = '21//0-0.01;1-0.1//7;8;16;44;45//0//'
RELATED = {
    'A': [TIMES, '187//0-0.01;1-0.1//%s//0//' % FREQUENCIES],
    'A1': [TIMES, '187//0-0.01;1-0.1//%s//0//' % FREQUENCIES],
    'D': [TIMES],
    'S': [TIMES],
}


def related_rules(letter, model, rows=None):
    """The lines of the series' related-unit file, the frequencies named."""
    if rows is None:
        rows = series_rows(letter, model)
    frequencies = ';'.join(str(r['num']) for r in rows
                           if isinstance(r['num'], int) and re.search(r'(^|,)0\.01Hz(//|$)', r['unit']))
    return [rule.replace(FREQUENCIES, frequencies) for rule in RELATED[letter + model]]


def main():
    inv = os.path.join(DATA, 'InvParameter')
    details = os.path.join(DATA, 'ParameterInforamtion', 'ParameterDetails')
    related = os.path.join(DATA, 'ParameterInforamtion', 'relatedUnit')
    for folder in (inv, details, related):
        os.makedirs(folder, exist_ok=True)
    for letter, model in (('A', ''), ('A', '1'), ('D', ''), ('S', '')):
        rows = series_rows(letter, model)
        stem = letter + model
        write_xml(os.path.join(inv, stem + '_InvParameter_Eng.xml'), definition_file(letter, model, rows), 'gbk')
        write_xml(os.path.join(inv, stem + '_InvParameter.xml'), localized_file(letter, rows, 'zh'), 'gbk')
        write_xml(os.path.join(inv, stem + '_InvParameter_Big.xml'), localized_file(letter, rows, 'big'), 'utf-8')
        # The program loads no help for series S at any firmware, so none ships for it.
        for suffix, language in (('_Eng', 'Eng'), ('', 'zh'), ('_Big', 'big')):
            path = os.path.join(details, stem + suffix + '.txt')
            if letter == 'S':
                if os.path.exists(path):
                    os.remove(path)
            else:
                help_file(path, language, rows, letter)
        with open(os.path.join(related, stem + '.txt'), 'wb') as f:
            f.write(('\r\n'.join(related_rules(letter, model, rows)) + '\r\n').encode('latin-1'))
    for model in HIDDEN:
        write_hidden(model)


if __name__ == '__main__':
    main()

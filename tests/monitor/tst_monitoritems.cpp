// The monitor item lists and the I/O terminal table: what the files give the shared lists, the
// boxes and the lamps.
#include "comm/globals.h"
#include "modalwatcher.h"
#include "monitor/iostatefile.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitoritems.h"
#include "shell/appglobals.h"
#include "testdirs.h"
#include "testfiles.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

class tst_MonitorItems : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void loadsItems_data();
    void loadsItems();
    void shippedLists_data();
    void shippedLists();
    void missingFileLeavesOnlyTheStatusItem_data();
    void missingFileLeavesOnlyTheStatusItem();
    void listHoldsAtMost49Items();

    void ioStateLine_data();
    void ioStateLine();
    void terminalLamp_data();
    void terminalLamp();

private:
    QStringList load(int *boxes = nullptr, QString *boxText = nullptr);
    QTemporaryDir m_dir;
};

void tst_MonitorItems::init()
{
    g_appDir = m_dir.path() + QLatin1Char('/');
    QDir(g_appDir + QStringLiteral("ParameterInforamtion/Combox")).removeRecursively();
    g_seriesLetter = 'A';
    g_modelCode = QStringLiteral("0");
    g_language = 0;
    g_firmwareVersion = QStringLiteral("1.10");
    replaceMonitorLists({}, {});
}

// Loads as a window's constructor does; boxes that open are read and answered.
QStringList tst_MonitorItems::load(int *boxes, QString *boxText)
{
    QString text;
    ModalWatcher watcher([&text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        text = box->windowTitle() + QLatin1Char('|') + box->text();
        box->accept();
    });
    const QStringList names = loadMonitorItems(nullptr);
    if (boxes)
        *boxes = watcher.count();
    if (boxText)
        *boxText = text;
    return names;
}

static QByteArray gbk(const QString &text)
{
    return QTextCodec::codecForName("GBK")->fromUnicode(text);
}

void tst_MonitorItems::loadsItems_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("modelAfter");

    const QByteArray two = "M0R;Output frequency;Hz\r\nM2R;Output current;A\r\n";
    QTest::newRow("two_lines_crlf_no_line_end_kept")
        << "A_Eng.txt" << two << "0" << 0 << "1.10" << QStringList { "Output frequency", "Output current" }
        << QStringList { "M0R", "M2R", "MCR" } << QStringList { "Hz", "A" } << "0";
    QTest::newRow("no_unit_is_one_blank")
        << "A_Eng.txt" << QByteArray("MAW;Input terminals\nMBW;Output terminals") << "0" << 0 << "1.10"
        << QStringList { "Input terminals", "Output terminals" } << QStringList { "MAW", "MBW", "MCR" }
        << QStringList { " ", " " } << "0";
    const QByteArray ranged = "0.13-1.00//M0R;F;Hz\nM2R;C;A\n";
    QTest::newRow("range_holds_lower_bound") << "A_Eng.txt" << ranged << "0" << 0 << "0.13" << QStringList { "F", "C" }
                                             << QStringList { "M0R", "M2R", "MCR" } << QStringList { "Hz", "A" } << "0";
    QTest::newRow("range_excludes_upper_bound") << "A_Eng.txt" << ranged << "0" << 0 << "1.00" << QStringList { "C" }
                                                << QStringList { "M2R", "MCR" } << QStringList { "A" } << "0";
    QTest::newRow("range_excludes_below") << "A_Eng.txt" << ranged << "0" << 0 << "0.12" << QStringList { "C" }
                                          << QStringList { "M2R", "MCR" } << QStringList { "A" } << "0";
    QTest::newRow("one_bound_drops_the_line")
        << "A_Eng.txt" << QByteArray("0.13//M0R;F;Hz\nM2R;C;A\n") << "0" << 0 << "0.50" << QStringList { "C" }
        << QStringList { "M2R", "MCR" } << QStringList { "A" } << "0";
    QTest::newRow("lines_without_a_name_are_skipped")
        << "A_Eng.txt" << QByteArray("M0R\n\n;;\nM2R;C;A\n") << "0" << 0 << "1.10" << QStringList { "C" }
        << QStringList { "M2R", "MCR" } << QStringList { "A" } << "0";
    QTest::newRow("overlong_name_and_line_skipped")
        << "A_Eng.txt" << "M0R;" + QByteArray(300, 'N') + ";Hz\n" + QByteArray(5000, ';') + "\nM2R;C;A\n" << "0" << 0
        << "1.10" << QStringList { "C" } << QStringList { "M2R", "MCR" } << QStringList { "A" } << "0";
    QTest::newRow("fields_untrimmed_extra_ignored")
        << "A_Eng.txt" << QByteArray("M0R; F ;Hz ;x\n") << "0" << 0 << "1.10" << QStringList { " F " }
        << QStringList { "M0R", "MCR" } << QStringList { "Hz " } << "0";
    QTest::newRow("simplified_chinese_gbk")
        << "A.txt" << gbk(QStringLiteral("M0R;输出频率;Hz\r\nM7R;散热器温度;°C\r\n")) << "0" << 1 << "1.10"
        << QStringList { QStringLiteral("输出频率"), QStringLiteral("散热器温度") } << QStringList { "M0R", "M7R", "MCR" }
        << QStringList { "Hz", QStringLiteral("°C") } << "0";
    QTest::newRow("traditional_chinese_gbk")
        << "A_Big.txt" << gbk(QStringLiteral("M0R;輸出頻率;Hz\r\n")) << "0" << 2 << "1.10"
        << QStringList { QStringLiteral("輸出頻率") } << QStringList { "M0R", "MCR" } << QStringList { "Hz" } << "0";
    QTest::newRow("model_file") << "A2_Eng.txt" << QByteArray("MER;Voltage;V\n") << "2" << 0 << "1.10"
                                << QStringList { "Voltage" } << QStringList { "MER", "MCR" } << QStringList { "V" } << "2";
    QTest::newRow("model_falls_back_for_the_run")
        << "A_Eng.txt" << QByteArray("MER;Voltage;V\n") << "3" << 0 << "1.10" << QStringList { "Voltage" }
        << QStringList { "MER", "MCR" } << QStringList { "V" } << "0";
}

void tst_MonitorItems::loadsItems()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, model);
    QFETCH(int, language);
    QFETCH(QString, version);
    QFETCH(QStringList, names);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, units);
    QFETCH(QString, modelAfter);
    QVERIFY(writeFile(g_appDir + QStringLiteral("ParameterInforamtion/Combox/") + file, content));
    g_modelCode = model;
    g_language = uchar(language);
    g_firmwareVersion = version;

    int boxes = -1;
    QCOMPARE(load(&boxes), names);
    QCOMPARE(boxes, 0);
    QCOMPARE(g_monitorCodes.toList(), codes);
    QCOMPARE(g_monitorUnits.toList(), units);
    QCOMPARE(g_modelCode, modelAfter);
    QCOMPARE(g_monitorValues.size(), codes.size());
    QCOMPARE(g_dialPollFlags.size(), codes.size());
    QCOMPARE(g_advPollFlags.size(), codes.size());
    // A second load of the same file leaves the lists as one load does.
    QCOMPARE(load(), names);
    QCOMPARE(g_monitorCodes.toList(), codes);
}

void tst_MonitorItems::shippedLists_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::newRow("A_Eng_1.10") << 'A' << 0 << "1.10" << 10 << "Output frequency";
    QTest::newRow("A_Eng_0.90") << 'A' << 0 << "0.90" << 11 << "Output frequency";
    QTest::newRow("A_Eng_0.45_no_running_time") << 'A' << 0 << "0.45" << 10 << "Output frequency";
    QTest::newRow("A_cn") << 'A' << 1 << "1.10" << 10 << QStringLiteral("输出频率");
    QTest::newRow("D_Big") << 'D' << 2 << "1.02" << 7 << QStringLiteral("輸出頻率");
    QTest::newRow("S_Eng_0.25") << 'S' << 0 << "0.25" << 6 << "Output frequency";
    QTest::newRow("S_Eng_0.15") << 'S' << 0 << "0.15" << 5 << "Output frequency";
}

// Every shipped list holds the terminal words and ends with the status item; one holds the
// current item that large drives scale.
void tst_MonitorItems::shippedLists()
{
    QFETCH(char, series);
    QFETCH(int, language);
    QFETCH(QString, version);
    QFETCH(int, count);
    QFETCH(QString, first);
    g_appDir = binDir() + QLatin1Char('/');
    g_seriesLetter = series;
    g_language = uchar(language);
    g_firmwareVersion = version;
    const QStringList names = load();
    QCOMPARE(names.size(), count);
    QCOMPARE(names.first(), first);
    QVERIFY(g_monitorCodes.contains(QStringLiteral("MAW")));
    QVERIFY(g_monitorCodes.contains(QStringLiteral("MBW")));
    QVERIFY(g_monitorCodes.contains(QStringLiteral("M2R")));
    QCOMPARE(g_monitorCodes.last(), QStringLiteral("MCR"));
    QCOMPARE(g_monitorUnits.size(), count);
    for (const QString &unit : g_monitorUnits)
        QVERIFY(!unit.contains(QLatin1Char('\r')) && !unit.contains(QLatin1Char('\n')));
}

void tst_MonitorItems::missingFileLeavesOnlyTheStatusItem_data()
{
    QTest::addColumn<bool>("loadedBefore");
    QTest::addColumn<QString>("model");
    QTest::newRow("lists_empty_before") << false << "0";
    QTest::newRow("after_a_load_of_another_file") << true << "0";
    QTest::newRow("model_and_generic_missing") << false << "4";
}

void tst_MonitorItems::missingFileLeavesOnlyTheStatusItem()
{
    QFETCH(bool, loadedBefore);
    QFETCH(QString, model);
    if (loadedBefore) {
        QVERIFY(writeFile(g_appDir + QStringLiteral("ParameterInforamtion/Combox/D_Eng.txt"), "M0R;F;Hz\nM2R;C;A\n"));
        g_seriesLetter = 'D';
        QCOMPARE(load().size(), 2);
        g_seriesLetter = 'A';
    }
    g_modelCode = model;
    for (int round = 0; round < 3; ++round) {
        int boxes = 0;
        QString text;
        QVERIFY(load(&boxes, &text).isEmpty());
        QCOMPARE(boxes, 1);
        QCOMPARE(text, QStringLiteral("Warning|Cannot read file %1ParameterInforamtion\\Combox\\A_Eng.txt:\n"
                                      "No such file or directory.")
                           .arg(g_appDir));
        // However often it fails, the status item stays the only code and indexes stay in bounds.
        QCOMPARE(g_monitorCodes.toList(), QStringList { "MCR" });
        QVERIFY(g_monitorUnits.isEmpty());
        QCOMPARE(g_monitorValues.size(), 1);
        QCOMPARE(g_dialPollFlags.size(), 1);
    }
    QCOMPARE(g_modelCode, QStringLiteral("0"));
}

void tst_MonitorItems::listHoldsAtMost49Items()
{
    QByteArray content;
    for (int i = 0; i < 60; ++i)
        content += "M0R;Item " + QByteArray::number(i) + ";Hz\r\n";
    QVERIFY(writeFile(g_appDir + QStringLiteral("ParameterInforamtion/Combox/A_Eng.txt"), content));
    const QStringList names = load();
    QCOMPARE(names.size(), 49);
    QCOMPARE(names.last(), QStringLiteral("Item 48"));
    QCOMPARE(g_monitorCodes.size(), 50);
    QCOMPARE(g_monitorCodes.last(), QStringLiteral("MCR"));
    QCOMPARE(g_monitorValues.size(), 50);
}

void tst_MonitorItems::ioStateLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("polarity");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("row0");
    QTest::addColumn<QString>("enabled"); // per row of the table

    QStringList fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen << QStringLiteral("%1/T%2/%3").arg(i % 3 ? 1 : 0).arg(i).arg(i % 10);
    const QString list = fourteen.join(QLatin1Char(';'));
    QTest::newRow("active_high") << QStringList { "A//1//" + list } << 'A' << "1.10" << true << 1 << 14
                                 << QStringList { "0", "T0", "0" } << "01101101101101";
    QTest::newRow("active_low_second_series")
        << QStringList { "A//1//" + list, "D//0//" + list } << 'D' << "1.02" << true << 0 << 14
        << QStringList { "0", "T0", "0" } << "01101101101101";
    QTest::newRow("upper_bound_excluded")
        << QStringList { "S//1//1/A/0//0.10-1.00", "S//0//1/B/1//1.00-9.99" } << 'S' << "1.00" << true << 0 << 1
        << QStringList { "1", "B", "1" } << "1";
    QTest::newRow("no_range_any_version") << QStringList { "S//1//1/A/0" } << 'S' << "7.5" << true << 1 << 1
                                          << QStringList { "1", "A", "0" } << "1";
    QTest::newRow("series_field_first_letter_only")
        << QStringList { "AB//1//1/A/0" } << 'A' << "1.10" << true << 1 << 1 << QStringList { "1", "A", "0" } << "1";
    QTest::newRow("second_letter_no_match") << QStringList { "AB//1//1/A/0" } << 'B' << "1.10" << false << 0 << 0
                                            << QStringList {} << "";
    QTest::newRow("thirteen_entries") << QStringList { "A//1//" + fourteen.mid(0, 13).join(QLatin1Char(';')) } << 'A'
                                      << "1.10" << true << 1 << 13 << QStringList { "0", "T0", "0" } << "0110110110110";
    QTest::newRow("fifteen_entries") << QStringList { "A//1//" + list + ";1/X/3" } << 'A' << "1.10" << true << 1 << 15
                                     << QStringList { "0", "T0", "0" } << "011011011011011";
    QTest::newRow("short_lines_skipped")
        << QStringList { "", "A", "A//1", "////", "A//1//1/FWD/0" } << 'A' << "1.10" << true << 1 << 1
        << QStringList { "1", "FWD", "0" } << "1";
    QTest::newRow("short_entry_keeps_its_row_disabled")
        << QStringList { "A//1//1/FWD;1/REV/1;;0/X/2" } << 'A' << "1.10" << true << 1 << 3
        << QStringList { "1", "FWD" } << "010";
    QTest::newRow("bit_that_is_no_number_disables_its_row")
        << QStringList { "A//1//1/FWD/0;1/REV/x;1/STOP/ 2" } << 'A' << "1.10" << true << 1 << 3
        << QStringList { "1", "FWD", "0" } << "101";
    QTest::newRow("malformed_range_never_applies")
        << QStringList { "A//1//1/A/0//1.00", "A//0//1/B/1" } << 'A' << "1.10" << true << 0 << 1
        << QStringList { "1", "B", "1" } << "1";
}

void tst_MonitorItems::ioStateLine()
{
    QFETCH(QStringList, lines);
    QFETCH(char, series);
    QFETCH(QString, version);
    QFETCH(bool, found);
    QFETCH(int, polarity);
    QFETCH(int, rows);
    QFETCH(QStringList, row0);
    QFETCH(QString, enabled);
    const IoStateLine line = parseIoState(lines, series, version);
    QCOMPARE(line.found, found);
    QCOMPARE(line.polarity, polarity);
    QCOMPARE(line.table.size(), rows);
    if (rows > 0)
        QCOMPARE(line.table.first(), row0);
    QString flags;
    for (const QStringList &row : line.table)
        flags += ioRowEnabled(row) ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(flags, enabled);
}

void tst_MonitorItems::terminalLamp_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("bit");
    QTest::addColumn<int>("polarity");
    QTest::addColumn<bool>("active");
    QTest::newRow("high_bit_set") << 5 << 2 << 1 << true;
    QTest::newRow("high_bit_clear") << 5 << 1 << 1 << false;
    QTest::newRow("low_bit_clear_is_active") << 0xFFFE << 0 << 0 << true;
    QTest::newRow("low_bit_set_is_inactive") << 0xFFFE << 1 << 0 << false;
    QTest::newRow("low_output_word_10_bit1") << 0x000A << 1 << 0 << false;
    QTest::newRow("low_output_word_10_bit2") << 0x000A << 2 << 0 << true;
    QTest::newRow("bit_20_shifts") << (1 << 20) << 20 << 1 << true;
    QTest::newRow("bit_31_sign") << int(0x80000000u) << 31 << 1 << true;
    QTest::newRow("bit_32_off_high") << 0xFFFF << 32 << 1 << false;
    QTest::newRow("bit_40_off_low") << 0 << 40 << 0 << false;
    QTest::newRow("negative_bit_off") << 0 << -1 << 0 << false;
    QTest::newRow("polarity_2_is_low") << 0 << 0 << 2 << true;
}

void tst_MonitorItems::terminalLamp()
{
    QFETCH(int, word);
    QFETCH(int, bit);
    QFETCH(int, polarity);
    QFETCH(bool, active);
    QCOMPARE(ioTerminalActive(word, bit, polarity), active);
}

QTEST_MAIN(tst_MonitorItems)
#include "tst_monitoritems.moc"

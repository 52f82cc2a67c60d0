// The three alarm files and the detail range rules, as plain functions: every row a file's lines
// and what the page takes from them.
#include "monitor/alarmfiles.h"

#include <QtTest>

using namespace alarmfiles;

class tst_AlarmFiles : public QObject
{
    Q_OBJECT
private slots:
    void alarmCodes_data();
    void alarmCodes();
    void ledNames_data();
    void ledNames();
    void errorInfo_data();
    void errorInfo();
    void detailRange_data();
    void detailRange();
    void scaleByKind_data();
    void scaleByKind();
    void detailLines();
};

void tst_AlarmFiles::alarmCodes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<char>("series");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const QStringList shipped { "0-GOOD", "3-OC2", "18-CPU", "112-XYZ" };
    QTest::newRow("first_entry") << shipped << 'A' << 18 << "CPU";
    QTest::newRow("good") << shipped << 'A' << 0 << "GOOD";
    QTest::newRow("unknown_code") << shipped << 'A' << 19 << "";
    QTest::newRow("bi_series_e") << shipped << 'E' << 112 << "BI";
    QTest::newRow("bi_series_x") << shipped << 'X' << 112 << "BI";
    QTest::newRow("no_bi_series_a") << shipped << 'A' << 112 << "XYZ";
    QTest::newRow("extra_fields_ignored") << QStringList { "7-OV2-extra" } << 'A' << 7 << "OV2";
    QTest::newRow("first_match_wins") << QStringList { "7-A", "7-B" } << 'A' << 7 << "A";
    QTest::newRow("not_a_number_is_zero") << QStringList { "x-NAME" } << 'A' << 0 << "NAME";
    QTest::newRow("short_and_empty_lines_skipped") << QStringList { "", "18", "18-CPU" } << 'A' << 18 << "CPU";
}

void tst_AlarmFiles::alarmCodes()
{
    QFETCH(QStringList, lines);
    QFETCH(char, series);
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(alarmTextOf(parseAlarmCodes(lines, series), code), text);
}

void tst_AlarmFiles::ledNames_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<char>("series");
    QTest::addColumn<double>("version");
    QTest::addColumn<QStringList>("names");
    const QStringList file { "A-0-1.00", "0-GOOD-1-OC1", "A-1.00-99", "0-GOOD-2-OC2-3", "D-0-99", "0-GOOD" };
    QTest::newRow("first_range") << file << 'A' << 0.5 << QStringList { "0", "GOOD", "1", "OC1" };
    QTest::newRow("to_is_exclusive") << file << 'A' << 1.0 << QStringList { "0", "GOOD", "2", "OC2", "3" };
    QTest::newRow("other_series") << file << 'D' << 1.0 << QStringList { "0", "GOOD" };
    QTest::newRow("no_series") << file << 'S' << 1.0 << QStringList();
    QTest::newRow("selector_last_line") << QStringList { "A-0-99" } << 'A' << 1.0 << QStringList();
    QTest::newRow("selector_without_versions") << QStringList { "A", "x-Y", "A-0", "x-Z", "A-0-99", "0-OK" } << 'A'
                                               << 1.0 << QStringList { "0", "OK" };
}

void tst_AlarmFiles::ledNames()
{
    QFETCH(QStringList, lines);
    QFETCH(char, series);
    QFETCH(double, version);
    QFETCH(QStringList, names);
    QCOMPARE(ledNamesFor(lines, series, version), names);
}

void tst_AlarmFiles::errorInfo_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<double>("version");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("detailed");
    QTest::addColumn<QString>("ranges");
    const QStringList file { "A//0.1-2.0//5//2//1-7,8-14", "A//2.0-99//3//1//1-7" };
    QTest::newRow("from_is_inclusive") << file << 0.1 << true << 5 << 2 << "1-7,8-14";
    QTest::newRow("to_is_exclusive") << file << 2.0 << true << 3 << 1 << "1-7";
    QTest::newRow("below_every_range") << file << 0.05 << false << 0 << 0 << "";
    QTest::newRow("empty_fields_dropped") << QStringList { "A////0-99//4////2//1-7" } << 1.0 << true << 4 << 2 << "1-7";
    QTest::newRow("short_lines_skipped")
        << QStringList { "A//0-99//5//2", "A", "", "A//0//5//2//1-7", "A//0-99//6//3//8-14" } << 1.0 << true << 6 << 3
        << "8-14";
    QTest::newRow("other_series") << QStringList { "D//0-99//5//2//1-7" } << 1.0 << false << 0 << 0 << "";
    QTest::newRow("1000_records_refused") << QStringList { "A//0-99//1000//2//1-7", "A//0-99//99//1//1-7" } << 1.0
                                          << true << 99 << 1 << "1-7";
    QTest::newRow("0_records_refused") << QStringList { "A//0-99//0//0//1-7" } << 1.0 << false << 0 << 0 << "";
}

void tst_AlarmFiles::errorInfo()
{
    QFETCH(QStringList, lines);
    QFETCH(double, version);
    QFETCH(bool, found);
    QFETCH(int, records);
    QFETCH(int, detailed);
    QFETCH(QString, ranges);
    const ErrorInfo info = errorInfoFor(lines, 'A', version);
    QCOMPARE(info.found, found);
    QCOMPARE(info.records, records);
    QCOMPARE(info.detailed, detailed);
    QCOMPARE(info.ranges, ranges);
}

void tst_AlarmFiles::detailRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("offset");
    QTest::newRow("1-7") << "1-7" << true << 1 << 7 << 0;
    QTest::newRow("8-14_onto_kinds_1_to_7") << "8-14" << true << 8 << 14 << 7;
    QTest::newRow("5-9") << "5-9" << true << 5 << 9 << 5;
    QTest::newRow("8-10_onto_kinds_5_to_7") << "8-10" << true << 8 << 10 << 3;
    QTest::newRow("9-14_onto_kinds_3_to_8") << "9-14" << true << 9 << 14 << 6;
    QTest::newRow("15-21_record_3_onto_kinds_1_to_7") << "15-21" << true << 15 << 21 << 14;
    QTest::newRow("16-18_record_3_onto_kinds_2_to_4") << "16-18" << true << 16 << 18 << 14;
    QTest::newRow("9-20") << "9-20" << true << 9 << 20 << 12;
    QTest::newRow("0-7") << "0-7" << false << 0 << 0 << 0;
    QTest::newRow("0-5") << "0-5" << false << 0 << 0 << 0;
    QTest::newRow("1-60000") << "1-60000" << false << 0 << 0 << 0;
    QTest::newRow("50-120_past_item_99") << "50-120" << false << 0 << 0 << 0;
    QTest::newRow("1-22_longer_than_three_records") << "1-22" << false << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    QTest::newRow("no_dash") << "7" << false << 0 << 0 << 0;
    QTest::newRow("last_below_first") << "7-3" << false << 0 << 0 << 0;
    QTest::newRow("one_end_only") << "3-" << false << 0 << 0 << 0;
}

void tst_AlarmFiles::detailRange()
{
    QFETCH(QString, range);
    QFETCH(bool, valid);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, offset);
    const DetailRange r = parseDetailRange(range);
    QCOMPARE(r.valid, valid);
    QCOMPARE(r.first, first);
    QCOMPARE(r.last, last);
    QCOMPARE(r.offset, offset);
}

void tst_AlarmFiles::scaleByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("tenthHz");
    QTest::addColumn<QString>("invType");
    QTest::addColumn<double>("scale");
    QTest::newRow("frequency") << 1 << false << "VR3-043-5.5K" << 0.01;
    QTest::newRow("frequency_tenth") << 1 << true << "VR3-043-5.5K" << 0.1;
    QTest::newRow("current") << 2 << false << "VR3-043-160K" << 0.01;
    QTest::newRow("current_above_160") << 2 << false << "VR3-043-185K" << 0.1;
    QTest::newRow("current_slash_type") << 2 << false << "VR3/043/200K" << 0.1;
    QTest::newRow("current_short_type") << 2 << false << "VR3-043" << 0.01;
    QTest::newRow("voltage") << 3 << false << "" << 0.01;
    QTest::newRow("temperature") << 4 << false << "" << 0.01;
    QTest::newRow("pn_voltage") << 5 << false << "" << 1.0;
    QTest::newRow("time") << 6 << false << "" << 1.0;
    QTest::newRow("status") << 7 << false << "" << 1.0;
    QTest::newRow("below_1") << 0 << true << "" << 0.01;
    QTest::newRow("above_7") << 8 << true << "" << 1.0;
}

void tst_AlarmFiles::scaleByKind()
{
    QFETCH(int, kind);
    QFETCH(bool, tenthHz);
    QFETCH(QString, invType);
    QFETCH(double, scale);
    QCOMPARE(detailScale(kind, tenthHz, capacityOf(invType)), scale);
}

void tst_AlarmFiles::detailLines()
{
    QString all;
    for (int kind = 0; kind <= 8; ++kind)
        all += detailLine(kind, QString::number(kind));
    QCOMPARE(all, QStringLiteral("         Frequency: 1Hz\n"
                                 "         Current: 2A\n"
                                 "         Output Voltage: 3V\n"
                                 "         The accumulation rate of temperature: 4\n"
                                 "         P-N Voltage: 5V\n"
                                 "         Continuing Operation Time: 6min\n"
                                 "         Status Word: 7\n"));
}

QTEST_GUILESS_MAIN(tst_AlarmFiles)
#include "tst_alarmfiles.moc"

// The terminal-function lists: output functions by series and firmware, and the reader of
// inputAndOutput.txt over small files.
#include "platform/appstate.h"
#include "quicksetup/terminallists.h"
#include "wizardfixture.h"

#include <QtTest>

class TestTerminalLists : public QObject
{
    Q_OBJECT

private slots:
    void outputListBySeriesAndFirmware_data();
    void outputListBySeriesAndFirmware();
    void readerPicksTheDataLine_data();
    void readerPicksTheDataLine();
    void itemTexts_data();
    void itemTexts();
    void shippedFileHasEverySeries_data();
    void shippedFileHasEverySeries();
    void missingFileGivesNothing();
};

void TestTerminalLists::outputListBySeriesAndFirmware_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("last");
    QTest::newRow("D") << 'D' << "1.02" << 9 << "PO3 (Pause detection)";
    QTest::newRow("no series") << '0' << "0" << 9 << "PO3 (Pause detection)";
    QTest::newRow("T 0.39") << 'T' << "0.39" << 11 << "GP (Commercial power-supply output)";
    QTest::newRow("T 0.4") << 'T' << "0.4" << 12 << "OMD1 (zero current detection 1)";
    QTest::newRow("X 0.59") << 'X' << "0.59" << 11 << "GP (Commercial power-supply output)";
    QTest::newRow("X 0.60") << 'X' << "0.60" << 13 << "RY (Converter operation to complete)";
    QTest::newRow("F") << 'F' << "0.1" << 12 << "AUX (Assistant output)";
    QTest::newRow("G 0.25") << 'G' << "0.25" << 12 << "AUX (Assistant output)";
    QTest::newRow("G 0.30") << 'G' << "0.30" << 13 << "FAN (Fan abnormal)";
    QTest::newRow("G text no number") << 'G' << "---" << 12 << "AUX (Assistant output)";
    QTest::newRow("L") << 'L' << "0.1" << 13 << "RY (Converter operation to complete)";
    QTest::newRow("A") << 'A' << "1.10" << 16 << "Capacitor life anomaly";
}

void TestTerminalLists::outputListBySeriesAndFirmware()
{
    QFETCH(char, series);
    QFETCH(QString, firmware);
    QFETCH(int, count);
    QFETCH(QString, last);
    const QStringList items = TerminalLists::outputFunctions(series, TerminalLists::versionNumber(firmware));
    QCOMPARE(items.size(), count);
    QCOMPARE(items.first(), QString("RUN (Inverter running)"));
    QCOMPARE(items.last(), last);
}

void TestTerminalLists::readerPicksTheDataLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<char>("series");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QStringList>("fields");
    const QByteArray two = "AL-0.00-99.99\r\n0.STF-1.STR-2.RL\r\n";
    QTest::newRow("A and L share") << two << 'A' << 1.1 << QStringList { "0.STF", "1.STR", "2.RL" };
    QTest::newRow("L of the same line") << two << 'L' << 0.0 << QStringList { "0.STF", "1.STR", "2.RL" };
    QTest::newRow("X passes over it") << two << 'X' << 0.5 << QStringList {};
    QTest::newRow("upper bound excluded") << two << 'A' << 99.99 << QStringList {};
    const QByteArray bounded = "A-0.20-1.00\n0.ONE\nA-1.00-2\n0.TWO\n";
    QTest::newRow("lower bound included") << bounded << 'A' << 0.20 << QStringList { "0.ONE" };
    QTest::newRow("below the lower bound") << QByteArray("A-0.20-1.00\n0.ONE\n") << 'A' << 0.19 << QStringList {};
    QTest::newRow("next range at its bound") << bounded << 'A' << 1.00 << QStringList { "0.TWO" };
    QTest::newRow("first match wins") << QByteArray("A-0-9\n0.FIRST\nA-0-9\n0.SECOND\n") << 'A' << 1.0
                                      << QStringList { "0.FIRST" };
    QTest::newRow("case counts") << two << 'a' << 1.0 << QStringList {};
    QTest::newRow("empty fields dropped") << QByteArray("A-0-9\n0.STF--1.STR-\n") << 'A' << 1.0
                                          << QStringList { "0.STF", "1.STR" };
    // A line with fewer than three fields is no header, even when its first field names the series.
    QTest::newRow("short lines are no header") << QByteArray("\nA\nA-1\n0.WRONG\nA-0-9\n0.RIGHT\n") << 'A' << 1.0
                                               << QStringList { "0.RIGHT" };
    QTest::newRow("data lines are passed over") << QByteArray("D-0-9\n0.A-1.A-2.A-3.A\nA-0-9\n0.OK\n") << 'A' << 1.0
                                                << QStringList { "0.OK" };
    QTest::newRow("header on the last line") << QByteArray("A-0-9") << 'A' << 1.0 << QStringList {};
    // Without a match the selectors offer nothing, not the last line read.
    QTest::newRow("no match") << QByteArray("D-0-9\n0.X-1.Y\n") << 'A' << 1.0 << QStringList {};
    QTest::newRow("empty file") << QByteArray() << 'A' << 1.0 << QStringList {};
    QTest::newRow("version no number") << QByteArray("A-x-9\n0.ZERO\n") << 'A' << 0.0 << QStringList { "0.ZERO" };
}

void TestTerminalLists::readerPicksTheDataLine()
{
    QFETCH(QByteArray, file);
    QFETCH(char, series);
    QFETCH(double, firmware);
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    g_appDir = dir.path() + QLatin1Char('/');
    QVERIFY(wizardtest::writeTerminalFile(dir.path(), file));
    QCOMPARE(TerminalLists::loadDataFields(series, firmware), fields);
}

void TestTerminalLists::itemTexts_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("second piece") << "0.STF" << "STF";
    QTest::newRow("third piece unused") << "5.AU4.note" << "AU4";
    QTest::newRow("no point") << "STF" << "STF";
    QTest::newRow("point at the end") << "7." << "7.";
    QTest::newRow("empty piece dropped") << "3..RH" << "RH";
}

void TestTerminalLists::itemTexts()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QCOMPARE(TerminalLists::itemText(field), text);
}

void TestTerminalLists::shippedFileHasEverySeries_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("at41");
    QTest::newRow("A") << 'A' << "1.10" << 66 << "41.PWM";
    QTest::newRow("D") << 'D' << "1.02" << 42 << "41.PWM";
    QTest::newRow("S") << 'S' << "0.25" << 42 << "41.PWM";
}

void TestTerminalLists::shippedFileHasEverySeries()
{
    QFETCH(char, series);
    QFETCH(QString, firmware);
    QFETCH(int, count);
    QFETCH(QString, at41);
    g_appDir = binDir() + QLatin1Char('/');
    const QStringList fields = TerminalLists::loadDataFields(series, TerminalLists::versionNumber(firmware));
    QCOMPARE(fields.size(), count);
    QCOMPARE(fields.first(), QString("0.STF"));
    QCOMPARE(fields.at(41), at41);
    if (series == 'A') {
        // Code 42 is not offered: the function after position 41 is code 43; HDI's is code 57.
        QCOMPARE(fields.at(42), QString("43.RUN_EN"));
        QCOMPARE(fields.at(56), QString("57.HDI"));
        QCOMPARE(fields.last(), QString("66.EMS"));
    }
}

void TestTerminalLists::missingFileGivesNothing()
{
    QTemporaryDir dir;
    g_appDir = dir.path() + QLatin1Char('/');
    QVERIFY(TerminalLists::loadDataFields('A', 1.0).isEmpty());
}

QTEST_GUILESS_MAIN(TestTerminalLists)
#include "tst_terminallists.moc"

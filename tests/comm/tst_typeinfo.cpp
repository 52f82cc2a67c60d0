#include "comm/globals.h"
#include "comm/typeinfo.h"
#include "shell/appglobals.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class tst_TypeInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lookup_data();
    void lookup();
    void headerLettersWrittenTogether();
    void missingFileLeavesEveryKeyOff();

private:
    QTemporaryDir m_dir;
};

void tst_TypeInfo::initTestCase()
{
    QVERIFY(m_dir.isValid());
    g_appDir = m_dir.path() + QLatin1Char('/');
    QDir().mkpath(g_appDir + QStringLiteral("ParameterInforamtion/InvType"));
    QFile file(g_appDir + QStringLiteral("ParameterInforamtion/InvType/typeInfo.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("range: A, D, F//comment\r\n"
               "readWrite_99999//1-0-2//0-0-99//1,0,5\r\n"
               "readWrite_99999//0-2-9//1-0-99//0-5-9\r\n"
               "\r\n"
               "split//1,0.5-2////0-0-9\r\n"
               "firstWins//0-0-9//1-0-9//1-0-9\r\n"
               "firstWins//1-0-9//1-0-9//1-0-9\r\n"
               "short//1-0\r\n");
    file.close();
    QVERIFY(loadTypeInfo());
}

void tst_TypeInfo::lookup_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("no_drive_every_key_off") << "readWrite_99999" << '0' << "1" << false;
    QTest::newRow("from_is_inclusive") << "readWrite_99999" << 'A' << "0" << true;
    QTest::newRow("to_is_exclusive_next_row_decides") << "readWrite_99999" << 'A' << "2" << false;
    QTest::newRow("second_column") << "readWrite_99999" << 'D' << "1" << false;
    QTest::newRow("third_column_commas") << "readWrite_99999" << 'F' << "4.9" << true;
    QTest::newRow("third_column_next_range") << "readWrite_99999" << 'F' << "5" << false;
    QTest::newRow("mixed_separators_empty_part_dropped") << "split" << 'A' << "1.5" << true;
    QTest::newRow("mixed_below_from") << "split" << 'A' << "0.4" << false;
    QTest::newRow("doubled_separator_is_one") << "split" << 'D' << "1" << false;
    QTest::newRow("first_row_flag_0_wins") << "firstWins" << 'A' << "1" << false;
    QTest::newRow("unknown_key") << "nothing" << 'A' << "1" << false;
    QTest::newRow("version_not_a_number_is_0") << "readWrite_99999" << 'A' << "abc" << true;
    QTest::newRow("letter_not_in_header") << "readWrite_99999" << 'Q' << "1" << false;
    QTest::newRow("row_without_column") << "short" << 'F' << "0" << false;
    QTest::newRow("cell_with_two_parts") << "short" << 'A' << "0" << false;
}

void tst_TypeInfo::lookup()
{
    QFETCH(QString, key);
    QFETCH(char, series);
    QFETCH(QString, version);
    QFETCH(bool, enabled);
    g_seriesLetter = series;
    g_firmwareVersion = version;
    QCOMPARE(isFeatureEnabled(key), enabled);
}

void tst_TypeInfo::headerLettersWrittenTogether()
{
    const QVector<QStringList> table { { "range:ADF" }, { "k", "0-0-9", "0-0-9", "1-0-9" } };
    QVERIFY(featureEnabledIn(table, QStringLiteral("k"), 'F', QStringLiteral("1")));
    QVERIFY(!featureEnabledIn(table, QStringLiteral("k"), 'D', QStringLiteral("1")));
}

void tst_TypeInfo::missingFileLeavesEveryKeyOff()
{
    const QString saved = g_appDir;
    g_appDir = m_dir.path() + QStringLiteral("/nowhere/");
    QVERIFY(!loadTypeInfo());
    QVERIFY(g_typeInfoTable.isEmpty());
    g_seriesLetter = 'A';
    g_firmwareVersion = QStringLiteral("1");
    QVERIFY(!isFeatureEnabled(QStringLiteral("readWrite_99999")));
    g_appDir = saved;
}

QTEST_GUILESS_MAIN(tst_TypeInfo)
#include "tst_typeinfo.moc"

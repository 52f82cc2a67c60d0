#include "comm/globals.h"
#include "comm/valuerules.h"

#include <QtTest>

class tst_ValueRules : public QObject {
    Q_OBJECT
private slots:
    void modbus_data();
    void modbus();
    void characterProtocol_data();
    void characterProtocol();
    void p188_data();
    void p188();
    void p77OnlyForItsExactSpecialValue();
    void flagsAreTakenAndClearedTogether();
};

void tst_ValueRules::modbus_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("unit");
    QTest::addColumn<bool>("noValue");
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain_scaled") << 0x1234 << 0.01 << false << false << false << 46.6;
    QTest::newRow("8000h_stays_positive") << 0x8000 << 1.0 << false << true << false << 32768.0;
    QTest::newRow("8001h_signed") << 0x8001 << 1.0 << false << true << false << -32767.0;
    QTest::newRow("8001h_unsigned") << 0x8001 << 1.0 << false << false << false << 32769.0;
    QTest::newRow("ffff_special_9999_unit_not_applied") << 0xFFFF << 0.01 << true << false << false << 9999.0;
    QTest::newRow("ffff_special_99999") << 0xFFFF << 0.1 << true << true << true << 99999.0;
    QTest::newRow("ffff_signed_without_novalue") << 0xFFFF << 0.1 << false << true << false << -0.1;
    QTest::newRow("ffff_plain") << 0xFFFF << 1.0 << false << false << true << 65535.0;
}

void tst_ValueRules::modbus()
{
    QFETCH(int, raw);
    QFETCH(double, unit);
    QFETCH(bool, noValue);
    QFETCH(bool, isSigned);
    QFETCH(bool, wide);
    QFETCH(double, expected);
    ValueFlags flags;
    flags.noValue = noValue;
    flags.isSigned = isSigned;
    QCOMPARE(modbusValue(quint16(raw), unit, flags, wide), expected);
}

void tst_ValueRules::characterProtocol_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("noValue");
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("unit"); // 7 = left alone

    QTest::newRow("two_decimals") << QByteArray("\x02" "0113882\x03" "67\r") << false << false << 50.0 << 0.01;
    QTest::newRow("no_decimals") << QByteArray("\x02" "0100640\x03" "00\r") << false << false << 100.0 << 1.0;
    QTest::newRow("foreign_digit_counts_as_none") << QByteArray("\x02" "010064x\x03" "00\r") << false << false
                                                  << 100.0 << 1.0;
    QTest::newRow("signed_one_decimal") << QByteArray("\x02" "01FFF61\x03" "00\r") << false << true << -1.0 << 0.1;
    QTest::newRow("special_value_keeps_unit") << QByteArray("\x02" "01FFFF2\x03" "00\r") << true << true << 9999.0
                                              << 7.0;
    QTest::newRow("refusal_is_no_value") << QByteArray("\x15" "012\r") << false << false << -1.0 << 7.0;
}

void tst_ValueRules::characterProtocol()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, noValue);
    QFETCH(bool, isSigned);
    QFETCH(double, expected);
    QFETCH(double, unit);
    ValueFlags flags;
    flags.noValue = noValue;
    flags.isSigned = isSigned;
    double stored = 7.0;
    QVERIFY(qFuzzyCompare(zrValue(reply.constData(), flags, false, &stored), expected));
    QVERIFY(qFuzzyCompare(stored, unit));
}

void tst_ValueRules::p188_data()
{
    QTest::addColumn<char>("series");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rtu");
    QTest::addColumn<double>("asc");

    QTest::newRow("C_always") << 'C' << 1.5 << 15.0 << 15.0;
    QTest::newRow("S_always") << 'S' << 0.2 << 2.0 << 2.0;
    QTest::newRow("F_always") << 'F' << 0.2 << 2.0 << 2.0;
    QTest::newRow("T_small") << 'T' << 0.004 << 0.04 << 0.004;
    QTest::newRow("T_large") << 'T' << 0.005 << 0.005 << 0.005;
    QTest::newRow("X_below_both") << 'X' << 0.005 << 0.05 << 0.05;
    QTest::newRow("X_rtu_bound") << 'X' << 0.006 << 0.006 << 0.06;
    QTest::newRow("X_asc_bound") << 'X' << 0.6 << 0.6 << 0.6;
    QTest::newRow("G_rtu_bound") << 'G' << 0.004 << 0.004 << 0.04;
    QTest::newRow("G_asc_inclusive") << 'G' << 0.3 << 0.3 << 3.0;
    QTest::newRow("G_asc_above") << 'G' << 0.31 << 0.31 << 0.31;
    QTest::newRow("other_series") << 'A' << 0.001 << 0.001 << 0.001;
}

void tst_ValueRules::p188()
{
    QFETCH(char, series);
    QFETCH(double, value);
    QFETCH(double, rtu);
    QFETCH(double, asc);
    QVERIFY(qFuzzyCompare(rtuP188(value, series), rtu));
    QVERIFY(qFuzzyCompare(ascP188(value, series), asc));
}

void tst_ValueRules::p77OnlyForItsExactSpecialValue()
{
    QCOMPARE(p77Value(65535, false), 9999.0);
    QCOMPARE(p77Value(65535, true), 99999.0);
    QCOMPARE(p77Value(65534, true), 65534.0);
    QCOMPARE(p77Value(655.35, true), 655.35);
}

void tst_ValueRules::flagsAreTakenAndClearedTogether()
{
    g_noValueFlag = true;
    g_signedFlag = true;
    const ValueFlags first = takeValueFlags();
    QVERIFY(first.noValue && first.isSigned);
    QVERIFY(!g_noValueFlag && !g_signedFlag);
    const ValueFlags second = takeValueFlags();
    QVERIFY(!second.noValue && !second.isSigned);
}

QTEST_GUILESS_MAIN(tst_ValueRules)
#include "tst_valuerules.moc"

// Text rules of the parameter table, each with the cases the drive data relies on.

#include "comm/globals.h"
#include "parameter/parameterdefinitions.h"
#include "parameter/paramtext.h"
#include "parameter/parinformation.h"
#include "parameter/relatedunits.h"

#include <QBuffer>
#include <QTest>

using namespace ParamText;

class TestParamText : public QObject {
    Q_OBJECT
private slots:
    void labels_data();
    void labels();
    void labelNumbers_data();
    void labelNumbers();
    void ranges_data();
    void ranges();
    void unitDecimals_data();
    void unitDecimals();
    void variants_data();
    void variants();
    void versionPrefixes_data();
    void versionPrefixes();
    void elementNumbers_data();
    void elementNumbers();
    void voltageCodes_data();
    void voltageCodes();
    void relatedUnitLines_data();
    void relatedUnitLines();
    void variantSelectors_data();
    void variantSelectors();
    void stripUnit_data();
    void stripUnit();
    void hideParameterVersions_data();
    void hideParameterVersions();
    void detailTexts();
};

void TestParamText::labels_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("modbus");
    QTest::newRow("one digit") << "5" << "   P.5" << "0005H";
    QTest::newRow("three digits") << "100" << " P.100" << "0064H";
    QTest::newRow("four digits") << "1000" << "P.1000" << "03E8H";
    QTest::newRow("pseudo row built as 999") << "999" << " P.999" << "03E7H";
    QTest::newRow("last row") << "1599" << "P.1599" << "063FH";
}

void TestParamText::labels()
{
    QFETCH(QString, number);
    QFETCH(QString, label);
    QFETCH(QString, modbus);
    QCOMPARE(rowLabel(number), label);
    QCOMPARE(modbusText(number, label), modbus);
    const QStringList row = parameterRowTexts("--", number, "Name", "--", "0.01Hz", "1.00", "Writable");
    QCOMPARE(row, QStringList({ "--", label, modbus, "Name", "--", "--", "--", "0.01Hz", "1.00", "", "", "Writable" }));
}

void TestParamText::labelNumbers_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("number");
    QTest::newRow("padded") << "   P.5" << 5;
    QTest::newRow("pseudo row from its group code") << "P.99X" << 999;
    QTest::newRow("pseudo row after the first sort") << "P. 99X" << 999;
    QTest::newRow("no number") << "--" << 0;
}

void TestParamText::labelNumbers()
{
    QFETCH(QString, label);
    QTEST(labelNumber(label), "number");
    if (label.contains("99X"))
        QCOMPARE(modbusText("999", label), QString("----"));
}

void TestParamText::ranges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<bool>("special");
    QTest::addColumn<bool>("isSigned");
    QTest::newRow("special 99999") << "0~650.00|99999" << true << "0" << "650.00" << true << false;
    QTest::newRow("special 9999") << "0~1000|9999" << true << "0" << "1000" << true << false;
    QTest::newRow("list with special") << "0~41,43~71,94~97|99999" << true << "0" << "97" << true << false;
    QTest::newRow("chosen variant with special") << "0~100,99999" << true << "0" << "100" << true << false;
    QTest::newRow("signed") << "-100.0~100.0" << true << "-100.0" << "100.0" << false << true;
    QTest::newRow("plain") << "0~30.0" << true << "0" << "30.0" << false << false;
    QTest::newRow("list") << "0~11,16~23,41,50" << true << "0" << "50" << false << false;
    QTest::newRow("undefined") << "--" << false << "" << "" << false << false;
    QTest::newRow("empty variant") << "" << false << "" << "" << false << false;
}

void TestParamText::ranges()
{
    QFETCH(QString, text);
    const Range r = parseRange(text);
    QTEST(r.valid, "valid");
    if (!r.valid)
        return;
    QTEST(r.min, "min");
    QTEST(r.max, "max");
    QTEST(r.special, "special");
    QTEST(r.isSigned, "isSigned");
}

void TestParamText::unitDecimals_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("decimals");
    QTest::newRow("0.01Hz") << "0.01Hz" << 2;
    QTest::newRow("0.1%") << "0.1%" << 1;
    QTest::newRow("1") << "1" << 0;
    QTest::newRow("undefined") << "---" << 0;
    QTest::newRow("0.0001") << "0.0001" << 4;
    QTest::newRow("0.001 ohm") << QString::fromUtf8("0.001Ω") << 3;
    QTest::newRow("1r/min") << "1r/min" << 0;
    QTest::newRow("no digit one") << "Hz" << 0;
}

void TestParamText::unitDecimals()
{
    QFETCH(QString, unit);
    QTEST(ParamText::unitDecimals(unit), "decimals");
}

void TestParamText::variants_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("capacity");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("result");
    const QString boost = "V:1.5,6.0//5.5,4.0//11,3.0//75,2.0";
    QTest::newRow("capacity below first threshold") << boost << "0.75" << "" << "6.0";
    QTest::newRow("capacity equal to a threshold") << boost << "1.5" << "" << "4.0";
    QTest::newRow("capacity above every threshold") << boost << "90" << "" << "";
    QTest::newRow("capacity unit") << "V:160,0.01A//360,0.1A" << "200" << "" << "0.1A";
    QTest::newRow("parameter 0") << "P189:1,50.00//0,60.00" << "" << "0" << "60.00";
    QTest::newRow("parameter 1") << "P189:1,50.00//0,60.00" << "" << "1" << "50.00";
    QTest::newRow("special value in variant") << "P21:0,0~360.00|99999//1,0~3600.0|99999" << "" << "1"
                                              << "0~3600.0,99999";
    QTest::newRow("no matching key") << "P21:0,0~600.00//1,0~6000.0" << "" << "2" << "";
    QTest::newRow("parameter outside the table") << "P1700:0,1//1,2" << "" << "0" << "";
    QTest::newRow("plain text") << "120.00" << "3.7" << "" << "120.00";
    QTest::newRow("undefined") << "---" << "3.7" << "" << "--";
    QTest::newRow("unknown key") << "Q:1,2//3,4" << "3.7" << "" << "";
    QTest::newRow("incomplete pair") << "V:1.5,6.0//5.5" << "3.7" << "" << "";
}

void TestParamText::variants()
{
    QFETCH(QString, text);
    QFETCH(QString, capacity);
    QFETCH(QString, reference);
    QList<int> asked;
    const QString result = pickVariant(text, capacity, [&](int m) {
        asked << m;
        return reference;
    });
    QTEST(result, "result");
    if (text.startsWith("P1") && !text.startsWith("P1700"))
        QCOMPARE(asked, QList<int>({ 189 }));
    if (QByteArray(QTest::currentDataTag()) == "special value in variant") {
        const Range r = parseRange(result);
        QCOMPARE(r.max, QString("3600.0"));
        QVERIFY(r.special);
    }
}

void TestParamText::versionPrefixes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<bool>("applies");
    QTest::addColumn<QString>("result");
    QTest::newRow("upper bound excluded") << "0.13-1.00\\\\Writable" << 1.00 << false << "";
    QTest::newRow("lower bound included") << "0.13-1.00\\\\Writable" << 0.13 << true << "Writable";
    QTest::newRow("below the range") << "0.20-1.00\\\\0~2299|99999" << 0.19 << false << "";
    QTest::newRow("single backslash") << "0.19-0.20\\0~11,16~23,41,50" << 0.19 << true << "0~11,16~23,41,50";
    QTest::newRow("leading space dropped") << " 120.00" << 1.0 << true << "120.00";
    QTest::newRow("no value after the range") << "0.13-1.00\\\\" << 0.5 << false << "";
    QTest::newRow("no prefix") << "Read-Only" << 0.0 << true << "Read-Only";
}

void TestParamText::versionPrefixes()
{
    QFETCH(QString, text);
    QFETCH(double, firmware);
    QString t = text;
    QTEST(takeVersionPrefix(t, firmware), "applies");
    QFETCH(bool, applies);
    if (applies)
        QTEST(t, "result");
}

void TestParamText::elementNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kindLength");
    QTest::addColumn<int>("number");
    QTest::newRow("name") << "Name12" << 4 << 12;
    QTest::newRow("group pseudo row") << "Group99X" << 5 << 999;
    QTest::newRow("name pseudo row") << "Name99X" << 4 << 999;
    QTest::newRow("unit pseudo row") << "Unit99X" << 4 << 999;
    QTest::newRow("no number") << "NameX" << 4 << 0;
    QTest::newRow("beyond the table") << "Name1600" << 4 << -1;
    QTest::newRow("negative") << "Name-5" << 4 << -1;
    QTest::newRow("last row") << "Default1599" << 7 << 1599;
}

void TestParamText::elementNumbers()
{
    QFETCH(QString, name);
    QFETCH(int, kindLength);
    QTEST(elementNumber(name, kindLength), "number");
}

void TestParamText::voltageCodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("applies");
    QTest::newRow("matching code") << "Default9-043" << "043" << true;
    QTest::newRow("other code") << "Default9-043" << "023" << false;
    QTest::newRow("no code") << "Default9" << "023" << true;
}

void TestParamText::voltageCodes()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QTEST(voltageCodeMatches(name, code), "applies");
}

void TestParamText::relatedUnitLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("p7");
    QTest::addColumn<QString>("rule21");
    QTest::newRow("selector reads 1") << "21//0-0.01;1-0.1//7;8//0//" << "1" << true << "0.1" << "1//0-0.01;1-0.1//7;8";
    QTest::newRow("selector reads 0") << "21//0-0.01;1-0.1//7;8//0" << "0" << true << "0.01"
                                      << "0//0-0.01;1-0.1//7;8";
    QTest::newRow("value in no pair") << "21//0-0.01;1-0.1//7;8//0//" << "2" << true << "---" << "2//0-0.01;1-0.1//7;8";
    QTest::newRow("value written 1.0 does not match") << "21//0-0.01;1-0.1//7;8//0//" << "1.0" << true << "---"
                                                      << "1.0//0-0.01;1-0.1//7;8";
    QTest::newRow("three fields") << "21//0-0.01;1-0.1//7;8" << "1" << false << "---" << "";
    QTest::newRow("selector beyond the table") << "1700//0-0.01//7//0//" << "0" << false << "---" << "";
}

void TestParamText::relatedUnitLines()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    RelatedUnitLine fields;
    QTEST(parseRelatedUnitLine(line, fields), "parsed");
    QString texts[ParameterRows];
    for (QString &t : texts)
        t = "---";
    QVector<QString> rules(ParameterRows);
    QFETCH(bool, parsed);
    if (parsed)
        applyRelatedUnitLine(fields, value, texts, rules);
    QTEST(texts[7], "p7");
    QCOMPARE(texts[8], texts[7]);
    QCOMPARE(texts[9], QString("---"));
    QTEST(rules[21], "rule21");
}

void TestParamText::variantSelectors_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("p186");
    QTest::addColumn<bool>("capacitySet");
    QTest::addColumn<QString>("voltage");
    QTest::addColumn<QString>("capacity");
    QTest::newRow("dual rating, light duty") << "VS5-043-5.5K/3.7K" << "1" << true << "043" << "3.7";
    QTest::newRow("dual rating, heavy duty") << "VS5-043-5.5K/3.7K" << "0" << true << "043" << "5.5";
    QTest::newRow("dual rating with KG") << "VS5-043-5.5K/7.5KG" << "1" << true << "043" << "5.5";
    QTest::newRow("single rating") << "VR3-023-0.75K" << "1" << true << "023" << "0.75";
    QTest::newRow("two parts keep the capacity") << "VR3-023" << "1" << false << "023" << "";
}

void TestParamText::variantSelectors()
{
    QFETCH(QString, type);
    QFETCH(QString, p186);
    const VariantSelectors s = variantSelectorsFromType(type, p186);
    QVERIFY(s.voltageSet);
    QTEST(s.capacitySet, "capacitySet");
    QTEST(s.voltage, "voltage");
    QTEST(s.capacity, "capacity");
    QVERIFY(!variantSelectorsFromType("---", p186).voltageSet);
}

void TestParamText::stripUnit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("hertz") << "50.00Hz" << "50.00";
    QTest::newRow("kilohertz before hertz") << "15kHz" << "15";
    QTest::newRow("milliseconds before seconds") << "20ms" << "20";
    QTest::newRow("ohm") << QString::fromUtf8("0.500Ω") << "0.500";
    QTest::newRow("no unit") << "1234" << "1234";
}

void TestParamText::stripUnit()
{
    QFETCH(QString, text);
    QTEST(stripUnitName(text, g_unitNames), "result");
}

void TestParamText::hideParameterVersions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("firmware");
    QTest::addColumn<QString>("result");
    QTest::newRow("in range") << "0.13-1.00\\60.00" << 0.13 << "60.00";
    QTest::newRow("upper bound") << "0.13-1.00\\60.00" << 1.00 << "";
    QTest::newRow("plain") << "60.00" << 1.00 << "60.00";
}

void TestParamText::hideParameterVersions()
{
    QFETCH(QString, text);
    QFETCH(double, firmware);
    QTEST(hideParameterVersionText(text, firmware), "result");
}

void TestParamText::detailTexts()
{
    QByteArray file = "5-7//first;second\r\nno separator here\r\n//zero\r\n1299//beyond\r\n12//replaced\r\n12//last\r\n";
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const QVector<QString> texts = readParameterDetails(&buffer);
    QCOMPARE(texts.size(), 1299);
    QCOMPARE(texts[5], QString("first;second"));
    QCOMPARE(texts[7], QString("first;second"));
    QVERIFY(texts[6].isEmpty());
    QCOMPARE(texts[0], QString("zero"));
    QCOMPARE(texts[12], QString("last"));
    QCOMPARE(helpMinimumVersion('A'), 0.2);
    QCOMPARE(helpMinimumVersion('S'), 1000.0);
}

QTEST_GUILESS_MAIN(TestParamText)
#include "tst_paramtext.moc"

// Value rules of the transfers: resolutions, register values of value texts, read texts, W_Par.txt.

#include "parameter/paramglobals.h"
#include "parameter/relatedunits.h"
#include "parameter/valuetext.h"

#include <QBuffer>
#include <QTest>

using namespace ValueText;

class TestValueText : public QObject {
    Q_OBJECT
private slots:
    void resolutionDecimals_data();
    void resolutionDecimals();
    void rawValue_data();
    void rawValue();
    void readText_data();
    void readText();
    void undefinedUnitResolution_data();
    void undefinedUnitResolution();
    void deferredList_data();
    void deferredList();
    void relatedUnitUpdate_data();
    void relatedUnitUpdate();
};

void TestValueText::resolutionDecimals_data()
{
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("writing");
    QTest::newRow("unit with hundredths") << "0.01Hz" << 2 << 100;
    QTest::newRow("tenths") << "0.1" << 1 << 10;
    QTest::newRow("thousandths ohm") << QString::fromUtf8("0.001Ω") << 3 << 1000;
    QTest::newRow("ten-thousandths") << "0.0001" << 4 << 10000;
    QTest::newRow("whole unit") << "1r/min" << 0 << 1;
    QTest::newRow("one at position 1") << "01" << 0 << 1;
    QTest::newRow("undefined unit counts as 1") << "--" << 0 << 1;
    QTest::newRow("no one") << "V" << -1 << -1;
    QTest::newRow("one beyond position 5") << "0.00001" << -1 << -1;
    QTest::newRow("empty") << "" << -1 << -1;
}

void TestValueText::resolutionDecimals()
{
    QFETCH(QString, resolution);
    QFETCH(int, reading);
    QFETCH(int, writing);
    QCOMPARE(decimalsOf(resolution, false), reading);
    QCOMPARE(decimalsOf(resolution, true), writing);
}

void TestValueText::rawValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("raw");
    QTest::newRow("negative tenths") << "-5" << "0.1" << 65486;
    QTest::newRow("half up on the decimal digits") << "12.345" << "0.01" << 1235;
    QTest::newRow("just below half") << "12.3449" << "0.01" << 1234;
    QTest::newRow("hundredths top") << "655.35" << "0.01Hz" << 65535;
    QTest::newRow("special 9999") << "9999" << "0.01" << 65535;
    QTest::newRow("special negative") << "-9999" << "1" << 65535;
    QTest::newRow("special 99999") << "99999" << "0.1" << 65535;
    QTest::newRow("special with zero fraction") << "9999.00" << "1" << 65535;
    QTest::newRow("too large") << "70000" << "1" << int(OutOfRange);
    QTest::newRow("too large after scaling") << "655.36" << "0.01" << int(OutOfRange);
    QTest::newRow("many digits") << "12345678" << "1" << int(OutOfRange);
    QTest::newRow("leading zeros") << "0000000012" << "1" << 12;
    QTest::newRow("lowest negative") << "-32768" << "1" << 32768;
    QTest::newRow("below lowest negative") << "-32769" << "1" << int(OutOfRange);
    QTest::newRow("below lowest negative scaled") << "-3276.9" << "0.1" << int(OutOfRange);
    QTest::newRow("minus one") << "-1" << "1" << 65535;
    QTest::newRow("negative zero") << "-0" << "1" << 0;
    QTest::newRow("negative rounding to zero") << "-0.04" << "0.1" << 0;
    QTest::newRow("plus sign") << "+7" << "1" << 7;
    QTest::newRow("surrounding spaces") << " 12.5 " << "0.1" << 125;
    QTest::newRow("point first") << ".25" << "0.01" << 25;
    QTest::newRow("point last") << "3." << "0.1" << 30;
    QTest::newRow("no usable resolution") << "5" << "V" << int(NoResolution);
    QTest::newRow("resolution too fine") << "5" << "0.00001" << int(NoResolution);
    QTest::newRow("letters") << "abc" << "1" << int(NotANumber);
    QTest::newRow("sign alone") << "-" << "1" << int(NotANumber);
    QTest::newRow("with a unit") << "50Hz" << "0.01" << int(NotANumber);
    QTest::newRow("dash inside") << "1-2" << "1" << int(NotANumber);
    QTest::newRow("double sign") << "--5" << "1" << int(NotANumber);
    QTest::newRow("exponent") << "1e3" << "1" << int(NotANumber);
    QTest::newRow("two points") << "1.2.3" << "0.1" << int(NotANumber);
    QTest::newRow("empty") << "" << "1" << int(NotANumber);
    QTest::newRow("point alone") << "." << "1" << int(NotANumber);
    QTest::newRow("wide digits") << QString::fromUtf8("\xef\xbc\x95") << "1" << int(NotANumber);
}

void TestValueText::rawValue()
{
    QFETCH(QString, value);
    QFETCH(QString, resolution);
    QFETCH(int, raw);
    QCOMPARE(toRawValue(value, resolution), raw);
    QCOMPARE(isPlainNumber(value), raw != int(NotANumber));
}

void TestValueText::readText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("hundredths") << 650.0 << 0.01 << "650.00";
    QTest::newRow("tenths negative") << -5.0 << 0.1 << "-5.0";
    QTest::newRow("signed minus one is a value") << -1.0 << 0.01 << "-1.00";
    QTest::newRow("minus one and a half keeps its fraction") << -1.5 << 0.1 << "-1.5";
    QTest::newRow("special 9999 whatever the decimals") << 9999.0 << 0.01 << "9999";
    QTest::newRow("special 99999") << 99999.0 << 0.1 << "99999";
    QTest::newRow("whole") << 1440.0 << 1.0 << "1440";
    QTest::newRow("thousandths") << 0.11 << 0.001 << "0.110";
    QTest::newRow("exponent-form scale") << 0.00012 << 0.00001 << "0.00012";
    QTest::newRow("unknown scale") << 3.0 << 0.0 << "3.000000";
}

void TestValueText::readText()
{
    QFETCH(double, value);
    QFETCH(double, scale);
    QFETCH(QString, text);
    QCOMPARE(formatReadValue(value, readDecimals(scale)), text);
}

void TestValueText::undefinedUnitResolution_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("resolution");
    QTest::newRow("two decimals") << "12.34" << "0.01";
    QTest::newRow("one decimal") << "-0.5" << "0.1";
    QTest::newRow("four decimals") << "0.0001" << "0.0001";
    QTest::newRow("five decimals") << "1.23456" << "1";
    QTest::newRow("whole") << "12" << "1";
    QTest::newRow("point first") << ".5" << "1";
    QTest::newRow("point last") << "3." << "1";
}

void TestValueText::undefinedUnitResolution()
{
    QFETCH(QString, value);
    QFETCH(QString, resolution);
    QCOMPARE(resolutionFromValueText(value), resolution);
}

void TestValueText::deferredList_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<char>("series");
    QTest::addColumn<QList<int>>("deferred");
    QTest::newRow("dashes and P") << QByteArray("A:P120-121P122-128\r\nD:P90\r\n") << 'A' << QList<int> { 120, 121, 122, 128 };
    QTest::newRow("second line") << QByteArray("A:P120\nD:P91-129\n") << 'D' << QList<int> { 91, 129 };
    QTest::newRow("first line of the series counts") << QByteArray("S:P1\nS:P2\n") << 'S' << QList<int> { 1 };
    QTest::newRow("other series only") << QByteArray("A:P120\n") << 'S' << QList<int> {};
    QTest::newRow("no colon") << QByteArray("S\nS:P5\n") << 'S' << QList<int> {};
    QTest::newRow("numbers outside the table and words") << QByteArray("S:P1600-x-7--1\n") << 'S' << QList<int> { 1, 7 };
    QTest::newRow("empty file") << QByteArray() << 'A' << QList<int> {};
}

void TestValueText::deferredList()
{
    QFETCH(QByteArray, file);
    QFETCH(char, series);
    QFETCH(QList<int>, deferred);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const QVector<bool> flags = readDeferredParameters(&buffer, series);
    QCOMPARE(flags.size(), ParameterRows);
    QList<int> found;
    for (int n = 0; n < flags.size(); ++n) {
        if (flags.at(n))
            found << n;
    }
    QCOMPARE(found, deferred);
    QCOMPARE(readDeferredParameters(nullptr, series), QVector<bool>(ParameterRows, false));
}

void TestValueText::relatedUnitUpdate_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("p7");
    QTest::addColumn<QString>("p8");
    QTest::newRow("value 1 gives tenths") << "0//0-0.01;1-0.1//7;8" << "1" << "0.1" << "0.1";
    QTest::newRow("value 0 gives hundredths") << "1//0-0.01;1-0.1//7;8" << "0" << "0.01" << "0.01";
    QTest::newRow("texts compare exactly") << "0//0-0.01;1-0.1//7;8" << "1.0" << "---" << "---";
    QTest::newRow("unpaired value") << "0//0-0.01;1-0.1//7;8" << "2" << "---" << "---";
    QTest::newRow("two fields") << "0//0-0.01;1-0.1" << "1" << "---" << "---";
    QTest::newRow("numbers outside the table") << "0//1-0.1//-3;7;1600;99999" << "1" << "0.1" << "---";
    QTest::newRow("selector value only") << "1" << "1" << "---" << "---";
}

void TestValueText::relatedUnitUpdate()
{
    QFETCH(QString, rule);
    QFETCH(QString, written);
    QFETCH(QString, p7);
    QFETCH(QString, p8);
    QVector<QString> texts(ParameterRows, QStringLiteral("---"));
    updateRelatedUnits(rule, written, texts.data());
    QCOMPARE(texts.at(7), p7);
    QCOMPARE(texts.at(8), p8);
    QCOMPARE(texts.count(QStringLiteral("---")), ParameterRows - (p7 != "---") - (p8 != "---"));
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"

// The shipped drive-type data files and the simulator's scenarios describe the same drives.
#include "testdirs.h"

#include <QFile>
#include <cmath>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList lines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString invTypeDir() { return sourceDir() + QStringLiteral("/src/data/ParameterInforamtion/InvType/"); }

// A scenario's value for a key, following its includes.
QString scenarioValue(const QString &file, const QString &key)
{
    const QString dir = sourceDir() + QStringLiteral("/tools/drivesim/scenarios/");
    for (const QString &l : lines(dir + file)) {
        const QStringList w = l.simplified().split(QLatin1Char(' '));
        if (w.size() > 1 && w.at(0) == key)
            return w.at(1);
    }
    return QString();
}

} // namespace

class TestDriveData : public QObject
{
    Q_OBJECT

private slots:
    void scenarioIdentifiesItsType_data();
    void scenarioIdentifiesItsType();
    void commandTableHoldsEveryCode();
    void featureTableCoversEveryKeyAndSeries();
};

void TestDriveData::scenarioIdentifiesItsType_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("typeText");
    for (const char *proto : {"rtu", "ascii", "taviron"}) {
        QTest::newRow(qPrintable(QStringLiteral("A-%1").arg(QLatin1String(proto)))) << QStringLiteral("A-%1.drive").arg(QLatin1String(proto)) << "VR3-043-5.5K";
        QTest::newRow(qPrintable(QStringLiteral("D-%1").arg(QLatin1String(proto)))) << QStringLiteral("D-%1.drive").arg(QLatin1String(proto)) << "VM3-023-7.5K";
        QTest::newRow(qPrintable(QStringLiteral("S-%1").arg(QLatin1String(proto)))) << QStringLiteral("S-%1.drive").arg(QLatin1String(proto)) << "VS5-043-0.75K";
    }
    QTest::newRow("A1-rtu") << QStringLiteral("A1-rtu.drive") << "VR3-043-5.5K"; // model code 1: voltage class 13
}

void TestDriveData::scenarioIdentifiesItsType()
{
    QFETCH(QString, scenario);
    QFETCH(QString, typeText);
    const QString series = scenarioValue(scenario, QStringLiteral("series"));
    const int typeCode = scenarioValue(scenario, QStringLiteral("typecode")).toInt();
    const int p90 = scenarioValue(scenario, QStringLiteral("p90")).toInt();
    const int firmware = scenarioValue(scenario, QStringLiteral("firmware")).toInt();
    QStringList fields;
    for (const QString &l : lines(invTypeDir() + QStringLiteral("InvType.txt"))) {
        const QStringList f = l.split(QStringLiteral("//"), Qt::SkipEmptyParts);
        if (f.size() > 5 && f.at(5).toInt() == typeCode)
            fields = f;
    }
    QVERIFY2(fields.size() > 6, "no line of InvType.txt has the scenario's type code");
    QCOMPARE(fields.at(0), series);
    // The firmware in the decimals the drive reports P.188 with.
    const QStringList p188 = lines(sourceDir() + "/tools/drivesim/scenarios/" + scenarioValue(scenario, "include"))
                                 .filter(QRegularExpression(QStringLiteral("^P 188 "))).value(0).split(' ');
    QVERIFY(p188.size() >= 5);
    QCOMPARE(qRound(fields.at(2).toDouble() * std::pow(10, p188.at(4).toInt())), firmware);
    const QStringList cell = fields.value(5 + p90 / 100).split(QLatin1Char('-'), Qt::SkipEmptyParts);
    QCOMPARE(cell.size(), 2);
    const QString t = fields.at(1) + QLatin1Char('-') + cell.at(0);
    const int capacity = p90 % 100 - cell.at(1).toInt();

    const QStringList mgr = lines(invTypeDir() + QStringLiteral("InvType.mgr"));
    QVERIFY(mgr.value(1).split(QRegularExpression(QStringLiteral("=|,")), Qt::SkipEmptyParts).contains(t));
    const int section = mgr.indexOf(QLatin1Char('[') + t + QLatin1Char(']'));
    QVERIFY(section > 0);
    const QStringList power = mgr.value(section + 1).split(QRegularExpression(QStringLiteral("=|,")), Qt::SkipEmptyParts);
    QCOMPARE(power.value(0), QStringLiteral("POWER"));
    QVERIFY(capacity > 0 && capacity < power.size());
    QCOMPARE(t + QLatin1Char('-') + power.at(capacity), typeText);
}

void TestDriveData::commandTableHoldsEveryCode()
{
    QSet<QString> codes[3];
    for (const QString &l : lines(invTypeDir() + QStringLiteral("FNC.txt"))) {
        const QStringList f = l.split(QLatin1Char('-'));
        const int protocol = f.at(0).toInt();
        QVERIFY(protocol >= 0 && protocol <= 2);
        codes[protocol] << (protocol == 1 ? f.at(1) + f.at(2) + f.at(3) : f.at(1));
        if (protocol == 1)
            QCOMPARE(f.size(), 9); // three code characters and five body bytes
    }
    const QStringList named{"CU0", "EXT", "JOG", "FWD", "REV", "STO", "FRE", "MOD", "STA", "M0N", "M1N", "MCR",
                            "991", "992", "996", "997", "998", "999", "MAW", "MAR", "MBW", "MBR", "M0R", "M2R"};
    for (const QString &code : named)
        for (int p = 0; p < 3; ++p)
            QVERIFY2(codes[p].contains(code), qPrintable(QStringLiteral("%1 missing for protocol %2").arg(code).arg(p)));
    QCOMPARE(codes[0], codes[1]);
    QCOMPARE(codes[1], codes[2]);
}

void TestDriveData::featureTableCoversEveryKeyAndSeries()
{
    const QStringList rows = lines(invTypeDir() + QStringLiteral("typeInfo.txt"));
    QString letters = rows.value(0).split(QStringLiteral("//")).value(0);
    letters.remove(QStringLiteral("range:")).remove(QLatin1Char(',')).remove(QLatin1Char(' '));
    for (const QString &l : lines(invTypeDir() + QStringLiteral("InvType.txt")))
        QVERIFY(letters.contains(l.at(0)));
    QSet<QString> keys;
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList f = rows.at(i).split(QStringLiteral("//"), Qt::SkipEmptyParts);
        QCOMPARE(f.size(), letters.size() + 1);
        keys << f.at(0);
    }
    const QStringList asked{"readWrite_99999", "readWrite_H", "Parameter_readP991", "Navigation_readP187", "alarmcode_readP187",
                            "mainDialPlot_ioState", "monitorthread_readInverterInfo_A", "monitorthread_readInverterInfo_BCS",
                            "monitorthread_readInverterInfo_E", "monitorthread_readInverterInfo_F", "monitorthread_readInverterInfo_H",
                            "monitorthread_readInverterInfo_L", "monitorthread_readInverterInfo_XGTY", "Parameter_readP186",
                            "Parameter_writeP188", "Parameter_NotH", "Parameter_H", "quicksetup_P7", "quicksetup_P8",
                            "quicksetup_P126-P130", "quicksetup_P80-P86NotH", "quicksetup_setCurrentIndex",
                            "quicksetup_outVolSpinBox", "quicksetup_H", "quicksetup_GF", "ram_AdressLineEdit"};
    for (const QString &key : asked)
        QVERIFY2(keys.contains(key), qPrintable(key));
}

QTEST_GUILESS_MAIN(TestDriveData)
#include "tst_drivedata.moc"

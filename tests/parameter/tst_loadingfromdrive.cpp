// Loading the series S table against the simulated drive: the selector parameters and the firmware
// version the drive reports choose the variants the table shows, and a station that has not passed
// the connection test is loaded without a word on the line, which leaves the next load free to read.

#include "parameter/paramglobals.h"
#include "parameter/relatedunits.h"
#include "transferfixture.h"

namespace {

QStringList driveParameters(int p21, int p188, int p189)
{
    return { QStringLiteral("series S"),
             QStringLiteral("typecode 40"),
             QStringLiteral("P 21 %1 0..1 0").arg(p21),
             QStringLiteral("P 188 %1 0..65535 2 ro").arg(p188),
             QStringLiteral("P 189 %1 0..1 0").arg(p189) };
}

} // namespace

class TestLoadingFromDrive : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_f.setUpProgram()); }
    void cleanupTestCase() { m_f.tearDown(); }
    void init() { m_f.resetState(); }
    void cleanup() { m_f.stopDrive(); }

    void driveValuesChooseVariants_data();
    void driveValuesChooseVariants();
    void untestedStationIsLoadedWithoutReading();
    void shippedDriveKeepsItsVersion_data();
    void shippedDriveKeepsItsVersion();

private:
    QString cell(int parameter, int column) const { return m_f.form()->cellText(m_f.rowOf(parameter), column); }

    TransferFixture m_f;
};

void TestLoadingFromDrive::driveValuesChooseVariants_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("p21");
    QTest::addColumn<int>("p188");
    QTest::addColumn<int>("p189");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("maxP7");     // range chosen by P.21
    QTest::addColumn<QString>("resolution"); // of P.7 from the related-unit file
    QTest::addColumn<QString>("defaultP3"); // default chosen by P.189
    QTest::addColumn<QString>("maxP40");    // range chosen by the firmware version
    QTest::addColumn<QString>("commentP22"); // read-only before firmware 0.20

    const char *names[] = { "taviron", "modbus_rtu", "modbus_ascii" };
    for (int p = 0; p < 3; ++p) {
        QTest::newRow(qPrintable(QString(names[p]) + "_ones_firmware_0.16"))
            << p << 1 << 16 << 1 << "0.16" << "3600.0" << "0.1" << "50.00" << "21" << "Read-Only";
        QTest::newRow(qPrintable(QString(names[p]) + "_zeros_firmware_0.20"))
            << p << 0 << 20 << 0 << "0.2" << "360.00" << "0.01" << "60.00" << "22" << "Writable";
    }
    // Above 1.0 only the fraction counts: 2.05 is version 0.05, which no range of P.40 admits.
    QTest::newRow("taviron_firmware_2.05") << 0 << 1 << 205 << 1 << "0.05" << "3600.0" << "0.1" << "50.00" << "--" << "--";
}

void TestLoadingFromDrive::driveValuesChooseVariants()
{
    QFETCH(int, protocol);
    QFETCH(int, p21);
    QFETCH(int, p188);
    QFETCH(int, p189);
    QVERIFY(m_f.connectDrive(protocol, driveParameters(p21, p188, p189)));

    m_f.loadSeriesS();

    QVERIFY2(m_f.boxes.texts.isEmpty(), qPrintable(m_f.boxes.texts.join('|')));
    QVERIFY(!g_offLine);
    QVERIFY(g_driveLookupEnabled);
    QTEST(g_firmwareVersion, "firmware");
    QVERIFY(g_versionRead);
    QTEST(cell(7, 6), "maxP7");
    QTEST(g_relatedUnitText[7], "resolution");
    QTEST(cell(3, 8), "defaultP3");
    QTEST(cell(40, 6), "maxP40");
    QTEST(cell(22, 11), "commentP22");
    QFETCH(QString, commentP22);
    QCOMPARE(g_readOnlyFlags[22], commentP22 == "Read-Only" ? 1 : 0);

    // The version and the two selectors, each once; the references of the variants come from the
    // related-unit rules without further reads.
    QList<int> read;
    for (const WireRequest &r : TransferFixture::only(m_f.requests(protocol), QStringLiteral("read")))
        read << r.parameter;
    QCOMPARE(read, (QList<int> { 188, 189, 21 }));
}

void TestLoadingFromDrive::untestedStationIsLoadedWithoutReading()
{
    QVERIFY(m_f.connectDrive(0, driveParameters(1, 16, 1)));
    m_f.window()->navigation->stationTested[1] = 0;

    m_f.loadSeriesS();

    QVERIFY(m_f.requests(0).isEmpty());
    QVERIFY(m_f.boxes.texts.isEmpty());
    // The drive was not asked: the file's fallback for P.21, 0 for P.189, the firmware of the drive
    // type. A read that was never made is no failed one, so the look-ups stay on.
    QVERIFY(g_driveLookupEnabled);
    QVERIFY(!g_versionRead);
    QCOMPARE(g_firmwareVersionText, QStringLiteral("---"));
    QCOMPARE(g_firmwareVersion, QStringLiteral("0.25"));
    QCOMPARE(cell(7, 6), QStringLiteral("360.00"));
    QCOMPARE(g_relatedUnitText[7], QStringLiteral("0.01"));
    QCOMPARE(cell(3, 8), QStringLiteral("60.00"));
    QCOMPARE(cell(40, 6), QStringLiteral("50"));

    // Once the station has passed its test, loading reads the version and the selectors again.
    m_f.window()->navigation->stationTested[1] = 1;
    m_f.loadSeriesS();
    QCOMPARE(g_firmwareVersion, QStringLiteral("0.16"));
    QCOMPARE(cell(40, 6), QStringLiteral("21"));
    QCOMPARE(cell(3, 8), QStringLiteral("50.00"));
    QCOMPARE(cell(7, 6), QStringLiteral("3600.0"));
    QCOMPARE(g_relatedUnitText[7], QStringLiteral("0.1"));
    QList<int> read;
    for (const WireRequest &r : TransferFixture::only(m_f.requests(0), QStringLiteral("read")))
        read << r.parameter;
    QCOMPARE(read, (QList<int> { 188, 189, 21 }));
}

void TestLoadingFromDrive::shippedDriveKeepsItsVersion_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("scenario");
    QTest::newRow("taviron") << 0 << "S-taviron.drive";
    QTest::newRow("modbus_rtu") << 1 << "S-rtu.drive";
    QTest::newRow("modbus_ascii") << 2 << "S-ascii.drive";
}

// The series S drive of the simulator and the type list agree on the firmware, so reading the
// drive while loading changes neither the version nor what the table and the features offer.
void TestLoadingFromDrive::shippedDriveKeepsItsVersion()
{
    QFETCH(int, protocol);
    QFETCH(QString, scenario);
    const QString folder = sourceDir() + QStringLiteral("/tools/drivesim/scenarios/");
    QFile file(folder + scenario);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList lines;
    for (const QString &line : QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'))) {
        const QString key = line.section(QLatin1Char(' '), 0, 0);
        if (key == QLatin1String("include"))
            lines << QStringLiteral("include ") + folder + line.section(QLatin1Char(' '), 1);
        else if (QStringList { "series", "typecode", "p90", "firmware", "p186" }.contains(key))
            lines << line;
    }
    QVERIFY(lines.filter(QStringLiteral("firmware ")).size() == 1);

    QString listed;
    QFile types(g_appDir + QStringLiteral("ParameterInforamtion/InvType/InvType.txt"));
    QVERIFY(types.open(QIODevice::ReadOnly | QIODevice::Text));
    for (const QString &line : QString::fromLatin1(types.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("S//")))
            listed = line.section(QStringLiteral("//"), 2, 2);
    }

    QVERIFY(m_f.connectDrive(protocol, lines));
    const QStringList features { "readWrite_99999", "mainDialPlot_ioState", "Parameter_writeP188" };
    auto seen = [&] {
        QTableWidget *table = m_f.form()->PartableWidget;
        QStringList out { cell(40, 6), cell(22, 11), QString::number(table->isRowHidden(m_f.rowOf(195))),
                          QString::number(table->isRowHidden(m_f.rowOf(196))) };
        for (const QString &key : features)
            out << QString::number(isFeatureEnabled(key));
        return out;
    };

    // The station has not passed its test: the type list's version stands.
    m_f.window()->navigation->stationTested[1] = 0;
    m_f.loadSeriesS();
    QCOMPARE(g_firmwareVersion, listed);
    QVERIFY(!g_versionRead);
    const QStringList before = seen();
    QCOMPARE(before, (QStringList { "50", "Writable", "0", "1", "1", "1", "1" }));

    m_f.window()->navigation->stationTested[1] = 1;
    m_f.loadSeriesS();
    QVERIFY(g_versionRead);
    QCOMPARE(TransferFixture::only(m_f.requests(protocol), QStringLiteral("read")).value(0).parameter, 188);
    QCOMPARE(g_firmwareVersionText.toDouble(), listed.toDouble());
    QCOMPARE(g_firmwareVersion, listed);
    QCOMPARE(seen(), before);
}

QTEST_MAIN(TestLoadingFromDrive)
#include "tst_loadingfromdrive.moc"

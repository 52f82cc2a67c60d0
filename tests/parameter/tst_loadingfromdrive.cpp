// Loading the series S table against the simulated drive: the selector parameters and the firmware
// version the drive reports choose the variants the table shows, and a station that has not passed
// the connection test is loaded without a word on the line.

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
    QTest::addColumn<QString>("commentP22"); // read-only before firmware 1.00

    const char *names[] = { "taviron", "modbus_rtu", "modbus_ascii" };
    for (int p = 0; p < 3; ++p) {
        QTest::newRow(qPrintable(QString(names[p]) + "_ones_firmware_0.80"))
            << p << 1 << 80 << 1 << "0.8" << "3600.0" << "0.1" << "50.00" << "21" << "Read-Only";
        QTest::newRow(qPrintable(QString(names[p]) + "_zeros_firmware_1.00"))
            << p << 0 << 100 << 0 << "1" << "360.00" << "0.01" << "60.00" << "22" << "Writable";
    }
    // Above 1.0 only the fraction counts: 2.13 is version 0.13, which no range of P.40 admits.
    QTest::newRow("taviron_firmware_2.13") << 0 << 1 << 213 << 1 << "0.13" << "3600.0" << "0.1" << "50.00" << "--" << "--";
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
    QVERIFY(m_f.connectDrive(0, driveParameters(1, 80, 1)));
    m_f.window()->navigation->stationTested[1] = 0;

    m_f.loadSeriesS();

    QVERIFY(m_f.requests(0).isEmpty());
    QVERIFY(m_f.boxes.texts.isEmpty());
    // The values of a drive that did not answer: the file's fallback for P.21, 0 for P.189, the
    // firmware of the drive type; and no live reads for the rest of the run.
    QVERIFY(!g_driveLookupEnabled);
    QVERIFY(!g_versionRead);
    QCOMPARE(g_firmwareVersionText, QStringLiteral("---"));
    QCOMPARE(g_firmwareVersion, QStringLiteral("2.05"));
    QCOMPARE(cell(7, 6), QStringLiteral("360.00"));
    QCOMPARE(cell(3, 8), QStringLiteral("60.00"));
    QCOMPARE(cell(40, 6), QStringLiteral("50"));

    // Once the station has passed its test the firmware version is read again; the selectors keep
    // the values of a drive that did not answer.
    m_f.window()->navigation->stationTested[1] = 1;
    m_f.loadSeriesS();
    QCOMPARE(g_firmwareVersion, QStringLiteral("0.8"));
    QCOMPARE(cell(40, 6), QStringLiteral("21"));
    QCOMPARE(cell(3, 8), QStringLiteral("60.00"));
    QCOMPARE(cell(7, 6), QStringLiteral("360.00"));
}

QTEST_MAIN(TestLoadingFromDrive)
#include "tst_loadingfromdrive.moc"

// Loading the series S table against the simulated drive: the selector parameters and the firmware
// version the drive reports choose the variants the table shows, and a station that has not passed
// the connection test is loaded without a word on the line, which leaves the next load free to read.

#include "monitor/mainadvplot.h"
#include "monitor/maindialplot.h"
#include "monitor/monitorglobals.h"
#include "parameter/paramglobals.h"
#include "parameter/parinformation.h"
#include "parameter/relatedunits.h"
#include "seriesfixture.h"
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
    QTest::addColumn<QString>("defaultP24"); // FFFFh reads as 9999 before firmware 0.20

    const char *names[] = { "taviron", "modbus_rtu", "modbus_ascii" };
    for (int p = 0; p < 3; ++p) {
        QTest::newRow(qPrintable(QString(names[p]) + "_ones_firmware_0.16"))
            << p << 1 << 16 << 1 << "0.16" << "3600.0" << "0.1" << "50.00" << "21" << "Read-Only" << "9999";
        QTest::newRow(qPrintable(QString(names[p]) + "_zeros_firmware_0.20"))
            << p << 0 << 20 << 0 << "0.2" << "360.00" << "0.01" << "60.00" << "22" << "Writable" << "99999";
    }
    // Above 1.0 only the fraction counts: 2.05 is version 0.05, below the later copies of P.40 and P.22, so their
    // lowest applies.
    QTest::newRow("taviron_firmware_2.05") << 0 << 1 << 205 << 1 << "0.05" << "3600.0" << "0.1" << "50.00" << "20"
                                           << "Read-Only" << "9999";
}

void TestLoadingFromDrive::driveValuesChooseVariants()
{
    QFETCH(int, protocol);
    QFETCH(int, p21);
    QFETCH(int, p188);
    QFETCH(int, p189);
    QVERIFY(m_f.connectDrive(protocol, driveParameters(p21, p188, p189)));

    m_f.loadSeriesS();

    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
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
    QTEST(cell(24, 8), "defaultP24");
    QCOMPARE(cell(24, 6), QString("650.00"));
    // The Chinese comment follows the same firmware ranges.
    g_language = 1;
    m_f.form()->loadLocalizedNames();
    QCOMPARE(cell(22, 11), commentP22 == "Read-Only" ? QString("只-读") : commentP22 == "Writable" ? "可写" : commentP22);
    g_language = 0;

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
    QVERIFY(m_f.boxes.texts().isEmpty());
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
    QTest::addColumn<QString>("scenario");
    for (const char *protocol : { "taviron", "rtu", "ascii" })
        for (const char *series : { "A", "D", "S" })
            QTest::addRow("%s-%s", series, protocol) << QStringLiteral("%1-%2.drive").arg(series, protocol);
    QTest::addRow("A1-rtu") << QStringLiteral("A1-rtu.drive"); // series A's application model
}

// Each shipped drive of the simulator and the type list agree on the firmware, so finding and loading the drive,
// twice in every language, changes neither the version nor what the table, the help and the features offer.
void TestLoadingFromDrive::shippedDriveKeepsItsVersion()
{
    QFETCH(QString, scenario);
    const SeriesSetup s = seriesSetup(scenario.at(0).toLatin1());
    for (int load = 0; load < 6; ++load) { // the first of each language's two loads as the connection test does
        QVERIFY(load % 2 || m_f.connectShipped(scenario, load / 2).startsWith(s.model));
        if (load % 2)
            m_f.form()->loadParameterTable();
        QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
        QVERIFY2(g_versionRead && g_firmwareVersionText == s.firmware && g_firmwareVersion == s.firmware,
                 qPrintable(QString::number(load) + ": " + g_firmwareVersionText + " / " + g_firmwareVersion));
        QVERIFY(isFeatureEnabled(QStringLiteral("Parameter_writeP188")));
        if (scenario.startsWith("A1") && load % 2 == 0) { // its own rows, help and monitor items in each language
            QCOMPARE(g_invType + ' ' + g_modelCode, QString("VR3-043-5.5K 1"));
            QVERIFY(cell(700, 3) != "--" && !m_f.form()->PartableWidget->isRowHidden(m_f.rowOf(700)));
            QVERIFY(!m_f.form()->parInformation->detailText(700).isEmpty());
            for (const char *window : { "iniSysMon", "trendShow" })
                QMetaObject::invokeMethod(m_f.window(), window);
            QVERIFY(m_f.window()->monitorWindow && m_f.window()->trendWindow);
            m_f.window()->monitorWindow->close();
            m_f.window()->trendWindow->close();
            QVERIFY2(m_f.boxes.texts().isEmpty() && g_monitorCodes.contains("MKR"), qPrintable(m_f.boxes.texts().join('|')));
            QCOMPARE(g_modelCode, QString("1"));
        }
        QCOMPARE(m_f.form()->parInformation->detailText(7).isEmpty(), s.letter == 'S'); // series S ships no help
        if (load == 0) { // help opens from the group cell; where no group column shows, from the number's
            m_f.clickRow(7, s.groupMode ? 0 : 1);
            QCOMPARE(m_f.form()->parInformation->isVisible(), s.letter != 'S');
            QCOMPARE(m_f.form()->PartableWidget->item(m_f.rowOf(7), 1)->font().underline(), s.letter == 'D');
            m_f.clickRow(7, 1);
            QCOMPARE(m_f.form()->parInformation->isVisible(), s.letter == 'D');
            m_f.form()->parInformation->hide();
        }
        if (load < 2)
            QCOMPARE(cell(40, 3), QString(s.letter == 'A' ? "Terminal (SO1-SE)" : "Terminal (SO-SE)"));
        if (s.letter == 'A') { // the copies of P.40 and P.99X meant for this firmware, P.40 with its no-function value
            QCOMPARE(cell(40, 5) + '~' + cell(40, 6) + ' ' + cell(999, 5) + '~' + cell(999, 6), QString("0~50 0~6"));
            QVERIFY(m_f.form()->attributes[40] & ParamText::AttrSpecialValue);
            QVERIFY(!m_f.form()->PartableWidget->isRowHidden(m_f.rowOf(1010)));
            QCOMPARE(g_readOnlyFlags[22], 0);
        }
    }
    // Set to 0.1 s through the form's Write, the times P.21 governs take its range, unit and decimals at once, and
    // again after a reload, and the drive keeps their values; so it does series A's frequencies under P.187. A 50 Hz
    // system (P.189) gives the motor's rated frequencies and speeds a 50 Hz motor's defaults.
    const double p7 = m_f.form()->readParValue(7), p1 = m_f.form()->readParValue(1), p13 = m_f.form()->readParValue(13);
    m_f.setSetting(21, "1");
    m_f.clickRow(21);
    QTest::mouseClick(m_f.form()->writePB, Qt::LeftButton);
    if (s.letter == 'A')
        QVERIFY(m_f.form()->writeParValue(187, "1", "1"));
    if (s.letter != 'S')
        QVERIFY(m_f.form()->writeParValue(189, "1", "1"));
    for (int load = 0; load < 2; ++load) {
        for (int n : { 7, 8, 16, 44, 45 })
            QCOMPARE(cell(n, 6) + ' ' + cell(n, 7), QString("3600.0 0.1s"));
        QCOMPARE(cell(7, 8) + ' ' + cell(16, 8), QString("5.0 0.5"));
        m_f.form()->loadParameterTable();
    }
    if (s.letter == 'A')
        QCOMPARE(cell(1, 6) + ' ' + cell(1, 7) + ' ' + cell(1, 8) + ' ' + cell(4, 8) + ' ' + cell(408, 6) + ' '
                     + cell(408, 7),
                 QString("120.0 0.1Hz 120.0 50.0 650.0 0.1Hz"));
    if (s.letter != 'S')
        QCOMPARE(cell(178, 8) + ' ' + cell(179, 8) + ' ' + cell(303, 8) + ' ' + cell(305, 8),
                 QString(s.letter == 'A' ? "50.0 1440 50.0 1440" : "50.00 1440 50.00 1440"));
    QCOMPARE(m_f.form()->readParValue(7), p7);
    QCOMPARE(m_f.form()->readParValue(1), p1);
    QCOMPARE(m_f.form()->readParValue(13), p13);
    if (s.letter == 'A') { // a P.40 without function reads as such, not as a number
        m_f.control(QStringLiteral("set 40 65535"));
        QCOMPARE(m_f.form()->readParValue(40), 99999.0);
    }
}

QTEST_MAIN(TestLoadingFromDrive)
#include "tst_loadingfromdrive.moc"

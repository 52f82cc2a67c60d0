// Loading of the definition files: the reading rules on small documents, then every shipped series.

#include "connection/settype.h"
#include "parameter/parameter.h"
#include "parameter/parameterdefinitions.h"
#include "parameter/parinformation.h"
#include "seriesfixture.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace ParamText;

namespace {

QByteArray document(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<!DOCTYPE InvParameter>\n<InvParameter version=\"1.0\">\n"
           + body + "</InvParameter>\n";
}

ParameterGrid readDocument(const QByteArray &body, bool extended, bool groupMode, double firmware = 1.0,
                           const QString &voltage = "043")
{
    QByteArray bytes = document(body);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DefinitionContext context;
    context.extended = extended;
    context.groupMode = groupMode;
    context.firmware = firmware;
    context.capacity = "3.7";
    context.voltageCode = voltage;
    context.reference = [](int) { return QStringLiteral("0"); };
    ParameterGrid grid;
    readParameterDefinitions(&buffer, context, grid);
    return grid;
}

QStringList columnTexts(CParameter &form, int column)
{
    QStringList texts;
    for (int r = 0; r < form.PartableWidget->rowCount(); ++r)
        texts << form.cellText(r, column);
    return texts;
}

int rowOf(CParameter &form, int number)
{
    for (int r = 0; r < form.PartableWidget->rowCount(); ++r) {
        const QString label = form.cellText(r, 1);
        if (labelNumber(label) == number && label.contains("P."))
            return r;
    }
    return -1;
}

} // namespace

class TestParameterLoading : public QObject {
    Q_OBJECT
private slots:
    void readingRules_data();
    void readingRules();
    void firmwareCopies();
    void splitElementsReachTheirRow();
    void localizedWalk_data();
    void localizedWalk();
    void shippedSeries_data();
    void shippedSeries();
    void capacityDefaults_data() { shippedSeries_data(); }
    void capacityDefaults();
    void groupSeriesOrder();
    void languageSwitchKeepsGroupOrder();
    void modelCodeFallback_data();
    void modelCodeFallback();
    void hiddenParameters();
    void loadTime_data();
    void loadTime();
};

void TestParameterLoading::readingRules_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("groupMode");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("attributes");

    QTest::newRow("default before any name is ignored")
        << QByteArray("<Default5>7</Default5><Writable5>Read-Only</Writable5><Name3>Speed</Name3>")
        << false << false << 3 << 8 << "--" << 0;
    QTest::newRow("name 99X outside group mode lands on 999")
        << QByteArray("<Name99X>Commands</Name99X><Default99X>0</Default99X>") << true << false << 999 << 3
        << "Commands" << 0;
    QTest::newRow("group 99X relabels the pseudo row")
        << QByteArray("<Group99X>00-02</Group99X><Name99X>Commands</Name99X>") << true << true << 999 << 1
        << "P.99X" << 0;
    QTest::newRow("pseudo row keeps its MODBUS address")
        << QByteArray("<Group99X>00-02</Group99X>") << true << true << 999 << 2 << "03E7H" << 0;
    QTest::newRow("number beyond the table is ignored")
        << QByteArray("<Name1700>Far</Name1700><Default1700>1</Default1700><Name4>Near</Name4>") << false << false
        << 4 << 3 << "Near" << 0;
    QTest::newRow("range with special value")
        << QByteArray("<Name7>Time</Name7><Range7>0~650.00|99999</Range7>") << false << false << 7 << 6 << "650.00"
        << int(AttrSpecialValue);
    QTest::newRow("signed range")
        << QByteArray("<Name7>Bias</Name7><Range7>-100.0~100.0</Range7>") << false << false << 7 << 5 << "-100.0"
        << int(AttrSigned);
    QTest::newRow("unit decimals")
        << QByteArray("<Name7>Time</Name7><Unit7>0.01s</Unit7>") << false << false << 7 << 7 << "0.01s" << 2;
    QTest::newRow("capacity variant default")
        << QByteArray("<Name0>Boost</Name0><Default0>V:1.5,6.0//5.5,4.0//11,3.0</Default0>") << false << false << 0
        << 8 << "4.0" << 0;
    QTest::newRow("voltage coded default of the drive's class")
        << QByteArray("<Name9>Current</Name9><Default9-023>5.00</Default9-023><Default9-043>2.50</Default9-043>")
        << false << false << 9 << 8 << "2.50" << 0;
    QTest::newRow("voltage coded range of another class skipped")
        << QByteArray("<Name9>Level</Name9><Range9-023>0~300</Range9-023>") << false << false << 9 << 6 << "--" << 0;
    QTest::newRow("read-only")
        << QByteArray("<Name90>Type</Name90><Writable90>Read-Only</Writable90>") << false << false << 90 << 11
        << "Read-Only" << int(AttrReadOnly);
    QTest::newRow("extended default 99999 admits the special value")
        << QByteArray("<Name24>Speed 4</Name24><Default24>99999</Default24>") << true << false << 24 << 8 << "99999"
        << int(AttrSpecialValue);
    QTest::newRow("plain default 99999 does not")
        << QByteArray("<Name24>Speed 4</Name24><Default24>99999</Default24>") << false << false << 24 << 8
        << "99999" << 0;
    QTest::newRow("plain reading keeps prefixes and spaces")
        << QByteArray("<Name1>Max</Name1><Default1> 1.00-2.00\\\\120.00</Default1>") << false << false << 1 << 8
        << " 1.00-2.00\\\\120.00" << 0;
    QTest::newRow("extended reading drops one leading space")
        << QByteArray("<Name1>Max</Name1><Default1> 120.00</Default1>") << true << false << 1 << 8 << "120.00" << 0;
    QTest::newRow("group mode takes the row of the group element")
        << QByteArray("<Group12>01-05</Group12><Name5>Wrong row</Name5>") << true << true << 12 << 3 << "Wrong row"
        << 0;
    QTest::newRow("writable before its name is ignored")
        << QByteArray("<Writable8>Read-Only</Writable8>") << false << false << 8 << 11 << "--" << 0;
    QTest::newRow("skipped version element leaves the text")
        << QByteArray("<Name3>Base</Name3><Writable3>0.13-1.00\\\\Read-Only</Writable3>") << true << false << 3 << 11
        << "--" << 0;
}

void TestParameterLoading::readingRules()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, extended);
    QFETCH(bool, groupMode);
    QFETCH(int, row);
    QFETCH(int, column);
    const ParameterGrid grid = readDocument(body, extended, groupMode);
    QTEST(grid.at(row, column), "text");
    QTEST(int(grid.attributes.at(row)), "attributes");
    QCOMPARE(grid.readOnly.at(row), (grid.attributes.at(row) & AttrReadOnly) ? 1 : 0);
    if (column == 8)
        QCOMPARE(grid.defaultValues.at(row), grid.at(row, 8));
}

void TestParameterLoading::firmwareCopies()
{
    const QByteArray body = "<Name40>FU</Name40>"
                            "<Range40>0.13-0.15\\\\0~9</Range40><Range40>0.15-0.17\\\\0~11</Range40>"
                            "<Range40>0.17-0.18\\\\0~11,16~20</Range40><Range40>0.18-0.19\\\\0~11,16~22</Range40>"
                            "<Range40>0.19-0.20\\\\0~11,16~23,41,50</Range40><Range40>0.20-1.00\\\\0~60</Range40>";
    const ParameterGrid grid = readDocument(body, true, false, 0.19);
    QCOMPARE(grid.at(40, 5), QString("0"));
    QCOMPARE(grid.at(40, 6), QString("50"));
    const ParameterGrid newer = readDocument(body, true, false, 0.5);
    QCOMPARE(newer.at(40, 6), QString("60"));
}

// Wherever a row shows, every element it has at any firmware resolves, in every series, model and language.
void TestParameterLoading::splitElementsReachTheirRow()
{
    const QDir folder(sourceDir() + "/src/data/InvParameter");
    QCOMPARE(folder.entryList({ "*.xml" }).size(), 12);
    for (const QString &file : folder.entryList({ "*.xml" })) {
        QByteArray bytes = fileBytes(folder.filePath(file));
        QMap<double, QHash<int, int>> shown { { 0.0, {} } }; // firmware -> row -> bits of the columns resolved
        for (auto m = QRegularExpression("([0-9.]+)-([0-9.]+)\\\\").globalMatch(bytes); m.hasNext();)
            for (const QString &bound : m.next().capturedTexts().mid(1))
                shown[bound.toDouble() < 1 ? bound.toDouble() : 0.0]; // a version read keeps only its fraction
        QHash<int, int> ever;
        for (auto v = shown.begin(); v != shown.end(); ++v) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            const DefinitionContext context { file.at(0) != 'D', file.at(0) == 'A', v.key(), "5.5", "043", {} };
            ParameterGrid grid; // stays blank for the localized files
            if (file.contains("Eng"))
                readParameterDefinitions(&buffer, context, grid);
            else for (const LocalizedText &t : readLocalizedTexts(&buffer, context))
                ever[t.number] |= (*v)[t.number] |= 1 << t.column;
            for (int n = 0; n < ParameterRows; ++n)
                for (int c : { 3, 5, 6, 7, 8, 11 })
                    if (grid.at(n, 3) != "--" && grid.at(n, c) != "--")
                        ever[n] |= (*v)[n] |= 1 << c;
        }
        for (auto v = shown.cbegin(); v != shown.cend(); ++v)
            for (auto row = v->cbegin(); row != v->cend(); ++row)
                QCOMPARE(file + QString(" P.%1 at %2: %3").arg(row.key()).arg(v.key()).arg(row.value(), 0, 2),
                         file + QString(" P.%1 at %2: %3").arg(row.key()).arg(v.key()).arg(ever[row.key()], 0, 2));
    }
}

void TestParameterLoading::localizedWalk_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<bool>("complete");
    QTest::newRow("names, defaults and comments")
        << QByteArray("<Name1>A</Name1><Default1>2</Default1><Writable1>W</Writable1><Name3>B</Name3>")
        << QStringList({ "1:3:A", "1:8:2", "1:11:W", "3:3:B" }) << true;
    QTest::newRow("a number the table lacks stops the walk")
        << QByteArray("<Name1>A</Name1><Name2>missing</Name2><Name3>B</Name3>") << QStringList({ "1:3:A" }) << false;
    QTest::newRow("default before any name is ignored")
        << QByteArray("<Default0>x</Default0><Name0>A</Name0>") << QStringList({ "0:3:A" }) << true;
    QTest::newRow("a text longer than any definition is skipped")
        << "<Name1>A</Name1><Default1>" + QByteArray(257, '9') + "</Default1><Writable1>W</Writable1>"
        << QStringList({ "1:3:A", "1:11:W" }) << true;
    QTest::newRow("range elements are not applied")
        << QByteArray("<Name0>A</Name0><Range0>0~1</Range0>") << QStringList({ "0:3:A" }) << true;
}

void TestParameterLoading::localizedWalk()
{
    QFETCH(QByteArray, body);
    QByteArray bytes = document(body);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QVector<LocalizedText> texts = readLocalizedTexts(&buffer, DefinitionContext());
    bool complete = false;
    // Table rows 0..3 hold parameters 0, 1, 3, 4: parameter 2 is absent.
    const QVector<CellEdit> edits = walkLocalizedTexts({ 0, 1, 3, 4 }, texts, &complete);
    QStringList shown;
    const QVector<int> numberOfRow = { 0, 1, 3, 4 };
    for (const CellEdit &e : edits)
        shown << QString("%1:%2:%3").arg(numberOfRow.at(e.row)).arg(e.column).arg(e.text);
    QTEST(shown, "edits");
    QTEST(complete, "complete");
}

void TestParameterLoading::shippedSeries_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("comment90");
    const char letters[] = { 'A', 'D', 'S' };
    for (char letter : letters) {
        QTest::addRow("%c English", letter) << letter << 0 << "Maximum frequency" << "Read-Only";
        QTest::addRow("%c Simplified Chinese", letter) << letter << 1 << QString::fromUtf8("上限频率")
                                                       << QString::fromUtf8("只-读");
        QTest::addRow("%c Traditional Chinese", letter) << letter << 2 << QString::fromUtf8("上限頻率")
                                                        << QString::fromUtf8("唯-讀");
    }
}

void TestParameterLoading::shippedSeries()
{
    QFETCH(char, letter);
    QFETCH(int, language);
    const SeriesSetup s = seriesSetup(letter);
    applySeries(s, "0", language);
    CParameter form;
    form.loadParameterTable();
    QTableWidget *table = form.PartableWidget;

    QCOMPARE(table->rowCount(), 1600);
    QCOMPARE(form.tableRows, 1600);
    QCOMPARE(g_sortFlag, (unsigned char)1);
    // Sorted by "Trad. P mode": every parameter in ascending order, the pseudo-row in 999's place.
    for (int r = 0; r < 1600; ++r)
        QCOMPARE(labelNumber(form.cellText(r, 1)), r);
    QCOMPARE(form.cellText(999, 1), letter == 'A' ? QString("P. 99X") : QString(" P.999"));
    QCOMPARE(form.cellText(1000, 2), QString("03E8H"));

    QTEST(form.cellText(1, 3), "name1");
    QTEST(form.cellText(90, 11), "comment90");
    QCOMPARE(form.defaultValues[1], QString("120.00"));
    QCOMPARE(form.cellText(1, 5), QString("0"));
    QCOMPARE(form.cellText(1, 6), QString("120.00"));
    QCOMPARE(int(form.attributes[1] & AttrDecimalsMask), 2);
    QCOMPARE(g_readOnlyFlags[90], 1);
    QCOMPARE(g_readOnlyFlags[1], 0);
    QVERIFY(form.attributes[90] & AttrReadOnly);
    QVERIFY(form.attributes[117] & AttrSigned);
    QVERIFY(form.attributes[24] & AttrSpecialValue);
    // P.189 offline reads "0": the 60 Hz defaults apply, in every language.
    QCOMPARE(form.cellText(3, 8), QString("60.00"));
    // Capacity variants follow the drive's rating.
    QCOMPARE(form.cellText(0, 8), letter == 'D' ? QString("4.0") : QString(letter == 'A' ? "4.0" : "3.0"));

    // Undefined rows below the count and every placeholder row above it are hidden.
    QVERIFY(table->isRowHidden(s.count - 1) || form.cellText(s.count - 1, 3) != "--");
    QVERIFY(table->isRowHidden(199) == (form.cellText(199, 3) == "--"));
    QVERIFY(table->isRowHidden(1599));
    QVERIFY(!table->isRowHidden(1));
    QVERIFY(table->isColumnHidden(4));
    QCOMPARE(table->isColumnHidden(0), s.groupMode == 0);
    if (letter == 'A') {
        QCOMPARE(form.cellText(1, 0), QString("01-00"));
        QVERIFY(!table->isRowHidden(999));
        QCOMPARE(form.cellText(999, 2), QString("03E7H"));
        QCOMPARE(form.highestParameter, 1299);
        // Firmware 1.10: the copy of 1.10-1.20, the parameter of 1.05 on, not the one withdrawn at 1.00.
        QCOMPARE(form.cellText(40, 6), QString("50"));
        QVERIFY(!table->isRowHidden(1010));
        QVERIFY(table->isRowHidden(1011));
        QCOMPARE(form.cellText(177, 8), QString("380.0")); // the motor rated voltage
        QCOMPARE(form.cellText(163, 5), QString("300.0"));
    } else {
        QCOMPARE(form.highestParameter, letter == 'D' ? 1299 : 199);
    }
    if (letter == 'S') {
        QCOMPARE(form.cellText(1, 8), QString("120.00")); // the leading space dropped by the extended reading
        QVERIFY(!table->isRowHidden(195));
        QVERIFY(table->isRowHidden(196));
        // Dual rating: light duty (P.186 "1") takes the smaller capacity.
        QCOMPARE(g_variantSelectorA, g_p186Value == "1" ? QString("5.5") : QString("7.5"));
        QCOMPARE(g_variantSelectorB, QString("043"));
    }
    if (letter == 'D')
        QCOMPARE(form.cellText(177, 8), QString("220.0"));
}

// Every type and rating InvType.mgr lists: the motor's rated power is the drive's capacity, the overload
// protection current its rated current.
void TestParameterLoading::capacityDefaults()
{
    QFETCH(char, letter);
    QFETCH(int, language);
    CParameter form;
    for (const char *model : { "0", "1" }) {
        if (letter != 'A' && *model == '1')
            break; // the application model's files are series A's
        applySeries(seriesSetup(letter), model, language);
        const QStringList mgr = readMgrLines();
        for (int i = 0; i + 1 < mgr.size(); ++i) {
            const QString type = mgrHeaderPieces(mgr.at(i)).value(0);
            const QStringList powers = mgrEntryValues(mgr.value(i + 1), "POWER");
            double lastRated = 0; // rises with the rating, about 2 to 4 A per kW at 400 V, twice at 200 V
            for (const QString &power : type.startsWith(g_modelName) ? powers : QStringList()) {
                g_invType = type + '-' + power;
                form.loadParameterTable();
                const QString at = g_invType + " model " + g_modelCode + ": ";
                const auto cell = [&](int n, int column = 8) { return ' ' + form.cellText(n, column); };
                const double kw = g_variantSelectorA.toDouble(), rated = cell(9).toDouble(), perKw = rated / kw;
                const bool v400 = g_variantSelectorB == "043", tenths = kw > 160;
                QCOMPARE(at + cell(174) + cell(174, 6) + cell(12) + cell(72) + cell(177) + cell(56),
                    at + QString(" %1 220.00 %2 %3 %4").arg(kw, 0, 'f', 2).arg(kw <= 7.5 ? "4.0" : "2.0")
                            .arg(kw <= 22 ? 8 : 4).arg(v400 ? "380.0" : "220.0") + cell(9));
                QVERIFY2(rated > std::exchange(lastRated, rated) && perKw >= (v400 ? 1.8 : 3.6) && perKw <= (v400 ? 4.5 : 9)
                        && (letter == 'S' || qAbs(cell(176).toDouble() / rated - 0.33) < 0.05), qPrintable(at + cell(9) + cell(176)));
                for (int n : { 9, 56, 176, 213, 304, 310, 313 }) // unit, Max and default; series S has the first two
                    QVERIFY2(cell(n, 3) == " --" || cell(n, 7) + cell(n, 6) + cell(n) == (tenths ? " 0.1A 500.0 " : " 0.01A 500.00 ")
                            + QString::number(cell(n).toDouble(), 'f', tenths ? 1 : 2), qPrintable(at + cell(n, 7) + cell(n, 6) + cell(n)));
                if (letter != 'S') // the second motor as the first
                    QCOMPARE(at + cell(letter == 'A' ? 302 : 318) + cell(304) + cell(313) + cell(310) + cell(316) + cell(316, 6),
                        at + cell(177) + cell(9) + cell(9) + cell(176) + cell(174) + cell(174, 6));
            }
        }
    }
}

void TestParameterLoading::groupSeriesOrder()
{
    applySeries(seriesSetup('A'));
    CParameter form;
    form.loadParameterTable();
    form.mySort(0);
    QCOMPARE(g_sortFlag, (unsigned char)0);
    const QStringList groups = columnTexts(form, 0);
    QStringList sorted = groups;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(groups, sorted);
    QCOMPARE(form.cellText(groups.indexOf("00-02"), 1), QString("P. 99X"));
    QCOMPARE(form.cellText(groups.indexOf("01-00"), 1), QString("   P.1"));
}

void TestParameterLoading::languageSwitchKeepsGroupOrder()
{
    applySeries(seriesSetup('A'));
    CParameter form;
    form.loadParameterTable();
    form.mySort(0);
    const QStringList groupOrder = columnTexts(form, 1);

    g_language = 2;
    form.languageChange();
    form.loadLocalizedNames();
    QCOMPARE(columnTexts(form, 1), groupOrder);
    QCOMPARE(g_sortFlag, (unsigned char)0);
    QCOMPARE(form.cellText(rowOf(form, 1), 3), QString::fromUtf8("上限頻率"));
    QCOMPARE(form.cellText(rowOf(form, 999), 3), QString::fromUtf8("清除與復位指令"));

    g_language = 0;
    form.loadLocalizedNames();
    QCOMPARE(form.cellText(rowOf(form, 1), 3), QString("Maximum frequency"));
    QCOMPARE(form.cellText(rowOf(form, 90), 11), QString("Read-Only"));
    QCOMPARE(form.defaultValues[3], QString("60.00"));
}

void TestParameterLoading::modelCodeFallback_data()
{
    QTest::addColumn<QString>("modelCode");
    QTest::addColumn<QString>("codeAfter");
    QTest::addColumn<bool>("winderShown");
    QTest::newRow("model with its own files") << "1" << "1" << true;
    QTest::newRow("model without files uses the series files") << "2" << "0" << false;
}

void TestParameterLoading::modelCodeFallback()
{
    QFETCH(QString, modelCode);
    applySeries(seriesSetup('A'), modelCode, 1);
    CParameter form;
    form.loadParameterTable();
    QTEST(g_modelCode, "codeAfter");
    QFETCH(bool, winderShown);
    QCOMPARE(!form.PartableWidget->isRowHidden(700), winderShown);
    if (winderShown)
        QCOMPARE(form.cellText(700, 3), QString::fromUtf8("卷绕模式选择"));
    // The roll diameter's calculation method selects no resolution of the line speed.
    QVERIFY(g_relatedUnitRules.value(706).isEmpty());
    QCOMPARE(g_relatedUnitText[705], QString("---"));
    QCOMPARE(g_relatedUnitText[7], QString("0.01"));
    QCOMPARE(form.cellText(1, 3), QString::fromUtf8("上限频率"));
    QVERIFY(!form.parInformation->detailText(0).isEmpty());
}

void TestParameterLoading::hiddenParameters()
{
    applySeries(seriesSetup('A'));
    const QString before = QDir::currentPath();
    QDir::setCurrent(binDir());
    CParameter form;
    form.loadHideParameters();
    QCOMPARE(form.hideParameterList.size(), 5);
    QCOMPARE(form.hideParameterList.at(0), QStringList({ "P.1400", "0", "1" }));
    QCOMPARE(form.hideParameterList.at(2), QStringList({ "P.1402", "6", "1" }));
    QVERIFY(std::none_of(form.hideParameterList.cbegin(), form.hideParameterList.cend(),
                         [](const QStringList &row) { return row.at(0) == "P.1403"; }));

    g_modelName = "VS5/VS5-G";
    form.loadHideParameters(); // no file for that name: the list stays
    QCOMPARE(g_modelName, QString("VP-G"));
    QCOMPARE(form.hideParameterList.size(), 5);
    QDir::setCurrent(before);
}

void TestParameterLoading::loadTime_data()
{
    QTest::addColumn<char>("letter");
    QTest::newRow("A, group numbered") << 'A';
    QTest::newRow("D, plain") << 'D';
}

void TestParameterLoading::loadTime()
{
    QFETCH(char, letter);
    applySeries(seriesSetup(letter), "0", 1);
    CParameter form;
    QBENCHMARK_ONCE {
        form.loadParameterTable();
    }
}

QTEST_MAIN(TestParameterLoading)
#include "tst_parameterloading.moc"

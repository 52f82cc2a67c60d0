// Every shipped scenario of the simulated drive against our definitions: the table is loaded from
// the scenario's drive as the program loads it (its selectors and firmware choose the variants),
// and each value the drive holds must lie in its row's range, read at the row's resolution, with
// the decimals the character protocol reports matching that resolution. A drive out of the box holds
// its defaults: a Read All lists under "Default VS Current" only what its scenario names.

#include "parameter/paramglobals.h"
#include "parameter/comparison.h"
#include "transferfixture.h"

#include <cmath>

namespace {

struct DriveValue {
    int raw = 0;
    int decimals = 0;
};

QStringList scenarioLines(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
}

} // namespace

class TestDriveDefinitions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_f.setUpProgram()); }
    void cleanupTestCase() { m_f.tearDown(); }
    void init() { m_f.resetState(); }
    void cleanup() { m_f.stopDriveAfter(); }

    void valuesLieInTheirDefinitions_data();
    void valuesLieInTheirDefinitions();

private:
    TransferFixture m_f;
};

void TestDriveDefinitions::valuesLieInTheirDefinitions_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("readAll"); // each parameter set once, each protocol once: a Read All takes seconds
    const QStringList types { "VR3-043-5.5K", "VM3-023-7.5K", "VS5-043-0.75K" };
    const QString series = QStringLiteral("ADS");
    for (int s = 0; s < 3; ++s) {
        for (const char *protocol : { "taviron", "rtu", "ascii" }) {
            const QString name = QStringLiteral("%1-%2.drive").arg(series.at(s)).arg(QLatin1String(protocol));
            QTest::newRow(qPrintable(name))
                << name << types.at(s) << QStringLiteral("A-rtu D-taviron S-ascii").contains(name.section('.', 0, 0));
        }
    }
}

void TestDriveDefinitions::valuesLieInTheirDefinitions()
{
    QFETCH(QString, scenario);
    QFETCH(QString, type);
    QFETCH(bool, readAll);
    const QString folder = sourceDir() + QStringLiteral("/tools/drivesim/scenarios/");

    // The drive as shipped, on the fixture's line.
    const QStringList lineKeys { "protocol", "baud", "data", "parity", "stop", "terminator", "station" };
    QStringList lines;
    QMap<int, DriveValue> values;
    QList<int> differences; // named by the "# differences:" line
    int protocol = 0;
    QString motorCurrent; // the motor model's rated current: its drive's own, P.56
    auto take = [&](const QString &line) {
        const QStringList w = line.simplified().split(QLatin1Char(' '));
        if (w.size() >= 5 && w.at(0) == QLatin1String("P"))
            values[w.at(1).toInt()] = { w.at(2).toInt(), w.at(4).toInt() };
        for (const QString &n : line.startsWith("# differences:") ? line.mid(14).split(' ', Qt::SkipEmptyParts) : QStringList())
            differences << n.toInt();
    };
    for (const QString &line : scenarioLines(folder + scenario)) {
        const QString key = line.section(QLatin1Char(' '), 0, 0);
        if (key == QLatin1String("protocol"))
            protocol = line.contains(QLatin1String("rtu")) ? 1 : line.contains(QLatin1String("ascii")) ? 2 : 0;
        if (lineKeys.contains(key))
            continue;
        if (key == QLatin1String("rated-current"))
            motorCurrent = QString::number(line.section(QLatin1Char(' '), 1).toInt() / 100.0, 'f', 2);
        if (key == QLatin1String("include")) {
            const QString included = folder + line.section(QLatin1Char(' '), 1).trimmed();
            lines << QStringLiteral("include ") + included;
            for (const QString &l : scenarioLines(included))
                take(l);
        } else {
            lines << line;
            take(line);
        }
    }
    QVERIFY(!values.isEmpty());
    QVERIFY(m_f.connectDrive(protocol, lines));

    g_invType = type;
    g_modelCode = QStringLiteral("0");
    g_language = 0;
    m_f.window()->navigation->loadInverterTypes();
    CParameter *form = m_f.form();
    form->loadParameterTable();
    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
    // The firmware version reads the same under every protocol (the series' own scale included).
    QCOMPARE(g_firmwareVersionText, QString(scenario.startsWith('A') ? "0.55" : scenario.startsWith('D') ? "0.52" : "0.25"));
    QCOMPARE(motorCurrent, form->cellText(m_f.rowOf(56), 8));

    QStringList disagreements;
    int checked = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int n = it.key();
        // The model code and the firmware version identify the drive, in scales of their own.
        if (n == 90 || n == 188)
            continue;
        const int row = m_f.rowOf(n);
        if (row < 0)
            continue;
        const QString name = form->cellText(row, 3);
        if (name == QLatin1String("--") || name == QLatin1String("---"))
            continue; // no definition for this drive
        bool minOk = false;
        bool maxOk = false;
        const double min = form->cellText(row, 5).toDouble(&minOk);
        const double max = form->cellText(row, 6).toDouble(&maxOk);
        if (!minOk || !maxOk)
            continue;
        const unsigned char attribute = form->attributes[n];
        const int raw = it.value().raw;
        if (raw == 0xFFFF && (attribute & ParamText::AttrSpecialValue))
            continue;
        const double scale = g_relatedUnitText[n] != QLatin1String("---") ? g_relatedUnitText[n].toDouble()
                                                                           : form->scaleExponent(n, form->cellText(row, 7));
        const int signedRaw = (min < 0 && raw > 0x8000) ? raw - 0x10000 : raw;
        const double value = signedRaw * scale;
        const int decimals = qMax(0, int(std::lround(-std::log10(scale))));
        ++checked;
        if (value < min - scale / 2 || value > max + scale / 2 || it.value().decimals != decimals) {
            disagreements << QStringLiteral("P %1 %2: %3 at %4 (%5 decimals) outside %6~%7 or decimals %8")
                                 .arg(n)
                                 .arg(raw)
                                 .arg(value)
                                 .arg(scale)
                                 .arg(it.value().decimals)
                                 .arg(min)
                                 .arg(max)
                                 .arg(decimals);
        }
    }
    QVERIFY(checked > 50);
    QVERIFY2(disagreements.isEmpty(), qPrintable(QString::number(disagreements.size()) + QLatin1Char('\n')
                                                 + disagreements.join(QLatin1Char('\n'))));
    if (!readAll)
        return;
    QTest::mouseClick(form->allReadPB, Qt::LeftButton);
    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
    form->showComparison(CompareResult::DefaultVsCurrent);
    QList<int> shown;
    for (int r = 0; r < form->compareResult->CompareWidget->rowCount(); ++r)
        shown << form->compareResult->CompareWidget->item(r, 1)->text().remove("P.").trimmed().toInt();
    form->compareResult->hide();
    QCOMPARE(shown, differences);
}

QTEST_MAIN(TestDriveDefinitions)
#include "tst_drivedefinitions.moc"

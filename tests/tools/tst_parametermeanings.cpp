// The parameters whose meaning the program relies on, one row each of data/parametermeanings.tsv, against
// the table the program loads from each shipped drive (found and read as the connection test does, so at
// the drive's own firmware version), W_Par.txt, the features at that version, the hidden-parameter file
// and the simulated drives' parameter sets.
#include "parameter/parinformation.h"
#include "testfiles.h"
#include "transferfixture.h"

#include <QRegularExpression>

namespace {

enum Column { Number, Series, Unit, Range, Default, Access, Group, Help, Deferred, Absent, Feature, Columns };

QString text(const QString &file) { return QString::fromLatin1(fileBytes(sourceDir() + "/" + file)); }

const QString Data = QStringLiteral("src/data/");
const QRegularExpression Cells(QStringLiteral("P|-|//")); // between the numbers of a W_Par.txt line

// The rest of the first line that starts so; null when none does.
QString lineOf(const QString &file, const QString &start)
{
    const QRegularExpression line('^' + QRegularExpression::escape(start) + "([^\r\n]*)", QRegularExpression::MultilineOption);
    return line.match(text(file)).captured(1);
}

QString driveLine(QChar s, const QString &n) { return lineOf("tools/drivesim/scenarios/" + QString(s) + ".params", "P " + n + ' '); }

// What each shipped drive's table shows, by series and number: the cells of columns 0 to 8, then the
// help text, the read-only flag and the special-value bit; and the firmware it was loaded at.
QHash<QChar, QHash<int, QStringList>> g_rows;
QHash<QChar, QString> g_firmware;
enum Cell { GroupCell = 0, NameCell = 3, MinCell = 5, MaxCell = 6, UnitCell = 7, DefaultCell = 8, HelpCell, ReadOnlyCell, SpecialCell };

// The drive of series s as the features see it.
bool featureOf(QChar s, const QString &key)
{
    g_seriesLetter = s.toLatin1();
    g_firmwareVersion = g_firmware[s];
    return isFeatureEnabled(key);
}

} // namespace

class TestParameterMeanings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { m_f.tearDown(); }
    void filesAgree_data();
    void filesAgree();
    void currentsInTenthsOnlyAbove160kW();

private:
    TransferFixture m_f;
};

void TestParameterMeanings::initTestCase()
{
    QVERIFY(m_f.setUpProgram());
    for (const QChar s : QStringLiteral("ADS")) {
        m_f.resetState();
        QVERIFY(m_f.connectShipped(QString(s) + "-rtu.drive"));
        m_f.identifyAndLoad(0);
        QCOMPARE(QChar(g_seriesLetter), s);
        g_firmware[s] = g_firmwareVersion;
        for (int row = 0; row < m_f.form()->PartableWidget->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column <= DefaultCell; ++column)
                cells << m_f.form()->cellText(row, column);
            const int n = ParamText::labelNumber(cells.at(1));
            g_rows[s][n] = cells << m_f.form()->parInformation->detailText(n) << QString::number(g_readOnlyFlags[n])
                                 << QString::number(m_f.form()->attributes[n] & ParamText::AttrSpecialValue);
        }
        m_f.stopDrive();
    }
}

void TestParameterMeanings::filesAgree_data()
{
    QTest::addColumn<QStringList>("m");
    for (const QString &l : text(QStringLiteral("tests/tools/data/parametermeanings.tsv")).split('\n')) {
        const QStringList m = l.split('\t').replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString());
        if (!l.isEmpty() && !l.startsWith('#'))
            QTest::newRow(qPrintable("P." + m[Number] + ' ' + m[Series])) << m;
    }
}

void TestParameterMeanings::filesAgree()
{
    QFETCH(QStringList, m);
    QCOMPARE(m.size(), int(Columns));
    const QString &n = m[Number];
    const bool readOnly = m[Access] == QLatin1String("ro");
    const bool undefined = m[Access] == QLatin1String("none"); // the drive holds it, the table leaves it out
    for (const QChar s : m[Series]) {
        const QString what = QStringLiteral("P.%1 of series %2").arg(n, s);
        const QStringList r = g_rows[s][n.toInt()];
        QString unit = r.at(UnitCell);
        QString dflt = r.at(DefaultCell);
        if (n.toInt() >= 1400) { // the hidden-parameter file of VR3
            const QString entry = text(Data + "hideparameter/VR3HideParameter.xml").section("<Pr" + n + '>', 1, 1);
            dflt = entry.section(QStringLiteral("<DefaultValue>"), 1).section('<', 0, 0).section('\\', -1);
            unit = entry.section(QStringLiteral("<Unit>"), 1).section('<', 0, 0);
        } else if (undefined) {
            QVERIFY2(r.at(NameCell) == QLatin1String("--"), qPrintable(what + " is defined: " + r.at(NameCell)));
        } else {
            QVERIFY2(r.at(NameCell) != QLatin1String("--"), qPrintable(what + " is not defined"));
            // "min~max" as the table shows them, then "|" and the value FFFFh stands for on this drive.
            const QString bounds = m[Range].section('|', 0, 0);
            if (!bounds.isEmpty())
                QCOMPARE(r.at(MinCell) + '~' + r.at(MaxCell), bounds);
            QCOMPARE(r.at(SpecialCell) != QLatin1String("0"), m[Range].contains('|'));
            if (m[Range].contains('|'))
                QCOMPARE(m[Range].section('|', 1), featureOf(s, "readWrite_99999") ? "99999" : "9999");
            QCOMPARE(r.at(ReadOnlyCell) == QLatin1String("1"), readOnly);
            if (!m[Group].isEmpty() && s == 'A')
                QCOMPARE(r.at(GroupCell), m[Group]);
            const bool wanted = !m[Help].startsWith('!');
            QVERIFY2(m[Help].isEmpty() || r.at(HelpCell).contains(m[Help].mid(wanted ? 0 : 1)) == wanted, qPrintable(r.at(HelpCell)));
        }
        QVERIFY2((m[Unit].isEmpty() || unit == m[Unit]) && (m[Default].isEmpty() || dflt == m[Default]),
            qPrintable(what + ": unit " + unit + ", default " + dflt));
        const QString deferred = lineOf(Data + "ParameterInforamtion/W_Par.txt", QString(s) + ':');
        QCOMPARE(deferred.split(Cells, Qt::SkipEmptyParts).contains(n), m[Deferred].contains(s));

        // The simulated drive holds it as the table says: read-only or not, its special value,
        // reported with the decimals of its unit.
        const QStringList drive = driveLine(s, n).split(' ');
        QVERIFY2(drive.size() >= 3, qPrintable(what + ": the simulated drive lacks it"));
        if (undefined)
            continue;
        QCOMPARE(drive.value(3) == QLatin1String("ro"), readOnly);
        QCOMPARE(drive.at(1).split(',').contains(QStringLiteral("65535")), m[Range].contains('|'));
        const QRegularExpressionMatch scale = QRegularExpression(QStringLiteral("^0\\.(0*)1")).match(unit);
        if (n != QLatin1String("188") || s != 'S') // series S reports its firmware in hundredths
            QCOMPARE(drive.at(2).toInt(), scale.hasMatch() ? scale.capturedLength(1) + 1 : 0);
    }
    for (const QChar s : m[Absent]) // neither in the series' table nor held by its drive
        QVERIFY2(g_rows[s][n.toInt()].at(NameCell) == QLatin1String("--") && driveLine(s, n).isNull(), qPrintable(QString(s)));
    const QString key = m[Feature].section(':', 0, 0);
    for (const QChar s : QStringLiteral("ADS")) // enabled at each drive's version exactly for the series named
        QVERIFY2(key.isEmpty() || featureOf(s, key) == m[Feature].section(':', 1).contains(s),
                 qPrintable(key + " for " + s));
}

// The currents follow the monitor's rated current: hundredths of an ampere up to 160 kW, tenths above.
void TestParameterMeanings::currentsInTenthsOnlyAbove160kW()
{
    m_f.resetState();
    m_f.window()->navigation->stationTested[1] = 0; // loaded without a drive
    for (const char *type : { "VM3-043-160K", "VM3-043-185K" }) {
        g_invType = QLatin1String(type);
        m_f.window()->navigation->loadInverterTypes();
        m_f.form()->loadParameterTable();
        const QString unit = g_invType.endsWith(QLatin1String("160K")) ? QStringLiteral("0.01A") : QStringLiteral("0.1A");
        for (int n : { 9, 56, 176, 213 })
            QCOMPARE(m_f.form()->cellText(m_f.rowOf(n), 7), unit);
    }
}

QTEST_MAIN(TestParameterMeanings)
#include "tst_parametermeanings.moc"

// The parameters whose meaning the program relies on, one row each of data/parametermeanings.tsv, against
// every file that describes them: each series' definitions, help texts and related-unit files, W_Par.txt,
// typeInfo.txt, the hidden-parameter file and the simulated drives' parameter sets.
// Definitions, help, related units and typeInfo.txt: as the program reads them for each shipped drive, at its firmware.
#include "parameter/parinformation.h"
#include "testdirs.h"
#include "testfiles.h"
#include "transferfixture.h"

#include <QRegularExpression>
#include <QTest>

namespace {

enum Column { Number, Series, Unit, Range, Default, Access, Group, Help, Deferred, Absent, Feature, Columns };
// loaded
enum Cell { GroupCell, NameCell, RangeCell, UnitCell, DefaultCell, HelpCell, ReadOnlyCell, SpecialCell, RelatedCell };

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

} // namespace

class TestParameterMeanings : public QObject {
    Q_OBJECT
    TransferFixture m_f;
    QHash<QChar, QHash<int, QStringList>> m_rows;
    QHash<QChar, QString> m_firmware;
private slots:
    // Each shipped drive found and its table loaded as the connection test does, so at the drive's own firmware.
    void initTestCase()
    {
        QVERIFY(m_f.setUpProgram());
        for (const QChar s : QStringLiteral("ADS")) {
            m_f.resetState();
            QVERIFY(!m_f.connectShipped(QString(s) + "-rtu.drive", 0).isEmpty() && QChar(g_seriesLetter) == s);
            m_firmware[s] = g_firmwareVersion;
            for (int row = 0; row < m_f.form()->PartableWidget->rowCount(); ++row) {
                const auto cell = [&](int column) { return m_f.form()->cellText(row, column); };
                const int n = ParamText::labelNumber(cell(1));
                const bool special = m_f.form()->attributes[n] & ParamText::AttrSpecialValue;
                m_rows[s][n] = QStringList { cell(0), cell(3), cell(5) + '~' + cell(6), cell(7), cell(8),
                    m_f.form()->parInformation->detailText(n), QString::number(g_readOnlyFlags[n]),
                    special ? (isFeatureEnabled("readWrite_99999") ? "99999" : "9999") : "", g_relatedUnitText[n] };
            }
            // Read All reads every number below the count that the drive answers: each is named in every language.
            for (const char *language : { "_Eng", "", "_Big" }) {
                const QString names = text(Data + "InvParameter/" + s + "_InvParameter" + language + ".xml");
                for (const QString &l : text("tools/drivesim/scenarios/" + QString(s) + ".params").split('\n'))
                    QVERIFY2(!l.startsWith("P ") || l.section(' ', 1, 1).toInt() >= g_parameterCount
                            || names.contains("<Name" + l.section(' ', 1, 1) + '>'), qPrintable(l + language));
            }
        }
    }
    void filesAgree_data()
    {
        QTest::addColumn<QStringList>("m");
        for (const QString &l : text(QStringLiteral("tests/tools/data/parametermeanings.tsv")).split('\n')) {
            const QStringList m = l.split('\t').replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString());
            if (!l.isEmpty() && !l.startsWith('#'))
                QTest::newRow(qPrintable("P." + m[Number] + ' ' + m[Series])) << m;
        }
    }
    void filesAgree();
    // Series A's P.187 gives every frequency parameter its decimals, unless the parameter's help says why not, and
    // its drives and application model follow the same rule; series D (whose P.991 selects only the monitored and
    // set frequencies) and S give no frequency parameter a selector.
    void frequenciesFollowP187()
    {
        for (const QChar s : QStringLiteral("ADS")) {
            QStringList governed;
            for (int n = 0; n < ParameterRows; ++n) {
                const QStringList r = m_rows[s].value(n);
                if (!r.value(UnitCell).endsWith(QLatin1String("Hz")))
                    continue;
                const bool follows = r.value(RelatedCell) == QLatin1String("0.01"); // P.187 = 0 on the shipped drives
                QVERIFY2(follows == (s == 'A') || (s == 'A' && r.value(HelpCell).contains("P.187")),
                         qPrintable(QStringLiteral("P.%1 of series %2").arg(n).arg(s)));
                if (follows)
                    governed << QString::number(n);
            }
            const QString rule = lineOf("tools/drivesim/scenarios/" + QString(s) + ".params", "related 187 ");
            QCOMPARE(rule.section(' ', 1, 1), governed.join(';'));
        }
        const QStringList files { "tools/drivesim/scenarios/%1.params",
                                  Data + "ParameterInforamtion/relatedUnit/%1.txt" };
        for (const QString &file : files)
            QCOMPARE(lineOf(file.arg("A1"), "related 187 ") + lineOf(file.arg("A1"), "187//"),
                     lineOf(file.arg('A'), "related 187 ") + lineOf(file.arg('A'), "187//"));
    }
    // Series D currents in hundredths of an ampere up to 160 kW, in tenths above; loaded without a drive.
    void currentsInTenthsOnlyAbove160kW()
    {
        m_f.window()->navigation->stationTested[1] = 0;
        for (const QString type : { "VM3-043-160K", "VM3-043-185K" }) {
            g_invType = type;
            m_f.window()->navigation->loadInverterTypes();
            m_f.form()->loadParameterTable();
            for (int n : { 9, 56, 176, 213 })
                QCOMPARE(m_f.form()->cellText(m_f.rowOf(n), 7), type.endsWith("160K") ? "0.01A" : "0.1A");
        }
    }
};

void TestParameterMeanings::filesAgree()
{
    QFETCH(QStringList, m);
    QCOMPARE(m.size(), int(Columns));
    const QString &n = m[Number];
    const bool readOnly = m[Access].startsWith(QLatin1String("ro"));
    for (const QChar s : m[Series]) {
        const QString what = QStringLiteral("P.%1 of series %2").arg(n, s);
        const QStringList r = m_rows[s][n.toInt()];
        QString unit, dflt;
        bool ro = n.toInt() >= 1400 || r.value(ReadOnlyCell) == QLatin1String("1");
        if (n.toInt() >= 1400) { // the hidden-parameter file of VR3
            const QString entry = text(Data + "hideparameter/VR3HideParameter.xml").section("<Pr" + n + '>', 1, 1);
            dflt = entry.section(QStringLiteral("<DefaultValue>"), 1).section('<', 0, 0).section('\\', -1);
            unit = entry.section(QStringLiteral("<Unit>"), 1).section('<', 0, 0);
        } else { // "none": the drive holds it, the table leaves it out
            QVERIFY2((r.value(NameCell) == "--") == (m[Access] == "none"), qPrintable(what + ": " + r.value(NameCell)));
            unit = r.value(UnitCell);
            dflt = r.value(DefaultCell);
            const QString bounds = m[Range].section('|', 0, 0);
            QVERIFY2(bounds.isEmpty() || r.value(RangeCell) == bounds, qPrintable(what + ": " + r.value(RangeCell)));
            QCOMPARE(r.value(SpecialCell), m[Range].section('|', 1));
            if (!m[Group].isEmpty() && s == 'A')
                QCOMPARE(r.value(GroupCell), m[Group]);
            const QString help = r.value(HelpCell);
            const bool wanted = !m[Help].startsWith('!');
            QCOMPARE(help.contains(m[Help].mid(wanted ? 0 : 1)), wanted);
        }
        QVERIFY2((m[Unit].isEmpty() || unit == m[Unit]) && (m[Default].isEmpty() || dflt == m[Default]),
            qPrintable(what + ": unit " + unit + ", default " + dflt));
        QCOMPARE(ro, readOnly);
        const QString deferred = lineOf(Data + "ParameterInforamtion/W_Par.txt", QString(s) + ':');
        QCOMPARE(deferred.split(Cells, Qt::SkipEmptyParts).contains(n), m[Deferred].contains(s));

        // The simulated drive holds it as the definition says: read-only or not, its special value,
        // reported with the decimals of its unit.
        const QStringList drive = driveLine(s, n).split(' ');
        QVERIFY2(drive.size() >= 3, qPrintable(what + ": the simulated drive lacks it"));
        if (m[Access] == QLatin1String("none"))
            continue;
        QCOMPARE(drive.value(3) == QLatin1String("ro"), readOnly && !m[Access].endsWith('*')); // "ro*": it takes writes
        QCOMPARE(drive.at(1).split(',').contains(QStringLiteral("65535")), m[Range].contains('|'));
        const QRegularExpressionMatch scale = QRegularExpression(QStringLiteral("^0\\.(0*)1")).match(unit);
        const int decimals = scale.hasMatch() ? scale.capturedLength(1) + 1 : unit.startsWith("V:") ? 2 : 0;
        if (n != QLatin1String("188") || s != 'S') // series S reports its firmware in hundredths
            QCOMPARE(drive.at(2).toInt(), decimals);
    }
    for (const QChar s : m[Absent]) // neither defined for the series nor held by its drive
        QVERIFY2(m_rows[s][n.toInt()].value(NameCell, "--") == "--" && driveLine(s, n).isNull(), qPrintable(n + s));
    const QString key = m[Feature].section(':', 0, 0);
    for (const QChar s : QStringLiteral("ADS")) { // enabled at each drive's version exactly for the series named
        g_seriesLetter = s.toLatin1(), g_firmwareVersion = m_firmware[s];
        QVERIFY2(key.isEmpty() || isFeatureEnabled(key) == m[Feature].section(':', 1).contains(s), qPrintable(key + s));
    }
}

QTEST_MAIN(TestParameterMeanings)
#include "tst_parametermeanings.moc"

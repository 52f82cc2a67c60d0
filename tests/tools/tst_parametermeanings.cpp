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

// What the program's table shows of one parameter.
struct Row {
    QString name, min, max, unit, dflt, group, help;
    bool readOnly = false;
    bool special = false;
};

// One shipped drive as the program loaded it: its rows and the version its features are asked at.
struct Loaded {
    QHash<int, Row> rows;
    QString firmware;
};

// The drive of series s as the features see it.
bool featureOf(QChar s, const QString &key, const QString &firmware)
{
    g_seriesLetter = s.toLatin1();
    g_firmwareVersion = firmware;
    return isFeatureEnabled(key);
}

QHash<QChar, Loaded> g_loaded;

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
        int protocol = 0;
        const QStringList lines = TransferFixture::shippedScenario(QString(s) + "-rtu.drive", &protocol);
        QVERIFY(m_f.connectDrive(protocol, lines));
        m_f.identifyAndLoad(0);
        QCOMPARE(QChar(g_seriesLetter), s);
        Loaded &l = g_loaded[s];
        for (int row = 0; row < m_f.form()->PartableWidget->rowCount(); ++row) {
            auto cell = [&](int column) { return m_f.form()->cellText(row, column); };
            const int n = ParamText::labelNumber(cell(1));
            l.rows[n] = { cell(3), cell(5), cell(6), cell(7), cell(8), cell(0), m_f.form()->parInformation->detailText(n),
                          g_readOnlyFlags[n] != 0, (m_f.form()->attributes[n] & ParamText::AttrSpecialValue) != 0 };
        }
        l.firmware = g_firmwareVersion;
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
        const Row &r = g_loaded[s].rows[n.toInt()];
        QString unit = r.unit;
        QString dflt = r.dflt;
        if (n.toInt() >= 1400) { // the hidden-parameter file of VR3
            const QString entry = text(Data + "hideparameter/VR3HideParameter.xml").section("<Pr" + n + '>', 1, 1);
            dflt = entry.section(QStringLiteral("<DefaultValue>"), 1).section('<', 0, 0).section('\\', -1);
            unit = entry.section(QStringLiteral("<Unit>"), 1).section('<', 0, 0);
        } else if (undefined) {
            QVERIFY2(r.name == QLatin1String("--"), qPrintable(what + " is defined: " + r.name));
        } else {
            QVERIFY2(r.name != QLatin1String("--"), qPrintable(what + " is not defined"));
            // "min~max" as the table shows them, then "|" and the value FFFFh stands for on this drive.
            const QString bounds = m[Range].section('|', 0, 0);
            if (!bounds.isEmpty())
                QCOMPARE(r.min + '~' + r.max, bounds);
            QCOMPARE(r.special, m[Range].contains('|'));
            if (r.special)
                QCOMPARE(m[Range].section('|', 1), featureOf(s, "readWrite_99999", g_loaded[s].firmware) ? "99999" : "9999");
            QCOMPARE(r.readOnly, readOnly);
            if (!m[Group].isEmpty() && s == 'A')
                QCOMPARE(r.group, m[Group]);
            const bool wanted = !m[Help].startsWith('!');
            QVERIFY2(m[Help].isEmpty() || r.help.contains(m[Help].mid(wanted ? 0 : 1)) == wanted, qPrintable(r.help));
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
        QVERIFY2(g_loaded[s].rows[n.toInt()].name == QLatin1String("--") && driveLine(s, n).isNull(), qPrintable(QString(s)));
    const QString key = m[Feature].section(':', 0, 0);
    for (const QChar s : QStringLiteral("ADS")) // enabled at each drive's version exactly for the series named
        QVERIFY2(key.isEmpty() || featureOf(s, key, g_loaded[s].firmware) == m[Feature].section(':', 1).contains(s),
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

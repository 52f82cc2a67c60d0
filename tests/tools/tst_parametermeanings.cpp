// The parameters whose meaning the program relies on, one row each of data/parametermeanings.tsv, against
// every file that describes them: each series' definitions, help texts and related-unit files, W_Par.txt,
// typeInfo.txt, the hidden-parameter file and the simulated drives' parameter sets.
#include "testdirs.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QTest>

namespace {

enum Column { Number, Series, Unit, Range, Default, Access, Group, Help, Deferred, Absent, Feature, Columns };

QString text(const QString &file) { return QString::fromLatin1(fileBytes(sourceDir() + "/" + file)); }

const QString Data = QStringLiteral("src/data/");
const QRegularExpression Cells(QStringLiteral("P|-|//")); // between the numbers of a W_Par.txt or typeInfo.txt line

// Element texts of a definition file by kind and number, without their firmware prefix.
QMultiHash<QString, QString> definitions(QChar series)
{
    QMultiHash<QString, QString> out;
    static const QRegularExpression element(QStringLiteral("<([A-Za-z]+)(\\d+)(?:-\\d+)?>([^<]*)</"));
    for (auto it = element.globalMatch(text(Data + "InvParameter/" + series + "_InvParameter_Eng.xml")); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out.insert(m.captured(1) + m.captured(2), m.captured(3).section(QLatin1Char('\\'), -1));
    }
    return out;
}

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
private slots:
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
};

void TestParameterMeanings::filesAgree()
{
    QFETCH(QStringList, m);
    QCOMPARE(m.size(), int(Columns));
    const QString &n = m[Number];
    const bool readOnly = m[Access] == QLatin1String("ro");
    for (const QChar s : m[Series]) {
        const QString what = QStringLiteral("P.%1 of series %2").arg(n, s);
        QString unit, dflt;
        bool ro = true;
        if (n.toInt() >= 1400) { // the hidden-parameter file of VR3
            const QString entry = text(Data + "hideparameter/VR3HideParameter.xml").section("<Pr" + n + '>', 1, 1);
            dflt = entry.section(QStringLiteral("<DefaultValue>"), 1).section('<', 0, 0).section('\\', -1);
            unit = entry.section(QStringLiteral("<Unit>"), 1).section('<', 0, 0);
        } else {
            const QMultiHash<QString, QString> def = definitions(s);
            QVERIFY2(def.contains("Name" + n), qPrintable(what + " is not defined"));
            unit = def.value("Unit" + n);
            dflt = def.value("Default" + n).trimmed();
            ro = def.value("Writable" + n) == QLatin1String("Read-Only");
            const QString ranges = def.values("Range" + n).join('\n');
            QVERIFY2(ranges.contains(m[Range]), qPrintable(what + ": " + ranges));
            if (!m[Group].isEmpty() && s == 'A')
                QCOMPARE(def.value("Group" + n), m[Group]);
            const QString help = lineOf(Data + "ParameterInforamtion/ParameterDetails/" + s + "_Eng.txt", n + "//");
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
        QCOMPARE(drive.value(3) == QLatin1String("ro"), readOnly);
        QCOMPARE(drive.at(1).split(',').contains(QStringLiteral("65535")), m[Range].contains('|'));
        const QRegularExpressionMatch scale = QRegularExpression(QStringLiteral("^0\\.(0*)1")).match(unit);
        const int decimals = scale.hasMatch() ? scale.capturedLength(1) + 1 : unit.startsWith("V:") ? 2 : 0;
        if (n != QLatin1String("188") || s != 'S') // series S reports its firmware in hundredths
            QCOMPARE(drive.at(2).toInt(), decimals);
    }
    for (const QChar s : m[Absent]) // neither defined for the series nor held by its drive
        QVERIFY2(!definitions(s).contains("Name" + n) && driveLine(s, n).isNull(), qPrintable(QString(s)));
    const QStringList cells = lineOf(Data + "ParameterInforamtion/InvType/typeInfo.txt", m[Feature].section(':', 0, 0) + "//")
                                  .split(Cells, Qt::SkipEmptyParts);
    QVERIFY2(m[Feature].isEmpty() || cells.size() >= 9, qPrintable(m[Feature]));
    for (int i = 0; i < 3 && !m[Feature].isEmpty(); ++i) // the cells of A, D and S: enabled-from-to
        QCOMPARE(cells.at(i * 3) == QLatin1String("1"), m[Feature].section(':', 1).contains("ADS"[i]));
}

QTEST_APPLESS_MAIN(TestParameterMeanings)
#include "tst_parametermeanings.moc"

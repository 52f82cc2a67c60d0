// The parameters whose meaning the program relies on, one row each, against every file that describes
// them: the definitions, help texts and related-unit files of each series, W_Par.txt, typeInfo.txt,
// the hidden-parameter file and the simulated drives' parameter sets.
#include "testdirs.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

namespace {

struct Meaning {
    int number;
    const char *series;   // series whose drives give the number this meaning
    const char *unit;     // unit text of the definition ("" = not checked)
    const char *range;    // found in one of the definition's ranges ("" = not checked)
    const char *dflt;     // default text ("" = not checked)
    bool readOnly;
    const char *group;    // group code under series A ("" = not checked)
    const char *help;     // found in the English help text; "!" first: not found there
    const char *deferred; // series whose W_Par.txt line lists the number
    const char *absent;   // series whose definitions and drive have no such number
    const char *feature;  // "key:series" enabled exactly for those series ("" = none)
};

const Meaning kMeanings[] = {
    { 1, "ADS", "0.01Hz", "0~120.00", "120.00", false, "", "", "", "", "" },
    { 3, "ADS", "0.01Hz", "0~650.00", "P189:1,50.00//0,60.00", false, "", "", "", "", "" },
    { 7, "ADS", "0.01s", "", "", false, "", "", "", "", "quicksetup_P7:ADS" },
    { 19, "AS", "0.1V", "|99999", "99999", false, "", "99999", "", "", "quicksetup_outVolSpinBox:A" },
    { 19, "D", "0.1V", "|9999", "9999", false, "", "!99999", "", "", "" },
    { 21, "ADS", "1", "0~1", "0", false, "", "", "", "", "" },
    { 40, "A", "1", "0~11,16~23,41,50|99999", "0", false, "", "", "", "", "" },
    { 56, "ADS", "V:160,0.01A//999,0.1A", "", "", true, "", "Rated current", "", "", "" },
    { 77, "AS", "1", "0~2|99999", "0", false, "00-03", "", "", "", "" },
    { 77, "D", "1", "0~2|9999", "0", false, "", "", "", "", "" },
    { 79, "ADS", "1", "0~8", "0", false, "", "3: communication for frequency and start", "", "", "" },
    { 80, "A", "1", "|99999", "2", false, "", "", "", "", "quicksetup_P80-P86NotH:ADS" },
    { 85, "D", "1", "|9999", "5", false, "", "", "", "", "" },
    { 90, "ADS", "1", "", "", true, "", "", "", "", "" },
    { 126, "D", "1", "|9999", "5", false, "", "", "", "", "quicksetup_P126-P130:AD" },
    { 129, "A", "1", "|99999", "0", false, "", "", "", "", "" },
    { 164, "S", "1min", "0~1439", "0", true, "", "minutes", "", "", "" },
    { 165, "S", "1day", "0~65535", "0", true, "", "in days", "", "", "" },
    { 177, "ADS", "0.1V", "0~1000.0", "", false, "", "", "", "", "" },
    { 178, "ADS", "0.01Hz", "10.00~400.00", "", false, "", "", "", "", "" },
    { 187, "A", "1", "0~1", "0", false, "", "", "", "", "Navigation_readP187:A" },
    { 188, "ADS", "0.001", "", "0.000", true, "00-04", "Firmware", "", "", "Parameter_writeP188:ADS" },
    { 189, "ADS", "1", "0~1", "0", false, "00-06", "", "", "", "" },
    { 259, "AD", "1", "-1~29", "0", false, "", "", "", "", "" },
    { 295, "AD", "1", "0~1", "0", false, "00-05", "", "AD", "", "" },
    { 300, "A", "1", "0~4", "0", false, "", "", "", "", "" },
    { 301, "D", "1", "", "0", true, "", "Voltage", "", "", "monitorthread_readInverterInfo_F:D" },
    { 302, "D", "1", "", "0", true, "", "Capacity", "", "", "" },
    { 360, "D", "0.01", "", "", true, "", "Firmware", "", "", "" },
    { 400, "A", "1", "0~2|99999", "0", false, "", "", "", "", "" },
    { 401, "A", "0.01Hz", "0~650.00|99999", "99999", false, "", "", "", "", "" },
    { 408, "D", "0.01Hz", "0~650.00|9999", "9999", false, "", "", "", "", "" },
    { 550, "A", "1", "0~41,43~66", "57", false, "", "!99999", "", "", "" },
    { 551, "A", "1", "|99999", "99999", false, "", "99999: no function", "", "", "" },
    { 568, "A", "1", "0~10,16~20|99999", "99999", false, "", "", "", "", "" },
    { 583, "A", "1", "0~10,16~20|99999", "99999", false, "", "", "", "", "" },
    { 991, "D", "1", "0~1", "0", false, "", "0.1 Hz", "", "A", "Parameter_readP991:D" },
    { 1401, "A", "1", "", "3", true, "", "", "", "", "monitorthread_readInverterInfo_A:A" },
    { 1402, "A", "1", "", "5", true, "", "", "", "", "" },
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString dataDir() { return sourceDir() + QStringLiteral("/src/data/"); }

// Element texts of a definition file by kind and number, without their firmware prefix.
QMultiHash<QString, QString> definitions(QChar series)
{
    QMultiHash<QString, QString> out;
    const QString text = QString::fromLatin1(fileBytes(dataDir() + QStringLiteral("InvParameter/%1_InvParameter_Eng.xml").arg(series)));
    static const QRegularExpression element(QStringLiteral("<([A-Za-z]+)(\\d+)(?:-\\d+)?>([^<]*)</"));
    for (auto it = element.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out.insert(m.captured(1) + m.captured(2), m.captured(3).section(QLatin1Char('\\'), -1));
    }
    return out;
}

QString scenarioLine(QChar series, int number)
{
    const QString path = sourceDir() + QStringLiteral("/tools/drivesim/scenarios/%1.params").arg(series);
    for (const QString &l : QString::fromLatin1(fileBytes(path)).split(QLatin1Char('\n'))) {
        if (l.startsWith(QStringLiteral("P %1 ").arg(number)))
            return l;
    }
    return QString();
}

// The rest of the first line that starts so.
QString lineOf(const QString &file, const QString &start)
{
    for (const QString &l : QString::fromLatin1(fileBytes(file)).split(QRegularExpression(QStringLiteral("\r?\n")))) {
        if (l.startsWith(start))
            return l.mid(start.size());
    }
    return QString();
}

QStringList numbersOf(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("P|-|//")), Qt::SkipEmptyParts);
}

} // namespace

class TestParameterMeanings : public QObject {
    Q_OBJECT
private slots:
    void filesAgree_data();
    void filesAgree();
};

void TestParameterMeanings::filesAgree_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(sizeof kMeanings / sizeof kMeanings[0]); ++i)
        QTest::newRow(qPrintable(QStringLiteral("P.%1 %2").arg(kMeanings[i].number).arg(QLatin1String(kMeanings[i].series)))) << i;
}

void TestParameterMeanings::filesAgree()
{
    QFETCH(int, row);
    const Meaning &m = kMeanings[row];
    const QString n = QString::number(m.number);
    for (const QChar s : QString::fromLatin1(m.series)) {
        const QString what = QStringLiteral("P.%1 of series %2").arg(n, s);
        QString unit, dflt;
        bool readOnly = false;
        if (m.number >= 1400) { // the hidden-parameter file of VR3
            const QString hidden = QString::fromUtf8(fileBytes(dataDir() + QStringLiteral("hideparameter/VR3HideParameter.xml")));
            const QString entry = hidden.section(QStringLiteral("<Pr") + n + QLatin1Char('>'), 1, 1);
            dflt = entry.section(QStringLiteral("<DefaultValue>"), 1).section(QLatin1Char('<'), 0, 0).section(QLatin1Char('\\'), -1);
            unit = entry.section(QStringLiteral("<Unit>"), 1).section(QLatin1Char('<'), 0, 0);
            readOnly = true;
        } else {
            const QMultiHash<QString, QString> def = definitions(s);
            QVERIFY2(def.contains(QStringLiteral("Name") + n), qPrintable(what + " is not defined"));
            unit = def.value(QStringLiteral("Unit") + n);
            dflt = def.value(QStringLiteral("Default") + n).trimmed();
            readOnly = def.value(QStringLiteral("Writable") + n) == QLatin1String("Read-Only");
            if (*m.range) {
                const QStringList ranges = def.values(QStringLiteral("Range") + n);
                QVERIFY2(std::any_of(ranges.cbegin(), ranges.cend(), [&](const QString &r) { return r.contains(QLatin1String(m.range)); }),
                         qPrintable(what + ": " + ranges.join(' ')));
            }
            if (*m.group && s == QLatin1Char('A'))
                QCOMPARE(def.value(QStringLiteral("Group") + n), QString(m.group));
            if (*m.help) {
                const QString help = lineOf(dataDir() + QStringLiteral("ParameterInforamtion/ParameterDetails/%1_Eng.txt").arg(s), n + "//");
                const bool wanted = m.help[0] != '!';
                QCOMPARE(help.contains(QLatin1String(m.help + (wanted ? 0 : 1))), wanted);
            }
        }
        if (*m.unit)
            QCOMPARE(unit, QString(m.unit));
        if (*m.dflt)
            QCOMPARE(dflt, QString(m.dflt));
        QCOMPARE(readOnly, m.readOnly);
        QCOMPARE(numbersOf(lineOf(dataDir() + QStringLiteral("ParameterInforamtion/W_Par.txt"), QString(s) + ':')).contains(n),
                 QByteArray(m.deferred).contains(s.toLatin1()));

        // The simulated drive holds it as the definition says: read-only or not, its special value,
        // reported with the decimals of its unit.
        const QStringList drive = scenarioLine(s, m.number).split(QLatin1Char(' '));
        QVERIFY2(drive.size() >= 5, qPrintable(what + ": the simulated drive lacks it"));
        QCOMPARE(drive.value(5) == QLatin1String("ro"), m.readOnly);
        QCOMPARE(drive.at(3).split(QLatin1Char(',')).contains(QStringLiteral("65535")), QByteArray(m.range).contains('|'));
        const QRegularExpressionMatch scale = QRegularExpression(QStringLiteral("^0\\.(0*)1")).match(unit);
        if (m.number != 188 || s != QLatin1Char('S')) // series S reports its firmware in hundredths
            QCOMPARE(drive.at(4).toInt(), scale.hasMatch() ? scale.captured(1).size() + 1 : unit.startsWith(QLatin1String("V:")) ? 2 : 0);
    }
    for (const QChar s : QString::fromLatin1(m.absent)) {
        QVERIFY2(!definitions(s).contains(QStringLiteral("Name") + n), qPrintable(QStringLiteral("P.%1 defined for %2").arg(n, s)));
        QVERIFY2(scenarioLine(s, m.number).isEmpty(), qPrintable(QStringLiteral("P.%1 held by the %2 drive").arg(n, s)));
    }
    if (*m.feature) {
        const QString key = QString::fromLatin1(m.feature).section(QLatin1Char(':'), 0, 0);
        const QString on = QString::fromLatin1(m.feature).section(QLatin1Char(':'), 1);
        const QStringList cells = numbersOf(lineOf(dataDir() + QStringLiteral("ParameterInforamtion/InvType/typeInfo.txt"), key + QStringLiteral("//")));
        QVERIFY2(cells.size() >= 9, qPrintable(key));
        for (int i = 0; i < 3; ++i) // the cells of A, D and S: enabled-from-to
            QCOMPARE(cells.at(i * 3) == QLatin1String("1"), on.contains(QLatin1Char("ADS"[i])));
    }
}

QTEST_APPLESS_MAIN(TestParameterMeanings)
#include "tst_parametermeanings.moc"

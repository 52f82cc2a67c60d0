// The translation catalogues as the program uses them: each compiled catalogue loads from the resources,
// and each Chinese translation keeps what the program builds on the text (placeholders, line breaks,
// numbers, menu shortcuts, the station and parameter prefixes it parses) and is written in its own script.

#include "testdirs.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{

struct Entry {
    QString context;
    QString source;
    QString translation;
};

QList<Entry> readEntries(const QString &file)
{
    QList<Entry> entries;
    QFile in(sourceDir() + QStringLiteral("/src/resources/language/") + file);
    if (!in.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&in);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            entry = { context, xml.readElementText(), QString() };
        } else if (xml.name() == QLatin1String("translation")) {
            if (xml.attributes().value(QLatin1String("type")) == QLatin1String("vanished"))
                continue;
            entry.translation = xml.readElementText();
            entries.append(entry);
        }
    }
    return entries;
}

QStringList matches(const QString &text, const QString &pattern)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    found.sort();
    return found;
}

int leadingBreaks(const QString &text)
{
    int n = 0;
    while (n < text.size() && text.at(n) == QLatin1Char('\n'))
        ++n;
    return n;
}

int trailingBreaks(const QString &text)
{
    int n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n) == QLatin1Char('\n'))
        ++n;
    return n;
}

// Characters common in this program's vocabulary that exist in only one of the two scripts.
const QString SimplifiedOnly = QStringLiteral("参数设择选开关读写误错帮语电机运频显监视图态协议据试连线断项认确请输时间门满历"
                                              "报类这个为与无从后对应变动导执统络页档传载输单围称码帧异户径释删");
const QString TraditionalOnly = QStringLiteral("參數設擇選開關讀寫誤錯幫語電機運頻顯監視圖態協議據試連線斷項認確請輸時間門滿歷"
                                               "報類這個為與無從後對應變動導執統絡頁檔傳載輸單圍稱碼幀異戶徑釋刪");

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT
private slots:
    void compiledCataloguesLoad_data();
    void compiledCataloguesLoad();
    void translationsKeepWhatTheProgramBuildsOn_data();
    void translationsKeepWhatTheProgramBuildsOn();
    void stationAndParameterPrefixesStayParseable_data();
    void stationAndParameterPrefixesStayParseable();
};

void TestCatalogues::compiledCataloguesLoad_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("system");
    QTest::newRow("English") << "TavironINV_Eng" << "&System";
    QTest::newRow("Simplified Chinese") << "TavironINV_zh_CN" << "系统(&S)";
    QTest::newRow("Traditional Chinese") << "TavironINV_zh_Big" << "系統(&S)";
}

void TestCatalogues::compiledCataloguesLoad()
{
    QFETCH(QString, resource);
    QFETCH(QString, system);
    Q_INIT_RESOURCE(language);
    QTranslator translator;
    // Loaded without the suffix, as the language switch names them.
    QVERIFY(translator.load(QStringLiteral(":/new prefix/language/") + resource));
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(QCoreApplication::translate("MainWindow", "&System"), system);
    QCoreApplication::removeTranslator(&translator);
}

void TestCatalogues::translationsKeepWhatTheProgramBuildsOn_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("foreignScript");
    QTest::newRow("Simplified Chinese") << "TavironINV_zh_CN.ts" << TraditionalOnly;
    QTest::newRow("Traditional Chinese") << "TavironINV_zh_Big.ts" << SimplifiedOnly;
}

void TestCatalogues::translationsKeepWhatTheProgramBuildsOn()
{
    QFETCH(QString, file);
    QFETCH(QString, foreignScript);
    const QList<Entry> entries = readEntries(file);
    QVERIFY(entries.size() > 100);
    QStringList faults;
    for (const Entry &e : entries) {
        const QString where = e.context + QStringLiteral(": ") + e.source.left(60) + QStringLiteral(" -> ");
        const QString &t = e.translation;
        if (t.isEmpty()) {
            faults.append(where + QStringLiteral("empty"));
            continue;
        }
        // Arguments filled in by arg().
        if (matches(e.source, QStringLiteral("%\\d")) != matches(t, QStringLiteral("%\\d")))
            faults.append(where + QStringLiteral("placeholders differ"));
        // Messages are joined with a port name or a type text; their line breaks carry the layout.
        if (leadingBreaks(e.source) != leadingBreaks(t) || trailingBreaks(e.source) != trailingBreaks(t))
            faults.append(where + QStringLiteral("line breaks at the ends differ"));
        // Versions, limits and parameter numbers mean the same in every language.
        if (matches(e.source.contains(QLatin1Char('<')) ? QString(e.source).remove(QRegularExpression("<[^>]*>")) : e.source,
                    QStringLiteral("\\d+(\\.\\d+)*"))
            != matches(t.contains(QLatin1Char('<')) ? QString(t).remove(QRegularExpression("<[^>]*>")) : t,
                       QStringLiteral("\\d+(\\.\\d+)*")))
            faults.append(where + QStringLiteral("numbers differ"));
        // A menu shortcut stays a shortcut, on the same letter.
        if (matches(e.source, QStringLiteral("&[A-Za-z]")) != matches(t, QStringLiteral("&[A-Za-z]")))
            faults.append(where + QStringLiteral("shortcut differs"));
        for (const QChar c : t)
            if (foreignScript.contains(c)) {
                faults.append(where + QStringLiteral("written in the other script: ") + c);
                break;
            }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestCatalogues::stationAndParameterPrefixesStayParseable_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Simplified Chinese") << "TavironINV_zh_CN.ts";
    QTest::newRow("Traditional Chinese") << "TavironINV_zh_Big.ts";
}

void TestCatalogues::stationAndParameterPrefixesStayParseable()
{
    QFETCH(QString, file);
    QHash<QString, QString> byKey;
    for (const Entry &e : readEntries(file))
        byKey.insert(e.context + QLatin1Char('|') + e.source, e.translation);

    // The dock, the set-up dialog and the drive-command guard find the station by the word holding
    // "NO." in the station label, and the help window reads its parameter back after "P.".
    QCOMPARE(byKey.value(QStringLiteral("CNavigation|NO.")), QStringLiteral("NO."));
    QCOMPARE(byKey.value(QStringLiteral("ParInformation|P.")), QStringLiteral("P."));

    // The search, the dock and its form write the label with three texts: they must agree,
    // and the prefix must end in a blank so that "NO." starts a word of its own.
    const QString prefix = byKey.value(QStringLiteral("CNavigation|Select station: "));
    QVERIFY(prefix.endsWith(QLatin1Char(' ')));
    QCOMPARE(byKey.value(QStringLiteral("CComSetup|Select station: NO.")), prefix + QStringLiteral("NO."));
    QCOMPARE(byKey.value(QStringLiteral("NavForm|Select station: ---")), prefix + QStringLiteral("---"));
    const QString label = prefix + QStringLiteral("NO.007 VM3-023-1.5K");
    const QStringList words = label.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto station = std::find_if(words.begin(), words.end(), [](const QString &w) { return w.contains("NO."); });
    QVERIFY(station != words.end());
    QCOMPARE(QString(*station).remove(QStringLiteral("NO.")).toInt(), 7);
}

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"

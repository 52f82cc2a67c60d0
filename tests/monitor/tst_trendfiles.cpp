// The plot value file and the trend data file, byte for byte, read back by Python's csv and
// openpyxl, and failed writes that leave an older file as it was.

#include "monitor/plotvaluefile.h"
#include "monitor/trenddatafile.h"
#include "platform/textfiles.h"
#include "testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace
{

const double None = std::nan("");

QByteArray gbk(const QString &text)
{
    return gbkCodec()->fromUnicode(text);
}

QByteArray python(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return QByteArray();
    }
    return process.readAllStandardOutput();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TrendDataTable sampleTable()
{
    TrendDataTable table;
    table.date = QStringLiteral("2024-05-06");
    table.timeHeader = QStringLiteral("System Time");
    table.names = QStringList { QStringLiteral("输出频率"), QStringLiteral("Current") };
    table.stamps = QStringList { QStringLiteral("'14:03:22.517 pm"), QStringLiteral("'14:03:22.617 pm"),
                                 QStringLiteral("'14:03:22.717 pm") };
    // The second channel was checked late: nothing in the first pass.
    table.values = { { 50, 49.25, 1e-7 }, { None, 3, 4294967295.0 } };
    return table;
}

} // namespace

Q_DECLARE_METATYPE(TrendDataTable)

class TestTrendFiles : public QObject
{
    Q_OBJECT

private slots:
    void plotValueBytes_data();
    void plotValueBytes();
    void trendTextBytes_data();
    void trendTextBytes();
    void trendTextReadByPythonCsv();
    void trendWorkbookReadByOpenpyxl();
    void failedWriteLeavesOldFile_data();
    void failedWriteLeavesOldFile();
};

void TestTrendFiles::plotValueBytes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVector<QVector<double>>>("values");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("two addresses, one short") << QStringList { "D000", "D002" }
        << QVector<QVector<double>> { { 1, 2.5, 4294967295.0 }, { 7 } } << 3
        << QByteArray("D000H\tD002H\t\r\n1D\t7D\t\r\n2.5D\t\t\r\n4.29497e+09D\t\t\r\n");
    QTest::newRow("nothing checked") << QStringList() << QVector<QVector<double>>() << 2
                                     << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("no rows") << QStringList { "D000" } << QVector<QVector<double>> { {} } << 0
                             << QByteArray("D000H\t\r\n");
    QTest::newRow("below a million stays whole") << QStringList { "D010" }
        << QVector<QVector<double>> { { 999999, 65535, 0 } } << 3
        << QByteArray("D010H\t\r\n999999D\t\r\n65535D\t\r\n0D\t\r\n");
}

void TestTrendFiles::plotValueBytes()
{
    QFETCH(QStringList, names);
    QFETCH(QVector<QVector<double>>, values);
    QFETCH(int, rows);
    QFETCH(QByteArray, expected);
    PlotValueTable table { names, values, rows };
    QCOMPARE(plotValueFileBytes(table), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("values.xlsx"));
    // A longer old file leaves nothing behind.
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    QString reason;
    QVERIFY(writePlotValueFile(path, table, &reason));
    QCOMPARE(fileBytes(path), expected);
}

void TestTrendFiles::trendTextBytes_data()
{
    QTest::addColumn<TrendDataTable>("table");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("late channel, GBK name, %g values") << sampleTable()
        << (QByteArray("2024-05-06\r\nSystem Time\t") + gbk(QStringLiteral("输出频率"))
               + "\tCurrent\t\r\n"
                 "'14:03:22.517 pm\t50\t\t\r\n"
                 "'14:03:22.617 pm\t49.25\t3\t\r\n"
                 "'14:03:22.717 pm\t1e-07\t4.29497e+09\t\r\n");

    TrendDataTable none = sampleTable();
    none.names.clear();
    none.values.clear();
    QTest::newRow("no channel checked")
        << none
        << QByteArray("2024-05-06\r\nSystem Time\t\r\n'14:03:22.517 pm\t\r\n'14:03:22.617 pm\t\r\n"
                      "'14:03:22.717 pm\t\r\n");

    TrendDataTable empty = sampleTable();
    empty.stamps.clear();
    empty.values = { {}, {} };
    QTest::newRow("no samples") << empty
                                << (QByteArray("2024-05-06\r\nSystem Time\t") + gbk(QStringLiteral("输出频率"))
                                       + "\tCurrent\t\r\n");
}

void TestTrendFiles::trendTextBytes()
{
    QFETCH(TrendDataTable, table);
    QFETCH(QByteArray, expected);
    QCOMPARE(trendTextFileBytes(table), expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trend.txt"));
    QString reason;
    QVERIFY2(writeTrendTextFile(path, table, &reason), qPrintable(reason));
    QCOMPARE(fileBytes(path), expected);
}

void TestTrendFiles::trendTextReadByPythonCsv()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trend.txt"));
    QString reason;
    QVERIFY(writeTrendTextFile(path, sampleTable(), &reason));
    const QByteArray out = python({ QStringLiteral("-c"),
        QStringLiteral("import csv, json, sys\n"
                       "with open(sys.argv[1], newline='', encoding='gbk') as f:\n"
                       "    print(json.dumps(list(csv.reader(f, delimiter='\\t'))))\n"),
        path });
    const QJsonArray rows = QJsonDocument::fromJson(out).array();
    QCOMPARE(rows.size(), 5);
    auto row = [&rows](int i) {
        QStringList cells;
        for (const QJsonValue &v : rows.at(i).toArray())
            cells << v.toString();
        return cells;
    };
    QCOMPARE(row(0), QStringList { "2024-05-06" });
    QCOMPARE(row(1), (QStringList { "System Time", QStringLiteral("输出频率"), "Current", "" }));
    QCOMPARE(row(2), (QStringList { "'14:03:22.517 pm", "50", "", "" }));
    QCOMPARE(row(3), (QStringList { "'14:03:22.617 pm", "49.25", "3", "" }));
    QCOMPARE(row(4), (QStringList { "'14:03:22.717 pm", "1e-07", "4.29497e+09", "" }));
}

void TestTrendFiles::trendWorkbookReadByOpenpyxl()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trend.xlsx"));
    QString reason;
    QVERIFY2(writeTrendWorkbook(path, sampleTable(), &reason), qPrintable(reason));
    const QJsonObject cells = QJsonDocument::fromJson(
        python({ sourceDir() + QStringLiteral("/tests/zip/data/dump.py"), path })).object()
                                  .value(QStringLiteral("cells"))
                                  .toObject();
    auto cell = [&cells](const char *name) {
        const QJsonObject c = cells.value(QLatin1String(name)).toObject();
        return c.value(QStringLiteral("type")).toString() + QLatin1Char(':')
            + c.value(QStringLiteral("value")).toVariant().toString();
    };
    QCOMPARE(cell("A1"), QStringLiteral("str:2024-05-06"));
    QCOMPARE(cell("A2"), QStringLiteral("str:System Time"));
    QCOMPARE(cell("B2"), QStringLiteral("str:输出频率"));
    QCOMPARE(cell("C2"), QStringLiteral("str:Current"));
    QCOMPARE(cell("A3"), QStringLiteral("str:14:03:22.517 pm"));
    QCOMPARE(cell("B3"), QStringLiteral("int:50"));
    QVERIFY(!cells.contains(QStringLiteral("C3")));
    QCOMPARE(cell("B4"), QStringLiteral("float:49.25"));
    QCOMPARE(cell("C4"), QStringLiteral("int:3"));
    QCOMPARE(cell("A5"), QStringLiteral("str:14:03:22.717 pm"));
    QCOMPARE(cell("C5"), QStringLiteral("int:4294970000")); // as the text export's 4.29497e+09
    QCOMPARE(cells.size(), 12);
}

void TestTrendFiles::failedWriteLeavesOldFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("plot values") << 0;
    QTest::newRow("trend text") << 1;
    QTest::newRow("trend workbook") << 2;
}

void TestTrendFiles::failedWriteLeavesOldFile()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old\r\n");
    old.close();
    auto write = [&](QString *reason) {
        return kind == 0 ? writePlotValueFile(path, PlotValueTable { { "D000" }, { { 1 } }, 1 }, reason)
            : kind == 1  ? writeTrendTextFile(path, sampleTable(), reason)
                         : writeTrendWorkbook(path, sampleTable(), reason);
    };
    // A file size limit fails every write past it as a full disk would, also for root.
    rlimit saved;
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    QString reason;
    const bool written = write(&reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QVERIFY(!written);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { "old.txt" });
    // A folder in the file's place.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.txt")));
    QVERIFY(!(kind == 0 ? writePlotValueFile(dir.filePath("folder.txt"), PlotValueTable(), &reason)
            : kind == 1 ? writeTrendTextFile(dir.filePath("folder.txt"), sampleTable(), &reason)
                        : writeTrendWorkbook(dir.filePath("folder.txt"), sampleTable(), &reason)));
    QVERIFY(QFileInfo(dir.filePath("folder.txt")).isDir());
}

QTEST_GUILESS_MAIN(TestTrendFiles)
#include "tst_trendfiles.moc"

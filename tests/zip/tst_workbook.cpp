// Workbooks against an independent reader and writer (openpyxl), hand-made archives, and failed saves
// that must leave an older file alone.

#include "zip/workbook.h"
#include "zip/ziparchive.h"
#include "testdirs.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace
{

QString dataPath(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/zip/data/") + name;
}

// Runs one of our Python scripts with the path as its argument; returns what it printed.
QByteArray python(const QString &script, const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), { dataPath(script), path });
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return QByteArray();
    }
    return process.readAllStandardOutput();
}

QJsonObject dump(const QString &path)
{
    return QJsonDocument::fromJson(python(QStringLiteral("dump.py"), path)).object();
}

// A workbook laid out as other writers do it: inline strings, cells without references, a workbook part
// under another name, relative and absolute targets, phonetic runs, a second sheet.
QByteArray handMadeWorkbook()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hand.xlsx"));
    const QString root = dataPath(QStringLiteral("handmade/"));
    ZipArchiveWriter zip;
    zip.create(path);
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        zip.add(file.mid(root.size()), fileBytes(file));
    }
    zip.close();
    return fileBytes(path);
}

} // namespace

class TestWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void independentReaderSeesWhatWasWritten();
    void ourReaderReadsBack_data();
    void ourReaderReadsBack();
    void readsIndependentWriter();
    void readsHandMadeLayout();
    void refusedOperations_data();
    void refusedOperations();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void fullDiskKeepsOldFile();
    void unreadableFiles_data();
    void unreadableFiles();
    void lastColumnStaysInItsRow();
    void inflatingPartsAreRefused_data();
    void inflatingPartsAreRefused();
};

void TestWorkbook::independentReaderSeesWhatWasWritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    Workbook book;
    QVERIFY(book.setSheetName(QStringLiteral("VS5-043-5.5K|7.5K")));
    QVERIFY(book.setValue(1, 1, QStringLiteral("VS5-043-5.5K|7.5K")));
    QVERIFY(book.setValue(1, 2, QStringLiteral("2")));
    QVERIFY(book.setValue(1, 3, 1));
    QVERIFY(book.setValue(2, 1, QStringLiteral("Trad. P mode")));
    QVERIFY(book.setInteriorColor(2, 1, QColor(100, 149, 237)));
    QVERIFY(book.setColumnWidth(2, 28));
    QVERIFY(book.setValue(3, 1, QStringLiteral("'   P.0")));
    QVERIFY(book.setValue(3, 2, QStringLiteral("'50.00Hz")));
    QVERIFY(book.setValue(3, 3, QStringLiteral("'0050")));
    QVERIFY(book.setValue(3, 4, QStringLiteral("频率")));
    QVERIFY(book.setValue(3, 5, QString()));
    QVERIFY(book.setFont(QStringLiteral("A3:E3"), QColor(255, 0, 0), true));
    QVERIFY(book.setAutoFilter(QStringLiteral("A2:E2")));
    QVERIFY2(book.saveAs(path), qPrintable(book.errorString()));

    const QJsonObject d = dump(path);
    QCOMPARE(d.value("sheets").toArray(), QJsonArray({ "VS5-043-5.5K|7.5K" }));
    QCOMPARE(d.value("filter").toString(), QString("A2:E2"));
    // The file stores a width of 28 characters with the cell padding the spreadsheet adds.
    QCOMPARE(d.value("widths").toObject().value("B").toDouble(), 28.7109375);
    const QJsonObject cells = d.value("cells").toObject();
    auto cell = [&](const char *name) { return cells.value(QLatin1String(name)).toObject(); };
    QCOMPARE(cell("A1").value("value").toString(), QString("VS5-043-5.5K|7.5K"));
    QCOMPARE(cell("B1").value("type").toString(), QString("str"));
    QCOMPARE(cell("C1").value("value").toDouble(), 1.0);
    QCOMPARE(cell("C1").value("type").toString(), QString("int"));
    QCOMPARE(cell("A2").value("fill").toString(), QString("FF6495ED"));
    QVERIFY(!cell("A2").value("bold").toBool());
    QCOMPARE(cell("A3").value("value").toString(), QString("   P.0"));
    QCOMPARE(cell("B3").value("value").toString(), QString("50.00Hz"));
    QCOMPARE(cell("C3").value("value").toString(), QString("0050"));
    QCOMPARE(cell("C3").value("type").toString(), QString("str"));
    QCOMPARE(cell("D3").value("value").toString(), QString::fromUtf8("频率"));
    for (const char *name : { "A3", "B3", "C3", "D3", "E3" }) {
        QVERIFY2(cell(name).value("bold").toBool(), name);
        QCOMPARE(cell(name).value("font").toString(), QString("FFFF0000"));
    }
    QVERIFY(cell("E3").value("value").isNull());
    QVERIFY(!cells.contains("A4"));
}

void TestWorkbook::ourReaderReadsBack_data()
{
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("read");
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe marks text") << QVariant("'50.00") << QVariant("50.00") << "50.00";
    QTest::newRow("only the first apostrophe") << QVariant("''x") << QVariant("'x") << "'x";
    QTest::newRow("plain text") << QVariant("Comment 2") << QVariant("Comment 2") << "Comment 2";
    QTest::newRow("apostrophe alone is empty") << QVariant("'") << QVariant() << "";
    QTest::newRow("integer is a number") << QVariant(1) << QVariant(1.0) << "1";
    QTest::newRow("fraction") << QVariant(0.1) << QVariant(0.1) << "0.1";
    QTest::newRow("negative") << QVariant(-12.5) << QVariant(-12.5) << "-12.5";
    QTest::newRow("large") << QVariant(123456789.0) << QVariant(123456789.0) << "123456789";
    QTest::newRow("boolean") << QVariant(true) << QVariant(true) << "true";
    QTest::newRow("GBK text") << QVariant(QString::fromUtf8("°Ω备注2")) << QVariant(QString::fromUtf8("°Ω备注2"))
                              << QString::fromUtf8("°Ω备注2");
    QTest::newRow("markup characters") << QVariant("<a & \"b\">") << QVariant("<a & \"b\">") << "<a & \"b\">";
    QTest::newRow("surrounding spaces kept") << QVariant("'  P. 5 ") << QVariant("  P. 5 ") << "  P. 5 ";
}

void TestWorkbook::ourReaderReadsBack()
{
    QFETCH(QVariant, written);
    QFETCH(QVariant, read);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.xlsx"));
    Workbook out;
    QVERIFY(out.setValue(1, 1, QStringLiteral("A1")));
    QVERIFY(out.setValue(40, 30, written));
    QVERIFY(out.setInteriorColor(41, 30, Qt::blue)); // a formatted empty cell still counts as used
    QVERIFY2(out.saveAs(path), qPrintable(out.errorString()));

    Workbook in;
    QVERIFY2(in.open(path), qPrintable(in.errorString()));
    QCOMPARE(in.value(40, 30), read);
    QCOMPARE(in.text(40, 30), text);
    QCOMPARE(in.text(40, 29), QString());
    const WorkbookRange used = in.usedRange();
    QCOMPARE(used.row, 1);
    QCOMPARE(used.column, 1);
    QCOMPARE(used.rowCount, 41);
    QCOMPARE(used.columnCount, 30);
}

void TestWorkbook::readsIndependentWriter()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("theirs.xlsx"));
    python(QStringLiteral("openpyxl_writer.py"), path);
    QVERIFY(QFile::exists(path));
    Workbook book;
    QVERIFY2(book.open(path), qPrintable(book.errorString()));
    QCOMPARE(book.sheetName(), QString("VM3-023-1.5K"));
    QCOMPARE(book.text(2, 2), QString("P.1"));
    QCOMPARE(book.text(2, 3), QString("50"));
    QCOMPARE(book.value(2, 3), QVariant(50.0));
    QCOMPARE(book.text(2, 4), QString("0.01"));
    QCOMPARE(book.value(4, 3), QVariant(QString("60.00")));
    QCOMPARE(book.text(4, 5), QString::fromUtf8("变频器"));
    QCOMPARE(book.text(1, 1), QString());
    QCOMPARE(book.text(3, 3), QString());
    const WorkbookRange used = book.usedRange();
    QCOMPARE(used.row, 2);
    QCOMPARE(used.column, 2);
    QCOMPARE(used.rowCount, 5);
    QCOMPARE(used.columnCount, 4);
}

void TestWorkbook::readsHandMadeLayout()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hand.xlsx"));
    QVERIFY(writeFile(path, handMadeWorkbook()));
    Workbook book;
    QVERIFY2(book.open(path), qPrintable(book.errorString()));
    QCOMPARE(book.sheetName(), QString("VS5-043-5.5K|7.5K"));
    QCOMPARE(book.text(2, 2), QString::fromUtf8("频率"));
    QCOMPARE(book.text(2, 3), QString("P.  7")); // follows B2 without a reference
    QCOMPARE(book.value(2, 4), QVariant(15.0));
    QCOMPARE(book.text(3, 1), QString("50.00Hz"));
    QCOMPARE(book.value(3, 3), QVariant(true));
    QCOMPARE(book.value(3, 5), QVariant());
    QCOMPARE(book.text(5, 4), QString(" two  spaces "));
    QCOMPARE(book.text(5, 6), QString("formula text"));
    const WorkbookRange used = book.usedRange();
    QCOMPARE(used.row, 2);
    QCOMPARE(used.column, 1);
    QCOMPARE(used.rowCount, 4);
    QCOMPARE(used.columnCount, 6);
}

void TestWorkbook::refusedOperations_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("argument");
    QTest::newRow("sheet name with slash") << 0 << "VS5-043-5.5K/7.5K";
    QTest::newRow("sheet name too long") << 0 << QString(32, 'x');
    QTest::newRow("empty sheet name") << 0 << "";
    QTest::newRow("sheet name in apostrophes") << 0 << "'a'";
    QTest::newRow("row 0") << 1 << "0";
    QTest::newRow("row past the sheet") << 1 << "1048577";
    QTest::newRow("font on no range") << 2 << "A2:";
    QTest::newRow("font on a range past the columns") << 2 << "A1:XFE1";
    QTest::newRow("filter on a column name") << 3 << "AB";
    QTest::newRow("filter on three corners") << 3 << "A1:B2:C3";
}

void TestWorkbook::refusedOperations()
{
    QFETCH(int, operation);
    QFETCH(QString, argument);
    Workbook book;
    bool ok = true;
    switch (operation) {
    case 0:
        ok = book.setSheetName(argument);
        break;
    case 1:
        ok = book.setValue(argument.toInt(), 1, QStringLiteral("x"));
        break;
    case 2:
        ok = book.setFont(argument, Qt::red, true);
        break;
    default:
        ok = book.setAutoFilter(argument);
        break;
    }
    QVERIFY(!ok);
    QVERIFY(!book.errorString().isEmpty());
    QCOMPARE(book.sheetName(), QString("Sheet1"));
    QCOMPARE(book.usedRange().rowCount, 1);
}

void TestWorkbook::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("target"); // "%1" is a scratch folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "%1/missing/list.xlsx"
                                    << "No such file or directory";
    QTest::newRow("file in place of the folder") << "%1/old.xlsx/list.xlsx"
                                                 << "Not a directory";
    QTest::newRow("a folder in place of the file") << "%1"
                                                   << "It is not a regular file";
    QTest::newRow("kernel folder") << "/proc/list.xlsx"
                                   << "";
    QTest::newRow("device") << "/dev/full"
                            << "It is not a regular file";
}

void TestWorkbook::failedSaveKeepsOldFile()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.xlsx"));
    QVERIFY(writeFile(old, "the user's file"));
    Workbook book;
    QVERIFY(book.setValue(1, 1, QStringLiteral("x")));
    QVERIFY(!book.saveAs(target.contains("%1") ? target.arg(dir.path()) : target));
    QVERIFY(book.errorString().contains(reason));
    QVERIFY(!book.errorString().isEmpty());
    QCOMPARE(fileBytes(old), QByteArray("the user's file"));
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList { "old.xlsx" });
    QVERIFY(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());
}

void TestWorkbook::fullDiskKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    QVERIFY(writeFile(path, "the user's file"));
    Workbook book;
    for (int r = 1; r <= 200; ++r)
        QVERIFY(book.setValue(r, 1, QStringLiteral("'row %1 of a list too big for the disk").arg(r)));

    // A file size limit makes every write past it fail as a full disk would.
    rlimit saved;
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool saved1 = book.saveAs(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QVERIFY(!saved1);
    QVERIFY(!book.errorString().isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("the user's file"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { "list.xlsx" });
    QVERIFY2(book.saveAs(path), qPrintable(book.errorString()));
    const QJsonObject cells = dump(path).value("cells").toObject();
    QCOMPARE(
        cells.value("A200").toObject().value("value").toString(), QString("row 200 of a list too big for the disk"));
}

void TestWorkbook::unreadableFiles_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("missing") << QByteArray() << ""
                             << "";
    QTest::newRow("text file") << QByteArray("VS5-043-5.5K|7.5K   ,2   ,1\r\n") << ""
                               << "";
    QTest::newRow("no sheet named") << handMadeWorkbook() << "rel:id=\"x7\""
                                    << "rel:id=\"zz\"";
    QTest::newRow("shared string index past the end") << handMadeWorkbook() << "<v>2</v>"
                                                      << "<v>9</v>";
    QTest::newRow("number that is none") << handMadeWorkbook() << "<v>1.5E1</v>"
                                         << "<v>abc</v>";
    QTest::newRow("cell past the last column") << handMadeWorkbook() << "r=\"C3\""
                                               << "r=\"XFE3\"";
    QTest::newRow("broken sheet XML") << handMadeWorkbook() << "</sheetData>"
                                      << "</sheetDat>";
}

void TestWorkbook::unreadableFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.xlsx"));
    if (!content.isEmpty()) {
        if (!from.isEmpty()) {
            // Rebuild the archive with one part changed.
            ZipArchiveReader reader;
            QVERIFY(reader.openData(content) == ZipOk);
            ZipArchiveWriter writer;
            QVERIFY(writer.create(path) == ZipOk);
            for (const QString &name : reader.names()) {
                QByteArray data;
                QVERIFY(reader.read(name, &data) == ZipOk);
                writer.add(name, data.replace(from.toUtf8(), to.toUtf8()));
            }
            QVERIFY(writer.close() == ZipOk);
        } else {
            QVERIFY(writeFile(path, content));
        }
    }
    Workbook book;
    QVERIFY(book.setValue(1, 1, QStringLiteral("left over")));
    QVERIFY(!book.open(path));
    QVERIFY(!book.errorString().isEmpty());
    QCOMPARE(book.text(1, 1), QString()); // a failed open leaves nothing half-read behind
}

void TestWorkbook::lastColumnStaysInItsRow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.xlsx"));
    Workbook out;
    QVERIFY(out.setValue(1, Workbook::MaxColumns, QStringLiteral("XFD1")));
    QVERIFY(out.setValue(3, 2, QStringLiteral("B3")));
    QVERIFY(!out.setValue(1, Workbook::MaxColumns + 1, QStringLiteral("XFE1")));
    QCOMPARE(out.text(2, 0), QString());
    QVERIFY2(out.saveAs(path), qPrintable(out.errorString()));
    Workbook in;
    QVERIFY2(in.open(path), qPrintable(in.errorString()));
    QCOMPARE(in.text(1, Workbook::MaxColumns), QStringLiteral("XFD1"));
    QCOMPARE(in.text(2, 0), QString());
    QCOMPARE(in.text(3, 2), QStringLiteral("B3"));
    const WorkbookRange used = in.usedRange();
    QCOMPARE(QList<int>({ used.row, used.column, used.rowCount, used.columnCount }),
        QList<int>({ 1, 2, 3, Workbook::MaxColumns - 1 }));
}

void TestWorkbook::inflatingPartsAreRefused_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("sheet of 256 MiB") << "book/sheets/one.xml";
    QTest::newRow("shared strings of 256 MiB") << "book/strings.xml";
}

void TestWorkbook::inflatingPartsAreRefused()
{
    QFETCH(QString, part);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bomb.xlsx"));
    const QString root = dataPath(QStringLiteral("handmade/"));
    QList<QPair<QByteArray, QByteArray>> others;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.mid(root.size()) != part)
            others.append({ file.mid(root.size()).toUtf8(), fileBytes(file) });
    }
    QVERIFY(writeZipBomb(path, part.toUtf8(), quint64(256) << 20, others));
    QVERIFY(QFileInfo(path).size() < 600 << 10);

    Workbook book;
    const qint64 peak = peakMemory();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!book.open(path));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(peakMemory() - peak < 100 << 20, qPrintable(QString::number(peakMemory() - peak)));
    QCOMPARE(book.errorString(), QStringLiteral("The workbook is too large"));
}

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"

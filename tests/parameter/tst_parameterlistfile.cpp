#include "parameter/parameterlistfile.h"
#include "parameter/paramglobals.h"
#include "parameter/paramtext.h"
#include "testdirs.h"
#include "testfiles.h"
#include "zip/workbook.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ParameterListFile;

// The list files read and written without the parameter form: the shipped samples, and what a save
// gives back when it is opened again.
class tst_ParameterListFile : public QObject {
    Q_OBJECT
private slots:
    void readsTheSamples_data();
    void readsTheSamples();
    void savedListsReadBack_data();
    void savedListsReadBack();
    void unreadableFileGivesItsReason();
    void damagedTextListsAreRefused_data();
    void damagedTextListsAreRefused();
    void farCellsCostOnlyTheCellsPresent();
};

using Values = QMap<int, QString>;
Q_DECLARE_METATYPE(ReadResult)

namespace {

const QString SampleType = QStringLiteral("VS5-043-5.5K/7.5K");

QString sample(const char *name)
{
    return sourceDir() + QStringLiteral("/tests/parameter/data/") + QLatin1String(name);
}

// The listed values only, so a row can name them.
Values listed(const ReadListing &listing)
{
    Values out;
    for (int i = 0; i < listing.values.size(); ++i)
        if (!listing.values.at(i).isEmpty())
            out.insert(i, listing.values.at(i));
    return out;
}

} // namespace

void tst_ParameterListFile::readsTheSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("invType");
    QTest::addColumn<bool>("groups");
    QTest::addColumn<ReadResult>("result");
    QTest::addColumn<int>("display");
    QTest::addColumn<int>("sort");
    QTest::addColumn<Values>("values");

    const int pseudo = ParamText::PseudoRow;
    QTest::newRow("english_plain_numbering")
        << sample("list_english.txt") << SampleType << false << ReadResult::Read << 2 << 1
        << Values { { 0, "60.00" }, { 1, "120.00" }, { 3, "--" }, { pseudo, "0" } };
    QTest::newRow("chinese_groups") << sample("list_chinese.txt") << SampleType << true << ReadResult::Read << 0 << 0
                                    << Values { { 0, "60.00" }, { 1, "0" }, { 3, "--" }, { pseudo, "0" } };
    QTest::newRow("another_drive_type") << sample("list_english.txt") << "VS5-043-0.4K" << false
                                        << ReadResult::OtherDrive << 2 << 1 << Values();
}

void tst_ParameterListFile::readsTheSamples()
{
    QFETCH(QString, file);
    QFETCH(QString, invType);
    QFETCH(bool, groups);
    QFETCH(ReadResult, result);
    QFETCH(int, display);
    QFETCH(int, sort);
    QFETCH(Values, values);

    ReadListing listing;
    QString reason;
    QCOMPARE(readTextListing(file, invType, groups, ParameterRows, &listing, &reason), result);
    QVERIFY(reason.isEmpty());
    QCOMPARE(listing.header.typeText, QStringLiteral("VS5-043-5.5K|7.5K"));
    QCOMPARE(listing.header.displayIndex, display);
    QCOMPARE(listing.header.sortColumn, sort);
    QCOMPARE(listed(listing), values);
}

void tst_ParameterListFile::savedListsReadBack_data()
{
    QTest::addColumn<bool>("workbook");
    QTest::addColumn<bool>("groups");
    QTest::addColumn<bool>("modbus");
    QTest::newRow("text_plain") << false << false << false;
    QTest::newRow("text_groups_modbus") << false << true << true;
    QTest::newRow("workbook_plain") << true << false << false;
    QTest::newRow("workbook_groups_modbus") << true << true << true;
}

void tst_ParameterListFile::savedListsReadBack()
{
    QFETCH(bool, workbook);
    QFETCH(bool, groups);
    QFETCH(bool, modbus);

    Listing listing;
    listing.typeText = QStringLiteral("VS5-043-5.5K|7.5K");
    listing.displayIndex = 1;
    listing.sortFlag = 0;
    listing.groups = groups;
    listing.modbus = modbus;
    for (int c = 0; c <= CommentColumn; ++c)
        listing.headers << QStringLiteral("H%1").arg(c);
    // Group, P, MODBUS, name, -, min, max, unit, default, current, setting, comment.
    listing.rows << QStringList { "00-00", "P.0", "0000H", "Frequency command", "", "0.00", "400.00", "0.01Hz",
                                  "50.00Hz", "60.00", "60.00", "RW" }
                 << QStringList { "00-03", "P.3", "0003H", "Acceleration time", "", "0.0", "3600.0", "0.1s", "10.0s",
                                  "--", "", "RW" }
                 << QStringList { "01-07", "P.107", "006BH", "Stop mode", "", "0", "1", "1", "0", "1", "1", "RW" };

    QTemporaryDir dir;
    const QString path = dir.filePath(workbook ? "list.xlsx" : "list.txt");
    QString reason;
    QStringList units;
    for (int i = 0; i < 24; ++i)
        units << QStringLiteral("u%1").arg(i);
    QVERIFY2(workbook ? saveWorkbookListing(path, listing, units, "Comment 2", "Modified", &reason)
                      : saveTextListing(path, listing, &reason),
             qPrintable(reason));

    ReadListing read;
    const ReadResult result = workbook ? readWorkbookListing(path, SampleType, groups, ParameterRows, &read, &reason)
                                       : readTextListing(path, SampleType, groups, ParameterRows, &read, &reason);
    QCOMPARE(result, ReadResult::Read);
    QCOMPARE(read.header.displayIndex, 1);
    QCOMPARE(read.header.sortColumn, 0);
    QCOMPARE(listed(read), (Values { { 0, "60.00" }, { 3, "--" }, { 107, "1" } }));
}

void tst_ParameterListFile::unreadableFileGivesItsReason()
{
    for (bool workbook : { false, true }) {
        ReadListing listing;
        QString reason;
        const QString missing = QStringLiteral("/nonexistent/list.") + (workbook ? "xlsx" : "txt");
        const ReadResult result = workbook
            ? readWorkbookListing(missing, SampleType, false, ParameterRows, &listing, &reason)
            : readTextListing(missing, SampleType, false, ParameterRows, &listing, &reason);
        QCOMPARE(result, ReadResult::CannotRead);
        QVERIFY(!reason.isEmpty());
    }
}

// A line that holds less than a whole row or more than any loads nothing of it and is named; a file
// larger than any list is not read.
void tst_ParameterListFile::damagedTextListsAreRefused_data()
{
    QTest::addColumn<QByteArray>("rows"); // after the sample's type line, headings and P.0; none: a sparse file too large
    QTest::addColumn<QStringList>("refused");
    const QByteArray cut = "   P.81        0              9              1              0" + QByteArray(29, ' ') + '5';
    QTest::newRow("line_cut_after_the_current_value") << cut + "\r\n" << QStringList { "P.81: the line is cut short" };
    QTest::newRow("line_cut_in_the_comment") << cut + "    R" << QStringList { "P.81: the line is cut short" };
    QTest::newRow("overlong_line") << "   P.1  " + QByteArray(5000, 'x') << QStringList { "Line 4: longer than 4096 bytes" };
    QTest::newRow("larger_than_any_list") << QByteArray() << QStringList();
}

void tst_ParameterListFile::damagedTextListsAreRefused()
{
    QFETCH(QByteArray, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    const QByteArray head = fileBytes(sample("list_english.txt")).split('\n').mid(0, 3).join('\n') + '\n';
    QVERIFY(writeFile(path, head + rows) && (!rows.isEmpty() || QFile::resize(path, MaxTextListBytes + 1)));
    ReadListing listing;
    QString reason;
    QCOMPARE(readTextListing(path, SampleType, false, ParameterRows, &listing, &reason),
        rows.isEmpty() ? ReadResult::CannotRead : ReadResult::Read);
    QCOMPARE(reason, QString(rows.isEmpty() ? "The file is larger than 64 MiB, more than any parameter list" : ""));
    QCOMPARE(listed(listing), (rows.isEmpty() ? Values() : Values { { 0, "60.00" } }));
    QTEST(listing.refused, "refused");
}

// Two cells at the far ends of a sheet span a billion cells; reading walks only the rows present.
void tst_ParameterListFile::farCellsCostOnlyTheCellsPresent()
{
    QTemporaryDir dir;
    Workbook book;
    QVERIFY(book.setValue(1, 1, "VS5-043-5.5K|7.5K") && book.setValue(3, 1, "'P.7") && book.setValue(3, 7, "'2.5"));
    QVERIFY(book.setValue(3, Workbook::MaxColumns, "x") && book.setValue(Workbook::MaxRows, 1, "'P.8"));
    QVERIFY2(book.saveAs(dir.filePath("far.xlsx")), qPrintable(book.errorString()));
    int calls = 0;
    ReadListing listing;
    QString reason;
    QCOMPARE(readWorkbookListing(dir.filePath("far.xlsx"), SampleType, false, ParameterRows, &listing, &reason,
                 [&](int, int) { ++calls; }), ReadResult::Read);
    QCOMPARE(calls, 2);
    QCOMPARE(listed(listing), (Values { { 7, "2.5" }, { 8, "--" } }));
}

QTEST_MAIN(tst_ParameterListFile)
#include "tst_parameterlistfile.moc"

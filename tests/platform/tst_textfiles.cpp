#include "platform/paths.h"
#include "platform/textfiles.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_TextFiles : public QObject
{
    Q_OBJECT
private slots:
    void windowsPathsBecomeLocal_data();
    void windowsPathsBecomeLocal();
    void writtenWithCrLfInGbk_data();
    void writtenWithCrLfInGbk();
    void streamedLinesGetCrLf();
    void unwritableFileReportsFailure();
    void readAcceptsBothLineEnds_data();
    void readAcceptsBothLineEnds();
    void dataLinesAreBounded_data();
    void dataLinesAreBounded();

private:
    QTemporaryDir m_dir;
    QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
};

void tst_TextFiles::windowsPathsBecomeLocal_data()
{
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("local");
    QTest::newRow("data_file") << QStringLiteral("/opt/tav/ParameterInforamtion\\InvType\\FNC.txt")
                               << QStringLiteral("/opt/tav/ParameterInforamtion/InvType/FNC.txt");
    QTest::newRow("already_local") << QStringLiteral("/opt/tav/images/a.png")
                                   << QStringLiteral("/opt/tav/images/a.png");
    QTest::newRow("doubled_separator") << QStringLiteral("/opt/tav/\\InvParameter\\\\D_Eng.xml")
                                       << QStringLiteral("/opt/tav/InvParameter/D_Eng.xml");
    QTest::newRow("case_and_spaces_kept")
        << QStringLiteral("/a/Help Files\\TavironINV.CHM") << QStringLiteral("/a/Help Files/TavironINV.CHM");
}

void tst_TextFiles::windowsPathsBecomeLocal()
{
    QFETCH(QString, windows);
    QFETCH(QString, local);
    QCOMPARE(localPath(windows), local);
}

void tst_TextFiles::writtenWithCrLfInGbk_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<bool>("append");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("lines") << QByteArray() << false << QStringLiteral("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("no_final_line_end") << QByteArray() << false << QStringLiteral("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("empty_lines") << QByteArray() << false << QStringLiteral("\n\n") << QByteArray("\r\n\r\n");
    QTest::newRow("units_in_gbk") << QByteArray() << false << QString::fromUtf8("5 m\u03A9\n40\u00B0\n")
                                  << QByteArray("5 m\xA6\xB8\r\n40\xA1\xE3\r\n");
    QTest::newRow("chinese_in_gbk") << QByteArray() << false << QString::fromUtf8("\u53C2\u6570\n")
                                    << QByteArray("\xB2\xCE\xCA\xFD\r\n");
    QTest::newRow("truncates_old_contents")
        << QByteArray("old old old\r\n") << false << QStringLiteral("new\n") << QByteArray("new\r\n");
    QTest::newRow("appends") << QByteArray("first\r\n") << true << QStringLiteral("second\n")
                             << QByteArray("first\r\nsecond\r\n");
}

void tst_TextFiles::writtenWithCrLfInGbk()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, append);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".txt"));
    if (!existing.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    QVERIFY(writeTextFile(path, text, append ? QIODevice::Append : QIODevice::Truncate));
    QCOMPARE(bytesOf(path), bytes);
    // Read back, the text is what was written.
    if (!append)
        QCOMPARE(readTextFile(path), text);
}

void tst_TextFiles::streamedLinesGetCrLf()
{
    const QString path = m_dir.filePath(QStringLiteral("stream.txt"));
    CrLfTextWriter out(path);
    QVERIFY(out.open());
    out << "P." << 12 << "\t" << 3.5 << "\n";
    out << QString::fromUtf8("\u00B0C") << '\n';
    QVERIFY(out.close());
    QCOMPARE(bytesOf(path),
        QByteArray("P.12\t3.5\r\n\xA1\xE3"
                   "C\r\n"));

    CrLfTextWriter more(path);
    QVERIFY(more.open(QIODevice::Append));
    more << "end\n";
    // Closed by the destructor.
    {
        CrLfTextWriter scoped(m_dir.filePath(QStringLiteral("scoped.txt")));
        QVERIFY(scoped.open());
        scoped << "x\n";
    }
    QCOMPARE(bytesOf(m_dir.filePath(QStringLiteral("scoped.txt"))), QByteArray("x\r\n"));
    QVERIFY(more.close());
    QCOMPARE(bytesOf(path),
        QByteArray("P.12\t3.5\r\n\xA1\xE3"
                   "C\r\nend\r\n"));
}

void tst_TextFiles::unwritableFileReportsFailure()
{
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/file.txt"));
    QVERIFY(!writeTextFile(path, QStringLiteral("x\n")));
    CrLfTextWriter out(path);
    QVERIFY(!out.open());
    QVERIFY(!out.errorString().isEmpty());
    // A full disk shows up when the bytes are flushed.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        CrLfTextWriter full(QStringLiteral("/dev/full"));
        QVERIFY(full.open());
        full << QString(5000, QLatin1Char('x')) << "\n";
        QVERIFY(!full.close());
    }
    bool ok = true;
    QCOMPARE(readTextLines(path, gbkCodec(), &ok), QStringList());
    QVERIFY(!ok);
}

void tst_TextFiles::readAcceptsBothLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList three { QStringLiteral("P.0"), QString(), QString::fromUtf8("\u03A9") };
    QTest::newRow("lf") << QByteArray("P.0\n\n\xA6\xB8\n") << three;
    QTest::newRow("crlf") << QByteArray("P.0\r\n\r\n\xA6\xB8\r\n") << three;
    QTest::newRow("mixed") << QByteArray("P.0\r\n\n\xA6\xB8\r\n") << three;
    QTest::newRow("no_final_line_end") << QByteArray("P.0\r\n\r\n\xA6\xB8") << three;
    QTest::newRow("empty") << QByteArray() << QStringList();
}

void tst_TextFiles::readAcceptsBothLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString path = m_dir.filePath(QStringLiteral("read.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    bool ok = false;
    QCOMPARE(readTextLines(path, gbkCodec(), &ok), lines);
    QVERIFY(ok);
    QCOMPARE(readDataLines(path, gbkCodec(), &ok), lines);
    QVERIFY(ok);
}

// A line of a data file beyond its bounds comes back empty, and is told to the report with its number.
void tst_TextFiles::dataLinesAreBounded_data()
{
    QTest::addColumn<QByteArray>("bytes"); // none: a sparse file one byte larger than any data file
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("reports");
    const QByteArray longest(MaxDataLineBytes - 1, ';'), name(MaxDataNameChars, 'N');
    const QStringList tooLong { "2 longer than 4096 bytes" };
    QTest::newRow("line_at_the_bound_kept") << "M0R;F\r\n" + longest + "x\r\n" << QStringList { "M0R;F", longest + "x" } << QStringList();
    QTest::newRow("line_past_the_bound_skipped") << "M0R;F\n" + longest + "xy\r\nM2R;C" << QStringList { "M0R;F", "", "M2R;C" } << tooLong;
    QTest::newRow("huge_line_without_end") << "M0R;F\n" + QByteArray(1 << 20, ';') << QStringList { "M0R;F", "" } << tooLong;
    QTest::newRow("name_past_the_bound_skipped") << "1/" + name + "/0\n2-N" + name + "\n" << QStringList { "1/" + name + "/0", "" }
                                                 << QStringList { "2 a name longer than 256 characters" };
    QTest::newRow("file_past_the_bound_unread") << QByteArray() << QStringList() << QStringList { "0 larger than 16777216 bytes, not read" };
}

void tst_TextFiles::dataLinesAreBounded()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("data.txt"));
    QVERIFY(writeFile(path, bytes) && (!bytes.isEmpty() || QFile::resize(path, MaxDataFileBytes + 1)));
    QStringList told;
    setDataLineReport([&](const QString &, int line, const QString &why) { told << QString::number(line) + ' ' + why; });
    bool ok = false;
    const QStringList lines = readDataLines(path, gbkCodec(), &ok);
    setDataLineReport(nullptr);
    QTEST(lines, "lines");
    QCOMPARE(ok, !bytes.isEmpty());
    QTEST(told, "reports");
}

QTEST_GUILESS_MAIN(tst_TextFiles)
#include "tst_textfiles.moc"

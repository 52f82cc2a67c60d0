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

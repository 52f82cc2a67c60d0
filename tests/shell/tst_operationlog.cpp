// The operation log on disk: start and close lines, the run marker, CR LF, GBK, trimming to 100 runs
// and whole lines from several threads.

#include "shell/appglobals.h"
#include "shell/operationlog.h"
#include "shell/shellreports.h"
#include "quicksetup/terminallists.h"
#include "testfiles.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>
#include <thread>

namespace
{

const QByteArray Marker(54, '*');

QByteArray gbk(const QString &text)
{
    return QTextCodec::codecForName("GBK")->fromUnicode(text);
}

// A finished run as the program leaves it on disk.
QByteArray run(int number)
{
    return "2024.01.02 03:04:05  Open TavironINV\r\nSingle click selectStation:" + QByteArray::number(number)
        + "\r\n2024.01.02 03:05:06  Close TavironINV\r\n" + Marker + "\r\n";
}

QByteArray runs(int first, int count)
{
    QByteArray bytes;
    for (int i = first; i < first + count; ++i)
        bytes += run(i);
    return bytes;
}

} // namespace

class TestOperationLog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void startLineOnMissingLog();
    void closeLinesEndTheRun();
    void closeWritesNothingWhenLogWasDeleted();
    void startTrimsOnlyAtHundredRuns_data();
    void startTrimsOnlyAtHundredRuns();
    void appendSkipsMissingLogWhenAsked();
    void appendKeepsGbkAndCrLf();
    void linesFromTwoThreadsLandWhole();
    void overlongDataLineIsSkippedAndLogged();

private:
    QByteArray readLog() const;
    void writeLog(const QByteArray &bytes) const;
    QTemporaryDir m_dir;
};

void TestOperationLog::init()
{
    QVERIFY(m_dir.isValid());
    g_appDir = m_dir.path() + QLatin1Char('/');
    QFile::remove(g_appDir + QStringLiteral("Operation_log.txt"));
}

QByteArray TestOperationLog::readLog() const
{
    QFile file(g_appDir + QStringLiteral("Operation_log.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestOperationLog::writeLog(const QByteArray &bytes) const
{
    QFile file(g_appDir + QStringLiteral("Operation_log.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void TestOperationLog::startLineOnMissingLog()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    startOperationLogRun();
    const QByteArray log = readLog();

    const QRegularExpression line(
        QStringLiteral("^(\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2})  Open TavironINV\r\n$"));
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(log));
    QVERIFY2(match.hasMatch(), log.constData());
    const QDateTime stamp = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy.MM.dd hh:mm:ss"));
    QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime());
    QCOMPARE(g_logTimeStamp, match.captured(1));
}

void TestOperationLog::closeLinesEndTheRun()
{
    writeLog("earlier\r\n");
    closeOperationLogRun();
    const QByteArray expected = "earlier\r\n" + g_logTimeStamp.toLatin1() + "  Close TavironINV\r\n" + Marker + "\r\n";
    QCOMPARE(readLog(), expected);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}$"))
                .match(g_logTimeStamp)
                .hasMatch());
}

void TestOperationLog::closeWritesNothingWhenLogWasDeleted()
{
    closeOperationLogRun();
    QVERIFY(!QFile::exists(g_appDir + QStringLiteral("Operation_log.txt")));
}

void TestOperationLog::startTrimsOnlyAtHundredRuns_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("keptPart");

    QTest::newRow("99 runs are kept") << runs(1, 99) << runs(1, 99);
    QTest::newRow("100 runs lose the oldest") << runs(1, 100) << runs(2, 99);
    QTest::newRow("101 runs lose only the oldest") << runs(1, 101) << runs(2, 100);
    // A killed run leaves no marker: its lines belong to the run after it.
    QTest::newRow("killed run counts with the next")
        << "2024.01.01 00:00:00  Open TavironINV\r\n" + runs(1, 100) << runs(2, 99);
    QTest::newRow("marker inside a line counts") << "text " + Marker + " more\r\n" + runs(2, 99) << runs(2, 99);
    QTest::newRow("LF-only log is read and rewritten with CR LF") << runs(1, 100).replace("\r\n", "\n") << runs(2, 99);
    QTest::newRow("GBK text survives the trim") << runs(1, 99) + gbk(QStringLiteral("参数 P.12 Ω\r\n")) + run(100)
                                                << runs(2, 98) + gbk(QStringLiteral("参数 P.12 Ω\r\n")) + run(100);
    QByteArray onlyMarkers;
    for (int i = 0; i < 100; ++i)
        onlyMarkers += Marker + "\r\n";
    QTest::newRow("first marker is the only line of its run") << onlyMarkers << onlyMarkers.mid(Marker.size() + 2);
}

void TestOperationLog::startTrimsOnlyAtHundredRuns()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, keptPart);
    writeLog(before);
    startOperationLogRun();
    QCOMPARE(readLog(), keptPart + g_logTimeStamp.toLatin1() + "  Open TavironINV\r\n");
}

void TestOperationLog::appendSkipsMissingLogWhenAsked()
{
    appendOperationLog({ QStringLiteral("Communication setting:0-1-1-0-0-1-10") }, true);
    QVERIFY(!QFile::exists(g_appDir + QStringLiteral("Operation_log.txt")));
    appendOperationLog({ QStringLiteral("Batch write parameter:") });
    QCOMPARE(readLog(), QByteArray("Batch write parameter:\r\n"));
}

void TestOperationLog::appendKeepsGbkAndCrLf()
{
    appendOperationLog({ QStringLiteral("Single click selectStation:7,变频器"), QString() });
    QCOMPARE(readLog(), "Single click selectStation:7," + gbk(QStringLiteral("变频器")) + "\r\n\r\n");
}

void TestOperationLog::linesFromTwoThreadsLandWhole()
{
    const int perThread = 400;
    auto writer = [](char tag) {
        for (int i = 0; i < perThread; ++i)
            appendOperationLog(
                { QString(QLatin1Char(tag)).repeated(60) + QString::number(i) + QStringLiteral("read failure!") });
    };
    std::thread a(writer, 'A');
    std::thread b(writer, 'B');
    a.join();
    b.join();

    const QList<QByteArray> lines = readLog().split('\n');
    QCOMPARE(lines.size(), 2 * perThread + 1);
    QVERIFY(lines.last().isEmpty());
    QSet<QByteArray> seen;
    const QRegularExpression whole(QStringLiteral("^(A{60}|B{60})\\d+read failure!\r$"));
    for (int i = 0; i < lines.size() - 1; ++i) {
        QVERIFY2(whole.match(QString::fromLatin1(lines[i])).hasMatch(), lines[i].constData());
        seen.insert(lines[i]);
    }
    QCOMPARE(seen.size(), 2 * perThread);
}

// A terminal list line of 10 MB once froze the wizard; past 4 KiB it is skipped, and the log says so.
void TestOperationLog::overlongDataLineIsSkippedAndLogged()
{
    writeLog("");
    installShellReports();
    const QString path = g_appDir + QStringLiteral("ParameterInforamtion/InvType/inputAndOutput.txt");
    QVERIFY(writeFile(path, "A-1.00-2.00\r\n" + QByteArray("1.STF-").repeated(700) + "\r\n"));
    QCOMPARE(TerminalLists::loadDataFields('A', 1.5), QStringList());
    QCOMPARE(readLog(), "Skipped line 2 of " + path.toLocal8Bit() + ": longer than 4096 bytes\r\n");
}

QTEST_GUILESS_MAIN(TestOperationLog)
#include "tst_operationlog.moc"

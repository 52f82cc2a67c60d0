// The trend chart fed one pass at a time on a clock the benchmark sets, at the fastest pass rate the
// wire allows: heap per stored sample, heap over eight hours past the record limit, the refresh of
// eight channels holding a full record, and the data export of 100,000 rows beside Python's csv and
// openpyxl writing the same rows. Not a timed test; in full with TAVIRON_BENCH=1.

#include "benchmode.h"
#include "monitor/advanceplot.h"
#include "monitor/monitorglobals.h"
#include "monitor/trenddatafile.h"
#include "testdirs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <malloc.h>

namespace
{

// Modbus RTU at 115200 baud, 8E1: 11 bits a character. An item is an 8-byte request and a 7-byte
// reply, each followed by a 3.5-character silence; the drive's turnaround is not counted, so no
// real link passes faster than this.
const int Baud = 115200;
const int Channels = 8;
const double CharactersPerItem = 8 + 7 + 2 * 3.5;
const double PassMs = Channels * CharactersPerItem * 11.0 * 1000.0 / Baud;
const int RecordLimit = 1200;
const double Width = 30.0;

class BenchClock : public TrendClock
{
public:
    void restart() override { ms = 0; }
    double elapsedMs() const override { return ms; }
    QTime now() const override { return QTime(14, 3, 22, 517).addMSecs(int(ms)); }
    double ms = 0;
};

// Live heap: the arenas' used chunks and the mapped blocks, which large vectors get.
qint64 heapBytes()
{
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks) + qint64(m.hblkhd);
}

double mb(qint64 bytes)
{
    return bytes / 1048576.0;
}

// A monitored value as the drive reports it, to two decimals, moving so that no two passes draw alike.
double valueAt(int channel, double t)
{
    return std::round((50.0 + 40.0 * std::sin(2 * M_PI * (t / 20.0 + channel / 8.0))) * 100.0) / 100.0;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0.0 : v.at(v.size() / 2);
}

struct Feeder {
    AdvancePlot plot { nullptr, Channels, Width, 100.0 };
    BenchClock *clock = new BenchClock();
    qint64 passes = 0;

    Feeder(double width, int limit)
    {
        plot.setClock(clock);
        plot.GetStepLength({ 80, 80, 80, 80, 80, 80, 80, 80 });
        plot.setXAxisWidth(width, limit);
        {
            std::lock_guard<FairMutex> lock(g_monitorListsMutex);
            g_monitorCodes = QVector<QString>(Channels + 1, QStringLiteral("M00"));
            g_monitorValues = QVector<double>(Channels + 1, 0.0);
        }
        plot.start();
    }
    double chartTime() const { return clock->ms / 1000.0 - 0.5; }
    // Passes as the poller makes them, under the lists' lock, until the chart's time reaches t.
    void feedUntil(double t)
    {
        static const QVector<bool> enabled(Channels, true);
        static const QVector<int> items { 0, 1, 2, 3, 4, 5, 6, 7 };
        while (chartTime() < t) {
            ++passes;
            clock->ms = passes * PassMs;
            std::lock_guard<FairMutex> lock(g_monitorListsMutex);
            for (int c = 0; c < Channels; ++c)
                g_monitorValues[c] = valueAt(c, chartTime());
            plot.addData(enabled, items);
        }
    }
    int storedPasses() { return plot.rawPoints(Channels).size(); }
};

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TrendDataTable exportTable(int rows)
{
    TrendDataTable table;
    table.date = QStringLiteral("2024-05-06");
    table.timeHeader = QStringLiteral("System Time");
    table.names = QStringList { QStringLiteral("输出频率"), QStringLiteral("设定频率"), QStringLiteral("输出电流"),
                                QStringLiteral("输出电压"), QStringLiteral("母线电压"), QStringLiteral("输出转矩"),
                                QStringLiteral("输出功率"), QStringLiteral("Motor Speed") };
    table.values.resize(Channels);
    for (int r = 0; r < rows; ++r) {
        const double t = r * PassMs / 1000.0;
        table.stamps << AdvancePlot::stampText(QTime(14, 3, 22, 517).addMSecs(int(r * PassMs)));
        for (int c = 0; c < Channels; ++c)
            table.values[c] << valueAt(c, t);
    }
    return table;
}

template <class Work> double medianSeconds(Work work, int repeats)
{
    QVector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e9;
    }
    return median(times);
}

} // namespace

class tst_TrendBench : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void memoryPerStoredSample();
    void memoryFlatPastRecordLimit();
    void refreshFullRecord_data();
    void refreshFullRecord();
    void exportAgainstPython();
};

void tst_TrendBench::initTestCase()
{
    fullBench(); // outside a full run, silences the figures
    qInfo("pass rate: %d items x (8-byte request + 7-byte reply + 2 x 3.5-character silence) x 11 bits / %d baud "
          "= %.2f ms a pass, %.1f passes/s: the fastest a Modbus RTU link at %d baud can feed the chart, "
          "so the most it can hold",
          Channels, Baud, PassMs, 1000.0 / PassMs, Baud);
}

void tst_TrendBench::memoryPerStoredSample()
{
    const qint64 before = heapBytes();
    Feeder feed(Width, RecordLimit);
    const qint64 empty = heapBytes();
    qInfo("empty chart: %.2f MB", mb(empty - before));
    // Per pass the chart holds eight raw and eight scaled points, the pass marker twice (16-byte
    // points) and a stamp text; the vectors grow by doubling, so the figure swings with where the
    // fill stands between two doublings.
    QVector<double> perSample;
    for (int t = 10; t <= RecordLimit - 10; t += 10) {
        feed.feedUntil(t);
        const qint64 grown = heapBytes() - empty;
        const int passes = feed.storedPasses();
        QCOMPARE(passes, int(feed.passes));
        if (t >= 60)
            perSample << double(grown) / passes / Channels;
        if (t % 300 == 0 || t == RecordLimit - 10)
            qInfo("%6d s, %6d passes: %7.2f MB, %6.1f bytes a pass, %5.1f bytes a stored sample (one channel's "
                  "value)",
                  t, passes, mb(grown), double(grown) / passes, double(grown) / passes / Channels);
    }
    std::sort(perSample.begin(), perSample.end());
    qInfo("bytes a stored sample, every 10 s from 60 s to %d s: %.1f to %.1f, median %.1f; the points alone "
          "take %.1f",
          RecordLimit - 10, perSample.first(), perSample.last(), median(perSample), 18 * 16.0 / Channels);
}

void tst_TrendBench::memoryFlatPastRecordLimit()
{
    const qint64 before = heapBytes();
    Feeder feed(Width, RecordLimit);
    QElapsedTimer took;
    took.start();
    // The refresh once a simulated second rather than every 30 ms: the curves' copies of the window
    // count too, and their size does not depend on how often they are taken.
    QVector<QPair<int, qint64>> heap;
    const int seconds = fullBench() ? 8 * 3600 : 2 * RecordLimit; // in the suite, twice the record limit
    for (int second = 1; second <= seconds; ++second) {
        feed.feedUntil(second);
        feed.plot.updateCurve();
        if (second % 600 == 0)
            heap << qMakePair(second, heapBytes() - before);
    }
    QString series;
    qint64 most = 0, least = std::numeric_limits<qint64>::max();
    for (const auto &h : qAsConst(heap)) {
        if (h.first % 3600 == 0)
            series += QStringLiteral(" %1 h %2 MB;").arg(h.first / 3600).arg(mb(h.second), 0, 'f', 2);
        if (h.first > RecordLimit + Width) {
            most = qMax(most, h.second);
            least = qMin(least, h.second);
        }
    }
    qInfo("%lld passes over %d simulated hours in %.1f s; heap of the chart:%s", feed.passes, seconds / 3600,
          took.nsecsElapsed() / 1e9, qPrintable(series));
    qInfo("past the record limit (%d s) every 10 simulated minutes: %.2f to %.2f MB, max/min %.3f; "
          "the marker holds %d passes",
          RecordLimit, mb(least), mb(most), double(most) / least, feed.storedPasses());
    feed.plot.stop();
    qInfo("after stop: %d passes kept (%.0f s up to the limit), heap %.2f MB", feed.storedPasses(),
          feed.plot.rawPoints(Channels).last().x(), mb(heapBytes() - before));
}

void tst_TrendBench::refreshFullRecord_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("calls");
    QTest::newRow("30 s window, the default") << 30.0 << 300;
    if (fullBench())
        QTest::newRow("1000 s window, the widest Option allows") << 1000.0 << 40;
}

void tst_TrendBench::refreshFullRecord()
{
    QFETCH(double, width);
    QFETCH(int, calls);
    Feeder feed(width, RecordLimit);
    feed.feedUntil(RecordLimit - 0.1);
    // About the chart's size in the trend window.
    feed.plot.resize(860, 480);
    feed.plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&feed.plot));
    PaintCounter counter;
    feed.plot.canvas()->installEventFilter(&counter);

    QVector<double> handOver, withPaint;
    for (int i = 0; i < calls + 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        feed.plot.updateCurve();
        const double handed = timer.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
        const double painted = timer.nsecsElapsed() / 1e6;
        if (i >= 5) { // the first ones warm caches and the backing store
            handOver << handed;
            withPaint << painted;
        }
    }
    const QwtInterval window = feed.plot.xInterval();
    int shown = 0;
    for (QwtPlotCurve *curve : feed.plot.curveList())
        shown += int(curve->dataSize());
    qInfo("%d channels x %d passes held, window %.1f..%.1f s (%d points drawn), %d calls, %d canvas paints: "
          "updateCurve %.3f ms, with the paint %.3f ms (median; %.0f%% of the 30 ms period)",
          Channels, feed.storedPasses(), window.minValue(), window.maxValue(), shown, calls, counter.paints,
          median(handOver), median(withPaint), median(withPaint) / 30.0 * 100.0);
    QVERIFY(counter.paints >= calls);
}

void tst_TrendBench::exportAgainstPython()
{
    const int rows = fullBench() ? 100000 : 1000;
    const int repeats = fullBench() ? 3 : 1;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const TrendDataTable table = exportTable(rows);
    QString reason;
    const QString text = dir.filePath(QStringLiteral("ours.txt"));
    const QString book = dir.filePath(QStringLiteral("ours.xlsx"));
    bool ok = true;
    const double ourText = medianSeconds([&] { ok = ok && writeTrendTextFile(text, table, &reason); }, repeats);
    const double ourBook = medianSeconds([&] { ok = ok && writeTrendWorkbook(book, table, &reason); }, repeats);
    QVERIFY2(ok, qPrintable(reason));

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 { sourceDir() + QStringLiteral("/tests/monitor/trendbench.py"), text, dir.path(),
                   QString::number(repeats) });
    QVERIFY(python.waitForFinished(300000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QJsonObject theirs = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    QCOMPARE(theirs.value(QStringLiteral("rows")).toInt(), rows);
    const double csvText = theirs.value(QStringLiteral("csv")).toDouble();
    const double pyBook = theirs.value(QStringLiteral("openpyxl")).toDouble();
    const double pyBookWriteOnly = theirs.value(QStringLiteral("openpyxl_write_only")).toDouble();
    QVERIFY(csvText > 0 && pyBook > 0 && pyBookWriteOnly > 0);

    const auto size = [&](const QString &name) { return mb(QFileInfo(dir.filePath(name)).size()); };
    qInfo("%d rows x %d channels, median of %d: text %.3f s (%.2f MB), Python csv %.3f s (%.2f MB): ours/csv %.2f",
          rows, Channels, repeats, ourText, size(QStringLiteral("ours.txt")), csvText,
          size(QStringLiteral("python.txt")), ourText / csvText);
    qInfo("workbook %.3f s (%.2f MB), openpyxl %.3f s (%.2f MB): ours/openpyxl %.2f; openpyxl write-only %.3f s: "
          "ours/write-only %.2f",
          ourBook, size(QStringLiteral("ours.xlsx")), pyBook, size(QStringLiteral("python.xlsx")), ourBook / pyBook,
          pyBookWriteOnly, ourBook / pyBookWriteOnly);
}

QTEST_MAIN(tst_TrendBench)
#include "tst_trendbench.moc"

// The trend chart on a clock the test sets: scaling, repeats of disabled channels, the record
// limit at stop, zoom, pan, the value cursor under a known sample, and samples refused while not
// recording.

#include "monitor/advanceplot.h"
#include "monitor/monitorglobals.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTest>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_div.h>

#include <QElapsedTimer>
#include <cmath>
#include <thread>

namespace
{

class TestClock : public TrendClock
{
public:
    void restart() override { ms = 0; }
    double elapsedMs() const override { return ms; }
    QTime now() const override { return wall; }
    std::atomic<double> ms { 0 };
    QTime wall { 14, 3, 22, 517 };
};

const QVector<bool> AllOn(8, true);
const QVector<int> Items { 0, 1, 2, 3, 4, 5, 6, 7 };

void setValues(const QVector<double> &values)
{
    std::lock_guard<FairMutex> lock(g_monitorListsMutex);
    g_monitorCodes = QVector<QString>(9, QStringLiteral("M00"));
    g_monitorValues = values;
    g_monitorValues.resize(9);
}

struct Chart {
    AdvancePlot plot { nullptr, 8, 30.0, 100.0 };
    TestClock *clock = new TestClock();
    Chart()
    {
        plot.setClock(clock);
        plot.GetStepLength({ 80, 500, 15, 80, 20, 30, 20, 20 });
    }
    // One pass every step seconds until t (chart time, from -0.5 s).
    void feedUntil(double t, double step = 0.1, const QVector<bool> &enabled = AllOn)
    {
        while (clock->ms / 1000.0 - 0.5 < t - 1e-9) {
            clock->ms = clock->ms + step * 1000.0;
            plot.addData(enabled, Items);
        }
    }
    QwtInterval axis() const { return plot.axisScaleDiv(QwtPlot::xBottom).interval(); }
};

} // namespace

class tst_AdvancePlot : public QObject
{
    Q_OBJECT
private slots:
    void scaledValues_data();
    void scaledValues();
    void disabledChannelRepeatsItsPoint();
    void samplesOnlyWhileRecording();
    void systemClockRunsFromStart();
    void stopAppliesRecordLimit_data();
    void stopAppliesRecordLimit();
    void zoom_data();
    void zoom();
    void panLimits();
    void valueCursorReadsSampleUnderPointer();
    void stampsInCLocale();
    void memoryFlatPastRecordLimit();
    void wideWindowDrawsEachPixelsExtremes();
    void feedingThreadAgainstGuiOperations();
};

void tst_AdvancePlot::scaledValues_data()
{
    QTest::addColumn<double>("raw");
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("scaled");
    QTest::newRow("40 of span 80") << 40.0 << 0 << 50.0;
    QTest::newRow("40 of span 80, offset 5") << 40.0 << 5 << 55.0;
    QTest::newRow("80 of span 80, offset 5") << 80.0 << 5 << 105.0;
    QTest::newRow("negative") << -8.0 << 0 << -10.0;
}

void tst_AdvancePlot::scaledValues()
{
    QFETCH(double, raw);
    QFETCH(int, offset);
    QFETCH(double, scaled);
    Chart c;
    QVector<QSpinBox *> boxes;
    for (int i = 0; i < 8; ++i) {
        boxes << new QSpinBox();
        boxes.last()->setValue(i == 0 ? offset : 0);
    }
    c.plot.setChannelOffsets(boxes);
    qDeleteAll(boxes);
    setValues({ raw });
    c.plot.start();
    c.clock->ms = 1500;
    c.plot.addData(AllOn, Items);
    QCOMPARE(c.plot.rawPoints(0), QVector<QPointF>({ QPointF(1.0, raw) }));
    QCOMPARE(c.plot.scaledPoints(0), QVector<QPointF>({ QPointF(1.0, scaled) }));
    QCOMPARE(c.plot.rawPoints(8), QVector<QPointF>({ QPointF(1.0, -1.0) }));
}

void tst_AdvancePlot::disabledChannelRepeatsItsPoint()
{
    Chart c;
    setValues({ 40, 100 });
    c.plot.start();
    c.clock->ms = 1000;
    c.plot.addData(AllOn, Items);
    setValues({ 60, 200 });
    c.clock->ms = 2000;
    c.plot.addData({ false, true, true, true, true, true, true, true }, Items);
    // Channel 1 repeats its last point at that point's time; channel 2 (span 500) grows.
    QCOMPARE(c.plot.rawPoints(0), QVector<QPointF>({ QPointF(0.5, 40) }));
    QCOMPARE(c.plot.scaledPoints(0), QVector<QPointF>({ QPointF(0.5, 50), QPointF(0.5, 50) }));
    QCOMPARE(c.plot.scaledPoints(1), QVector<QPointF>({ QPointF(0.5, 20), QPointF(1.5, 40) }));
    c.clock->ms = 3000;
    c.plot.addData(AllOn, Items);
    QCOMPARE(c.plot.rawPoints(0), QVector<QPointF>({ QPointF(0.5, 40), QPointF(2.5, 60) }));
    // An item index outside the list and an empty channel add nothing.
    c.plot.addData(AllOn, { -1, 9, 2, 3, 4, 5, 6, 7 });
    QCOMPARE(c.plot.rawPoints(0).size(), 2);
    QCOMPARE(c.plot.rawPoints(1).size(), 3);
    QCOMPARE(c.plot.rawPoints(8).size(), 4);
    QCOMPARE(c.plot.stamps().size(), 4);
}

// The chart's own clock, as a recording uses it: samples 300 ms apart lie 0.3 s apart on the time
// axis, the first at about -0.5 s (every sample at -0.5 s drew nothing and exported one time).
void tst_AdvancePlot::systemClockRunsFromStart()
{
    AdvancePlot plot { nullptr, 8, 30.0, 100.0 };
    setValues({ 1 });
    plot.start();
    plot.addData(AllOn, Items);
    QTest::qWait(300);
    plot.addData(AllOn, Items);
    const QVector<QPointF> points = plot.rawPoints(0);
    QCOMPARE(points.size(), 2);
    QVERIFY2(points.at(0).x() < -0.4, qPrintable(QString::number(points.at(0).x())));
    const double apart = points.at(1).x() - points.at(0).x();
    QVERIFY2(apart >= 0.29 && apart < 2.0, qPrintable(QString::number(apart)));
    plot.stop();
}

void tst_AdvancePlot::samplesOnlyWhileRecording()
{
    Chart c;
    setValues({ 1 });
    c.plot.addData(AllOn, Items);
    QCOMPARE(c.plot.rawPoints(8).size(), 0);
    c.plot.start();
    c.feedUntil(2.0);
    const int recorded = c.plot.rawPoints(8).size();
    QVERIFY(recorded > 0);
    c.plot.stop();
    // A pass that still comes after Stop (or after the link was lost) changes nothing.
    c.clock->ms = 10000;
    c.plot.addData(AllOn, Items);
    QCOMPARE(c.plot.rawPoints(8).size(), recorded);
    QCOMPARE(c.plot.rawPoints(0).size(), recorded);
}

void tst_AdvancePlot::stopAppliesRecordLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<double>("until");
    QTest::addColumn<double>("lastKept");
    QTest::addColumn<double>("windowStart");
    QTest::addColumn<double>("windowEnd");
    QTest::newRow("before the limit") << 1200 << 45.0 << 45.0 << 15.0 << 45.0;
    QTest::newRow("limit 100 at width 30") << 100 << 150.0 << 100.0 << 70.0 << 100.0;
    QTest::newRow("limit 10 at width 30") << 10 << 150.0 << 10.0 << 0.0 << 30.0;
}

void tst_AdvancePlot::stopAppliesRecordLimit()
{
    QFETCH(int, limit);
    QFETCH(double, until);
    QFETCH(double, lastKept);
    QFETCH(double, windowStart);
    QFETCH(double, windowEnd);
    Chart c;
    c.plot.setXAxisWidth(30, limit);
    setValues({ 1, 2 });
    c.plot.start();
    c.feedUntil(until, 0.5);
    c.plot.updateCurve();
    QCOMPARE(c.axis().maxValue(), until);
    c.plot.stop();
    const QVector<QPointF> marker = c.plot.rawPoints(8);
    QCOMPARE(marker.last().x(), lastKept);
    // Every pass up to the limit is kept, one stamp each.
    QCOMPARE(marker.size(), int(lastKept * 2) + 1);
    QCOMPARE(c.plot.stamps().size(), marker.size());
    QCOMPARE(c.plot.rawPoints(0).size(), marker.size());
    QCOMPARE(c.plot.scaledPoints(0).last().x(), lastKept);
    QCOMPARE(c.plot.xInterval().minValue(), windowStart);
    QCOMPARE(c.plot.xInterval().maxValue(), windowEnd);
    QCOMPARE(c.axis().minValue(), windowStart);
    QCOMPARE(c.plot.panLimitValue(), qMin(double(limit), until));
    // A second stop changes nothing.
    c.plot.zoomOut();
    const QwtInterval zoomed = c.plot.xInterval();
    c.plot.stop();
    QCOMPARE(c.plot.rawPoints(8), marker);
    QCOMPARE(c.plot.xInterval().maxValue(), zoomed.maxValue());
}

void tst_AdvancePlot::zoom_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("[0,30]") << 0.0 << 30.0 << "0 22.5" << "0 37.5";
    QTest::newRow("[10,40]") << 10.0 << 40.0 << "13 37" << "7 43";
    QTest::newRow("narrower than 5 s") << 10.0 << 14.0 << "10 14" << "9.6 14.4";
    QTest::newRow("past 65535 s") << 65530.0 << 65540.0 << "65531 65539" << "65530 65540";
}

void tst_AdvancePlot::zoom()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QString, in);
    QFETCH(QString, out);
    auto text = [](const QwtInterval &i) { return QStringLiteral("%1 %2").arg(i.minValue()).arg(i.maxValue()); };
    // A stopped chart whose window a recording scrolled to [from, to].
    auto chartAt = [&](Chart &c) {
        c.plot.setXAxisWidth(to - from, 100000);
        setValues({ 1 });
        c.plot.start();
        c.clock->ms = (to + 0.5) * 1000.0;
        c.plot.addData(AllOn, Items);
        c.plot.stop();
        QCOMPARE(text(c.plot.xInterval()), QStringLiteral("%1 %2").arg(from).arg(to));
    };
    Chart zoomedIn;
    chartAt(zoomedIn);
    zoomedIn.plot.zoomIn();
    QCOMPARE(text(zoomedIn.plot.xInterval()), in);
    QCOMPARE(text(zoomedIn.axis()), in);
    Chart zoomedOut;
    chartAt(zoomedOut);
    zoomedOut.plot.zoomOut();
    QCOMPARE(text(zoomedOut.plot.xInterval()), out);
    QCOMPARE(text(zoomedOut.axis()), out);
}

void tst_AdvancePlot::panLimits()
{
    Chart c;
    const bool dragMode = true;
    c.plot.setDragModeSource(&dragMode);
    c.plot.resize(800, 400);
    c.plot.setXAxisWidth(30, 1200);
    setValues({ 1 });
    c.plot.start();
    c.feedUntil(60.0, 0.5);
    c.plot.stop();
    c.plot.replot();
    QCOMPARE(c.axis().minValue(), 30.0);
    auto *canvas = c.plot.canvas();
    auto plotPoint = [&](double t) {
        const int x = int(c.plot.transform(QwtPlot::xBottom, t));
        return canvas->mapTo(&c.plot, QPoint(x, canvas->height() / 2));
    };
    auto drag = [&](double fromTime, double toTime) {
        const QPoint from = plotPoint(fromTime);
        const QPoint to = plotPoint(toTime);
        QMouseEvent press(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&c.plot, &press);
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&c.plot, &move);
    };
    // Towards earlier times by 10 s: [20, 50]; by 40 s more: stops at 0.
    drag(45, 55);
    QCOMPARE(qRound(c.axis().minValue()), 20);
    drag(30, 50);
    QCOMPARE(qRound(c.axis().minValue()), 0);
    drag(40, 20);
    QCOMPARE(qRound(c.axis().minValue()), 20);
    // Towards later times: never past the end of the recording at stop.
    drag(40, 10);
    QCOMPARE(qRound(c.axis().maxValue()), 60);
}

void tst_AdvancePlot::valueCursorReadsSampleUnderPointer()
{
    Chart c;
    QVector<QLineEdit *> edits;
    QVector<QCheckBox *> checks;
    for (int i = 0; i < 8; ++i) {
        edits << new QLineEdit();
        checks << new QCheckBox();
        checks.last()->setChecked(i != 2);
    }
    c.plot.setValueEdits(edits);
    c.plot.setCheckBoxes(checks);
    // A wide y axis label font moves the canvas: the pointer is mapped through it.
    QFont font = c.plot.axisFont(QwtPlot::yLeft);
    font.setPointSize(24);
    c.plot.setAxisFont(QwtPlot::yLeft, font);
    c.plot.resize(900, 400);
    c.plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c.plot));
    c.plot.start();
    for (int k = 1; k <= 20; ++k) {
        setValues({ double(k), 10.0 * k, 3, -4, 5, 6, 7, 8 });
        c.clock->ms = 500 + k * 1000;
        c.plot.addData(AllOn, Items);
    }
    c.plot.updateCurve();
    QTRY_COMPARE(c.axis().maxValue(), 30.0);
    auto *canvas = c.plot.canvas();
    auto moveTo = [&](double t) {
        const QPoint p = canvas->mapTo(&c.plot,
            QPoint(int(std::ceil(c.plot.transform(QwtPlot::xBottom, t))), canvas->height() / 2));
        QMouseEvent move(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&c.plot, &move);
    };
    QStringList shown;
    auto read = [&] {
        QStringList values;
        for (QLineEdit *e : edits)
            values << e->text();
        return values.join(QLatin1Char(' '));
    };
    // The sample of pass 7 lies at 7 s.
    moveTo(7.0);
    QCOMPARE(read(), QStringLiteral("7.00 70.00 0 0 5.00 6.00 7.00 8.00"));
    // Right of the newest sample: zeros.
    moveTo(25.0);
    QCOMPARE(read(), QStringLiteral("0 0 0 0 0 0 0 0"));
    qDeleteAll(checks);
    c.plot.setCheckBoxes({});
    c.plot.setValueEdits({});
    qDeleteAll(edits);
}

void tst_AdvancePlot::stampsInCLocale()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    Chart c;
    setValues({ 1 });
    c.plot.start();
    c.clock->ms = 1000;
    c.plot.addData(AllOn, Items);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(c.plot.stamps(), QStringList { "'14:03:22.517 pm" });
}

void tst_AdvancePlot::memoryFlatPastRecordLimit()
{
    Chart c;
    c.plot.setXAxisWidth(30, 20);
    setValues({ 1, 2, 3 });
    c.plot.start();
    // Channel 2 stops before the limit; its repeats must not pile up either.
    c.feedUntil(15, 0.05);
    c.feedUntil(100, 0.05, { true, false, true, true, true, true, true, true });
    const int held = c.plot.scaledPoints(1).size() + c.plot.rawPoints(0).size() + c.plot.stamps().size();
    c.feedUntil(400, 0.05, { true, false, true, true, true, true, true, true });
    const int later = c.plot.scaledPoints(1).size() + c.plot.rawPoints(0).size() + c.plot.stamps().size();
    QVERIFY2(later <= held + 3 * 256, qPrintable(QStringLiteral("%1 then %2").arg(held).arg(later)));
    c.plot.stop();
    // What stop keeps: every pass up to the limit.
    const QVector<QPointF> marker = c.plot.rawPoints(8);
    QVERIFY(marker.last().x() <= 20.0 && marker.last().x() > 19.9);
    QCOMPARE(marker.size(), 410);
    QCOMPARE(c.plot.rawPoints(0).size(), marker.size());
    QCOMPARE(c.plot.stamps().size(), marker.size());
}

// A 1000 s window over a full record: the curves get at most four points a pixel, and every pixel
// column shows the same highest and lowest point as the whole series would draw.
void tst_AdvancePlot::wideWindowDrawsEachPixelsExtremes()
{
    Chart c;
    c.plot.resize(900, 400);
    c.plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c.plot));
    c.plot.setXAxisWidth(1000, 1200);
    c.plot.start();
    quint32 state = 7;
    while (c.clock->ms < 990000.0) {
        state = state * 1103515245u + 12345u;
        const double v = double((state >> 16) % 161) - 80.0; // below the baseline too
        setValues({ v, v / 2 });
        c.clock->ms = c.clock->ms + 20.0;
        c.plot.addData(AllOn, Items);
    }
    c.plot.updateCurve();
    c.plot.updateCurve();
    const QwtScaleMap map = c.plot.canvasMap(QwtPlot::xBottom);
    QCOMPARE(map.s2() - map.s1(), 1000.0);
    for (int channel : { 0, 1 }) {
        QVector<QPointF> series = c.plot.scaledPoints(channel);
        // The first passes fall before the window's start (the chart's time starts at -0.5 s).
        series.erase(std::remove_if(series.begin(), series.end(), [&](const QPointF &p) { return p.x() < map.s1(); }),
                     series.end());
        const QwtSeriesData<QPointF> *drawn = c.plot.curveList().at(channel)->data();
        QVERIFY(series.size() > 49000);
        QVERIFY2(drawn->size() <= 4 * size_t(std::abs(map.pDist())) + 8, qPrintable(QString::number(drawn->size())));
        using Extremes = QMap<int, QPair<double, double>>;
        auto perPixel = [&](auto count, auto at) {
            Extremes e;
            for (int i = 0; i < int(count); ++i) {
                const QPointF p = at(i);
                if (p.x() < map.s1()) // the line's point before the window's edge
                    continue;
                const int pixel = int(std::floor(map.transform(p.x())));
                auto it = e.find(pixel);
                if (it == e.end())
                    e.insert(pixel, { p.y(), p.y() });
                else
                    *it = { qMin(it->first, p.y()), qMax(it->second, p.y()) };
            }
            return e;
        };
        const Extremes whole = perPixel(series.size(), [&](int i) { return series.at(i); });
        const Extremes shown = perPixel(drawn->size(), [&](int i) { return drawn->sample(size_t(i)); });
        QCOMPARE(shown, whole);
    }
}

// A poller's thread feeds while the GUI thread clears, refreshes, zooms, stops and starts: every
// series access is under the chart's lock (the ThreadSanitizer run checks this test).
void tst_AdvancePlot::feedingThreadAgainstGuiOperations()
{
    Chart c;
    c.plot.setXAxisWidth(5, 3);
    setValues({ 1, 2, 3, 4, 5, 6, 7, 8 });
    c.plot.start();
    std::atomic<bool> running { true };
    std::thread feeder([&] {
        while (running) {
            c.clock->ms = c.clock->ms + 10;
            std::lock_guard<FairMutex> lock(g_monitorListsMutex);
            c.plot.addData(AllOn, Items);
        }
    });
    QElapsedTimer elapsed;
    elapsed.start();
    for (int round = 0; elapsed.elapsed() < 1500; ++round) {
        c.plot.updateCurve();
        c.plot.clearCurve(round % 8);
        if (round % 5 == 0)
            c.plot.zoomIn();
        if (round % 7 == 0) {
            c.plot.stop();
            c.plot.rawPoints(8);
            c.plot.start();
        }
        QCoreApplication::processEvents();
    }
    running = false;
    feeder.join();
    c.plot.stop();
    QCOMPARE(c.plot.stamps().size(), c.plot.rawPoints(8).size());
}

QTEST_MAIN(tst_AdvancePlot)
#include "tst_advanceplot.moc"

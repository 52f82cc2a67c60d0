#include "monitor/advanceplot.h"

#include "monitor/monitorglobals.h"
#include "monitor/plotvaluefile.h"
#include "monitor/trenddatafile.h"
#include "shell/earlierpresses.h"
#include "shell/savefilename.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>

namespace {

// Points past the record limit that the window has left are dropped in batches of this many.
const int DropBatch = 256;

class SystemTrendClock : public TrendClock
{
public:
    void restart() override
    {
        m_clock.start();
        m_started = true;
    }
    // Qwt's isNull() answers true for a started clock, which stopped every recording at 0 s: whether
    // the clock runs is kept here.
    double elapsedMs() const override { return m_started ? m_clock.elapsed() : 0.0; }
    QTime now() const override { return QTime::currentTime(); }

private:
    QwtSystemClock m_clock;
    bool m_started = false;
};

// A copy that shares no data with the chart's own series: an implicitly shared copy would let the
// feeding thread's append test the shared count while another thread drops its copy.
template <class Container> Container ownCopy(const Container &c, int first, int end)
{
    return Container(c.constBegin() + first, c.constBegin() + end);
}

template <class Container> Container ownCopy(const Container &c)
{
    return ownCopy(c, 0, c.size());
}

// First index whose time is not below x (times never decrease along a series).
int firstAtOrAfter(const QVector<QPointF> &s, double x)
{
    return int(std::lower_bound(s.begin(), s.end(), x, [](const QPointF &p, double v) { return p.x() < v; })
        - s.begin());
}

// First index whose time is above x.
int firstAfter(const QVector<QPointF> &s, double x)
{
    return int(std::upper_bound(s.begin(), s.end(), x, [](double v, const QPointF &p) { return v < p.x(); })
        - s.begin());
}

// A line through more points than the canvas has pixel columns shows, in each column, only where
// it enters, its lowest, its highest and where it leaves. A window holding far more points than
// that hands the curve just those four of each column, in their order: a long window draws as fast
// as a short one and looks the same.
QVector<QPointF> columnExtremes(const QVector<QPointF> &s, int first, int end, const QwtScaleMap &map)
{
    QVector<QPointF> out;
    out.reserve(int(4 * std::abs(map.pDist())) + 8);
    auto column = [&](int i) { return std::floor(map.transform(s.at(i).x())); };
    for (int i = first; i < end;) {
        // A break in the line is kept wherever it falls.
        if (std::isnan(s.at(i).y())) {
            out.append(s.at(i++));
            continue;
        }
        const double c = column(i);
        int low = i;
        int high = i;
        int j = i + 1;
        for (; j < end && column(j) == c && !std::isnan(s.at(j).y()); ++j) {
            if (s.at(j).y() < s.at(low).y())
                low = j;
            if (s.at(j).y() > s.at(high).y())
                high = j;
        }
        int kept[] = { i, qMin(low, high), qMax(low, high), j - 1 };
        for (int k = 0; k < 4; ++k)
            if (k == 0 || kept[k] != kept[k - 1])
                out.append(s.at(kept[k]));
        i = j;
    }
    return out;
}

// A point whose value is NaN breaks the line: what lies on either side is drawn apart.
class BrokenLineCurve : public QwtPlotCurve
{
protected:
    void drawCurve(QPainter *painter, int style, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
        const QRectF &canvasRect, int from, int to) const override
    {
        for (int i = from; i <= to; ++i) {
            if (!std::isnan(sample(i).y()))
                continue;
            if (i > from)
                QwtPlotCurve::drawCurve(painter, style, xMap, yMap, canvasRect, from, i - 1);
            from = i + 1;
        }
        if (from <= to)
            QwtPlotCurve::drawCurve(painter, style, xMap, yMap, canvasRect, from, to);
    }
};

} // namespace

YScaleDraw::YScaleDraw(double base)
    : m_base(base)
{
}

QwtText YScaleDraw::label(double value) const
{
    return QwtText(QString::number(m_base + value, 'g', 6) + QLatin1Char('%'));
}

AdvancePlot::AdvancePlot(QWidget *parent, int channelCount, double xWidth, double yWidth)
    : QwtPlot(parent)
    , xAxisInterval(0.0, xWidth)
    , yAxisInterval(0.0, yWidth)
    , pressPoint(-1.0, -1.0)
    , clock(new SystemTrendClock())
    , xWidth(xWidth)
    , yWidth(yWidth)
    , channelCount(channelCount)
{
    plotLayout()->setAlignCanvasToScales(true);
    auto *grid = new QwtPlotGrid();
    grid->setPen(QPen(QBrush(Qt::gray), 0, Qt::DotLine));
    grid->enableX(true);
    grid->enableXMin(true);
    grid->enableY(true);
    grid->enableYMin(true);
    grid->attach(this);

    setAxisScale(QwtPlot::yLeft, 0.0, yWidth);
    setAxisScaleDraw(QwtPlot::yLeft, new YScaleDraw(0.0));
    setAxisScale(QwtPlot::xBottom, 0.0, xWidth);
    setAxisScaleDraw(QwtPlot::xBottom, new TimeScaleDraw(0.0));
    setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignLeft | Qt::AlignBottom);

    for (int i = 0; i < channelCount; ++i)
        curves.append(createCurve());
    rawSeries.resize(channelCount + 1);
    scaledSeries.resize(channelCount + 1);
    if (channelCount == 8) {
        const QColor colours[] = { Qt::green, Qt::blue,  Qt::darkRed,          Qt::magenta,
                                   Qt::yellow, Qt::black, QColor(139, 69, 19), Qt::darkCyan };
        for (int i = 0; i < 8; ++i)
            curves.at(i)->setPen(QPen(colours[i]));
    } else {
        for (int i = 0; i < channelCount && i < 2; ++i)
            curves.at(i)->setPen(QPen(i == 0 ? Qt::green : Qt::blue));
    }
    offsets.fill(0, 8);
    spans.fill(0, 8);
    connect(&timer, &QTimer::timeout, this, &AdvancePlot::updateCurve);
}

AdvancePlot::~AdvancePlot() = default;

QwtPlotCurve *AdvancePlot::createCurve()
{
    auto *curve = new BrokenLineCurve();
    // Lines: every channel of a pass has the same time, so sticks from the baseline hid each other.
    curve->setStyle(QwtPlotCurve::Lines);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->attach(this);
    return curve;
}

void AdvancePlot::setClock(TrendClock *newClock)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    clock.reset(newClock);
}

QString AdvancePlot::stampText(const QTime &time)
{
    // The C locale's marker in every language: "'14:03:22.517 pm".
    return QLatin1Char('\'') + QLocale::c().toString(time, QStringLiteral("HH:mm:ss.zzz a"));
}

void AdvancePlot::addData(const QVector<bool> &enabled, const QVector<int> &itemIndex)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_recording)
        return;
    const double t = clock->elapsedMs() / 1000.0 - 0.5;
    const bool pastLimit = t > recordLimit;
    const double windowStart
        = xAxisInterval.maxValue() < t ? t - xAxisInterval.width() : xAxisInterval.minValue();
    const int items = qMin(g_monitorCodes.size(), g_monitorValues.size());
    const QVector<QPointF> &marker = rawSeries.at(channelCount);
    for (int i = 0; i < channelCount; ++i) {
        const int item = itemIndex.value(i, -1);
        // A refused item (NaN) adds no point.
        if (enabled.value(i) && item >= 0 && item < items && !std::isnan(g_monitorValues.at(item))) {
            // After passes that recorded nothing here the line breaks, as the export leaves blanks.
            if (!rawSeries.at(i).isEmpty() && !marker.isEmpty() && rawSeries.at(i).last().x() != marker.last().x())
                scaledSeries[i].append(QPointF(t, std::nan("")));
            rawSeries[i].append(QPointF(t, g_monitorValues.at(item)));
        }
        if (rawSeries.at(i).isEmpty())
            continue;
        const QPointF last = rawSeries.at(i).last();
        // Past the limit a repeat that no window shows and stop would keep as it is adds nothing.
        if (pastLimit && last.x() < windowStart)
            continue;
        const int span = spans.value(i) > 0 ? spans.value(i) : 1;
        scaledSeries[i].append(QPointF(last.x(), last.y() * 100.0 / span + offsets.value(i)));
    }
    rawSeries[channelCount].append(QPointF(t, -1.0));
    scaledSeries[channelCount].append(QPointF(t, -1.0));
    lastSampleTime = clock->now();
    timeStamps.append(stampText(lastSampleTime));
    if (xAxisInterval.maxValue() < t)
        scrollAxis();
    if (pastLimit)
        dropPastLimit(xAxisInterval.minValue());
}

void AdvancePlot::scrollAxis()
{
    const double last = rawSeries.at(channelCount).last().x();
    xAxisInterval = QwtInterval(last - xAxisInterval.width(), last);
    m_windowMoved = true;
}

// What lies after the record limit and before the window is neither shown nor kept by stop.
void AdvancePlot::dropPastLimit(double windowStart)
{
    for (int i = 0; i <= channelCount; ++i) {
        for (QVector<QPointF> *s : { &rawSeries[i], &scaledSeries[i] }) {
            const int first = firstAfter(*s, recordLimit);
            const int end = qMax(first, firstAtOrAfter(*s, windowStart));
            if (end - first < DropBatch)
                continue;
            s->erase(s->begin() + first, s->begin() + end);
            if (i == channelCount && s == &rawSeries[i])
                timeStamps.erase(timeStamps.begin() + first, timeStamps.begin() + end);
        }
    }
}

void AdvancePlot::handSamples()
{
    // The canvas's map as it will be once the axis shows the window.
    QwtScaleMap map = canvasMap(QwtPlot::xBottom);
    map.setScaleInterval(xAxisInterval.minValue(), xAxisInterval.maxValue());
    // A canvas not yet laid out gets every point.
    const double pixels = std::abs(map.pDist()) < 50 ? 1e9 : std::abs(map.pDist());
    for (int i = 0; i < channelCount; ++i) {
        const QVector<QPointF> &s = scaledSeries.at(i);
        // A point beyond either edge as well, so the line reaches the edge.
        const int first = qMax(0, firstAtOrAfter(s, xAxisInterval.minValue()) - 1);
        const int end = qMax(first, qMin(int(s.size()), firstAfter(s, xAxisInterval.maxValue()) + 1));
        curves.at(i)->setSamples(end - first > 4 * pixels ? columnExtremes(s, first, end, map) : ownCopy(s, first, end));
    }
}

void AdvancePlot::showWindow(const QwtInterval &window)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        xAxisInterval = window;
        handSamples();
    }
    setAxisScale(QwtPlot::xBottom, window.minValue(), window.maxValue());
    replot();
}

void AdvancePlot::updateCurve()
{
    QwtInterval window;
    bool moved = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        handSamples();
        window = xAxisInterval;
        moved = m_windowMoved;
        m_windowMoved = false;
    }
    if (moved)
        setAxisScale(QwtPlot::xBottom, window.minValue(), window.maxValue());
    replot();
}

void AdvancePlot::showValues(const QVector<double> &values)
{
    for (int i = 0; i < m_valueEdits.size(); ++i) {
        const double v = values.value(i, 0.0);
        m_valueEdits.at(i)->setText(v >= 0 ? QString::number(v, 'f', 2) : QStringLiteral("0"));
    }
}

void AdvancePlot::start()
{
    clearAllCurve();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        clock->restart();
        xAxisInterval = QwtInterval(0.0, xWidth);
        yAxisInterval = QwtInterval(0.0, yWidth);
        m_windowMoved = false;
    }
    timer.start(30);
    setAxisScale(QwtPlot::xBottom, 0.0, xWidth);
    setAxisScale(QwtPlot::yLeft, 0.0, yWidth);
    for (QLineEdit *edit : qAsConst(m_valueEdits))
        edit->setText(QStringLiteral("0"));
    stopCount = 0;
    // Only now: a pass that came during the reset would land on the old clock.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_recording = true;
}

void AdvancePlot::stop()
{
    if (stopCount != 0)
        return;
    QwtInterval window;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_recording = false;
        panLimit = xAxisInterval.maxValue();
        stopWidth = xAxisInterval.width();
        window = xAxisInterval;
        if (recordLimit < panLimit) {
            for (int i = 0; i <= channelCount; ++i) {
                rawSeries[i].resize(firstAfter(rawSeries.at(i), recordLimit));
                scaledSeries[i].resize(firstAfter(scaledSeries.at(i), recordLimit));
            }
            timeStamps.erase(timeStamps.begin() + qMin(timeStamps.size(), rawSeries.at(channelCount).size()),
                timeStamps.end());
            window = recordLimit > stopWidth ? QwtInterval(recordLimit - stopWidth, recordLimit)
                                             : QwtInterval(0.0, stopWidth);
            panLimit = recordLimit;
        }
    }
    timer.stop();
    QTimer::singleShot(500, this, &AdvancePlot::updateCurve);
    ++stopCount;
    showWindow(window);
}

void AdvancePlot::clearAllCurve()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i <= channelCount; ++i) {
            rawSeries[i].clear();
            scaledSeries[i].clear();
        }
        timeStamps.clear();
    }
    for (QLineEdit *edit : qAsConst(m_valueEdits))
        edit->setText(QStringLiteral("0"));
    updateCurve();
}

void AdvancePlot::clearCurve(int number)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (number >= 0 && number < channelCount) {
            rawSeries[number].clear();
            scaledSeries[number].clear();
        }
    }
    updateCurve();
}

void AdvancePlot::zoomIn()
{
    const QwtInterval w = xInterval();
    if (w.width() < 5)
        return;
    showWindow(w.minValue() <= 0 ? QwtInterval(0.0, 0.75 * w.width())
                                 : QwtInterval(w.minValue() + 0.1 * w.width(), w.minValue() + 0.9 * w.width()));
}

void AdvancePlot::zoomOut()
{
    const QwtInterval w = xInterval();
    if (w.maxValue() > 65535)
        return;
    showWindow(w.minValue() - 0.1 * w.width() <= 0
            ? QwtInterval(0.0, 1.25 * w.width())
            : QwtInterval(w.minValue() - 0.1 * w.width(), w.minValue() + 1.1 * w.width()));
}

void AdvancePlot::GetStepLength(QVector<int> stepLength)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < spans.size() && i < stepLength.size(); ++i)
        spans[i] = stepLength.at(i);
}

void AdvancePlot::setXAxisWidth(double width, int limit)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        xWidth = width;
        recordLimit = limit;
    }
    showWindow(QwtInterval(0.0, width));
}

void AdvancePlot::setAxisWidths(double newXWidth, double newYWidth)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        xWidth = newXWidth;
        yWidth = newYWidth;
        yAxisInterval = QwtInterval(0.0, newYWidth);
    }
    setAxisScale(QwtPlot::yLeft, 0.0, newYWidth);
    showWindow(QwtInterval(0.0, newXWidth));
}

void AdvancePlot::setChannelOffsets(const QVector<QSpinBox *> &boxes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < offsets.size() && i < boxes.size(); ++i)
        offsets[i] = boxes.at(i)->value();
}

void AdvancePlot::setCheckBoxes(const QVector<QCheckBox *> &boxes)
{
    checkBoxes = boxes;
}

void AdvancePlot::setChannelItems(const QStringList &names, const QVector<int> &items)
{
    m_channelNames = names;
    m_channelItems = items;
}

void AdvancePlot::setValueEdits(const QVector<QLineEdit *> &edits)
{
    m_valueEdits = edits;
}

QwtInterval AdvancePlot::xInterval()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return xAxisInterval;
}

QVector<QPointF> AdvancePlot::rawPoints(int series)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return series >= 0 && series < rawSeries.size() ? ownCopy(rawSeries.at(series)) : QVector<QPointF>();
}

QVector<QPointF> AdvancePlot::scaledPoints(int series)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return series >= 0 && series < scaledSeries.size() ? ownCopy(scaledSeries.at(series)) : QVector<QPointF>();
}

QStringList AdvancePlot::stamps()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return ownCopy(timeStamps);
}

// Through the canvas, whatever width the y axis takes with its font.
QPointF AdvancePlot::pointerPlotPosition(const QPoint &pos) const
{
    const QPoint p = canvas()->mapFrom(const_cast<AdvancePlot *>(this), pos);
    return QPointF(invTransform(QwtPlot::xBottom, p.x()), invTransform(QwtPlot::yLeft, p.y()));
}

void AdvancePlot::mousePressEvent(QMouseEvent *event)
{
    cursorMode = m_dragMode && *m_dragMode;
    if (!cursorMode) {
        event->ignore();
        return;
    }
    pressPoint = pointerPlotPosition(event->pos());
    event->accept();
}

void AdvancePlot::mouseMoveEvent(QMouseEvent *event)
{
    const double xm = pointerPlotPosition(event->pos()).x();
    if (cursorMode) {
        const QwtInterval scale = axisScaleDiv(QwtPlot::xBottom).interval();
        const double min = scale.minValue();
        const double max = scale.maxValue();
        const double w = max - min;
        const double d = xm - pressPoint.x();
        double limit = panLimit;
        if (stopCount == 0) {
            // Before the first stop the recording so far bounds the drag.
            const QVector<QPointF> marker = rawPoints(channelCount);
            limit = qMax(xWidth, marker.isEmpty() ? 0.0 : marker.last().x());
        }
        QwtInterval window;
        if (d > 0)
            window = min - d < 0 ? QwtInterval(0.0, w) : QwtInterval(min - d, max - d);
        else if (d < 0 && max - d <= limit)
            window = QwtInterval(min - d, max - d);
        else if (d < 0 && min > 0)
            window = QwtInterval(limit - w, limit);
        if (window.isValid())
            showWindow(window);
        event->accept();
        return;
    }

    // Each checked channel shows what it recorded in the last pass at or before the cursor. Passes
    // come about 0.2 s apart with eight items, so looking only 0.1 s back left most positions blank;
    // a pass that recorded nothing for the channel (unchecked, refused) shows "0", not an older value.
    QVector<double> values(8, -1.0);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QVector<QPointF> &marker = rawSeries.at(channelCount);
        const int pass = firstAfter(marker, xm) - 1;
        const bool none = pass < 0 || marker.last().x() < xm;
        for (int i = 0; !none && i < channelCount && i < values.size(); ++i) {
            if (i >= checkBoxes.size() || !checkBoxes.at(i)->isChecked())
                continue;
            const QVector<QPointF> &s = rawSeries.at(i);
            const int at = firstAfter(s, marker.at(pass).x()) - 1;
            if (at >= 0 && s.at(at).x() == marker.at(pass).x())
                values[i] = s.at(at).y();
        }
    }
    showValues(values);

    QwtPlotMarker marker;
    marker.setLineStyle(QwtPlotMarker::VLine);
    marker.setLinePen(QPen(Qt::white, 0, Qt::DashLine));
    QwtText label(QString::number(xm, 'f', 2));
    label.setColor(Qt::white);
    marker.setLabel(label);
    marker.setLabelAlignment(Qt::AlignRight | Qt::AlignBottom);
    marker.setXValue(xm);
    marker.attach(this);
    // The canvas would only schedule its repaint, which comes after the marker is gone again: the line
    // must be painted now, to stay until the next repaint.
    auto *plotCanvas = qobject_cast<QwtPlotCanvas *>(canvas());
    const bool immediate = plotCanvas && plotCanvas->testPaintAttribute(QwtPlotCanvas::ImmediatePaint);
    if (plotCanvas)
        plotCanvas->setPaintAttribute(QwtPlotCanvas::ImmediatePaint, true);
    replot();
    if (plotCanvas)
        plotCanvas->setPaintAttribute(QwtPlotCanvas::ImmediatePaint, immediate);
    marker.detach();
    event->accept();
}

void AdvancePlot::resizeEvent(QResizeEvent *event)
{
    QwtPlot::resizeEvent(event);
    QPalette palette = canvas()->palette();
    palette.setBrush(QPalette::Window, QBrush(QColor(46, 74, 95)));
    canvas()->setPalette(palette);
}

void AdvancePlot::warn(const QString &text)
{
    warnAfterEarlierPresses(this, tr("Warning"), text);
}

void AdvancePlot::saveData(QVector<QCheckBox *> checkBoxIndex, QVector<QComboBox *> comboBoxIndex)
{
    QString ending;
    const QString path = askSaveFileName(this, tr("Save Data"), saveStartFolder(),
        tr("XLS Files(*.xlsx);;TXT Files(*.txt)"), &ending, SaveEnding::XlsIsWorkbook);
    if (path.isEmpty())
        return;
    if (ending != QLatin1String("xlsx") && ending != QLatin1String("txt")) {
        warn(tr("Cannot write file %1:\n%2.")
                 .arg(path, tr("Only names ending in .%1 or .%2 can be saved").arg(QStringLiteral("xlsx"),
                                                                                  QStringLiteral("txt"))));
        return;
    }

    TrendDataTable table;
    table.date = QLocale::c().toString(QDate::currentDate(), QStringLiteral("yyyy-MM-dd"));
    table.timeHeader = tr("System Time");
    QVector<QPointF> marker;
    QVector<QVector<QPointF>> channels;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        marker = ownCopy(rawSeries.at(channelCount));
        table.stamps = ownCopy(timeStamps, 0, qMin(timeStamps.size(), marker.size()));
        for (int i = 0; i < channelCount && i < checkBoxIndex.size() && i < comboBoxIndex.size(); ++i) {
            if (!checkBoxIndex.at(i)->isChecked())
                continue;
            const bool recorded = i < m_channelNames.size() && i < m_channelItems.size();
            table.names << (recorded ? m_channelNames.at(i) : comboBoxIndex.at(i)->currentText());
            QVector<QPointF> s = ownCopy(rawSeries.at(i));
            if ((recorded ? m_channelItems.at(i) : comboBoxIndex.at(i)->currentIndex()) >= 8) {
                QVector<QPointF> kept;
                for (const QPointF &p : qAsConst(s))
                    if (kept.isEmpty() || std::abs(p.x() - kept.last().x()) >= 0.0001)
                        kept.append(p);
                s = kept;
            }
            channels.append(s);
        }
    }
    // Each value stands in the row of the pass that took it.
    for (const QVector<QPointF> &s : qAsConst(channels)) {
        QVector<double> column(marker.size(), std::nan(""));
        int p = 0;
        for (int row = 0; row < marker.size(); ++row) {
            while (p < s.size() && s.at(p).x() < marker.at(row).x())
                ++p;
            if (p < s.size() && s.at(p).x() == marker.at(row).x())
                column[row] = s.at(p++).y();
        }
        table.values.append(column);
    }
    QString reason;
    const bool written = ending == QLatin1String("txt") ? writeTrendTextFile(path, table, &reason)
                                                         : writeTrendWorkbook(path, table, &reason);
    if (!written)
        warn(tr("Cannot write file %1:\n%2.").arg(path, reason));
}

void AdvancePlot::saveData(QVector<QCheckBox *> checkBox, QVector<QLineEdit *> lineEdit)
{
    checkBoxes = checkBox;
    const QString path = askSaveFileName(this, tr("Save Data"), saveStartFolder(), QStringLiteral("*.xlsx"), nullptr);
    if (path.isEmpty())
        return;
    PlotValueTable table;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        table.rowCount = rawSeries.at(channelCount).size();
        for (int i = 0; i < channelCount && i < checkBox.size() && i < lineEdit.size(); ++i) {
            if (!checkBox.at(i)->isChecked())
                continue;
            table.names << lineEdit.at(i)->text();
            QVector<double> values;
            for (const QPointF &p : rawSeries.at(i))
                values.append(p.y());
            table.values.append(values);
        }
    }
    QString reason;
    if (!writePlotValueFile(path, table, &reason))
        warn(tr("Cannot write file %1:\n%2.").arg(path, reason));
}

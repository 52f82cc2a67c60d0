#include "monitor/plot.h"

#include "monitor/plotvaluefile.h"
#include "monitor/ramthread.h"
#include "shell/earlierpresses.h"
#include "shell/savefilename.h"
#include "monitor/timescaledraw.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_scale_widget.h>

Plot::Plot(QWidget *parent, int curveCount, double xSpan, double yMax)
    : QwtPlot(parent)
    , m_xInterval(0.0, xSpan)
    , m_yInterval(0.0, yMax)
    , m_xSpan(xSpan)
    , m_yMax(yMax)
    , m_curveCount(curveCount)
{
    plotLayout()->setAlignCanvasToScales(true);

    auto *grid = new QwtPlotGrid();
    grid->setPen(QPen(QBrush(Qt::gray), 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    grid->enableX(true);
    grid->enableXMin(true);
    grid->enableY(true);
    grid->enableYMin(false);
    grid->attach(this);

    setAxisTitle(QwtPlot::yLeft, tr("y -- > Value"));
    setAxisScale(QwtPlot::yLeft, 0.0, yMax);
    setAxisScale(QwtPlot::xBottom, 0.0, xSpan);
    setAxisScaleDraw(QwtPlot::xBottom, new TimeScaleDraw(0.0));
    setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignLeft | Qt::AlignBottom);

    for (int i = 0; i < curveCount; ++i)
        m_curves.append(createCurve());
    m_series.resize(curveCount + 1);
    if (curveCount == 2) {
        m_curves.at(0)->setPen(QPen(Qt::green, 0));
        m_curves.at(1)->setPen(QPen(Qt::blue, 0));
    } else if (curveCount > 0) {
        m_curves.at(0)->setPen(QPen(Qt::green, 0));
    }
    connect(&m_repaintTimer, &QTimer::timeout, this, &Plot::updateCurve);
}

Plot::~Plot() = default;

QwtPlotCurve *Plot::createCurve()
{
    auto *curve = new QwtPlotCurve(QString());
    curve->setStyle(QwtPlotCurve::Sticks);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->attach(this);
    return curve;
}

double Plot::feedTime() const
{
    return m_clock.elapsed() / 1000.0 - 0.5;
}

void Plot::appendValue(double value)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const double t = feedTime();
    m_series[0].append(QPointF(t, value));
    m_series[1].append(QPointF(t, -1.0));
    if (t > m_xInterval.maxValue())
        scrollTimeAxis();
}

void Plot::appendRamSamples(const QVector<bool> &channelEnabled)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const double t = feedTime();
    for (int i = 0; i < m_curveCount && i < channelEnabled.size(); ++i)
        if (channelEnabled.at(i))
            m_series[i].append(QPointF(t, i < int(g_ramValues.size()) ? double(g_ramValues[i].load()) : 0.0));
    m_series[m_curveCount].append(QPointF(t, -1.0));
    if (t > m_xInterval.maxValue())
        scrollTimeAxis();
}

// Runs under the feeding call's lock, on its thread: it moves only the interval; the axis follows
// on the GUI thread at the next repaint.
void Plot::scrollTimeAxis()
{
    const QVector<QPointF> &marker = m_series.at(m_curveCount);
    if (marker.isEmpty())
        return;
    const double last = marker.last().x();
    m_xInterval = QwtInterval((last + m_xInterval.minValue()) - m_xInterval.maxValue(), last);
    for (int k = 0; k < m_series.at(m_curveCount).size() - 1 && m_series.at(m_curveCount).at(1).x() < m_xInterval.minValue(); ++k) {
        const int markerLength = m_series.at(m_curveCount).size();
        for (int i = 0; i <= m_curveCount; ++i)
            if (!m_series.at(i).isEmpty() && m_series.at(i).size() == markerLength)
                m_series[i].removeFirst();
    }
}

void Plot::start()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_clock.start();
    }
    m_repaintTimer.start(30);
    clearAllCurve();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_xInterval = QwtInterval(0.0, m_xSpan);
    m_yInterval = QwtInterval(0.0, m_yMax);
    setAxisScale(QwtPlot::xBottom, 0.0, m_xSpan);
    setAxisScale(QwtPlot::yLeft, 0.0, m_yMax);
}

void Plot::stop()
{
    m_repaintTimer.stop();
}

void Plot::clearCurve(int number)
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (number >= 0 && number < m_series.size())
            m_series[number].clear();
    }
    updateCurve();
}

void Plot::clearAllCurve()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (QVector<QPointF> &s : m_series)
            s.clear();
    }
    updateCurve();
}

void Plot::updateCurve()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (int i = 0; i < m_curveCount; ++i)
        m_curves.at(i)->setSamples(m_series.at(i));
    setAxisScale(QwtPlot::xBottom, m_xInterval.minValue(), m_xInterval.maxValue());
    replot();
}

void Plot::setAxisRange(double x, double y)
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_xInterval = QwtInterval(0.0, x);
        m_yInterval = QwtInterval(0.0, y);
        m_xSpan = x;
        m_yMax = y;
        setAxisScale(QwtPlot::xBottom, 0.0, x);
        setAxisScale(QwtPlot::yLeft, 0.0, y);
    }
    replot();
}

QwtInterval Plot::xInterval()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_xInterval;
}

namespace {

// A copy that shares no data with the series a feeding thread appends to: Qt's shared vectors
// test their sharing with a relaxed load, which orders nothing between threads.
QVector<QPointF> ownCopy(const QVector<QPointF> &points)
{
    return QVector<QPointF>(points.cbegin(), points.cend());
}

} // namespace

QVector<QPointF> Plot::samples(int series)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return series >= 0 && series < m_series.size() ? ownCopy(m_series.at(series)) : QVector<QPointF>();
}

void Plot::resizeEvent(QResizeEvent *event)
{
    QwtPlot::resizeEvent(event);
    QPalette palette = canvas()->palette();
    palette.setBrush(QPalette::Window, QBrush(QColor(46, 74, 95, 255)));
    canvas()->setPalette(palette);
}

void Plot::saveData(QVector<QCheckBox *> checkBox, QVector<QLineEdit *> lineEdit)
{
    const QString path = askSaveFileName(this, tr("Save Data"), QDir::currentPath(), QStringLiteral("*.xls"), nullptr);
    if (path.isEmpty())
        return;
    QVector<QVector<QPointF>> series;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (const QVector<QPointF> &s : m_series)
            series.append(ownCopy(s));
    }
    // Only what the chart showed when last drawn.
    const QwtScaleDiv shown = axisScaleDiv(QwtPlot::xBottom);
    const bool trim = shown.upperBound() > 0.001;
    PlotValueTable table;
    table.rowCount = series.value(m_curveCount).size();
    for (int i = 0; i < m_curveCount && i < checkBox.size() && i < lineEdit.size(); ++i) {
        if (!checkBox.at(i)->isChecked())
            continue;
        table.names << lineEdit.at(i)->text();
        QVector<double> values;
        for (const QPointF &p : series.at(i))
            if (!trim || (p.x() >= shown.lowerBound() && p.x() <= shown.upperBound()))
                values << p.y();
        table.values << values;
    }
    QString reason;
    if (!writePlotValueFile(path, table, &reason))
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot write file %1:\n%2.").arg(path, reason));
}

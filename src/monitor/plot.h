#pragma once

// The strip chart of the monitor window (and of the RAM monitor): worker threads append samples
// under the plot's mutex, a 30 ms timer on the GUI thread hands them to the curves and draws.

#include <mutex>
#include <QPointF>
#include <QTimer>
#include <QVector>
#include <qwt_interval.h>
#include <qwt_plot.h>
#include <qwt_system_clock.h>

class QCheckBox;
class QLineEdit;
class QwtPlotCurve;

class Plot : public QwtPlot
{
    Q_OBJECT
public:
    Plot(QWidget *parent, int curveCount, double xSpan, double yMax);
    ~Plot() override;

    // Feeding calls, from worker threads.
    void appendValue(double value);
    void appendRamSamples(const QVector<bool> &channelEnabled);

    void setAxisRange(double x, double y);
    // The plot value file of the ticked curves, headed by their line edits' texts.
    void saveData(QVector<QCheckBox *> checkBox, QVector<QLineEdit *> lineEdit);
    QwtInterval xInterval();
    QwtInterval yInterval() const { return m_yInterval; }
    const QVector<QwtPlotCurve *> &curves() const { return m_curves; }
    // A copy of the samples of one series (the last one is the feeding-call marker).
    QVector<QPointF> samples(int series);

public slots:
    void start();
    void stop();
    void clearCurve(int number);
    void clearAllCurve();
    void updateCurve();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QwtPlotCurve *createCurve();
    double feedTime() const;
    void scrollTimeAxis();

    QwtInterval m_xInterval;
    QwtInterval m_yInterval;
    QVector<QVector<QPointF>> m_series;
    QwtSystemClock m_clock;
    std::mutex m_mutex;
    QTimer m_repaintTimer;
    double m_xSpan;
    double m_yMax;
    int m_curveCount;
    QVector<QwtPlotCurve *> m_curves;
};

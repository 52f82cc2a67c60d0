#pragma once

// The trend chart: eight channels against time. The poller's thread adds one pass at a time
// (addData) under the chart's mutex; a 30 ms timer on the GUI thread hands the curves the part of
// each series the time window shows, and applies the window the feeding side moved.
//
// Every series, the stamps and the time window live under m_mutex. Samples are taken only while
// recording (from the end of start() to stop()). Past the record limit only the points up to the
// limit (what stop() keeps) and those the visible window needs are held, so a long run keeps a
// flat memory.

#include "monitor/timescaledraw.h"

#include <QPointF>
#include <QStringList>
#include <QTime>
#include <QTimer>
#include <QVector>
#include <atomic>
#include <memory>
#include <mutex>
#include <qwt_interval.h>
#include <qwt_plot.h>
#include <qwt_system_clock.h>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QwtPlotCurve;

// The y axis: "80%".
class YScaleDraw : public QwtScaleDraw
{
public:
    explicit YScaleDraw(double base);
    QwtText label(double value) const override;

private:
    double m_base;
};

// Where the chart reads its time: the sample times (ms since restart) and the wall clock of the
// stamps. Tests set both.
class TrendClock
{
public:
    virtual ~TrendClock() = default;
    virtual void restart() = 0;
    virtual double elapsedMs() const = 0;
    virtual QTime now() const = 0;
};

class AdvancePlot : public QwtPlot
{
    Q_OBJECT
public:
    AdvancePlot(QWidget *parent, int channelCount, double xWidth, double yWidth);
    ~AdvancePlot() override;

    // Poller thread, one pass; ignored while not recording. The caller holds g_monitorListsMutex
    // (the poller's pass does) or no pass runs.
    void addData(const QVector<bool> &enabled, const QVector<int> &itemIndex);
    void setXAxisWidth(double width, int recordLimit);
    void setAxisWidths(double xWidth, double yWidth);
    void setChannelOffsets(const QVector<QSpinBox *> &boxes);
    void setCheckBoxes(const QVector<QCheckBox *> &boxes);
    void setValueEdits(const QVector<QLineEdit *> &edits);
    // The channels' item names and indices at Run: the export's header and duplicate rule follow
    // what was recorded, not the boxes as they are when saving. Unset, the boxes decide.
    void setChannelItems(const QStringList &names, const QVector<int> &items);
    QStringList channelNames() const { return m_channelNames; }
    // The trend window's dragMode, read at each press.
    void setDragModeSource(const bool *dragMode) { m_dragMode = dragMode; }
    QwtInterval xInterval();
    int recordLimitSeconds() const { return recordLimit; }
    const QVector<QwtPlotCurve *> &curveList() const { return curves; }
    // Takes ownership; the default reads the system clocks.
    void setClock(TrendClock *clock);
    bool isRecording() const { return m_recording; }

    // Copies under the lock, for the exports, the tests and the benchmarks.
    QVector<QPointF> rawPoints(int series);
    QVector<QPointF> scaledPoints(int series);
    QStringList stamps();
    double panLimitValue() const { return panLimit; }

    static QString stampText(const QTime &time);

public slots:
    void start();
    void zoomIn();
    void zoomOut();
    void clearAllCurve();
    void clearCurve(int number);
    void stop();
    void updateCurve();
    void saveData(QVector<QCheckBox *> checkBoxIndex, QVector<QComboBox *> comboBoxIndex);
    void saveData(QVector<QCheckBox *> checkBox, QVector<QLineEdit *> lineEdit);
    void GetStepLength(QVector<int> stepLength);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QwtPlotCurve *createCurve();
    // Under m_mutex.
    void scrollAxis();
    void dropPastLimit(double windowStart);
    // Hands each curve the part of its series the window shows; under m_mutex.
    void handSamples();
    // Sets the axis to the window and draws; GUI thread, without the lock.
    void showWindow(const QwtInterval &window);
    QPointF pointerPlotPosition(const QPoint &pos) const;
    void showValues(const QVector<double> &values);
    void warn(const QString &text);

    QwtInterval xAxisInterval;
    QwtInterval yAxisInterval;
    QVector<QCheckBox *> checkBoxes;
    QVector<int> offsets;
    bool cursorMode = false;
    QPointF pressPoint;
    double panLimit = 0.0;
    double stopWidth = 0.0;
    int recordLimit = 1200;
    QStringList timeStamps;
    QTime lastSampleTime;
    QVector<QwtPlotCurve *> curves;
    std::unique_ptr<TrendClock> clock;
    QVector<QVector<QPointF>> rawSeries;
    QVector<QVector<QPointF>> scaledSeries;
    std::mutex m_mutex;
    QTimer timer;
    double xWidth;
    double yWidth;
    int channelCount;
    QVector<int> spans;
    int stopCount = 0;

    QVector<QLineEdit *> m_valueEdits;
    QStringList m_channelNames;
    QVector<int> m_channelItems;
    const bool *m_dragMode = nullptr;
    bool m_recording = false; // under m_mutex; also read without it on the GUI thread
    bool m_windowMoved = false; // under m_mutex: the feeding side scrolled the window
};

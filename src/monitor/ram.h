#pragma once

// The RAM monitor: up to two memory locations of the drive, each an address of up to four hex
// digits read as 8, 16 or 32 bits, shown as numbers and plotted against time. Its poller
// (RamThread) feeds this page's own plot and is joined before the page goes.

#include "monitor/ramthread.h"

#include <QMainWindow>
#include <QTimer>
#include <QVector>

class Plot;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

class Ram : public QMainWindow
{
    Q_OBJECT
public:
    explicit Ram(QWidget *parent = nullptr);
    ~Ram() override;

    void setPlotRange(double x, double y);
    // The monitor window's close: stops and joins the poller, stops the plot.
    void stopAll();
    // On the poller's thread after each complete pass.
    void feedPlot();
    void unlock();
    bool isMonitoring() const;

    Plot *plot;
    QToolBar *toolBar;
    QToolButton *runButton, *clearButton, *optionButton, *saveDataButton, *saveChartButton, *stopButton;
    QToolButton *passwordButton;
    QFrame *channelOnePanel;
    QCheckBox *channelBoxes[2];
    QComboBox *typeBoxes[2];
    QLineEdit *addressEdits[2];
    QLineEdit *valueEdits[2];
    QVector<QComboBox *> penWidthBoxes;
    QFrame *channelTwoPanel;
    QGroupBox *colorGroup, *widthGroup;
    QVector<QPushButton *> colorButtons;
    RamThread ramThread;
    QTimer displayTimer;

private slots:
    void startMonitor();
    void stopMonitor();
    void updateChLineEditValue();
    void checkBoxStateChanged(int);
    void optionAdvancePlot();
    void penWidthBoxChanged(int);
    void changeColor();
    void saveChart();
    void saveData();
    void showPassWorkDlg();
    void pollingEnded();

private:
    void createToolButtons();
    QFrame *createChannelRow(int channel);
    void createPenSettings();
    void setIdleControls(bool idle);
    std::atomic<bool> m_boxTicked[2];
};

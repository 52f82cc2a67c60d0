#pragma once

// The monitor window: dashboard, state lamps and a plot of one item on the "Monitor" page, the
// alarm and service pages, the drive information and Run, Stop, Exit in the tool bar.
//
// The poller's thread only stores numbers here (updateValues, after each complete pass); 30 ms
// timers on the GUI thread show them.

#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <QVector>
#include <atomic>

class AlarmCode;
class Cockpit;
class HideParameter;
class InverterState;
class IOState;
class Plot;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class Ram;

class MainDialPlot : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainDialPlot(QWidget *parent = nullptr);
    ~MainDialPlot() override;

    // On the poller's thread after each complete pass, with the item lists' lock held.
    void updateValues();
    void setSampleValue(double value) { sampleValue = value; }
    void setDriveInfo(const QVector<QString> &info);
    void setLeftDialRange(double max);
    void setMidDialRange(double max);
    void setRightDialRange(double max);
    void toggleRamTab();
    QList<QLabel *> infoLabels() const;
    bool isMonitoring() const { return sampleTimer.isActive(); }

    Ram *ramWindow;
    AlarmCode *alarmPage;
    HideParameter *servicePage;
    QTabWidget *tabWidget;
    Cockpit *cockpit;
    InverterState *inverterState;
    IOState *ioState;
    QHBoxLayout *stateLayout;
    Plot *plot;
    QToolBar *toolBar;
    QToolButton *runButton, *stopButton, *exitButton;
    QVBoxLayout *plotPanelLayout;
    QComboBox *sampleItemBox;
    QLineEdit *sampleValueEdit;
    QToolButton *optionButton;
    QToolButton *clearButton;
    QLabel *driveTypeLabel, *driveTypeValue, *versionLabel, *versionValue, *outputCurrentLabel,
        *outputCurrentValue, *inputVoltageLabel, *inputVoltageValue, *capacityLabel, *capacityValue;
    QTimer sampleTimer;

public slots:
    void startMonitor();
    void stopMonitor();
    void setPlotValue(double x, double y);
    void closeWindow();

private slots:
    void clearPlotCurve();
    void optionPlot();
    void updateLineEditValue();
    void IOMonitor();
    void offLine();
    void itemListChanging();
    void itemListChanged(const QVector<QString> &oldCodes, const QVector<QString> &newCodes, const QStringList &names);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createDriveInfoLabels();
    void createPlotPanel();
    // What Stop, the loss of the link and the close share.
    void stopDisplays();
    // Controls back to idle and the window's items no longer flagged.
    void endMonitoring();

    std::atomic<double> sampleValue { 0.0 };
    std::atomic<bool> ioMonitorStarted { false };
    // Fixed at Run, so the poller never reads a widget.
    std::atomic<int> m_sampleIndex { -1 };
    std::atomic<bool> m_ioFeature { false };
};

#pragma once

// The trend window: up to eight monitor items recorded against time in the trend chart, with the
// channels' items, colours, Y-axis ranges and pen widths, the drive information, and saving of the
// data and of a picture of the window.
//
// The poller's thread reaches the window only through pushSamples, under the poller's hand-over
// lock; it reads the channels' check states and items from atomics the GUI thread keeps.

#include <QMainWindow>
#include <QPixmap>
#include <QVector>
#include <array>
#include <atomic>

class AdvancePlot;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolBar;
class QToolButton;

class MainAdvPlot : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int Channels = 8;

    explicit MainAdvPlot(QWidget *parent = nullptr);
    ~MainAdvPlot() override;

    // Poller thread, after each complete pass, with the hand-over lock held.
    void pushSamples();
    void setPlotAxis(double width, int recordLimit);
    void setDriveInfo(const QVector<QString> &info);
    void applyYAxisRanges();

    QVector<QLineEdit *> channelValueEdits;
    QToolButton *moveButton;
    bool dragMode = false;
    AdvancePlot *plot;
    QToolBar *toolBar;
    QToolButton *runButton, *clearAllButton, *zoomInButton, *zoomOutButton, *optionButton, *saveDataButton,
        *saveChartButton, *stopButton, *exitButton;
    QLabel *driveTypeLabel, *driveTypeValue, *versionLabel, *versionValue, *capacityLabel, *capacityValue,
        *voltageLabel, *voltageValue, *currentLabel, *currentValue;
    QGroupBox *yRangeGroup, *channelSelectGroup, *penWidthGroup, *channelValueGroup;
    QVector<QSpinBox *> yRangeSpins;
    QVector<QCheckBox *> channelChecks;
    QVector<QPushButton *> colourButtons;
    QVector<QComboBox *> itemBoxes;
    QVector<QComboBox *> penWidthBoxes;
    QVector<int> spanValues;

public slots:
    void closeWindow();

private slots:
    void checkBoxStateChanged();
    void checkBox1StateChanged(int);
    void checkBox2StateChanged(int);
    void checkBox3StateChanged(int);
    void checkBox4StateChanged(int);
    void checkBox5StateChanged(int);
    void checkBox6StateChanged(int);
    void checkBox7StateChanged(int);
    void checkBox8StateChanged(int);
    void penWidthBoxChanged(int);
    void startMonitor();
    void changeColor();
    void optionAdvancePlot();
    void saveChart();
    void stopMonitor();
    void saveData();
    void offLineAdv();
    void checkBox();
    void changeCursor();
    void itemListChanging();
    void itemListChanged(const QVector<QString> &oldCodes, const QVector<QString> &newCodes, const QStringList &names);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolBar();
    void createDriveInfoLabels();
    void createYAxisRangeGroup();
    void createChannelSelectGroup();
    void createPenWidthGroup();
    void createChannelValueGroup();
    QComboBox *createItemBox(const QStringList &names);
    QComboBox *createPenWidthBox();
    void channelStateChanged(int channel);
    void setRecordingControlsEnabled(bool enabled);
    QPixmap recordedPicture();
    // The poller's copy of what pushSamples hands on.
    void mirrorChannels();

    std::array<std::atomic<bool>, Channels> m_enabled {};
    std::array<std::atomic<int>, Channels> m_itemIndex {};
};

#pragma once

// The dashboard of the monitor window: three gauges, each showing the item chosen in its box; the
// left and middle ones with a numeric display, the right one with value and unit in its face.

#include <QTimer>
#include <QWidget>
#include <atomic>

class Dial;
class QComboBox;
class QFrame;
class QLCDNumber;
class QPushButton;

class Cockpit : public QWidget
{
    Q_OBJECT
public:
    explicit Cockpit(QWidget *parent = nullptr);
    ~Cockpit() override;

    void startMonitor();
    void stopMonitor();
    // The link is gone: no gauge shows a reading until the next start.
    void showNoReading();
    // On the poller's thread, with the item lists' lock held.
    void fetchValues();
    void setControlsEnabled(bool enabled);
    void setLeftDialScale(double max);
    void setMidDialScale(double max);
    void setRightDialScale(double max);

    QFrame *leftFrame, *midFrame, *rightFrame;
    Dial *leftDial, *midDial, *rightDial;
    QLCDNumber *leftLcd, *midLcd;
    QPushButton *leftOptionButton, *midOptionButton, *rightOptionButton;
    QComboBox *leftItemBox, *midItemBox, *rightItemBox;
    QTimer updateTimer;

private slots:
    void setLeftDialValue();
    void setMidDialValue();
    void setRightDialValue();
    void updateData();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QFrame *createDialFrame(Dial **dial, QFrame **outer);
    QLCDNumber *createLcd();
    QComboBox *loadComboItems();
    void openDialOption(const char *name, Dial *dial);

    std::atomic<double> leftValue { 0 }, midValue { 0 }, rightValue { 0 };
    std::atomic<double> leftLcdValue { 0 }, midLcdValue { 0 };
    // The boxes' items while monitoring: the poller reads these, never the boxes.
    int m_items[3] = { -1, -1, -1 };
};

#pragma once

// "I/O State": fourteen terminal lamps, ten inputs tested in the word of item "MAW" and four
// outputs in that of "MBW", labelled and wired by IOstate.txt.

#include <QGroupBox>
#include <QTimer>
#include <atomic>

class QLabel;

class IOState : public QGroupBox
{
    Q_OBJECT
public:
    explicit IOState(QWidget *parent = nullptr);
    ~IOState() override;

    void startMonitor();
    void stopMonitor();
    // On the poller's thread.
    void setIOValue(int input, int output);

    QLabel *lampLabels[14];
    QLabel *textLabels[14];

private slots:
    void updateStatus();

private:
    int resetWord() const;

    QTimer refreshTimer;
    std::atomic<int> inputWord { 0 };
    std::atomic<int> outputWord { 0 };
};

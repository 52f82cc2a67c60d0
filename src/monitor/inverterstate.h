#pragma once

// "System State": eight lamps for the low eight bits of the drive's status word (item "MCR").
// The alarm bit also drives the alarm page.

#include <QGroupBox>
#include <QTimer>
#include <atomic>

class QLabel;

class InverterState : public QGroupBox
{
    Q_OBJECT
public:
    explicit InverterState(QWidget *parent = nullptr);
    ~InverterState() override;

    void startMonitor();
    void stopMonitor();
    // On the poller's thread.
    void setStatus(double value);

    QLabel *textLabels[8];
    QLabel *lampLabels[8];

private slots:
    void updateStatus();

private:
    std::atomic<int> statusWord { 0 };
    QTimer refreshTimer;
};

#pragma once

// The operation-mode poller: once a second, on its own thread, the dock asks the drive for its
// mode and status word (CNavigation::pollModeState).

#include <QThread>
#include <atomic>

class CNavigation;

class MonitorModeThread : public QThread
{
public:
    explicit MonitorModeThread(CNavigation *navigation);
    // Waits for a running poll: the dock and the protocol object outlive no poll of theirs.
    ~MonitorModeThread() override;

    void startPolling();
    // Asks the loop to end and returns at once; callable from the poll itself.
    void stopPolling();
    // Asks the loop to end and waits until the thread has left it (GUI thread only).
    void stopAndWait();

    // Sleeps `ms` unless asked to stop meanwhile; false when asked (the poller's thread only).
    bool rest(qint64 ms) const;

    std::atomic<bool> stopRequested { true };

protected:
    void run() override;

private:
    CNavigation *m_navigation;
};

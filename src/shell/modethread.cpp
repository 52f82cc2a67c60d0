#include "shell/modethread.h"

#include "comm/globals.h"
#include "platform/tsan.h"
#include "shell/navigation.h"

#include <QDeadlineTimer>

MonitorModeThread::MonitorModeThread(CNavigation *navigation)
    : m_navigation(navigation)
{
}

MonitorModeThread::~MonitorModeThread()
{
    stopAndWait();
}

void MonitorModeThread::startPolling()
{
    stopRequested = false;
    start(QThread::InheritPriority);
}

void MonitorModeThread::stopPolling()
{
    stopRequested = true;
}

void MonitorModeThread::stopAndWait()
{
    if (isRunning()) {
        stopPolling();
        wait();
    }
    // Whatever the last poll wrote is seen from here on (the thread's end is ordered by Qt).
    tsanAcquire(this);
}

bool MonitorModeThread::rest(qint64 ms) const
{
    QDeadlineTimer deadline(ms);
    while (!stopRequested) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return true;
        QThread::msleep(ulong(qMin<qint64>(left, 10)));
    }
    return false;
}

void MonitorModeThread::run()
{
    // Its own wait covers a restart that begins while a poll waits for its turn: the poll returns
    // unsent rather than hold a station change or a test, which wait for this thread, unseen.
    RestartQuiet::givesWay() = true;
    // A stop ends the second's rest at once: the window waits for no poll that has not begun.
    while (!stopRequested && !g_offLine && rest(1000))
        m_navigation->pollModeState();
    tsanRelease(this);
}

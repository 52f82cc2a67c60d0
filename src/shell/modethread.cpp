#include "shell/modethread.h"

#include "comm/globals.h"
#include "platform/tsan.h"
#include "shell/navigation.h"

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

void MonitorModeThread::run()
{
    // The conditions are looked at before the sleep only: a stop that arrives while asleep still
    // lets one more poll run.
    while (!stopRequested && !g_offLine) {
        QThread::sleep(1);
        m_navigation->pollModeState();
    }
    tsanRelease(this);
}

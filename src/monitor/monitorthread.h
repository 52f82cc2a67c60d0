#pragma once

// The monitor poller. Start-up creates the one instance; the monitoring windows drive it.

#include <QThread>

class MonitorThread : public QThread
{
    Q_OBJECT
public:
    MonitorThread();
};

extern MonitorThread *g_monitorThread;

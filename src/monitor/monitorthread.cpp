#include "monitor/monitorthread.h"

MonitorThread *g_monitorThread = nullptr;

MonitorThread::MonitorThread()
    : QThread(nullptr)
{
}

#pragma once

// Values shared between the monitor poller and the monitoring windows, indexed by monitor item.

#include <QVector>

extern QVector<double> g_monitorValues; // last polled value of each item
extern QVector<bool> g_dialPollFlags; // item is polled for the monitor window
extern QVector<bool> g_advPollFlags; // item is polled for the trend window

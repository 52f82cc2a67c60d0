#include "monitor/monitorglobals.h"

QVector<double> g_monitorValues;
QVector<bool> g_dialPollFlags;
QVector<bool> g_advPollFlags;

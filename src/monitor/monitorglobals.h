#pragma once

// Lists shared between the monitor poller and the monitoring windows, indexed by monitor item.
//
// Codes, units, values and both flag vectors are touched only under g_monitorListsMutex: the
// poller holds it for one pass (never across its restart wait), the GUI thread for a load of the
// item lists and for each change of flags. Codes, values and flags always have the same size
// (the item count n plus the status item "MCR", at most MonitorSlots); units have n entries. The
// lock serves in turn, so a window's change waits for one pass at most.

#include "platform/fairmutex.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>

constexpr int MonitorSlots = 50; // values and flags at start; at most this many codes
constexpr int MaxMonitorItems = MonitorSlots - 1; // "MCR" takes the last slot

extern FairMutex g_monitorListsMutex;
extern QVector<QString> g_monitorCodes; // item codes, "MCR" last
extern QVector<QString> g_monitorUnits; // item units, " " for none
extern QVector<double> g_monitorValues; // last polled value of each item
extern QVector<bool> g_dialPollFlags; // item is polled for the monitor window
extern QVector<bool> g_advPollFlags; // item is polled for the trend window

// The I/O terminal table of IOstate.txt's accepted line; GUI thread only.
extern QVector<QStringList> g_ioStateTable;
extern int g_ioPolarity; // 1 active high, else active low
extern std::atomic<bool> g_ioMonitorEnabled; // row 0 of a table was enabled once; never cleared

// A reading whose unit the drive's selector (P.187, P.991) could not give: no reading (a NaN) to
// the gauges, the plot and the trend, which show and record none; its figure says "?", not "---".
double unitUnreadReading();
bool isUnitUnread(double value);
// A reading's figure: its number, "---" for none, "?" for one whose unit is unread.
QString readingText(double value);

// The helpers below take the lock themselves; an index outside the lists is ignored.
void setPollFlag(QVector<bool> &flags, int index);
void clearPollFlags(QVector<bool> &flags);
// 0.0 for an index outside the values.
double monitorValue(int index);
int monitorCodeCount();
// Replaces codes and units; values and flags follow the codes' size.
void replaceMonitorLists(const QVector<QString> &codes, const QVector<QString> &units);

#include "monitor/monitorglobals.h"

#include <cmath>
#include <cstring>

FairMutex g_monitorListsMutex;
QVector<QString> g_monitorCodes;
QVector<QString> g_monitorUnits;
QVector<double> g_monitorValues;
QVector<bool> g_dialPollFlags;
QVector<bool> g_advPollFlags;

QVector<QStringList> g_ioStateTable;
int g_ioPolarity = 0;
std::atomic<bool> g_ioMonitorEnabled { false };

namespace {

// A quiet NaN of its own: the atomics and copies on its way to the windows keep its bits.
constexpr quint64 UnitUnreadBits = 0x7FF8000000000187ULL;

} // namespace

double unitUnreadReading()
{
    double value;
    std::memcpy(&value, &UnitUnreadBits, sizeof value);
    return value;
}

bool isUnitUnread(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == UnitUnreadBits;
}

QString readingText(double value)
{
    if (isUnitUnread(value))
        return QStringLiteral("?");
    return std::isnan(value) ? QStringLiteral("---") : QString::number(value, 'g', 6);
}

void setPollFlag(QVector<bool> &flags, int index)
{
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    if (index >= 0 && index < flags.size() && index < g_monitorCodes.size())
        flags[index] = true;
}

void clearPollFlags(QVector<bool> &flags)
{
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    flags.fill(false);
}

double monitorValue(int index)
{
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    return index >= 0 && index < g_monitorValues.size() ? g_monitorValues.at(index) : 0.0;
}

int monitorCodeCount()
{
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    return g_monitorCodes.size();
}

void replaceMonitorLists(const QVector<QString> &codes, const QVector<QString> &units)
{
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    g_monitorCodes = codes;
    g_monitorUnits = units;
    g_monitorValues.resize(codes.size());
    g_dialPollFlags.resize(codes.size());
    g_advPollFlags.resize(codes.size());
}

#include "comm/valuerules.h"

#include "comm/frames.h"
#include "comm/globals.h"

#include <cmath>

ValueFlags takeValueFlags()
{
    ValueFlags flags;
    flags.noValue = g_noValueFlag.exchange(false);
    flags.isSigned = g_signedFlag.exchange(false);
    return flags;
}

namespace {

bool specialOrSigned(int raw, ValueFlags flags, bool wide, double *special, int *value)
{
    if (raw == 0xFFFF && flags.noValue) {
        *special = wide ? 99999 : 9999;
        return true;
    }
    *value = (raw > 0x8000 && flags.isSigned) ? raw - 0x10000 : raw;
    return false;
}

} // namespace

double modbusValue(quint16 raw, double unit, ValueFlags flags, bool wide)
{
    double special = 0;
    int value = 0;
    if (specialOrSigned(raw, flags, wide, &special, &value))
        return special;
    return value * unit;
}

double zrValue(const char *reply, ValueFlags flags, bool wide, double *unit)
{
    if (reply[0] != frames::STX)
        return -1.0;
    double special = 0;
    int value = 0;
    if (specialOrSigned(frames::hexValue(reply + 3, 4), flags, wide, &special, &value))
        return special;
    const char d = reply[7];
    const int decimals = (d >= '0' && d <= '9') ? d - '0' : 0;
    *unit = std::pow(10.0, -decimals);
    return value * *unit;
}

double rtuP188(double value, char series)
{
    switch (series) {
    case 'C':
    case 'S':
    case 'F':
        return value * 10;
    case 'T':
        return value < 0.005 ? value * 10 : value;
    case 'X':
        return value < 0.006 ? value * 10 : value;
    case 'G':
        return value < 0.004 ? value * 10 : value;
    default:
        return value;
    }
}

double ascP188(double value, char series)
{
    switch (series) {
    case 'C':
    case 'S':
    case 'F':
        return value * 10;
    case 'X':
        return value < 0.6 ? value * 10 : value;
    case 'G':
        return value <= 0.3 ? value * 10 : value;
    default:
        return value;
    }
}

double p77Value(double value, bool wide)
{
    if (value == 65535)
        return wide ? 99999 : 9999;
    return value;
}

#pragma once

// How raw register values become parameter values.

#include <QByteArray>

// The one-shot flags a caller sets before a parameter read.
struct ValueFlags {
    bool noValue = false; // FFFFh stands for 9999 or 99999
    bool isSigned = false; // values above 8000h are negative
};

// Takes g_noValueFlag and g_signedFlag and clears both, in one step each, so a flag meant for
// one read never lingers for the next caller's.
ValueFlags takeValueFlags();

// `wide` tells whether the drive's special value is 99999 rather than 9999.
double modbusValue(quint16 raw, double unit, ValueFlags flags, bool wide);

// A character-protocol data reply; -1 when it is no data reply. `unit` receives 10^-d of the
// reply's decimal-point digit unless the special value applied (it is then left alone).
double zrValue(const char *reply, ValueFlags flags, bool wide, double *unit);

// P.188 is sent in units the series does not share: these scale it back.
double rtuP188(double value, char series);
double ascP188(double value, char series);

// P.77 has a special value of its own, whatever the flags say.
double p77Value(double value, bool wide);

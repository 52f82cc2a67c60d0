#pragma once

// IOstate.txt: per series (and firmware range) the polarity and the fourteen terminal rows of the
// I/O panel. A line is "series//polarity//flag/label/bit;...//min-max".

#include <QString>
#include <QStringList>
#include <QVector>

constexpr int IoTerminalRows = 14; // ten inputs, then four outputs

struct IoStateLine {
    bool found = false;
    int polarity = 0;
    QVector<QStringList> table; // one row per entry, in entry order
};

// The first line of the series whose range (if any) holds the version. Lines without a terminal
// list are skipped.
IoStateLine parseIoState(const QStringList &lines, char series, const QString &version);

// A row lights and is labelled only with flag "1", a label and a bit that is a number; a shorter
// entry, or one whose bit is no number, keeps its place and counts as disabled.
bool ioRowEnabled(const QStringList &row);

// Whether the terminal of that bit is active in the word. A bit outside 0 to 31 is never active.
bool ioTerminalActive(int word, int bit, int polarity);

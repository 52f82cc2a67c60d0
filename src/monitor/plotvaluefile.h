#pragma once

// The plot value file: the values of a chart's channels as tab-separated text, GBK, CR LF.
//
//     header:  for each written channel  name "H" TAB        e.g. "D000H\t"
//     row r:   for each written channel  value "D" TAB       value as %g, 6 digits (4.29497e+09)
//              or only TAB when that channel holds r points or fewer
// There is one row per entry of rowCount (the chart's marker points), whatever the channels hold.
//
//     PlotValueTable table;
//     table.names = { "D000", "D002" };
//     table.values = { { 1, 2, 3 }, { 7 } };
//     table.rowCount = 3;
//     QString reason;
//     if (!writePlotValueFile(path, table, &reason)) ...   // reason: the file system's word
//
// writePlotValueFile saves through saveFile (platform/filesave.h): a failure leaves an older file of
// that name as it was.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct PlotValueTable {
    QStringList names; // one per written channel, in channel order
    QVector<QVector<double>> values; // per written channel (same order), its values in row order
    int rowCount = 0;
};

QByteArray plotValueFileBytes(const PlotValueTable &table);
bool writePlotValueFile(const QString &path, const PlotValueTable &table, QString *reason);

// A number as the text exports write it: %g with 6 significant digits, a dot as decimal separator.
QString exportNumber(double value);

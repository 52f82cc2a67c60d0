#pragma once

// The trend data file, the trend window's export of its recording, as text or as a workbook.
//
// Text (GBK, CR LF, TAB after every field):
//     2024-05-06
//     System Time<TAB>name 1<TAB>name 2<TAB>
//     '14:03:22.517 pm<TAB>12.5<TAB><TAB>          a row per pass; an empty field where a channel
//                                                   took no value in that pass
// Workbook, first sheet, rows and columns from 1: (1,1) the date as text; (2,1) "System Time",
// (2,1+k) the k-th name; (2+r,1) the r-th stamp as text (without its apostrophe, the layer's text
// marker), (2+r,1+k) the value as a number, rounded as the text shows it, or no value at all.
//
// Both replace the target only when the whole file was written; reason says why not.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct TrendDataTable {
    QString date; // "yyyy-MM-dd"
    QString timeHeader; // the translated "System Time"
    QStringList names; // one per written channel, in channel order
    QStringList stamps; // one per row (pass), with the leading apostrophe
    // Per written channel, one entry per row; NaN where the channel took no value in that pass.
    QVector<QVector<double>> values;
};

QByteArray trendTextFileBytes(const TrendDataTable &table);
bool writeTrendTextFile(const QString &path, const TrendDataTable &table, QString *reason);
bool writeTrendWorkbook(const QString &path, const TrendDataTable &table, QString *reason);

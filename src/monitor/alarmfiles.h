#pragma once

// The three alarm files of the drive folder as plain functions: the code list (alarmCode.txt),
// the lamp names (alarm.txt), the detail table (errorInfo.txt), and the rules of a detail range.
// Lines too short for what their format reads are skipped: the files come from outside.

#include <QString>
#include <QStringList>
#include <QVector>

namespace alarmfiles {

// alarmCode.txt: [code, text] per line, in file order. Series B, E and X call code 112 "BI".
QVector<QStringList> parseAlarmCodes(const QStringList &lines, char series);
// The text of the first entry with the code; empty when none has it.
QString alarmTextOf(const QVector<QStringList> &table, int code);

// alarm.txt: the fields of the name line after the first selector line of the series and
// version; empty when none matches.
QStringList ledNamesFor(const QStringList &lines, char series, double version);

// errorInfo.txt: the first line of the series and version whose record count is 1 to 99.
struct ErrorInfo {
    bool found = false;
    int records = 0;  // N: records the history reads
    int detailed = 0; // M: records, from the first, that get details
    QString ranges;   // field 4 whole
};
ErrorInfo errorInfoFor(const QStringList &lines, char series, double version);

// A detail range "first-last": the items written to P.290 and the offset that maps them onto
// the kinds 1 to 7. valid is false when it gives nothing, or items past 99 or more than 21.
struct DetailRange {
    bool valid = false;
    int first = 0;
    int last = 0;
    int offset = 0;
};
DetailRange parseDetailRange(const QString &range);

// The scale of the P.291 read of a kind. tenthHz: P.187 or P.991 read 1; capacity: of the type.
double detailScale(int kind, bool tenthHz, double capacity);
// "         Frequency: " + value + "Hz\n" and so on; empty for kinds outside 1 to 7.
QString detailLine(int kind, const QString &value);

// The capacity of a drive type text ("VR3-043-5.5K": 5.5); 0 when it has no third part.
double capacityOf(const QString &invType);

// The version as the files compare it.
double versionNumber(const QString &version);

} // namespace alarmfiles

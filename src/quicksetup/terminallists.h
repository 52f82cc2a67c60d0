#pragma once

// The terminal-function lists of the set-up wizard: the output functions a series offers, and the
// input functions of inputAndOutput.txt. Plain functions; the wizard builds its selectors on them.
// A function's place in these lists is what the wizard turns into the code it writes.

#include <QString>
#include <QStringList>

namespace TerminalLists {

// A firmware or version text as a number; a text that is no number counts as 0.
double versionNumber(const QString &text);

// The place of "ALARM (Alarm detection)" in every series' output list.
constexpr int AlarmOutput = 5;

// The output functions of a series at a firmware version, in position order, translated in the
// wizard's context.
QStringList outputFunctions(char series, double firmware);

// The fields of the data line that follows the first header matching the series and firmware.
// A header has exactly three "-"-separated fields (series letters, lowest version inclusive,
// version from which it no longer applies); empty fields are dropped. No match gives nothing.
QStringList dataFields(const QStringList &lines, char series, double firmware);

// inputAndOutput.txt of the program folder read as dataFields does; nothing when it is missing.
QStringList loadDataFields(char series, double firmware);

// The text a field shows: its second "."-piece, or the field as it stands when it has none.
QString itemText(const QString &field);

} // namespace TerminalLists

#pragma once

#include <QStringList>

// Operation_log.txt in the program folder: GBK text, CR LF line ends. Every writer opens the file,
// writes its complete lines with one append and closes it again, so lines written from several
// threads land whole.

QString operationLogPath();

// Appends lines, all or none (false). With onlyIfExists the lines are skipped when the log has not
// been created.
bool appendOperationLog(const QStringList &lines, bool onlyIfExists = false);

// Starts a run: creates the log when missing, drops the oldest run once 100 runs are stored and
// appends the time-stamped start line. The trimmed log replaces the old one only once written whole.
bool startOperationLogRun();

// Ends a run with the time-stamped close line and the run marker; writes nothing when the log
// has been deleted meanwhile.
void closeOperationLogRun();

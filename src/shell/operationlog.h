#pragma once

#include <QStringList>

// Appends lines to Operation_log.txt in the program folder. Each call opens the file for
// appending and closes it again, so lines written from several threads land whole.
// With onlyIfExists the lines are skipped when the log has not been created.
void appendOperationLog(const QStringList &lines, bool onlyIfExists = false);
QString operationLogPath();

#pragma once

// Where the compiled help files live and which one belongs to a language.

#include <QDir>
#include <QString>

// The folder sub under the program folder; a program folder named debug or release (any case) looks in
// its parent, and a missing sub leaves the search in the program folder itself.
QDir helpDir(const QString &sub);
QDir helpDir(const QString &sub, const QString &programDir);

// Absolute path, with "/" separators, of the help file for a language index (0 English,
// 1 Simplified Chinese, 2 Traditional Chinese); empty for any other index.
QString helpFilePath(int language);
QString helpFilePath(int language, const QString &programDir);

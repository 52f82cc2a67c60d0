#pragma once

// What the monitor pages' Save buttons share: the save dialog, which starts in the current
// directory and gives a name without ending the filter's, and a write that replaces the target
// only once the whole file is on disk, so a failure keeps the old file.

#include <QByteArray>
#include <QString>

class QWidget;

// Empty when the user cancels. ending without its dot ("txt").
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &filter, const QString &ending);

// GBK text whose "\n" become CR LF, as the pages' text files are written.
QByteArray crLfText(const QString &text);

// False with the reason when the file could not be written whole; the old file then stays.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason);

#pragma once

// The save dialogs of the exports (parameter lists, trend data, trend chart): where they start,
// and the name's ending that decides the format. Linux dialogs add no ending of their own: a name
// without one takes the selected filter's.

#include <QString>

class QWidget;

// The desktop folder, else the home folder, with a trailing "/".
QString saveStartFolder();

// The letters after the file name's last dot, lower-cased; empty when there are none (a dotted
// folder or "5.5K" in a type text makes no ending).
QString fileEnding(const QString &path);

// The first "*.ending" of a filter text, lower-cased.
QString filterEnding(const QString &filter);

// A save dialog; empty when cancelled. A name without ending gets the selected filter's (else
// the first filter's); *ending receives the name's ending as fileEnding gives it.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
    QString *ending);

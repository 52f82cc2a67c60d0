#pragma once

// The save dialogs of the program (documents, parameter lists, trend data, pictures, service
// texts): where they start, and the name a save really writes. Linux dialogs add no ending of their
// own and check only the name as typed, so the ending is added here and the question whether to
// replace an existing file is asked here too, of the name that will be written.

#include <QString>

#include <functional>

class QWidget;

// The desktop folder, else the home folder, with a trailing "/".
QString saveStartFolder();

// The letters after the file name's last dot, lower-cased; empty when there are none (a dotted
// folder or "5.5K" in a type text makes no ending).
QString fileEnding(const QString &path);

// The first "*.ending" of a filter text, lower-cased.
QString filterEnding(const QString &filter);

enum class SaveEnding {
    WhenNone, // a name without ending takes the selected filter's (else the first filter's)
    XlsIsWorkbook, // as WhenNone, and ".xls" is written as the workbook it is, ".xlsx"
    Always, // a name not ending in the selected filter's ending gets it added
};

// Judges the name that will be written before anyone is asked to replace a file under it; a caller
// that refuses the name tells the user why.
using SaveNameCheck = std::function<bool(const QString &path)>;

// A save dialog; empty when cancelled or when `accept` refused the name. The name returned is the one
// the caller writes: an existing file under it is replaced only when the user says so; when not, the
// dialog opens again on it. *ending receives the name's ending as fileEnding gives it.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
    QString *ending, SaveEnding rule = SaveEnding::WhenNone, const SaveNameCheck &accept = {});

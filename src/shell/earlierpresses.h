#pragma once

// While the GUI thread waits on the line, the user's presses wait in the window system's queue. A
// modal box opened then would take them as presses on a window it blocks and drop them, a STOP
// among them: before such a box opens, they reach their buttons, in the order made.

#include <QFileDialog>
#include <QMessageBox>

class QColor;
class QDialog;
class QWidget;
class QString;

// Delivers the input the window system already holds; GUI thread only, never while holding the link.
void takeEarlierPresses();

// Execs the box once the presses made before it, and while it was being built, have been taken; -1,
// unshown, when a press took the box away (its parent closed).
int execAfterEarlierPresses(QDialog *box);

// A warning box with OK, opened after the presses made before it have been taken.
void warnAfterEarlierPresses(QWidget *parent, const QString &title, const QString &text);

// The box QMessageBox's static calls open, opened after the presses made before it have been taken;
// the button it was closed with, Cancel when a press took it away.
QMessageBox::StandardButton askAfterEarlierPresses(QWidget *parent, QMessageBox::Icon icon, const QString &title,
    const QString &text, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// The file dialog QFileDialog's getOpenFileName (AcceptOpen) or getSaveFileName (AcceptSave) opens,
// opened after the presses made before it have been taken; the file chosen, empty when none was.
QString chooseFileAfterEarlierPresses(QWidget *parent, QFileDialog::AcceptMode mode, const QString &caption,
    const QString &start, const QString &filter, QString *selectedFilter = nullptr, QFileDialog::Options options = {});

// QColorDialog::getColor's dialog, opened after the presses made before it have been taken; the colour
// chosen, invalid when none was.
QColor chooseColourAfterEarlierPresses(const QColor &initial, QWidget *parent);

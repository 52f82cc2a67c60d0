#pragma once

// While the GUI thread waits on the line, the user's presses wait in the window system's queue. A
// modal box opened then would take them as presses on a window it blocks and drop them, a STOP
// among them: before such a box opens, they reach their buttons, in the order made.

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

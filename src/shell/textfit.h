#pragma once

// The windows' sizes were chosen for a narrower font than Linux gives, and Chinese texts differ again.
// fitTexts widens what would cut its text, never below the size the window was built with; a
// window's own fixed size grows only when its contents need it. Called after a window is built and
// after every language switch: what it widened for one language goes back first, so what fits keeps
// the built size.

#include <QLabel>

class QAbstractItemView;
class QString;
class QTableView;
class QWidget;

// A label of a fixed width that shows a text too long for it elided, whole in its tooltip, rather
// than growing and pushing its neighbours aside. text() stays the whole text.
class ElidingLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

void fitTexts(QWidget *window);

// Cells and items the view elides show their whole text as the tooltip, unless they carry one.
void showElidedTextsAsToolTips(QAbstractItemView *view);

// The view's other columns are as wide as their header and cells need; the column is as wide as its
// longest text and takes the width they leave. Where the view is too narrow for that, it takes the room
// up to the right edge of column lastWhole, which then shows whole with the view scrolled fully left,
// the columns past it reached by scrolling sideways (without lastWhole every column stays in view). Only
// then, and never below the width it was built with, are its texts elided, their whole text the tooltip.
void giveColumnTheRest(QTableView *view, int column, int lastWhole = -1);

// A small window (a progress dialog) widens so the window manager shows its whole title beside the
// title bar's icon and buttons.
void fitWindowTitle(QWidget *window);

#pragma once

// The windows' sizes were chosen for a narrower font than Linux gives, and Chinese texts differ again.
// fitTexts widens what would cut its text, never below the size the window was built with; a
// window's own fixed size grows only when its contents need it. Called after a window is built and
// after every language switch: what it widened for one language goes back first, so what fits keeps
// the built size.

class QAbstractItemView;
class QWidget;

void fitTexts(QWidget *window);

// Cells and items the view elides show their whole text as the tooltip, unless they carry one.
void showElidedTextsAsToolTips(QAbstractItemView *view);

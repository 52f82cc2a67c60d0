#pragma once

// Under a window manager a window's frame is known only once the window is mapped, so Qt places a
// window by a guess of it: a dialog without a parent, centred by its client area, may open with its
// title bar above the screen, where it cannot be dragged. keepWindowsOnScreen watches every window the
// program shows; once the window manager has framed it, a frame that leaves the screen's work area
// moves into it, and a window too large for it shrinks to it.

class QWidget;

// Installed once on the application; later calls do nothing.
void keepWindowsOnScreen();

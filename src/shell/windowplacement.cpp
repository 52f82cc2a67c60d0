#include "shell/windowplacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace
{

// How often and how long a shown window is watched for its frame: a busy machine may take a while
// to map it, and after that the user, not the program, places it.
const int WatchInterval = 50;
const int WatchLimit = 10000;

void shrinkTo(QWidget *window, int width, int height)
{
    if (window->minimumHeight() > height)
        window->setMinimumHeight(height);
    if (window->maximumHeight() > height && window->minimumHeight() == window->maximumHeight())
        window->setMaximumHeight(height);
    if (window->minimumWidth() > width)
        window->setMinimumWidth(width);
    if (window->maximumWidth() > width && window->minimumWidth() == window->maximumWidth())
        window->setMaximumWidth(width);
    window->resize(qMin(window->width(), width), qMin(window->height(), height));
}

// Moves, and where it must shrinks, the framed window into its screen's work area. False while the
// window has no frame yet.
bool placeWithinScreen(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (!handle || handle->frameMargins().isNull() || window->isMaximized() || window->isFullScreen())
        return handle && (window->isMaximized() || window->isFullScreen());
    const QMargins frame = handle->frameMargins();
    const QRect area = window->screen()->availableGeometry();
    const int width = area.width() - frame.left() - frame.right();
    const int height = area.height() - frame.top() - frame.bottom();
    if (window->width() > width || window->height() > height) {
        shrinkTo(window, width, height);
        return false;
    }
    // Checked again after a move: the window manager has the last word on where a window goes.
    const QRect outer = window->frameGeometry();
    const int x = qBound(area.left(), outer.left(), area.right() + 1 - outer.width());
    const int y = qBound(area.top(), outer.top(), area.bottom() + 1 - outer.height());
    if (QPoint(x, y) == outer.topLeft())
        return true;
    window->move(x, y);
    return false;
}

void watch(QWidget *window)
{
    QPointer<QWidget> watched(window);
    auto *timer = new QTimer(window);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, window, [watched, timer, clock] {
        const bool placed = !watched || !watched->isVisible() || placeWithinScreen(watched);
        if (placed || clock.elapsed() > WatchLimit) {
            timer->deleteLater();
        } else {
            timer->start(WatchInterval);
        }
    });
    timer->setSingleShot(true);
    timer->start(0);
}

class Placement : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const Qt::WindowType type = widget->windowType();
        // A window without a frame places itself, as the parameter help beside its row does.
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool)
            && !widget->windowFlags().testFlag(Qt::FramelessWindowHint))
            watch(widget);
        return false;
    }
};

} // namespace

void keepWindowsOnScreen()
{
    // Only under X11 does the program place its windows and a window manager frame them after; the
    // offscreen tests' screen is smaller than our windows on purpose.
    static Placement *placement = nullptr;
    if (placement || !qApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    placement = new Placement;
    placement->setParent(qApp);
    qApp->installEventFilter(placement);
}

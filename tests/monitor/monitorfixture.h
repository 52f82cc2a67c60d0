#pragma once

// What the monitor tests share: the program's folder and main window of the dock's tests, the
// monitor window opened as the Monitor button opens it, and how a lamp or picture is read back.

#include "../shell/navfixture.h"
#include "monitor/cockpit.h"
#include "monitor/dial.h"
#include "monitor/inverterstate.h"
#include "monitor/iostate.h"
#include "monitor/maindialplot.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitorthread.h"
#include "monitor/optiondialogs.h"
#include "monitor/plot.h"

#include <QLCDNumber>
#include <QStringList>
#include <QTabWidget>
#include <QToolBar>

// Whether the label shows the picture.
inline bool labelShows(const QLabel *label, const QString &file)
{
    const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
    return !pixmap.isNull()
        && pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied)
        == QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// One character per lamp: 1 on, 0 off, - greyed.
template <int N> inline QString lampText(QLabel *const (&lamps)[N])
{
    QString out;
    for (QLabel *lamp : lamps)
        out += !lamp->isEnabled() ? QLatin1Char('-')
            : labelShows(lamp, QStringLiteral(":/new prefix/images/on.png")) ? QLatin1Char('1')
            : labelShows(lamp, QStringLiteral(":/new prefix/images/off.png")) ? QLatin1Char('0')
                                                                              : QLatin1Char('?');
    return out;
}

// The poller start-up creates; one for the whole test program.
// The monitor codes cut into complete passes, each starting at `first`; the last one, cut short by
// Stop or still running, is left off.
inline QList<QStringList> splitPasses(const QStringList &codes, const QString &first)
{
    QList<QStringList> out;
    for (const QString &c : codes) {
        if (c == first)
            out.append(QStringList());
        if (!out.isEmpty())
            out.last() << c;
    }
    if (!out.isEmpty())
        out.removeLast();
    return out;
}

inline void ensureMonitorThread()
{
    if (!g_monitorThread)
        g_monitorThread = new MonitorThread();
}

// The monitor window as the main window's Monitor button opens it.
inline MainDialPlot *openMonitorWindow(CMainWindow *window)
{
    QMetaObject::invokeMethod(window, "iniSysMon");
    return window->monitorWindow;
}

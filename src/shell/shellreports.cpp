#include "shell/shellreports.h"

#include "comm/linkreports.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"

#include <QThread>

namespace {

class ShellReports : public LinkReports {
public:
    void reportError(int index) override
    {
        if (CMainWindow *window = g_mainWindow)
            window->reportError(index);
    }

    void reportErrorAbout(int index, const QString &subject) override
    {
        if (CMainWindow *window = g_mainWindow)
            window->reportError(index, subject);
    }

    void reportOffline() override
    {
        if (CMainWindow *window = g_mainWindow)
            window->setConnectionState(false);
    }

    void appendLog(const QString &line) override { appendOperationLog({ line }, true); }

    void warn(const QString &title, const QString &text) override
    {
        warnAfterEarlierPresses(g_mainWindow, title, text);
    }

    void restartWait(bool waiting) override
    {
        CMainWindow *window = g_mainWindow;
        if (window && window->navigation && QThread::currentThread() == window->thread())
            window->navigation->showRestartWait(waiting);
    }

    bool pageSelectForced() const override
    {
        const CMainWindow *window = g_mainWindow;
        return window && window->forcePageSelect;
    }

    void clearPageSelectForced() override
    {
        if (CMainWindow *window = g_mainWindow)
            window->forcePageSelect = false;
    }
};

ShellReports shellReports;

} // namespace

void installShellReports()
{
    installLinkReports(&shellReports);
    setDataLineReport([](const QString &path, int line, const QString &why) {
        appendOperationLog({ line > 0 ? QStringLiteral("Skipped line %1 of %2: %3").arg(line).arg(path, why)
                                      : QStringLiteral("Refused %1: %2").arg(path, why) },
            true);
    });
}

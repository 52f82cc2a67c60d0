#pragma once

// The program's start as the window tests stage it in a folder of their own.

#include "comm/typeinfo.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>

#include <memory>

// An empty operation log in g_appDir and the feature table read from the folder's tables.
inline bool startOperationLogAndTypes()
{
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    if (!log.open(QIODevice::WriteOnly))
        return false;
    log.close();
    return loadTypeInfo();
}

// The window's reports caught by a spy instead of boxes that would wait for a click.
inline std::unique_ptr<QSignalSpy> watchReports(CMainWindow *window)
{
    QObject::disconnect(window, &CMainWindow::showErrorInfo, window, &CMainWindow::ErrWarning);
    return std::unique_ptr<QSignalSpy>(new QSignalSpy(window, &CMainWindow::showErrorInfo));
}

// The operation log's lines in g_appDir.
inline QStringList operationLogLines()
{
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    log.open(QIODevice::ReadOnly);
    return QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The message numbers the window reported, once the queued reports have arrived.
inline QList<int> reportedErrors(const QSignalSpy &reports)
{
    QCoreApplication::processEvents();
    QList<int> out;
    for (const QList<QVariant> &args : reports)
        out << args.at(0).toInt();
    return out;
}

#pragma once

// The protocol objects' reports caught by a test instead of a window, and the program folder they
// need: the shipped command and feature tables.

#include "comm/linkreports.h"
#include "testdirs.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <atomic>

class LinkRecorder : public LinkReports {
public:
    void reportError(int index) override
    {
        QMutexLocker locker(&m_mutex);
        m_errors << index;
    }
    void reportOffline() override { ++m_offlineNotices; }
    void appendLog(const QString &line) override
    {
        QMutexLocker locker(&m_mutex);
        m_log << line;
    }
    void warn(const QString &title, const QString &text) override
    {
        QMutexLocker locker(&m_mutex);
        m_warnings << title + QLatin1Char(':') + text;
    }
    bool pageSelectForced() const override { return forcePageSelect; }
    void clearPageSelectForced() override { forcePageSelect = false; }

    QList<int> errors()
    {
        QMutexLocker locker(&m_mutex);
        return m_errors;
    }
    QStringList log()
    {
        QMutexLocker locker(&m_mutex);
        return m_log;
    }
    QStringList warnings()
    {
        QMutexLocker locker(&m_mutex);
        return m_warnings;
    }
    int offlineNotices() const { return m_offlineNotices; }

    void clear()
    {
        QMutexLocker locker(&m_mutex);
        m_errors.clear();
        m_log.clear();
        m_warnings.clear();
        m_offlineNotices = 0;
        forcePageSelect = false;
    }

    std::atomic<bool> forcePageSelect { false };

private:
    QMutex m_mutex;
    QList<int> m_errors;
    QStringList m_log;
    QStringList m_warnings;
    std::atomic<int> m_offlineNotices { 0 };
};

// Copies FNC.txt and typeInfo.txt as shipped into the program folder `appDir` (ending in "/").
inline bool installShippedTables(const QString &appDir)
{
    const QString invType = appDir + QStringLiteral("ParameterInforamtion/InvType/");
    QDir().mkpath(invType);
    const QString shipped = sourceDir() + QStringLiteral("/src/data/ParameterInforamtion/InvType/");
    for (const char *name : { "FNC.txt", "typeInfo.txt" })
        if (!QFile::copy(shipped + QLatin1String(name), invType + QLatin1String(name)))
            return false;
    return true;
}

#include "shell/operationlog.h"

#include "shell/appglobals.h"

#include <QFile>
#include <QMutex>
#include <QTextCodec>

QString operationLogPath()
{
    return g_appDir + QStringLiteral("Operation_log.txt");
}

void appendOperationLog(const QStringList &lines, bool onlyIfExists)
{
    static QMutex mutex;
    QMutexLocker locker(&mutex);
    QFile file(operationLogPath());
    if (onlyIfExists && !file.exists())
        return;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += gbk->fromUnicode(line) + "\r\n";
    file.write(bytes);
}

#include "shell/operationlog.h"

#include "platform/textfiles.h"
#include "shell/appglobals.h"

#include <QDateTime>
#include <QFile>
#include <QTextCodec>

#include <mutex>

namespace
{

const char RunMarker[] = "******************************************************"; // 54
const char RunMarkerTest[] = "******************"; // 18
const int MaxRuns = 100;

// Serialises this process's writers; other processes rely on the single append per call.
std::mutex &logMutex()
{
    static std::mutex mutex;
    return mutex;
}

QTextCodec *logCodec()
{
    return gbkCodec();
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += logCodec()->fromUnicode(line) + "\r\n";
    return bytes;
}

QString stampNow()
{
    g_logTimeStamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"));
    return g_logTimeStamp;
}

} // namespace

QString operationLogPath()
{
    return g_appDir + QStringLiteral("Operation_log.txt");
}

void appendOperationLog(const QStringList &lines, bool onlyIfExists)
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (onlyIfExists && !file.exists())
        return;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    file.write(encodeLines(lines));
}

void startOperationLogRun()
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (!file.open(QIODevice::ReadWrite))
        return;

    QStringList lines = logCodec()->toUnicode(file.readAll()).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    int markers = 0;
    int firstMarker = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(QLatin1Char('\r')))
            lines[i].chop(1);
        if (lines[i].contains(QLatin1String(RunMarkerTest))) {
            if (firstMarker < 0)
                firstMarker = i;
            ++markers;
        }
    }
    if (markers >= MaxRuns) {
        file.resize(0);
        file.seek(0);
        file.write(encodeLines(lines.mid(firstMarker + 1)));
    }
    file.seek(file.size());
    file.write(encodeLines({ stampNow() + QStringLiteral("  Open TavironINV") }));
}

void closeOperationLogRun()
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    file.write(encodeLines({ stampNow() + QStringLiteral("  Close TavironINV"), QLatin1String(RunMarker) }));
}

#include "shell/operationlog.h"

#include "platform/filesave.h"
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

// One whole write at the end of the file, or none: a short write is cut off again so that no half
// line is left for the next writer to continue.
bool appendWhole(QFile &file, const QByteArray &bytes)
{
    const qint64 end = file.size();
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    file.resize(end);
    return false;
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

bool appendOperationLog(const QStringList &lines, bool onlyIfExists)
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (onlyIfExists && !file.exists())
        return false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    return appendWhole(file, encodeLines(lines));
}

bool startOperationLogRun()
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (!file.open(QIODevice::ReadWrite))
        return false;

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
    const QByteArray startLine = encodeLines({ stampNow() + QStringLiteral("  Open TavironINV") });
    if (markers < MaxRuns) {
        file.seek(file.size());
        return appendWhole(file, startLine);
    }
    // A failed save leaves the old log as it was.
    if (saveFile(operationLogPath(), encodeLines(lines.mid(firstMarker + 1)) + startLine, nullptr))
        return true;
    // A folder that takes no new file still takes the run's start line.
    file.seek(file.size());
    return appendWhole(file, startLine);
}

void closeOperationLogRun()
{
    std::lock_guard<std::mutex> locker(logMutex());
    QFile file(operationLogPath());
    if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    appendWhole(file, encodeLines({ stampNow() + QStringLiteral("  Close TavironINV"), QLatin1String(RunMarker) }));
}

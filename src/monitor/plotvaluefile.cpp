#include "monitor/plotvaluefile.h"

#include "platform/paths.h"
#include "platform/textfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextCodec>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <QTextCodec>

QString exportNumber(double value)
{
    return QString::number(value, 'g', 6);
}

QByteArray plotValueFileBytes(const PlotValueTable &table)
{
    QString text;
    for (const QString &name : table.names)
        text += name + QStringLiteral("H\t");
    text += QStringLiteral("\r\n");
    for (int r = 0; r < table.rowCount; ++r) {
        for (int c = 0; c < table.names.size(); ++c) {
            const QVector<double> channel = table.values.value(c);
            if (r < channel.size())
                text += exportNumber(channel.at(r)) + QLatin1Char('D');
            text += QLatin1Char('\t');
        }
        text += QStringLiteral("\r\n");
    }
    return gbkCodec()->fromUnicode(text);
}

// QFile takes a short write on a full disk for success, so the bytes go through write(2) here.
bool replaceFileWith(const QString &path, const QByteArray &bytes, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    QFileInfo target(path);
    if (target.isSymLink() && target.exists())
        target = QFileInfo(target.canonicalFilePath());
    if (target.exists() && !target.isFile())
        return fail(QCoreApplication::translate("Workbook", "It is not a regular file"));
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return fail(temp.errorString());
    const int fd = temp.handle();
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC)));
        done += n;
    }
    const mode_t mode = replacementMode(target.absoluteFilePath());
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    temp.setAutoRemove(false);
    return true;
}

bool writePlotValueFile(const QString &path, const PlotValueTable &table, QString *reason)
{
    return replaceFileWith(path, plotValueFileBytes(table), reason);
}

#include "platform/paths.h"

#include <QFile>

#include <sys/stat.h>

QString localPath(const QString &windowsPath)
{
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // "C:\\dir\\\\file" style doubled separators would otherwise survive as "//".
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    return path;
}

mode_t replacementMode(const QString &path)
{
    struct stat old;
    if (::stat(QFile::encodeName(path).constData(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

#include "platform/paths.h"

QString localPath(const QString &windowsPath)
{
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // "C:\\dir\\\\file" style doubled separators would otherwise survive as "//".
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    return path;
}

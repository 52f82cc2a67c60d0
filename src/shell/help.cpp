#include "shell/help.h"

#include <QCoreApplication>

QDir helpDir(const QString &sub, const QString &programDir)
{
    QDir dir(programDir);
    const QString name = dir.dirName().toLower();
    if (name == QLatin1String("debug") || name == QLatin1String("release"))
        dir.cdUp();
    dir.cd(sub);
    return dir;
}

QDir helpDir(const QString &sub)
{
    return helpDir(sub, QCoreApplication::applicationDirPath());
}

QString helpFilePath(int language, const QString &programDir)
{
    static const char *const Files[] = { "HELP-EN.chm", "HELP-CN.chm", "HELP-TW.chm" };
    // A damaged document can carry any language index; opening the bare folder would not help anyone.
    if (language < 0 || language > 2)
        return QString();
    return QDir::fromNativeSeparators(
        helpDir(QStringLiteral("help"), programDir).absoluteFilePath(QLatin1String(Files[language])));
}

QString helpFilePath(int language)
{
    return helpFilePath(language, QCoreApplication::applicationDirPath());
}

#include "shell/savefilename.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString saveStartFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString folder = !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString fileEnding(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!name.contains(QLatin1Char('.')))
        return QString();
    static const QRegularExpression letters(QStringLiteral("^[A-Za-z]+$"));
    const QString piece = name.section(QLatin1Char('.'), -1);
    return letters.match(piece).hasMatch() ? piece.toLower() : QString();
}

QString filterEnding(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1).toLower();
}

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
    QString *ending)
{
    QString selected;
    QString path = QFileDialog::getSaveFileName(parent, caption, start, filter, &selected);
    if (path.isEmpty()) {
        if (ending)
            ending->clear();
        return path;
    }
    if (fileEnding(path).isEmpty()) {
        const QString added = filterEnding(selected).isEmpty() ? filterEnding(filter) : filterEnding(selected);
        if (!added.isEmpty())
            path += QLatin1Char('.') + added;
    }
    if (ending)
        *ending = fileEnding(path);
    return path;
}

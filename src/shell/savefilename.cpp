#include "shell/savefilename.h"

#include "shell/earlierpresses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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

namespace
{

QString finalName(QString path, const QString &selected, const QString &filter, SaveEnding rule)
{
    const QString wanted = filterEnding(selected).isEmpty() ? filterEnding(filter) : filterEnding(selected);
    const QString ending = fileEnding(path);
    if (rule == SaveEnding::Always) {
        if (!wanted.isEmpty() && !path.endsWith(QLatin1Char('.') + wanted))
            path += QLatin1Char('.') + wanted;
    } else if (ending.isEmpty()) {
        if (!wanted.isEmpty())
            path += QLatin1Char('.') + wanted;
    } else if (rule == SaveEnding::XlsIsWorkbook && ending == QLatin1String("xls")) {
        path += QLatin1Char('x');
    }
    return path;
}

bool replaceAllowed(QWidget *parent, const QString &caption, const QString &path)
{
    const QFileInfo target(path);
    if (!target.exists() && !target.isSymLink())
        return true;
    const QString question = QCoreApplication::translate("SaveFileName", "%1 already exists.\nDo you want to replace it?");
    return askAfterEarlierPresses(parent, QMessageBox::Warning, caption, question.arg(target.fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
    QString *ending, SaveEnding rule, const SaveNameCheck &accept)
{
    QString from = start;
    QString selected;
    QString path;
    for (;;) {
        path = chooseFileAfterEarlierPresses(
            parent, QFileDialog::AcceptSave, caption, from, filter, &selected, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            break;
        path = finalName(path, selected, filter, rule);
        if (accept && !accept(path)) {
            path.clear();
            break;
        }
        if (replaceAllowed(parent, caption, path))
            break;
        from = path;
    }
    if (ending)
        *ending = fileEnding(path);
    return path;
}

#include "monitor/monitorsave.h"

#include "platform/textfiles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &filter, const QString &ending)
{
    QString path = QFileDialog::getSaveFileName(parent, caption, QDir::currentPath(), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + ending;
    return path;
}

QByteArray crLfText(const QString &text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return gbkCodec()->fromUnicode(crlf);
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

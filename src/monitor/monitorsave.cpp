#include "monitor/monitorsave.h"

#include "platform/textfiles.h"

#include <QTextCodec>

QByteArray crLfText(const QString &text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return gbkCodec()->fromUnicode(crlf);
}

#include "platform/textfiles.h"


#include <QRegularExpression>
#include <QTextCodec>

QTextCodec *gbkCodec()
{
    static QTextCodec *const codec = QTextCodec::codecForName("GBK");
    return codec;
}

QString readTextFile(const QString &path, QTextCodec *codec, bool *ok)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    if (!opened)
        return QString();
    QByteArray bytes = file.readAll();
    // LF and CR never occur inside a GBK double-byte character, so this is safe on the bytes.
    bytes.replace("\r\n", "\n");
    return codec->toUnicode(bytes);
}

QStringList readTextLines(const QString &path, QTextCodec *codec, bool *ok)
{
    const QString text = readTextFile(path, codec, ok);
    if (text.isEmpty())
        return QStringList();
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

BoundedLineReader::BoundedLineReader(QIODevice *device, int maxLineBytes)
    : m_device(device)
{
    // Room for the bound, a CR, the LF and readLine's terminating zero.
    m_buffer.resize(maxLineBytes + 3);
}

bool BoundedLineReader::next(QByteArray *line, bool *tooLong)
{
    line->clear();
    *tooLong = false;
    const qint64 room = m_buffer.size();
    qint64 length = m_device->readLine(m_buffer.data(), room);
    if (length <= 0)
        return false;
    ++m_lineNumber;
    const char *data = m_buffer.constData();
    bool ended = data[length - 1] == '\n';
    // A line that fills the buffer without its end is longer than the bound: read through to its end.
    if (!ended && length == room - 1) {
        *tooLong = true;
        while (!ended) {
            length = m_device->readLine(m_buffer.data(), room);
            if (length <= 0)
                return true;
            ended = data[length - 1] == '\n';
        }
        return true;
    }
    if (ended)
        --length;
    if (length > 0 && data[length - 1] == '\r')
        --length;
    if (length > room - 3) {
        *tooLong = true;
        return true;
    }
    *line = QByteArray(data, int(length));
    return true;
}

namespace
{

DataLineReport &dataLineReport()
{
    static DataLineReport report;
    return report;
}

// The longest stretch between the field separators any of the data files uses.
int longestName(const QString &line)
{
    static const QRegularExpression separators(QStringLiteral("[-/;,\\\\\t|]"));
    int longest = 0;
    int start = 0;
    QRegularExpressionMatchIterator it = separators.globalMatch(line);
    while (it.hasNext()) {
        const int at = it.next().capturedStart();
        longest = qMax(longest, at - start);
        start = at + 1;
    }
    return qMax(longest, line.size() - start);
}

} // namespace

void setDataLineReport(const DataLineReport &report)
{
    dataLineReport() = report;
}

void reportDataLine(const QString &path, int line, const QString &why)
{
    if (const DataLineReport &report = dataLineReport())
        report(path, line, why);
}

QStringList readDataLines(const QString &path, QTextCodec *codec, bool *ok)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    if (!opened)
        return {};
    if (file.size() > MaxDataFileBytes) {
        if (ok)
            *ok = false;
        reportDataLine(path, 0, QStringLiteral("larger than %1 bytes, not read").arg(MaxDataFileBytes));
        return {};
    }
    QStringList lines;
    BoundedLineReader reader(&file, MaxDataLineBytes);
    QByteArray bytes;
    bool tooLong = false;
    while (reader.next(&bytes, &tooLong)) {
        QString line = tooLong ? QString() : codec->toUnicode(bytes);
        if (tooLong) {
            reportDataLine(path, reader.lineNumber(), QStringLiteral("longer than %1 bytes").arg(MaxDataLineBytes));
        } else if (longestName(line) > MaxDataNameChars) {
            reportDataLine(
                path, reader.lineNumber(), QStringLiteral("a name longer than %1 characters").arg(MaxDataNameChars));
            line.clear();
        }
        lines.append(line);
    }
    return lines;
}


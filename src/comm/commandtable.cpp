#include "comm/commandtable.h"

#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"

#include <QFile>

CommandKind commandKind(const char *code)
{
    const QByteArray c(code, 3);
    if (c == "MOD")
        return CommandKind::ModeRead;
    if (c == "STA" || c == "M0N" || c == "M1N")
        return CommandKind::WordRead;
    if (c[0] == 'M' && c[2] == 'R')
        return CommandKind::MonitorRead;
    if (c[0] == 'M' && c[2] == 'W')
        return CommandKind::MonitorWrite;
    return CommandKind::Plain;
}

namespace {

// The body each protocol needs: Modbus RTU sends five bytes after the station; a Modbus ASCII
// body holds function, address and value; a character-protocol body at least the instruction
// and wait digit. "FRE" carries its value in the body, which must therefore be there.
int minimumBody(int protocol, const QByteArray &code)
{
    const bool frequency = code == "FRE";
    switch (protocol) {
    case 1:
        return 5;
    case 2:
        return 10;
    default:
        return frequency ? 7 : 3;
    }
}

} // namespace

QVector<QByteArray> parseCommandTable(const QStringList &lines, int protocol)
{
    QVector<QByteArray> table;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('-'));
        bool ok = false;
        if (fields.value(0).toInt(&ok) != protocol || !ok)
            continue;
        QByteArray entry;
        if (protocol == 1) {
            if (fields.size() < 4 || fields.at(1).isEmpty() || fields.at(2).isEmpty() || fields.at(3).isEmpty())
                continue;
            entry.append(char(1));
            for (int i = 1; i <= 3; ++i)
                entry.append(fields.at(i).at(0).toLatin1());
            for (int i = 4; i < fields.size(); ++i)
                entry.append(char(fields.at(i).toInt(nullptr, 16) & 0xFF));
        } else {
            QString joined = line;
            joined.remove(QLatin1Char('-'));
            entry = joined.toLatin1();
            entry[0] = char(protocol);
        }
        if (entry.size() < 4 || entry.size() - 4 < minimumBody(protocol, entry.mid(1, 3)))
            continue;
        table.append(entry);
    }
    return table;
}

QString commandTablePath()
{
    return localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\FNC.txt"));
}

bool readCommandTableLines(const QString &path, QStringList *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    file.close();
    bool ok = false;
    lines->append(readDataLines(path, gbkCodec(), &ok));
    if (!ok)
        *error = QStringLiteral("larger than %1 bytes").arg(MaxDataFileBytes);
    return ok;
}

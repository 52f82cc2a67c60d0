#include "commandtable.h"

#include <QFile>

static bool isFreeData(const QString &code) { return code == QLatin1String("FRE"); }

bool CommandTable::load(const QString &path, Protocol protocol, QString *error)
{
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    const int wanted = protocol == Protocol::Taviron ? 0 : protocol == Protocol::Rtu ? 1 : 2;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const QList<QByteArray> fields = line.split('-');
        bool ok = false;
        if (fields.isEmpty() || fields.at(0).toInt(&ok) != wanted || !ok)
            continue;
        CommandEntry e;
        if (wanted == 1) {
            if (fields.size() < 9)
                continue;
            for (int i = 1; i <= 3; ++i)
                e.code += QChar::fromLatin1(fields.at(i).isEmpty() ? ' ' : fields.at(i).at(0));
            int b[5];
            for (int i = 0; i < 5; ++i)
                b[i] = fields.at(4 + i).toInt(nullptr, 16);
            e.function = b[0];
            e.address = b[1] << 8 | b[2];
            e.value = b[3] << 8 | b[4];
        } else {
            QByteArray joined = line;
            joined.replace("-", "");
            if (joined.size() < 4)
                continue;
            e.code = QString::fromLatin1(joined.mid(1, 3));
            const QByteArray body = joined.mid(4);
            if (wanted == 2) {
                if (body.size() < 10)
                    continue;
                e.function = body.left(2).toInt(nullptr, 16);
                e.address = body.mid(2, 4).toInt(nullptr, 16);
                e.value = body.mid(6, 4).toInt(nullptr, 16);
            } else {
                if (body.size() < 3)
                    continue;
                e.instruction = body.left(2);
                e.data = body.mid(3);
            }
        }
        m_entries.append(e);
    }
    if (m_entries.isEmpty()) {
        *error = QStringLiteral("%1 holds no command for this protocol").arg(path);
        return false;
    }
    return true;
}

QString CommandTable::readCode(int address) const
{
    for (const CommandEntry &e : m_entries)
        if (e.function == 0x03 && e.address == address)
            return e.code;
    return QString();
}

QString CommandTable::writeCode(int address, int value, bool *addressKnown) const
{
    *addressKnown = false;
    for (const CommandEntry &e : m_entries) {
        if (e.function != 0x06 || e.address != address)
            continue;
        *addressKnown = true;
        if (isFreeData(e.code) || e.value == value)
            return e.code;
    }
    return QString();
}

const CommandEntry *CommandTable::match(const QByteArray &instruction, const QByteArray &data, bool *instructionKnown) const
{
    *instructionKnown = false;
    for (const CommandEntry &e : m_entries) {
        if (e.instruction != instruction)
            continue;
        *instructionKnown = true;
        if (e.data == data || (isFreeData(e.code) && data.size() == e.data.size()))
            return &e;
    }
    return nullptr;
}

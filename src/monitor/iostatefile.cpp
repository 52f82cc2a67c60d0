#include "monitor/iostatefile.h"

#include "monitor/monitoritems.h"

IoStateLine parseIoState(const QStringList &lines, char series, const QString &version)
{
    IoStateLine out;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QStringLiteral("//"), Qt::SkipEmptyParts);
        if (fields.size() < 3 || fields.at(0).at(0) != QLatin1Char(series))
            continue;
        if (fields.size() > 3 && !versionInRange(fields.at(3), version))
            continue;
        out.found = true;
        out.polarity = fields.at(1).trimmed().toInt();
        for (const QString &entry : fields.at(2).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            out.table.append(entry.split(QLatin1Char('/'), Qt::SkipEmptyParts));
        break;
    }
    return out;
}

bool ioRowEnabled(const QStringList &row)
{
    if (row.size() < 3 || row.at(0) != QLatin1String("1"))
        return false;
    // A bit that is no number would read bit 0, another terminal's.
    bool number = false;
    row.at(2).trimmed().toInt(&number);
    return number;
}

bool ioTerminalActive(int word, int bit, int polarity)
{
    if (bit < 0 || bit > 31)
        return false;
    const bool set = (quint32(word) >> bit) & 1u;
    return polarity == 1 ? set : !set;
}

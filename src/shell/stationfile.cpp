#include "shell/stationfile.h"

#include "comm/globals.h"
#include "platform/textfiles.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTextCodec>

namespace
{

const QString StationKey = QStringLiteral("Station:");
const QString LanguageKey = QStringLiteral("languageType:");
const QString CommKey = QStringLiteral("COM:");
const QString NumberPrefix = QStringLiteral("NO.");

// Entries of the set-up dialog's selectors: protocol, baud, data bits, stop bits, parity, line end.
const int SelectorSizes[] = { 3, 6, 2, 2, 3, 3 };

// A field that is no number reads as 0; a number outside the selector's entries as KeepIndex.
int indexField(const QString &text, int size)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return 0;
    return value >= 0 && value < size ? value : KeepIndex;
}

void applyIndex(int value, int *global)
{
    if (value != KeepIndex)
        *global = value;
}

} // namespace

int parseStationNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^(?:NO\\.)?(\\d{1,3})$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch())
        return -1;
    const int value = match.captured(1).toInt();
    return value <= 254 ? value : -1;
}

QString stationValue(const DocumentStation &station)
{
    return NumberPrefix + QStringLiteral("%1").arg(station.number, 3, 10, QLatin1Char('0')) + QLatin1Char(',')
        + station.type;
}

DocumentStation stationFromLabel(const QString &label)
{
    DocumentStation station;
    const QStringList words = label.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < words.size(); ++i) {
        const int at = words.at(i).indexOf(NumberPrefix);
        if (at < 0)
            continue;
        const int number = parseStationNumber(words.at(i).mid(at));
        if (number >= 0 && i + 1 < words.size()) {
            station.number = number;
            station.type = words.at(i + 1);
        }
        break;
    }
    return station;
}

QString commSettingsValue(const CommSettings &comm)
{
    return QStringList { QString::number(comm.protocolIndex), comm.portName, QString::number(comm.baudIndex),
        QString::number(comm.dataBitsIndex), QString::number(comm.stopBitsIndex), QString::number(comm.parityIndex),
        QString::number(comm.crLfIndex), comm.timeoutText }
        .join(QLatin1Char('-'));
}

QByteArray writeStationFile(const DocumentStation &station, int language, const CommSettings &comm)
{
    const QString stationText = station.number >= 0 ? stationValue(station) : QString();
    const QString text = StationKey + stationText + QStringLiteral("\r\n") + LanguageKey + QString::number(language)
        + QStringLiteral("\r\n") + CommKey + commSettingsValue(comm) + QStringLiteral("\r\n");
    return gbkCodec()->fromUnicode(text);
}

StationFile parseStationFile(const QByteArray &contents)
{
    StationFile file;
    QString text = gbkCodec()->toUnicode(contents);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.contains(StationKey)) {
            line.remove(StationKey);
            const QStringList parts = line.split(QLatin1Char(','));
            if (parts.size() != 2)
                continue;
            DocumentStation station;
            station.number = parseStationNumber(parts.at(0));
            station.type = parts.at(1).trimmed();
            if (station.number >= 0 && !station.type.isEmpty())
                file.stations.append(station);
        } else if (line.contains(LanguageKey)) {
            line.remove(LanguageKey);
            const QString value = line.trimmed();
            file.hasLanguage = true;
            file.language = value == QLatin1String("1") ? 1 : value == QLatin1String("2") ? 2 : 0;
        } else if (line.contains(CommKey)) {
            line.remove(CommKey);
            QStringList fields = line.split(QLatin1Char('-'));
            if (fields.size() < 8)
                continue;
            // A port name holding "-" arrives in several fields; the six after it are fixed.
            while (fields.size() > 8)
                fields[1] += QLatin1Char('-') + fields.takeAt(2);
            CommSettings &comm = file.comm;
            comm.protocolIndex = indexField(fields.at(0), SelectorSizes[0]);
            comm.portName = fields.at(1).trimmed();
            comm.baudIndex = indexField(fields.at(2), SelectorSizes[1]);
            comm.dataBitsIndex = indexField(fields.at(3), SelectorSizes[2]);
            comm.stopBitsIndex = indexField(fields.at(4), SelectorSizes[3]);
            comm.parityIndex = indexField(fields.at(5), SelectorSizes[4]);
            comm.crLfIndex = indexField(fields.at(6), SelectorSizes[5]);
            comm.timeoutText = fields.at(7).trimmed();
            file.hasComm = true;
        }
    }
    return file;
}

CommSettings currentCommSettings()
{
    CommSettings comm;
    comm.protocolIndex = g_protocolIndex;
    comm.portName = g_portName;
    comm.baudIndex = g_baudIndex;
    comm.dataBitsIndex = g_dataBitsIndex;
    comm.stopBitsIndex = g_stopBitsIndex;
    comm.parityIndex = g_parityIndex;
    comm.crLfIndex = g_crLfIndex;
    comm.timeoutText = g_timeoutText;
    return comm;
}

void applyCommSettings(const CommSettings &comm)
{
    applyIndex(comm.protocolIndex, &g_protocolIndex);
    // Documents saved before any port was listed hold an empty port; the current one serves better.
    if (!comm.portName.isEmpty())
        g_portName = comm.portName;
    applyIndex(comm.baudIndex, &g_baudIndex);
    applyIndex(comm.dataBitsIndex, &g_dataBitsIndex);
    applyIndex(comm.stopBitsIndex, &g_stopBitsIndex);
    applyIndex(comm.parityIndex, &g_parityIndex);
    applyIndex(comm.crLfIndex, &g_crLfIndex);
    g_timeoutText = comm.timeoutText;
}

#include "comm/readwriteasc.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/typeinfo.h"

#include <cstring>

ReadWriteASC::ReadWriteASC(QWidget *parent)
    : ReadWrite(parent)
{
}

double ReadWriteASC::readParameter(int parameter, double unit, ValueFlags flags)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return -1.0;
    const Reply reply = TransactText(frames::ascReadParameter(frames::stationField(g_stationHex), parameter),
                                     frames::AscReadReplyLength);
    if (!reply.ok) {
        if (!quietRead())
            GoOffline(reply);
        return -1.0;
    }
    const quint16 raw = quint16(reply.at(3) == '0' ? frames::hexValue(reply.bytes() + 7, 4) : 0);
    const bool wide = isFeatureEnabled(QStringLiteral("readWrite_99999"));
    double value = modbusValue(raw, unit, flags, wide);
    if (parameter == 188)
        value = ascP188(value, g_seriesLetter);
    if (parameter == 77)
        value = p77Value(value, wide);
    return value;
}

bool ReadWriteASC::WritePar(int parameter, int value)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return false;
    const Reply reply = TransactText(
        frames::ascWriteParameter(frames::stationField(g_stationHex), parameter, value), frames::AscWriteReplyLength);
    return finishWrite(parameter, value, reply);
}

int ReadWriteASC::ReadRegisters(int first, int count)
{
    if (count < 1 || count > frames::MaxRegisterCount)
        return 0xFFFF;
    const Reply reply = TransactText(frames::ascReadRegisters(frames::stationField(g_stationHex), first, count),
                                     frames::ascRegistersReplyLength(count));
    if (!reply.ok) {
        if (!g_connectionTest)
            GoOffline(reply);
        return 0xFFFF;
    }
    // Only each register's low byte counts.
    quint32 result = 0;
    for (int i = 0; i < count; ++i)
        result = (result << 8) + quint32(frames::hexValue(reply.bytes() + 9 + 4 * i, 2));
    return int(result);
}

int ReadWriteASC::ReadTypeCode()
{
    const int code = ReadRegisters(0x1200, 1);
    return code == 0xFFFF ? -1 : code;
}

int ReadWriteASC::errorMessageIndex(const Reply &reply) const
{
    switch (reply.at(6)) {
    case '1':
        return 10;
    case '2':
        return 12;
    default:
        return 14;
    }
}

bool ReadWriteASC::isRefusal(const Reply &reply) const
{
    return reply.at(3) == '8';
}

ReadWrite::Reply ReadWriteASC::exchange(const QByteArray &request, int expected)
{
    return TransactText(request, expected);
}

QByteArray ReadWriteASC::commandRequest(const QByteArray &entry) const
{
    return frames::ascCommand(frames::stationField(g_stationHex), entry);
}

int ReadWriteASC::commandReplyLength(CommandKind kind) const
{
    switch (kind) {
    case CommandKind::ModeRead:
    case CommandKind::WordRead:
    case CommandKind::MonitorRead:
        return frames::AscReadReplyLength;
    default:
        return frames::AscWriteReplyLength;
    }
}

void ReadWriteASC::storeFrequency(QByteArray &entry, quint16 value) const
{
    entry.replace(10, 4, frames::hex4(value));
}

int ReadWriteASC::modeCharacter(const Reply &reply) const
{
    return quint8(reply.at(10));
}

int ReadWriteASC::wordValue(const Reply &reply) const
{
    return frames::hexValue(reply.bytes() + 7, 4);
}

ReadWrite::MonitorCheck ReadWriteASC::monitorReading(const char *code, const Reply &reply, double *value, bool *keep)
{
    if (reply.at(0) != ':')
        return MonitorCheck::FailedUncounted;
    const QByteArray expected = hexByte(lrc(reply.bytes() + 1, 10));
    if (reply.at(11) != expected.at(0) || reply.at(12) != expected.at(1))
        return MonitorCheck::FailedUncounted;
    const int raw = reply.at(3) == '0' ? frames::hexValue(reply.bytes() + 7, 4) : 0;
    double factor = 0;
    *keep = !modbusMonitorScale(code[1], &factor);
    *value = raw * factor;
    return MonitorCheck::Ok;
}

QString ReadWriteASC::commandErrorText(const Reply &reply) const
{
    QByteArray text(reply.bytes(), int(strnlen(reply.bytes(), size_t(reply.data.size()))));
    while (text.endsWith('\r') || text.endsWith('\n'))
        text.chop(1);
    return QString::fromLatin1(text);
}

int ReadWriteASC::restartWaitMs() const
{
    return g_seriesLetter == 'S' ? 7000 : 3000;
}

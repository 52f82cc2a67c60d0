#include "comm/readwritertu.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/typeinfo.h"

namespace {

int word(const ReadWrite::Reply &reply, int at)
{
    return (quint8(reply.at(at)) << 8) | quint8(reply.at(at + 1));
}

} // namespace

ReadWriteRTU::ReadWriteRTU(QWidget *parent)
    : ReadWrite(parent)
{
}

double ReadWriteRTU::readParameter(int parameter, double unit, ValueFlags flags)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return -1.0;
    const Reply reply = TransactBinary(frames::rtuReadParameter(g_station, parameter), frames::RtuReadReplyLength);
    if (!reply.ok) {
        if (!quietRead())
            GoOffline(reply);
        return -1.0;
    }
    const quint16 raw = quint16(reply.at(1) == 0x03 ? word(reply, 3) : 0);
    const bool wide = isFeatureEnabled(QStringLiteral("readWrite_99999"));
    double value = modbusValue(raw, unit, flags, wide);
    if (parameter == 188)
        value = rtuP188(value, g_seriesLetter);
    if (parameter == 77)
        value = p77Value(value, wide);
    return value;
}

bool ReadWriteRTU::WritePar(int parameter, int value)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return false;
    const Reply reply = TransactBinary(frames::rtuWriteParameter(g_station, parameter, value & 0xFFFF),
                                       frames::RtuWriteReplyLength);
    return finishWrite(parameter, value, reply);
}

int ReadWriteRTU::ReadRegisters(int first, int count)
{
    if (count < 1 || count > frames::MaxRegisterCount)
        return 0xFFFF;
    const Reply reply = TransactBinary(frames::rtuReadRegisters(g_station, first, count),
                                       frames::rtuRegistersReplyLength(count));
    if (!reply.ok) {
        if (!g_connectionTest)
            GoOffline(reply);
        return 0xFFFF;
    }
    quint32 result = 0;
    for (int i = 0; i < count; ++i)
        result = (result << 8) + quint8(reply.at(4 + 2 * i));
    return int(result);
}

int ReadWriteRTU::ReadTypeCode()
{
    const int code = ReadRegisters(0x1200, 1);
    return code == 0xFFFF ? -1 : code;
}

int ReadWriteRTU::errorMessageIndex(const Reply &reply) const
{
    switch (reply.at(2)) {
    case 1:
        return 10;
    case 2:
        return 12;
    default:
        return 14;
    }
}

bool ReadWriteRTU::isRefusal(const Reply &reply) const
{
    return quint8(reply.at(1)) == 0x86;
}

void ReadWriteRTU::logWriteFailure(int parameter, int value) const
{
    appendLog(QStringLiteral("Write parameter P.%1=%2 failure!").arg(parameter).arg(value));
}

ReadWrite::Reply ReadWriteRTU::exchange(const QByteArray &request, int expected)
{
    return TransactBinary(request, expected);
}

QByteArray ReadWriteRTU::commandRequest(const QByteArray &entry) const
{
    return frames::rtuCommand(g_station, entry);
}

int ReadWriteRTU::commandReplyLength(CommandKind kind) const
{
    switch (kind) {
    case CommandKind::ModeRead:
    case CommandKind::WordRead:
    case CommandKind::MonitorRead:
        return frames::RtuReadReplyLength;
    default:
        return frames::RtuWriteReplyLength;
    }
}

void ReadWriteRTU::storeFrequency(QByteArray &entry, quint16 value) const
{
    entry[7] = char(value >> 8);
    entry[8] = char(value & 0xFF);
}

int ReadWriteRTU::modeCharacter(const Reply &reply) const
{
    const int mode = quint8(reply.at(4));
    return mode <= 8 ? '0' + mode : -1;
}

int ReadWriteRTU::wordValue(const Reply &reply) const
{
    return word(reply, 3);
}

ReadWrite::MonitorCheck ReadWriteRTU::monitorReading(const char *code, const Reply &reply, double *value, bool *keep)
{
    const quint16 crc = crc16(reply.bytes(), 5);
    if (quint8(reply.at(5)) != (crc & 0xFF) || quint8(reply.at(6)) != (crc >> 8))
        return MonitorCheck::FailedUncounted;
    const int raw = reply.at(1) == 0x03 ? word(reply, 3) : 0;
    double factor = 0;
    *keep = !modbusMonitorScale(code[1], &factor);
    *value = raw * factor;
    return MonitorCheck::Ok;
}

QString ReadWriteRTU::commandErrorText(const Reply &reply) const
{
    // What came back, byte by byte, so a reader of the log sees exception replies.
    QStringList received;
    for (int i = 0; i < reply.count && i < reply.data.size(); ++i)
        received << QString::fromLatin1(hexByte(quint8(reply.at(i))));
    return received.join(QLatin1Char(' '));
}

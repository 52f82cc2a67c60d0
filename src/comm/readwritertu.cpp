#include "comm/readwritertu.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/linkreports.h"

namespace {

int word(const ReadWrite::Reply &reply, int at)
{
    return (quint8(reply.at(at)) << 8) | quint8(reply.at(at + 1));
}

} // namespace

ReadWriteRTU::ReadWriteRTU(QWidget *parent)
    : ReadWriteModbus(parent)
{
}

int ReadWriteRTU::errorMessageIndex(const Reply &reply) const
{
    switch (reply.at(2)) {
    case 1:
        return LinkMessage::IllegalFunction;
    case 2:
        return LinkMessage::IllegalDataAddress;
    default:
        return LinkMessage::IllegalDataValue;
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

QString ReadWriteRTU::commandErrorText(const Reply &reply) const
{
    // What came back, byte by byte, so a reader of the log sees exception replies.
    QStringList received;
    for (int i = 0; i < reply.count && i < reply.data.size(); ++i)
        received << QString::fromLatin1(hexByte(quint8(reply.at(i))));
    return received.join(QLatin1Char(' '));
}

QByteArray ReadWriteRTU::readRequest(int parameter) const
{
    return frames::rtuReadParameter(g_station, parameter);
}

QByteArray ReadWriteRTU::writeRequest(int parameter, int value) const
{
    return frames::rtuWriteParameter(g_station, parameter, value & 0xFFFF);
}

QByteArray ReadWriteRTU::registersRequest(int first, int count) const
{
    return frames::rtuReadRegisters(g_station, first, count);
}

int ReadWriteRTU::readReplyLength() const
{
    return frames::RtuReadReplyLength;
}

int ReadWriteRTU::writeReplyLength() const
{
    return frames::RtuWriteReplyLength;
}

int ReadWriteRTU::registersReplyLength(int count) const
{
    return frames::rtuRegistersReplyLength(count);
}

int ReadWriteRTU::readValue(const Reply &reply) const
{
    return reply.at(1) == 0x03 ? word(reply, 3) : 0;
}

int ReadWriteRTU::registerLowByte(const Reply &reply, int index) const
{
    return quint8(reply.at(4 + 2 * index));
}

double ReadWriteRTU::p188Value(double value) const
{
    return rtuP188(value, g_seriesLetter);
}

bool ReadWriteRTU::monitorFrameIntact(const Reply &reply) const
{
    const quint16 crc = crc16(reply.bytes(), 5);
    return quint8(reply.at(5)) == (crc & 0xFF) && quint8(reply.at(6)) == (crc >> 8);
}

#include "comm/readwriteasc.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/linkreports.h"

#include <cstring>

ReadWriteASC::ReadWriteASC(QWidget *parent)
    : ReadWriteModbus(parent)
{
}

int ReadWriteASC::errorMessageIndex(const Reply &reply) const
{
    switch (reply.at(6)) {
    case '1':
        return LinkMessage::IllegalFunction;
    case '2':
        return LinkMessage::IllegalDataAddress;
    default:
        return LinkMessage::IllegalDataValue;
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
    return frames::ascCommand(g_stationHex.field(), entry);
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

QByteArray ReadWriteASC::readRequest(int parameter) const
{
    return frames::ascReadParameter(g_stationHex.field(), parameter);
}

QByteArray ReadWriteASC::writeRequest(int parameter, int value) const
{
    return frames::ascWriteParameter(g_stationHex.field(), parameter, value);
}

QByteArray ReadWriteASC::registersRequest(int first, int count) const
{
    return frames::ascReadRegisters(g_stationHex.field(), first, count);
}

int ReadWriteASC::readReplyLength() const
{
    return frames::AscReadReplyLength;
}

int ReadWriteASC::writeReplyLength() const
{
    return frames::AscWriteReplyLength;
}

int ReadWriteASC::registersReplyLength(int count) const
{
    return frames::ascRegistersReplyLength(count);
}

int ReadWriteASC::readValue(const Reply &reply) const
{
    return reply.at(3) == '0' ? frames::hexValue(reply.bytes() + 7, 4) : 0;
}

int ReadWriteASC::registerLowByte(const Reply &reply, int index) const
{
    return frames::hexValue(reply.bytes() + 9 + 4 * index, 2);
}

double ReadWriteASC::p188Value(double value) const
{
    return ascP188(value, g_seriesLetter);
}

bool ReadWriteASC::monitorFrameIntact(const Reply &reply) const
{
    if (reply.at(0) != ':')
        return false;
    const QByteArray expected = hexByte(lrc(reply.bytes() + 1, 10));
    return reply.at(11) == expected.at(0) && reply.at(12) == expected.at(1);
}

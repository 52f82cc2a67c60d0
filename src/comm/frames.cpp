#include "comm/frames.h"

#include "comm/checksums.h"

#include <cstring>

namespace frames {

QByteArray hex4(int value)
{
    const quint16 v = quint16(value & 0xFFFF);
    return hexByte(quint8(v >> 8)) + hexByte(quint8(v & 0xFF));
}

int hexValue(const char *digits, int length)
{
    int value = 0;
    for (int i = 0; i < length; ++i) {
        const char c = digits[i];
        int d = 0;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        value = value * 16 + d;
    }
    return value;
}

namespace {

// Station, function, then two big-endian words: the address and the value or count.
QByteArray rtuRequest(quint8 station, char function, int address, int word)
{
    QByteArray f;
    f.append(char(station));
    f.append(function);
    f.append(char((address >> 8) & 0xFF));
    f.append(char(address & 0xFF));
    f.append(char((word >> 8) & 0xFF));
    f.append(char(word & 0xFF));
    return f;
}

} // namespace

QByteArray stationField(const char stationHex[2])
{
    return QByteArray(stationHex, 2);
}

QByteArray rtuReadParameter(quint8 station, int parameter)
{
    return rtuReadRegisters(station, parameter, 1);
}

QByteArray rtuWriteParameter(quint8 station, int parameter, int value)
{
    return rtuRequest(station, 0x06, parameter, value);
}

QByteArray rtuReadRegisters(quint8 station, int first, int count)
{
    return rtuRequest(station, 0x03, first, count & 0xFF);
}

QByteArray rtuCommand(quint8 station, const QByteArray &entry)
{
    return QByteArray(1, char(station)) + entry.mid(4, 5);
}

QByteArray ascReadParameter(const QByteArray &station, int parameter)
{
    return ':' + station + "03" + hex4(parameter) + "0001";
}

QByteArray ascWriteParameter(const QByteArray &station, int parameter, int value)
{
    return ':' + station + "06" + hex4(parameter) + hex4(value);
}

QByteArray ascReadRegisters(const QByteArray &station, int first, int count)
{
    return ':' + station + "03" + hex4(first) + "000" + QByteArray::number(count % 10);
}

QByteArray ascCommand(const QByteArray &station, const QByteArray &entry)
{
    return ':' + station + entry.mid(4);
}

QByteArray zrReadParameter(const QByteArray &station, int index)
{
    return ENQ + station + hexByte(quint8(index)) + '0';
}

QByteArray zrWriteParameter(const QByteArray &station, int index, int value)
{
    return ENQ + station + hexByte(quint8(index + 0x80)) + '0' + hex4(value);
}

QByteArray zrSelectPage(const QByteArray &station, int page)
{
    return ENQ + station + "FF0" + "000" + hexByte(quint8(page)).right(1);
}

QByteArray zrReadPage(const QByteArray &station)
{
    return ENQ + station + "7F0";
}

QByteArray zrTypeCode(const QByteArray &station)
{
    return ENQ + station + "6A0" + "07\r";
}

QByteArray zrCommand(const QByteArray &station, const QByteArray &entry)
{
    return ENQ + station + entry.mid(4);
}

int zrDataReplyLength(int crLfMode)
{
    return crLfMode == 1 ? 12 : 13;
}

int zrPositiveReplyLength(int crLfMode)
{
    return crLfMode == 1 ? 4 : 5;
}

int zrRefusalLength(int crLfMode)
{
    return crLfMode == 1 ? 5 : 6;
}

namespace {

bool endsWith(const char *reply, int length, const QByteArray &tail)
{
    return length >= tail.size() && std::memcmp(reply + length - tail.size(), tail.constData(), tail.size()) == 0;
}

bool sameHex(quint8 value, const char *digits)
{
    const QByteArray expected = hexByte(value);
    return digits[0] == expected[0] && digits[1] == expected[1];
}

} // namespace

int checkTextReply(int protocol, const char *reply, int count, int crLfMode, quint8 function, bool *replyError)
{
    // The port reports a reply it had to discard as -1: that try brought nothing.
    if (count < 0)
        count = 0;
    if (protocol == 0 && reply[0] != ACK && reply[0] != STX) {
        *replyError = true;
        return count;
    }
    if (count == 0) {
        *replyError = true;
        return 0;
    }
    *replyError = false;
    const int m = int(strnlen(reply, size_t(count)));
    if (protocol != 0) {
        // ':', station, function, LRC, CR LF is the shortest frame.
        if (m < 9 || !endsWith(reply, m, "\r\n") || !sameHex(lrc(reply + 1, m - 5), reply + m - 4)) {
            *replyError = true;
            return 0;
        }
        const bool exception = sameHex(quint8(function | 0x80), reply + 3);
        if (!exception && !sameHex(function, reply + 3)) {
            *replyError = true;
            return 0;
        }
        *replyError = exception;
        return count;
    }
    const QByteArray terminator = replyTerminator(crLfMode);
    // ACK or NAK, station and terminator is the shortest frame.
    if (m < 3 + terminator.size() || !endsWith(reply, m, terminator)) {
        *replyError = true;
        return 0;
    }
    const int k = m - 3 - terminator.size();
    if (k < 1)
        return count;
    // The character between the data and the sum is neither summed nor checked.
    if (!sameHex(sumCheck(reply + 1, k - 1), reply + k + 1)) {
        *replyError = true;
        return 0;
    }
    return count;
}

int checkBinaryReply(const char *reply, int count, int expected, quint8 function, bool *replyError)
{
    *replyError = true;
    if (count <= 0)
        return 0;
    const quint8 replied = quint8(reply[1]);
    int length = expected;
    if (replied == quint8(function | 0x80))
        length = 5; // station, function, exception code, CRC
    else if (replied != function)
        return 0;
    if (length >= 3) {
        const quint16 crc = crc16(reply, length - 2);
        if (quint8(reply[length - 2]) != (crc & 0xFF) || quint8(reply[length - 1]) != (crc >> 8))
            return 0;
    }
    *replyError = replied != function;
    return count;
}

bool replyAnswers(int protocol, const QByteArray &request, const char *reply, int count, int expected)
{
    constexpr quint8 ReadRegisters = 0x03;
    if (protocol == 1) {
        if (count < 5 || request.size() < 6 || reply[0] != request.at(0))
            return false;
        return quint8(reply[1]) != ReadRegisters || quint8(request.at(1)) != ReadRegisters
            || quint8(reply[2]) == 2 * quint8(request.at(5));
    }
    if (protocol == 2) {
        // ':', station, function, then for a read the byte count; the request's count ends at 12.
        if (count < 7 || request.size() < 13 || reply[1] != request.at(1) || reply[2] != request.at(2))
            return false;
        const bool read = hexValue(reply + 3, 2) == ReadRegisters && hexValue(request.constData() + 3, 2) == ReadRegisters;
        return !read || hexValue(reply + 5, 2) == 2 * hexValue(request.constData() + 9, 4);
    }
    if (count < 3 || request.size() < 3 || reply[1] != request.at(1) || reply[2] != request.at(2))
        return false;
    const bool dataAsked = expected > zrRefusalLength(2);
    if (reply[0] == STX)
        return dataAsked;
    if (reply[0] == ACK)
        return !dataAsked;
    return true; // a refusal answers whatever was asked
}

quint8 requestFunction(const QByteArray &request, bool binary)
{
    if (binary)
        return request.size() > 1 ? quint8(request.at(1)) : 0;
    return request.size() > 4 ? quint8(hexValue(request.constData() + 3, 2)) : 0;
}

} // namespace frames

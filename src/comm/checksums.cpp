#include "comm/checksums.h"

#include <array>

namespace {

// The standard's two tables: high and low byte of the CRC for every index.
struct CrcTables {
    std::array<quint8, 256> hi;
    std::array<quint8, 256> lo;
};

constexpr CrcTables makeCrcTables()
{
    CrcTables t {};
    for (int i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
        t.lo[i] = quint8(crc & 0xFF);
        t.hi[i] = quint8(crc >> 8);
    }
    return t;
}

constexpr CrcTables kCrcTables = makeCrcTables();

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

} // namespace

quint16 crc16(const char *data, int length)
{
    quint8 lo = 0xFF;
    quint8 hi = 0xFF;
    for (int i = 0; i < length; ++i) {
        const quint8 index = lo ^ quint8(data[i]);
        lo = hi ^ kCrcTables.lo[index];
        hi = kCrcTables.hi[index];
    }
    return quint16((hi << 8) | lo);
}

quint8 lrc(const char *hexDigits, int length)
{
    quint8 sum = 0;
    for (int i = 0; i + 1 < length; i += 2)
        sum = quint8(sum + hexDigitValue(hexDigits[i]) * 16 + hexDigitValue(hexDigits[i + 1]));
    return quint8(-sum);
}

quint8 sumCheck(const char *data, int length)
{
    quint8 sum = 0;
    for (int i = 0; i < length; ++i)
        sum = quint8(sum + quint8(data[i]));
    return sum;
}

QByteArray hexByte(quint8 value)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray out(2, '0');
    out[0] = digits[value >> 4];
    out[1] = digits[value & 0x0F];
    return out;
}

void appendCrc16(QByteArray &frame)
{
    const quint16 crc = crc16(frame.constData(), frame.size());
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
}

void appendLrc(QByteArray &frame)
{
    frame += hexByte(lrc(frame.constData() + 1, frame.size() - 1));
    frame += "\r\n";
}

void appendSumCheck(QByteArray &frame, int crLfMode)
{
    frame += hexByte(sumCheck(frame.constData() + 1, frame.size() - 1));
    frame += requestTerminator(crLfMode);
}

QByteArray requestTerminator(int crLfMode)
{
    switch (crLfMode) {
    case 1:
        return QByteArrayLiteral("\r");
    case 2:
        return QByteArrayLiteral("\r\n");
    default:
        return QByteArray();
    }
}

QByteArray replyTerminator(int crLfMode)
{
    return crLfMode == 1 ? QByteArrayLiteral("\r") : QByteArrayLiteral("\r\n");
}

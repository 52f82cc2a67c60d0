#pragma once

// The three check sums of the link, as plain functions over bytes so they can be checked
// without a port.

#include <QByteArray>

// Modbus serial-line CRC-16 (start FFFFh, reflected polynomial A001h).
quint16 crc16(const char *data, int length);

// Modbus ASCII LRC: the two's complement of the 8-bit sum of the bytes that the hexadecimal
// digit pairs in `hexDigits` spell.
quint8 lrc(const char *hexDigits, int length);

// Character-protocol sum check: the low byte of the sum of the characters.
quint8 sumCheck(const char *data, int length);

// Two upper-case hexadecimal digits of a byte.
QByteArray hexByte(quint8 value);

// Appends the low CRC byte first, then the high one.
void appendCrc16(QByteArray &frame);

// Appends the LRC of everything after the leading ':' and CR LF.
void appendLrc(QByteArray &frame);

// Appends the sum check of everything after the leading control character and the terminator
// for `crLfMode` (0 none, 1 CR, 2 CR LF).
void appendSumCheck(QByteArray &frame, int crLfMode);

// The terminator of a character-protocol request for `crLfMode`, and of the drive's reply, which
// carries CR LF also when requests carry none.
QByteArray requestTerminator(int crLfMode);
QByteArray replyTerminator(int crLfMode);

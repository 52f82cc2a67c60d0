#pragma once

// Request frames of the three protocols and the checks the receivers make on replies.
// Requests are returned without their check sum: the transactions complete them.

#include <QByteArray>

namespace frames {

constexpr char ENQ = 0x05;
constexpr char STX = 0x02;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

constexpr int FirstInvalidParameter = 1600;
constexpr int MaxRegisterCount = 9; // one decimal digit in the ASCII request

// Four upper-case hexadecimal digits of the low 16 bits of `value`.
QByteArray hex4(int value);

// Modbus RTU
QByteArray rtuReadParameter(quint8 station, int parameter);
QByteArray rtuWriteParameter(quint8 station, int parameter, int value);
QByteArray rtuReadRegisters(quint8 station, int first, int count);
QByteArray rtuCommand(quint8 station, const QByteArray &entry);
constexpr int RtuReadReplyLength = 7;
constexpr int RtuWriteReplyLength = 8;
constexpr int rtuRegistersReplyLength(int count) { return 2 * count + 5; }

// Modbus ASCII
QByteArray ascReadParameter(const QByteArray &station, int parameter);
QByteArray ascWriteParameter(const QByteArray &station, int parameter, int value);
QByteArray ascReadRegisters(const QByteArray &station, int first, int count);
QByteArray ascCommand(const QByteArray &station, const QByteArray &entry);
constexpr int AscReadReplyLength = 15;
constexpr int AscWriteReplyLength = 17;
constexpr int ascRegistersReplyLength(int count) { return 4 * count + 11; }

// Character protocol
QByteArray zrReadParameter(const QByteArray &station, int index);
QByteArray zrWriteParameter(const QByteArray &station, int index, int value);
QByteArray zrSelectPage(const QByteArray &station, int page);
QByteArray zrReadPage(const QByteArray &station);
QByteArray zrTypeCode(const QByteArray &station);
QByteArray zrCommand(const QByteArray &station, const QByteArray &entry);
int zrDataReplyLength(int crLfMode);
int zrPositiveReplyLength(int crLfMode);
int zrRefusalLength(int crLfMode);

// The station field of the text protocols from the two characters of g_stationHex.
QByteArray stationField(const char stationHex[2]);

// The receivers' checks on a reply of `count` bytes in a zero-filled buffer. The result is what
// the receiver returns: `count` for a reply to hand on (a refusal or exception included), 0 for
// a try that brought nothing usable. `replyError` tells whether the reply was refused or failed.
// A Modbus reply is usable only when it carries the request's `function` or its exception and
// passes its check: anything else is a line fault, not an answer.
int checkTextReply(int protocol, const char *reply, int count, int crLfMode, quint8 function, bool *replyError);
int checkBinaryReply(const char *reply, int count, int expected, quint8 function, bool *replyError);

// Whether a reply that passed the receiver's checks answers `request` (as sent, or without its
// check): the station, and for a Modbus register read its byte count; for the character protocol
// the reply's kind (data for a read of `expected` data length, a bare acknowledgement otherwise).
// A drive answers every request it heard, so a late reply to an earlier one must not pass.
bool replyAnswers(int protocol, const QByteArray &request, const char *reply, int count, int expected);

// The function code of a Modbus request without its check (RTU bytes, or ASCII from ':').
quint8 requestFunction(const QByteArray &request, bool binary);

// The parts of a reply the decoders use; non-hexadecimal digits count as 0.
int hexValue(const char *digits, int length);

} // namespace frames

#include "wire.h"

namespace wire {

quint16 crc16(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

quint8 lrc(const QByteArray &bytes)
{
    quint8 total = 0;
    for (char c : bytes)
        total = quint8(total + quint8(c));
    return quint8(-total);
}

quint8 sum(const QByteArray &chars)
{
    quint8 total = 0;
    for (char c : chars)
        total = quint8(total + quint8(c));
    return total;
}

QByteArray hex2(int value) { return QByteArray::number(value & 0xFF, 16).toUpper().rightJustified(2, '0'); }
QByteArray hex4(int value) { return QByteArray::number(value & 0xFFFF, 16).toUpper().rightJustified(4, '0'); }

} // namespace wire

namespace {
const char ENQ = 0x05, STX = 0x02, ETX = 0x03, ACK = 0x06, NAK = 0x15;

int modbusException(const Outcome &o)
{
    return o.status == Outcome::UnknownAddress || o.status == Outcome::ReadOnly ? 2 : 3;
}

char tavironError(const Outcome &o)
{
    switch (o.status) {
    case Outcome::UnknownAddress:
        return 'B';
    case Outcome::WrongMode:
        return 'A';
    default:
        return 'C';
    }
}

bool isHex(const QByteArray &text)
{
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}
} // namespace

bool Wire::complete(const QByteArray &b) const
{
    switch (m_s->protocol) {
    case Protocol::Ascii:
        return b.startsWith(':') && b.endsWith("\r\n");
    case Protocol::Rtu:
        return b.size() == 8 && (b.at(1) == 0x03 || b.at(1) == 0x06);
    case Protocol::Taviron:
        return false; // the type-code request carries a CR inside: only the idle gap ends a request
    }
    return false;
}

int Wire::firstRequestLength(const QByteArray &b) const
{
    int end = -1;
    switch (m_s->protocol) {
    case Protocol::Ascii:
        end = b.startsWith(':') ? b.indexOf("\r\n") : -1;
        return end < 0 ? 0 : end + 2;
    case Protocol::Rtu:
        return complete(b.left(8)) ? 8 : 0;
    case Protocol::Taviron:
        // No request holds an ENQ but at its start, so a CR before one ends the request.
        end = b.indexOf("\r\x05");
        return end < 0 ? 0 : end + 1;
    }
    return 0;
}

Reply Wire::handle(const QByteArray &frame)
{
    switch (m_s->protocol) {
    case Protocol::Rtu:
        return handleRtu(frame);
    case Protocol::Ascii:
        return handleAscii(frame);
    case Protocol::Taviron:
        return handleTaviron(frame);
    }
    return Reply();
}

QByteArray Wire::modbus(const QByteArray &adu, QString *note)
{
    const int station = quint8(adu.at(0));
    const int function = quint8(adu.at(1));
    const bool broadcast = station == 0;
    if (!broadcast && station != m_s->station) {
        *note = QStringLiteral("other station %1").arg(station);
        return QByteArray();
    }
    auto exception = [&](int code) {
        *note = QStringLiteral("exception %1").arg(code, 2, 10, QLatin1Char('0'));
        if (broadcast)
            return QByteArray();
        QByteArray r;
        r.append(char(station)).append(char(function | 0x80)).append(char(code));
        return r;
    };
    auto failure = [&](const Outcome &o) {
        if (o.status != Outcome::Lost)
            return exception(modbusException(o));
        *note = QStringLiteral("lost");
        return QByteArray();
    };
    if (function != 0x03 && function != 0x06)
        return exception(1);
    if (adu.size() != 6) {
        *note = QStringLiteral("malformed request");
        return QByteArray();
    }
    const int address = quint8(adu.at(2)) << 8 | quint8(adu.at(3));
    const int word = quint8(adu.at(4)) << 8 | quint8(adu.at(5));
    if (function == 0x03) {
        if (broadcast) {
            *note = QStringLiteral("read by broadcast");
            return QByteArray();
        }
        if (word < 1 || word > 9)
            return exception(3);
        QByteArray r;
        r.append(char(station)).append(char(0x03)).append(char(word * 2));
        for (int i = 0; i < word; ++i) {
            const Outcome o = m_drive->readRegister(address + i);
            if (!o.ok())
                return failure(o);
            r.append(char(o.value >> 8)).append(char(o.value & 0xFF));
        }
        *note = QStringLiteral("read %1 register(s) at %2h").arg(word).arg(QString::fromLatin1(wire::hex4(address)));
        return r;
    }
    const Outcome o = m_drive->writeRegister(address, quint16(word));
    if (!o.ok())
        return failure(o);
    *note = QStringLiteral("wrote %1h at %2h").arg(QString::fromLatin1(wire::hex4(word)), QString::fromLatin1(wire::hex4(address)));
    if (broadcast)
        return QByteArray();
    return adu;
}

Reply Wire::handleRtu(const QByteArray &frame)
{
    Reply r;
    if (frame.size() < 4) {
        r.note = QStringLiteral("runt frame");
        return r;
    }
    const QByteArray adu = frame.left(frame.size() - 2);
    const quint16 crc = wire::crc16(adu);
    if (quint8(frame.at(frame.size() - 2)) != (crc & 0xFF) || quint8(frame.at(frame.size() - 1)) != crc >> 8) {
        r.note = QStringLiteral("bad CRC");
        return r;
    }
    QByteArray out = modbus(adu, &r.note);
    if (out.isEmpty())
        return r;
    const quint16 c = wire::crc16(out);
    out.append(char(c & 0xFF)).append(char(c >> 8));
    r.silent = false;
    r.bytes = out;
    r.restart = m_drive->takeRestart();
    return r;
}

Reply Wire::handleAscii(const QByteArray &frame)
{
    Reply r;
    if (!frame.startsWith(':') || !frame.endsWith("\r\n")) {
        r.note = QStringLiteral("not a Modbus ASCII frame");
        return r;
    }
    const QByteArray digits = frame.mid(1, frame.size() - 3);
    if (digits.size() < 6 || digits.size() % 2 != 0 || !isHex(digits)) {
        r.note = QStringLiteral("malformed ASCII frame");
        return r;
    }
    const QByteArray bytes = QByteArray::fromHex(digits);
    const QByteArray adu = bytes.left(bytes.size() - 1);
    if (wire::lrc(adu) != quint8(bytes.back())) {
        r.note = QStringLiteral("bad LRC");
        return r;
    }
    const QByteArray out = modbus(adu, &r.note);
    if (out.isEmpty())
        return r;
    r.silent = false;
    r.bytes = ':' + (out.toHex().toUpper() + wire::hex2(wire::lrc(out))) + "\r\n";
    r.restart = m_drive->takeRestart();
    return r;
}

QByteArray Wire::terminator() const
{
    if (m_s->terminator == QLatin1String("cr"))
        return "\r";
    if (m_s->terminator == QLatin1String("crlf"))
        return "\r\n";
    return QByteArray();
}

QByteArray Wire::replyTerminator() const
{
    // With no terminator on requests the drive still ends its replies with CR LF.
    return m_s->terminator == QLatin1String("cr") ? QByteArray("\r") : QByteArray("\r\n");
}

Reply Wire::handleTaviron(const QByteArray &frame)
{
    Reply r;
    if (!frame.startsWith(ENQ)) {
        r.note = QStringLiteral("no ENQ");
        return r;
    }
    const QByteArray term = terminator();
    QByteArray body = frame.mid(1);
    if (!body.endsWith(term) || (term.isEmpty() && (body.endsWith('\r') || body.endsWith('\n')))
        || (term == "\r" && body.endsWith("\n"))) {
        r.note = QStringLiteral("terminator differs");
        return r;
    }
    body.chop(term.size());
    if (term == "\r" && body.endsWith('\r')) {
        r.note = QStringLiteral("terminator differs");
        return r;
    }
    if (body.size() < 7) {
        r.note = QStringLiteral("runt frame");
        return r;
    }
    const QByteArray station = wire::hex2(m_s->station);
    if (body.left(2) != station) {
        r.note = QStringLiteral("other station %1").arg(QString::fromLatin1(body.left(2)));
        return r;
    }
    r.silent = false;
    const QByteArray term2 = replyTerminator();
    auto nak = [&](char code) {
        r.note = QStringLiteral("NAK %1").arg(QChar(code));
        r.bytes = QByteArray(1, NAK) + station + code + term2;
        return r;
    };
    auto failure = [&](const Outcome &o) {
        if (o.status != Outcome::Lost)
            return nak(tavironError(o));
        r.silent = true;
        r.note = QStringLiteral("lost");
        return r;
    };
    auto ack = [&](const QString &what) {
        r.note = what;
        r.bytes = QByteArray(1, ACK) + station + term2;
        return r;
    };
    auto data = [&](int value, int decimals, const QString &what) {
        r.note = what;
        const QByteArray summed = station + wire::hex4(value) + QByteArray::number(decimals % 10);
        r.bytes = QByteArray(1, STX) + summed + ETX + wire::hex2(wire::sum(summed)) + term2;
        return r;
    };
    const QByteArray check = body.right(2);
    const QByteArray summed = body.left(body.size() - 2);
    if (check != wire::hex2(wire::sum(summed)))
        return nak('2');
    const QByteArray instruction = summed.mid(2, 2);
    const QByteArray payload = summed.mid(5);
    if (!isHex(instruction))
        return nak('B');
    const int code = instruction.toInt(nullptr, 16);

    if (instruction == "FF") {
        if (payload.size() != 4 || !isHex(payload))
            return nak('3');
        const int page = payload.toInt(nullptr, 16);
        if (page > 15 || m_s->refuses(Refusal::Page, page, true))
            return nak('C');
        m_drive->setPage(page);
        return ack(QStringLiteral("page %1 selected").arg(page));
    }
    if (instruction == "7F") {
        if (!payload.isEmpty())
            return nak('3');
        return data(m_drive->page(), 0, QStringLiteral("page read back"));
    }
    if (instruction == "6A") {
        if (payload != "07\r")
            return nak('3');
        if (m_drive->typeCode() < 0)
            return nak('B');
        return data(m_drive->typeCode(), 0, QStringLiteral("type code"));
    }
    if (code <= 0x63 || (code >= 0x80 && code <= 0xE3)) {
        const bool write = code >= 0x80;
        const int number = m_drive->page() * 100 + (write ? code - 0x80 : code);
        if (write) {
            if (payload.size() != 4 || !isHex(payload))
                return nak('3');
            const Outcome o = m_drive->writeParam(number, quint16(payload.toInt(nullptr, 16)));
            if (!o.ok())
                return failure(o);
            return ack(QStringLiteral("wrote P.%1").arg(number));
        }
        if (!payload.isEmpty())
            return nak('3');
        const Outcome o = m_drive->readParam(number);
        if (!o.ok())
            return failure(o);
        return data(o.value, o.decimals, QStringLiteral("read P.%1").arg(number));
    }
    bool known = false;
    const CommandEntry *entry = m_table->match(instruction, payload, &known);
    if (!entry)
        return nak(known ? '3' : 'B');
    const Outcome o = m_drive->command(entry->code, quint16(payload.toInt(nullptr, 16)));
    if (!o.ok())
        return failure(o);
    r.restart = m_drive->takeRestart();
    if (entry->data.isEmpty())
        return data(o.value, o.decimals, entry->code);
    return ack(entry->code);
}

bool Wire::spoilCheck(QByteArray *reply) const
{
    QByteArray &b = *reply;
    switch (m_s->protocol) {
    case Protocol::Rtu:
        if (b.size() < 3)
            return false;
        b[b.size() - 1] = char(b.at(b.size() - 1) ^ 0x5A);
        return true;
    case Protocol::Ascii: {
        if (b.size() < 5)
            return false;
        const int at = b.size() - 4;
        const int lrc = b.mid(at, 2).toInt(nullptr, 16);
        b.replace(at, 2, wire::hex2(lrc + 1));
        return true;
    }
    case Protocol::Taviron: {
        if (b.isEmpty() || b.at(0) != STX || b.size() < 11)
            return false; // ACK and NAK carry no sum check
        const int sumAt = 9;
        b.replace(sumAt, 2, wire::hex2(b.mid(sumAt, 2).toInt(nullptr, 16) + 1));
        return true;
    }
    }
    return false;
}

#pragma once

// Frames as the drive sees them: checks a request of its protocol and builds the reply, with the drive's
// own CRC-16, LRC and sum check.
#include "drive.h"

#include <QByteArray>
#include <QString>

struct Reply {
    bool silent = true;
    QString note;     // why the drive stays silent, or what the reply is
    QByteArray bytes;
    bool restart = false;
};

namespace wire {
quint16 crc16(const QByteArray &bytes);
quint8 lrc(const QByteArray &bytes);
quint8 sum(const QByteArray &chars);
QByteArray hex2(int value);
QByteArray hex4(int value);
}

class Wire
{
public:
    Wire(const Scenario *scenario, Drive *drive, const CommandTable *table)
        : m_s(scenario), m_drive(drive), m_table(table)
    {
    }

    // True when the bytes gathered so far already form a whole request by the protocol's own delimiters.
    bool complete(const QByteArray &buffer) const;
    // The length of the whole request at the buffer's start when another follows it, else 0.
    int firstRequestLength(const QByteArray &buffer) const;
    Reply handle(const QByteArray &frame);
    // The same reply with its CRC, LRC or sum spoiled; false when the reply carries no check.
    bool spoilCheck(QByteArray *reply) const;

private:
    Reply handleRtu(const QByteArray &frame);
    Reply handleAscii(const QByteArray &frame);
    Reply handleTaviron(const QByteArray &frame);
    // Modbus application data unit without its check: station, function, data. Empty result: no reply.
    QByteArray modbus(const QByteArray &adu, QString *note);
    QByteArray terminator() const;
    QByteArray replyTerminator() const;

    const Scenario *m_s;
    Drive *m_drive;
    const CommandTable *m_table;
};

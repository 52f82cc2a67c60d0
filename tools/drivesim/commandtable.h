#pragma once

// The drive's view of FNC.txt: which frame body means which command code, for one protocol.
#include "scenario.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct CommandEntry {
    QString code;
    // Modbus: function 03 reads one register, 06 writes one; value is the written word (or the count).
    int function = 0;
    int address = 0;
    int value = 0;
    // Character protocol: instruction code, wait digit and data exactly as the table writes them.
    QByteArray instruction;
    QByteArray data;
};

class CommandTable
{
public:
    bool load(const QString &path, Protocol protocol, QString *error);
    int size() const { return m_entries.size(); }

    // Modbus: the code of a one-register read at the address, or an empty text.
    QString readCode(int address) const;
    // Modbus: the code of a write of value to the address; *addressKnown tells a wrong value from a wrong address.
    QString writeCode(int address, int value, bool *addressKnown) const;
    // Character protocol: the entry whose instruction and data match; the data of "FRE" is free.
    const CommandEntry *match(const QByteArray &instruction, const QByteArray &data, bool *instructionKnown) const;

private:
    QVector<CommandEntry> m_entries;
};

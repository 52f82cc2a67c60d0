#pragma once

// The command table FNC.txt: one line per command code and protocol.
// An entry is: protocol index byte, three code characters, then the frame body.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

enum class CommandKind { ModeRead, WordRead, MonitorRead, MonitorWrite, Plain };

CommandKind commandKind(const char *code);

// The entries of `protocol` in file order. Lines too short to make a frame of their kind are
// dropped, so a broken line cannot send a truncated frame.
QVector<QByteArray> parseCommandTable(const QStringList &lines, int protocol);

QString commandTablePath();

// Reads the file's lines; on failure returns false and the file's error text.
bool readCommandTableLines(const QString &path, QStringList *lines, QString *error);

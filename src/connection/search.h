#pragma once

// The automatic search's list of link settings and the protocol objects it installs.

#include <QString>

class ReadWrite;

struct LinkSettings {
    int protocol = 0;  // 0 character protocol, 1 Modbus RTU, 2 Modbus ASCII
    int baudIndex = 1; // 0 4800, 1 9600, 2 19200, 3 38400, 4 57600, 5 115200
    int dataIndex = 1; // 0 seven, 1 eight
    int parityIndex = 0;
    int stopIndex = 0; // 0 one, else two
    int crLfIndex = 1; // 0 none, 1 CR, 2 CR LF
    QString delayText;
};

constexpr int LastSearchStep = 186;

// Settings of search step 0..186. Step 0 is the dialog's own settings with the Modbus frames forced.
LinkSettings searchStepSettings(int step, const LinkSettings &dialog);

// A new protocol object of the class for the protocol index (0 character protocol, 1 Modbus RTU,
// 2 Modbus ASCII), set to that index.
ReadWrite *createProtocolObject(int protocol);

// Makes a protocol object of the class for the protocol index g_readWrite. The object it replaces
// is never deleted: a poller may have taken the pointer just before and still be inside it. The
// search reuses one object per class, so a search of 187 steps adds at most three.
ReadWrite *installSearchProtocol(int protocol);

// Starts a search with new objects, so that each reads the command table on disk.
void startSearchObjects();

// Installs a new object of the class for the protocol index (as the set-up does when accepted),
// keeping the replaced one alive for the same reason.
ReadWrite *installNewProtocol(int protocol);

// Makes `object` g_readWrite, keeping the replaced one alive for the same reason.
void installProtocol(ReadWrite *object);

// Applies the line settings of a step to g_serialPort.
void applyPortSettings(const LinkSettings &settings);

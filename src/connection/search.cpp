#include "connection/search.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/readwriteasc.h"
#include "comm/readwritertu.h"
#include "comm/readwritezr.h"
#include "comm/win_qextserialport.h"

#include <QVector>
#include <mutex>

namespace {

// The search tries the common rates first; 4800 comes fourth.
const int SearchBaudOrder[] = { 1, 2, 3, 0, 4, 5 };

std::mutex retiredMutex;
QVector<ReadWrite *> retiredObjects;
ReadWrite *searchObjects[3] = {};

} // namespace

void installProtocol(ReadWrite *object)
{
    std::lock_guard<std::mutex> lock(retiredMutex);
    ReadWrite *old = g_readWrite;
    g_readWrite = object;
    if (old && old != object && !retiredObjects.contains(old))
        retiredObjects.append(old);
}

ReadWrite *createProtocolObject(int protocol)
{
    ReadWrite *object = nullptr;
    switch (protocol) {
    case 1:
        object = new ReadWriteRTU(nullptr);
        break;
    case 2:
        object = new ReadWriteASC(nullptr);
        break;
    default:
        object = new ReadWriteZR(nullptr);
        break;
    }
    object->SetProtocol(protocol);
    return object;
}

LinkSettings searchStepSettings(int step, const LinkSettings &dialog)
{
    LinkSettings s;
    if (step <= 0) {
        s = dialog;
        if (s.protocol == 1) {
            s.dataIndex = 1;
            s.crLfIndex = 0;
        } else if (s.protocol == 2) {
            s.dataIndex = 0;
            s.crLfIndex = 2;
        }
        return s;
    }
    const int i = step - 1;
    if (i < 144) {
        s.protocol = 0;
        s.baudIndex = SearchBaudOrder[i / 24];
        s.dataIndex = i % 24 < 12 ? 1 : 0;
        s.parityIndex = (i % 12) / 4;
        s.stopIndex = i % 4 < 2 ? 0 : 1;
        s.crLfIndex = i % 2 == 0 ? 1 : 2;
    } else if (i < 162) {
        const int j = i - 144;
        s.protocol = 2;
        s.baudIndex = SearchBaudOrder[j / 3];
        s.dataIndex = 0;
        s.parityIndex = j % 3;
        s.stopIndex = s.parityIndex == 0 ? 1 : 0;
        s.crLfIndex = 2;
    } else {
        const int j = qMin(i - 162, 23);
        s.protocol = 1;
        s.baudIndex = SearchBaudOrder[j / 4];
        s.dataIndex = 1;
        s.parityIndex = j % 4 == 3 ? 0 : j % 4;
        s.stopIndex = j % 4 == 0 ? 1 : 0;
        s.crLfIndex = 0;
    }
    return s;
}

ReadWrite *installSearchProtocol(int protocol)
{
    const int slot = protocol == 1 || protocol == 2 ? protocol : 0;
    if (!searchObjects[slot])
        searchObjects[slot] = createProtocolObject(slot);
    installProtocol(searchObjects[slot]);
    return searchObjects[slot];
}

void startSearchObjects()
{
    // A search reads the command table of its day: one missing at the last search or replaced by
    // an update since is read again. The old objects stay alive, a poller may still hold one.
    std::lock_guard<std::mutex> lock(retiredMutex);
    for (ReadWrite *&object : searchObjects) {
        if (object && object != g_readWrite && !retiredObjects.contains(object))
            retiredObjects.append(object);
        object = nullptr;
    }
}

ReadWrite *installNewProtocol(int protocol)
{
    ReadWrite *object = createProtocolObject(protocol);
    installProtocol(object);
    return object;
}

void applyPortSettings(const LinkSettings &settings)
{
    static const BaudRateType rates[] = { BAUD4800, BAUD9600, BAUD19200, BAUD38400, BAUD57600, BAUD115200 };
    if (!g_serialPort)
        return;
    if (settings.baudIndex >= 0 && settings.baudIndex < 6)
        g_serialPort->setBaudRate(rates[settings.baudIndex]);
    g_serialPort->setDataBits(settings.protocol == 1 ? DATA_8
                                  : settings.protocol == 2 ? DATA_7
                                  : settings.dataIndex == 0 ? DATA_7 : DATA_8);
    g_serialPort->setStopBits(settings.stopIndex == 0 ? STOP_1 : STOP_2);
    g_serialPort->setParity(settings.parityIndex == 0 ? PAR_NONE : settings.parityIndex == 1 ? PAR_ODD : PAR_EVEN);
}

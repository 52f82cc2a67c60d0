#include "comm/readwritemodbus.h"

#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/typeinfo.h"

double ReadWriteModbus::readParameter(int parameter, double unit, ValueFlags flags)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return -1.0;
    const Reply reply = exchange(readRequest(parameter), readReplyLength());
    if (!reply.ok) {
        if (readFailureTold())
            GoOffline(reply);
        return -1.0;
    }
    const quint16 raw = quint16(readValue(reply));
    const bool wide = isFeatureEnabled(QStringLiteral("readWrite_99999"));
    double value = modbusValue(raw, unit, flags, wide);
    if (parameter == 188)
        value = p188Value(value);
    if (parameter == 77)
        value = p77Value(value, wide);
    return value;
}

bool ReadWriteModbus::WritePar(int parameter, int value)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return false;
    const Reply reply = exchange(writeRequest(parameter, value), writeReplyLength());
    return finishWrite(parameter, value, reply);
}

int ReadWriteModbus::ReadRegisters(int first, int count)
{
    quint32 value = 0;
    return ReadRegisterBlock(first, count, &value) ? int(value) : 0xFFFF;
}

bool ReadWriteModbus::ReadRegisterBlock(int first, int count, quint32 *value)
{
    if (count < 1 || count > frames::MaxRegisterCount)
        return false;
    const Reply reply = exchange(registersRequest(first, count), registersReplyLength(count));
    if (!reply.ok) {
        if (!g_connectionTest)
            GoOffline(reply);
        return false;
    }
    quint32 result = 0;
    for (int i = 0; i < count; ++i)
        result = (result << 8) + quint32(registerLowByte(reply, i));
    *value = result;
    return true;
}

int ReadWriteModbus::ReadTypeCode()
{
    const int code = ReadRegisters(0x1200, 1);
    return code == 0xFFFF ? -1 : code;
}

int ReadWriteModbus::commandReplyLength(CommandKind kind) const
{
    switch (kind) {
    case CommandKind::ModeRead:
    case CommandKind::WordRead:
    case CommandKind::MonitorRead:
        return readReplyLength();
    default:
        return writeReplyLength();
    }
}

ReadWrite::MonitorCheck ReadWriteModbus::monitorReading(const char *code, const Reply &reply, double *value,
                                                         bool *keep)
{
    if (!monitorFrameIntact(reply))
        return MonitorCheck::FailedUncounted;
    const int raw = readValue(reply);
    double factor = 0;
    // An item whose scale the drive gives no sense to has no value: that is no reading at all.
    *keep = false;
    if (!modbusMonitorScale(code[1], &factor))
        return MonitorCheck::FailedUncounted;
    *value = raw * factor;
    return MonitorCheck::Ok;
}

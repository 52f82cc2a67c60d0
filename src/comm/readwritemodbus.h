#pragma once

#include "comm/readwrite.h"

// What Modbus RTU and Modbus ASCII share: parameter P.n is holding register n, reads, writes and
// register blocks go the same way, and only the frames and where a reply holds its value differ.
class ReadWriteModbus : public ReadWrite {
public:
    using ReadWrite::ReadWrite;

    bool WritePar(int parameter, int value) override;
    int ReadTypeCode() override;
    int ReadRegisters(int first, int count) override;
    bool ReadRegisterBlock(int first, int count, quint32 *value) override;

protected:
    double readParameter(int parameter, double unit, ValueFlags flags) override;
    int commandReplyLength(CommandKind kind) const override;
    MonitorCheck monitorReading(const char *code, const Reply &reply, double *value, bool *keep) override;

    virtual QByteArray readRequest(int parameter) const = 0;
    virtual QByteArray writeRequest(int parameter, int value) const = 0;
    virtual QByteArray registersRequest(int first, int count) const = 0;
    virtual int readReplyLength() const = 0;
    virtual int writeReplyLength() const = 0;
    virtual int registersReplyLength(int count) const = 0;
    // The register a read reply carries; 0 for an exception reply.
    virtual int readValue(const Reply &reply) const = 0;
    // Register `index` of a block reply; only its low byte counts.
    virtual int registerLowByte(const Reply &reply, int index) const = 0;
    virtual double p188Value(double value) const = 0;
    // The monitor poll checks the frame itself, as its reply length is not checked.
    virtual bool monitorFrameIntact(const Reply &reply) const = 0;
};

#pragma once

#include "comm/readwritemodbus.h"

// Modbus RTU: binary frames with the CRC-16.
class ReadWriteRTU : public ReadWriteModbus {
    Q_OBJECT
public:
    explicit ReadWriteRTU(QWidget *parent = nullptr);

protected:
    int linkProtocol() const override { return 1; }
    int errorMessageIndex(const Reply &reply) const override;
    bool isRefusal(const Reply &reply) const override;
    void logWriteFailure(int parameter, int value) const override;

    Reply exchange(const QByteArray &request, int expected) override;
    QByteArray commandRequest(const QByteArray &entry) const override;
    void storeFrequency(QByteArray &entry, quint16 value) const override;
    int modeCharacter(const Reply &reply) const override;
    int wordValue(const Reply &reply) const override;
    QString commandErrorText(const Reply &reply) const override;

    QByteArray readRequest(int parameter) const override;
    QByteArray writeRequest(int parameter, int value) const override;
    QByteArray registersRequest(int first, int count) const override;
    int readReplyLength() const override;
    int writeReplyLength() const override;
    int registersReplyLength(int count) const override;
    int readValue(const Reply &reply) const override;
    int registerLowByte(const Reply &reply, int index) const override;
    double p188Value(double value) const override;
    bool monitorFrameIntact(const Reply &reply) const override;
};

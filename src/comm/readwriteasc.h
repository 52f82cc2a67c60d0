#pragma once

#include "comm/readwrite.h"

// Modbus ASCII: ':' frames of hexadecimal digits with the LRC and CR LF.
class ReadWriteASC : public ReadWrite {
    Q_OBJECT
public:
    explicit ReadWriteASC(QWidget *parent = nullptr);

    bool WritePar(int parameter, int value) override;
    int ReadTypeCode() override;
    int ReadRegisters(int first, int count) override;

protected:
    int linkProtocol() const override { return 2; }
    double readParameter(int parameter, double unit, ValueFlags flags) override;
    int errorMessageIndex(const Reply &reply) const override;
    bool isRefusal(const Reply &reply) const override;

    Reply exchange(const QByteArray &request, int expected) override;
    QByteArray commandRequest(const QByteArray &entry) const override;
    int commandReplyLength(CommandKind kind) const override;
    void storeFrequency(QByteArray &entry, quint16 value) const override;
    int modeCharacter(const Reply &reply) const override;
    int wordValue(const Reply &reply) const override;
    MonitorCheck monitorReading(const char *code, const Reply &reply, double *value, bool *keep) override;
    QString commandErrorText(const Reply &reply) const override;
    int restartWaitMs() const override;
};

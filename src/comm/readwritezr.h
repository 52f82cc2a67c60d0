#pragma once

#include "comm/readwrite.h"

#include <mutex>

// The maker's character protocol: ENQ frames with a sum check; parameters in pages of 100.
class ReadWriteZR : public ReadWrite {
    Q_OBJECT
public:
    explicit ReadWriteZR(QWidget *parent = nullptr);

    bool WritePar(int parameter, int value) override;
    int ReadTypeCode() override;
    bool SetPage(int page);

protected:
    int linkProtocol() const override { return 0; }
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
    void logCommandFailure(const char *code, CommandFailure failure, const Reply &reply) const override;

private:
    // Selects the page of `parameter` when needed; false (logged) when the drive refused it.
    bool selectPageFor(int parameter, bool always);

    // A page selection and the access that follows are two exchanges: a poller on another
    // thread must not select its own page in between.
    std::recursive_mutex m_pageMutex;
};

#pragma once

// The program's side of the link as the link tests set it up: a port opened with given line
// settings, and the caller-side flags every test starts from.

#include "comm/globals.h"
#include "comm/win_qextserialport.h"

#include <memory>

// The port opened without flow control; null when it does not open.
inline std::unique_ptr<Win_QextSerialPort> openTestPort(const QString &name, BaudRateType baud, DataBitsType data,
                                                        ParityType parity, StopBitsType stop)
{
    std::unique_ptr<Win_QextSerialPort> port(new Win_QextSerialPort());
    port->setPortName(name);
    port->setBaudRate(baud);
    port->setDataBits(data);
    port->setParity(parity);
    port->setStopBits(stop);
    port->setFlowControl(FLOW_OFF);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    return port;
}

// Link up; no connection test, batch or quiet read; no restart pending; no one-read flags; the
// character protocol's page unknown; no failed parameters.
inline void resetLinkFlags()
{
    g_offLine = false;
    g_connectionTest = false;
    g_batchTransfer = false;
    g_quietRead = false;
    g_restartWait = false;
    g_noValueFlag = false;
    g_signedFlag = false;
    g_replyError = false;
    g_zrPage = -1;
    g_failedParameters.clear();
}

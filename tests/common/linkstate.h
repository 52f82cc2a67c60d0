#pragma once

// The program's side of the link as the link tests set it up: a port opened with given line
// settings, and the caller-side flags every test starts from (resetLinkFlags).

#include "comm/globals.h"
#include "comm/linkflags.h"
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

// Station 1, CR terminator, no response delay, no series or firmware known, the link flags reset.
inline void resetStationOne()
{
    setStation(1);
    g_crLfMode = 1;
    g_responseDelayMs = 0;
    g_seriesLetter = '0';
    g_firmwareVersion.clear();
    resetLinkFlags();
}

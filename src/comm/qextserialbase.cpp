#include "comm/qextserialbase.h"

std::recursive_mutex *const QextSerialBase::mutex = new std::recursive_mutex;
ulong QextSerialBase::refCount = 0;

namespace
{
// Guards the count of port objects, which may be made and destroyed on any thread.
std::mutex &countGuard()
{
    static std::mutex guard;
    return guard;
}
} // namespace

int baudRateValue(BaudRateType baud)
{
    static const int rates[] = { 50, 75, 110, 134, 150, 200, 300, 600, 1200, 1800, 2400, 4800, 9600, 14400, 19200,
        38400, 56000, 57600, 76800, 115200, 128000, 256000 };
    return rates[baud];
}

QextSerialBase::QextSerialBase()
{
    QextSerialBase::construct();
}

QextSerialBase::QextSerialBase(const QString &name)
{
    QextSerialBase::construct();
    port = name;
}

QextSerialBase::~QextSerialBase()
{
    std::lock_guard<std::mutex> guard(countGuard());
    --refCount;
}

void QextSerialBase::construct()
{
    port = QStringLiteral("/dev/ttyS0");
    Settings.BaudRate = BAUD115200;
    Settings.DataBits = DATA_8;
    Settings.Parity = PAR_NONE;
    Settings.StopBits = STOP_1;
    Settings.FlowControl = FLOW_HARDWARE;
    Settings.Timeout_Sec = 0;
    Settings.Timeout_Millisec = 500;
    lastErr = E_NO_ERROR;
    setOpenMode(QIODevice::NotOpen);
    std::lock_guard<std::mutex> guard(countGuard());
    ++refCount;
}

void QextSerialBase::setPortName(const QString &name)
{
    port = name;
}

QString QextSerialBase::portName() const
{
    return port;
}

BaudRateType QextSerialBase::baudRate() const
{
    return Settings.BaudRate;
}

DataBitsType QextSerialBase::dataBits() const
{
    return Settings.DataBits;
}

ParityType QextSerialBase::parity() const
{
    return Settings.Parity;
}

StopBitsType QextSerialBase::stopBits() const
{
    return Settings.StopBits;
}

FlowType QextSerialBase::flowControl() const
{
    return Settings.FlowControl;
}

bool QextSerialBase::isSequential() const
{
    return true;
}

ulong QextSerialBase::lastError() const
{
    return lastErr;
}

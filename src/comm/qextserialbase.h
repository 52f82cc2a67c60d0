#pragma once

// The serial port's common part: name, settings, last error and the class-wide lock that
// every port object shares.

#include <QIODevice>
#include <QString>

#include <mutex>

enum BaudRateType {
    BAUD50,
    BAUD75,
    BAUD110,
    BAUD134,
    BAUD150,
    BAUD200,
    BAUD300,
    BAUD600,
    BAUD1200,
    BAUD1800,
    BAUD2400,
    BAUD4800,
    BAUD9600,
    BAUD14400,
    BAUD19200,
    BAUD38400,
    BAUD56000,
    BAUD57600,
    BAUD76800,
    BAUD115200,
    BAUD128000,
    BAUD256000
};

enum DataBitsType { DATA_5, DATA_6, DATA_7, DATA_8 };

enum ParityType { PAR_NONE, PAR_ODD, PAR_EVEN, PAR_MARK, PAR_SPACE };

enum StopBitsType { STOP_1, STOP_1_5, STOP_2 };

enum FlowType { FLOW_OFF, FLOW_HARDWARE, FLOW_XONXOFF };

struct PortSettings {
    BaudRateType BaudRate;
    DataBitsType DataBits;
    ParityType Parity;
    StopBitsType StopBits;
    FlowType FlowControl;
    long Timeout_Sec;
    long Timeout_Millisec;
};

// Last error codes.
enum {
    E_NO_ERROR = 0,
    E_INVALID_MODE = 1,
    E_BREAK_CONDITION = 6,
    E_FRAMING_ERROR = 7,
    E_IO_ERROR = 8,
    E_BUFFER_OVERRUN = 9,
    E_RECEIVE_OVERFLOW = 10,
    E_RECEIVE_PARITY_ERROR = 11,
    E_TRANSMIT_OVERFLOW = 12,
    E_READ_FAILED = 13,
    E_WRITE_FAILED = 14
};

// Modem line bits of lineStatus().
enum { LS_CTS = 0x01, LS_DSR = 0x02, LS_DCD = 0x04, LS_RI = 0x08 };

// Rate in bits per second of a baud enumeration value (134.5 baud gives 134).
int baudRateValue(BaudRateType baud);

class QextSerialBase : public QIODevice
{
public:
    QextSerialBase();
    explicit QextSerialBase(const QString &name);
    ~QextSerialBase() override;

    virtual void construct();
    virtual void setPortName(const QString &name);
    virtual QString portName() const;

    virtual void setBaudRate(BaudRateType) = 0;
    virtual BaudRateType baudRate() const;
    virtual void setDataBits(DataBitsType) = 0;
    virtual DataBitsType dataBits() const;
    virtual void setParity(ParityType) = 0;
    virtual ParityType parity() const;
    virtual void setStopBits(StopBitsType) = 0;
    virtual StopBitsType stopBits() const;
    virtual void setFlowControl(FlowType) = 0;
    virtual FlowType flowControl() const;
    virtual void setTimeout(long seconds, long milliseconds) = 0;

    bool open(OpenMode mode) override = 0;
    bool isSequential() const override;
    void close() override = 0;
    virtual void flush() = 0;

    qint64 size() const override = 0;
    qint64 bytesAvailable() const override = 0;

    virtual void ungetChar(char c) = 0;
    using QIODevice::readLine;
    virtual qint64 readLine(char *data, qint64 maxSize) = 0;

    virtual void translateError(ulong error) = 0;
    virtual void setDtr(bool set = true) = 0;
    virtual void setRts(bool set = true) = 0;
    virtual ulong lineStatus() = 0;
    virtual ulong lastError() const;

    virtual qint64 readData2(char *data, qint64 maxSize) = 0;
    virtual qint64 writeData2(const char *data, qint64 maxSize) = 0;

protected:
    QString port;
    PortSettings Settings;
    ulong lastErr;

    // One lock for every port object: the receive holds it through its whole wait. It lives as
    // long as the program: a thread may still be inside a send or a flush when the last port goes.
    using PortLock = std::lock_guard<std::recursive_mutex>;
    static std::recursive_mutex *const mutex;
    static ulong refCount;
};

#pragma once

// A serial device through termios: raw mode, the line settings, the input-queue count,
// blocking writes that are drained, purges, exclusive use and the modem lines. The serial
// port class builds its Windows-shaped behaviour on this.

#include <QString>

class SerialDevice
{
public:
    enum Flow { FlowOff, FlowHardware, FlowXonXoff };
    struct Line {
        int baud = 9600;
        int dataBits = 8;
        char parity = 'N'; // N, O, E, M, S
        int stopTenths = 10; // 10, 15 or 20
        Flow flow = FlowOff;
    };
    enum ApplyResult { Applied, Altered, Failed };
    // Modem lines, as ioctl TIOCMGET reports them.
    enum ModemLine { Dtr, Rts };

    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice &) = delete;
    SerialDevice &operator=(const SerialDevice &) = delete;

    // Opens the device for exclusive use. On failure the device stays closed and *error says
    // why, naming the device.
    bool open(const QString &devicePath, QString *error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool isPseudoTerminal() const { return m_pty; }
    QString path() const { return m_path; }
    // A second descriptor on the same open device (for copies of a port object).
    bool duplicate(const SerialDevice &other);

    // Puts the line into raw binary mode with the given settings. Altered: the driver took the
    // call but keeps other settings (a pseudo-terminal has only 8 data bits, no parity).
    ApplyResult apply(const Line &line, QString *detail);

    qint64 queued() const; // bytes in the input queue, -1 on failure
    // Waits until input is queued or timeoutNs have passed; true when there is input. A line that
    // hung up is slept on for the whole time, as there is nothing to wait for.
    bool waitReadable(qint64 timeoutNs) const;
    qint64 read(char *data, qint64 maxSize); // what is queued, up to maxSize; -1 on failure
    qint64 write(const char *data, qint64 size); // blocking until all is handed over; -1 on failure
    bool drain(); // waits until the output has left
    void discardInput();
    void discardAll();
    bool setModemLine(ModemLine line, bool on);
    int modemStatus(bool *ok) const; // TIOCM_* bits

    // Receive errors since the last call, as bits of LineErrors; 0 where the driver keeps no
    // counters (pseudo-terminals, USB adapters without them).
    // IoError is reported by the port class when the driver cannot be asked at all.
    enum LineErrors {
        BreakError = 1,
        FramingError = 2,
        OverrunError = 4,
        ParityError = 8,
        BufferOverrun = 16,
        IoError = 32
    };
    unsigned lineErrors();

private:
    int m_fd = -1;
    bool m_pty = false;
    QString m_path;
    bool m_countersKnown = false;
    int m_counters[5] = {};
};

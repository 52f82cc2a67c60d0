#pragma once

// The program's serial port. The receive does not block on a time-out: it waits on the
// descriptor for a fixed time chosen by the baud rate, returning as soon as the expected count is
// in, then until the count stops growing; the send drains the output after every write.
// readData2/writeData2 are the same pair for Modbus RTU.

#include "comm/qextserialbase.h"
#include "platform/serialdevice.h"

#include <atomic>
#include <functional>

class Win_QextSerialPort : public QextSerialBase
{
public:
    Win_QextSerialPort();
    Win_QextSerialPort(const Win_QextSerialPort &other);
    explicit Win_QextSerialPort(const QString &name);
    explicit Win_QextSerialPort(const PortSettings &settings);
    Win_QextSerialPort(const QString &name, const PortSettings &settings);
    Win_QextSerialPort &operator=(const Win_QextSerialPort &other);
    ~Win_QextSerialPort() override;

    bool open(OpenMode mode) override;
    void close() override;
    void flush() override;
    qint64 size() const override;
    void ungetChar(char c) override;
    void setFlowControl(FlowType) override;
    void setParity(ParityType) override;
    void setDataBits(DataBitsType) override;
    void setStopBits(StopBitsType) override;
    void setBaudRate(BaudRateType) override;
    void setDtr(bool set = true) override;
    void setRts(bool set = true) override;
    ulong lineStatus() override;
    qint64 bytesAvailable() const override;
    void translateError(ulong) override;
    void setTimeout(long seconds, long milliseconds) override;
    qint64 readLine(char *data, qint64 maxSize) override;

    // Public: the protocol objects call the receive and send with the size they expect.
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;
    qint64 readData2(char *data, qint64 maxSize) override;
    qint64 writeData2(const char *data, qint64 maxSize) override;
    // The receive, ended as well by a reply shorter than maxSize that `whole` calls complete: a
    // refusal is shorter than the answer asked for and would otherwise wait out the first wait.
    using ReplyTest = std::function<bool(const char *reply, int length)>;
    qint64 receive(char *data, qint64 maxSize, const ReplyTest &whole);

    // A reply that missed the receive window: gathers what arrives until maxSize bytes or a reply
    // `whole` calls complete are in, or the line has been quiet for quietNs; what may follow is
    // left queued.
    qint64 receiveLate(char *data, qint64 maxSize, qint64 quietNs, const ReplyTest &whole);
    // The quiet after which no late reply of `replyBytes` is due: its time on the wire plus an
    // adapter's latency.
    qint64 lateReplyQuietNs(int replyBytes) const;
    // The quiet after which no reply the drive still owes is due: a try's whole window, then that.
    qint64 owedReplyQuietNs(int replyBytes) const;

    // Discards the input queue; the bytes dropped were on the line all the same.
    void purgeReceive();
    // Before a request: drops what is queued and what arrives until the line has been quiet for
    // quietNs after the last byte it carried, whoever sent it, or with droppedOnly after the last
    // byte dropped (what came outside a receive). A byte that arrives meanwhile starts it again.
    void clearLine(qint64 quietNs, bool droppedOnly = false);

    // A try that went unanswered may be answered yet: the drive hears every request and answers
    // those of a busy spell one by one. From now until the line has been quiet for a reply of
    // `replyBytes` on the wire plus an adapter's latency, what arrives answers no request to come.
    // With fromLastByte the quiet counts from the last byte on the line instead: a late reply
    // already waited for leaves only what came after it to drop.
    void expectLateReply(int replyBytes, bool fromLastByte = false);
    // An answer taken after several tries: the drive still owes the tries before it their replies,
    // one by one, each in the time a try is given. Until the line has been quiet that long, what
    // arrives answers no request to come.
    void expectRepliesToTries(int replyBytes);
    // Drops what arrives until the last request's reply window has closed, unless its answer was
    // taken, and until that quiet has passed; returns at once when neither is due.
    void dropLateReplies();
    // The transaction took an answer of `replyBytes` to the last request: its window is closed. An
    // answer in before the request and a reply could have crossed the line belongs to an earlier
    // request (held up in the adapter or the PC): this one's own reply is still to come, and the
    // line owes its quiet.
    void answerTaken(int replyBytes);

    // Waits until the line has been quiet for the silence that ends a Modbus RTU frame
    // (3.5 characters, 1.75 ms above 19200 baud) since the last byte sent or received, dropping
    // what arrives meanwhile.
    void waitFrameSilence();
    // That silence in nanoseconds for the current settings.
    qint64 frameSilenceNs() const;
    // When the last send began (steady clock, nanoseconds); 0 before any.
    qint64 lastWriteNs() const { return m_lastWriteNs; }

    // The device a port name stands for ("COM3", "\\\\.\\COM10", "/dev/ttyUSB0"); empty when
    // the name is not known.
    static QString devicePath(const QString &portName);

private:
    static qint64 wireTimeNs(const PortSettings &settings, qint64 bytes);
    // The receive's first wait and poll period, in milliseconds.
    static void receiveWaits(BaudRateType baud, int *firstWait, int *period);
    void oweLateReply(qint64 sinceNs, qint64 quietNs);
    static int bitsPerCharacter(const PortSettings &settings);
    void markLineActivity(qint64 atNs);
    // Takes what is queued off the line and drops it.
    void dropQueued();
    qint64 send(const char *data, qint64 size);
    void applyLine();
    void reportSimulatedLine() const;

    SerialDevice m_device;
    SerialDevice::Line m_line;
    // Line-settings file of a simulated drive's port, empty for other ports.
    QString m_simulatedLineFile;
    // A pseudo-terminal's own line settings are noted once per open, not at every setter.
    bool m_ptyNoted = false;
    // Monotonic time of the last byte sent or received, in nanoseconds; 0 before any.
    std::atomic<qint64> m_lastActivityNs { 0 };
    // Monotonic time the last send began, in nanoseconds; 0 before any.
    std::atomic<qint64> m_lastWriteNs { 0 };
    // Since when a late reply may come (0: none is due), and the quiet that rules it out.
    std::atomic<qint64> m_lateSinceNs { 0 };
    std::atomic<qint64> m_lateQuietNs { 0 };
    // The last request: the earliest its last byte can have left the line, and when the window
    // for its reply closes (0 once its answer was taken).
    std::atomic<qint64> m_requestEndNs { 0 };
    std::atomic<qint64> m_windowEndNs { 0 };
    // When the receivers last took a byte off the line, and when bytes were last dropped.
    std::atomic<qint64> m_lastReceivedNs { 0 };
    std::atomic<qint64> m_lastDroppedNs { 0 };
    // Whether the line has a rate: a real port or a simulated drive's; a bare pseudo-terminal hands
    // the bytes over at once.
    bool m_timedLine = false;
};

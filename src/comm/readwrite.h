#pragma once

// The protocol object: every request to the drive goes through one of these. The base holds what
// the three protocols share (the transactions with their retries, the write outcome, the command
// operation); each protocol class adds its frames, its reply decoding and its error messages.

#include "comm/commandtable.h"
#include "comm/valuerules.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QWidget>
#include <atomic>
#include <mutex>

// The connection test and the automatic search call this when they start and when they end, so
// failures counted before or during them do not take the link off-line afterwards, and the next
// loss of the link is told again.
void resetCommandFailureCounters();

class ReadWrite : public QWidget {
public:
    static constexpr int MaxTries = 10;

    // One exchange as the caller sees it: the last try's reply, zero-padded beyond its end, and
    // its status, taken while the exchange still owned the link.
    struct Reply {
        QByteArray data;
        int count = 0;      // what the receiver returned: 0 = no usable reply
        bool error = true;  // refused, an exception, or failed its checks
        bool ok = false;    // exactly the expected length arrived
        bool heldBack = false; // not sent: the drive is restarting or the link was lost, and this caller gives way
        char at(int i) const { return i >= 0 && i < data.size() ? data.at(i) : '\0'; }
        const char *bytes() const { return data.constData(); }
    };

    explicit ReadWrite(QWidget *parent = nullptr);
    ~ReadWrite() override;

    virtual bool WritePar(int parameter, int value);
    virtual int Unused51();
    virtual double ReadPar(int parameter, double unit);
    // A read with its own flags: no other caller's one-shot flags can reach it, nor it theirs.
    double ReadPar(int parameter, double unit, ValueFlags flags);
    // The selector of the unit a shown frequency is in (P.187, P.991): its value, -1 when it could not
    // be read. A refusal is told once, naming the selector, until a read of it succeeds again: the
    // pollers read it every pass.
    double ReadShownUnit(int selector);
    // Whether this thread's last monitor reading failed for want of that unit.
    static bool lastReadingUnitUnread();
    virtual int ReadTypeCode();
    virtual int Unused54();
    virtual int SendCommand(const char *code);
    // Whether this thread's last SendCommand put its request on the line; one held back (the link
    // given up, a restart pending) or unknown to the table never reached the drive.
    static bool lastCommandSent();
    // Whether this thread's last exchange got a reply of its own, a refusal included.
    static bool lastExchangeAnswered();
    // While one lives, this thread's exchanges in a connection test get every try: once the drive
    // has answered the probe, silence says nothing about what it is.
    class PatientTries {
    public:
        PatientTries();
        ~PatientTries();
        PatientTries(const PatientTries &) = delete;
        PatientTries &operator=(const PatientTries &) = delete;

    private:
        bool m_previous;
    };
    virtual void LoadCommandTable();
    virtual double LastValue();
    virtual int ReadRegisters(int first, int count);
    // The same read with the exchange's outcome apart from the value, which may be any word:
    // false when the exchange failed or the protocol has no register read.
    virtual bool ReadRegisterBlock(int first, int count, quint32 *value);

    // Stores the protocol index and reloads the command table. A missing table is reported here,
    // once, unless a connection test or search step is applying the settings.
    void SetProtocol(int index);
    int protocolIndex() const { return m_protocolIndex; }
    const QVector<QByteArray> &commandTable() const { return m_commandTable; }
    // Empty when the table was read; else the message the warning box shows.
    QString commandTableError() const { return m_commandTableError; }

    Reply TransactText(const QByteArray &request, int expected);
    Reply TransactBinary(const QByteArray &request, int expected);
    // `function`: the Modbus function of the request the reply must answer. With lateQuietNs, the
    // receive of a reply that missed its window (the port's receiveLate).
    int ReceiveText(char *reply, int length, quint8 function, bool *replyError, qint64 lateQuietNs = 0);
    int ReceiveBinary(char *reply, int expected, quint8 function, bool *replyError, qint64 lateQuietNs = 0);

    static int AppendSumCheck(QByteArray &frame);
    static int AppendCrc16(QByteArray &frame);
    static int AppendLrc(QByteArray &frame);

    // Reports a failed operation: the reply's own message while the link is up, else "Off-Line"
    // and "Communication Error!".
    void GoOffline(const Reply &reply);

protected:
    enum class MonitorCheck { Ok, FailedCounted, FailedUncounted };
    enum class CommandFailure { ReadNoReply, MonitorNoReply, MonitorCheck, MonitorWriteNoReply, PlainNoReply };

    // The protocol this class speaks, whatever index SetProtocol was given.
    virtual int linkProtocol() const = 0;
    virtual double readParameter(int parameter, double unit, ValueFlags flags) = 0;
    virtual int errorMessageIndex(const Reply &reply) const = 0;
    virtual bool isRefusal(const Reply &reply) const = 0;

    // Command hooks.
    virtual Reply exchange(const QByteArray &request, int expected) = 0;
    virtual QByteArray commandRequest(const QByteArray &entry) const = 0;
    virtual int commandReplyLength(CommandKind kind) const = 0;
    virtual void storeFrequency(QByteArray &entry, quint16 value) const = 0;
    virtual int modeCharacter(const Reply &reply) const = 0;
    virtual int wordValue(const Reply &reply) const = 0;
    // Sets `value` unless the reading leaves the last value as it is.
    virtual MonitorCheck monitorReading(const char *code, const Reply &reply, double *value, bool *keep) = 0;
    // The Modbus failure lines of the operation log; the character protocol has its own.
    virtual void logCommandFailure(const char *code, CommandFailure failure, const Reply &reply) const;
    virtual QString commandErrorText(const Reply &reply) const;
    virtual int restartWaitMs() const;
    std::atomic<int> &commandFailures() const;

    // The write outcome all three share: accepted refusals, messages, the batch's failure list.
    bool finishWrite(int parameter, int value, const Reply &reply);
    virtual void logWriteFailure(int parameter, int value) const;

    // The Modbus scale of a monitor reading by the code's middle character; false when the drive
    // gives the item no scale (P.259 outside its settings), which fails the reading.
    bool modbusMonitorScale(char item, double *factor);

    static bool refusalAccepted(int parameter);
    static bool quietRead();
    // Whether a failed parameter read goes to GoOffline.
    static bool readFailureTold();
    static void appendLog(const QString &line);

    std::atomic<double> m_lastValue { -1.0 };

private:
    Reply transact(const QByteArray &request, int expected, bool binary);
    void countCommandFailure(const Reply &reply);

    int m_protocolIndex = 0;
    QVector<QByteArray> m_commandTable;
    QString m_commandTableError;
    std::mutex m_commandMutex;
};

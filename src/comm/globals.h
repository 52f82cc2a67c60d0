#pragma once

// Program-wide communication state. One instance of each, shared by the GUI thread and
// the pollers. Flags that several threads flip are atomics so that a read never tears.

#include "comm/linkshare.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>

class ReadWrite;
class Win_QextSerialPort;

// Objects
extern PublishedPointer<ReadWrite> g_readWrite;
extern PublishedPointer<Win_QextSerialPort> g_serialPort;
extern TransactionSemaphore g_transactionSemaphore;
extern RestartQuiet g_restartQuiet;

// Communication settings
extern int g_protocolIndex; // 0 character protocol, 1 Modbus RTU, 2 Modbus ASCII
extern QString g_portName;
extern int g_baudIndex;     // 0 4800, 1 9600, 2 19200, 3 38400, 4 57600, 5 115200
extern int g_dataBitsIndex; // 0 seven, 1 eight
extern int g_stopBitsIndex; // 0 one, 1 two
extern int g_parityIndex;   // 0 none, 1 odd, 2 even
extern int g_crLfIndex;     // 0 none, 1 CR, 2 CR LF
extern QString g_timeoutText;
extern int g_timeoutMs;
extern std::atomic<int> g_crLfMode;
extern std::atomic<int> g_responseDelayMs;

// The station's two hexadecimal digits, the station field of the text protocols. Both digits
// live in one word, so a frame built on a poller never takes one digit of the old station and
// one of the new.
class StationHex
{
public:
    char operator[](int i) const { return char((m_digits.load() >> (i == 0 ? 8 : 0)) & 0xFF); }
    // Both digits at once, for building a frame.
    QByteArray field() const;
    void set(char high, char low) { m_digits = quint16((quint8(high) << 8) | quint8(low)); }

private:
    std::atomic<quint16> m_digits { 0 };
};

// Station and drive identity. The GUI thread writes the station only through setStation and
// clearStation; the pollers read it, and the series letter, while it does.
extern std::atomic<unsigned char> g_station;
extern StationHex g_stationHex;
extern std::atomic<char> g_seriesLetter;
extern QString g_modelCode;
extern QString g_invType;
extern QString g_firmwareVersion;
extern QString g_firmwareVersionText;
extern bool g_versionRead;
extern QString g_modelName;
extern int g_parameterCount;
extern int g_groupMode;
extern QStringList g_invTypeFields;
extern QVector<QString> g_powerList;
extern QVector<QString> g_powerOldList;
extern QVector<QStringList> g_typeInfoTable;
extern QString g_p186Value;

// Link state
extern std::atomic<bool> g_offLine;
extern std::atomic<bool> g_connectionTest;
extern std::atomic<bool> g_batchTransfer;
extern std::atomic<bool> g_quietRead;
extern std::atomic<bool> g_restartWait;
extern std::atomic<bool> g_modeRestartWait;
// How many commands that restart the drive have gone out: each makes its mode unknown again.
extern std::atomic<unsigned> g_restartCount;
extern std::atomic<bool> g_acceptP77Refusal;
extern std::atomic<bool> g_acceptAlarmWriteRefusal;
extern std::atomic<bool> g_replyError;
extern std::atomic<bool> g_noValueFlag;
extern std::atomic<bool> g_signedFlag;
extern std::atomic<double> g_zrValueUnit;
extern std::atomic<int> g_zrPage;
extern QStringList g_failedParameters;
extern std::atomic<int> g_cuModeResult;

// Unit names indexed by a parameter's unit code (24 entries).
extern const QStringList g_unitNames;

// Makes `number` (0 to 254) the station the frames address: g_station and g_stationHex.
void setStation(int number);
// No station chosen: 0 and two zero bytes.
void clearStation();

// Sets the communication settings to the main window's defaults.
void resetCommunicationDefaults();
// The line part of those defaults: the character protocol on COM1, 9600 baud, 8N1, CR.
void resetLineDefaults();

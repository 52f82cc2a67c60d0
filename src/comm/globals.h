#pragma once

// Program-wide communication state. One instance of each, shared by the GUI thread and
// the pollers. Flags that several threads flip are atomics so that a read never tears.

#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>

class ReadWrite;
class Win_QextSerialPort;

// Objects
extern ReadWrite *g_readWrite;
extern Win_QextSerialPort *g_serialPort;
extern QSemaphore g_transactionSemaphore;

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

// Station and drive identity
extern unsigned char g_station;
extern char g_stationHex[2];
extern char g_seriesLetter;
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

// Sets the communication settings to the main window's defaults.
void resetCommunicationDefaults();
// The line part of those defaults: the character protocol on COM1, 9600 baud, 8N1, CR.
void resetLineDefaults();

#include "comm/globals.h"

#include <QTextCodec>

PublishedPointer<ReadWrite> g_readWrite;
PublishedPointer<Win_QextSerialPort> g_serialPort;

int g_protocolIndex = 0;
QString g_portName;
int g_baudIndex = 0;
int g_dataBitsIndex = 0;
int g_stopBitsIndex = 0;
int g_parityIndex = 0;
int g_crLfIndex = 0;
QString g_timeoutText;
int g_timeoutMs = 0;
std::atomic<int> g_crLfMode { 1 };
std::atomic<int> g_responseDelayMs { 0 };

std::atomic<unsigned char> g_station { 0 };
StationHex g_stationHex;
std::atomic<char> g_seriesLetter { '0' };
QString g_modelCode;
QString g_invType;
QString g_firmwareVersion;
QString g_firmwareVersionText;
bool g_versionRead = true;
QString g_modelName;
int g_parameterCount = 0;
int g_groupMode = 0;
QStringList g_invTypeFields;
QVector<QString> g_powerList;
QVector<QString> g_powerOldList;
QVector<QStringList> g_typeInfoTable;
QString g_p186Value = QStringLiteral("1");

std::atomic<bool> g_offLine { false };
std::atomic<bool> g_connectionTest { false };
std::atomic<bool> g_batchTransfer { false };
std::atomic<bool> g_quietRead { false };
std::atomic<bool> g_restartWait { false };
std::atomic<bool> g_modeRestartWait { false };
std::atomic<unsigned> g_restartCount { 0 };
std::atomic<bool> g_acceptP77Refusal { false };
std::atomic<bool> g_acceptAlarmWriteRefusal { false };
std::atomic<bool> g_replyError { false };
std::atomic<bool> g_noValueFlag { false };
std::atomic<bool> g_signedFlag { false };
std::atomic<double> g_zrValueUnit { 0.0 };
std::atomic<int> g_zrPage { -1 };
QStringList g_failedParameters;
std::atomic<int> g_cuModeResult { -1 };

namespace {
// The three names that are not plain ASCII come from fixed GBK byte strings, so a data
// file written on a GBK system and this table agree byte for byte.
QStringList makeUnitNames()
{
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    auto decode = [gbk](const char *bytes) {
        return gbk ? gbk->toUnicode(bytes) : QString::fromLatin1(bytes);
    };
    const QString ohm = decode("\xA6\xB8");
    const QString milliOhm = decode("\x6D\xA6\xB8");
    const QString degree = decode("\xA1\xE3");
    return { QStringLiteral("%"), QStringLiteral("kHz"), QStringLiteral("Hz"), QStringLiteral("ms"),
             QStringLiteral("s"), QStringLiteral("mA"), QStringLiteral("A"), QStringLiteral("day"),
             QStringLiteral("r/min"), QStringLiteral("m/min"), QStringLiteral("mH"), milliOhm,
             QStringLiteral("V/krpm"), degree, QStringLiteral("kg.m2"), QStringLiteral("kW"),
             QStringLiteral("mm"), QStringLiteral("N"), QStringLiteral("V"), QStringLiteral("min"),
             QStringLiteral("kg/m3"), QStringLiteral("m"), QStringLiteral("kw"), ohm };
}
} // namespace

// Defined after the codec-dependent table, in one translation unit, so the order holds.
const QStringList g_unitNames = makeUnitNames();
TransactionSemaphore g_transactionSemaphore;
RestartQuiet g_restartQuiet;

namespace {
std::atomic<unsigned> linkLosses { 0 };
thread_local const LinkLossWatch *innermostWatch = nullptr;
} // namespace

LinkLossWatch::LinkLossWatch()
    : m_start(linkLosses.load())
    , m_outer(innermostWatch)
{
    innermostWatch = this;
}

LinkLossWatch::~LinkLossWatch()
{
    innermostWatch = m_outer;
}

bool LinkLossWatch::lost() const
{
    return linkLosses.load() != m_start;
}

bool LinkLossWatch::holdsBack()
{
    return innermostWatch && innermostWatch->lost();
}

void LinkLossWatch::linkLost()
{
    ++linkLosses;
}

LinkChange::LinkChange()
{
    g_transactionSemaphore.acquire();
}

LinkChange::~LinkChange()
{
    g_transactionSemaphore.release();
}

QByteArray StationHex::field() const
{
    const quint16 digits = m_digits.load();
    const char bytes[2] = { char(digits >> 8), char(digits & 0xFF) };
    return QByteArray(bytes, 2);
}

void setStation(int number)
{
    const QByteArray hex = QByteArray::number(number, 16).toUpper().rightJustified(2, '0');
    g_station = static_cast<unsigned char>(number);
    g_stationHex.set(hex.at(0), hex.at(1));
}

void clearStation()
{
    g_station = 0;
    g_stationHex.set(0, 0);
}

void resetCommunicationDefaults()
{
    resetLineDefaults();
    g_timeoutText = QStringLiteral("10");
}

void resetLineDefaults()
{
    g_protocolIndex = 0;
    g_portName = QStringLiteral("COM1");
    g_baudIndex = 1;
    g_dataBitsIndex = 1;
    g_stopBitsIndex = 0;
    g_parityIndex = 0;
    g_crLfIndex = 1;
}

#include "comm/readwritezr.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/linkreports.h"
#include "comm/typeinfo.h"

namespace {

QByteArray station()
{
    return g_stationHex.field();
}

bool fromThisStation(const ReadWrite::Reply &reply)
{
    const QByteArray hex = g_stationHex.field();
    return reply.at(1) == hex.at(0) && reply.at(2) == hex.at(1);
}

bool pageForced()
{
    const LinkReports *reports = linkReports();
    return reports && reports->pageSelectForced();
}

} // namespace

ReadWriteZR::ReadWriteZR(QWidget *parent)
    : ReadWrite(parent)
{
}

bool ReadWriteZR::SetPage(int page)
{
    const int mode = g_crLfMode;
    Reply reply = TransactText(frames::zrSelectPage(station(), page), frames::zrPositiveReplyLength(mode));
    if (!reply.error && reply.at(0) == frames::ACK && fromThisStation(reply)) {
        reply = TransactText(frames::zrReadPage(station()), frames::zrDataReplyLength(mode));
        if (!reply.error && reply.at(0) == frames::STX && fromThisStation(reply)
            && reply.at(6) == hexByte(quint8(page)).at(1))
            return true;
    }
    if (!g_connectionTest)
        GoOffline(reply);
    return false;
}

bool ReadWriteZR::selectPageFor(int parameter, bool always)
{
    const int page = parameter / 100;
    if (!always && g_zrPage == page && !pageForced() && !g_offLine)
        return true;
    if (!SetPage(page)) {
        appendLog(QStringLiteral("P.%1Write page error!").arg(parameter));
        return false;
    }
    g_zrPage = page;
    if (LinkReports *reports = linkReports())
        reports->clearPageSelectForced();
    return true;
}

double ReadWriteZR::readParameter(int parameter, double, ValueFlags flags)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return -1.0;
    std::lock_guard<std::recursive_mutex> locker(m_pageMutex);
    // Outside a batch every read selects its page first.
    if (!selectPageFor(parameter, !g_batchTransfer))
        return -1.0;
    const Reply reply = TransactText(frames::zrReadParameter(station(), parameter % 100),
                                     frames::zrDataReplyLength(g_crLfMode));
    if (!reply.ok) {
        if (g_batchTransfer)
            return -1.0;
        if (readFailureTold())
            GoOffline(reply);
        g_zrPage = -1;
        return -1.0;
    }
    const bool wide = isFeatureEnabled(QStringLiteral("readWrite_99999"));
    double unit = g_zrValueUnit;
    double value = zrValue(reply.bytes(), flags, wide, &unit);
    g_zrValueUnit = unit;
    if (parameter == 77)
        value = p77Value(value, wide);
    return value;
}

bool ReadWriteZR::WritePar(int parameter, int value)
{
    if (parameter < 0 || parameter >= frames::FirstInvalidParameter)
        return false;
    std::lock_guard<std::recursive_mutex> locker(m_pageMutex);
    if (!selectPageFor(parameter, false)) {
        g_zrPage = -1;
        return false;
    }
    const Reply reply = TransactText(frames::zrWriteParameter(station(), parameter % 100, value),
                                     frames::zrPositiveReplyLength(g_crLfMode));
    // The drive's page is unknown after any write that did not simply succeed.
    if (reply.error)
        g_zrPage = -1;
    return finishWrite(parameter, value, reply);
}

int ReadWriteZR::ReadTypeCode()
{
    if (pageForced() || g_offLine)
        return -1;
    const Reply reply = TransactText(frames::zrTypeCode(station()), frames::zrDataReplyLength(g_crLfMode));
    if (!reply.ok)
        return -1;
    return frames::hexValue(reply.bytes() + 3, 4);
}

int ReadWriteZR::errorMessageIndex(const Reply &reply) const
{
    switch (reply.at(3)) {
    case '1':
        return LinkMessage::ParityError;
    case '2':
        return LinkMessage::SumCheckError;
    case '3':
        return LinkMessage::ProtocolError;
    case '4':
        return LinkMessage::FrameError;
    case '5':
        return LinkMessage::OverflowError;
    case 'A':
        return LinkMessage::AbnormalPattern;
    case 'B':
        return LinkMessage::CommandCodeError;
    case 'C':
        return LinkMessage::RangeError;
    default:
        return LinkMessage::Unlisted;
    }
}

bool ReadWriteZR::isRefusal(const Reply &reply) const
{
    return reply.at(0) == frames::NAK;
}

ReadWrite::Reply ReadWriteZR::exchange(const QByteArray &request, int expected)
{
    return TransactText(request, expected);
}

QByteArray ReadWriteZR::commandRequest(const QByteArray &entry) const
{
    return frames::zrCommand(station(), entry);
}

int ReadWriteZR::commandReplyLength(CommandKind kind) const
{
    switch (kind) {
    case CommandKind::ModeRead:
    case CommandKind::WordRead:
    case CommandKind::MonitorRead:
        return frames::zrDataReplyLength(g_crLfMode);
    default:
        return frames::zrPositiveReplyLength(g_crLfMode);
    }
}

void ReadWriteZR::storeFrequency(QByteArray &entry, quint16 value) const
{
    entry.replace(7, 4, frames::hex4(value));
}

int ReadWriteZR::modeCharacter(const Reply &reply) const
{
    return quint8(reply.at(6));
}

int ReadWriteZR::wordValue(const Reply &reply) const
{
    return frames::hexValue(reply.bytes() + 3, 4);
}

ReadWrite::MonitorCheck ReadWriteZR::monitorReading(const char *, const Reply &reply, double *value, bool *keep)
{
    for (int i = 0; i <= 7; ++i)
        if (quint8(reply.at(i)) & 0x80)
            return MonitorCheck::FailedCounted;
    const QByteArray sum = hexByte(sumCheck(reply.bytes() + 1, 7));
    if (reply.at(9) != sum.at(0) || reply.at(10) != sum.at(1) || reply.at(0) != frames::STX)
        return MonitorCheck::FailedCounted;
    // Monitor readings are not parameter reads: the parameter table's one-shot flags stay with
    // the read they were set for.
    double unit = g_zrValueUnit;
    *value = zrValue(reply.bytes(), ValueFlags(), false, &unit);
    g_zrValueUnit = unit;
    *keep = false;
    return MonitorCheck::Ok;
}

void ReadWriteZR::logCommandFailure(const char *code, CommandFailure, const Reply &) const
{
    // One line for every failed command, as under Modbus: a lost mode poll or a refused FWD too.
    appendLog(QString::fromLatin1(code, 3) + QStringLiteral("read failure!"));
}

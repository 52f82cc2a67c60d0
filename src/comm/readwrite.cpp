#include "comm/readwrite.h"

#include "comm/checksums.h"
#include "comm/frames.h"
#include "comm/globals.h"
#include "comm/linkreports.h"
#include "comm/typeinfo.h"
#include "comm/win_qextserialport.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

namespace {

// One counter per protocol class, shared by all objects of the class.
std::atomic<int> commandFailureCounters[3];
// Whether the present loss of the link has been told: set by the first report, cleared by the next
// reply of any kind.
std::atomic<bool> linkLossTold { false };

} // namespace

ReadWrite::ReadWrite(QWidget *parent)
    : QWidget(parent)
{
    LoadCommandTable();
}

ReadWrite::~ReadWrite() = default;

bool ReadWrite::WritePar(int, int) { return true; }
int ReadWrite::Unused51() { return -1; }
int ReadWrite::ReadTypeCode() { return -1; }
int ReadWrite::Unused54() { return -1; }
double ReadWrite::LastValue() { return m_lastValue; }
int ReadWrite::ReadRegisters(int, int) { return -1; }
bool ReadWrite::ReadRegisterBlock(int, int, quint32 *) { return false; }

double ReadWrite::ReadPar(int parameter, double unit)
{
    // The flags belong to this read only, whatever becomes of it.
    return readParameter(parameter, unit, takeValueFlags());
}

double ReadWrite::ReadPar(int parameter, double unit, ValueFlags flags)
{
    return readParameter(parameter, unit, flags);
}

void ReadWrite::SetProtocol(int index)
{
    m_protocolIndex = index;
    LoadCommandTable();
    if (m_commandTableError.isEmpty() || g_connectionTest)
        return;
    if (QThread::currentThread() != qApp->thread())
        return;
    if (LinkReports *reports = linkReports())
        reports->warn(QCoreApplication::translate("ReadWrite", "Warning"), m_commandTableError);
}

void ReadWrite::LoadCommandTable()
{
    m_commandTable.clear();
    m_commandTableError.clear();
    const QString path = commandTablePath();
    QStringList lines;
    QString error;
    if (!readCommandTableLines(path, &lines, &error)) {
        m_commandTableError = QCoreApplication::translate("ReadWrite", "Cannot read file %1:\n%2.").arg(path, error);
        return;
    }
    m_commandTable = parseCommandTable(lines, m_protocolIndex);
}

int ReadWrite::AppendSumCheck(QByteArray &frame)
{
    appendSumCheck(frame, g_crLfMode);
    return frame.size();
}

int ReadWrite::AppendCrc16(QByteArray &frame)
{
    appendCrc16(frame);
    return frame.size();
}

int ReadWrite::AppendLrc(QByteArray &frame)
{
    appendLrc(frame);
    return frame.size();
}

ReadWrite::Reply ReadWrite::TransactText(const QByteArray &request, int expected)
{
    return transact(request, expected, false);
}

ReadWrite::Reply ReadWrite::TransactBinary(const QByteArray &request, int expected)
{
    return transact(request, expected, true);
}

namespace {

qint64 receiveFromPort(char *reply, int length, qint64 lateQuietNs, const Win_QextSerialPort::ReplyTest &refusal)
{
    if (!g_serialPort)
        return 0;
    return lateQuietNs > 0 ? g_serialPort->receiveLate(reply, length, lateQuietNs, refusal)
                           : g_serialPort->receive(reply, length, refusal);
}

} // namespace

int ReadWrite::ReceiveText(char *reply, int length, quint8 function, bool *replyError, qint64 lateQuietNs)
{
    const int protocol = linkProtocol();
    // A Modbus ASCII refusal is a whole checked line: no need to wait for the answer's length.
    const auto refusal = [protocol, function](const char *r, int n) {
        bool error = false;
        return protocol != 0 && frames::checkTextReply(protocol, r, n, 0, function, &error) != 0 && error;
    };
    const qint64 n = receiveFromPort(reply, length, lateQuietNs, refusal);
    const int count = frames::checkTextReply(protocol, reply, int(n), g_crLfMode, function, replyError);
    g_replyError = *replyError;
    return count;
}

int ReadWrite::ReceiveBinary(char *reply, int expected, quint8 function, bool *replyError, qint64 lateQuietNs)
{
    const auto refusal = [function](const char *r, int n) {
        bool error = false;
        return n == 5 && frames::checkBinaryReply(r, n, n, function, &error) != 0 && error;
    };
    const qint64 n = receiveFromPort(reply, expected, lateQuietNs, refusal);
    const int count = frames::checkBinaryReply(reply, int(n), expected, function, replyError);
    g_replyError = *replyError;
    return count;
}

namespace {

// The restart wait of the command this thread is sending, while it is one that restarts the drive.
thread_local int t_restartingCommandWaitMs = 0;
// Set while this thread sends a stop, which may still go out after the link was given up: a stop
// is never the wrong thing to send.
thread_local bool t_sendingStop = false;
thread_local bool t_commandSent = false;
thread_local bool t_lastAnswered = false;
thread_local bool t_patientTries = false;
// While this thread reads a shown unit's selector: its number, and whether its failure was told already.
thread_local int t_shownUnitSelector = 0;
thread_local bool t_shownUnitFailureTold = false;
thread_local bool t_readingUnitUnread = false;
// P.187's and P.991's: told unread, and not read since.
std::atomic<bool> shownUnitUnreadTold[2];

// While the program is off-line only the connection test talks to the drive. Checked once the
// request has its turn, so one that waited behind the exchange that gave up stays unsent too,
// whoever made it.
bool offLineHoldsBack()
{
    return g_offLine && !g_connectionTest && !t_sendingStop;
}

bool restartsDrive(const QByteArray &code)
{
    static const char *const codes[] = { "991", "992", "996", "997", "998", "999" };
    return std::any_of(std::begin(codes), std::end(codes), [&code](const char *c) { return code == c; });
}

// Takes the link once no restart is pending; false, with the link not taken, for a thread that
// gives way to a restart.
bool takeLinkAfterRestart()
{
    for (;;) {
        if (g_restartQuiet.pending() && RestartQuiet::givesWay())
            return false;
        if (const qint64 ms = g_restartQuiet.remainingMs()) {
            LinkReports *reports = linkReports();
            if (reports)
                reports->restartWait(true);
            QThread::msleep(ulong(ms));
            if (reports)
                reports->restartWait(false);
        }
        g_transactionSemaphore.acquire();
        if (!g_restartQuiet.pending())
            return true;
        // A restart began while this request waited for its turn.
        g_transactionSemaphore.release();
    }
}

} // namespace

ReadWrite::Reply ReadWrite::transact(const QByteArray &frame, int expected, bool binary)
{
    Reply reply;
    // A refusal of the character protocol is one character longer than a positive reply: leave
    // room for it, or the port would discard it as too long and the refusal would go unseen.
    int room = expected;
    if (linkProtocol() == 0)
        room = qMax(expected, frames::zrRefusalLength(g_crLfMode));
    // The terminating zero lets the receivers measure the reply.
    reply.data = QByteArray(room + 1, '\0');

    QByteArray request = frame;
    const quint8 function = frames::requestFunction(frame, binary);
    if (!takeLinkAfterRestart()) {
        reply.heldBack = true;
        return reply;
    }
    if (LinkLossWatch::holdsBack() || offLineHoldsBack()) {
        g_transactionSemaphore.release();
        reply.heldBack = true;
        return reply;
    }
    if (binary)
        AppendCrc16(request);
    else if (linkProtocol() == 0)
        AppendSumCheck(request);
    else
        AppendLrc(request);

    // A search step's probe is tried once, so that a search stays quick.
    const bool oneTry = g_connectionTest && !t_patientTries;
    int tries = 0;
    int n = 0;
    bool error = true;
    while (tries < MaxTries) {
        ++tries;
        // Whichever thread asked last, its request's window and any late reply it owes come first.
        if (g_serialPort)
            g_serialPort->dropLateReplies();
        if (binary) {
            if (g_serialPort)
                g_serialPort->waitFrameSilence();
            if (const int delay = g_responseDelayMs; delay > 0)
                QThread::msleep(ulong(delay));
        }
        reply.data.fill('\0');
        if (g_serialPort) {
            // A reply that came after the last receive window must not answer this request, nor
            // meet it on the line: what arrives as the try is due, in the pause too, is let finish
            // and the silence after it kept (under Modbus RTU after any byte, ours as well).
            g_serialPort->clearLine(g_serialPort->frameSilenceNs(), !binary);
            if (binary)
                g_serialPort->writeData2(request.constData(), request.size());
            else
                g_serialPort->writeData(request.constData(), request.size());
        }
        // Every try sends the same request, so a late reply to this one answers the exchange;
        // a search step's probe does not wait for it.
        const bool waitLate = !oneTry && g_serialPort;
        for (int late = 0; late <= int(waitLate); ++late) {
            const qint64 lateQuietNs = late ? g_serialPort->lateReplyQuietNs(room) : 0;
            if (late)
                reply.data.fill('\0');
            n = binary ? ReceiveBinary(reply.data.data(), expected, function, &error, lateQuietNs)
                       : ReceiveText(reply.data.data(), room, function, &error, lateQuietNs);
            if (n != 0 && !frames::replyAnswers(linkProtocol(), request, reply.data.constData(), n, expected)) {
                n = 0;
                error = true;
                g_replyError = true;
            }
            if (n != 0)
                break;
        }
        // What came instead of an answer, or a probe's answer still on its way, must not meet the
        // next request.
        if (n == 0 && g_serialPort)
            g_serialPort->expectLateReply(room, waitLate);
        if (n != 0 || oneTry)
            break;
    }
    if (n != 0 && g_serialPort) {
        g_serialPort->answerTaken(n);
        // The drive answered each try it heard: the replies to the tries before the one answered
        // may still be on their way.
        if (tries > 1)
            g_serialPort->expectRepliesToTries(room);
    }
    t_lastAnswered = n != 0;
    if (n == 0)
        g_batchTransfer = false;
    else
        linkLossTold = false;
    const bool lost = tries == MaxTries && n == 0;
    // Once given up, the link comes back only through a connection test that passes: a stop
    // answered afterwards does not make the program on line again.
    if (lost) {
        g_offLine = true;
        LinkLossWatch::linkLost();
    } else if (g_connectionTest) {
        g_offLine = false;
    }
    if (lost && !binary)
        g_zrPage = -1;
    reply.count = n;
    reply.error = error;
    reply.ok = n == expected;
    // Begun before the link is let go, so the next request waits even if it is already queued.
    if (t_restartingCommandWaitMs > 0) {
        g_restartQuiet.begin(t_restartingCommandWaitMs);
        g_restartWait = true;
        g_modeRestartWait = true;
        ++g_restartCount;
    }
    g_transactionSemaphore.release();
    return reply;
}

double ReadWrite::ReadShownUnit(int selector)
{
    std::atomic<bool> &told = shownUnitUnreadTold[selector == 991 ? 1 : 0];
    t_shownUnitSelector = selector;
    t_shownUnitFailureTold = told;
    t_lastAnswered = false;
    const double unit = readParameter(selector, 1.0, ValueFlags());
    t_shownUnitSelector = 0;
    t_shownUnitFailureTold = false;
    // One held back (a restart, a lost link) told nothing: the next refusal is told.
    if (unit != -1.0)
        told = false;
    else if (lastExchangeAnswered())
        told = true;
    return unit;
}

bool ReadWrite::lastReadingUnitUnread()
{
    return t_readingUnitUnread;
}

bool ReadWrite::lastExchangeAnswered()
{
    return t_lastAnswered;
}

ReadWrite::PatientTries::PatientTries()
    : m_previous(t_patientTries)
{
    t_patientTries = true;
}

ReadWrite::PatientTries::~PatientTries()
{
    t_patientTries = m_previous;
}

void ReadWrite::GoOffline(const Reply &reply)
{
    LinkReports *reports = linkReports();
    // Nothing went out, so there is nothing to tell.
    if (!reports || reply.heldBack)
        return;
    if (!g_offLine) {
        if (t_shownUnitSelector != 0)
            reports->reportErrorAbout(errorMessageIndex(reply),
                QCoreApplication::translate("ReadWrite",
                    "P.%1, which sets the unit of the frequencies, could not be read: they show \"?\" until it can.")
                    .arg(t_shownUnitSelector));
        else
            reports->reportError(errorMessageIndex(reply));
        return;
    }
    // Told once, whoever meets the lost link first: a poller, a read or a write.
    if (linkLossTold.exchange(true))
        return;
    reports->reportOffline();
    reports->reportError(LinkMessage::CommunicationError);
}

bool ReadWrite::refusalAccepted(int parameter)
{
    return (parameter == 77 && g_acceptP77Refusal) || ((parameter == 288 || parameter == 290) && g_acceptAlarmWriteRefusal);
}

bool ReadWrite::quietRead()
{
    return g_batchTransfer || g_connectionTest || g_quietRead || t_shownUnitFailureTold;
}

bool ReadWrite::readFailureTold()
{
    // A quiet read keeps a refusal to itself, not a lost link: that is told once, whoever met it.
    return !quietRead() || (g_offLine && !g_connectionTest);
}

void ReadWrite::appendLog(const QString &line)
{
    if (LinkReports *reports = linkReports())
        reports->appendLog(line);
}

void ReadWrite::logWriteFailure(int, int) const
{
}

bool ReadWrite::finishWrite(int parameter, int value, const Reply &reply)
{
    if (reply.heldBack)
        return false;
    bool error = reply.error;
    if (error && isRefusal(reply) && refusalAccepted(parameter))
        error = false;
    if (!error) {
        g_replyError = false;
        return true;
    }
    if (!g_batchTransfer) {
        GoOffline(reply);
        logWriteFailure(parameter, value);
        g_replyError = false;
        return false;
    }
    g_failedParameters.append(QStringLiteral("P.") + QString::number(parameter));
    return false;
}

void resetCommandFailureCounters()
{
    for (std::atomic<int> &counter : commandFailureCounters)
        counter = 0;
    linkLossTold = false;
    for (std::atomic<bool> &told : shownUnitUnreadTold)
        told = false;
}

std::atomic<int> &ReadWrite::commandFailures() const
{
    return commandFailureCounters[linkProtocol()];
}

int ReadWrite::restartWaitMs() const
{
    return g_seriesLetter == 'S' ? 7000 : 2000;
}

QString ReadWrite::commandErrorText(const Reply &) const
{
    return QString();
}

void ReadWrite::logCommandFailure(const char *code, CommandFailure failure, const Reply &reply) const
{
    const QString codeText = QString::fromLatin1(code, 3);
    switch (failure) {
    case CommandFailure::ReadNoReply:
        appendLog(codeText + QStringLiteral("read failure,error code:") + commandErrorText(reply));
        break;
    case CommandFailure::MonitorNoReply:
        appendLog(codeText + QStringLiteral("read failure!"));
        break;
    case CommandFailure::MonitorCheck:
        appendLog(codeText + QStringLiteral("sumCheck failure!"));
        break;
    case CommandFailure::MonitorWriteNoReply:
        appendLog(codeText + QStringLiteral("write failure!"));
        break;
    case CommandFailure::PlainNoReply:
        appendLog(codeText + QStringLiteral("  read failure!Error code:") + commandErrorText(reply));
        break;
    }
}

void ReadWrite::countCommandFailure(const Reply &reply)
{
    std::atomic<int> &failures = commandFailures();
    if (++failures > 10 && !g_connectionTest) {
        g_offLine = true;
        LinkLossWatch::linkLost();
        failures = 0;
    }
    // The pollers leave the telling to us: a lost link is told once, whichever of them met it.
    if (g_offLine && !g_connectionTest)
        GoOffline(reply);
}

bool ReadWrite::lastCommandSent()
{
    return t_commandSent;
}

int ReadWrite::SendCommand(const char *code)
{
    t_commandSent = false;
    t_readingUnitUnread = false;
    std::lock_guard<std::mutex> locker(m_commandMutex);
    // The drive's restart is waited out from its command's answer (the link's quiet), not from now.
    if (g_restartWait) {
        if (RestartQuiet::givesWay() && g_restartQuiet.pending())
            return -1;
        g_restartWait = false;
    }
    const QByteArray key(code, 3);
    auto matches = [&key](const QByteArray &entry) { return entry.mid(1, 3) == key; };
    const auto found = std::find_if(m_commandTable.cbegin(), m_commandTable.cend(), matches);
    if (found == m_commandTable.cend())
        return -1;
    // The frequency goes into a copy: the table is read by other threads meanwhile.
    QByteArray entry = *found;
    if (key == "FRE")
        storeFrequency(entry, quint16((quint8(code[3]) << 8) | quint8(code[4])));

    const CommandKind kind = commandKind(code);
    t_restartingCommandWaitMs = restartsDrive(key) ? restartWaitMs() : 0;
    t_sendingStop = key == "STO";
    const Reply reply = exchange(commandRequest(entry), commandReplyLength(kind));
    t_restartingCommandWaitMs = 0;
    t_sendingStop = false;
    if (reply.heldBack)
        return -1;
    t_commandSent = true;
    std::atomic<int> &failures = commandFailures();
    // A search's probes mostly find nothing: the search logs its outcome instead. A failed stop
    // is logged all the same, as the drive may run on.
    const auto logFailure = [&](CommandFailure failure) {
        if (!g_connectionTest || key == "STO")
            logCommandFailure(code, failure, reply);
    };

    switch (kind) {
    case CommandKind::ModeRead:
    case CommandKind::WordRead: {
        if (!reply.ok) {
            logFailure(CommandFailure::ReadNoReply);
            countCommandFailure(reply);
            return -1;
        }
        failures = 0;
        if (kind == CommandKind::WordRead)
            return wordValue(reply);
        const int mode = modeCharacter(reply);
        return (mode >= '0' && mode <= '8') ? mode : -1;
    }
    case CommandKind::MonitorRead: {
        if (!reply.ok) {
            logFailure(CommandFailure::MonitorNoReply);
            countCommandFailure(reply);
            return -1;
        }
        double value = 0;
        bool keep = false;
        const MonitorCheck check = monitorReading(code, reply, &value, &keep);
        if (check == MonitorCheck::Ok) {
            failures = 0;
            if (!keep)
                m_lastValue = value;
            return 0;
        }
        logFailure(CommandFailure::MonitorCheck);
        if (check == MonitorCheck::FailedCounted)
            countCommandFailure(reply);
        return -1;
    }
    case CommandKind::MonitorWrite:
    case CommandKind::Plain:
        if (!reply.ok) {
            logFailure(kind == CommandKind::Plain ? CommandFailure::PlainNoReply : CommandFailure::MonitorWriteNoReply);
            if (kind == CommandKind::Plain && g_connectionTest)
                return -1;
            countCommandFailure(reply);
            return -1;
        }
        failures = 0;
        return 0;
    }
    return -1;
}

bool ReadWrite::modbusMonitorScale(char item, double *factor)
{
    switch (item) {
    case 'A': case 'B': case 'C': case 'K': case '7': case 'f': case 'g': case 'h': case 'i': case 'd':
        *factor = 1;
        return true;
    case 'E': case 'F':
        *factor = 0.1;
        return true;
    case '0': case '3': case 'e': {
        // The drive says through P.991 or P.187 whether these carry one decimal less; unread, the
        // reading has no unit and so no value.
        int selector = 0;
        if (isFeatureEnabled(QStringLiteral("Parameter_readP991")))
            selector = 991;
        else if (isFeatureEnabled(QStringLiteral("Navigation_readP187")))
            selector = 187;
        const double unit = selector != 0 ? ReadShownUnit(selector) : 0.0;
        if (unit == -1.0) {
            t_readingUnitUnread = true;
            return false;
        }
        *factor = unit == 1.0 ? 0.1 : 0.01;
        return true;
    }
    case 'a':
        *factor = 0.001;
        return true;
    case 'b': {
        const int p259 = int(readParameter(259, 1.0, ValueFlags()));
        if (p259 == -1) {
            *factor = 0;
            return true;
        }
        switch (p259 / 10) {
        case 0:
            *factor = 1;
            return true;
        case 1:
            *factor = 0.1;
            return true;
        case 2:
            *factor = 0.01;
            return true;
        default:
            return false;
        }
    }
    default:
        *factor = 0.01;
        return true;
    }
}

#include "comm/win_qextserialport.h"

#include "platform/filesave.h"
#include "platform/registry.h"

#include <QDebug>
#include <QThread>

#include <sys/ioctl.h>

#include <chrono>
#include <thread>

namespace
{

qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A sleep overshoots by the timer slack and the wake-up, a tenth of a millisecond or more, which at
// 115200 baud is more than a character: the last stretch is waited out awake. (Yielding instead
// would hand a busy machine's CPU away for a whole time slice.)
constexpr qint64 AwakeNs = 150000;

void sleepUntil(qint64 ns)
{
    const qint64 now = monotonicNs();
    if (ns - now > AwakeNs)
        std::this_thread::sleep_for(std::chrono::nanoseconds(ns - now - AwakeNs));
    while (monotonicNs() < ns) {
    }
}

SerialDevice::Line lineOf(const PortSettings &settings)
{
    SerialDevice::Line line;
    line.baud = baudRateValue(settings.BaudRate);
    line.dataBits = 5 + int(settings.DataBits);
    line.parity = "NOEMS"[settings.Parity];
    line.stopTenths = settings.StopBits == STOP_1 ? 10 : settings.StopBits == STOP_1_5 ? 15 : 20;
    line.flow = settings.FlowControl == FLOW_OFF ? SerialDevice::FlowOff
        : settings.FlowControl == FLOW_HARDWARE  ? SerialDevice::FlowHardware
                                                 : SerialDevice::FlowXonXoff;
    return line;
}

QString stripDevicePrefix(const QString &name)
{
    return name.startsWith(QLatin1String("\\\\.\\")) ? name.mid(4) : name;
}

} // namespace

Win_QextSerialPort::Win_QextSerialPort() = default;

Win_QextSerialPort::Win_QextSerialPort(const Win_QextSerialPort &other)
    : QextSerialBase()
{
    *this = other;
}

Win_QextSerialPort::Win_QextSerialPort(const QString &name)
    : QextSerialBase(name)
{
}

Win_QextSerialPort::Win_QextSerialPort(const PortSettings &settings)
{
    setBaudRate(settings.BaudRate);
    setDataBits(settings.DataBits);
    setStopBits(settings.StopBits);
    setParity(settings.Parity);
    setFlowControl(settings.FlowControl);
    setTimeout(settings.Timeout_Sec, settings.Timeout_Millisec);
}

Win_QextSerialPort::Win_QextSerialPort(const QString &name, const PortSettings &settings)
    : Win_QextSerialPort(settings)
{
    setPortName(name);
}

// A copy gets its own descriptor on the same device, so each object can close what it holds.
Win_QextSerialPort &Win_QextSerialPort::operator=(const Win_QextSerialPort &other)
{
    if (this == &other)
        return *this;
    PortLock lock(*mutex);
    port = other.port;
    Settings = other.Settings;
    lastErr = other.lastErr;
    m_line = other.m_line;
    m_simulatedLineFile = other.m_simulatedLineFile;
    m_lastActivityNs = other.m_lastActivityNs.load();
    m_lastWriteNs = other.m_lastWriteNs.load();
    m_timedLine = other.m_timedLine;
    if (!m_device.duplicate(other.m_device))
        qWarning("Win_QextSerialPort: cannot share %s with a copy", qPrintable(other.m_device.path()));
    setOpenMode(m_device.isOpen() ? other.openMode() : QIODevice::NotOpen);
    return *this;
}

Win_QextSerialPort::~Win_QextSerialPort()
{
    if (isOpen())
        close();
}

QString Win_QextSerialPort::devicePath(const QString &portName)
{
    return Registry::deviceForPort(portName);
}

bool Win_QextSerialPort::open(OpenMode mode)
{
    PortLock lock(*mutex);
    if (mode == QIODevice::NotOpen)
        return isOpen();
    if (!isOpen()) {
        const QString device = devicePath(port);
        QString error;
        if (device.isEmpty())
            error = QStringLiteral("cannot open %1: no such port").arg(port);
        else if (!m_device.open(device, &error) && stripDevicePrefix(port) != device)
            error = stripDevicePrefix(port) + QStringLiteral(": ") + error;
        if (!m_device.isOpen()) {
            setErrorString(QStringLiteral("Win_QextSerialPort: ") + error);
            qWarning("%s", qPrintable(errorString()));
            return false;
        }
    }
    QIODevice::open(mode | QIODevice::Unbuffered);
    m_ptyNoted = false;

    QString comName = stripDevicePrefix(port);
    if (comName.startsWith(QLatin1Char('/')))
        comName = Registry::portForDevice(comName);
    m_simulatedLineFile.clear();
    const QString simulatedKey = QLatin1String(Registry::SimulatedLineKey);
    for (const QString &name : Registry::valueNames(simulatedKey))
        if (!comName.isEmpty() && name.compare(comName, Qt::CaseInsensitive) == 0)
            m_simulatedLineFile = Registry::value(simulatedKey, name).toString();
    m_timedLine = !m_simulatedLineFile.isEmpty() || !m_device.isPseudoTerminal();

    setBaudRate(Settings.BaudRate);
    setDataBits(Settings.DataBits);
    setStopBits(Settings.StopBits);
    setParity(Settings.Parity);
    setFlowControl(Settings.FlowControl);
    setTimeout(Settings.Timeout_Sec, Settings.Timeout_Millisec);
    return isOpen();
}

void Win_QextSerialPort::close()
{
    PortLock lock(*mutex);
    m_device.close();
    m_simulatedLineFile.clear();
    QIODevice::close();
}

void Win_QextSerialPort::flush()
{
    PortLock lock(*mutex);
    if (isOpen())
        m_device.drain();
}

qint64 Win_QextSerialPort::size() const
{
    return m_device.isOpen() ? m_device.queued() : 0;
}

qint64 Win_QextSerialPort::bytesAvailable() const
{
    PortLock lock(*mutex);
    if (!isOpen())
        return 0;
    const qint64 queued = m_device.queued();
    if (queued < 0) {
        const_cast<Win_QextSerialPort *>(this)->translateError(SerialDevice::IoError);
        return -1;
    }
    return queued + QIODevice::bytesAvailable();
}

void Win_QextSerialPort::translateError(ulong error)
{
    if (error & SerialDevice::BreakError)
        lastErr = E_BREAK_CONDITION;
    else if (error & SerialDevice::FramingError)
        lastErr = E_FRAMING_ERROR;
    else if (error & SerialDevice::IoError)
        lastErr = E_IO_ERROR;
    else if (error & SerialDevice::OverrunError)
        lastErr = E_BUFFER_OVERRUN;
    else if (error & SerialDevice::ParityError)
        lastErr = E_RECEIVE_PARITY_ERROR;
    else if (error & SerialDevice::BufferOverrun)
        lastErr = E_RECEIVE_OVERFLOW;
}

void Win_QextSerialPort::ungetChar(char)
{
    qWarning("Win_QextSerialPort: ungetChar() called on an unbuffered sequential device - operation is meaningless");
}

// Takes bytes straight from the queue: going through the receive with a size of one would
// throw away everything queued as soon as two bytes wait.
qint64 Win_QextSerialPort::readLine(char *data, qint64 maxSize)
{
    if (maxSize < 2)
        return -1;
    PortLock lock(*mutex);
    qint64 count = 0;
    // One byte is kept for the terminating zero.
    while (isOpen() && count < maxSize - 1 && m_device.queued() > 0) {
        if (m_device.read(data + count, 1) != 1)
            break;
        if (data[count++] == '\n')
            break;
    }
    data[count] = '\0';
    return count;
}

void Win_QextSerialPort::setBaudRate(BaudRateType baud)
{
    PortLock lock(*mutex);
    const bool open = isOpen();
    switch (baud) {
    case BAUD50:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 50 baud operation.  Switching to 110 baud.");
        baud = BAUD110;
        break;
    case BAUD75:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 75 baud operation.  Switching to 110 baud.");
        baud = BAUD110;
        break;
    case BAUD134:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 134.5 baud operation.  Switching to 110 baud.");
        baud = BAUD110;
        break;
    case BAUD150:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 150 baud operation.  Switching to 110 baud.");
        baud = BAUD110;
        break;
    case BAUD200:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 200 baud operation.  Switching to 110 baud.");
        baud = BAUD110;
        break;
    case BAUD1800:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 1800 baud operation.  Switching to 1200 baud.");
        baud = BAUD1200;
        break;
    case BAUD76800:
        if (open)
            qWarning("Win_QextSerialPort: Windows does not support 76800 baud operation.  Switching to 57600 baud.");
        baud = BAUD57600;
        break;
    case BAUD14400:
        if (open)
            qWarning("Win_QextSerialPort Portability Warning: POSIX does not support 14400 baud operation.");
        break;
    case BAUD56000:
        if (open)
            qWarning("Win_QextSerialPort Portability Warning: POSIX does not support 56000 baud operation.");
        break;
    case BAUD128000:
        if (open)
            qWarning("Win_QextSerialPort Portability Warning: POSIX does not support 128000 baud operation.");
        break;
    case BAUD256000:
        if (open)
            qWarning("Win_QextSerialPort Portability Warning: POSIX does not support 256000 baud operation.");
        break;
    default:
        break;
    }
    Settings.BaudRate = baud;
    if (open)
        applyLine();
}

void Win_QextSerialPort::setDataBits(DataBitsType dataBits)
{
    PortLock lock(*mutex);
    const bool open = isOpen();
    if (dataBits == DATA_5 && Settings.StopBits == STOP_2) {
        if (open)
            qWarning("Win_QextSerialPort: 5 Data bits cannot be used with 2 stop bits.");
        return;
    }
    if (dataBits != DATA_5 && Settings.StopBits == STOP_1_5) {
        if (open) {
            if (dataBits == DATA_6)
                qWarning("Win_QextSerialPort: 6 Data bits cannot be used with 1.5 stop bits.");
            else if (dataBits == DATA_7)
                qWarning("Win_QextSerialPort: 7 Data bits cannot be used with 1.5 stop bits.");
            else
                qWarning("Win_QextSerialPort: 8 Data bits cannot be used with 1.5 stop bits.");
        }
        return;
    }
    Settings.DataBits = dataBits;
    if (open)
        applyLine();
}

void Win_QextSerialPort::setStopBits(StopBitsType stopBits)
{
    PortLock lock(*mutex);
    const bool open = isOpen();
    if (stopBits == STOP_1_5) {
        if (Settings.DataBits != DATA_5) {
            if (open)
                qWarning("Win_QextSerialPort: 1.5 stop bits can only be used with 5 data bits");
            return;
        }
        if (open)
            qWarning("Win_QextSerialPort Portability Warning: 1.5 stop bit operation is not supported by POSIX.");
    } else if (stopBits == STOP_2 && Settings.DataBits == DATA_5) {
        if (open)
            qWarning("Win_QextSerialPort: 2 stop bits cannot be used with 5 data bits");
        return;
    }
    Settings.StopBits = stopBits;
    if (open)
        applyLine();
}

void Win_QextSerialPort::setParity(ParityType parity)
{
    PortLock lock(*mutex);
    const bool open = isOpen();
    if (open && parity == PAR_MARK)
        qWarning("Win_QextSerialPort Portability Warning:  Mark parity is not supported by POSIX systems");
    if (open && parity == PAR_SPACE && Settings.DataBits == DATA_8)
        qWarning("Win_QextSerialPort Portability Warning: Space parity with 8 data bits is not supported by POSIX "
                 "systems.");
    Settings.Parity = parity;
    if (open)
        applyLine();
}

void Win_QextSerialPort::setFlowControl(FlowType flow)
{
    PortLock lock(*mutex);
    Settings.FlowControl = flow;
    if (isOpen())
        applyLine();
}

// The receive never blocks in the driver (it reads only what is queued), so the time-out is
// kept for callers that ask for it and has nothing to set on the line.
void Win_QextSerialPort::setTimeout(long seconds, long milliseconds)
{
    PortLock lock(*mutex);
    Settings.Timeout_Sec = seconds;
    Settings.Timeout_Millisec = milliseconds;
    if (isOpen())
        reportSimulatedLine();
}

void Win_QextSerialPort::setDtr(bool set)
{
    PortLock lock(*mutex);
    if (isOpen() && !m_device.setModemLine(SerialDevice::Dtr, set))
        qDebug("Win_QextSerialPort: %s has no DTR line", qPrintable(m_device.path()));
}

void Win_QextSerialPort::setRts(bool set)
{
    PortLock lock(*mutex);
    if (isOpen() && !m_device.setModemLine(SerialDevice::Rts, set))
        qDebug("Win_QextSerialPort: %s has no RTS line", qPrintable(m_device.path()));
}

ulong Win_QextSerialPort::lineStatus()
{
    PortLock lock(*mutex);
    if (!isOpen())
        return 0;
    bool ok = false;
    const int bits = m_device.modemStatus(&ok);
    ulong status = 0;
    if (bits & TIOCM_CTS)
        status |= LS_CTS;
    if (bits & TIOCM_DSR)
        status |= LS_DSR;
    if (bits & TIOCM_CAR)
        status |= LS_DCD;
    if (bits & TIOCM_RNG)
        status |= LS_RI;
    return status;
}

void Win_QextSerialPort::purgeReceive()
{
    PortLock lock(*mutex);
    if (isOpen())
        dropQueued();
}

void Win_QextSerialPort::dropQueued()
{
    qint64 queued = m_device.queued();
    if (queued <= 0)
        return;
    // Read, not flushed: a byte that came during the flush would go unseen, and the silence before
    // the next request would not count from it.
    char scratch[256];
    while (queued > 0 && m_device.read(scratch, qMin<qint64>(queued, sizeof scratch)) > 0)
        queued = m_device.queued();
    if (queued != 0)
        m_device.discardInput();
    m_lastDroppedNs = monotonicNs();
    markLineActivity(m_lastDroppedNs);
}

void Win_QextSerialPort::clearLine(qint64 quietNs, bool droppedOnly)
{
    PortLock lock(*mutex);
    if (!isOpen())
        return;
    // A line that never falls quiet (another device talking) must not hold the link for ever.
    const qint64 giveUpNs = monotonicNs() + 1000000000;
    for (;;) {
        dropQueued();
        const qint64 from = droppedOnly ? m_lastDroppedNs.load() : m_lastActivityNs.load();
        const qint64 left = from + quietNs - monotonicNs();
        if (from == 0 || left <= 0 || monotonicNs() > giveUpNs)
            return;
        // Watched to the end, the last stretch awake: a byte in it starts the quiet again.
        if (left > AwakeNs)
            m_device.waitReadable(left - AwakeNs);
        else
            while (monotonicNs() < from + quietNs && m_device.queued() == 0) {
            }
    }
}

qint64 Win_QextSerialPort::lateReplyQuietNs(int replyBytes) const
{
    // A USB adapter holds received bytes up to 16 ms by default; a drive may take a few more to
    // turn around.
    constexpr qint64 AdapterLatencyNs = 20000000;
    return wireTimeNs(Settings, replyBytes) + AdapterLatencyNs;
}

qint64 Win_QextSerialPort::owedReplyQuietNs(int replyBytes) const
{
    int firstWait = 0;
    int period = 0;
    receiveWaits(Settings.BaudRate, &firstWait, &period);
    return qint64(firstWait + period) * 1000000 + lateReplyQuietNs(replyBytes);
}

qint64 Win_QextSerialPort::receiveLate(char *data, qint64 maxSize, qint64 quietNs, const ReplyTest &whole)
{
    PortLock lock(*mutex);
    if (!isOpen())
        return -1;
    QByteArray got;
    qint64 lastNs = monotonicNs();
    while (got.size() < maxSize && !(whole && !got.isEmpty() && whole(got.constData(), got.size()))) {
        const qint64 queued = m_device.queued();
        if (queued < 0) {
            translateError(SerialDevice::IoError);
            lastErr = E_READ_FAILED;
            return -1;
        }
        if (queued == 0) {
            const qint64 left = lastNs + quietNs - monotonicNs();
            if (left <= 0)
                break;
            m_device.waitReadable(left);
            continue;
        }
        // Only this reply's bytes: a reply to a later try stays for the drain.
        const int before = got.size();
        got.resize(before + int(qMin<qint64>(queued, maxSize - before)));
        const qint64 read = m_device.read(got.data() + before, got.size() - before);
        if (read <= 0) {
            lastErr = E_READ_FAILED;
            return -1;
        }
        got.resize(before + int(read));
        lastNs = monotonicNs();
        m_lastReceivedNs = lastNs;
        markLineActivity(lastNs);
    }
    std::copy(got.cbegin(), got.cend(), data);
    return got.size();
}

void Win_QextSerialPort::oweLateReply(qint64 sinceNs, qint64 quietNs)
{
    // Whichever owes the longer wait rules.
    qint64 longest = m_lateQuietNs;
    while (longest < quietNs && !m_lateQuietNs.compare_exchange_weak(longest, quietNs)) {
    }
    qint64 latest = m_lateSinceNs;
    while (latest < sinceNs && !m_lateSinceNs.compare_exchange_weak(latest, sinceNs)) {
    }
}

void Win_QextSerialPort::expectLateReply(int replyBytes, bool fromLastByte)
{
    oweLateReply(fromLastByte ? qMax<qint64>(1, m_lastActivityNs) : monotonicNs(), lateReplyQuietNs(replyBytes));
}

void Win_QextSerialPort::expectRepliesToTries(int replyBytes)
{
    // A reply does not say which request it answers (a character-protocol one not even its
    // command): one let through would stand for the next request's answer.
    oweLateReply(monotonicNs(), owedReplyQuietNs(replyBytes));
}

void Win_QextSerialPort::answerTaken(int replyBytes)
{
    m_windowEndNs = 0;
    PortLock lock(*mutex);
    if (!m_timedLine)
        return;
    const qint64 earliestNs = m_requestEndNs + wireTimeNs(Settings, replyBytes);
    if (m_lastReceivedNs < earliestNs)
        oweLateReply(earliestNs, owedReplyQuietNs(replyBytes));
}

void Win_QextSerialPort::dropLateReplies()
{
    const qint64 windowEnd = m_windowEndNs.exchange(0);
    const qint64 since = m_lateSinceNs.exchange(0);
    const qint64 quiet = m_lateQuietNs.exchange(0);
    if (since == 0 && windowEnd <= monotonicNs())
        return;
    PortLock lock(*mutex);
    if (!isOpen())
        return;
    // A line that never falls quiet (another device talking) must not hold the link for ever.
    const qint64 giveUpNs = monotonicNs() + 1000000000;
    for (;;) {
        // A byte that arrives starts the quiet again: a busy drive answers its kept requests back
        // to back.
        purgeReceive();
        const qint64 now = monotonicNs();
        qint64 until = windowEnd;
        if (since != 0)
            until = qMax(until, qMin(qMax<qint64>(since, m_lastActivityNs) + quiet, giveUpNs));
        const qint64 left = until - now;
        if (left <= 0)
            return;
        m_device.waitReadable(left);
    }
}

void Win_QextSerialPort::markLineActivity(qint64 atNs)
{
    // Never back: a purge or a later byte may already have moved it on.
    qint64 last = m_lastActivityNs;
    while (last < atNs && !m_lastActivityNs.compare_exchange_weak(last, atNs)) {
    }
}

qint64 Win_QextSerialPort::frameSilenceNs() const
{
    const int baud = baudRateValue(Settings.BaudRate);
    if (baud > 19200 || baud <= 0)
        return 1750000;
    return (3500000000LL * bitsPerCharacter(Settings) + baud - 1) / baud;
}

void Win_QextSerialPort::waitFrameSilence()
{
    clearLine(frameSilenceNs());
}

qint64 Win_QextSerialPort::readData(char *data, qint64 maxSize)
{
    return receive(data, maxSize, {});
}

qint64 Win_QextSerialPort::readData2(char *data, qint64 maxSize)
{
    return receive(data, maxSize, {});
}

qint64 Win_QextSerialPort::writeData(const char *data, qint64 maxSize)
{
    return send(data, maxSize);
}

qint64 Win_QextSerialPort::writeData2(const char *data, qint64 maxSize)
{
    // An RTU frame ends with its silence: bytes that came in the meantime start it again.
    waitFrameSilence();
    return send(data, maxSize);
}

qint64 Win_QextSerialPort::receive(char *data, qint64 maxSize, const ReplyTest &whole)
{
    PortLock lock(*mutex);
    if (!isOpen())
        return -1;
    int firstWait = 0;
    int period = 0;
    receiveWaits(Settings.BaudRate, &firstWait, &period);
    const qint64 msNs = 1000000;
    // The window opens when the request has left the line: an adapter's write returns before.
    const qint64 startNs = qMax(monotonicNs(), m_requestEndNs.load());

    // Bytes are taken off the queue as they come, so that the descriptor wakes us for the next ones
    // instead of a sleep running its course; the count is judged as the queue's would be.
    QByteArray got;
    qint64 arrivedNs = 0;
    bool failed = false;
    auto gather = [&] {
        const qint64 queued = m_device.queued();
        if (queued < 0) {
            translateError(SerialDevice::IoError);
            failed = true;
        } else if (queued > 0) {
            arrivedNs = monotonicNs();
            const int before = got.size();
            got.resize(before + int(queued));
            const qint64 read = m_device.read(got.data() + before, queued);
            got.resize(before + int(qMax<qint64>(0, read)));
            failed = read <= 0;
        }
        return !failed;
    };

    // The first wait ends early only for the whole reply (or more than that): a reply that pauses
    // within it is still gathered whole.
    auto complete = [&] { return got.size() >= maxSize || (whole && !got.isEmpty() && whole(got.constData(), got.size())); };
    gather();
    while (!failed && !complete()) {
        const qint64 left = startNs + firstWait * msNs - monotonicNs();
        if (left <= 0)
            break;
        if (m_device.waitReadable(left))
            gather();
    }

    qint64 previous = 0;
    int stalls = 0;
    while (!failed) {
        const qint64 n = got.size();
        if (n > previous) {
            stalls = 0;
            if (n == maxSize || (n < maxSize && complete()))
                break;
            // Bytes are arriving: ask again at once.
        } else {
            ++stalls;
            if (n < maxSize) {
                if (stalls > 2 || (stalls == 2 && n == previous))
                    break;
            } else if (stalls > 1) {
                break;
            }
            m_device.waitReadable((n != 0 ? period / 6 : period) * msNs);
        }
        previous = n;
        gather();
    }

    if (!failed) {
        if (const unsigned errors = m_device.lineErrors())
            translateError(errors);
        gather();
    }
    if (arrivedNs != 0) {
        m_lastReceivedNs = arrivedNs;
        markLineActivity(arrivedNs);
    }
    if (failed) {
        lastErr = E_READ_FAILED;
        return -1;
    }
    if (got.size() > maxSize) {
        // A reply longer than asked for is not one of ours: drop it whole.
        dropQueued();
        return -1;
    }
    std::copy(got.cbegin(), got.cend(), data);
    return got.size();
}

qint64 Win_QextSerialPort::send(const char *data, qint64 size)
{
    qint64 result;
    bool simulated;
    PortSettings settings;
    qint64 startNs;
    {
        PortLock lock(*mutex);
        startNs = monotonicNs();
        m_lastWriteNs = startNs;
        result = isOpen() ? m_device.write(data, size) : -1;
        if (result < 0)
            lastErr = E_WRITE_FAILED;
        simulated = !m_simulatedLineFile.isEmpty();
        settings = Settings;
    }
    flush();
    if (result > 0) {
        // The request's last byte leaves at the line's rate; a drain that returns later (a real
        // UART held back) says the line was busy until then.
        const qint64 wireEndNs = startNs + wireTimeNs(settings, result);
        int firstWait = 0;
        int period = 0;
        receiveWaits(settings.BaudRate, &firstWait, &period);
        m_requestEndNs = wireEndNs;
        m_windowEndNs = wireEndNs + qint64(firstWait + period) * 1000000;
        if (simulated)
            sleepUntil(wireEndNs);
        markLineActivity(qMax(wireEndNs, monotonicNs()));
    }
    return result;
}

// A pseudo-terminal hands the bytes over at once, while a real UART's drain returns only
// when they have left the line. The simulated drive counts the request's time on the wire
// before it answers, so on a simulated line the send takes that time too.
qint64 Win_QextSerialPort::wireTimeNs(const PortSettings &settings, qint64 bytes)
{
    const int baud = baudRateValue(settings.BaudRate);
    if (baud <= 0)
        return 0;
    return bytes * bitsPerCharacter(settings) * 1000000000LL / baud;
}

void Win_QextSerialPort::receiveWaits(BaudRateType baud, int *firstWait, int *period)
{
    *firstWait = 10;
    *period = 6;
    if (baud == BAUD4800) {
        *firstWait = 20;
        *period = 20;
    } else if (baud == BAUD9600) {
        *firstWait = 15;
        *period = 12;
    }
}

// Start bit, data bits, parity bit, stop bits (1.5 counted as 2).
int Win_QextSerialPort::bitsPerCharacter(const PortSettings &settings)
{
    static const int dataBits[] = { 5, 6, 7, 8 };
    int bits = 1 + dataBits[settings.DataBits];
    if (settings.Parity != PAR_NONE)
        ++bits;
    return bits + (settings.StopBits == STOP_1 ? 1 : 2);
}

void Win_QextSerialPort::applyLine()
{
    m_line = lineOf(Settings);
    QString detail;
    switch (m_device.apply(m_line, &detail)) {
    case SerialDevice::Applied:
        break;
    case SerialDevice::Altered:
        if (m_device.isPseudoTerminal() && m_ptyNoted)
            break;
        m_ptyNoted = m_device.isPseudoTerminal();
        if (m_device.isPseudoTerminal())
            qDebug("Win_QextSerialPort: %s is a pseudo-terminal and keeps its own line settings (%s)",
                qPrintable(m_device.path()), qPrintable(detail));
        else
            qWarning("Win_QextSerialPort: %s did not take the line settings (%s)", qPrintable(m_device.path()),
                qPrintable(detail));
        break;
    case SerialDevice::Failed:
        if (m_device.isPseudoTerminal())
            qDebug("Win_QextSerialPort: %s refused the line settings: %s", qPrintable(m_device.path()),
                qPrintable(detail));
        else
            qWarning("Win_QextSerialPort: %s refused the line settings: %s", qPrintable(m_device.path()),
                qPrintable(detail));
        break;
    }
    reportSimulatedLine();
}

// The simulated drive answers only while the settings we applied match its own; a
// pseudo-terminal cannot carry them, so they travel through this file.
void Win_QextSerialPort::reportSimulatedLine() const
{
    if (m_simulatedLineFile.isEmpty())
        return;
    static const char *const stopTexts[] = { "1", "1.5", "2" };
    static const char *const flowTexts[] = { "off", "hw", "xon" };
    const QByteArray line = QStringLiteral("baud=%1 data=%2 parity=%3 stop=%4 flow=%5\n")
                                .arg(baudRateValue(Settings.BaudRate))
                                .arg(5 + int(Settings.DataBits))
                                .arg(QLatin1Char("NOEMS"[Settings.Parity]))
                                .arg(QLatin1String(stopTexts[Settings.StopBits]))
                                .arg(QLatin1String(flowTexts[Settings.FlowControl]))
                                .toLatin1();
    if (!saveFile(m_simulatedLineFile, line, nullptr))
        qWarning("Win_QextSerialPort: cannot write the line settings to %s", qPrintable(m_simulatedLineFile));
}

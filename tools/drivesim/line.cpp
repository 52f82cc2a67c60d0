#include "line.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
int speedToBaud(speed_t s)
{
    switch (s) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}
} // namespace

Line::Line(Scenario *scenario, Drive *drive, Wire *wire, const LineOptions &options)
    : m_s(scenario), m_drive(drive), m_wire(wire), m_options(options)
{
}

Line::~Line()
{
    for (int fd : {m_master, m_slave, m_controlRead, m_controlKeep, m_signals})
        if (fd >= 0)
            ::close(fd);
}

qint64 Line::nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

bool Line::open(QString *error)
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // Raw from the start, so nothing is echoed back before the program configures its end.
    termios t;
    tcgetattr(m_slave, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(m_slave, TCSANOW, &t);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);

    if (!m_options.journalFile.isEmpty()) {
        m_journal.setFileName(m_options.journalFile);
        if (!m_journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            *error = QStringLiteral("cannot write the journal %1").arg(m_options.journalFile);
            return false;
        }
    }
    if (!m_options.controlFifo.isEmpty()) {
        const QByteArray path = QFile::encodeName(m_options.controlFifo);
        struct stat st;
        if (stat(path.constData(), &st) != 0 && mkfifo(path.constData(), 0600) != 0) {
            *error = QStringLiteral("cannot make the control FIFO %1").arg(m_options.controlFifo);
            return false;
        }
        m_controlRead = ::open(path.constData(), O_RDONLY | O_NONBLOCK);
        // Holding a writer open ourselves keeps the FIFO from reporting end-of-file between commands.
        m_controlKeep = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
        if (m_controlRead < 0 || m_controlKeep < 0) {
            *error = QStringLiteral("cannot open the control FIFO %1").arg(m_options.controlFifo);
            return false;
        }
    }
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGHUP);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    m_signals = signalfd(-1, &mask, SFD_NONBLOCK);
    return true;
}

QString Line::render(const QByteArray &bytes) const
{
    if (m_s->protocol == Protocol::Rtu)
        return QString();
    static const char *names[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK"};
    QString out = QStringLiteral("\"");
    for (char c : bytes) {
        const quint8 u = quint8(c);
        if (u == '\r')
            out += QStringLiteral("\\r");
        else if (u == '\n')
            out += QStringLiteral("\\n");
        else if (u <= 6)
            out += QStringLiteral("<%1>").arg(QLatin1String(names[u]));
        else if (u == 0x15)
            out += QStringLiteral("<NAK>");
        else if (u < 0x20 || u > 0x7E)
            out += QStringLiteral("<%1>").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QChar::fromLatin1(c);
    }
    return out + QStringLiteral("\" ");
}

void Line::journal(qint64 ns, const char *direction, const QByteArray &bytes, const QString &note)
{
    if (!m_journal.isOpen())
        return;
    QByteArray line = QByteArray::number(ns / 1e9, 'f', 6) + ' ' + direction;
    if (!bytes.isEmpty())
        line += ' ' + bytes.toHex(' ').toUpper();
    const QString text = render(bytes) + note;
    if (!text.trimmed().isEmpty())
        line += (bytes.isEmpty() ? " " : " | ") + text.trimmed().toUtf8();
    m_journal.write(line + '\n');
}

bool Line::lineMatches(QString *why) const
{
    LineSettings actual;
    if (!m_options.lineFile.isEmpty()) {
        QFile f(m_options.lineFile);
        if (!f.open(QIODevice::ReadOnly)) {
            *why = QStringLiteral("line not configured by the program");
            return false;
        }
        if (!parseLineSettings(QString::fromLatin1(f.readLine()), &actual)) {
            *why = QStringLiteral("unreadable line settings");
            return false;
        }
    } else {
        termios t;
        tcgetattr(m_master, &t);
        actual.baud = speedToBaud(cfgetospeed(&t));
        actual.data = (t.c_cflag & CSIZE) == CS7 ? 7 : (t.c_cflag & CSIZE) == CS8 ? 8 : 6;
        actual.parity = !(t.c_cflag & PARENB) ? 'N' : (t.c_cflag & PARODD) ? 'O' : 'E';
        actual.stop = (t.c_cflag & CSTOPB) ? QStringLiteral("2") : QStringLiteral("1");
    }
    if (actual == m_s->line)
        return true;
    *why = QStringLiteral("line mismatch: %1").arg(actual.text());
    return false;
}

qint64 Line::charTimeNs() const
{
    return qint64(m_s->line.bitsPerChar()) * 1000000000LL / qMax(1, m_s->line.baud);
}

void Line::frameReceived(const QByteArray &frame, qint64 startNs)
{
    journal(startNs, "RX", frame, QString());
    const qint64 now = nowNs();
    if (!m_queue.isEmpty() || now < m_busyUntil) {
        m_queue.append(frame);
        journal(now, "--", QByteArray(), QStringLiteral("busy: request kept"));
        return;
    }
    if (!m_tx.isEmpty()) {
        journal(now, "--", QByteArray(), QStringLiteral("silent: busy sending"));
        return;
    }
    QString why;
    if (now >= m_restartUntil && lineMatches(&why) && beginsBusyStretch(now)) {
        m_queue.append(frame);
        return;
    }
    answer(frame, startNs + qint64(frame.size()) * charTimeNs());
}

bool Line::beginsBusyStretch(qint64 now)
{
    for (Fault &f : m_s->faults) {
        if (f.kind != Fault::Busy || f.remaining == 0 || ++f.seen < f.every)
            continue;
        f.seen = 0;
        if (f.remaining > 0)
            --f.remaining;
        m_busyUntil = now + qint64(f.arg) * 1000000;
        journal(now, "--", QByteArray(), QStringLiteral("busy for %1 ms: request kept").arg(f.arg));
        return true;
    }
    return false;
}

void Line::answerQueued(qint64 now)
{
    while (!m_queue.isEmpty() && m_tx.isEmpty() && now >= m_busyUntil)
        answer(m_queue.takeFirst(), now);
}

void Line::answer(const QByteArray &frame, qint64 readyNs)
{
    const qint64 now = nowNs();
    auto silent = [&](const QString &why) { journal(now, "--", QByteArray(), QStringLiteral("silent: ") + why); };
    if (now < m_restartUntil)
        return silent(QStringLiteral("restarting"));
    QString why;
    if (!lineMatches(&why))
        return silent(why);
    for (Fault &f : m_s->faults) {
        if (f.kind == Fault::LinkLost)
            return silent(QStringLiteral("link lost"));
        if (f.kind == Fault::SilentFirst && f.remaining > 0) {
            --f.remaining;
            return silent(QStringLiteral("silent-first"));
        }
        if (f.kind == Fault::SilentAfter) {
            // The link goes down after k answered requests, as when a cable is pulled mid-run.
            if (f.remaining == 0)
                return silent(QStringLiteral("silent-after"));
            --f.remaining;
        }
    }
    m_drive->advance(now);
    Reply reply = m_wire->handle(frame);
    if (reply.silent) {
        silent(reply.note);
        if (m_drive->takeRestart()) { // a broadcast command restarts the drive without a reply
            m_drive->restart();
            m_restartUntil = now + qint64(m_s->restartTime()) * 1000000;
            journal(now, "--", QByteArray(), QStringLiteral("restarting for %1 ms").arg(m_s->restartTime()));
        }
        return;
    }

    qint64 extra = 0;
    QStringList applied;
    for (Fault &f : m_s->faults) {
        if (f.remaining == 0 || f.kind == Fault::SilentFirst || f.kind == Fault::SilentAfter
            || f.kind == Fault::LinkLost || f.kind == Fault::Busy)
            continue;
        switch (f.kind) {
        case Fault::BadCheck:
            if (!m_wire->spoilCheck(&reply.bytes))
                continue;
            applied << QStringLiteral("bad-check");
            break;
        case Fault::Short:
            reply.bytes.chop(1);
            applied << QStringLiteral("short");
            break;
        case Fault::Long:
            reply.bytes.append(char(0xFF));
            applied << QStringLiteral("long");
            break;
        case Fault::Dribble:
            m_txDribble = true;
            applied << QStringLiteral("dribble");
            break;
        case Fault::Late:
            extra += qint64(f.arg) * 1000000;
            applied << QStringLiteral("late %1 ms").arg(f.arg);
            break;
        default:
            break;
        }
        if (f.remaining > 0)
            --f.remaining;
    }
    // The request and the reply both take their time on the wire; the drive turns around in between.
    m_txDue = readyNs + qint64(reply.bytes.size()) * charTimeNs() + qint64(m_s->turnaroundMs) * 1000000 + extra;
    // Paced, the first byte is due as many characters earlier as follow it.
    m_txPaced = m_s->pacedReply && !m_txDribble;
    if (m_txPaced)
        m_txDue -= qint64(reply.bytes.size() - 1) * charTimeNs();
    m_txSent.clear();
    m_txAhead = 0;
    m_tx = reply.bytes;
    m_txRestart = reply.restart;
    m_txNote = reply.note + (applied.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(applied.join(QStringLiteral(", "))));
}

void Line::sendDue(qint64 now)
{
    if (m_tx.isEmpty() || now < m_txDue)
        return;
    // Paced: every byte whose time has come, the reply journaled once with its last byte.
    const int due = m_txPaced ? int(qMin<qint64>(m_tx.size(), 1 + (now - m_txDue) / charTimeNs())) : m_tx.size();
    const QByteArray chunk = m_txDribble ? m_tx.left(1) : m_tx.left(due);
    const bool completes = chunk.size() == m_tx.size();
    // The journal is the tests' witness: it must hold a reply before the program can have read it,
    // so the line goes out before the bytes do, stamped with the moment they are handed over.
    const bool journaledBefore = m_txAhead > 0;
    if (!journaledBefore && (!m_txPaced || completes)) {
        journal(now, "TX", m_txSent + chunk, m_txNote);
        m_txSent.clear();
        m_txAhead = chunk.size();
        if (completes && m_txRestart)
            journal(now, "--", QByteArray(), QStringLiteral("restarting for %1 ms").arg(m_s->restartTime()));
    }
    const ssize_t n = ::write(m_master, chunk.constData(), size_t(chunk.size()));
    if (n <= 0) {
        // The program's input queue is full: try again later rather than spin.
        m_txDue = now + 1000000;
        return;
    }
    if (m_txAhead > 0)
        m_txAhead = qMax(0, m_txAhead - int(n));
    else
        m_txSent += chunk.left(int(n));
    m_tx.remove(0, int(n));
    if (!m_tx.isEmpty()) {
        // Dribbled: one byte per millisecond.
        m_txDue = m_txPaced ? m_txDue + n * charTimeNs() : now + 1000000;
        return;
    }
    m_txDribble = false;
    if (m_txRestart) {
        m_txRestart = false;
        m_drive->restart();
        m_restartUntil = now + qint64(m_s->restartTime()) * 1000000;
    }
}

void Line::readControl()
{
    char buf[512];
    ssize_t n;
    while ((n = ::read(m_controlRead, buf, sizeof buf)) > 0)
        m_control.append(buf, int(n));
    int nl;
    while ((nl = m_control.indexOf('\n')) >= 0) {
        const QString cmd = QString::fromUtf8(m_control.left(nl)).trimmed();
        m_control.remove(0, nl + 1);
        if (cmd.isEmpty())
            continue;
        if (cmd == QLatin1String("quit")) {
            m_quit = true;
            journal(nowNs(), "--", QByteArray(), QStringLiteral("control: quit"));
            continue;
        }
        QString error;
        const bool ok = applyScenarioLine(cmd, m_s, &error);
        journal(nowNs(), "--", QByteArray(), QStringLiteral("control: %1%2").arg(cmd, ok ? QString() : QStringLiteral(" (refused: %1)").arg(error)));
    }
}

int Line::run()
{
    // A drive answers in its own time whatever the PC is doing: ask for the first place among the
    // PC's processes where that is granted (the loop only ever waits in ppoll). A UART's bytes
    // leave on the dot, and the default timer slack would make every reply 50 us late.
    const sched_param lowestRealTime { 1 };
    if (sched_setscheduler(0, SCHED_FIFO, &lowestRealTime) != 0)
        setpriority(PRIO_PROCESS, 0, -20);
    prctl(PR_SET_TIMERSLACK, 1UL);
    const qint64 gap = qMax<qint64>(2000000, charTimeNs() * 7 / 2);
    while (!m_quit) {
        qint64 now = nowNs();
        qint64 wake = now + 500000000LL;
        if (!m_rx.isEmpty())
            wake = qMin(wake, m_rxLast + gap);
        if (!m_tx.isEmpty())
            wake = qMin(wake, m_txDue);
        else if (!m_queue.isEmpty())
            wake = qMin(wake, m_busyUntil);
        const qint64 wait = qMax<qint64>(0, wake - now);
        timespec ts{time_t(wait / 1000000000LL), long(wait % 1000000000LL)};
        pollfd fds[3] = {{m_master, POLLIN, 0}, {m_signals, POLLIN, 0}, {m_controlRead, POLLIN, 0}};
        const int count = m_controlRead >= 0 ? 3 : 2;
        ppoll(fds, nfds_t(count), &ts, nullptr);
        now = nowNs();
        if (fds[1].revents & POLLIN)
            break;
        if (count == 3 && (fds[2].revents & POLLIN))
            readControl();
        if (fds[0].revents & POLLIN) {
            char buf[1024];
            ssize_t n;
            while ((n = ::read(m_master, buf, sizeof buf)) > 0) {
                if (m_rx.isEmpty())
                    m_rxStart = now;
                m_rx.append(buf, int(n));
                m_rxLast = now;
                // Read late, two tries of the master come in one piece; on the line they were apart.
                while (const int first = m_wire->firstRequestLength(m_rx)) {
                    if (first >= m_rx.size())
                        break;
                    const QByteArray frame = m_rx.left(first);
                    m_rx.remove(0, first);
                    frameReceived(frame, m_rxStart);
                }
                if (m_wire->complete(m_rx)) {
                    const QByteArray frame = m_rx;
                    m_rx.clear();
                    frameReceived(frame, m_rxStart);
                }
            }
        }
        if (!m_rx.isEmpty() && now - m_rxLast >= gap) {
            const QByteArray frame = m_rx;
            m_rx.clear();
            frameReceived(frame, m_rxStart);
        }
        sendDue(nowNs());
        answerQueued(nowNs());
    }
    return 0;
}

#include "pseudoterminal.h"

#include "platform/registry.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return;
    }
    const char *name = ::ptsname(master);
    const int slave = name ? ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (slave < 0) {
        ::close(master);
        return;
    }
    // Raw at once, so nothing the far end sends before the port opens is echoed back.
    termios tio {};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    m_master = master;
    m_slave = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    waitWritten();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

int PseudoTerminal::pending() const
{
    int count = 0;
    ::ioctl(m_master, FIONREAD, &count);
    return count;
}

QByteArray PseudoTerminal::read(int count, int timeoutMs)
{
    QByteArray bytes;
    QElapsedTimer timer;
    timer.start();
    while (bytes.size() < count) {
        const int left = timeoutMs - int(timer.elapsed());
        pollfd pfd { m_master, POLLIN, 0 };
        if (left < 0 || ::poll(&pfd, 1, left) <= 0)
            break;
        char buffer[256];
        const ssize_t got = ::read(m_master, buffer, size_t(qMin<int>(int(sizeof buffer), count - bytes.size())));
        if (got <= 0)
            break;
        bytes.append(buffer, int(got));
    }
    return bytes;
}

QByteArray PseudoTerminal::readAll(int timeoutMs)
{
    pollfd pfd { m_master, POLLIN, 0 };
    if (::poll(&pfd, 1, timeoutMs) <= 0)
        return QByteArray();
    QByteArray bytes;
    while (pending() > 0) {
        char buffer[256];
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        bytes.append(buffer, int(got));
    }
    return bytes;
}

void PseudoTerminal::writeLater(const QByteArray &bytes, int delayMs, int intervalMs)
{
    waitWritten();
    const int fd = m_master;
    m_firstLateMs = m_worstLateMs = 0;
    m_writer = std::thread([this, fd, bytes, delayMs, intervalMs] {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const int chunk = intervalMs == 0 ? bytes.size() : 1;
        for (int i = 0; i < bytes.size(); i += chunk) {
            const auto due = start + std::chrono::milliseconds(delayMs + i * intervalMs);
            std::this_thread::sleep_until(due);
            (void)!::write(fd, bytes.constData() + i, size_t(chunk));
            const double late = std::chrono::duration<double, std::milli>(Clock::now() - due).count();
            if (i == 0)
                m_firstLateMs = late;
            m_worstLateMs = std::max(m_worstLateMs, late);
        }
    });
}

double PseudoTerminal::waitWritten()
{
    if (m_writer.joinable())
        m_writer.join();
    return m_firstLateMs;
}

void PseudoTerminal::registerAs(const QString &comName) const
{
    TemporaryRegistry::addPort(comName, m_slavePath);
}

TemporaryRegistry::TemporaryRegistry()
    : m_previous(qgetenv("TAVIRON_REGISTRY"))
    , m_hadPrevious(qEnvironmentVariableIsSet("TAVIRON_REGISTRY"))
{
    qputenv("TAVIRON_REGISTRY", QFile::encodeName(filePath()));
}

TemporaryRegistry::~TemporaryRegistry()
{
    if (m_hadPrevious)
        qputenv("TAVIRON_REGISTRY", m_previous);
    else
        qunsetenv("TAVIRON_REGISTRY");
}

QString TemporaryRegistry::filePath() const
{
    return m_dir.filePath(QStringLiteral("registry.ini"));
}

void TemporaryRegistry::addPort(const QString &comName, const QString &devicePath)
{
    Registry::setValue(QLatin1String(Registry::SerialCommKey), comName, comName);
    Registry::setValue(QLatin1String(Registry::PortsKey), comName, devicePath);
}

void TemporaryRegistry::addSimulatedLine(const QString &comName, const QString &settingsFile)
{
    Registry::setValue(QLatin1String(Registry::SimulatedLineKey), comName, settingsFile);
}

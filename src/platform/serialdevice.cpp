#include "platform/serialdevice.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

extern "C" {
int serialSetCustomRate(int fd, int rate);
int serialCurrentRate(int fd);
}

namespace
{

speed_t standardSpeed(int baud)
{
    switch (baud) {
    case 50:
        return B50;
    case 75:
        return B75;
    case 110:
        return B110;
    case 134:
        return B134;
    case 150:
        return B150;
    case 200:
        return B200;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 1800:
        return B1800;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        return B0;
    }
}

QString openFailure(const QString &path, int error)
{
    QString reason;
    switch (error) {
    case EACCES:
    case EPERM:
        reason = QStringLiteral("permission denied. Add your user to the dialout group "
                                "(sudo usermod -aG dialout $USER) and log in again");
        break;
    case EBUSY:
    case EWOULDBLOCK:
        reason = QStringLiteral("the port is in use by another program");
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        reason = QStringLiteral("no such device");
        break;
    case ENOTTY:
        reason = QStringLiteral("not a serial port");
        break;
    default:
        reason = QString::fromLocal8Bit(std::strerror(error));
    }
    return QStringLiteral("cannot open %1: %2").arg(path, reason);
}

// UNIX 98 pseudo-terminal slaves have majors 136 to 143.
bool isPtySlave(int fd)
{
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned int major = major(info.st_rdev);
    return major >= 136 && major <= 143;
}

} // namespace

SerialDevice::~SerialDevice()
{
    close();
}

bool SerialDevice::open(const QString &devicePath, QString *error)
{
    close();
    const QByteArray path = QFile::encodeName(devicePath);
    // Non-blocking only for the open itself, so a port waiting for carrier does not hang us.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = openFailure(devicePath, errno);
        return false;
    }
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0) {
        *error = openFailure(devicePath, errno == EINVAL ? ENOTTY : errno);
        ::close(fd);
        return false;
    }
    // flock keeps out every other program that asks, root included; TIOCEXCL keeps out plain
    // opens by ordinary users.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *error = openFailure(devicePath, errno);
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_pty = isPtySlave(fd);
    m_path = devicePath;
    m_countersKnown = false;
    return true;
}

void SerialDevice::close()
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_pty = false;
}

bool SerialDevice::duplicate(const SerialDevice &other)
{
    close();
    if (other.m_fd < 0)
        return true;
    m_fd = ::fcntl(other.m_fd, F_DUPFD_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    m_pty = other.m_pty;
    m_path = other.m_path;
    return true;
}

SerialDevice::ApplyResult SerialDevice::apply(const Line &line, QString *detail)
{
    termios tio {};
    if (::tcgetattr(m_fd, &tio) != 0) {
        *detail = QString::fromLocal8Bit(std::strerror(errno));
        return Failed;
    }
    // Binary: no echo, no signals, no character translation, no XON/XOFF on input, parity
    // errors not stripped, reads return what is queued at once.
    ::cfmakeraw(&tio);
    tio.c_cflag |= CREAD | CLOCAL;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;

    tio.c_cflag &= ~CSIZE;
    switch (line.dataBits) {
    case 5:
        tio.c_cflag |= CS5;
        break;
    case 6:
        tio.c_cflag |= CS6;
        break;
    case 7:
        tio.c_cflag |= CS7;
        break;
    default:
        tio.c_cflag |= CS8;
        break;
    }
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    tio.c_iflag &= ~INPCK;
    switch (line.parity) {
    case 'O':
        tio.c_cflag |= PARENB | PARODD;
        break;
    case 'E':
        tio.c_cflag |= PARENB;
        break;
    case 'M':
        tio.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case 'S':
        tio.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (line.parity != 'N')
        tio.c_iflag |= INPCK;
    // With 5 data bits a UART sends 1.5 stop bits when two are asked for.
    if (line.stopTenths > 10)
        tio.c_cflag |= CSTOPB;
    else
        tio.c_cflag &= ~CSTOPB;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (line.flow == FlowHardware)
        tio.c_cflag |= CRTSCTS;
    else if (line.flow == FlowXonXoff)
        tio.c_iflag |= IXON | IXOFF;

    const speed_t speed = standardSpeed(line.baud);
    if (speed != B0) {
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
    }
    // The C library reports EINVAL when the driver kept other data bits or parity than asked
    // (as a pseudo-terminal does) although everything else was set; the check below tells.
    const bool setFailed = ::tcsetattr(m_fd, TCSANOW, &tio) != 0;
    const int setError = errno;
    if (setFailed && setError != EINVAL) {
        *detail = QStringLiteral("tcsetattr: ") + QString::fromLocal8Bit(std::strerror(setError));
        return Failed;
    }
    if (speed == B0 && serialSetCustomRate(m_fd, line.baud) != 0) {
        *detail = QStringLiteral("%1 baud: %2").arg(line.baud).arg(QString::fromLocal8Bit(std::strerror(errno)));
        return Failed;
    }

    termios got {};
    ::tcgetattr(m_fd, &got);
    const tcflag_t lineBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    QStringList differences;
    if ((got.c_cflag & lineBits) != (tio.c_cflag & lineBits))
        differences << QStringLiteral("c_cflag %1 kept instead of %2")
                           .arg(got.c_cflag & lineBits, 0, 8)
                           .arg(tio.c_cflag & lineBits, 0, 8);
    const int rate = speed == B0 ? serialCurrentRate(m_fd) : int(line.baud);
    if (speed != B0 ? ::cfgetospeed(&got) != speed : rate != line.baud)
        differences << QStringLiteral("baud rate not taken");
    if (differences.isEmpty() && setFailed) {
        *detail = QStringLiteral("tcsetattr: ") + QString::fromLocal8Bit(std::strerror(setError));
        return Failed;
    }
    if (differences.isEmpty())
        return Applied;
    *detail = differences.join(QStringLiteral(", "));
    return Altered;
}

qint64 SerialDevice::queued() const
{
    int count = 0;
    if (::ioctl(m_fd, FIONREAD, &count) != 0)
        return -1;
    return count;
}

bool SerialDevice::waitReadable(qint64 timeoutNs) const
{
    if (timeoutNs <= 0)
        return queued() > 0;
    timespec until {};
    ::clock_gettime(CLOCK_MONOTONIC, &until);
    until.tv_sec += time_t(timeoutNs / 1000000000);
    until.tv_nsec += long(timeoutNs % 1000000000);
    if (until.tv_nsec >= 1000000000) {
        ++until.tv_sec;
        until.tv_nsec -= 1000000000;
    }
    for (;;) {
        timespec now {};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        qint64 left = (qint64(until.tv_sec) - now.tv_sec) * 1000000000 + (until.tv_nsec - now.tv_nsec);
        if (left <= 0)
            return false;
        pollfd p { m_fd, POLLIN, 0 };
        const timespec span { time_t(left / 1000000000), long(left % 1000000000) };
        const int ready = ::ppoll(&p, 1, &span, nullptr);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready > 0 && (p.revents & POLLIN))
            return true;
        if (ready == 0)
            return false;
        // Hung up or failed: poll would return at once for good.
        ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        return queued() > 0;
    }
}

qint64 SerialDevice::read(char *data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize) {
        const ssize_t got = ::read(m_fd, data + done, size_t(maxSize - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return done > 0 ? done : -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

qint64 SerialDevice::write(const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t put = ::write(m_fd, data + done, size_t(size - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return -1;
        done += put;
    }
    return done;
}

bool SerialDevice::drain()
{
    int result;
    do
        result = ::tcdrain(m_fd);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

void SerialDevice::discardInput()
{
    ::tcflush(m_fd, TCIFLUSH);
}

void SerialDevice::discardAll()
{
    ::tcflush(m_fd, TCIOFLUSH);
}

bool SerialDevice::setModemLine(ModemLine line, bool on)
{
    int bits = line == Dtr ? TIOCM_DTR : TIOCM_RTS;
    return ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

int SerialDevice::modemStatus(bool *ok) const
{
    int bits = 0;
    *ok = ::ioctl(m_fd, TIOCMGET, &bits) == 0;
    return *ok ? bits : 0;
}

unsigned SerialDevice::lineErrors()
{
    serial_icounter_struct counts {};
    if (::ioctl(m_fd, TIOCGICOUNT, &counts) != 0)
        return 0;
    const int now[5] = { counts.brk, counts.frame, counts.overrun, counts.parity, counts.buf_overrun };
    unsigned bits = 0;
    if (m_countersKnown) {
        for (int i = 0; i < 5; ++i)
            if (now[i] != m_counters[i])
                bits |= 1u << i;
    }
    std::copy(now, now + 5, m_counters);
    m_countersKnown = true;
    return bits;
}

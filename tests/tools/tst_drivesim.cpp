// The simulated drive checked from outside: exact frames, silence on a mismatched line, wire time,
// injected faults, the journal, and independent Modbus masters (mbpoll, pymodbus).
#include "testdirs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString scenarioFile(const QString &name) { return sourceDir() + QStringLiteral("/tools/drivesim/scenarios/") + name; }

QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

// One simulator process on a scenario made of a shipped file plus extra lines.
class Sim
{
public:
    ~Sim() { stop(); }

    bool start(const QString &base, const QString &extra = QString(), const QString &lineText = QStringLiteral("baud=9600 data=8 parity=N stop=1 flow=off"),
               bool useLineFile = true)
    {
        const QString scenario = m_dir.filePath(QStringLiteral("test.drive"));
        QFile f(scenario);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        // The frame tables here were written for these values, whatever the shipped data hold.
        f.write(QStringLiteral("include %1\nP 0 600 0..3000 1\nP 5 735 0..9999 0\n%2\n")
                    .arg(scenarioFile(base), extra)
                    .toUtf8());
        f.close();
        linePath = m_dir.filePath(QStringLiteral("line.txt"));
        if (journalPath.isEmpty())
            journalPath = m_dir.filePath(QStringLiteral("journal.txt"));
        controlPath = m_dir.filePath(QStringLiteral("control"));
        if (!lineText.isEmpty())
            setLine(lineText);
        QStringList args{scenario, QStringLiteral("--journal"), journalPath, QStringLiteral("--control"), controlPath};
        if (useLineFile)
            args << QStringLiteral("--line") << linePath;
        m_proc.start(drivesimPath(), args);
        if (!m_proc.waitForReadyRead(3000))
            return false;
        path = QString::fromLocal8Bit(m_proc.readLine()).trimmed();
        return path.startsWith(QLatin1String("/dev/"));
    }
    void setLine(const QString &text)
    {
        QFile f(linePath);
        f.open(QIODevice::WriteOnly);
        f.write(text.toLatin1() + "\n");
    }
    void control(const QString &line)
    {
        QFile f(controlPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(line.toUtf8() + "\n");
        f.close();
        QThread::msleep(30);
    }
    QStringList journal() const
    {
        QFile f(journalPath);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void stop()
    {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.terminate();
            m_proc.waitForFinished(3000);
        }
    }

    QString path, linePath, journalPath, controlPath;
    QProcess m_proc;

private:
    QTemporaryDir m_dir;
};

// The master's end of the pseudo-terminal.
class Port
{
public:
    ~Port()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool open(const QString &path, speed_t baud = B9600)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios t;
        tcgetattr(m_fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, baud);
        cfsetospeed(&t, baud);
        return tcsetattr(m_fd, TCSANOW, &t) == 0;
    }
    // Sends the request and gathers the reply until it has been quiet for settleMs or waitMs have passed.
    QByteArray exchange(const QByteArray &request, int waitMs = 300, int settleMs = 40)
    {
        tcflush(m_fd, TCIFLUSH);
        timer.start();
        if (::write(m_fd, request.constData(), size_t(request.size())) != request.size())
            return QByteArray("write failed");
        return collect(waitMs, settleMs);
    }
    // Gathers what comes until it has been quiet for settleMs or waitMs have passed since the timer's start.
    QByteArray collect(int waitMs, int settleMs = 40)
    {
        QByteArray reply;
        firstByteMs = lastByteMs = -1;
        while (timer.elapsed() < waitMs) {
            pollfd p{m_fd, POLLIN, 0};
            const int timeout = reply.isEmpty() ? int(waitMs - timer.elapsed()) : settleMs;
            if (poll(&p, 1, qMax(1, timeout)) <= 0) {
                if (!reply.isEmpty())
                    break;
                continue;
            }
            char buf[256];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0) {
                const double t = timer.nsecsElapsed() / 1e6;
                if (reply.isEmpty())
                    firstByteMs = t;
                lastByteMs = t;
                reply.append(buf, int(n));
            }
        }
        return reply;
    }
    // Sends the request and tells how many reply bytes wait atMs later (never sooner).
    int queuedAfter(const QByteArray &request, double atMs)
    {
        tcflush(m_fd, TCIOFLUSH);
        int queued = -1;
        if (::write(m_fd, request.constData(), size_t(request.size())) == request.size()) {
            QThread::usleep(ulong(atMs * 1000));
            ioctl(m_fd, FIONREAD, &queued);
        }
        return queued;
    }
    QElapsedTimer timer;
    double firstByteMs = -1, lastByteMs = -1;

private:
    int m_fd = -1;
};

// The character protocol's request, built the way a master would.
QByteArray taviron(const QByteArray &body, const QByteArray &terminator = "\r")
{
    quint8 sum = 0;
    for (char c : body)
        sum = quint8(sum + quint8(c));
    return '\x05' + body + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0') + terminator;
}

QString runTool(const QString &program, const QStringList &args, int timeoutMs = 5000)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestDrivesim : public QObject
{
    Q_OBJECT

private slots:
    void knownFrames_data();
    void knownFrames();
    void frequencyInTenthsWhenP187Is1();
    void lineStrictness_data();
    void lineStrictness();
    void wireTime_data();
    void wireTime();
    void injectedReplyFaults_data();
    void injectedReplyFaults();
    void lateAndDribbledReplies();
    void silenceAndLostLink();
    void refusals();
    void taviRONCommandsRunTheMotor();
    void mbpollReadsAndWrites();
    void mbpollRunsTheMotorAndRestart();
    void pymodbusAsciiReadsAndWrites();
    void journalRecordsEveryFrame();
    void replyJournaledBeforeItsLastByte_data();
    void replyJournaledBeforeItsLastByte();
    void runScriptRegistersThePort();
};

void TestDrivesim::knownFrames_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    const QString rtu = QStringLiteral("baud=9600 data=8 parity=N stop=1 flow=off");
    const QString ascii = QStringLiteral("baud=9600 data=7 parity=E stop=1 flow=off");
    QTest::newRow("rtu_read_P0_crc_840A") << "D-rtu.drive" << rtu << hex("01 03 00 00 00 01 84 0A") << hex("01 03 02 02 58 B8 DE");
    QTest::newRow("rtu_read_P188_station1") << "D-rtu.drive" << rtu << hex("01 03 00 BC 00 01 45 EE") << hex("01 03 02 02 08 B8 E2");
    QTest::newRow("rtu_bad_crc_silent") << "D-rtu.drive" << rtu << hex("01 03 00 BC 00 01 45 EF") << QByteArray();
    QTest::newRow("rtu_other_station_silent") << "D-rtu.drive" << rtu << hex("02 03 00 BC 00 01 45 DD") << QByteArray();
    QTest::newRow("rtu_type_code_1200h") << "D-rtu.drive" << rtu << hex("01 03 12 00 00 01 81 72") << hex("01 03 02 00 15 79 8B");
    QTest::newRow("rtu_unknown_parameter_02") << "D-rtu.drive" << rtu << hex("01 03 05 DC 00 01 45 3C") << hex("01 83 02 C0 F1");
    QTest::newRow("rtu_write_read_only_02") << "D-rtu.drive" << rtu << hex("01 06 00 5A 00 01 68 19") << hex("01 86 02 C3 A1");
    QTest::newRow("rtu_write_out_of_range_03") << "D-rtu.drive" << rtu << hex("01 06 00 4D 00 05 D9 DE") << hex("01 86 03 02 61");
    QTest::newRow("rtu_ten_registers_03") << "D-rtu.drive" << rtu << hex("01 03 00 BC 00 0A 04 29") << hex("01 83 03 01 31");
    QTest::newRow("rtu_function_10_01") << "D-rtu.drive" << rtu << hex("01 10 00 07 00 01 02 00 05 67 E4") << hex("01 90 01 8D C0");
    QTest::newRow("rtu_broadcast_write_silent") << "D-rtu.drive" << rtu << hex("00 06 00 07 00 63 79 F3") << QByteArray();
    QTest::newRow("ascii_read_P188_lrc_3F") << "D-ascii.drive" << ascii << QByteArray(":010300BC00013F\r\n") << QByteArray(":0103020208F0\r\n");
    QTest::newRow("ascii_bad_lrc_silent") << "D-ascii.drive" << ascii << QByteArray(":010300BC00013E\r\n") << QByteArray();
    QTest::newRow("ascii_FRE_012C") << "D-ascii.drive" << ascii << QByteArray(":01061002012CBA\r\n") << QByteArray(":01061002012CBA\r\n");
    QTest::newRow("taviron_read_P5_sum_F6") << "D-taviron.drive" << rtu << QByteArray("\x05" "01050F6\r") << QByteArray("\x02" "0102DF0\x03" "7D\r");
    QTest::newRow("taviron_bad_sum_NAK2") << "D-taviron.drive" << rtu << QByteArray("\x05" "01050F7\r") << QByteArray("\x15" "012\r");
    QTest::newRow("taviron_type_code_CR_inside") << "D-taviron.drive" << rtu << QByteArray("\x05" "016A007\r7C\r")
                                                 << QByteArray("\x02" "0100150\x03" "57\r");
    QTest::newRow("taviron_unknown_instruction_NAKB") << "D-taviron.drive" << rtu << taviron("01700") << QByteArray("\x15" "01B\r");
    QTest::newRow("taviron_page_read_back") << "D-taviron.drive" << rtu << taviron("017F0") << QByteArray("\x02" "0100000\x03" "51\r");
    // The bus of the 220 V drive, 310.2 V: one decimal in every protocol, the character protocol's digit too.
    QTest::newRow("rtu_bus_voltage") << "D-rtu.drive" << rtu << hex("01 03 11 04 00 01 C0 F7") << hex("01 03 02 0C 1E 3D 4C");
    QTest::newRow("ascii_bus_voltage") << "D-ascii.drive" << ascii << QByteArray(":010311040001E6\r\n") << QByteArray(":0103020C1ED0\r\n");
    QTest::newRow("taviron_bus_voltage") << "D-taviron.drive" << rtu << taviron("01680") << QByteArray("\x02" "010C1E1\x03" "7B\r");
    // Two tries read at once: the first is answered, the second finds the drive busy.
    QTest::newRow("rtu_two_tries") << "D-rtu.drive" << rtu << hex("01 03 00 BC 00 01 45 EE").repeated(2) << hex("01 03 02 02 08 B8 E2");
    QTest::newRow("ascii_two_tries") << "D-ascii.drive" << ascii << QByteArray(":010300BC00013F\r\n").repeated(2) << QByteArray(":0103020208F0\r\n");
    QTest::newRow("taviron_two_type_code_tries") << "D-taviron.drive" << rtu << QByteArray("\x05" "016A007\r7C\r").repeated(2)
                                                 << QByteArray("\x02" "0100150\x03" "57\r");
}

void TestDrivesim::knownFrames()
{
    QFETCH(QString, scenario);
    QFETCH(QString, line);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    Sim sim;
    QVERIFY(sim.start(scenario, QString(), line));
    Port port;
    QVERIFY(port.open(sim.path));
    QCOMPARE(port.exchange(request, reply.isEmpty() ? 100 : 300).toHex(' '), reply.toHex(' '));
}

// With P.187 = 1 the drive takes FRE in 0.1 Hz, as it reports frequencies: 600 reads back as 60.0 Hz.
void TestDrivesim::frequencyInTenthsWhenP187Is1()
{
    Sim sim;
    QVERIFY(sim.start("A-rtu.drive", "set 187 1", "baud=19200 data=8 parity=E stop=1 flow=off"));
    Port port;
    QVERIFY(port.open(sim.path));
    QCOMPARE(port.exchange(hex("01 06 10 02 02 58 2C 50")), hex("01 06 10 02 02 58 2C 50")); // FRE 600
    QCOMPARE(port.exchange(hex("01 03 10 02 00 01 21 0A")), hex("01 03 02 02 58 B8 DE"));    // M3R: 600
    QCOMPARE(port.exchange(hex("01 06 10 02 04 B1 EE 7E")), hex("01 86 03 02 61"));          // FRE 1201: above 120.0 Hz
}

void TestDrivesim::lineStrictness_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("line"); // "pty": judged from the pseudo-terminal alone; "": no settings file
    QTest::addColumn<int>("ptyBaud");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("answers");
    const QByteArray rtuRead = hex("01 03 00 BC 00 01 45 EE");
    const QByteArray zrRead = QByteArray("\x05" "01050F6\r");
    QTest::newRow("rtu_matching") << "D-rtu.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600 << rtuRead << true;
    QTest::newRow("rtu_even_parity") << "D-rtu.drive" << "baud=9600 data=8 parity=E stop=1 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("rtu_odd_parity") << "D-rtu.drive" << "baud=9600 data=8 parity=O stop=1 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("rtu_seven_bits") << "D-rtu.drive" << "baud=9600 data=7 parity=N stop=1 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("rtu_two_stop_bits") << "D-rtu.drive" << "baud=9600 data=8 parity=N stop=2 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("rtu_other_baud_reported") << "D-rtu.drive" << "baud=19200 data=8 parity=N stop=1 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("rtu_port_not_configured") << "D-rtu.drive" << "" << 9600 << rtuRead << false;
    QTest::newRow("rtu_pty_matching_baud") << "D-rtu.drive" << "pty" << 9600 << rtuRead << true;
    QTest::newRow("rtu_pty_other_baud") << "D-rtu.drive" << "pty" << 19200 << rtuRead << false;
    QTest::newRow("rtu_frame_to_ascii_drive") << "D-ascii.drive" << "baud=9600 data=7 parity=E stop=1 flow=off" << 9600 << rtuRead << false;
    QTest::newRow("ascii_seven_even") << "D-ascii.drive" << "baud=9600 data=7 parity=E stop=1 flow=off" << 9600
                                      << QByteArray(":010300BC00013F\r\n") << true;
    QTest::newRow("ascii_eight_none") << "D-ascii.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600
                                      << QByteArray(":010300BC00013F\r\n") << false;
    QTest::newRow("taviron_cr") << "D-taviron.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600 << zrRead << true;
    QTest::newRow("taviron_crlf_to_cr_drive") << "D-taviron.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600
                                              << QByteArray("\x05" "01050F6\r\n") << false;
    QTest::newRow("taviron_no_terminator_to_cr_drive") << "D-taviron.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600
                                                       << QByteArray("\x05" "01050F6") << false;
    QTest::newRow("taviron_other_station") << "D-taviron.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << 9600
                                           << taviron("02050") << false;
    QTest::newRow("taviron_crlf_drive") << "A-taviron.drive" << "baud=19200 data=8 parity=E stop=1 flow=off" << 19200
                                        << taviron("01050", "\r\n") << true;
}

void TestDrivesim::lineStrictness()
{
    QFETCH(QString, scenario);
    QFETCH(QString, line);
    QFETCH(int, ptyBaud);
    QFETCH(QByteArray, request);
    QFETCH(bool, answers);
    Sim sim;
    QVERIFY(sim.start(scenario, QString(), line == QLatin1String("pty") ? QString() : line, line != QLatin1String("pty")));
    Port port;
    QVERIFY(port.open(sim.path, ptyBaud == 19200 ? B19200 : B9600));
    QCOMPARE(!port.exchange(request, answers ? 300 : 100).isEmpty(), answers);
    if (!answers)
        QVERIFY(sim.journal().last().contains(QLatin1String("silent")));
}

void TestDrivesim::wireTime_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<double>("expectedMs");
    // (request + reply characters) x bits per character / baud + 2 ms turnaround
    QTest::newRow("rtu_9600_8N1") << "D-rtu.drive" << "baud=9600 data=8 parity=N stop=1 flow=off" << hex("01 03 00 BC 00 01 45 EE")
                                  << (8 + 7) * 10 * 1000.0 / 9600 + 2;
    QTest::newRow("rtu_19200_8E1") << "A-rtu.drive" << "baud=19200 data=8 parity=E stop=1 flow=off" << hex("01 03 00 BC 00 01 45 EE")
                                   << (8 + 7) * 11 * 1000.0 / 19200 + 2;
    QTest::newRow("ascii_9600_7E1") << "D-ascii.drive" << "baud=9600 data=7 parity=E stop=1 flow=off"
                                    << QByteArray(":010300BC00013F\r\n") << (17 + 15) * 10 * 1000.0 / 9600 + 2;
    QTest::newRow("taviron_9600_7E2") << "S-taviron.drive" << "baud=9600 data=7 parity=E stop=2 flow=off"
                                      << QByteArray("\x05" "01050F6\r") << (9 + 12) * 11 * 1000.0 / 9600 + 2;
    // Paced: the same last byte, each one before it a character earlier.
    QTest::newRow("rtu_9600_8N1_paced") << "D-rtu.drive\nreply paced" << "baud=9600 data=8 parity=N stop=1 flow=off"
                                        << hex("01 03 00 BC 00 01 45 EE") << (8 + 7) * 10 * 1000.0 / 9600 + 2;
    QTest::newRow("ascii_9600_7E1_paced") << "D-ascii.drive\nreply paced" << "baud=9600 data=7 parity=E stop=1 flow=off"
                                          << QByteArray(":010300BC00013F\r\n") << (17 + 15) * 10 * 1000.0 / 9600 + 2;
}

void TestDrivesim::wireTime()
{
    QFETCH(QString, scenario);
    QFETCH(QString, line);
    QFETCH(QByteArray, request);
    QFETCH(double, expectedMs);
    Sim sim;
    QVERIFY(sim.start(scenario.section('\n', 0, 0), scenario.section('\n', 1), line));
    Port port;
    QVERIFY(port.open(sim.path));
    const QByteArray reply = port.exchange(request);
    QVERIFY(!reply.isEmpty());
    // Never early; late only by scheduling (the suite runs tests side by side).
    QVERIFY2(port.lastByteMs >= expectedMs - 0.5 && port.lastByteMs <= expectedMs + 15,
             qPrintable(QStringLiteral("reply after %1 ms, expected %2 ms").arg(port.lastByteMs).arg(expectedMs)));
    // Paced, the first bytes are in well before the last is due; a late look only finds more.
    const double character = (expectedMs - 2) / (request.size() + reply.size());
    if (scenario.endsWith(QLatin1String("paced")))
        QVERIFY(port.queuedAfter(request, expectedMs - 2 * character) > 0);
    QVERIFY(port.firstByteMs >= expectedMs - (reply.size() - 1) * character - 0.5);
    // The journal stamps agree with what the master saw.
    const QStringList j = sim.journal();
    const double rx = j.at(0).section(QLatin1Char(' '), 0, 0).toDouble();
    const double tx = j.at(1).section(QLatin1Char(' '), 0, 0).toDouble();
    QVERIFY(j.at(0).contains(QLatin1String(" RX ")) && j.at(1).contains(QLatin1String(" TX ")));
    QVERIFY2((tx - rx) * 1000 >= expectedMs - 0.1 && (tx - rx) * 1000 <= expectedMs + 10, qPrintable(j.join(QLatin1Char('\n'))));
}

void TestDrivesim::injectedReplyFaults_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("faulty");
    QTest::addColumn<QByteArray>("normal");
    const QString rtu = QStringLiteral("baud=9600 data=8 parity=N stop=1 flow=off");
    const QByteArray read188 = hex("01 03 00 BC 00 01 45 EE");
    const QByteArray good = hex("01 03 02 02 08 B8 E2");
    QTest::newRow("rtu_bad_crc") << "D-rtu.drive" << rtu << "fault bad-check" << read188 << hex("01 03 02 02 08 B8 B8") << good;
    QTest::newRow("rtu_short") << "D-rtu.drive" << rtu << "fault short" << read188 << hex("01 03 02 02 08 B8") << good;
    QTest::newRow("rtu_long") << "D-rtu.drive" << rtu << "fault long" << read188 << hex("01 03 02 02 08 B8 E2 FF") << good;
    QTest::newRow("ascii_bad_lrc") << "D-ascii.drive" << "baud=9600 data=7 parity=E stop=1 flow=off" << "fault bad-check"
                                   << QByteArray(":010300BC00013F\r\n") << QByteArray(":0103020208F1\r\n") << QByteArray(":0103020208F0\r\n");
    QTest::newRow("taviron_bad_sum") << "D-taviron.drive" << rtu << "fault bad-check" << QByteArray("\x05" "01050F6\r")
                                     << QByteArray("\x02" "0102DF0\x03" "7E\r") << QByteArray("\x02" "0102DF0\x03" "7D\r");
    QTest::newRow("taviron_short") << "D-taviron.drive" << rtu << "fault short" << QByteArray("\x05" "01050F6\r")
                                   << QByteArray("\x02" "0102DF0\x03" "7D") << QByteArray("\x02" "0102DF0\x03" "7D\r");
}

void TestDrivesim::injectedReplyFaults()
{
    QFETCH(QString, scenario);
    QFETCH(QString, line);
    QFETCH(QString, fault);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, faulty);
    QFETCH(QByteArray, normal);
    Sim sim;
    QVERIFY(sim.start(scenario, fault, line));
    Port port;
    QVERIFY(port.open(sim.path));
    QCOMPARE(port.exchange(request).toHex(' '), faulty.toHex(' '));
    QCOMPARE(port.exchange(request).toHex(' '), normal.toHex(' ')); // a fault counts one reply by default
}

void TestDrivesim::lateAndDribbledReplies()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-rtu.drive"), QStringLiteral("fault late 1 120\nfault dribble 1")));
    Port port;
    QVERIFY(port.open(sim.path));
    const double normalMs = 15 * 10 * 1000.0 / 9600 + 2;
    QCOMPARE(port.exchange(hex("01 03 00 BC 00 01 45 EE"), 400).toHex(' '), hex("01 03 02 02 08 B8 E2").toHex(' '));
    QVERIFY2(port.firstByteMs >= normalMs + 119, qPrintable(QString::number(port.firstByteMs)));
    // One journal line per dribbled byte, a millisecond apart on the drive's clock.
    const QStringList sent = sim.journal().filter(QLatin1String(" TX "));
    QCOMPARE(sent.size(), 7);
    QVERIFY2(sent.last().section(' ', 0, 0).toDouble() - sent.first().section(' ', 0, 0).toDouble() >= 0.0055, qPrintable(sent.join('\n')));
}

void TestDrivesim::silenceAndLostLink()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-rtu.drive"), QStringLiteral("fault silent-first 2")));
    Port port;
    QVERIFY(port.open(sim.path));
    const QByteArray read188 = hex("01 03 00 BC 00 01 45 EE");
    QVERIFY(port.exchange(read188, 100).isEmpty());
    QVERIFY(port.exchange(read188, 100).isEmpty());
    QVERIFY(!port.exchange(read188).isEmpty());
    sim.control(QStringLiteral("fault link-lost"));
    QVERIFY(port.exchange(read188, 100).isEmpty());
    QVERIFY(port.exchange(read188, 100).isEmpty());
    sim.control(QStringLiteral("clear"));
    QVERIFY(!port.exchange(read188).isEmpty());
    // A broadcast reset gets no reply, yet the drive restarts and stays quiet meanwhile.
    QVERIFY(port.exchange(hex("00 06 13 00 09 97 CB 61"), 100).isEmpty());
    QVERIFY(port.exchange(read188, 100).isEmpty());
    QVERIFY(sim.journal().join(QLatin1Char('\n')).contains(QLatin1String("silent: restarting")));
}

void TestDrivesim::refusals()
{
    Sim rtu;
    QVERIFY(rtu.start(QStringLiteral("D-rtu.drive"), QStringLiteral("refuse param 7")));
    Port port;
    QVERIFY(port.open(rtu.path));
    QCOMPARE(port.exchange(hex("01 03 00 07 00 01 35 CB")).toHex(' '), hex("01 83 03 01 31").toHex(' '));
    rtu.control(QStringLiteral("clear"));
    QCOMPARE(port.exchange(hex("01 03 00 07 00 01 35 CB")).size(), 7);

    Sim zr;
    QVERIFY(zr.start(QStringLiteral("D-taviron.drive"), QStringLiteral("refuse page 1\nrefuse param 5 write")));
    Port zport;
    QVERIFY(zport.open(zr.path));
    QCOMPARE(zport.exchange(taviron("01FF00001")), QByteArray("\x15" "01C\r"));
    QCOMPARE(zport.exchange(taviron("01FF00000")), QByteArray("\x06" "01\r"));
    QCOMPARE(zport.exchange(taviron("018500001")), QByteArray("\x15" "01C\r"));
    QCOMPARE(zport.exchange(taviron("01050")).left(1), QByteArray("\x02"));
}

void TestDrivesim::taviRONCommandsRunTheMotor()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-taviron.drive"), QStringLiteral("restart-ms 300")));
    Port port;
    QVERIFY(port.open(sim.path));
    const QByteArray ack("\x06" "01\r");
    QCOMPARE(port.exchange(taviron("01FB00000")), ack); // CU0
    QCOMPARE(port.exchange(taviron("01ED01388")), ack); // FRE 50.00 Hz
    QCOMPARE(port.exchange(taviron("01FA00002")), ack); // FWD
    QThread::msleep(500);
    const QByteArray freq = port.exchange(taviron("01640")); // M0R, output frequency
    QCOMPARE(freq.mid(7, 1), QByteArray("2"));
    const int hz100 = freq.mid(3, 4).toInt(nullptr, 16);
    QVERIFY2(hz100 >= 450 && hz100 <= 1000, qPrintable(QString::number(hz100))); // 10 Hz/s for at least half a second
    QVERIFY(port.exchange(taviron("01660")).mid(3, 4).toInt(nullptr, 16) > 0); // M2R, current follows
    QCOMPARE(port.exchange(taviron("017A0")).mid(3, 4), QByteArray("0003")); // STA: running, forward
    QCOMPARE(port.exchange(taviron("017B0")).mid(3, 4), QByteArray("0000")); // MOD: CU
    QCOMPARE(port.exchange(taviron("01FB00001")), QByteArray("\x15" "01A\r")); // no mode change while running
    QCOMPARE(port.exchange(taviron("01FA00000")), ack);                        // STO
    QCOMPARE(port.exchange(taviron("01FC00997")), ack);                        // 997: reset, then quiet
    QVERIFY(port.exchange(taviron("01050"), 150).isEmpty());
    QThread::msleep(250);
    QCOMPARE(port.exchange(taviron("01640")).mid(3, 4), QByteArray("0000")); // back, motor stopped
}

void TestDrivesim::mbpollReadsAndWrites()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-rtu.drive"), QString(), QString(), false));
    const QStringList base{"-m", "rtu", "-a", "1", "-b", "9600", "-d", "8", "-P", "none", "-s", "1", "-0", "-1", "-o", "0.3"};
    QString out = runTool(QStringLiteral("mbpoll"), base + QStringList{"-r", "188", "-c", "2", sim.path});
    QVERIFY2(out.contains(QLatin1String("[188]: \t520")) && out.contains(QLatin1String("[189]: \t0")), qPrintable(out));
    out = runTool(QStringLiteral("mbpoll"), base + QStringList{"-r", "7", sim.path, "123"});
    QVERIFY2(out.contains(QLatin1String("Written 1 references")), qPrintable(out));
    out = runTool(QStringLiteral("mbpoll"), base + QStringList{"-r", "7", sim.path});
    QVERIFY2(out.contains(QLatin1String("[7]: \t123")), qPrintable(out));
    out = runTool(QStringLiteral("mbpoll"), base + QStringList{"-a", "5", "-r", "7", sim.path});
    QVERIFY2(!out.contains(QLatin1String("[7]:")), qPrintable(out)); // another station: no answer
}

void TestDrivesim::mbpollRunsTheMotorAndRestart()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-rtu.drive"), QStringLiteral("restart-ms 400"), QString(), false));
    const QStringList base{"-m", "rtu", "-a", "1", "-b", "9600", "-P", "none", "-0", "-1", "-o", "0.2"};
    auto write = [&](const char *reg, const char *value) {
        return runTool(QStringLiteral("mbpoll"), base + QStringList{"-r", reg, sim.path, value});
    };
    auto read = [&](const char *reg) { return runTool(QStringLiteral("mbpoll"), base + QStringList{"-r", reg, sim.path}); };
    QVERIFY(write("0x1000", "0").contains(QLatin1String("Written")));    // CU0
    QVERIFY(write("0x1002", "3000").contains(QLatin1String("Written"))); // FRE 30.00 Hz
    QVERIFY(write("0x1001", "4").contains(QLatin1String("Written")));    // REV
    QThread::msleep(400);
    const QString status = read("0x1001");
    QVERIFY2(status.contains(QLatin1String("\t5\n")), qPrintable(status)); // running, reverse
    QString out = read("0x1100");
    const int hz100 = out.section(QLatin1Char('\t'), 1).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
    QVERIFY2(hz100 >= 350 && hz100 < 3000, qPrintable(out)); // still ramping toward 30 Hz
    QVERIFY(write("0x1300", "0x0998").contains(QLatin1String("Written"))); // all parameters to initial value, restart
    QVERIFY(!read("7").contains(QLatin1String("[7]:")));
    QThread::msleep(450);
    QVERIFY(read("0x1100").contains(QLatin1String("\t0")));
}

void TestDrivesim::pymodbusAsciiReadsAndWrites()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-ascii.drive"), QString(), QStringLiteral("baud=9600 data=7 parity=E stop=1 flow=off")));
    const QString script = sourceDir() + QStringLiteral("/tests/tools/modbus_ascii_master.py");
    const QString out = runTool(QStringLiteral("/usr/bin/python3"),
                                {script, sim.path, "9600", "7", "E", "1", "1", "read", "188", "2", "write", "7", "120", "read", "7", "1",
                                 "read", "1500", "1", "write", "77", "5", "read", "0x1200", "1"},
                                15000);
    QCOMPARE(out, QStringLiteral("read 188: 520 0\nwrite 7: ok\nread 7: 120\nread 1500: exception 2\nwrite 77: exception 3\nread 4608: 21\n"));
}

void TestDrivesim::journalRecordsEveryFrame()
{
    Sim sim;
    QVERIFY(sim.start(QStringLiteral("D-rtu.drive")));
    Port port;
    QVERIFY(port.open(sim.path));
    const QByteArray requests[] = {hex("01 03 00 BC 00 01 45 EE"), hex("01 03 00 BC 00 01 45 EF"), hex("01 03 00 00 00 01 84 0A")};
    for (const QByteArray &r : requests)
        port.exchange(r, 150);
    const QStringList j = sim.journal();
    QCOMPARE(j.size(), 6);
    QVERIFY(j.at(0).contains(QLatin1String(" RX 01 03 00 BC 00 01 45 EE")));
    QVERIFY(j.at(1).contains(QLatin1String(" TX 01 03 02 02 08 B8 E2")));
    QVERIFY(j.at(2).contains(QLatin1String(" RX 01 03 00 BC 00 01 45 EF")));
    QVERIFY(j.at(3).contains(QLatin1String("-- silent: bad CRC")));
    QVERIFY(j.at(4).contains(QLatin1String(" RX 01 03 00 00 00 01 84 0A")));
    QVERIFY(j.at(5).contains(QLatin1String(" TX 01 03 02 02 58 B8 DE")));
    double previous = 0;
    for (const QString &l : j) {
        bool ok = false;
        const double t = l.section(QLatin1Char(' '), 0, 0).toDouble(&ok);
        QVERIFY(ok && t >= previous);
        previous = t;
    }
    // Stamps are the monotonic clock the tests also read.
    QElapsedTimer now;
    now.start();
    QVERIFY(qAbs(now.msecsSinceReference() / 1000.0 - previous) < 5);
}

void TestDrivesim::replyJournaledBeforeItsLastByte_data()
{
    QTest::addColumn<QString>("extra");
    QTest::newRow("whole") << QString();
    QTest::newRow("paced") << QStringLiteral("reply paced");
}

// A test reads the journal as soon as the program has a reply, so the reply's line must be there by then.
// The journal is a pipe left room for the request's line only: the reply's line waits, and so must its last byte.
void TestDrivesim::replyJournaledBeforeItsLastByte()
{
    QFETCH(QString, extra);
    const QByteArray request = hex("01 03 00 BC 00 01 45 EE"), reply = hex("01 03 02 02 08 B8 E2");
    QTemporaryDir dir;
    Sim sim;
    sim.journalPath = dir.filePath(QStringLiteral("journal"));
    const QByteArray fifo = QFile::encodeName(sim.journalPath);
    QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
    // Closed first, so a drive stuck on a full pipe dies of SIGPIPE rather than outlive the test.
    struct Fds {
        int reader, filler;
        int queued() const
        {
            int n = -1;
            ioctl(reader, FIONREAD, &n);
            return n;
        }
        ~Fds() { ::close(reader), ::close(filler); }
    } fds{::open(fifo.constData(), O_RDONLY | O_NONBLOCK), ::open(fifo.constData(), O_WRONLY | O_NONBLOCK)};
    QVERIFY(fds.reader >= 0 && fds.filler >= 0);
    // Every buffer of the pipe full, the last but for the request's line (its stamp one digit longer at most).
    const QByteArray page(int(sysconf(_SC_PAGESIZE)), '#');
    while (::write(fds.filler, page.constData(), size_t(page.size())) == page.size()) {
    }
    QByteArray taken(page.size(), 0);
    QCOMPARE(::read(fds.reader, taken.data(), size_t(taken.size())), ssize_t(page.size()));
    const QByteArray rxLine = " RX " + request.toHex(' ').toUpper() + '\n';
    QElapsedTimer clock;
    clock.start();
    const int room = QByteArray::number(clock.msecsSinceReference() / 1000.0, 'f', 6).size() + 1 + rxLine.size();
    QCOMPARE(::write(fds.filler, page.constData(), size_t(page.size() - room)), ssize_t(page.size() - room));
    const int filled = fds.queued();

    QVERIFY(sim.start(QStringLiteral("D-rtu.drive"), extra));
    Port port;
    QVERIFY(port.open(sim.path));
    const QByteArray early = port.exchange(request, 300);
    QVERIFY2(early.size() < reply.size(), early.toHex(' ').constData());
    QTRY_VERIFY(fds.queued() > filled);
    const int queued = fds.queued();
    QByteArray gated(queued, 0);
    QCOMPARE(::read(fds.reader, gated.data(), size_t(queued)), ssize_t(queued));
    QVERIFY2(gated.endsWith(rxLine), gated.right(80).constData());

    QCOMPARE((early + port.collect(int(port.timer.elapsed()) + 1000)).toHex(' '), reply.toHex(' '));
    char buf[512];
    const ssize_t n = ::read(fds.reader, buf, sizeof buf);
    const QByteArray after(buf, int(qMax<ssize_t>(0, n)));
    QVERIFY2(after.contains(" TX " + reply.toHex(' ').toUpper() + " | "), after.constData());
}

void TestDrivesim::runScriptRegistersThePort()
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::link(drivesimPath(), bin + QStringLiteral("/drivesim")));
    QVERIFY(QFile::link(binDir() + QStringLiteral("/ParameterInforamtion"), bin + QStringLiteral("/ParameterInforamtion")));
    // A stand-in for the program: records the registry as it finds it, then talks to the listed port.
    const QString fake = bin + QStringLiteral("/TavironINV");
    QFile f(fake);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\ncp \"$TAVIRON_REGISTRY\" \"$TAVIRON_REGISTRY.seen\"\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString registry = dir.filePath(QStringLiteral("registry.ini"));
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVIRON_REGISTRY"), registry);
    run.setProcessEnvironment(env);
    run.start(sourceDir() + QStringLiteral("/scripts/with-simulator.sh"), {bin});
    QVERIFY(run.waitForFinished(10000));
    QCOMPARE(run.exitCode(), 0);

    QSettings seen(registry + QStringLiteral(".seen"), QSettings::IniFormat);
    const QString list = QStringLiteral("HKEY_LOCAL_MACHINE/HARDWARE/DEVICEMAP/SERIALCOMM/");
    seen.beginGroup(list);
    const QStringList names = seen.childKeys();
    seen.endGroup();
    QCOMPARE(names.size(), 1);
    const QString com = names.first();
    QCOMPARE(seen.value(list + com).toString(), com);
    QVERIFY(seen.value(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/Ports/") + com).toString().startsWith(QLatin1String("/dev/pts/")));
    QVERIFY(!seen.value(QStringLiteral("HKEY_LOCAL_MACHINE/SOFTWARE/TavironINV/SimulatedLine/") + com).toString().isEmpty());
    // The simulator takes its entries away when it ends.
    QSettings after(registry, QSettings::IniFormat);
    QVERIFY(!after.contains(list + com));
}

QTEST_GUILESS_MAIN(TestDrivesim)
#include "tst_drivesim.moc"

#pragma once

// The simulated drive as the end-to-end tests run it: a drivesim process on a pseudo-terminal
// listed as COM9, its journal of what went over the line, its control file, and the program's
// port and protocol object on the near end.

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "connection/search.h"
#include "comm/win_qextserialport.h"
#include "linkstate.h"
#include "shell/appglobals.h"
#include "testdirs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

// One frame of the journal, with its time in seconds and its bytes as the journal writes them.
struct JournalFrame {
    double at;
    QByteArray bytes;
    QString hex;
    bool received = true; // RX: sent by the program
};

// The lines of the shipped scenarios: 0 Modbus RTU (series A), 1 Modbus ASCII (series S), 2 the
// character protocol (series D). A pseudo-terminal drains a request at once, where a real line
// spends its wire time before the receive window opens; at the shipped rates the simulated reply
// lands at or after the window's end. At 115200 baud it lands well inside.
struct ShippedLine {
    const char *scenario;
    int protocol;
    BaudRateType baud;
    DataBitsType data;
    ParityType parity;
    StopBitsType stop;
    int crLfMode;
};

inline const ShippedLine &shippedLine(int index)
{
    static const ShippedLine lines[] = {
        { "A-rtu.drive", 1, BAUD115200, DATA_8, PAR_EVEN, STOP_1, 1 },
        { "S-ascii.drive", 2, BAUD115200, DATA_7, PAR_NONE, STOP_2, 2 },
        { "D-taviron.drive", 0, BAUD115200, DATA_8, PAR_NONE, STOP_1, 1 },
    };
    return lines[index];
}

// False for a line other than TAVIRON_ONLY_LINE names, when it names one: CI's thread-sanitizer run
// takes one line's rows of the longest tables, the threads being the same under every protocol.
inline bool lineWanted(int line)
{
    const QByteArray only = qgetenv("TAVIRON_ONLY_LINE");
    return only.isEmpty() || only.toInt() == line;
}

// One data row a shipped line, in a column "line".
inline void shippedLineRows()
{
    QTest::addColumn<int>("line");
    QTest::newRow("modbus_rtu") << 0;
    QTest::newRow("modbus_ascii") << 1;
    QTest::newRow("taviron") << 2;
}

// What a Modbus master that keeps the rules cannot beat over the journal's frames in [from, to)
// seconds: every byte at the line's rate, the drive's turnaround per reply, 3.5 characters of
// silence (1.75 ms above 19200 baud) before each request but the first (`periodic`: each).
inline double lineLimit(const QList<JournalFrame> &frames, double from, double to, int bitsPerChar, int baud,
                        bool periodic, double turnaround = 0.002)
{
    const double character = double(bitsPerChar) / baud;
    double limit = 0;
    int requests = periodic ? 0 : -1;
    for (const JournalFrame &f : frames)
        if (f.at >= from && f.at < to) {
            limit += f.bytes.size() * character + (f.received ? 0 : turnaround);
            requests += f.received;
        }
    return limit + qMax(0, requests) * (baud > 19200 ? 0.00175 : 3.5 * character);
}

class SimulatedDrive {
public:
    explicit SimulatedDrive(const QString &comName = QStringLiteral("COM9")) : m_comName(comName) {}
    ~SimulatedDrive() { stop(); }

    bool isValid() const { return m_dir.isValid(); }

    // Starts the drive on a scenario's text; true once it has listed its port. The drive reads the
    // program folder's command table, so g_appDir must be set.
    bool start(const QString &scenario)
    {
        stop();
        const QString file = m_dir.filePath(QStringLiteral("test.drive"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(scenario.toUtf8());
        f.close();
        QFile::remove(journalPath());
        m_sim.start(drivesimPath(), { file, QStringLiteral("--journal"), journalPath(), QStringLiteral("--control"),
                                      controlPath(), QStringLiteral("--register"), m_comName,
                                      QStringLiteral("--fnc"),
                                      g_appDir + QStringLiteral("ParameterInforamtion/InvType/FNC.txt") });
        // The slave path, then the COM name once the port is listed.
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.count('\n') < 2 && timer.elapsed() < 5000) {
            m_sim.waitForReadyRead(100);
            out += m_sim.readAllStandardOutput();
        }
        return out.contains(m_comName.toLatin1());
    }

    // A shipped scenario of tools/drivesim/scenarios with further lines after it.
    bool startShipped(const QString &name, const QString &extra = QString())
    {
        return start(QStringLiteral("include %1/tools/drivesim/scenarios/%2\n%3\n").arg(sourceDir(), name, extra));
    }

    // A drive of the series with the shipped parameters of that series and the lines for protocol,
    // line and station.
    bool startSeries(const QString &settings, const QString &series = QStringLiteral("D"))
    {
        return start(QStringLiteral("series %1\ninclude %2/tools/drivesim/scenarios/%1.params\n%3\n")
                         .arg(series, sourceDir(), settings));
    }

    // The drive of a shipped line at 115200 baud with further scenario lines, connected with the
    // line's settings and terminator.
    bool startLine(int index, const QString &extra = QString())
    {
        const ShippedLine &l = shippedLine(index);
        if (!startShipped(QLatin1String(l.scenario), QStringLiteral("baud 115200\n") + extra)
            || !connect(l.protocol, l.baud, l.data, l.parity, l.stop))
            return false;
        g_crLfMode = l.crLfMode;
        return true;
    }

    // Opens the drive's port as g_serialPort and makes an object of the protocol index g_readWrite.
    bool connect(int protocol, BaudRateType baud, DataBitsType data, ParityType parity, StopBitsType stop)
    {
        disconnect();
        m_port = openTestPort(m_comName, baud, data, parity, stop);
        if (!m_port)
            return false;
        g_serialPort = m_port.get();
        m_rw.reset(createProtocolObject(protocol));
        g_readWrite = m_rw.get();
        return true;
    }

    ReadWrite *readWrite() const { return m_rw.get(); }

    // Leaves the program's own port and object alone when the drive was never connected.
    void disconnect()
    {
        if (!m_port && !m_rw)
            return;
        g_readWrite = nullptr;
        m_rw.reset();
        g_serialPort = nullptr;
        m_port.reset();
    }

    void stop()
    {
        disconnect();
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(3000);
        }
    }

    // A line for the drive's control file; true once the drive has journaled taking it. The wait
    // processes no events, as the program's timers must not run meanwhile.
    bool control(const QString &line) const
    {
        const QString command = line.trimmed().section(QLatin1Char('\n'), -1).trimmed();
        const QLatin1String mark(" control: ");
        const auto count = [&] {
            int n = 0;
            for (const QString &l : journal()) {
                const int at = l.indexOf(mark);
                const QString taken = at < 0 ? QString() : l.mid(at + mark.size());
                n += at >= 0 && (taken == command || taken.startsWith(command + QStringLiteral(" (refused")));
            }
            return n;
        };
        const int before = count();
        QFile f(controlPath());
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(line.toUtf8() + "\n");
        f.close();
        QThread::msleep(40);
        QElapsedTimer waited;
        waited.start();
        while (count() == before && waited.elapsed() < 5000)
            QThread::msleep(2);
        return count() > before;
    }

    QString journalPath() const { return m_dir.filePath(QStringLiteral("journal.txt")); }
    QString controlPath() const { return m_dir.filePath(QStringLiteral("control")); }

    // The journal's lines ("RX"/"TX" with time stamps).
    QStringList journal() const
    {
        QFile f(journalPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Every frame of the journal, both ways.
    QList<JournalFrame> frames() const { return framesOf(journal()); }

    // The frames the drive took after the journal's last line that holds `note`.
    QList<JournalFrame> receivedAfter(const QString &note) const
    {
        const QStringList lines = journal();
        int from = lines.size();
        while (from > 0 && !lines.at(from - 1).contains(note))
            --from;
        QList<JournalFrame> out;
        for (const JournalFrame &frame : framesOf(from > 0 ? lines.mid(from) : QStringList()))
            if (frame.received)
                out << frame;
        return out;
    }

    static QList<JournalFrame> framesOf(const QStringList &lines)
    {
        QList<JournalFrame> out;
        for (const QString &line : lines) {
            const QStringList parts = line.split(QLatin1Char(' '));
            const QString way = parts.value(1);
            if (way != QLatin1String("RX") && way != QLatin1String("TX"))
                continue;
            const QString hex = line.section(QLatin1Char(' '), 2).section(QLatin1String(" |"), 0, 0);
            out.append({ parts.at(0).toDouble(), QByteArray::fromHex(hex.toLatin1()), hex, way == QLatin1String("RX") });
        }
        return out;
    }

    // The frames the drive took.
    QList<JournalFrame> received() const
    {
        QList<JournalFrame> out;
        for (const JournalFrame &frame : frames())
            if (frame.received)
                out << frame;
        return out;
    }

    // The requests the drive took before its first reply.
    QList<JournalFrame> probesBeforeAnswer() const
    {
        QList<JournalFrame> out;
        for (const JournalFrame &frame : frames()) {
            if (!frame.received)
                break;
            out << frame;
        }
        return out;
    }

    // The journal's beginning as text, for failure messages.
    QString journalHead() const
    {
        QFile file(journalPath());
        file.open(QIODevice::ReadOnly);
        return QString::fromLatin1(file.readAll().left(1500));
    }

private:
    QString m_comName;
    QTemporaryDir m_dir;
    QProcess m_sim;
    std::unique_ptr<Win_QextSerialPort> m_port;
    std::unique_ptr<ReadWrite> m_rw;
};

#pragma once

// The simulated drive as the end-to-end tests run it: a drivesim process on a pseudo-terminal
// listed as COM9, its journal of what went over the line, its control file, and the program's
// port and protocol object on the near end.

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/search.h"
#include "comm/win_qextserialport.h"
#include "shell/appglobals.h"
#include "testdirs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

// One frame the drive took, with its time in seconds and its bytes as the journal writes them.
struct JournalFrame {
    double at;
    QByteArray bytes;
    QString hex;
};

class SimulatedDrive {
public:
    ~SimulatedDrive() { stop(); }

    bool isValid() const { return m_dir.isValid(); }

    // Starts the drive on a scenario's text; true once it has listed COM9. The drive reads the
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
                                      controlPath(), QStringLiteral("--register"), QStringLiteral("COM9"),
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
        return out.contains("COM9");
    }

    // A shipped scenario of tools/drivesim/scenarios with further lines after it.
    bool startShipped(const QString &name, const QString &extra = QString())
    {
        return start(QStringLiteral("include %1/tools/drivesim/scenarios/%2\n%3\n").arg(sourceDir(), name, extra));
    }

    // Opens COM9 as g_serialPort and makes an object of the protocol index g_readWrite.
    bool connect(int protocol, BaudRateType baud, DataBitsType data, ParityType parity, StopBitsType stop)
    {
        disconnect();
        m_port.reset(new Win_QextSerialPort());
        m_port->setPortName(QStringLiteral("COM9"));
        m_port->setBaudRate(baud);
        m_port->setDataBits(data);
        m_port->setParity(parity);
        m_port->setStopBits(stop);
        m_port->setFlowControl(FLOW_OFF);
        if (!m_port->open(QIODevice::ReadWrite))
            return false;
        g_serialPort = m_port.get();
        m_rw.reset(createProtocolObject(protocol));
        g_readWrite = m_rw.get();
        return true;
    }

    ReadWrite *readWrite() const { return m_rw.get(); }

    void disconnect()
    {
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

    // A line for the drive's control file; the drive takes it within its poll period.
    bool control(const QString &line) const
    {
        QFile f(controlPath());
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(line.toUtf8() + "\n");
        f.close();
        QThread::msleep(40);
        return true;
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

    // The frames the drive took.
    QList<JournalFrame> received() const
    {
        QList<JournalFrame> frames;
        for (const QString &line : journal()) {
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.value(1) != QLatin1String("RX"))
                continue;
            const QString hex = line.section(QLatin1Char(' '), 2).section(QLatin1String(" |"), 0, 0);
            frames.append({ parts.at(0).toDouble(), QByteArray::fromHex(hex.toLatin1()), hex });
        }
        return frames;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_sim;
    std::unique_ptr<Win_QextSerialPort> m_port;
    std::unique_ptr<ReadWrite> m_rw;
};

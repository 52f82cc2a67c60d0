#pragma once

// What the protocol tests share: a port opened on a pseudo-terminal whose far end a scripted
// drive plays (scripteddrive.h), the main window that receives the reports, and a program folder
// with the shipped command and feature tables.

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "comm/win_qextserialport.h"
#include "linkrecorder.h"
#include "linkstate.h"
#include "programfolder.h"
#include "pseudoterminal.h"
#include "scripteddrive.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "testdirs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

inline void applyFlags(const QString &flags);
inline double runOperation(ReadWrite &rw, const QString &op);

// The program around the protocol object: folder, port, main window.
class LinkFixture {
public:
    // The program's side with a scripted drive on a pseudo-terminal at 115200 baud.
    bool setUp()
    {
        if (!setUpProgram() || !m_pty.isValid())
            return false;
        m_pty.registerAs(QStringLiteral("COM7"));
        return openPort(QStringLiteral("COM7"), BAUD115200, DATA_8, PAR_NONE, STOP_1);
    }

    // Program folder with the shipped tables, feature table loaded, main window.
    bool setUpProgram()
    {
        if (!m_appDir.isValid())
            return false;
        g_appDir = m_appDir.path() + QLatin1Char('/');
        if (!installShippedTables(g_appDir) || !startOperationLogAndTypes())
            return false;

        m_window.reset(new CMainWindow());
        g_mainWindow = m_window.get();
        m_errors = watchReports(m_window.get());
        return true;
    }

    // The scripted drive's line as COM7, timed as a simulated drive's is: a send takes the
    // request's time on the wire.
    bool openTimedLine(BaudRateType baud, DataBitsType data, ParityType parity, StopBitsType stop)
    {
        closePort();
        m_pty.registerAs(QStringLiteral("COM7"));
        TemporaryRegistry::addSimulatedLine(QStringLiteral("COM7"), m_appDir.filePath(QStringLiteral("COM7.line")));
        return openPort(QStringLiteral("COM7"), baud, data, parity, stop);
    }

    bool openPort(const QString &name, BaudRateType baud, DataBitsType data, ParityType parity, StopBitsType stop)
    {
        m_port = openTestPort(name, baud, data, parity, stop);
        if (!m_port)
            return false;
        g_serialPort = m_port.get();
        return true;
    }

    // setUp() with an object of class P for the protocol index as g_readWrite; null when the
    // link or the command table is missing.
    template <class P>
    P *setUpProtocol(int protocol)
    {
        if (!setUp())
            return nullptr;
        auto *object = new P();
        m_rw.reset(object);
        object->SetProtocol(protocol);
        if (!object->commandTableError().isEmpty())
            return nullptr;
        g_readWrite = object;
        return object;
    }

    void closePort()
    {
        g_serialPort = nullptr;
        m_port.reset();
    }

    void tearDown()
    {
        m_rw.reset();
        m_drive.stop();
        g_readWrite = nullptr;
        g_serialPort = nullptr;
        g_mainWindow = nullptr;
        m_errors.reset();
        m_window.reset();
        m_port.reset();
    }

    // The state every test starts from: station 1, CR terminator, link up, no quiet modes.
    void resetState()
    {
        m_drive.stop();
        resetStationOne();
        g_acceptP77Refusal = false;
        g_acceptAlarmWriteRefusal = false;
        m_window->forcePageSelect = false;
        m_window->setConnectionState(true);
        resetCommandFailureCounters();
        m_errors->clear();
        QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
        log.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }

    QStringList logLines() const { return operationLogLines(); }

    QList<int> reportedErrors() { return ::reportedErrors(*m_errors); }

    QString buttonText()
    {
        QCoreApplication::processEvents();
        return m_window->connectButton->text();
    }

    drive::ScriptedDrive &drive() { return m_drive; }

    // The operations table of a protocol test: the columns after the test's own first one.
    static void addOperationColumns()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QList<ScriptedDriveAnswer>>("script");
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::addColumn<double>("result");
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<QStringList>("log");
    }

    // Plays the row's script to its operation and checks the result, the requests the drive
    // took, the reported errors and the operation log.
    void checkOperationRow(ReadWrite &rw)
    {
        QFETCH(QString, flags);
        QFETCH(QString, op);
        QFETCH(QList<ScriptedDriveAnswer>, script);
        QFETCH(QList<QByteArray>, requests);
        QFETCH(double, result);
        QFETCH(QList<int>, errors);
        QFETCH(QStringList, log);

        applyFlags(flags);
        m_drive.play(script);
        const double value = runOperation(rw, op);
        m_drive.stop();
        QVERIFY2(qFuzzyCompare(value + 1, result + 1), qPrintable(QString::number(value)));
        // A try the script left silent and its retry right after count once.
        QList<QByteArray> taken;
        qint64 previousMs = 0;
        int tries = 0;
        for (const drive::ScriptedDrive::Request &r : m_drive.requests()) {
            if (taken.isEmpty() || taken.last() != r.bytes || r.atMs - previousMs > 300)
                taken << r.bytes;
            // After an answer a repeat is a request of its own.
            previousMs = script.value(tries++).bytes.isNull() ? r.atMs : r.atMs - 1000;
        }
        QCOMPARE(taken, requests);
        QCOMPARE(reportedErrors(), errors);
        QCOMPARE(logLines(), log);
    }
    CMainWindow *window() { return m_window.get(); }

private:
    QTemporaryDir m_appDir;
    TemporaryRegistry m_registry;
    PseudoTerminal m_pty;
    drive::ScriptedDrive m_drive { m_pty };
    std::unique_ptr<Win_QextSerialPort> m_port;
    std::unique_ptr<CMainWindow> m_window;
    std::unique_ptr<QSignalSpy> m_errors;
    std::unique_ptr<ReadWrite> m_rw;
};

// A list of hex-written frames for data rows.
inline QList<QByteArray> hexFrames(const QStringList &hex)
{
    QList<QByteArray> out;
    for (const QString &h : hex)
        out << QByteArray::fromHex(h.toLatin1());
    return out;
}

// Sets the caller-side flags a data row names: "signed", "novalue", "batch", "quiet", "test",
// "accept77", "acceptalarm", "offline".
inline void applyFlags(const QString &flags)
{
    const QStringList names = flags.split(QLatin1Char(','), Qt::SkipEmptyParts);
    g_signedFlag = names.contains(QLatin1String("signed"));
    g_noValueFlag = names.contains(QLatin1String("novalue"));
    g_batchTransfer = names.contains(QLatin1String("batch"));
    g_quietRead = names.contains(QLatin1String("quiet"));
    g_connectionTest = names.contains(QLatin1String("test"));
    g_acceptP77Refusal = names.contains(QLatin1String("accept77"));
    g_acceptAlarmWriteRefusal = names.contains(QLatin1String("acceptalarm"));
    g_offLine = names.contains(QLatin1String("offline"));
}

// Runs one operation written as "read P unit", "write P value", "registers A count", "type",
// "command CODE [data bytes in hex]" or "last"; writes give 1 or 0.
inline double runOperation(ReadWrite &rw, const QString &op)
{
    const QStringList w = op.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString verb = w.value(0);
    if (verb == QLatin1String("read"))
        return rw.ReadPar(w.value(1).toInt(), w.value(2).toDouble());
    if (verb == QLatin1String("write"))
        return rw.WritePar(w.value(1).toInt(), w.value(2).toInt()) ? 1 : 0;
    if (verb == QLatin1String("registers"))
        return rw.ReadRegisters(w.value(1).toInt(), w.value(2).toInt());
    if (verb == QLatin1String("type"))
        return rw.ReadTypeCode();
    if (verb == QLatin1String("last"))
        return rw.LastValue();
    QByteArray code = w.value(1).toLatin1();
    for (int i = 2; i < w.size(); ++i)
        code.append(char(w.at(i).toInt(nullptr, 16)));
    return rw.SendCommand(code.constData());
}

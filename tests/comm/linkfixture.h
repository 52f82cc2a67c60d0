#pragma once

// What the protocol tests share: a port opened on a pseudo-terminal whose far end a scripted
// drive plays, the main window that receives the reports, a program folder with the shipped
// command and feature tables, and the drive side's own check sums (written independently of
// the program's, bit by bit).

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "comm/win_qextserialport.h"
#include "linkstate.h"
#include "programfolder.h"
#include "pseudoterminal.h"
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

namespace drive {

inline QByteArray crc(QByteArray frame)
{
    quint16 c = 0xFFFF;
    for (char byte : QByteArray(frame)) {
        c ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? quint16((c >> 1) ^ 0xA001) : quint16(c >> 1);
    }
    frame.append(char(c & 0xFF));
    frame.append(char(c >> 8));
    return frame;
}

inline QByteArray lrc(const QByteArray &body) // body without ':'
{
    int sum = 0;
    const QByteArray bytes = QByteArray::fromHex(body);
    for (char b : bytes)
        sum += quint8(b);
    return ':' + body + QByteArray::number((-sum) & 0xFF, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

inline QByteArray sum(const QByteArray &text)
{
    int s = 0;
    for (char c : text)
        s += quint8(c);
    return QByteArray::number(s & 0xFF, 16).rightJustified(2, '0').toUpper();
}

// A character-protocol request as it must appear on the line: ENQ, text, sum, terminator.
inline QByteArray zrRequest(const QByteArray &text, int mode = 1)
{
    return '\x05' + text + sum(text) + (mode == 1 ? "\r" : mode == 2 ? "\r\n" : "");
}

// A data reply: STX, station, four digits, decimal digit, ETX, sum over station to decimal digit.
inline QByteArray zrData(const QByteArray &station, const QByteArray &digits, char decimals, int mode = 1)
{
    const QByteArray text = station + digits + decimals;
    return '\x02' + text + '\x03' + sum(text) + (mode == 1 ? "\r" : "\r\n");
}

inline QByteArray zrAck(const QByteArray &station, int mode = 1)
{
    return '\x06' + station + (mode == 1 ? "\r" : "\r\n");
}

inline QByteArray zrNak(const QByteArray &station, char code, int mode = 1)
{
    return '\x15' + station + code + (mode == 1 ? "\r" : "\r\n");
}

// Plays the drive: takes each request off the line and answers it from a script. A null
// answer stays silent; after the script the drive stays silent.
class ScriptedDrive {
public:
    struct Answer {
        QByteArray bytes;
        int delayMs = 0;
    };
    struct Request {
        QByteArray bytes;
        qint64 atMs;
    };

    explicit ScriptedDrive(PseudoTerminal &pty) : m_pty(pty) { m_clock.start(); }
    ~ScriptedDrive() { stop(); }

    // Answers each request by a function of it instead of a script.
    void serve(std::function<QByteArray(const QByteArray &)> responder)
    {
        stop();
        m_responder = std::move(responder);
        m_answers.clear();
        m_requests.clear();
        m_running = true;
        m_thread = std::thread([this] { run(); });
    }

    void play(const QList<Answer> &answers)
    {
        stop();
        m_responder = nullptr;
        m_answers = answers;
        m_requests.clear();
        m_running = true;
        m_clock.restart();
        m_thread = std::thread([this] { run(); });
    }

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }

    QList<Request> requests()
    {
        QMutexLocker locker(&m_mutex);
        return m_requests;
    }

    QList<QByteArray> frames()
    {
        QList<QByteArray> out;
        for (const Request &r : requests())
            out << r.bytes;
        return out;
    }

    qint64 elapsedMs() const { return m_clock.elapsed(); }

private:
    void run()
    {
        int next = 0;
        while (m_running) {
            const QByteArray request = m_pty.readAll(5);
            if (request.isEmpty())
                continue;
            {
                QMutexLocker locker(&m_mutex);
                m_requests.append({ request, m_clock.elapsed() });
            }
            if (m_responder) {
                const QByteArray reply = m_responder(request);
                if (!reply.isEmpty())
                    m_pty.write(reply);
                continue;
            }
            if (next >= m_answers.size())
                continue;
            const Answer answer = m_answers.at(next++);
            if (answer.bytes.isNull())
                continue;
            if (answer.delayMs > 0)
                QThread::msleep(ulong(answer.delayMs));
            m_pty.write(answer.bytes);
        }
    }

    PseudoTerminal &m_pty;
    QList<Answer> m_answers;
    std::function<QByteArray(const QByteArray &)> m_responder;
    QList<Request> m_requests;
    QMutex m_mutex;
    QElapsedTimer m_clock;
    std::atomic<bool> m_running { false };
    std::thread m_thread;
};

} // namespace drive

Q_DECLARE_METATYPE(drive::ScriptedDrive::Answer)

using ScriptedDriveAnswer = drive::ScriptedDrive::Answer;

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
        const QString invType = g_appDir + QStringLiteral("ParameterInforamtion/InvType/");
        QDir().mkpath(invType);
        const QString shipped = sourceDir() + QStringLiteral("/src/data/ParameterInforamtion/InvType/");
        for (const char *name : { "FNC.txt", "typeInfo.txt" })
            if (!QFile::copy(shipped + QLatin1String(name), invType + QLatin1String(name)))
                return false;
        if (!startOperationLogAndTypes())
            return false;

        m_window.reset(new CMainWindow());
        g_mainWindow = m_window.get();
        m_errors = watchReports(m_window.get());
        return true;
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
        setStation(1);
        g_crLfMode = 1;
        g_responseDelayMs = 0;
        g_seriesLetter = '0';
        g_firmwareVersion.clear();
        resetLinkFlags();
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
        QCOMPARE(m_drive.frames(), requests);
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

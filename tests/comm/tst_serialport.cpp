#include "comm/win_qextserialport.h"
#include "pseudoterminal.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <atomic>

#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(BaudRateType)
Q_DECLARE_METATYPE(DataBitsType)
Q_DECLARE_METATYPE(StopBitsType)
Q_DECLARE_METATYPE(ParityType)
Q_DECLARE_METATYPE(FlowType)

namespace
{

// Collects the warnings written while it lives; everything else passes through.
class WarningCapture
{
public:
    // Not nested: one capture at a time.
    WarningCapture()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(handler);
    }
    ~WarningCapture() { qInstallMessageHandler(s_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtWarningMsg)
            s_lines << text;
        else if (s_previous)
            s_previous(type, context, text);
    }
    static QStringList s_lines;
    static QtMessageHandler s_previous;
};
QStringList WarningCapture::s_lines;
QtMessageHandler WarningCapture::s_previous = nullptr;

} // namespace

class tst_SerialPort : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newPortDefaults();
    void receiveTiming_data();
    void receiveTiming();
    void writeHasReachedPeerOnReturn_data();
    void writeHasReachedPeerOnReturn();
    void receiveHoldsClassLockAgainstOtherThreads();
    void readLineStopsShortOfMaximum_data();
    void readLineStopsShortOfMaximum();
    void baudRateTable_data();
    void baudRateTable();
    void refusedCombinationsKeepOldValue_data();
    void refusedCombinationsKeepOldValue();
    void closedPortSettersAreSilent();
    void lineSettingsFileFollowsSetters();
    void simulatedLineWriteTakesWireTime_data();
    void simulatedLineWriteTakesWireTime();
    void openFailsCleanly_data();
    void openFailsCleanly();
    void permissionDeniedNamesTheFix();
    void portNamesReachTheSameDevice_data();
    void portNamesReachTheSameDevice();

private:
    TemporaryRegistry *m_registry = nullptr;
    PseudoTerminal *m_peer = nullptr;
    Win_QextSerialPort *m_port = nullptr;
    bool openPort(BaudRateType baud = BAUD9600);
};

void tst_SerialPort::init()
{
    m_registry = new TemporaryRegistry;
    m_peer = new PseudoTerminal;
    QVERIFY(m_peer->isValid());
    m_peer->registerAs(QStringLiteral("COM3"));
    m_port = new Win_QextSerialPort;
}

void tst_SerialPort::cleanup()
{
    delete m_port;
    delete m_peer;
    delete m_registry;
}

bool tst_SerialPort::openPort(BaudRateType baud)
{
    m_port->setPortName(QStringLiteral("COM3"));
    m_port->setBaudRate(baud);
    m_port->setFlowControl(FLOW_OFF);
    return m_port->open(QIODevice::ReadWrite);
}

void tst_SerialPort::newPortDefaults()
{
    Win_QextSerialPort port;
    QCOMPARE(port.portName(), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(port.baudRate(), BAUD115200);
    QCOMPARE(port.dataBits(), DATA_8);
    QCOMPARE(port.parity(), PAR_NONE);
    QCOMPARE(port.stopBits(), STOP_1);
    QCOMPARE(port.flowControl(), FLOW_HARDWARE);
    QCOMPARE(port.lastError(), ulong(E_NO_ERROR));
    QVERIFY(!port.isOpen());
    QVERIFY(port.isSequential());
    QCOMPARE(port.bytesAvailable(), qint64(0));

    const PortSettings settings { BAUD19200, DATA_7, PAR_EVEN, STOP_2, FLOW_OFF, 1, 20 };
    Win_QextSerialPort configured(QStringLiteral("COM3"), settings);
    QCOMPARE(configured.portName(), QStringLiteral("COM3"));
    QCOMPARE(configured.baudRate(), BAUD19200);
    QCOMPARE(configured.dataBits(), DATA_7);
    QCOMPARE(configured.parity(), PAR_EVEN);
    QCOMPARE(configured.stopBits(), STOP_2);
    QCOMPARE(configured.flowControl(), FLOW_OFF);
}

// delayMs -1: the reply is queued before the receive starts.
void tst_SerialPort::receiveTiming_data()
{
    QTest::addColumn<BaudRateType>("baud");
    QTest::addColumn<bool>("rtuPair");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("expected");
    QTest::addColumn<qint64>("result");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    const QByteArray eight("\x01\x03\x02\x00\x64\xB9\xAF\x00", 8);
    QTest::newRow("silence_4800") << BAUD4800 << false << QByteArray() << -1 << 0 << 7 << qint64(0) << 40 << 42;
    QTest::newRow("silence_9600") << BAUD9600 << false << QByteArray() << -1 << 0 << 7 << qint64(0) << 27 << 29;
    QTest::newRow("silence_9600_rtu") << BAUD9600 << true << QByteArray() << -1 << 0 << 7 << qint64(0) << 27 << 29;
    QTest::newRow("silence_19200") << BAUD19200 << false << QByteArray() << -1 << 0 << 7 << qint64(0) << 16 << 18;
    QTest::newRow("silence_115200") << BAUD115200 << false << QByteArray() << -1 << 0 << 7 << qint64(0) << 16 << 18;
    // The whole reply is taken the moment it is in.
    QTest::newRow("exact_9600") << BAUD9600 << false << eight << -1 << 0 << 8 << qint64(8) << 0 << 1;
    QTest::newRow("exact_9600_rtu") << BAUD9600 << true << eight << -1 << 0 << 8 << qint64(8) << 0 << 1;
    QTest::newRow("exact_4800") << BAUD4800 << false << eight << -1 << 0 << 8 << qint64(8) << 0 << 1;
    // Stops at the second poll without growth: first wait, then one sixth of the period.
    QTest::newRow("short_9600") << BAUD9600 << false << eight.left(5) << -1 << 0 << 8 << qint64(5) << 17 << 19;
    QTest::newRow("short_38400") << BAUD38400 << false << eight.left(3) << -1 << 0 << 8 << qint64(3) << 11 << 13;
    // More than asked for: judged after one sixth of the period without growth.
    QTest::newRow("one_too_many_9600") << BAUD9600 << false << eight + 'X' << -1 << 0 << 8 << qint64(-1) << 2 << 4;
    QTest::newRow("one_too_many_rtu") << BAUD9600 << true << eight + 'X' << -1 << 0 << 8 << qint64(-1) << 2 << 4;
    // Arrives after the first wait (15 ms) found nothing: seen as it comes, below where a sleep would look (27 ms).
    QTest::newRow("late_9600") << BAUD9600 << false << eight << 18 << 0 << 8 << qint64(8) << 18 << 23;
    QTest::newRow("early_115200") << BAUD115200 << false << eight << 3 << 0 << 8 << qint64(8) << 3 << 8;
    // One byte a millisecond from 8 ms to 23 ms: still growing when the first wait ends.
    QTest::newRow("dribbled_9600") << BAUD9600 << false << eight + eight << 8 << 1 << 16 << qint64(16) << 23 << 25;
    QTest::newRow("dribbled_4800") << BAUD4800 << false << eight + eight << 12 << 1 << 16 << qint64(16) << 27 << 29;
    // A gap longer than a sixth of the period ends the reply early.
    QTest::newRow("gap_9600") << BAUD9600 << false << eight << 12 << 10 << 8 << qint64(1) << 17 << 19;
}

void tst_SerialPort::receiveTiming()
{
    QFETCH(BaudRateType, baud);
    QFETCH(bool, rtuPair);
    QFETCH(QByteArray, reply);
    QFETCH(int, delayMs);
    QFETCH(int, intervalMs);
    QFETCH(int, expected);
    QFETCH(qint64, result);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    QVERIFY(openPort(baud));
    // A busy machine can delay the receive or the scheduled reply, so a row gets five tries;
    // a real fault fails all of them. A dribble whose bytes went out late had gaps the row does
    // not mean, and is sent again without counting.
    QString failure;
    for (int attempt = 0, lateDribbles = 0; attempt < 5; ++attempt) {
        m_port->purgeReceive();
        m_peer->readAll();
        if (delayMs < 0) {
            QVERIFY(m_peer->write(reply));
            QTRY_COMPARE_WITH_TIMEOUT(m_port->bytesAvailable(), qint64(reply.size()), 500);
        }
        // How late a plain sleep of the same length wakes on this machine just now.
        QElapsedTimer timer;
        timer.start();
        QThread::msleep(ulong(minMs));
        const qint64 lateness = qMax<qint64>(0, timer.elapsed() - minMs);

        QByteArray buffer(64, '\0');
        timer.start();
        if (delayMs >= 0)
            m_peer->writeLater(reply, delayMs, intervalMs);
        const qint64 got
            = rtuPair ? m_port->readData2(buffer.data(), expected) : m_port->readData(buffer.data(), expected);
        const qint64 elapsed = timer.elapsed();
        const qint64 leftInQueue = m_port->bytesAvailable();
        // The far end's thread may wake late too: a reply sent whole is timed from when it went out.
        const qint64 writerLate = qint64(m_peer->waitWritten());
        const qint64 since = elapsed - (delayMs >= 0 && intervalMs == 0 ? writerLate : 0);
        if (intervalMs > 0 && m_peer->worstLateMs() > intervalMs && ++lateDribbles < 20) {
            --attempt;
            continue;
        }

        if (got > 0)
            QCOMPARE(buffer.left(int(got)), reply.left(int(got)));
        if (got < 0)
            QCOMPARE(leftInQueue, qint64(0));
        if (got == result && since >= minMs && since <= maxMs + lateness)
            return;
        failure = QStringLiteral("returned %1 after %2 ms, expected %3 within %4 to %5 ms (+%6 for load)")
                      .arg(got)
                      .arg(since)
                      .arg(result)
                      .arg(minMs)
                      .arg(maxMs)
                      .arg(lateness);
    }
    QFAIL(qPrintable(failure));
}

void tst_SerialPort::writeHasReachedPeerOnReturn_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("rtuPair");
    QTest::newRow("one_byte") << 1 << false;
    QTest::newRow("rtu_frame") << 8 << true;
    QTest::newRow("ascii_frame") << 17 << false;
    QTest::newRow("larger_than_a_pipe_chunk") << 3000 << false;
}

void tst_SerialPort::writeHasReachedPeerOnReturn()
{
    QFETCH(int, size);
    QFETCH(bool, rtuPair);
    QVERIFY(openPort());
    QByteArray frame(size, '\0');
    for (int i = 0; i < size; ++i)
        frame[i] = char(i * 7 + 1);
    const qint64 written
        = rtuPair ? m_port->writeData2(frame.constData(), size) : m_port->writeData(frame.constData(), size);
    QCOMPARE(written, qint64(size));
    // The kernel hands a pseudo-terminal's bytes to the far side just after the write (on a
    // real line tcdrain waits until they have left); nothing more from the port is needed.
    QCOMPARE(m_peer->read(size, 50), frame);
}

void tst_SerialPort::receiveHoldsClassLockAgainstOtherThreads()
{
    QVERIFY(openPort(BAUD9600));
    // The writer, 5 ms in, waits out the receive (27 ms of silence). Left unguarded it would be
    // done some 20 ms before the receive; a busy machine may wake the reader a few ms late, so
    // the gap allowed is 5 ms and a row gets five tries.
    QString failure;
    for (int attempt = 0; attempt < 5; ++attempt) {
        QElapsedTimer timer;
        std::atomic<qint64> writeDoneAt { -1 };
        QThread *writer = QThread::create([&] {
            QThread::msleep(5);
            m_port->writeData("Q", 1);
            writeDoneAt = timer.elapsed();
        });
        char buffer[8];
        timer.start();
        writer->start();
        const qint64 got = m_port->readData(buffer, 8);
        const qint64 readDoneAt = timer.elapsed();
        writer->wait();
        delete writer;
        QCOMPARE(got, qint64(0));
        QCOMPARE(m_peer->read(1, 100), QByteArray("Q"));
        if (writeDoneAt >= readDoneAt - 5)
            return;
        failure = QStringLiteral("%1 < %2").arg(writeDoneAt.load()).arg(readDoneAt);
    }
    QFAIL(qPrintable(failure));
}

void tst_SerialPort::readLineStopsShortOfMaximum_data()
{
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<qint64>("result");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("leftInQueue");

    QTest::newRow("whole_line") << QByteArray("abc\nxyz") << 16 << qint64(4) << QByteArray("abc\n") << 3;
    QTest::newRow("fills_to_maximum_less_one") << QByteArray("abcdef") << 4 << qint64(3) << QByteArray("abc") << 3;
    QTest::newRow("queue_runs_dry") << QByteArray("ab") << 16 << qint64(2) << QByteArray("ab") << 0;
    QTest::newRow("maximum_below_two") << QByteArray("ab") << 1 << qint64(-1) << QByteArray() << 2;
}

void tst_SerialPort::readLineStopsShortOfMaximum()
{
    QFETCH(QByteArray, incoming);
    QFETCH(int, maximum);
    QFETCH(qint64, result);
    QFETCH(QByteArray, line);
    QFETCH(int, leftInQueue);
    QVERIFY(openPort());
    QVERIFY(m_peer->write(incoming));
    QTRY_COMPARE_WITH_TIMEOUT(m_port->bytesAvailable(), qint64(incoming.size()), 500);

    QByteArray buffer(32, '#');
    QCOMPARE(m_port->readLine(buffer.data(), maximum), result);
    if (result >= 0) {
        QCOMPARE(buffer.left(int(result)), line);
        QCOMPARE(buffer.at(int(result)), '\0');
    }
    // Nothing past the maximum is touched.
    QCOMPARE(buffer.mid(maximum), QByteArray(32 - maximum, '#'));
    QCOMPARE(m_port->bytesAvailable(), qint64(leftInQueue));
}

void tst_SerialPort::baudRateTable_data()
{
    QTest::addColumn<BaudRateType>("asked");
    QTest::addColumn<BaudRateType>("stored");
    QTest::addColumn<QString>("message");

    const QString switching = QStringLiteral("Win_QextSerialPort: Windows does not support %1 baud operation.  "
                                             "Switching to %2 baud.");
    const QString posix = QStringLiteral("Win_QextSerialPort Portability Warning: POSIX does not support %1 baud "
                                         "operation.");
    QTest::newRow("50") << BAUD50 << BAUD110 << switching.arg(50).arg(110);
    QTest::newRow("75") << BAUD75 << BAUD110 << switching.arg(75).arg(110);
    QTest::newRow("110") << BAUD110 << BAUD110 << QString();
    QTest::newRow("134.5") << BAUD134 << BAUD110 << switching.arg(QStringLiteral("134.5")).arg(110);
    QTest::newRow("150") << BAUD150 << BAUD110 << switching.arg(150).arg(110);
    QTest::newRow("200") << BAUD200 << BAUD110 << switching.arg(200).arg(110);
    QTest::newRow("300") << BAUD300 << BAUD300 << QString();
    QTest::newRow("1200") << BAUD1200 << BAUD1200 << QString();
    QTest::newRow("1800") << BAUD1800 << BAUD1200 << switching.arg(1800).arg(1200);
    QTest::newRow("4800") << BAUD4800 << BAUD4800 << QString();
    QTest::newRow("9600") << BAUD9600 << BAUD9600 << QString();
    QTest::newRow("14400") << BAUD14400 << BAUD14400 << posix.arg(14400);
    QTest::newRow("38400") << BAUD38400 << BAUD38400 << QString();
    QTest::newRow("56000") << BAUD56000 << BAUD56000 << posix.arg(56000);
    QTest::newRow("76800") << BAUD76800 << BAUD57600 << switching.arg(76800).arg(57600);
    QTest::newRow("115200") << BAUD115200 << BAUD115200 << QString();
    QTest::newRow("128000") << BAUD128000 << BAUD128000 << posix.arg(128000);
    QTest::newRow("256000") << BAUD256000 << BAUD256000 << posix.arg(256000);
}

void tst_SerialPort::baudRateTable()
{
    QFETCH(BaudRateType, asked);
    QFETCH(BaudRateType, stored);
    QFETCH(QString, message);
    QVERIFY(openPort());
    WarningCapture capture;
    m_port->setBaudRate(asked);
    QCOMPARE(capture.lines(), message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(m_port->baudRate(), stored);
}

void tst_SerialPort::refusedCombinationsKeepOldValue_data()
{
    QTest::addColumn<DataBitsType>("dataBefore");
    QTest::addColumn<StopBitsType>("stopBefore");
    QTest::addColumn<bool>("setStop");
    QTest::addColumn<int>("asked");
    QTest::addColumn<DataBitsType>("dataAfter");
    QTest::addColumn<StopBitsType>("stopAfter");
    QTest::addColumn<QString>("message");

    QTest::newRow("1.5_stop_with_8_data") << DATA_8 << STOP_1 << true << int(STOP_1_5) << DATA_8 << STOP_1
                                          << "Win_QextSerialPort: 1.5 stop bits can only be used with 5 data bits";
    QTest::newRow("2_stop_with_5_data") << DATA_5 << STOP_1 << true << int(STOP_2) << DATA_5 << STOP_1
                                        << "Win_QextSerialPort: 2 stop bits cannot be used with 5 data bits";
    QTest::newRow("5_data_with_2_stop") << DATA_8 << STOP_2 << false << int(DATA_5) << DATA_8 << STOP_2
                                        << "Win_QextSerialPort: 5 Data bits cannot be used with 2 stop bits.";
    QTest::newRow("6_data_with_1.5_stop") << DATA_5 << STOP_1_5 << false << int(DATA_6) << DATA_5 << STOP_1_5
                                          << "Win_QextSerialPort: 6 Data bits cannot be used with 1.5 stop bits.";
    QTest::newRow("7_data_with_1.5_stop") << DATA_5 << STOP_1_5 << false << int(DATA_7) << DATA_5 << STOP_1_5
                                          << "Win_QextSerialPort: 7 Data bits cannot be used with 1.5 stop bits.";
    QTest::newRow("8_data_with_1.5_stop") << DATA_5 << STOP_1_5 << false << int(DATA_8) << DATA_5 << STOP_1_5
                                          << "Win_QextSerialPort: 8 Data bits cannot be used with 1.5 stop bits.";
    QTest::newRow("1.5_stop_with_5_data_taken") << DATA_5 << STOP_1 << true << int(STOP_1_5) << DATA_5 << STOP_1_5
                                                << "Win_QextSerialPort Portability Warning: 1.5 stop bit operation "
                                                   "is not supported by POSIX.";
    QTest::newRow("7_data_with_2_stop_taken")
        << DATA_8 << STOP_2 << false << int(DATA_7) << DATA_7 << STOP_2 << QString();
}

void tst_SerialPort::refusedCombinationsKeepOldValue()
{
    QFETCH(DataBitsType, dataBefore);
    QFETCH(StopBitsType, stopBefore);
    QFETCH(bool, setStop);
    QFETCH(int, asked);
    QFETCH(DataBitsType, dataAfter);
    QFETCH(StopBitsType, stopAfter);
    QFETCH(QString, message);

    // Set up while closed, where the setters are silent.
    m_port->setDataBits(dataBefore);
    m_port->setStopBits(stopBefore);
    {
        WarningCapture opening;
        QVERIFY(openPort());
    }
    WarningCapture capture;
    if (setStop)
        m_port->setStopBits(StopBitsType(asked));
    else
        m_port->setDataBits(DataBitsType(asked));
    QCOMPARE(capture.lines(), message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(m_port->dataBits(), dataAfter);
    QCOMPARE(m_port->stopBits(), stopAfter);
}

void tst_SerialPort::closedPortSettersAreSilent()
{
    {
        WarningCapture capture;
        m_port->setBaudRate(BAUD50);
        m_port->setParity(PAR_MARK);
        m_port->setStopBits(STOP_1_5);
        m_port->ungetChar('x');
        QCOMPARE(capture.lines(),
            QStringList { QStringLiteral("Win_QextSerialPort: ungetChar() called on an unbuffered "
                                         "sequential device - operation is meaningless") });
        QCOMPARE(m_port->baudRate(), BAUD110);
        QCOMPARE(m_port->parity(), PAR_MARK);
        QCOMPARE(m_port->stopBits(), STOP_1);
    }

    {
        WarningCapture opening; // the stored mark parity is noted again as the port opens
        QVERIFY(openPort());
    }
    WarningCapture parityCapture;
    m_port->setParity(PAR_SPACE);
    m_port->setDataBits(DATA_7);
    m_port->setParity(PAR_SPACE);
    m_port->setParity(PAR_MARK);
    QCOMPARE(parityCapture.lines(),
        (QStringList { QStringLiteral("Win_QextSerialPort Portability Warning: Space parity with 8 data bits is "
                                      "not supported by POSIX systems."),
            QStringLiteral("Win_QextSerialPort Portability Warning:  Mark parity is not supported by "
                           "POSIX systems") }));
}

void tst_SerialPort::simulatedLineWriteTakesWireTime_data()
{
    QTest::addColumn<bool>("simulated");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("minimumMs");
    QTest::addColumn<int>("maximumMs");
    // 17 characters of a Modbus ASCII read at 9600 baud.
    QTest::newRow("plain_pty_no_wait") << false << int(PAR_NONE) << 0 << 5;
    QTest::newRow("simulated_8N1_10_bits") << true << int(PAR_NONE) << 17 << 25;
    QTest::newRow("simulated_8E1_11_bits") << true << int(PAR_EVEN) << 19 << 27;
}

void tst_SerialPort::simulatedLineWriteTakesWireTime()
{
    QFETCH(bool, simulated);
    QFETCH(int, parity);
    QFETCH(int, minimumMs);
    QFETCH(int, maximumMs);
    if (simulated)
        TemporaryRegistry::addSimulatedLine(QStringLiteral("COM3"), m_registry->folder() + QStringLiteral("/line.txt"));
    m_port->setParity(ParityType(parity));
    QVERIFY(openPort(BAUD9600));
    const QByteArray request(":010300BC00013F\r\n");
    // No write may be quicker than the wire; the quickest of five shows the wait itself, which a
    // busy machine can only lengthen.
    qint64 quickest = INT_MAX;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m_port->writeData(request.constData(), request.size()), qint64(request.size()));
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= minimumMs, qPrintable(QString::number(elapsed)));
        quickest = qMin(quickest, elapsed);
        QCOMPARE(m_peer->readAll(50), request);
    }
    QVERIFY2(quickest <= maximumMs, qPrintable(QString::number(quickest)));
}

void tst_SerialPort::lineSettingsFileFollowsSetters()
{
    const QString file = m_registry->folder() + QStringLiteral("/line.txt");
    TemporaryRegistry::addSimulatedLine(QStringLiteral("COM3"), file);
    auto contents = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };

    m_port->setPortName(QStringLiteral("\\\\.\\com3"));
    m_port->setBaudRate(BAUD9600);
    m_port->setFlowControl(FLOW_OFF);
    QVERIFY(!QFile::exists(file));
    QVERIFY(m_port->open(QIODevice::ReadWrite));
    QCOMPARE(contents(), QByteArray("baud=9600 data=8 parity=N stop=1 flow=off\n"));

    m_port->setDataBits(DATA_7);
    QCOMPARE(contents(), QByteArray("baud=9600 data=7 parity=N stop=1 flow=off\n"));
    m_port->setParity(PAR_EVEN);
    m_port->setStopBits(STOP_2);
    m_port->setBaudRate(BAUD19200);
    QCOMPARE(contents(), QByteArray("baud=19200 data=7 parity=E stop=2 flow=off\n"));
    m_port->setFlowControl(FLOW_XONXOFF);
    QCOMPARE(contents(), QByteArray("baud=19200 data=7 parity=E stop=2 flow=xon\n"));
    m_port->setFlowControl(FLOW_HARDWARE);
    m_port->setParity(PAR_ODD);
    QCOMPARE(contents(), QByteArray("baud=19200 data=7 parity=O stop=2 flow=hw\n"));
    // No temporary files are left beside it.
    QCOMPARE(QDir(m_registry->folder()).entryList({ QStringLiteral("line*") }, QDir::Files),
        QStringList { QStringLiteral("line.txt") });

    m_port->close();
    m_port->setBaudRate(BAUD4800);
    QCOMPARE(contents(), QByteArray("baud=19200 data=7 parity=O stop=2 flow=hw\n"));
}

void tst_SerialPort::openFailsCleanly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mentions");
    QTest::addColumn<QString>("reason");

    QTest::newRow("held_by_another_port")
        << QStringLiteral("COM3") << QStringLiteral("(pty)") << QStringLiteral("in use by another program");
    QTest::newRow("not_a_terminal") << QStringLiteral("/dev/null") << QStringLiteral("/dev/null")
                                    << QStringLiteral("not a serial port");
    QTest::newRow("missing_device") << QStringLiteral("/dev/ttyUSB_none") << QStringLiteral("/dev/ttyUSB_none")
                                    << QStringLiteral("no such device");
    QTest::newRow("unknown_com_name") << QStringLiteral("COM97") << QStringLiteral("COM97")
                                      << QStringLiteral("no such port");
}

void tst_SerialPort::openFailsCleanly()
{
    QFETCH(QString, name);
    QFETCH(QString, mentions);
    QFETCH(QString, reason);
    Win_QextSerialPort holder(QStringLiteral("COM3"));
    QVERIFY(holder.open(QIODevice::ReadWrite));
    if (mentions == QLatin1String("(pty)"))
        mentions = m_peer->devicePath();

    m_port->setPortName(name);
    WarningCapture capture;
    QVERIFY(!m_port->open(QIODevice::ReadWrite));
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_port->openMode(), QIODevice::NotOpen);
    QVERIFY2(m_port->errorString().contains(mentions), qPrintable(m_port->errorString()));
    QVERIFY2(m_port->errorString().contains(reason), qPrintable(m_port->errorString()));
    QCOMPARE(capture.lines(), QStringList { m_port->errorString() });
    char buffer[4];
    QCOMPARE(m_port->writeData("x", 1), qint64(-1));
    QCOMPARE(m_port->lastError(), ulong(E_WRITE_FAILED));
    QCOMPARE(m_port->readData(buffer, 4), qint64(-1));

    // The holder still works: nothing of the failed open touched the line.
    QCOMPARE(holder.writeData("ok", 2), qint64(2));
    QCOMPARE(m_peer->read(2, 100), QByteArray("ok"));
}

// Root may open anything, so the refusal is seen from a child that has given up root.
void tst_SerialPort::permissionDeniedNamesTheFix()
{
    if (::geteuid() != 0)
        QSKIP("needs root to switch to an unprivileged user");
    QVERIFY(QFile::setPermissions(m_peer->devicePath(), QFile::ReadOwner | QFile::WriteOwner));
    int fds[2];
    QVERIFY(::pipe(fds) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        Win_QextSerialPort port(m_peer->devicePath());
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        const bool opened = port.open(QIODevice::ReadWrite);
        const QByteArray text = (opened ? "opened" : "") + port.errorString().toUtf8() + (port.isOpen() ? "!" : "");
        (void)!::write(fds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray text;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, int(got));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);
    const QString message = QString::fromUtf8(text);
    QVERIFY2(message.startsWith(QStringLiteral("Win_QextSerialPort: cannot open ") + m_peer->devicePath()),
        qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("permission denied")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("dialout")), qPrintable(message));
}

void tst_SerialPort::portNamesReachTheSameDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("upper") << QStringLiteral("COM3");
    QTest::newRow("mixed") << QStringLiteral("Com3");
    QTest::newRow("prefixed") << QStringLiteral("\\\\.\\COM3");
    QTest::newRow("device_path") << QString();
}

void tst_SerialPort::portNamesReachTheSameDevice()
{
    QFETCH(QString, name);
    if (name.isEmpty())
        name = m_peer->devicePath();
    QCOMPARE(Win_QextSerialPort::devicePath(name), m_peer->devicePath());
    m_port->setPortName(name);
    QVERIFY(m_port->open(QIODevice::ReadWrite));
    QCOMPARE(m_port->writeData("ping", 4), qint64(4));
    QCOMPARE(m_peer->read(4, 100), QByteArray("ping"));
}

QTEST_GUILESS_MAIN(tst_SerialPort)
#include "tst_serialport.moc"

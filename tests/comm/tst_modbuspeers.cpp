#include "connection/search.h"
#include "linkfixture.h"

#include <QProcess>

#include <poll.h>
#include <unistd.h>

// The Modbus classes against slaves written by others: a libmodbus RTU slave and a pymodbus
// ASCII slave, each on a pseudo-terminal of its own that a bridge joins to the program's port.
class tst_ModbusPeers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void transfers_data() { peerRows(); }
    void transfers();
    void damagedRepliesFail_data() { peerRows(); }
    void damagedRepliesFail();

private:
    static void peerRows();
    bool startPeer(int protocol);

    LinkFixture m_link;
    QProcess m_peer;
    ReadWrite *m_rw = nullptr;
    std::unique_ptr<ReadWrite> m_object;
    std::unique_ptr<Win_QextSerialPort> m_port;
};

namespace {

// Two pseudo-terminals joined by a thread: the program's port opens one, the peer the other.
// On the way back it can damage the function code of a number of replies, which spoils their
// check as well, as a fault on the line would.
class Bridge {
public:
    explicit Bridge(bool text) : m_text(text) {}
    ~Bridge() { stop(); }

    bool start()
    {
        if (!m_program.isValid() || !m_peer.isValid())
            return false;
        m_running = true;
        m_thread = std::thread([this] { run(); });
        return true;
    }

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }

    PseudoTerminal &programSide() { return m_program; }
    QString peerDevice() const { return m_peer.devicePath(); }
    void damageReplies(int count) { m_damage = count; }

private:
    static void writeAll(int fd, const char *data, ssize_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size_t(size));
            if (n <= 0)
                return;
            data += n;
            size -= n;
        }
    }

    void run()
    {
        int position = 0; // in the reply that is coming back
        bool damaging = false;
        char buffer[512];
        while (m_running) {
            pollfd fds[2] = { { m_program.masterFd(), POLLIN, 0 }, { m_peer.masterFd(), POLLIN, 0 } };
            if (::poll(fds, 2, 20) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                const ssize_t n = ::read(fds[0].fd, buffer, sizeof buffer);
                writeAll(fds[1].fd, buffer, n);
                position = 0;
            }
            if (fds[1].revents & POLLIN) {
                const ssize_t n = ::read(fds[1].fd, buffer, sizeof buffer);
                for (ssize_t i = 0; i < n; ++i, ++position) {
                    if (position == 0) {
                        damaging = m_damage > 0;
                        if (damaging)
                            --m_damage;
                    }
                    // RTU: function byte 03h becomes 43h; ASCII: the digits "03" become "43".
                    if (damaging && position == (m_text ? 3 : 1))
                        buffer[i] = m_text ? '4' : char(buffer[i] | 0x40);
                }
                writeAll(fds[0].fd, buffer, n);
            }
        }
    }

    const bool m_text;
    PseudoTerminal m_program;
    PseudoTerminal m_peer;
    std::atomic<int> m_damage { 0 };
    std::atomic<bool> m_running { false };
    std::thread m_thread;
};

std::unique_ptr<Bridge> g_bridge;

// What both slaves hold: P.5 = 735, P.6 = 872, the type code 0105h at 1200h; P.7 refused.
const QStringList kSlaveData { "5=735", "6=872", "0x1200=0x0105", "!7" };

} // namespace

void tst_ModbusPeers::peerRows()
{
    QTest::addColumn<int>("protocol");
    QTest::newRow("rtu_libmodbus") << 1;
    QTest::newRow("ascii_pymodbus") << 2;
}

void tst_ModbusPeers::initTestCase()
{
    QVERIFY(m_link.setUpProgram());
}

void tst_ModbusPeers::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_ModbusPeers::init()
{
    m_link.resetState();
}

void tst_ModbusPeers::cleanup()
{
    g_readWrite = nullptr;
    g_serialPort = nullptr;
    m_rw = nullptr;
    m_object.reset();
    m_port.reset();
    if (m_peer.state() != QProcess::NotRunning) {
        m_peer.terminate();
        m_peer.waitForFinished(5000);
    }
    if (QTest::currentTestFailed())
        qWarning().noquote() << "peer said:" << m_peer.readAllStandardError();
    g_bridge.reset();
}

// The peer of the protocol on its side of a new bridge, the program's port at 9600 baud 8N1 on
// the other, and an object of the protocol as g_readWrite.
bool tst_ModbusPeers::startPeer(int protocol)
{
    g_bridge.reset(new Bridge(protocol == 2));
    if (!g_bridge->start())
        return false;
    const QStringList line { g_bridge->peerDevice(), QStringLiteral("9600"), QStringLiteral("1") };
    if (protocol == 1)
        m_peer.start(QStringLiteral(MODBUS_RTU_SLAVE), line + kSlaveData);
    else
        m_peer.start(QStringLiteral("/usr/bin/python3"),
                     QStringList { sourceDir() + QStringLiteral("/tests/comm/peers/modbus_ascii_slave.py") } + line
                         + kSlaveData);
    // Python takes its time to import pymodbus on a busy machine.
    QByteArray said;
    QElapsedTimer timer;
    timer.start();
    while (!said.contains("ready") && timer.elapsed() < 30000 && m_peer.state() != QProcess::NotRunning) {
        m_peer.waitForReadyRead(200);
        said += m_peer.readAllStandardOutput();
    }
    if (!said.contains("ready"))
        return false;

    g_bridge->programSide().registerAs(QStringLiteral("COM8"));
    m_port = openTestPort(QStringLiteral("COM8"), BAUD9600, DATA_8, PAR_NONE, STOP_1);
    if (!m_port)
        return false;
    g_serialPort = m_port.get();
    m_object.reset(createProtocolObject(protocol));
    m_rw = m_object.get();
    g_readWrite = m_rw;
    return true;
}

void tst_ModbusPeers::transfers()
{
    QFETCH(int, protocol);
    QVERIFY(startPeer(protocol));

    QCOMPARE(m_rw->ReadPar(5, 1.0), 735.0);
    QCOMPARE(m_rw->ReadPar(6, 0.1), 87.2);
    QCOMPARE(m_rw->ReadRegisters(5, 2), ((735 & 0xFF) << 8) | (872 & 0xFF));
    QCOMPARE(m_rw->ReadTypeCode(), 5);

    QVERIFY(m_rw->WritePar(8, 1234));
    QCOMPARE(m_rw->ReadPar(8, 0.01), 12.34);
    QVERIFY(m_rw->WritePar(8, 0xFFF6));
    g_signedFlag = true;
    QCOMPARE(m_rw->ReadPar(8, 0.1), -1.0);
    QVERIFY(m_link.reportedErrors().isEmpty());

    // A refused address: the exception's message, and the link stays up.
    QCOMPARE(m_rw->ReadPar(7, 1.0), -1.0);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 12 });
    QVERIFY(!g_offLine);
    QVERIFY(!m_rw->WritePar(7, 1));
    QCOMPARE(m_link.reportedErrors(), QList<int>({ 12, 12 }));
    QVERIFY(!g_offLine);
    QCOMPARE(m_rw->ReadPar(5, 1.0), 735.0);
}

void tst_ModbusPeers::damagedRepliesFail()
{
    QFETCH(int, protocol);
    QVERIFY(startPeer(protocol));

    // One damaged reply is one failed try: the next try brings the value.
    g_bridge->damageReplies(1);
    QCOMPARE(m_rw->ReadPar(5, 1.0), 735.0);
    g_bridge->damageReplies(1);
    QVERIFY(m_rw->WritePar(8, 300));
    QCOMPARE(m_rw->ReadPar(8, 1.0), 300.0);
    QVERIFY(m_link.reportedErrors().isEmpty());

    // Nothing but damaged replies: the read fails and the link is lost.
    g_bridge->damageReplies(ReadWrite::MaxTries);
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });

    // Only a connection test talks to the drive until it brings the link back.
    g_bridge->damageReplies(0);
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    g_connectionTest = true;
    QCOMPARE(m_rw->ReadPar(5, 1.0), 735.0);
    g_connectionTest = false;
    QVERIFY(!g_offLine);
    QCOMPARE(m_rw->ReadPar(5, 1.0), 735.0);
}

QTEST_MAIN(tst_ModbusPeers)
#include "tst_modbuspeers.moc"

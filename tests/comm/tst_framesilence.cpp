#include "linkfixture.h"
#include "simdrive.h"

#include <thread>

// Modbus RTU frames end with 3.5 characters of silence on the line; a request that follows a
// reply sooner may be joined to it by the drive. Measured on the simulated drive's journal: it
// stamps a request when its first byte arrives and a reply when its last byte has left.
class tst_FrameSilence : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void requestsKeepTheSilence_data();
    void requestsKeepTheSilence();
    void unansweredExchangeMakesTenWholeTries_data() { shippedLineRows(); }
    void unansweredExchangeMakesTenWholeTries();
    void refusalEndsTheReceive_data();
    void refusalEndsTheReceive();
    void earlyAnswerLeavesTheDriveItsReply_data();
    void earlyAnswerLeavesTheDriveItsReply();

private:
    LinkFixture m_link;
    SimulatedDrive m_drive;
};

void tst_FrameSilence::initTestCase()
{
    QVERIFY(m_drive.isValid());
    QVERIFY(m_link.setUpProgram());
}

void tst_FrameSilence::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_FrameSilence::init()
{
    m_link.resetState();
}

void tst_FrameSilence::cleanup()
{
    m_drive.stop();
    g_readWrite = nullptr;
    g_serialPort = nullptr;
}

void tst_FrameSilence::requestsKeepTheSilence_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("registers");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("lateMs"); // how late the first reply comes
    // The receive returns the moment the reply is in: only the silence keeps the next request back.
    QTest::newRow("9600") << 9600 << 3 << "whole" << 0;
    QTest::newRow("9600_paced") << 9600 << 3 << "paced" << 0;
    QTest::newRow("115200") << 115200 << 9 << "whole" << 0;
    QTest::newRow("115200_paced") << 115200 << 9 << "paced" << 0;
    // The reply begins in the 10 ms pause before the second try, after 27 ms of receive and 44 ms
    // of waiting for a late reply, and lasts 24 ms: the try waits for its end and the silence.
    QTest::newRow("9600_paced_late_reply_in_the_pause") << 9600 << 9 << "paced" << 73;
}

void tst_FrameSilence::requestsKeepTheSilence()
{
    QFETCH(int, baud);
    QFETCH(int, registers);
    QFETCH(QString, reply);
    QFETCH(int, lateMs);
    const int requests = lateMs ? 1 : 1000;

    const QString late = lateMs ? QStringLiteral("\nfault late 1 %1").arg(lateMs) : QString();
    QVERIFY(m_drive.startShipped(
        QStringLiteral("A-rtu.drive"), QStringLiteral("baud %1\nparity N\nreply %2").arg(baud).arg(reply) + late));
    QVERIFY(m_drive.connect(1, baud == 9600 ? BAUD9600 : BAUD115200, DATA_8, PAR_NONE, STOP_1));
    g_responseDelayMs = lateMs ? 10 : 0;
    ReadWrite *rw = m_drive.readWrite();

    const int first = rw->ReadRegisters(0, registers);
    QVERIFY(first != 0xFFFF);
    for (int i = 1; i < requests; ++i)
        QCOMPARE(rw->ReadRegisters(0, registers), first);
    QVERIFY(!g_offLine);

    // 8N1: ten bits a character. The journal stamps to the microsecond.
    const double character = 10.0 / baud;
    const double silence = 3.5 * character - 1e-6;
    int sent = 0;
    double lineFreeAt = -1;
    double lastRequestAt = -1;
    double shortest = 1;
    QStringList tooSoon;
    for (const JournalFrame &frame : m_drive.frames()) {
        if (!frame.received) {
            // A paced reply holds the line from its first byte, though stamped at its last.
            if (reply == "paced" && lastRequestAt > frame.at - (frame.bytes.size() - 1) * character)
                tooSoon << QStringLiteral("within the reply ending at %1 s").arg(frame.at, 0, 'f', 6);
            lineFreeAt = frame.at;
            continue;
        }
        lastRequestAt = frame.at;
        ++sent;
        if (lineFreeAt >= 0) {
            const double gap = frame.at - lineFreeAt;
            shortest = qMin(shortest, gap);
            if (gap < silence)
                tooSoon << QStringLiteral("%1 ms before the request at %2 s").arg(gap * 1000, 0, 'f', 3).arg(frame.at, 0, 'f', 6);
        }
        lineFreeAt = frame.at + frame.bytes.size() * character;
    }
    QVERIFY2(sent >= requests, qPrintable(QString::number(sent)));
    // A busy machine can hold the drive's reply past the receive window: the program then tries
    // again while that late reply is on its way, which no silence on our side can prevent. Each
    // such try may come too soon, no other request may, nor any once a late reply had begun.
    QVERIFY2(tooSoon.size() <= (lateMs ? 0 : sent - requests),
             qPrintable(QStringLiteral("%1 requests for %2 reads; too soon: %3")
                            .arg(sent)
                            .arg(requests)
                            .arg(tooSoon.mid(0, 5).join(QStringLiteral("; ")))));
    qInfo("shortest silence %.3f ms, needed %.3f ms; %d tries again", shortest * 1000, 3.5 * character * 1000,
          sent - requests);
}

// Waiting on the descriptor must not cut short the wait for a reply that never comes: each of the ten
// tries waits the first wait plus one period (27 ms at 9600 baud, 16 ms at 115200).
void tst_FrameSilence::unansweredExchangeMakesTenWholeTries()
{
    QFETCH(int, line);
    const ShippedLine &l = shippedLine(line);
    for (int baud : { 9600, 115200 }) {
        m_link.resetState();
        QVERIFY(m_drive.startShipped(QLatin1String(l.scenario), QStringLiteral("baud %1\nfault link-lost").arg(baud)));
        QVERIFY(m_drive.connect(l.protocol, baud == 9600 ? BAUD9600 : BAUD115200, l.data, l.parity, l.stop));
        g_crLfMode = l.crLfMode;
        g_quietRead = true;
        QCOMPARE(m_drive.readWrite()->ReadPar(7, 1), -1.0);
        g_quietRead = false;
        QVERIFY(g_offLine);
        QTRY_COMPARE(m_drive.received().size(), 10);
        // Only the first stamp's lateness counts over the spans, each of which also holds a request's wire time.
        const double span = m_drive.received().last().at - m_drive.received().first().at;
        QVERIFY2(span >= 9 * (baud == 9600 ? 0.027 : 0.016), qPrintable(QStringLiteral("%1 baud: %2 s").arg(baud).arg(span)));
    }
}

void tst_FrameSilence::refusalEndsTheReceive_data()
{
    QTest::addColumn<int>("line");
    QTest::newRow("modbus_rtu") << 0;
    QTest::newRow("modbus_ascii") << 1;
}

// A refusal is shorter than the answer asked for; once it is whole, the next request goes without
// waiting out the first wait (10 ms at 115200 baud).
void tst_FrameSilence::refusalEndsTheReceive()
{
    QFETCH(int, line);
    const ShippedLine &l = shippedLine(line);
    QVERIFY(m_drive.startShipped(QLatin1String(l.scenario), QStringLiteral("baud 115200")));
    QVERIFY(m_drive.connect(l.protocol, BAUD115200, l.data, l.parity, l.stop));
    g_responseDelayMs = 0;
    for (int i = 0; i < 21; ++i)
        QCOMPARE(m_drive.readWrite()->ReadRegisters(5000, 1), 0xFFFF);
    QVERIFY(!g_offLine);
    QList<double> gaps; // from a refusal's last byte to the next request's first
    const QList<JournalFrame> frames = m_drive.frames();
    for (int i = 1; i < frames.size(); ++i)
        if (frames.at(i).received && !frames.at(i - 1).received)
            gaps << frames.at(i).at - frames.at(i - 1).at;
    QCOMPARE(gaps.size(), 20);
    std::sort(gaps.begin(), gaps.end());
    QVERIFY2(gaps.at(10) < 0.005, qPrintable(QString::number(gaps.at(10) * 1000) + " ms"));
}

void tst_FrameSilence::earlyAnswerLeavesTheDriveItsReply_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("stop");
    QTest::addColumn<QByteArray>("reply"); // to MOD: mode 0
    QTest::addColumn<int>("baud");
    QTest::addColumn<QByteArray>("early"); // what comes at once, if not the reply
    QTest::addColumn<int>("replyMs"); // when the drive's own reply goes, from the request's coming
    // No response delay, as a search leaves it when it finds the drive after its first step. At 9600
    // baud 20 ms are the request's and the reply's time on the wire and the drive's turnaround.
    const QByteArray rtu = drive::crc(QByteArray::fromHex("0103020000"));
    QTest::newRow("modbus_rtu") << 1 << int(DATA_8) << int(STOP_1) << rtu << int(BAUD9600) << QByteArray() << 20;
    QTest::newRow("modbus_ascii") << 2 << int(DATA_7) << int(STOP_2) << drive::lrc("0103020000") << int(BAUD9600)
                                  << QByteArray() << 20;
    QTest::newRow("taviron") << 0 << int(DATA_8) << int(STOP_1) << drive::zrData("01", "0000", '0') << int(BAUD9600)
                             << QByteArray() << 20;
    // Another station's reply cuts the receive short; the drive's own comes 37 ms after the request
    // left the line (17 ms on it), within the 40 ms window of 4800 baud though past the 35 ms the
    // try waits on for a late reply: the next try must not talk over it.
    QTest::newRow("modbus_rtu_4800_other_station_first") << 1 << int(DATA_8) << int(STOP_1) << rtu << int(BAUD4800)
                                                         << drive::crc(QByteArray::fromHex("0203020000")) << 54;
}

// An answer that is in before the request and a reply could have crossed the line at 9600 baud
// answered an earlier request; the drive still owes this one's reply. Two threads ask the mode back
// to back: the second request must not go out while the drive is yet to answer the first.
void tst_FrameSilence::earlyAnswerLeavesTheDriveItsReply()
{
    QFETCH(int, protocol);
    QFETCH(int, data);
    QFETCH(int, stop);
    QFETCH(QByteArray, reply);
    QFETCH(int, baud);
    QFETCH(QByteArray, early);
    QFETCH(int, replyMs);
    QVERIFY(m_link.openTimedLine(BaudRateType(baud), DataBitsType(data), PAR_NONE, StopBitsType(stop)));
    std::unique_ptr<ReadWrite> rw(createProtocolObject(protocol));
    g_readWrite = rw.get();
    g_crLfMode = 1;
    g_responseDelayMs = 0;
    drive::ScriptedDrive &drive = m_link.drive();
    QList<ScriptedDriveAnswer> script { { reply, replyMs, early.isEmpty() ? reply : early }, { reply } };
    if (!early.isEmpty())
        script << reply; // for the try after the one not answered, unless a late wait took the reply
    drive.play(script);

    int first = 0;
    std::thread poller([&] { first = rw->SendCommand("MOD"); });
    poller.join();
    const int second = rw->SendCommand("MOD");
    drive.stop();
    g_readWrite = nullptr;
    m_link.closePort();

    const QList<drive::ScriptedDrive::Request> requests = drive.requests();
    const QList<qint64> answered = drive.answerTimes();
    QVERIFY(requests.size() >= 2 && !answered.isEmpty());
    QVERIFY2(requests.at(1).atMs >= answered.at(0),
             qPrintable(QStringLiteral("asked at %1 ms, %2 ms after the first request; its reply went at %3 ms")
                            .arg(requests.at(1).atMs)
                            .arg(requests.at(1).atMs - requests.at(0).atMs)
                            .arg(answered.at(0))));
    QStringList heard;
    for (const drive::ScriptedDrive::Request &request : requests)
        heard << QStringLiteral("%1 at %2 ms").arg(QString::fromLatin1(request.bytes.toHex())).arg(request.atMs);
    QVERIFY2(requests.size() <= script.size(), qPrintable(QStringLiteral("heard: ") + heard.join(QStringLiteral(", "))));
    QCOMPARE(first, int('0'));
    QCOMPARE(second, int('0'));
}

QTEST_MAIN(tst_FrameSilence)
#include "tst_framesilence.moc"

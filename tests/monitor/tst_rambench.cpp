// How fast the RAM poller goes round: passes per second with two 16-bit channels at 9600 and
// 115200 baud against the simulated drive, beside the line's limit (lineLimit) and the wire time of
// the pass's frames. Not a timed test; every row with TAVIRON_BENCH=1.
#include "benchmode.h"
#include "comm/typeinfo.h"
#include "monitor/ramthread.h"
#include "programfolder.h"
#include "pseudoterminal.h"
#include "simdrive.h"

class tst_RamBench : public QObject
{
    Q_OBJECT
private slots:
    void passesPerSecond_data();
    void passesPerSecond();
};

void tst_RamBench::passesPerSecond_data()
{
    QTest::addColumn<int>("baud");
    if (fullBench())
        QTest::newRow("9600_baud") << 9600;
    QTest::newRow("115200_baud") << 115200;
}

void tst_RamBench::passesPerSecond()
{
    QFETCH(int, baud);
    g_appDir = binDir() + QLatin1Char('/');
    QVERIFY(loadTypeInfo());
    TemporaryRegistry registry;
    SimulatedDrive drive(QStringLiteral("COM8"));
    QVERIFY(drive.startShipped(QStringLiteral("A-rtu.drive"), QStringLiteral("baud %1").arg(baud)));
    QVERIFY(drive.connect(1, baud == 9600 ? BAUD9600 : BAUD115200, DATA_8, PAR_EVEN, STOP_1));
    resetLinkFlags();
    g_protocolIndex = 1;
    setStation(1);

    RamThread poller(nullptr);
    g_ramChannelEnabled[0] = true;
    g_ramChannelEnabled[1] = true;
    poller.setChannels({ 0x9000, 0xD000 }, { 2, 2 });
    poller.startPolling();
    QTest::qWait(baud == 9600 ? 4000 : 2000);
    poller.stopAndWait();
    QVERIFY(!poller.takeFailed());

    // Channel 1's requests mark the passes; the middle of the run, away from start and stop.
    QVector<double> starts;
    for (const JournalFrame &f : drive.received())
        if (f.bytes.mid(2, 2) == QByteArray::fromHex("9000"))
            starts << f.at;
    QVERIFY(starts.size() > 10);
    const int from = starts.size() / 4, to = starts.size() * 3 / 4;
    const double period = (starts.at(to) - starts.at(from)) / (to - from);
    // RTU 8E1, 11 bits a character: per channel an 8-byte request and a 9-byte reply.
    const double wire = 2 * (8 + 9) * 11.0 / baud;
    const double limit = lineLimit(drive.frames(), starts.at(from), starts.at(to), 11, baud, true) / (to - from);
    qInfo("%6d baud, two 16-bit channels: %.1f passes/s, pass %.2f ms, wire %.2f ms (x%.2f)", baud, 1.0 / period,
          period * 1000, wire * 1000, period / wire);
    qInfo("%6d baud, two 16-bit channels: the line's limit %.2f ms (x%.2f)", baud, limit * 1000, period / limit);
    drive.stop();
}

QTEST_MAIN(tst_RamBench)
#include "tst_rambench.moc"

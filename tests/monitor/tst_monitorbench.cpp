// How fast the monitor poller goes round: the pass period for 1, 4 and 8 items at 9600 and 115200
// baud against the simulated drive, beside the line's limit (the pass's frames on the wire, the
// drive's turnaround and the silence before each request), the wire time alone and the time a
// parameter read takes per exchange at that baud. Not a timed test; every row with TAVIRON_BENCH=1.
#include "benchmode.h"
#include "comm/typeinfo.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitorthread.h"
#include "programfolder.h"
#include "pseudoterminal.h"
#include "simdrive.h"

#include <QElapsedTimer>

class tst_MonitorBench : public QObject
{
    Q_OBJECT
private slots:
    void passPeriod_data();
    void passPeriod();
};

void tst_MonitorBench::passPeriod_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("items");
    for (int baud : { 9600, 115200 })
        for (int items : { 1, 4, 8 })
            if (fullBench() || (baud == 115200 && items == 1))
                QTest::newRow(qPrintable(QStringLiteral("%1_baud_%2_items").arg(baud).arg(items))) << baud << items;
}

void tst_MonitorBench::passPeriod()
{
    QFETCH(int, baud);
    QFETCH(int, items);
    g_appDir = binDir() + QLatin1Char('/');
    QVERIFY(loadTypeInfo());
    TemporaryRegistry registry;
    SimulatedDrive drive(QStringLiteral("COM8"));
    // Modbus RTU, 8E1: 11 bits a character. Items whose scale needs no parameter read.
    QVERIFY(drive.startShipped(QStringLiteral("A-rtu.drive"), QStringLiteral("baud %1").arg(baud)));
    QVERIFY(drive.connect(1, baud == 9600 ? BAUD9600 : BAUD115200, DATA_8, PAR_EVEN, STOP_1));
    resetLinkFlags();
    g_protocolIndex = 1;
    setStation(1);
    g_seriesLetter = 'A';
    g_firmwareVersion = QStringLiteral("1.10");
    g_invType = QStringLiteral("VR3-043-5.5K");
    g_versionRead = true;

    // A parameter read's time per exchange, as Read All pays it, over the first forty the drive holds.
    QVector<int> numbers;
    QFile params(sourceDir() + QStringLiteral("/tools/drivesim/scenarios/A.params"));
    QVERIFY(params.open(QIODevice::ReadOnly));
    while (numbers.size() < 40 && !params.atEnd()) {
        const QList<QByteArray> words = params.readLine().split(' ');
        if (words.value(0) == "P")
            numbers << words.value(1).toInt();
    }
    QElapsedTimer clock;
    clock.start();
    const int reads = numbers.size();
    for (int n : qAsConst(numbers))
        QVERIFY2(drive.readWrite()->ReadPar(n, 0.01) >= 0, qPrintable(QString::number(n)));
    const double perRead = clock.nsecsElapsed() / 1e9 / reads;

    const QVector<QString> all = { "M2R", "MER", "MFR", "MaR", "MKR", "M7R", "MAR", "MBR" };
    QVector<QString> codes = all.mid(0, items);
    replaceMonitorLists(codes + QVector<QString> { "MCR" }, codes);
    clearPollFlags(g_dialPollFlags);
    clearPollFlags(g_advPollFlags);
    for (int i = 0; i < items; ++i)
        setPollFlag(g_dialPollFlags, i);

    MonitorThread poller;
    QVERIFY(poller.startDialMonitor());
    QTest::qWait(baud == 9600 ? 4000 : 2000);
    poller.stopAndWait();

    // The poller's last request marks each pass, whatever tries the reads before it took under load.
    QVector<double> starts;
    const QByteArray first = drive.received().last().bytes;
    for (const JournalFrame &f : drive.received())
        if (f.bytes == first)
            starts << f.at;
    QVERIFY(starts.size() > 5);
    // The middle of the run, away from start and stop.
    const int from = starts.size() / 4, to = starts.size() * 3 / 4;
    const double period = (starts.at(to) - starts.at(from)) / (to - from);
    const double limit = lineLimit(drive.frames(), starts.at(from), starts.at(to), 11, baud, true) / (to - from);
    const double wire = items * (8 + 7) * 11.0 / baud;
    qInfo("%6d baud, %d item(s): pass %.2f ms, wire %.2f ms (x%.2f), %.2f exchanges of a parameter read "
          "(%.2f ms each; x%.2f per item)",
          baud, items, period * 1000, wire * 1000, period / wire, period / perRead, perRead * 1000,
          period / items / perRead);
    qInfo("%6d baud, %d item(s): the line's limit %.2f ms (x%.2f)", baud, items, limit * 1000, period / limit);
    drive.stop();
}

QTEST_MAIN(tst_MonitorBench)
#include "tst_monitorbench.moc"

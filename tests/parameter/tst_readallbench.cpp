// How close Read All comes to what the line allows: series S over Modbus RTU 8N1 at 9600 and
// 115200 baud against the simulated drive, the reply handed over whole (a USB adapter) or paced
// byte by byte (a UART), beside libmodbus's own modbus_read_registers loop over the same registers
// on the same drive in the same run. Not a timed test; runs only with TAVIRON_BENCH=1.
#include "transferfixture.h"

#include <modbus.h>

class tst_ReadAllBench : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_f.setUpProgram()); }
    void cleanupTestCase() { m_f.tearDown(); }
    void againstTheLine_data();
    void againstTheLine();

private:
    TransferFixture m_f;
};

void tst_ReadAllBench::againstTheLine_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<QString>("reply");
    for (const char *reply : { "whole", "paced" })
        for (int baud : { 9600, 115200 })
            QTest::newRow(qPrintable(QStringLiteral("%1_%2").arg(baud).arg(QLatin1String(reply)))) << baud << reply;
}

void tst_ReadAllBench::againstTheLine()
{
    if (qgetenv("TAVIRON_BENCH") != "1")
        QSKIP("set TAVIRON_BENCH=1 to measure Read All against the line and libmodbus");
    QFETCH(int, baud);
    QFETCH(QString, reply);
    m_f.resetState();
    const QString params = QStringLiteral("%1/tools/drivesim/scenarios/S.params").arg(sourceDir());
    QVERIFY(m_f.connectDrive(1, { "series S", "include " + params, "firmware 25", "p186 1", "typecode 40", "reply " + reply },
                             baud));
    m_f.loadSeriesS();
    g_firmwareVersion = QStringLiteral("0.25");
    SimulatedDrive &drive = m_f.drive();

    const int before = drive.frames().size();
    const int requestsBefore = drive.received().size();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(m_f.form()->allReadPB, Qt::LeftButton);
    const double wall = clock.nsecsElapsed() / 1e9;
    QVERIFY(m_f.boxes.texts.isEmpty());
    const QList<JournalFrame> ours = drive.frames().mid(before);
    QVector<int> registers;
    for (const WireRequest &r : TransferFixture::only(m_f.requests(1, requestsBefore), QStringLiteral("read")))
        registers << r.parameter;
    QVERIFY(registers.size() > 100);

    // The same registers through libmodbus, once our port has let the device go.
    const QString device = Win_QextSerialPort::devicePath(QStringLiteral("COM9"));
    drive.disconnect();
    modbus_t *ctx = modbus_new_rtu(qPrintable(device), baud, 'N', 8, 1);
    QVERIFY(ctx);
    modbus_set_slave(ctx, 1);
    QVERIFY2(modbus_connect(ctx) == 0, modbus_strerror(errno));
    int failed = 0;
    for (int address : registers) {
        uint16_t value = 0;
        failed += modbus_read_registers(ctx, address, 1, &value) != 1;
    }
    modbus_close(ctx);
    modbus_free(ctx);
    QCOMPARE(failed, 0);
    const QList<JournalFrame> theirs = drive.frames().mid(before + ours.size());

    // From the first request's first byte to the last reply's last byte, as the drive saw them.
    auto report = [&](const char *who, const QList<JournalFrame> &frames, double reference) {
        const double from = frames.first().at, to = frames.last().at;
        const double limit = lineLimit(frames, from, to + 1e-9, 10, baud, false);
        qInfo("%6d baud, reply %s: %-9s %d reads in %.3f s, the line's limit %.3f s (x%.2f)%s", baud, qPrintable(reply),
              who, registers.size(), to - from, limit, (to - from) / limit,
              reference > 0 ? qPrintable(QStringLiteral(", the libmodbus loop x%1").arg((to - from) / reference, 0, 'f', 2))
                            : "");
        qInfo("    %s", qPrintable(journalPace(frames)));
        return to - from;
    };
    const double loop = report("libmodbus", theirs, 0);
    report("Read All", ours, loop);
    qInfo("Read All took %.3f s from the click", wall);
    m_f.stopDrive();
}

QTEST_MAIN(tst_ReadAllBench)
#include "tst_readallbench.moc"

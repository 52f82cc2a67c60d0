#include "linkfixture.h"
#include "simdrive.h"

// The protocol objects end to end: the real port on a pseudo-terminal, the simulated drive on
// the far end, and the drive's journal as the witness of what went over the line.
class tst_DriveLink : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void parameters_data() { shippedLineRows(); }
    void parameters();
    void commands_data() { shippedLineRows(); }
    void commands();
    void silentNineTriesAnsweredOnTheTenth_data() { shippedLineRows(); }
    void silentNineTriesAnsweredOnTheTenth();
    void neverAnswered_data() { shippedLineRows(); }
    void neverAnswered();
    void refusals_data() { shippedLineRows(); }
    void refusals();
    void elevenRefusedCommandsTakeTheLinkOffline_data() { shippedLineRows(); }
    void elevenRefusedCommandsTakeTheLinkOffline();
    void restartWaitCoversTheDrivesRestart();
    void pollerAndWriterShareTheLink();

private:
    bool startLine(int index);
    void control(const QString &line) { QVERIFY(m_drive.control(line)); }
    QStringList received() const; // the frames the drive took, as hex
    double read(int parameter, double unit) { return m_rw->ReadPar(parameter, unit); }

    LinkFixture m_link;
    SimulatedDrive m_drive;
    ReadWrite *m_rw = nullptr;
    int m_protocol = 0;
};

namespace {

// What the drive of each shipped line reports.
struct Line {
    char series;
    const char *firmware;
    double special; // what a raw FFFFh means where the special value applies
};

const Line kLines[] = {
    { 'A', "0.55", 99999 },
    { 'S', "0.25", 99999 },
    { 'D', "0.52", 9999 },
};

} // namespace

void tst_DriveLink::initTestCase()
{
    QVERIFY(m_drive.isValid());
    QVERIFY(m_link.setUpProgram());
}

void tst_DriveLink::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_DriveLink::init()
{
    m_link.resetState();
}

void tst_DriveLink::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << "drive journal:\n" << received().join(QLatin1Char('\n'));
    m_drive.stop();
    m_rw = nullptr;
    g_readWrite = nullptr;
    g_serialPort = nullptr;
}

// Starts the drive of the line and connects the line's protocol object to it.
bool tst_DriveLink::startLine(int index)
{
    if (!m_drive.startLine(index))
        return false;
    m_rw = m_drive.readWrite();
    return true;
}

QStringList tst_DriveLink::received() const
{
    QStringList frames;
    for (const JournalFrame &frame : m_drive.received())
        frames << frame.hex;
    return frames;
}

#define START_LINE()                                                                                                 \
    QFETCH(int, line);                                                                                               \
    const Line &l = kLines[line];                                                                                    \
    QVERIFY(startLine(line));                                                                                        \
    g_seriesLetter = l.series;                                                                                       \
    g_firmwareVersion = QLatin1String(l.firmware);                                                                   \
    m_protocol = shippedLine(line).protocol;

void tst_DriveLink::parameters()
{
    START_LINE();
    // P.7 holds 500 with two decimals; the Modbus caller gives the scale, the drive's reply gives it
    // under the character protocol.
    QCOMPARE(read(7, 0.01), 5.0);
    QVERIFY(m_rw->WritePar(7, 1234));
    QCOMPARE(read(7, 0.01), 12.34);

    control(QStringLiteral("set 259 65535"));
    g_signedFlag = true;
    QCOMPARE(read(259, 1), -1.0);
    QCOMPARE(read(259, 1), 65535.0); // the flag was for one read only

    control(QStringLiteral("set 77 65535"));
    QCOMPARE(read(77, 1), l.special);
    control(QStringLiteral("set 6 65535"));
    g_noValueFlag = true;
    QCOMPARE(read(6, 0.1), l.special);

    QCOMPARE(m_rw->ReadTypeCode(), l.series == 'A' ? 13 : l.series == 'S' ? 40 : 21);
    if (m_protocol != 0) {
        QCOMPARE(m_rw->ReadRegisters(0x1200, 1), l.series == 'A' ? 13 : 40);
        QCOMPARE(m_rw->ReadRegisters(0x9000, 2), 0x3478);
    }
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());
    // Outside a batch every character-protocol read selects its page again: 2 frames more each.
    QCOMPARE(received().size(), m_protocol == 0 ? 6 * 3 + 1 + 1 : 10);
}

void tst_DriveLink::commands()
{
    START_LINE();
    QCOMPARE(m_rw->SendCommand("MOD"), int('0'));
    QCOMPARE(m_rw->SendCommand("EXT"), 0);
    QCOMPARE(m_rw->SendCommand("MOD"), int('1'));
    QCOMPARE(m_rw->SendCommand("CU0"), 0);
    const char frequency[] = { 'F', 'R', 'E', char(0x13), char(0x88) };
    QCOMPARE(m_rw->SendCommand(frequency), 0);
    QCOMPARE(m_rw->SendCommand("FWD"), 0);
    QTest::qWait(100);
    const int status = m_rw->SendCommand("STA");
    QVERIFY2(status > 0 && (status & 1), qPrintable(QString::number(status)));
    QCOMPARE(m_rw->SendCommand("STO"), 0);
    QCOMPARE(m_rw->SendCommand("M0N"), 18 << 8); // last alarm 18, none present
    QCOMPARE(m_rw->SendCommand("MAW"), 0);
    // Item K counts whole units; item F one decimal under Modbus, the reply's own decimal digit
    // (one for the bus voltage) under the character protocol.
    QCOMPARE(m_rw->SendCommand("MKR"), 0);
    QCOMPARE(m_rw->LastValue(), 1234.0);
    QCOMPARE(m_rw->SendCommand("MFR"), 0);
    QCOMPARE(m_rw->LastValue(), m_protocol == 0 ? 310.2 : 535.8);
    QCOMPARE(m_rw->SendCommand("MCR"), 0);
    QCOMPARE(m_rw->SendCommand("XYZ"), -1);
    QVERIFY(m_link.reportedErrors().isEmpty());
    QVERIFY(!g_offLine);
    // The frequency went out as 1388h in the frame's value field.
    const QStringList frames = received();
    const QString wanted = m_protocol == 1 ? QStringLiteral("01 06 10 02 13 88") : QStringLiteral("31 33 38 38");
    QVERIFY2(frames.value(4).contains(wanted), qPrintable(frames.value(4)));
}

void tst_DriveLink::silentNineTriesAnsweredOnTheTenth()
{
    START_LINE();
    QCOMPARE(m_rw->SendCommand("MOD"), int('0')); // the page and mode are known now
    control(QStringLiteral("fault silent-first 9"));
    g_batchTransfer = true; // under the character protocol: no page selection before the read
    g_zrPage = 0;
    QCOMPARE(read(5, 0.01), 30.0);
    QVERIFY(!g_offLine);
    const QStringList frames = received().mid(1);
    QCOMPARE(frames.size(), 10);
    QCOMPARE(frames.count(frames.first()), 10);
}

void tst_DriveLink::neverAnswered()
{
    START_LINE();
    control(QStringLiteral("fault link-lost"));
    g_connectionTest = true;
    QCOMPARE(m_rw->SendCommand("MCR"), -1);
    QCOMPARE(received().size(), 1);
    QVERIFY(!g_offLine);
    g_connectionTest = false;

    QCOMPARE(m_rw->SendCommand("MOD"), -1);
    QCOMPARE(received().size(), 11);
    QVERIFY(g_offLine);
    // The command that lost the link tells it (the pollers tell nothing); a batch's read on the
    // lost link is not sent and tells nothing again.
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    g_batchTransfer = true;
    g_zrPage = 0;
    QCOMPARE(read(5, 1), -1.0);
    QCOMPARE(received().size(), 11);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    QCOMPARE(m_link.buttonText(), QStringLiteral("Off-Line"));
    g_batchTransfer = false;
}

void tst_DriveLink::refusals()
{
    START_LINE();
    // Modbus exception 03 and the character protocol's code C for a refused value; exception 02
    // and code B for a parameter the drive does not have.
    const int refused = m_protocol == 0 ? 19 : 14;
    const int unknown = m_protocol == 0 ? 18 : 12;
    control(QStringLiteral("refuse param 5 write"));
    control(QStringLiteral("refuse param 5 read"));
    control(QStringLiteral("refuse param 77 write"));
    control(QStringLiteral("refuse param 290 write"));
    control(QStringLiteral("refuse param 6 write"));

    QVERIFY(!m_rw->WritePar(5, 1));
    QCOMPARE(read(5, 1), -1.0);
    QCOMPARE(read(450, 1), -1.0);
    QCOMPARE(m_link.reportedErrors(), (QList<int> { refused, refused, unknown }));
    QVERIFY(!g_offLine);

    g_acceptP77Refusal = true;
    g_acceptAlarmWriteRefusal = true;
    QVERIFY(m_rw->WritePar(77, 2));
    QVERIFY(m_rw->WritePar(290, 3));
    QCOMPARE(m_link.reportedErrors().size(), 3);

    g_batchTransfer = true;
    QVERIFY(!m_rw->WritePar(5, 1));
    QVERIFY(!m_rw->WritePar(6, 1));
    QVERIFY(m_rw->WritePar(7, 1));
    QCOMPARE(g_failedParameters, (QStringList { "P.5", "P.6" }));
    QCOMPARE(m_link.reportedErrors().size(), 3);
    QVERIFY(g_batchTransfer);
}

void tst_DriveLink::elevenRefusedCommandsTakeTheLinkOffline()
{
    START_LINE();
    // Under external control the drive refuses run commands.
    QCOMPARE(m_rw->SendCommand("EXT"), 0);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());
    QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    QCOMPARE(m_link.buttonText(), QStringLiteral("Off-Line"));
    QCOMPARE(received().size(), 12);
    const QStringList log = m_link.logLines();
    QCOMPARE(log.size(), 11);
    for (const QString &entry : log)
        QVERIFY2(entry.startsWith(m_protocol == 0 ? "FWDread failure!" : "FWD  read failure!Error code:"), qPrintable(entry));
}

void tst_DriveLink::restartWaitCoversTheDrivesRestart()
{
    const Line &l = kLines[2];
    QVERIFY(startLine(2));
    g_seriesLetter = l.series;

    QCOMPARE(m_rw->SendCommand("999"), 0);
    g_restartWait = true;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(m_rw->SendCommand("MOD"), int('0'));
    QVERIFY2(timer.elapsed() >= 2000 && timer.elapsed() < 2300, qPrintable(QString::number(timer.elapsed())));
    // No request reached the drive while it restarted (a busy machine may make a try twice).
    QVERIFY(m_drive.journal().filter(QStringLiteral("silent: restarting")).isEmpty());
}

void tst_DriveLink::pollerAndWriterShareTheLink()
{
    const Line &l = kLines[2];
    QVERIFY(startLine(2));
    g_seriesLetter = l.series;

    std::atomic<bool> polling { true };
    std::atomic<int> failures { 0 };
    std::atomic<int> polls { 0 };
    std::thread poller([&] {
        while (polling) {
            const int command = m_rw->SendCommand("MKR");
            if (command != 0 || m_rw->LastValue() != 1234.0) {
                qWarning("poll MKR %d %f", command, m_rw->LastValue());
                ++failures;
            }
            const double p7 = m_rw->ReadPar(7, 1);
            if (p7 != 5.0) {
                qWarning("poll P.7 %f", p7);
                ++failures;
            }
            ++polls;
        }
    });
    while (polls == 0)
        QThread::msleep(1);
    bool written = true;
    for (int i = 0; i < 20; ++i)
        written = m_rw->WritePar(110 + i, i % 2) && written; // within every one's range
    polling = false;
    poller.join();
    QVERIFY(written);
    QCOMPARE(failures.load(), 0);
    QVERIFY2(polls >= 2, qPrintable(QString::number(polls)));
    // Each parameter holds what was written to it, in its own decimals.
    for (int i = 0; i < 20; ++i) {
        const double value = m_rw->ReadPar(110 + i, 1);
        QCOMPARE(qRound(value / g_zrValueUnit), i % 2);
    }
    QCOMPARE(m_rw->ReadPar(7, 1), 5.0);
}

QTEST_MAIN(tst_DriveLink)
#include "tst_drivelink.moc"

#include "comm/readwritertu.h"
#include "linkfixture.h"

// Modbus RTU through the real port on a pseudo-terminal, against a scripted drive.
class tst_ReadWriteRTU : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void operations_data();
    void operations();
    void silentNineTriesAnsweredOnTheTenth();
    void neverAnsweredTakesTheLinkOffline();
    void connectionTestMakesOneTry();
    void damagedReplyTriedAgain_data();
    void damagedReplyTriedAgain();
    void lateReplyDoesNotAnswerTheNextRequest();
    void elevenFailedCommandsTakeTheLinkOffline();
    void restartWaitBeforeTheNextCommand();

private:
    LinkFixture m_link;
    ReadWriteRTU *m_rw = nullptr;
};

using drive::crc;
using Frames = QList<QByteArray>;
using Answers = QList<drive::ScriptedDrive::Answer>;

namespace {

QByteArray frame(const char *hex)
{
    return crc(QByteArray::fromHex(hex));
}

Answers answers(const QList<const char *> &hex)
{
    Answers out;
    for (const char *h : hex)
        out.append({ h ? frame(h) : QByteArray(), 0 });
    return out;
}

Frames frames(const QList<const char *> &hex)
{
    Frames out;
    for (const char *h : hex)
        out << frame(h);
    return out;
}

} // namespace

void tst_ReadWriteRTU::initTestCase()
{
    m_rw = m_link.setUpProtocol<ReadWriteRTU>(1);
    QVERIFY(m_rw);
}

void tst_ReadWriteRTU::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_ReadWriteRTU::init()
{
    m_link.resetState();
}

void tst_ReadWriteRTU::operations_data()
{
    QTest::addColumn<char>("series");
    LinkFixture::addOperationColumns();

    const QList<int> none;
    const QStringList quiet;

    QTest::newRow("read_p188_series_C_times_10")
        << 'C' << "" << "read 188 0.01" << answers({ "010302000C" }) << frames({ "010300BC0001" }) << 1.2 << none << quiet;
    QTest::newRow("read_p188_series_T_small_times_10")
        << 'T' << "" << "read 188 0.001" << answers({ "0103020004" }) << frames({ "010300BC0001" }) << 0.04 << none
        << quiet;
    QTest::newRow("read_signed") << '0' << "signed" << "read 5 0.1" << answers({ "010302FFF6" })
                                 << frames({ "010300050001" }) << -1.0 << none << quiet;
    QTest::newRow("read_8000h_signed_stays_positive") << '0' << "signed" << "read 5 1" << answers({ "0103028000" })
                                                      << frames({ "010300050001" }) << 32768.0 << none << quiet;
    QTest::newRow("read_ffff_no_value_9999") << '0' << "novalue" << "read 6 0.01" << answers({ "010302FFFF" })
                                             << frames({ "010300060001" }) << 9999.0 << none << quiet;
    QTest::newRow("read_ffff_no_value_99999_series_A") << 'A' << "novalue" << "read 6 0.01"
                                                       << answers({ "010302FFFF" }) << frames({ "010300060001" })
                                                       << 99999.0 << none << quiet;
    QTest::newRow("read_p77_special_without_flag") << '0' << "" << "read 77 1" << answers({ "010302FFFF" })
                                                   << frames({ "0103004D0001" }) << 9999.0 << none << quiet;
    QTest::newRow("read_p1600_sends_nothing") << '0' << "" << "read 1600 1" << Answers() << Frames() << -1.0 << none
                                              << quiet;
    QTest::newRow("read_exception_function") << '0' << "" << "read 5 1" << answers({ "018301" })
                                             << frames({ "010300050001" }) << -1.0 << QList<int> { 10 } << quiet;
    QTest::newRow("read_exception_address") << '0' << "" << "read 5 1" << answers({ "018302" })
                                            << frames({ "010300050001" }) << -1.0 << QList<int> { 12 } << quiet;
    QTest::newRow("read_exception_value") << '0' << "" << "read 5 1" << answers({ "018303" })
                                          << frames({ "010300050001" }) << -1.0 << QList<int> { 14 } << quiet;
    QTest::newRow("read_exception_quiet_in_batch") << '0' << "batch" << "read 5 1" << answers({ "018302" })
                                                   << frames({ "010300050001" }) << -1.0 << none << quiet;
    QTest::newRow("read_exception_quiet_read") << '0' << "quiet" << "read 5 1" << answers({ "018302" })
                                               << frames({ "010300050001" }) << -1.0 << none << quiet;

    QTest::newRow("write") << '0' << "" << "write 100 500" << answers({ "0106006401F4" })
                           << frames({ "0106006401F4" }) << 1.0 << none << quiet;
    QTest::newRow("write_refused_reported_and_logged")
        << '0' << "" << "write 100 500" << answers({ "018603" }) << frames({ "0106006401F4" }) << 0.0
        << QList<int> { 14 } << QStringList { "Write parameter P.100=500 failure!" };
    QTest::newRow("write_p77_refusal_accepted") << '0' << "accept77" << "write 77 1" << answers({ "018603" })
                                                << frames({ "0106004D0001" }) << 1.0 << none << quiet;
    QTest::newRow("write_p290_refusal_accepted") << '0' << "acceptalarm" << "write 290 0" << answers({ "018603" })
                                                 << frames({ "010601220000" }) << 1.0 << none << quiet;
    QTest::newRow("write_p288_refusal_not_accepted_without_flag")
        << '0' << "accept77" << "write 288 0" << answers({ "018602" }) << frames({ "010601200000" }) << 0.0
        << QList<int> { 12 } << QStringList { "Write parameter P.288=0 failure!" };
    QTest::newRow("write_p1600_refused_unsent") << '0' << "" << "write 1600 1" << Answers() << Frames() << 0.0 << none
                                                << quiet;

    QTest::newRow("registers_low_bytes") << '0' << "" << "registers 4608 2" << answers({ "01030412345678" })
                                         << frames({ "010312000002" }) << double(0x3478) << none << quiet;
    QTest::newRow("registers_count_that_does_not_fit") << '0' << "" << "registers 4608 10" << Answers() << Frames()
                                                       << 65535.0 << none << quiet;
    QTest::newRow("type_code") << '0' << "" << "type" << answers({ "0103020105" }) << frames({ "010312000001" }) << 5.0
                               << none << quiet;

    QTest::newRow("command_mode") << '0' << "" << "command MOD" << answers({ "0103020003" })
                                  << frames({ "010310000001" }) << double('3') << none << quiet;
    QTest::newRow("command_mode_out_of_range") << '0' << "" << "command MOD" << answers({ "0103020009" })
                                               << frames({ "010310000001" }) << -1.0 << none << quiet;
    QTest::newRow("command_status_word") << '0' << "" << "command STA" << answers({ "0103021234" })
                                         << frames({ "010310010001" }) << 4660.0 << none << quiet;
    QTest::newRow("command_alarm_word_failure_logged")
        << '0' << "" << "command M0N" << answers({ "018302" }) << frames({ "010310030001" }) << -1.0 << none
        << QStringList { "M0Nread failure,error code:01 83 02 C0 F1" };
    QTest::newRow("command_monitor_write") << '0' << "" << "command MAW" << answers({ "010611100001" })
                                           << frames({ "010611100001" }) << 0.0 << none << quiet;
    // Item b takes its scale from P.259: its tens give 1, 0.1 or 0.01; anything else is no reading.
    QTest::newRow("command_monitor_item_b_scaled_by_p259")
        << '0' << "" << "command MbR" << answers({ "01030204D2", "0103020014" })
        << frames({ "010311060001", "010301030001" }) << 0.0 << none << quiet;
    QTest::newRow("command_monitor_item_b_p259_without_scale_fails")
        << '0' << "" << "command MbR" << answers({ "01030204D2", "0103020023" })
        << frames({ "010311060001", "010301030001" }) << -1.0 << none
        << QStringList { "MbRsumCheck failure!" };
    QTest::newRow("command_run_forward") << '0' << "" << "command FWD" << answers({ "010610010002" })
                                         << frames({ "010610010002" }) << 0.0 << none << quiet;
    QTest::newRow("command_frequency_data") << '0' << "" << "command FRE 01 2C" << answers({ "01061002012C" })
                                            << frames({ "01061002012C" }) << 0.0 << none << quiet;
    QTest::newRow("command_refused_logged") << '0' << "" << "command FWD" << answers({ "018603" })
                                            << frames({ "010610010002" }) << -1.0 << none
                                            << QStringList { "FWD  read failure!Error code:01 86 03 02 61" };
    // A stop that fails during a connection test is logged like any failed command, a probe's failure is not.
    QTest::newRow("command_stop_refused_in_a_test_logged")
        << '0' << "test" << "command STO" << answers({ "018603" }) << frames({ "010610010000" }) << -1.0 << none
        << QStringList { "STO  read failure!Error code:01 86 03 02 61" };
    QTest::newRow("command_unknown_code_unsent") << '0' << "" << "command XYZ" << Answers() << Frames() << -1.0
                                                 << none << quiet;
}

void tst_ReadWriteRTU::operations()
{
    QFETCH(char, series);
    QFETCH(QString, flags);
    QFETCH(QString, op);
    QFETCH(double, result);

    g_seriesLetter = series;
    g_firmwareVersion = QStringLiteral("1");
    m_link.checkOperationRow(*m_rw);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!g_offLine);
    QCOMPARE(g_failedParameters, flags.contains("batch") && op.startsWith("write") && result == 0
                                     ? QStringList { "P.100" }
                                     : QStringList());
}

void tst_ReadWriteRTU::silentNineTriesAnsweredOnTheTenth()
{
    Answers script = answers({ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr });
    script << answers({ "0103020064" });
    m_link.drive().play(script);
    QCOMPARE(m_rw->ReadPar(5, 1.0), 100.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames(), frames({ "010300050001", "010300050001", "010300050001", "010300050001", "010300050001",
                                                  "010300050001", "010300050001", "010300050001", "010300050001", "010300050001" }));
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());
}

void tst_ReadWriteRTU::neverAnsweredTakesTheLinkOffline()
{
    g_responseDelayMs = 5;
    m_link.drive().play(Answers());
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    m_link.drive().stop();
    const auto requests = m_link.drive().requests();
    QCOMPARE(requests.size(), 10);
    // Each try pauses first, then waits 10 ms and one 6 ms poll period at 115200 baud.
    const qint64 span = requests.last().atMs - requests.first().atMs;
    QVERIFY2(span >= 9 * 19 - 10, qPrintable(QString::number(span)));
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    QCOMPARE(m_link.buttonText(), QStringLiteral("Off-Line"));

    // Nothing more is sent until a connection test's exchange gets any answer, even a refusal,
    // which brings the link back.
    m_link.drive().play(answers({ "018302" }));
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.drive().requests().size(), 0);
    g_connectionTest = true;
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    g_connectionTest = false;
    QVERIFY(!g_offLine);
}

void tst_ReadWriteRTU::damagedReplyTriedAgain_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::newRow("function_and_crc_wrong") << QByteArray::fromHex("0113021234B533");
    QTest::newRow("function_wrong_crc_valid") << frame("0113021234");
    QTest::newRow("write_function_to_a_read") << frame("0106021234");
    QTest::newRow("exception_crc_wrong") << QByteArray::fromHex("018302C0F2");
}

// A damaged reply is a failed try like silence: tried again, and after ten such tries the link is lost.
void tst_ReadWriteRTU::damagedReplyTriedAgain()
{
    QFETCH(QByteArray, damaged);
    const Answers once { { damaged, 0 }, { frame("0103021234"), 0 } };
    m_link.drive().play(once);
    QCOMPARE(m_rw->ReadPar(5, 1.0), 4660.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames(), frames({ "010300050001", "010300050001" }));
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());

    Answers always;
    for (int i = 0; i < ReadWrite::MaxTries; ++i)
        always.append({ damaged, 0 });
    m_link.drive().play(always);
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames().size(), 10);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
}

void tst_ReadWriteRTU::connectionTestMakesOneTry()
{
    g_connectionTest = true;
    m_link.drive().play(Answers());
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames().size(), 1);
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());
}

void tst_ReadWriteRTU::lateReplyDoesNotAnswerTheNextRequest()
{
    g_connectionTest = true;
    Answers script;
    script.append({ frame("0103020001"), 60 });
    script.append({ frame("0103020002"), 0 });
    m_link.drive().play(script);
    QCOMPARE(m_rw->ReadPar(1, 1.0), -1.0);
    QThread::msleep(120); // the late reply is queued by now
    QCOMPARE(m_rw->ReadPar(2, 1.0), 2.0);
}

void tst_ReadWriteRTU::elevenFailedCommandsTakeTheLinkOffline()
{
    Answers refusals;
    for (int i = 0; i < 12; ++i)
        refusals << answers({ "018603" });
    m_link.drive().play(refusals);

    // A connection test in between starts the count afresh.
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_rw->SendCommand("FWD"), -1);
    resetCommandFailureCounters();
    QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(!g_offLine);
    QVERIFY(m_link.reportedErrors().isEmpty());

    // A success in between resets it too.
    m_link.drive().play(answers({ "010610010002" }));
    QCOMPARE(m_rw->SendCommand("FWD"), 0);
    m_link.drive().play(refusals);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(!g_offLine);
    QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    QCOMPARE(m_link.buttonText(), QStringLiteral("Off-Line"));
    // The count starts again after it took the link off-line.
    g_offLine = false;
    QCOMPARE(m_rw->SendCommand("FWD"), -1);
    QVERIFY(!g_offLine);
}

void tst_ReadWriteRTU::restartWaitBeforeTheNextCommand()
{
    // Counted from the restarting command's answer: a command asked for half a second later waits the rest.
    m_link.drive().play(answers({ "010613000997", "010610010002" }));
    QCOMPARE(m_rw->SendCommand("997"), 0);
    g_restartWait = true;
    QThread::msleep(500);
    QCOMPARE(m_rw->SendCommand("FWD"), 0);
    m_link.drive().stop();
    QVERIFY(!g_restartWait);
    const qint64 waited = m_link.drive().requests().value(1).atMs - m_link.drive().requests().value(0).atMs;
    QVERIFY2(waited >= 2000 && waited < 2300, qPrintable(QString::number(waited)));
}

QTEST_MAIN(tst_ReadWriteRTU)
#include "tst_readwritertu.moc"

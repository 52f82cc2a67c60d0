#include "comm/readwriteasc.h"
#include "linkfixture.h"

// Modbus ASCII through the real port on a pseudo-terminal, against a scripted drive.
class tst_ReadWriteASC : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void operations_data();
    void operations();
    void wrongLrcTriedTenTimes();
    void damagedReplyTriedAgain_data();
    void damagedReplyTriedAgain();
    void restartWait();

private:
    LinkFixture m_link;
    ReadWriteASC *m_rw = nullptr;
};

using drive::lrc;
using Frames = QList<QByteArray>;
using Answers = QList<drive::ScriptedDrive::Answer>;

namespace {

Answers answers(const QList<QByteArray> &bodies)
{
    Answers out;
    for (const QByteArray &b : bodies)
        out.append({ lrc(b), 0 });
    return out;
}

} // namespace

void tst_ReadWriteASC::initTestCase()
{
    m_rw = m_link.setUpProtocol<ReadWriteASC>(2);
    QVERIFY(m_rw);
}

void tst_ReadWriteASC::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_ReadWriteASC::init()
{
    m_link.resetState();
}

void tst_ReadWriteASC::operations_data()
{
    QTest::addColumn<char>("series");
    LinkFixture::addOperationColumns();

    const QList<int> none;
    const QStringList quiet;

    QTest::newRow("read_p188_series_X_below_0.6") << 'X' << "" << "read 188 0.01" << answers({ "010302000C" })
                                                  << Frames { ":010300BC00013F\r\n" } << 1.2 << none << quiet;
    QTest::newRow("read_p188_series_G_above_0.3") << 'G' << "" << "read 188 0.01" << answers({ "010302001F" })
                                                  << Frames { lrc("010300BC0001") } << 0.31 << none << quiet;
    QTest::newRow("read_p300_address") << '0' << "" << "read 300 0.1" << answers({ "0103020064" })
                                       << Frames { ":0103012C0001CE\r\n" } << 10.0 << none << quiet;
    QTest::newRow("read_signed") << '0' << "signed" << "read 5 0.01" << answers({ "010302FC18" })
                                 << Frames { lrc("010300050001") } << -10.0 << none << quiet;
    QTest::newRow("read_no_value_99999_series_A") << 'A' << "novalue" << "read 6 0.01" << answers({ "010302FFFF" })
                                                  << Frames { lrc("010300060001") } << 99999.0 << none << quiet;
    QTest::newRow("read_silent_try_asked_again_counts_once")
        << '0' << "" << "read 300 0.1" << Answers { {}, { lrc("0103020064"), 0 } } << Frames { lrc("0103012C0001") }
        << 10.0 << none << quiet;
    QTest::newRow("read_exception_not_retried") << '0' << "" << "read 5 1" << answers({ "018301" })
                                                << Frames { lrc("010300050001") } << -1.0 << QList<int> { 10 } << quiet;
    QTest::newRow("read_exception_address") << '0' << "" << "read 5 1" << answers({ "018302" })
                                            << Frames { lrc("010300050001") } << -1.0 << QList<int> { 12 } << quiet;

    QTest::newRow("write") << '0' << "" << "write 100 500" << answers({ "0106006401F4" })
                           << Frames { lrc("0106006401F4") } << 1.0 << none << quiet;
    QTest::newRow("write_refused") << '0' << "" << "write 100 500" << answers({ "018603" })
                                   << Frames { lrc("0106006401F4") } << 0.0 << QList<int> { 14 } << quiet;
    QTest::newRow("write_p77_refusal_accepted") << '0' << "accept77" << "write 77 65535" << answers({ "018603" })
                                                << Frames { lrc("0106004DFFFF") } << 1.0 << none << quiet;
    QTest::newRow("write_p288_refusal_accepted") << '0' << "acceptalarm" << "write 288 0" << answers({ "018602" })
                                                 << Frames { lrc("010601200000") } << 1.0 << none << quiet;
    QTest::newRow("write_refused_in_batch") << '0' << "batch" << "write 100 1" << answers({ "018602" })
                                            << Frames { lrc("010600640001") } << 0.0 << none << quiet;

    QTest::newRow("registers_low_bytes") << '0' << "" << "registers 4608 2" << answers({ "01030412345678" })
                                         << Frames { lrc("010312000002") } << double(0x3478) << none << quiet;
    // The longest reply the interface allows: nine registers, 47 characters.
    QTest::newRow("registers_nine") << '0' << "" << "registers 1 9"
                                    << answers({ "010312000100020003000400050006000700080009" })
                                    << Frames { lrc("010300010009") } << double(0x06070809) << none << quiet;
    QTest::newRow("registers_zero_refused") << '0' << "" << "registers 1 0" << Answers() << Frames() << 65535.0
                                            << none << quiet;
    QTest::newRow("type_code") << '0' << "" << "type" << answers({ "0103020105" }) << Frames { lrc("010312000001") }
                               << 5.0 << none << quiet;

    QTest::newRow("command_mode") << '0' << "" << "command MOD" << answers({ "0103020008" })
                                  << Frames { lrc("010310000001") } << double('8') << none << quiet;
    QTest::newRow("command_status") << '0' << "" << "command STA" << answers({ "010302ABCD" })
                                    << Frames { lrc("010310010001") } << double(0xABCD) << none << quiet;
    QTest::newRow("command_word_failure_logged")
        << '0' << "" << "command M1N" << answers({ "018302" }) << Frames { lrc("010310040001") } << -1.0 << none
        << QStringList { "M1Nread failure,error code::0183027A" };
    QTest::newRow("command_monitor_read_scaled") << '0' << "" << "command MER" << answers({ "01030201F4" })
                                                << Frames { lrc("010311030001") } << 0.0 << none << quiet;
    QTest::newRow("command_monitor_write_failure_logged")
        << '0' << "" << "command MBW" << answers({ "018603" }) << Frames { lrc("010611110002") } << -1.0 << none
        << QStringList { "MBWwrite failure!" };
    QTest::newRow("command_frequency_data") << '0' << "" << "command FRE 01 2C" << answers({ "01061002012C" })
                                            << Frames { ":01061002012CBA\r\n" } << 0.0 << none << quiet;
    QTest::newRow("command_plain_failure_quiet_in_test") << '0' << "test" << "command CU0" << answers({ "018601" })
                                                         << Frames { lrc("010610000000") } << -1.0 << none << quiet;
}

void tst_ReadWriteASC::operations()
{
    QFETCH(char, series);
    QFETCH(QString, flags);
    QFETCH(QString, op);

    g_seriesLetter = series;
    g_firmwareVersion = QStringLiteral("1");
    m_link.checkOperationRow(*m_rw);
    if (QTest::currentTestFailed())
        return;
    if (op == QLatin1String("command MER"))
        QCOMPARE(m_rw->LastValue(), 50.0);
    QCOMPARE(g_failedParameters, flags.contains("batch") ? QStringList { "P.100" } : QStringList());
}

void tst_ReadWriteASC::wrongLrcTriedTenTimes()
{
    Answers bad;
    for (int i = 0; i < 10; ++i)
        bad.append({ ":0103020064FF\r\n", 0 });
    m_link.drive().play(bad);
    QCOMPARE(m_rw->ReadPar(5, 1.0), -1.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames().size(), 10);
    QVERIFY(g_offLine);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
}

void tst_ReadWriteASC::damagedReplyTriedAgain_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::newRow("function_and_lrc_wrong") << QByteArray(":0113021234B4\r\n");
    QTest::newRow("function_wrong_lrc_valid") << lrc("0113021234");
    QTest::newRow("write_function_to_a_read") << lrc("0106021234");
    QTest::newRow("exception_lrc_wrong") << QByteArray(":0183027B\r\n");
}

// A damaged reply is a failed try like silence: tried again, and after ten such tries the link is lost.
void tst_ReadWriteASC::damagedReplyTriedAgain()
{
    QFETCH(QByteArray, damaged);
    m_link.drive().play({ { damaged, 0 }, { lrc("0103021234"), 0 } });
    QCOMPARE(m_rw->ReadPar(5, 1.0), 4660.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames(), Frames({ ":010300050001F6\r\n", ":010300050001F6\r\n" }));
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

// The restart's wait runs from the restarting command's answer: a command asked a second later waits the rest.
void tst_ReadWriteASC::restartWait()
{
    m_link.drive().play(answers({ "010613000997", "010610010002" }));
    QCOMPARE(m_rw->SendCommand("997"), 0);
    g_restartWait = true;
    QThread::msleep(1000);
    QCOMPARE(m_rw->SendCommand("FWD"), 0);
    m_link.drive().stop();
    QVERIFY(!g_restartWait);
    const qint64 waited = m_link.drive().requests().value(1).atMs - m_link.drive().requests().value(0).atMs;
    QVERIFY2(waited >= 3000 && waited < 3300, qPrintable(QString::number(waited)));
}

QTEST_MAIN(tst_ReadWriteASC)
#include "tst_readwriteasc.moc"

#include "comm/readwritezr.h"
#include "linkfixture.h"

#include <QMap>

// The character protocol through the real port on a pseudo-terminal, against a scripted drive.
class tst_ReadWriteZR : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void operations_data();
    void operations();
    void batchReadsSkipTheSelectionOfTheirPage();
    void neverAnsweredForgetsThePage();
    void typeCodeRefusedWhilePageSelectionIsForced();
    void missingCommandTableReportedOncePerApplication();
    void pollerAndWriterInDifferentPages();
    void restartWaitOfSeriesS();

private:
    LinkFixture m_link;
    ReadWriteZR *m_rw = nullptr;
};

using namespace drive;
using Frames = QList<QByteArray>;
using Answers = QList<ScriptedDrive::Answer>;

namespace {

Answers answers(const QList<QByteArray> &replies)
{
    Answers out;
    for (const QByteArray &r : replies)
        out.append({ r, 0 });
    return out;
}

// Selecting page p as the drive sees it, and its answers.
Frames selection(int page, int mode = 1)
{
    const QByteArray digit = QByteArray::number(page, 16).toUpper();
    return { zrRequest("01FF0000" + digit, mode), zrRequest("017F0", mode) };
}

Answers selected(int page, int mode = 1)
{
    return answers({ zrAck("01", mode), zrData("01", "000" + QByteArray::number(page, 16).toUpper(), '0', mode) });
}

} // namespace

void tst_ReadWriteZR::initTestCase()
{
    m_rw = m_link.setUpProtocol<ReadWriteZR>(0);
    QVERIFY(m_rw);
}

void tst_ReadWriteZR::cleanupTestCase()
{
    m_link.tearDown();
}

void tst_ReadWriteZR::init()
{
    m_link.resetState();
}

void tst_ReadWriteZR::operations_data()
{
    QTest::addColumn<int>("mode");
    LinkFixture::addOperationColumns();

    const QList<int> none;
    const QStringList quiet;

    QTest::newRow("read_selects_page_first") << 1 << "" << "read 5 0.1"
                                             << selected(0) + answers({ zrData("01", "1388", '2') })
                                             << selection(0) + Frames { zrRequest("01050") } << 50.0 << none << quiet;
    QTest::newRow("read_no_terminator_replies_crlf")
        << 0 << "" << "read 5 1" << selected(0, 0) + answers({ zrData("01", "0064", '0', 0) })
        << selection(0, 0) + Frames { zrRequest("01050", 0) } << 100.0 << none << quiet;
    QTest::newRow("read_crlf") << 2 << "" << "read 105 1" << selected(1, 2) + answers({ zrData("01", "0064", '1', 2) })
                               << selection(1, 2) + Frames { zrRequest("01050", 2) } << 10.0 << none << quiet;
    QTest::newRow("read_signed") << 1 << "signed" << "read 210 1" << selected(2) + answers({ zrData("01", "FFF6", '1') })
                                 << selection(2) + Frames { zrRequest("010A0") } << -1.0 << none << quiet;
    QTest::newRow("read_no_value") << 1 << "novalue" << "read 6 1" << selected(0) + answers({ zrData("01", "FFFF", '2') })
                                   << selection(0) + Frames { zrRequest("01060") } << 9999.0 << none << quiet;
    QTest::newRow("read_p77_special") << 1 << "" << "read 77 1" << selected(0) + answers({ zrData("01", "FFFF", '0') })
                                      << selection(0) + Frames { zrRequest("014D0") } << 9999.0 << none << quiet;
    QTest::newRow("read_p177_no_special") << 1 << "" << "read 177 1"
                                          << selected(1) + answers({ zrData("01", "FFFF", '0') })
                                          << selection(1) + Frames { zrRequest("014D0") } << 65535.0 << none << quiet;
    QTest::newRow("read_refused_sum_check") << 1 << "" << "read 5 1" << selected(0) + answers({ zrNak("01", '2') })
                                            << selection(0) + Frames { zrRequest("01050") } << -1.0
                                            << QList<int> { 11 } << quiet;
    QTest::newRow("read_page_refused") << 1 << "" << "read 1505 1" << answers({ zrNak("01", '3') })
                                       << Frames { zrRequest("01FF0000F") } << -1.0 << QList<int> { 13 }
                                       << QStringList { "P.1505Write page error!" };
    QTest::newRow("read_p1600_unsent") << 1 << "" << "read 1600 1" << Answers() << Frames() << -1.0 << none << quiet;

    QTest::newRow("write") << 1 << "" << "write 5 100" << selected(0) + answers({ zrAck("01") })
                           << selection(0) + Frames { zrRequest("018500064") } << 1.0 << none << quiet;
    QTest::newRow("write_crlf") << 2 << "" << "write 1599 65535" << selected(15, 2) + answers({ zrAck("01", 2) })
                                << selection(15, 2) + Frames { zrRequest("01E30FFFF", 2) } << 1.0 << none << quiet;
    // The refusal is one character longer than the positive reply the write waits for.
    QTest::newRow("write_refusal_seen") << 1 << "" << "write 5 100" << selected(0) + answers({ zrNak("01", '4') })
                                        << selection(0) + Frames { zrRequest("018500064") } << 0.0
                                        << QList<int> { 15 } << quiet;
    QTest::newRow("write_refusal_seen_crlf") << 2 << "" << "write 5 100"
                                             << selected(0, 2) + answers({ zrNak("01", 'C', 2) })
                                             << selection(0, 2) + Frames { zrRequest("018500064", 2) } << 0.0
                                             << QList<int> { 19 } << quiet;
    QTest::newRow("write_refusal_unknown_code") << 1 << "" << "write 5 100" << selected(0) + answers({ zrNak("01", '9') })
                                                << selection(0) + Frames { zrRequest("018500064") } << 0.0
                                                << QList<int> { -1 } << quiet;
    QTest::newRow("write_p77_refusal_accepted") << 1 << "accept77" << "write 77 1"
                                                << selected(0) + answers({ zrNak("01", 'A') })
                                                << selection(0) + Frames { zrRequest("01CD00001") } << 1.0 << none
                                                << quiet;
    QTest::newRow("write_p288_refusal_accepted") << 1 << "acceptalarm" << "write 288 0"
                                                 << selected(2) + answers({ zrNak("01", 'B') })
                                                 << selection(2) + Frames { zrRequest("01D800000") } << 1.0 << none
                                                 << quiet;
    QTest::newRow("write_refused_in_batch") << 1 << "batch" << "write 5 100" << selected(0) + answers({ zrNak("01", '1') })
                                            << selection(0) + Frames { zrRequest("018500064") } << 0.0 << none << quiet;
    QTest::newRow("write_page_refused") << 1 << "" << "write 5 1" << answers({ zrNak("01", '5') })
                                        << Frames { zrRequest("01FF00000") } << 0.0 << QList<int> { 16 }
                                        << QStringList { "P.5Write page error!" };
    QTest::newRow("write_p1600_unsent") << 1 << "" << "write 1600 1" << Answers() << Frames() << 0.0 << none << quiet;

    QTest::newRow("type_code") << 1 << "" << "type" << answers({ zrData("01", "0105", '0') })
                               << Frames { zrRequest("016A007\r") } << 261.0 << none << quiet;
    QTest::newRow("type_code_offline_unsent") << 1 << "offline" << "type" << Answers() << Frames() << -1.0 << none
                                              << quiet;

    QTest::newRow("command_mode") << 1 << "" << "command MOD" << answers({ zrData("01", "0003", '0') })
                                  << Frames { zrRequest("017B0") } << double('3') << none << quiet;
    QTest::newRow("command_status") << 2 << "" << "command STA" << answers({ zrData("01", "1234", '0', 2) })
                                    << Frames { zrRequest("017A0", 2) } << 4660.0 << none << quiet;
    QTest::newRow("command_monitor_read") << 1 << "" << "command MER" << answers({ zrData("01", "01F4", '1') })
                                          << Frames { zrRequest("01670") } << 0.0 << none << quiet;
    QTest::newRow("command_monitor_read_refused")
        << 1 << "" << "command MER" << answers({ zrNak("01", '3') }) << Frames { zrRequest("01670") } << -1.0 << none
        << QStringList { "MERread failure!" };
    QTest::newRow("command_monitor_write") << 1 << "" << "command MAW" << answers({ zrAck("01") })
                                           << Frames { zrRequest("01F300001") } << 0.0 << none << quiet;
    QTest::newRow("command_frequency_data") << 1 << "" << "command FRE 01 2C" << answers({ zrAck("01") })
                                            << Frames { zrRequest("01ED0012C") } << 0.0 << none << quiet;
    QTest::newRow("command_refused") << 1 << "" << "command FWD" << answers({ zrNak("01", 'B') })
                                     << Frames { zrRequest("01FA00002") } << -1.0 << none << QStringList { "FWDread failure!" };
}

void tst_ReadWriteZR::operations()
{
    QFETCH(int, mode);
    QFETCH(QString, flags);
    QFETCH(QString, op);
    QFETCH(double, result);

    g_crLfMode = mode;
    m_link.checkOperationRow(*m_rw);
    if (QTest::currentTestFailed())
        return;
    if (op == QLatin1String("command MER"))
        QCOMPARE(m_rw->LastValue(), result == 0 ? 50.0 : m_rw->LastValue());
    if (op.startsWith(QLatin1String("write")) && result == 0)
        QCOMPARE(g_zrPage.load(), -1);
    QCOMPARE(g_failedParameters, flags.contains("batch") ? QStringList { "P.5" } : QStringList());
}

void tst_ReadWriteZR::batchReadsSkipTheSelectionOfTheirPage()
{
    g_batchTransfer = true;
    m_link.drive().play(selected(0) + answers({ zrData("01", "0001", '0'), zrData("01", "0002", '0') })
                        + selected(1) + answers({ zrData("01", "0003", '0') }));
    QCOMPARE(m_rw->ReadPar(5, 1), 1.0);
    QCOMPARE(m_rw->ReadPar(6, 1), 2.0);
    QCOMPARE(m_rw->ReadPar(105, 1), 3.0);
    m_link.drive().stop();
    const Frames expected = selection(0) + Frames { zrRequest("01050"), zrRequest("01060") } + selection(1)
        + Frames { zrRequest("01050") };
    QCOMPARE(m_link.drive().frames(), expected);
    QCOMPARE(g_zrPage.load(), 1);
}

void tst_ReadWriteZR::neverAnsweredForgetsThePage()
{
    g_batchTransfer = true;
    m_link.drive().play(selected(0));
    QCOMPARE(m_rw->ReadPar(5, 1), -1.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames().size(), 2 + ReadWrite::MaxTries);
    QVERIFY(g_offLine);
    QCOMPARE(g_zrPage.load(), -1);
    // The batch ends: the lost link is reported once, as for any other caller.
    QVERIFY(!g_batchTransfer);
    QCOMPARE(m_link.reportedErrors(), QList<int> { 8 });
    QCOMPARE(m_link.buttonText(), QStringLiteral("Off-Line"));
}

void tst_ReadWriteZR::typeCodeRefusedWhilePageSelectionIsForced()
{
    m_link.window()->forcePageSelect = true;
    m_link.drive().play(Answers());
    QCOMPARE(m_rw->ReadTypeCode(), -1);
    g_zrPage = 0;
    m_link.drive().play(selected(0) + answers({ zrData("01", "0007", '0') }));
    QCOMPARE(m_rw->ReadPar(5, 1), 7.0);
    m_link.drive().stop();
    QCOMPARE(m_link.drive().frames(), selection(0) + Frames { zrRequest("01050") });
    QVERIFY(!m_link.window()->forcePageSelect);
}

void tst_ReadWriteZR::missingCommandTableReportedOncePerApplication()
{
    const QString table = g_appDir + QStringLiteral("ParameterInforamtion/InvType/FNC.txt");
    QVERIFY(QFile::rename(table, table + ".away"));
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            ++boxes;
            box->close();
        }
    });
    closer.start(20);

    // Construction stays quiet; applying the settings says it once.
    {
        ReadWriteZR quiet;
        QVERIFY(!quiet.commandTableError().isEmpty());
        ReadWriteZR object;
        object.SetProtocol(0);
        QVERIFY(object.commandTableError().contains(QStringLiteral("Cannot read file")));
        QCOMPARE(object.SendCommand("FWD"), -1);
    }
    QCOMPARE(boxes, 1);
    // A search step applies settings under the connection test: no box.
    g_connectionTest = true;
    ReadWriteZR step;
    step.SetProtocol(0);
    QCoreApplication::processEvents();
    QCOMPARE(boxes, 1);
    QVERIFY(QFile::rename(table + ".away", table));
}

void tst_ReadWriteZR::pollerAndWriterInDifferentPages()
{
    // A drive that keeps its selected page and its parameters, as a real one does.
    QMap<int, int> parameters;
    QMutex mutex;
    int page = -1;
    m_link.drive().serve([&](const QByteArray &request) -> QByteArray {
        QMutexLocker locker(&mutex);
        const QByteArray instruction = request.mid(3, 2);
        if (instruction == "FF") {
            page = request.mid(9, 1).toInt(nullptr, 16);
            return zrAck("01");
        }
        if (instruction == "7F")
            return zrData("01", "000" + QByteArray::number(page, 16).toUpper(), '0');
        if (instruction == "67") // a monitor item
            return zrData("01", "0100", '1');
        const int index = instruction.toInt(nullptr, 16);
        if (index >= 0x80) {
            parameters[page * 100 + index - 0x80] = request.mid(6, 4).toInt(nullptr, 16);
            return zrAck("01");
        }
        const QByteArray value = QByteArray::number(parameters.value(page * 100 + index), 16).rightJustified(4, '0');
        return zrData("01", value.toUpper(), '0');
    });

    std::atomic<bool> polling { true };
    std::atomic<int> polls { 0 };
    std::atomic<int> pollFailures { 0 };
    std::thread poller([&] {
        while (polling) {
            if (m_rw->SendCommand("MER") != 0 || m_rw->LastValue() != 25.6)
                ++pollFailures;
            if (m_rw->ReadPar(7, 1) < 0)
                ++pollFailures;
            ++polls;
        }
    });
    while (polls == 0)
        QThread::msleep(1);
    bool allWritten = true;
    for (int i = 0; i < 40; ++i)
        allWritten = m_rw->WritePar(100 + i, 1000 + i) && allWritten;
    polling = false;
    poller.join();
    m_link.drive().stop();

    QVERIFY(allWritten);
    QVERIFY(polls >= 2);
    QCOMPARE(pollFailures.load(), 0);
    QMutexLocker locker(&mutex);
    for (int i = 0; i < 40; ++i)
        QCOMPARE(parameters.value(100 + i), 1000 + i);
    QCOMPARE(parameters.value(7), 0);
    QCOMPARE(parameters.size(), 40);
}

void tst_ReadWriteZR::restartWaitOfSeriesS()
{
    g_seriesLetter = 'S';
    m_link.drive().play(answers({ zrAck("01"), zrAck("01") }));
    QCOMPARE(m_rw->SendCommand("997"), 0);
    g_restartWait = true;
    QThread::msleep(6000); // STOP pressed six seconds after: it waits only the seventh
    QCOMPARE(m_rw->SendCommand("STO"), 0);
    m_link.drive().stop();
    QVERIFY(!g_restartWait);
    const qint64 waited = m_link.drive().requests().value(1).atMs - m_link.drive().requests().value(0).atMs;
    QVERIFY2(waited >= 7000 && waited < 7300, qPrintable(QString::number(waited)));
}

QTEST_MAIN(tst_ReadWriteZR)
#include "tst_readwritezr.moc"

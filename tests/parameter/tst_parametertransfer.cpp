// The parameter form's transfers against the simulated drive in each protocol, driven through the
// form's buttons; what the table shows and what the drive's journal saw on the wire.

#include "benchmode.h"
#include "parameter/valuetext.h"
#include "shell/operationlog.h"
#include "transferfixture.h"

#include <QComboBox>
#include <cmath>
#include <modbus.h>

class TestParameterTransfer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void readAllFillsCurrentValues_data();
    void readAllFillsCurrentValues();
    void readAllCancel();
    void busyDriveAnswersEachRowItsOwn_data();
    void busyDriveAnswersEachRowItsOwn();
    void singleRead_data();
    void singleRead();
    void singleWrite_data();
    void singleWrite();
    void flagsBelongToTheirRequest();
    void pseudoRowValues_data();
    void pseudoRowValues();
    void lostLinkEndsBatch_data();
    void lostLinkEndsBatch();
    void benchmarkReadAll();
    void benchmarkReadAllAgainstTheLine();

private:
    TransferFixture m_f;
};

void TestParameterTransfer::initTestCase()
{
    QVERIFY(m_f.setUpProgram());
}

void TestParameterTransfer::cleanupTestCase()
{
    m_f.tearDown();
}

void TestParameterTransfer::init()
{
    m_f.resetState();
}

void TestParameterTransfer::cleanup()
{
    m_f.stopDriveAfter();
}

// ---- Reading ----

void TestParameterTransfer::readAllFillsCurrentValues_data()
{
    TransferFixture::protocolRows();
}

void TestParameterTransfer::readAllFillsCurrentValues()
{
    QFETCH(int, protocol);
    m_f.start(protocol);
    CParameter *form = m_f.form();
    // A default carrying its unit is the same value as the reading.
    form->defaultValues[1] = QStringLiteral("120.00Hz");
    g_noValueFlag = true; // a flag left by anyone must not reach the first row
    const int before = m_f.requests(protocol).size();

    QTest::mouseClick(form->allReadPB, Qt::LeftButton);

    QCOMPARE(m_f.current(1), QStringLiteral("120.00"));
    QCOMPARE(m_f.current(3), QStringLiteral("655.35"));
    QCOMPARE(m_f.current(7), QStringLiteral("5.00"));
    QCOMPARE(m_f.current(8), QStringLiteral("15.00"));
    QCOMPARE(m_f.current(19), QStringLiteral("9999"));
    QCOMPARE(m_f.current(117), QStringLiteral("-5.0"));
    QCOMPARE(m_f.current(90), QStringLiteral("40"));
    QVERIFY(!seriess::isBoldRed(form, m_f.rowOf(1)));
    QVERIFY(!seriess::isBoldRed(form, m_f.rowOf(7)));
    QVERIFY(seriess::isBoldRed(form, m_f.rowOf(8)));
    QVERIFY(seriess::isBoldRed(form, m_f.rowOf(117)));
    // Refused parameters are hidden; the ones read stay in view.
    QTableWidget *table = form->PartableWidget;
    QVERIFY(table->isRowHidden(m_f.rowOf(2)));
    QVERIFY(table->isRowHidden(m_f.rowOf(5)));
    QVERIFY(!table->isRowHidden(m_f.rowOf(117)));
    QVERIFY(m_f.boxes.texts().isEmpty());
    QVERIFY(form->allReadPB->isEnabled());
    // The flag left by another request stays that request's.
    QVERIFY(!g_batchTransfer && g_noValueFlag && !g_signedFlag);
    g_noValueFlag = false;
    QCOMPARE(form->VerifyParameter->currentIndex(), 0);

    const QList<WireRequest> sent = m_f.requests(protocol, before);
    // Every ordinary row once, in order, and nothing beyond the count; a refused row is not asked
    // again (a try repeated by the link layer shows as the same frame twice in a row).
    QList<int> read;
    for (const WireRequest &r : TransferFixture::only(sent, "read")) {
        if (read.isEmpty() || read.last() != r.parameter)
            read << r.parameter;
    }
    QCOMPARE(read.size(), g_parameterCount);
    for (int i = 0; i < read.size(); ++i)
        QCOMPARE(read.at(i), i);
    // The character protocol selects a page only when the batch moves onto it.
    QList<int> pages;
    for (const WireRequest &r : TransferFixture::only(sent, "page"))
        pages << r.value;
    if (protocol == 0)
        QVERIFY2(pages == QList<int>({ 1 }) || pages == QList<int>({ 0, 1 }), qPrintable(QString::number(pages.size())));
    else
        QVERIFY(pages.isEmpty());
}

void TestParameterTransfer::busyDriveAnswersEachRowItsOwn_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("lateMs");
    for (int p = 0; p < 3; ++p) {
        const QString name = seriess::protocolNames().at(p);
        QTest::newRow(qPrintable(name)) << p << 0;
        // Slow as well: the kept requests' answers follow each other further apart than a reply's
        // time on the wire and an adapter's latency, yet each within a try's window.
        QTest::newRow(qPrintable(name + "_slow_drive")) << p << 25;
    }
}

// A drive busy now and then answers every request it kept, late: each row still shows its own
// parameter's value, as an undisturbed Read All does, or none.
void TestParameterTransfer::busyDriveAnswersEachRowItsOwn()
{
    QFETCH(int, protocol);
    QFETCH(int, lateMs);
    m_f.start(protocol);
    CParameter *form = m_f.form();
    QTest::mouseClick(form->allReadPB, Qt::LeftButton);
    QStringList undisturbed;
    for (int p = 0; p < g_parameterCount; ++p) {
        undisturbed << m_f.current(p);
        if (m_f.rowOf(p) >= 0)
            form->PartableWidget->item(m_f.rowOf(p), 9)->setText(QString());
    }
    m_f.control(QStringLiteral("fault busy always 45 every 7"));
    if (lateMs > 0)
        m_f.control(QStringLiteral("fault late always %1").arg(lateMs));
    QTest::mouseClick(form->allReadPB, Qt::LeftButton);
    m_f.control(QStringLiteral("clear"));

    for (int p = 0; p < g_parameterCount; ++p) // the tries repeated take nothing from each other
        QVERIFY2(m_f.current(p) == undisturbed.at(p), qPrintable(QStringLiteral("P.%1: %2 where the drive holds %3")
                                                                      .arg(p).arg(m_f.current(p), undisturbed.at(p))));
    QVERIFY(m_f.journal().filter(QStringLiteral("busy for")).size() >= 10);
    QVERIFY(m_f.boxes.texts().isEmpty());
}

void TestParameterTransfer::readAllCancel()
{
    m_f.start(1);
    m_f.boxes.cancelProgressAt(20);
    QTest::mouseClick(m_f.form()->allReadPB, Qt::LeftButton);
    QVERIFY(!g_batchTransfer);
    QVERIFY(m_f.form()->allReadPB->isEnabled());
    const int reads = TransferFixture::only(m_f.requests(1), "read").size();
    QVERIFY2(reads < g_parameterCount, qPrintable(QString::number(reads)));
}

void TestParameterTransfer::singleRead_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    for (int p = 0; p < 3; ++p) {
        const QString name = seriess::protocolNames().at(p);
        QTest::newRow(qPrintable(name + "_signed_minus_one")) << p << 117 << 65526 << "-1.0" << true;
        QTest::newRow(qPrintable(name + "_unsigned_top")) << p << 3 << 65535 << "655.35" << true;
    }
    QTest::newRow("modbus_rtu_signed_fraction") << 1 << 117 << 65521 << "-1.5" << true;
    QTest::newRow("modbus_ascii_signed_zero") << 2 << 117 << 0 << "0.0" << false;
    // Below firmware 0.20 the no-value word reads 9999, which is the default there.
    QTest::newRow("taviron_special") << 0 << 19 << 65535 << "9999" << false;
}

void TestParameterTransfer::singleRead()
{
    QFETCH(int, protocol);
    QFETCH(int, parameter);
    QFETCH(int, raw);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    m_f.start(protocol);
    m_f.control(QStringLiteral("set %1 %2").arg(parameter).arg(raw));
    g_signedFlag = true; // a stale flag must not turn an unsigned reading negative
    m_f.clickRow(parameter, 3);
    QTest::mouseClick(m_f.form()->readPB, Qt::LeftButton);
    QCOMPARE(m_f.current(parameter), text);
    QCOMPARE(m_f.form()->PartableWidget->item(m_f.rowOf(parameter), 9)->font().bold(), bold);
    QVERIFY(m_f.boxes.texts().isEmpty());
    // The flag was another request's: the form's read neither took it nor cleared it.
    QVERIFY(g_signedFlag);
    g_signedFlag = false;

    // A refused read leaves the cell as it was.
    m_f.control(QStringLiteral("refuse param %1 read").arg(parameter));
    m_f.boxes.plan({ "OK" });
    QTest::mouseClick(m_f.form()->readPB, Qt::LeftButton);
    QCOMPARE(m_f.current(parameter), text);
    QCOMPARE(m_f.boxes.texts().size(), 1);
}

// ---- Single writes ----

void TestParameterTransfer::singleWrite_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("raw");      // -1: nothing written
    QTest::addColumn<QString>("box");  // the message shown, if any
    for (int p = 0; p < 3; ++p) {
        const QString name = seriess::protocolNames().at(p);
        QTest::newRow(qPrintable(name + "_signed")) << p << "" << 117 << "" << "-5" << 65486 << "";
        // Writing P.21 = 1 gives P.7 the resolution 0.1 whatever its unit column says.
        QTest::newRow(qPrintable(name + "_related_unit")) << p << "selector" << 7 << "" << "12.5" << 125 << "";
    }
    QTest::newRow("modbus_rtu_hundredths") << 1 << "" << 1 << "" << "50.5" << 5050 << "";
    QTest::newRow("modbus_ascii_special") << 2 << "" << 19 << "" << "99999" << 65535 << "";
    QTest::newRow("modbus_rtu_letters") << 1 << "" << 1 << "" << "abc" << -1 << "Illegal data value!";
    QTest::newRow("taviron_unit_suffix") << 0 << "" << 1 << "" << "50Hz" << -1 << "Illegal data value!";
    QTest::newRow("modbus_ascii_dash_inside") << 2 << "" << 1 << "" << "1-2" << -1 << "Illegal data value!";
    QTest::newRow("modbus_rtu_too_large") << 1 << "" << 1 << "" << "700" << -1 << "Illegal data address!";
    QTest::newRow("taviron_too_negative") << 0 << "" << 117 << "" << "-3276.9" << -1 << "Illegal data address!";
    QTest::newRow("modbus_rtu_no_resolution") << 1 << "" << 1 << "V" << "5" << -1 << "Communication Error!";
    // An undefined unit: the character protocol asks the drive for the decimals of the value; a
    // refused probe falls back to whole units rather than the last reply's decimals.
    QTest::newRow("taviron_undefined_unit_probe") << 0 << "P 121 1 0..5000 1" << 121 << "--" << "12.3" << 123 << "";
    QTest::newRow("taviron_undefined_unit_refused_probe") << 0 << "refuse param 121 read" << 121 << "--" << "3.4" << 3 << "";
    QTest::newRow("modbus_rtu_undefined_unit") << 1 << "" << 121 << "--" << "0.4" << 4 << "";
    QTest::newRow("modbus_rtu_no_setting_nothing_logged") << 1 << "" << 0 << "" << "" << -1 << "";
    // Shipped drives whose selector read was refused at the load ("drive|scenario|controls after the load"):
    // the selector is read again at Write; refused still, nothing goes out in a guessed unit.
    const QString unread = "\nThe unit of P.%1 is set by P.%2, which could not be read: nothing was written.";
    QTest::newRow("A_rtu_p187_unread") << 1 << "A-rtu.drive|set 187 1;refuse param 187 read|" << 4 << "" << "50"
                                       << -1 << "Illegal data value!" + unread.arg(4).arg(187);
    QTest::newRow("A_taviron_p21_unread") << 0 << "A-taviron.drive|set 21 1;refuse param 21 read|" << 7 << "" << "5.0"
                                          << -1 << "Material range error!" + unread.arg(7).arg(21);
    QTest::newRow("A_rtu_p187_changed_at_drive") << 1 << "A-rtu.drive||set 187 1" << 4 << "" << "50" << 500 << "";
    QTest::newRow("A_rtu_p187_read_at_write") << 1 << "A-rtu.drive|set 187 1;refuse param 187 read|clear" << 4 << ""
                                              << "50" << 500 << "";
    QTest::newRow("D_rtu_p21_unread") << 1 << "D-rtu.drive|set 21 1;refuse param 21 read|" << 7 << "" << "5.0" << -1
                                      << "Illegal data value!" + unread.arg(7).arg(21);
    // P.991 gives series D's set and monitored frequencies their unit, not its parameters'.
    QTest::newRow("D_rtu_p991_unread_p4_as_now") << 1 << "D-rtu.drive|set 991 1;refuse param 991 read|" << 4 << ""
                                                 << "50" << 5000 << "";
}

void TestParameterTransfer::singleWrite()
{
    QFETCH(int, protocol);
    QFETCH(QString, extra);
    QFETCH(int, parameter);
    QFETCH(QString, unit);
    QFETCH(QString, value);
    QFETCH(int, raw);
    QFETCH(QString, box);
    const QStringList shipped = extra.split('|');
    if (shipped.size() == 3) {
        QVERIFY(!m_f.connectShipped(shipped.at(0), 0, shipped.at(1).split(';')).isEmpty());
        for (const QString &line : shipped.at(2).split(';', Qt::SkipEmptyParts))
            m_f.control(line);
        QCOMPARE(m_f.form()->cellText(m_f.rowOf(parameter), 7).startsWith("unknown: P."), raw < 0 || shipped.at(2) == "clear");
        m_f.boxes.clear(); // the load's refusal
    } else
        m_f.start(protocol, extra.startsWith("P ") ? QStringList { extra } : QStringList {});
    if (extra.startsWith("refuse"))
        m_f.control(extra);
    CParameter *form = m_f.form();
    if (extra == QLatin1String("selector")) {
        m_f.setSetting(21, "1");
        m_f.clickRow(21);
        QTest::mouseClick(form->writePB, Qt::LeftButton);
        QCOMPARE(g_relatedUnitText[7], QStringLiteral("0.1"));
    }
    // The last reply's decimals stand at 0.01 when the probe is refused.
    m_f.clickRow(1, 3);
    if (shipped.size() != 3)
        QTest::mouseClick(form->readPB, Qt::LeftButton);
    if (!unit.isEmpty())
        form->PartableWidget->item(m_f.rowOf(parameter), 7)->setText(unit);
    m_f.setSetting(parameter, value);
    QFont bold = form->PartableWidget->font();
    bold.setBold(true);
    form->PartableWidget->item(m_f.rowOf(parameter), 3)->setFont(bold);
    form->PartableWidget->item(m_f.rowOf(parameter), 3)->setForeground(Qt::red);
    m_f.clickRow(parameter);
    const int before = m_f.requests(protocol).size();

    QTest::mouseClick(form->writePB, Qt::LeftButton);

    const QList<WireRequest> writes = TransferFixture::only(m_f.requests(protocol, before), "write");
    const QStringList log = m_f.logLines();
    QCOMPARE(log.contains(QStringLiteral("Write Single Parameter:") + form->cellText(m_f.rowOf(parameter), 1) + "=" + value),
             !value.isEmpty());
    if (raw < 0) {
        QVERIFY(writes.isEmpty());
        QCOMPARE(m_f.boxes.texts(), box.isEmpty() ? QStringList() : QStringList { box });
        QCOMPARE(log.contains(QStringLiteral("Write parameter P.%1=%2 failure!").arg(parameter).arg(value)), !box.isEmpty());
        QVERIFY(seriess::isBoldRed(form, m_f.rowOf(parameter)));
        return;
    }
    QCOMPARE(writes.size(), 1);
    QCOMPARE(writes.first().parameter, parameter);
    QCOMPARE(writes.first().value, raw);
    QVERIFY(!seriess::isBoldRed(form, m_f.rowOf(parameter)));
    if (!extra.startsWith("refuse"))
        QVERIFY(m_f.boxes.texts().isEmpty());
}

void TestParameterTransfer::pseudoRowValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("commands");
    QTest::newRow("zero does nothing") << "0" << "" << 0;
    QTest::newRow("empty is refused") << "" << "Material range error!" << 0;
    QTest::newRow("seven is refused") << "7" << "Material range error!" << 0;
    QTest::newRow("five restarts by 991") << "5" << "" << 1;
}

void TestParameterTransfer::pseudoRowValues()
{
    QFETCH(QString, value);
    QFETCH(QString, box);
    QFETCH(int, commands);
    m_f.start(1);
    // The pseudo-row of the series that carry one.
    m_f.form()->PartableWidget->item(m_f.rowOf(999), 1)->setText(QStringLiteral("P. 99X"));
    m_f.setSetting(999, value);
    m_f.clickRow(999);
    const int before = m_f.requests(1).size();
    QTest::mouseClick(m_f.form()->writePB, Qt::LeftButton);
    QTRY_COMPARE(m_f.boxes.texts(), box.isEmpty() ? QStringList() : QStringList { box });
    const QList<WireRequest> sent = m_f.requests(1, before);
    QCOMPARE(sent.size(), commands);
    if (commands) {
        QCOMPARE(sent.first().kind, QStringLiteral("command"));
        QVERIFY(g_restartWait && g_modeRestartWait);
    }
    QVERIFY(m_f.logLines().contains(QStringLiteral("Write Single Parameter:") + m_f.form()->cellText(m_f.rowOf(999), 1) + "=" + value));
}

// ---- Lost link ----

void TestParameterTransfer::lostLinkEndsBatch_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<bool>("writing");
    QTest::addColumn<int>("lostAfter"); // requests answered before the link goes
    for (int p = 0; p < 3; ++p)
        QTest::newRow(qPrintable(seriess::protocolNames().at(p) + "_read_all")) << p << false << 40;
    QTest::newRow("taviron_write_all_protection_read") << 0 << true << 0;
    QTest::newRow("modbus_rtu_write_all_main_pass") << 1 << true << 5;
    QTest::newRow("modbus_rtu_write_all_lost_at_P.8") << 1 << true << -8; // P.8's write unanswered
}

void TestParameterTransfer::lostLinkEndsBatch()
{
    QFETCH(int, protocol);
    QFETCH(bool, writing);
    QFETCH(int, lostAfter);
    m_f.start(protocol);
    for (int n : { 1, 3, 7, 8, 117 })
        m_f.setSetting(n, "1.00");
    m_f.setSetting(188, "150");
    const int before = m_f.requests(protocol).size();
    // The drive stops answering once it has answered lostAfter more requests.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (m_f.requests(protocol, before).size() >= lostAfter) {
            watch.stop();
            m_f.control("fault link-lost");
        }
    });
    if (lostAfter < 0)
        m_f.control(QStringLiteral("lose param %1 write").arg(-lostAfter));
    else if (lostAfter == 0)
        m_f.control("fault link-lost");
    else
        watch.start(1);
    QTest::mouseClick(writing ? m_f.form()->AllWrite : m_f.form()->allReadPB, Qt::LeftButton);
    watch.stop();

    QStringList boxes = m_f.boxes.texts();
    const QString stopped = "The link was lost: writing stopped at P.%1; it and the rows after it were not written.";
    if (writing && lostAfter != 0)
        QVERIFY(lostAfter < 0 ? boxes.takeLast() == stopped.arg(-lostAfter) : boxes.takeLast().startsWith(stopped.left(32)));
    QCOMPARE(boxes, QStringList { "Communication Error!" });
    QCOMPARE(m_f.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QVERIFY(g_offLine);
    QVERIFY(!g_batchTransfer);
    QVERIFY(m_f.form()->allReadPB->isEnabled());
    // Ten tries of the request that went unanswered, then nothing more.
    const QList<WireRequest> sent = m_f.requests(protocol, before);
    QVERIFY2(sent.size() >= 10 && sent.size() <= qMax(lostAfter, 10) + 12, qPrintable(QString::number(sent.size())));
    QCOMPARE(sent.last().bytes, sent.at(sent.size() - 10).bytes);
    if (writing)
        QVERIFY(!m_f.logLines().join('\n').contains("write failure!"));
}

// ---- Benchmark ----

void TestParameterTransfer::benchmarkReadAll()
{
    if (qgetenv("TAVIRON_BENCH") != "1")
        QSKIP("set TAVIRON_BENCH=1 to measure a full batch read at 9600 baud");
    for (int protocol = 0; protocol < 3; ++protocol) {
        m_f.resetState();
        const QString scenario = QStringLiteral("%1/tools/drivesim/scenarios/S.params").arg(sourceDir());
        QVERIFY(m_f.connectDrive(protocol, { "series S", "include " + scenario, "firmware 25", "p186 1", "typecode 40" }, 9600));
        m_f.loadSeriesS();
        g_firmwareVersion = QStringLiteral("0.25");
        const int before = m_f.journal().size();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(m_f.form()->allReadPB, Qt::LeftButton);
        const double elapsed = timer.elapsed() / 1000.0;
        // Wire time: every byte of every request and reply, 10 bits each at 9600 baud (7 data bits
        // plus start, stop and none parity make 9 under Modbus ASCII).
        qint64 bytes = 0;
        const QStringList lines = m_f.journal().mid(before);
        for (const QString &line : lines) {
            const QString dir = line.section(' ', 1, 1);
            if (dir == QLatin1String("RX") || dir == QLatin1String("TX"))
                bytes += QByteArray::fromHex(line.section(' ', 2).section(" |", 0, 0).toLatin1()).size();
        }
        const double bits = protocol == 2 ? 9.0 : 10.0;
        const double wire = bytes * bits / 9600.0;
        const int read = TransferFixture::only(m_f.requests(protocol), "read").size();
        qInfo().noquote() << QStringLiteral("%1: %2 reads, %3 bytes, %4 s elapsed, %5 s on the wire, ratio %6")
                                 .arg(seriess::protocolNames().at(protocol))
                                 .arg(read)
                                 .arg(bytes)
                                 .arg(elapsed, 0, 'f', 2)
                                 .arg(wire, 0, 'f', 2)
                                 .arg(elapsed / wire, 0, 'f', 2);
        QVERIFY(m_f.boxes.texts().isEmpty());
        m_f.stopDrive();
    }
}

// Read All of series S over Modbus RTU 8N1 against the line's limit, and libmodbus's own read loop over the
// same registers on the same drive, both timed on the drive's journal; each reply whole (as from a USB
// adapter) and paced (byte by byte, as from a UART). In the suite only the shortest row runs, without
// figures, so that the benchmark cannot break unseen; TAVIRON_BENCH=1 runs all four.
void TestParameterTransfer::benchmarkReadAllAgainstTheLine()
{
    const bool full = fullBench();
    const QString params = QStringLiteral("include %1/tools/drivesim/scenarios/S.params").arg(sourceDir());
    for (const QString reply : { "whole", "paced" }) {
        for (int baud : { 9600, 115200 }) {
            if (!full && (reply != QLatin1String("whole") || baud != 115200))
                continue;
            m_f.resetState();
            QVERIFY(m_f.connectDrive(1, { "series S", params, "firmware 25", "p186 1", "typecode 40", "reply " + reply }, baud));
            m_f.loadSeriesS();
            g_firmwareVersion = QStringLiteral("0.25");
            SimulatedDrive &drive = m_f.drive();
            const int before = drive.frames().size();
            QTest::mouseClick(m_f.form()->allReadPB, Qt::LeftButton);
            QVERIFY(m_f.boxes.texts().isEmpty());
            const QList<JournalFrame> ours = drive.frames().mid(before);
            drive.disconnect(); // lets the device go
            modbus_t *ctx = modbus_new_rtu(qPrintable(Win_QextSerialPort::devicePath("COM9")), baud, 'N', 8, 1);
            QVERIFY(ctx && modbus_set_slave(ctx, 1) == 0 && modbus_connect(ctx) == 0);
            uint16_t value = 0;
            for (const JournalFrame &f : ours) // each register our requests read, read alike (refused alike too)
                QVERIFY2(!f.received || modbus_read_registers(ctx, quint8(f.bytes[2]) << 8 | quint8(f.bytes[3]), 1, &value) == 1
                             || errno == EMBXILADD, modbus_strerror(errno));
            modbus_free(ctx);
            const QList<JournalFrame> theirs = drive.frames().mid(before + ours.size());
            auto span = [](const QList<JournalFrame> &f) { return f.last().at - f.first().at; };
            const double limit = lineLimit(ours, ours.first().at, ours.last().at + 1e-9, 10, baud, false);
            qInfo("%6d baud, reply %s: %d reads, Read All %.3f s, the line's limit %.3f s (x%.2f), libmodbus loop %.3f s (x%.2f)",
                  baud, qPrintable(reply), theirs.size() / 2, span(ours), limit, span(ours) / limit, span(theirs),
                  span(ours) / span(theirs));
        }
    }
}

// The mode poller sets the flags of its own read while the form reads a row of other flags: each
// read keeps its own, so a signed -5.0 never shows as 6548.6.
void TestParameterTransfer::flagsBelongToTheirRequest()
{
    m_f.start(1);
    m_f.control(QStringLiteral("set 3 65535"));
    g_signedFlag = true;
    g_noValueFlag = false;
    m_f.clickRow(3, 3);
    QTest::mouseClick(m_f.form()->readPB, Qt::LeftButton);
    QCOMPARE(m_f.current(3), QStringLiteral("655.35"));
    QCOMPARE(g_readWrite->ReadPar(117, 0.1), -5.0);
    QVERIFY(m_f.boxes.texts().isEmpty());
}

QTEST_MAIN(TestParameterTransfer)
#include "tst_parametertransfer.moc"

// The batch write and the drive commands 996 to 999 against the simulated drive, driven through the
// form's buttons and its message boxes; what the drive's journal saw on the wire.

#include "parameter/valuetext.h"
#include "shell/operationlog.h"
#include "modalwatcher.h"
#include "parameter/comparison.h"
#include "transferfixture.h"
#include "useranswers.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <cmath>

class TestBatchWrite : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void writeAllOrderAndJournal_data();
    void writeAllOrderAndJournal();
    void writeAllRefusals_data();
    void writeAllRefusals();
    void writeAllGathersFailures();
    void driveCommands_data();
    void driveCommands();
    void restartWaitAfterCommand();
    void untestedStationSendsNothing();
    void openedPartialListWritesOnlyItsRows();
    void restoredBackupLeavesCounters();

private:
    TransferFixture m_f;
};

void TestBatchWrite::initTestCase()
{
    QVERIFY(m_f.setUpProgram());
}

void TestBatchWrite::cleanupTestCase()
{
    m_f.tearDown();
}

void TestBatchWrite::init()
{
    m_f.resetState();
}

void TestBatchWrite::cleanup()
{
    m_f.stopDriveAfter();
}

// ---- Batch write ----

void TestBatchWrite::writeAllOrderAndJournal_data()
{
    TransferFixture::protocolRows();
}

void TestBatchWrite::writeAllOrderAndJournal()
{
    QFETCH(int, protocol);
    m_f.start(protocol);
    CParameter *form = m_f.form();
    // A list as opened from a file: every row the drive has, and its firmware version.
    const QList<QPair<int, QString>> settings {
        { 1, "50.00" }, { 3, "60.00" }, { 7, "12.34" }, { 8, "5.00" }, { 19, "99999" }, { 21, "0" },
        { 77, "0" },    { 79, "1" },    { 90, "41" },   { 117, "-5.0" }, { 120, "2" }, { 121, "3" },
        { 171, "9" },   { 186, "1" },   { 189, "0" },  { 190, "7" },
    };
    for (const auto &s : settings)
        m_f.setSetting(s.first, s.second);
    m_f.setSetting(188, "150");
    const int before = m_f.requests(protocol).size();

    QTest::mouseClick(form->AllWrite, Qt::LeftButton);

    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
    const QList<WireRequest> writes = TransferFixture::only(m_f.requests(protocol, before), "write");
    QList<QPair<int, int>> order;
    for (const WireRequest &w : writes)
        order << qMakePair(w.parameter, w.value);
    // Selectors with the resolution 1; every writable row in order; W_Par.txt's P.120 and P.121
    // after them; P.79 again and P.77 at the very end. Read-only P.90 never, and nothing of the
    // rows beyond the count (P.171 to P.190).
    const QList<QPair<int, int>> expected {
        { 21, 0 },  { 1, 5000 },    { 3, 6000 }, { 7, 1234 }, { 8, 500 }, { 19, 65535 }, { 21, 0 },
        { 79, 1 },  { 117, 65486 }, { 120, 2 },  { 121, 3 },  { 79, 1 },  { 77, 0 },
    };
    QCOMPARE(order, expected);
    // The read-back compares the settings with what the drive now holds.
    QCOMPARE(m_f.current(1), QStringLiteral("50.00"));
    QCOMPARE(m_f.current(117), QStringLiteral("-5.0"));
    QVERIFY(!seriess::isBoldRed(form, m_f.rowOf(1)));
    QVERIFY(!seriess::isBoldRed(form, m_f.rowOf(90))); // read-only: its setting is not compared
    QCOMPARE(form->VerifyParameter->currentIndex(), 2);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(form->compareResult));
    QVERIFY(!form->readBackAfterWrite);
    QVERIFY(!g_batchTransfer);
    const QStringList log = m_f.logLines();
    const int at = log.indexOf(QStringLiteral("Batch write parameter:"));
    QVERIFY(at >= 0);
    QCOMPARE(log.value(at + 1), QString());
    QCOMPARE(log.value(at + 2), QString()); // no failures: the file ends after the empty line
}

void TestBatchWrite::writeAllRefusals_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("writes");
    QTest::newRow("running forward") << "status 2" << "" << "Unable to write parameter value.\n\nPlease stop INV first!" << false;
    QTest::newRow("running in reverse") << "status 4" << "" << "Unable to write parameter value.\n\nPlease stop INV first!" << false;
    QTest::newRow("not in CU") << "mode 1" << "" << "Please change INV operation mode to CU!" << false;
    QTest::newRow("protected by P.77")
        << "P 77 1 0..2,9999 0" << "" << "Unable to write parameter value.\n\nPlease confirm the parameter value of 00-03(P.77)."
        << false;
    QTest::newRow("protected by P.295")
        << "P 295 1 0..9 0" << "" << "Unable to write parameter value.\n\nPlease confirm the parameter value of 00-05(P.295)."
        << false;
    const QString mismatch = "The parameter file is inconsistent with the software version of the control board.\nContinue writing?";
    QTest::newRow("firmware mismatch cancelled") << "version 120" << "Cancel" << mismatch << false;
    QTest::newRow("firmware mismatch continued") << "version 120" << "Continue" << mismatch << true;
    QTest::newRow("empty Setting column, as a connection test leaves it") << "empty" << "" << "Unable to write parameter "
        "value.\n\nThere is no setting value to write. Open a parameter list or enter setting values first." << false;
    // Shipped drives whose selector read was refused at the load; settings P.1, P.4 (frequencies) and P.7 (a time).
    // Asked again and refused, the selector's rows are named and not written, the others are.
    const QString unread = "The unit of %1 is set by P.%2, which could not be read: nothing was written.";
    QTest::newRow("A P.187 unread") << "A-rtu.drive|set 187 1;refuse param 187 read" << "" << unread.arg("P.1, P.4", "187")
                                    << true;
    QTest::newRow("A P.21 unread") << "A-rtu.drive|set 21 1;refuse param 21 read" << "" << unread.arg("P.7", "21") << true;
    // P.187 set to 1 at the drive after the load: P.1 = 50.00 and P.4 = 5 go out in 0.1 Hz.
    QTest::newRow("A P.187 changed") << "A-rtu.drive||set 187 1|1=500 4=50" << "" << "" << true;
    QTest::newRow("D P.991 unread") << "D-rtu.drive|set 991 1;refuse param 991 read" << "" << "" << true;
    QTest::newRow("D P.21 unread") << "D-rtu.drive|set 21 1;refuse param 21 read" << "" << unread.arg("P.7", "21") << true;
}

void TestBatchWrite::writeAllRefusals()
{
    QFETCH(QString, situation);
    QFETCH(QString, answer);
    QFETCH(QString, box);
    QFETCH(bool, writes);
    const QStringList shipped = situation.split('|');
    if (shipped.size() >= 2) {
        QVERIFY(!m_f.connectShipped(shipped.at(0), 0, shipped.at(1).split(';')).isEmpty());
        if (shipped.size() > 2)
            m_f.control(shipped.at(2));
        m_f.boxes.clear(); // the load's refusal
        for (int n : { 4, 7 })
            m_f.setSetting(n, "5");
        situation = shipped.at(0) == "A-rtu.drive" ? "version 550" : "version 520";
    } else
        m_f.start(1, situation.startsWith("P ") ? QStringList { situation } : QStringList {});
    if (situation.startsWith("status"))
        m_f.window()->navigation->statusWord = situation.section(' ', 1).toInt();
    if (situation.startsWith("mode"))
        setDockMode(m_f.window()->navigation, 1);
    const bool nothing = situation == "empty";
    m_f.setSetting(1, nothing ? "" : "50.00");
    m_f.setSetting(188, situation.startsWith("version") ? situation.section(' ', 1) : nothing ? "" : "150");
    // The version stands in the row labelled P.188 wherever the table's order puts it.
    m_f.form()->mySort(0);
    m_f.boxes.plan({ answer });
    const int before = m_f.requests(1).size();
    QTest::mouseClick(m_f.form()->AllWrite, Qt::LeftButton);
    QCOMPARE(m_f.boxes.texts().value(0), box);
    const QList<WireRequest> sent = TransferFixture::only(m_f.requests(1, before), "write");
    QCOMPARE(!sent.isEmpty(), writes);
    QStringList wire;
    for (const WireRequest &w : sent)
        wire << QStringLiteral("%1=%2").arg(w.parameter).arg(w.value);
    for (const QString &w : shipped.value(3).split(' ', Qt::SkipEmptyParts))
        QVERIFY2(wire.contains(w), qPrintable(wire.join(' ')));
    for (const WireRequest &w : sent) // none in a unit the drive did not tell
        QVERIFY2(m_f.form()->unreadSelectorOf(w.parameter) < 0, qPrintable(QString::number(w.parameter)));
    QCOMPARE(m_f.form()->cellText(m_f.rowOf(7), 7).startsWith("unknown"), box.contains("P.7 is"));
    QVERIFY(!g_batchTransfer);
    QVERIFY(!nothing || (m_f.boxes.texts().size() == 1 && m_f.requests(1, before).isEmpty())); // no reads, no comparison
}

void TestBatchWrite::writeAllGathersFailures()
{
    m_f.start(2);
    m_f.control("refuse param 3 write");
    m_f.control("refuse param 120 write");
    m_f.setSetting(1, "50.00");
    m_f.setSetting(3, "60.00");
    m_f.setSetting(5, "1-2");     // no number: refused before it reaches the drive
    m_f.setSetting(8, "-40000");  // cannot be sent
    m_f.setSetting(120, "2");
    m_f.setSetting(188, "150");
    const int before = m_f.requests(2).size();
    QTest::mouseClick(m_f.form()->AllWrite, Qt::LeftButton);
    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
    const QList<WireRequest> writes = TransferFixture::only(m_f.requests(2, before), "write");
    QStringList written;
    for (const WireRequest &w : writes)
        written << QString::number(w.parameter);
    QCOMPARE(written, (QStringList { "1", "3", "120" }));
    const QStringList log = m_f.logLines();
    const int at = log.indexOf(QStringLiteral("Batch write parameter:"));
    QCOMPARE(log.value(at + 1), QString());
    QCOMPARE(log.value(at + 2), QStringLiteral("P.3 P.5 P.8 P.120 write failure!"));
    QVERIFY(seriess::isBoldRed(m_f.form(), m_f.rowOf(5)));
}

// ---- Drive commands ----

void TestBatchWrite::driveCommands_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("firstLine");
    const char *lines[] = { "The operation will clear all alarm record information.\n", "The operation will reset the INV.\n",
                            "The operation will clear all parameters to initial value.\n",
                            "The operation will clear part parameters to initial value.\n" };
    for (int p = 0; p < 3; ++p) {
        for (int c = 0; c < 4; ++c)
            QTest::newRow(qPrintable(QString("%1_%2_confirmed").arg(seriess::protocolNames().at(p)).arg(996 + c)))
                << p << 996 + c << "Confirm" << lines[c];
    }
    QTest::newRow("modbus_rtu_997_cancelled") << 1 << 997 << "Cancel" << lines[1];
    QTest::newRow("taviron_998_escape") << 0 << 998 << "Escape" << lines[2];
    QTest::newRow("modbus_ascii_997_link_lost") << 2 << 997 << "Confirm_link_lost" << lines[1];
}

void TestBatchWrite::driveCommands()
{
    QFETCH(int, protocol);
    QFETCH(int, command);
    QFETCH(QString, answer);
    QFETCH(QString, firstLine);
    QVERIFY(m_f.connectDrive(protocol, seriess::kParameters));
    g_seriesLetter = 'S';
    g_zrPage = 3;
    // link_lost: an exchange gives up before the command goes, as the box stands: it is refused aloud.
    const bool lost = answer.endsWith("_link_lost");
    g_offLine = lost;
    QPushButton *buttons[] = { m_f.form()->Pr996PB, m_f.form()->Pr997PB, m_f.form()->Pr998PB, m_f.form()->Pr999PB };
    m_f.boxes.plan({ answer.remove("_link_lost") });
    QTest::mouseClick(buttons[command - 996], Qt::LeftButton);

    QCOMPARE(m_f.boxes.texts(), QStringList { firstLine + "\nClick \"Confirm\" to confirm the operation.\n"
                                                        "Click \"Cancel\" to cancel the operation.\n" }
                 + (lost ? QStringList { "Please execute connection test first!" } : QStringList()));
    QCOMPARE(m_f.boxes.titles(), QStringList(QVector<QString>(lost ? 2 : 1, "Warning").toList()));
    const QList<WireRequest> sent = m_f.requests(protocol);
    const bool confirmed = answer == QLatin1String("Confirm") && !lost;
    QCOMPARE(g_restartWait.load(), confirmed);
    QCOMPARE(g_modeRestartWait.load(), confirmed);
    QCOMPARE(g_zrPage.load(), confirmed && command == 997 ? 0 : 3);
    if (!confirmed) {
        QVERIFY(sent.isEmpty());
        return;
    }
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().kind, QStringLiteral("command"));
    // The drive took the command: it restarts (its journal says so) for the restart commands.
    QTRY_VERIFY(m_f.journal().join('\n').contains(QStringLiteral("TX")));
}

void TestBatchWrite::restartWaitAfterCommand()
{
    // Series D waits 2000 ms under Modbus RTU before its next command; the drive restarts in 1500.
    QVERIFY(m_f.connectDrive(1, seriess::kParameters + QStringList { "restart-ms 1500" }));
    g_seriesLetter = 'D';
    m_f.boxes.plan({ "Confirm", "Confirm" });
    QTest::mouseClick(m_f.form()->Pr997PB, Qt::LeftButton);
    QTest::mouseClick(m_f.form()->Pr996PB, Qt::LeftButton);
    // A late reply brings P.997 a retry; nothing else goes out before P.996, and that only after the wait.
    const QList<WireRequest> sent = m_f.requests(1);
    QVERIFY(sent.size() >= 2 && sent.last().bytes != sent.first().bytes);
    for (int i = 1; i < sent.size() - 1; ++i)
        QCOMPARE(sent.at(i).bytes, sent.first().bytes);
    const double wait = sent.last().at - sent.at(sent.size() - 2).at;
    QVERIFY2(wait >= 1.95, qPrintable(QString::number(wait)));
    QVERIFY(m_f.boxes.texts().size() == 2);
    QVERIFY(!g_offLine);
    QVERIFY(!m_f.journal().join('\n').contains("silent"));
}

void TestBatchWrite::untestedStationSendsNothing()
{
    QVERIFY(m_f.connectDrive(1, seriess::kParameters));
    m_f.window()->navigation->stationTested[1] = 0;
    m_f.boxes.plan({ "OK", "OK", "OK", "OK" });
    QTest::mouseClick(m_f.form()->Pr996PB, Qt::LeftButton);
    QTest::mouseClick(m_f.form()->allReadPB, Qt::LeftButton);
    QTest::mouseClick(m_f.form()->AllWrite, Qt::LeftButton);
    QTest::mouseClick(m_f.form()->writePB, Qt::LeftButton);
    QCOMPARE(m_f.boxes.texts(), QStringList(QVector<QString>(4, "Please execute connection test first!").toList()));
    QVERIFY(m_f.requests(1).isEmpty());
    QCOMPARE(m_f.form()->readParValue(1), -1.0);
    QCOMPARE(m_f.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QVERIFY(!g_restartWait);

    // With no station chosen nothing is said, and still nothing is sent.
    m_f.boxes.clear();
    m_f.window()->navigation->PotLabel->setText(QStringLiteral("Select station: ---"));
    QTest::mouseClick(m_f.form()->readPB, Qt::LeftButton);
    QVERIFY(m_f.boxes.texts().isEmpty());
    QVERIFY(m_f.requests(1).isEmpty());
}

// A list that gives only P.1 (and the firmware version, as every saved list): the Setting values typed before the Open are not the list's, and the
// batch write after it sends P.1 alone.
void TestBatchWrite::openedPartialListWritesOnlyItsRows()
{
    m_f.start(1);
    CParameter *form = m_f.form();
    m_f.setSetting(3, QStringLiteral("60.00"));
    m_f.setSetting(8, QStringLiteral("15.00"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("partial.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString(g_invType).replace('/', '|').toLatin1() + "  ,2,1\r\n"
               "Trad. P mode   Min            Max            Unit           Default value                 "
               "Current value  Comment        Name\r\n"
               "   P.1         0.00           120.00         0.01Hz         120.00Hz                      "
               "50.00          RW             Maximum frequency\r\n"
               "   P.188       0              65535          --             --                            "
               "150            RO             Firmware version\r\n");
    file.close();

    ModalWatcher watcher([&path](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            edit->setText(path);
            QTimer::singleShot(0, edit, [edit] { QTest::keyClick(edit, Qt::Key_Return); });
        }
    });
    QTest::mouseClick(form->openPB, Qt::LeftButton);
    QCOMPARE(form->cellText(m_f.rowOf(1), 10), QStringLiteral("50.00"));
    QCOMPARE(form->cellText(m_f.rowOf(8), 10), QString());
    QCOMPARE(form->cellText(m_f.rowOf(3), 10), QString());
    form->compareResult->hide();

    const int before = m_f.requests(1).size();
    QTest::mouseClick(form->AllWrite, Qt::LeftButton);
    QVERIFY2(m_f.boxes.texts().isEmpty(), qPrintable(m_f.boxes.texts().join('|')));
    QList<QPair<int, int>> order;
    for (const WireRequest &w : TransferFixture::only(m_f.requests(1, before), "write"))
        order << qMakePair(w.parameter, w.value);
    QCOMPARE(order, (QList<QPair<int, int>> { { 1, 5000 } }));
}

// A backup restored as a technician does it, Read All, Save, Open and Write All by the form's buttons, on the A and
// D drives: the settings are written, never the alarm readouts or the run time the drive counts.
void TestBatchWrite::restoredBackupLeavesCounters()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("backup.txt"));
    UserAnswers user;
    for (const char *drive : { "A-rtu.drive", "D-rtu.drive" }) {
        m_f.resetState();
        QVERIFY(!m_f.connectShipped(drive, 0).isEmpty());
        m_f.control(QStringLiteral("turnaround-ms 0")); // some 3000 exchanges
        CParameter *form = m_f.form();
        user.fileNames = QStringList { path, path };
        for (QPushButton *button : { form->allReadPB, form->savePB, form->openPB, form->AllWrite })
            QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(m_f.boxes.texts().isEmpty() && user.boxes.isEmpty() && QFile::remove(path), drive);
        QSet<int> written;
        for (const WireRequest &w : TransferFixture::only(m_f.requests(1), "write"))
            written << w.parameter;
        QVERIFY2(written.contains(1) && !written.intersects({ 289, 291, 292, 293 }), drive);
    }
}

QTEST_MAIN(TestBatchWrite)
#include "tst_batchwrite.moc"

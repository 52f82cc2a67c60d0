#include "navfixture.h"
#include "serverclicks.h"
#include "connection/comsetup.h"
#include "modalwatcher.h"
#include "quicksetup/quicksetup.h"
#include "parameter/paramtext.h"
#include "platform/appstate.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QDateTime>
#include <QMessageBox>
#include <QTableWidget>

// The dock's mode, run, stop and frequency buttons pressed as a user does, against the simulated
// drive: what its journal saw on the line, and what the dock refused.
class tst_DriveCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nothingIsSentBeforeTheConnectionTest();
    void buttonsSendTheirCommands_data() { NavFixture::protocolRows(); }
    void buttonsSendTheirCommands();
    void frequency_data();
    void frequency();
    void requestWaitingBehindAGiveUp_data();
    void requestWaitingBehindAGiveUp();
    void jogPressIsNotCarriedToAnotherStation();
    void stopWins_data();
    void stopWins();
    void pressesWhileBusy_data();
    void pressesWhileBusy();

private:
    QList<QByteArray> commandsSent(int protocol) const;
    void press(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    NavFixture m_fix;
    CNavigation *nav() { return m_fix.nav(); }
};

void tst_DriveCommands::init()
{
    QVERIFY(m_fix.setUp());
}

void tst_DriveCommands::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << "drive journal:\n" << m_fix.journal();
    m_fix.tearDown();
}

QList<QByteArray> tst_DriveCommands::commandsSent(int protocol) const
{
    // A try the drive left unanswered and its retry right after count once.
    QList<QByteArray> out;
    const QList<Frame> frames = m_fix.frames();
    for (int i = 0; i < frames.size(); ++i) {
        const Frame &f = frames.at(i), &before = frames.value(i - 1);
        if (f.received && NavFixture::isCommand(protocol, f.bytes)
            && !(before.received && before.bytes == f.bytes && f.at - before.at <= 0.3))
            out << f.bytes;
    }
    return out;
}

void tst_DriveCommands::nothingIsSentBeforeTheConnectionTest()
{
    QVERIFY(m_fix.startLine(2));
    m_fix.addStation(1, QStringLiteral("VM3-023"), QStringLiteral("7.5K"));
    m_fix.window()->setConnectionState(true);
    QPushButton *const buttons[] = { nav()->CUPB,    nav()->ExtPB,   nav()->JOGPB,   nav()->NaRevPB,
                                     nav()->NaFWDPB, nav()->NaSetPB, nav()->NaStopPB };
    m_fix.watch();
    for (QPushButton *button : buttons)
        press(button);
    // STOP goes out all the same, and its answer leaves the window Off-Line.
    QCOMPARE(m_fix.boxTexts(), repeated(6, QStringLiteral("Please execute connection test first!")));
    QCOMPARE(m_fix.boxes().first().title, QStringLiteral("Warning"));
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));

    // No station at all: refused without a word.
    QTest::mouseClick(nav()->delete_atation, Qt::LeftButton);
    QCOMPARE(nav()->PotLabel->text(), QStringLiteral("Select station: ---"));
    m_fix.watch();
    m_fix.window()->setConnectionState(true);
    for (QPushButton *button : buttons)
        press(button);
    QCOMPARE(m_fix.boxes().size(), 0);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));

    // While a connection test runs, STOP goes out only on the line its station passed a test on: none here.
    g_connectionTest = true;
    press(nav()->NaStopPB);
    g_connectionTest = false;
    QTest::qWait(100);
    const QList<Frame> frames = m_fix.received();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first().bytes, NavFixture::commandFrame(0, "STO"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QStringLiteral("STOP not sent: the station has passed no connection test"));
}

void tst_DriveCommands::buttonsSendTheirCommands()
{
    QFETCH(int, line);
    const int protocol = NavFixture::line(line).protocol;
    // P.79 = 3: the drive takes run commands from the link while in JOG.
    QVERIFY(m_fix.startLine(line, QStringLiteral("mode 2\nset 79 3")));
    m_fix.addTestedStation(line);
    m_fix.watch();
    QLabel *modeText = m_fix.window()->modeValueLabel;

    m_fix.selectStation(0); // JOG, set at the panel, as the poller shows: the button never pressed
    QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()).left(3), QStringLiteral("001"), 3000);
    press(nav()->NaFWDPB);
    press(nav()->NaRevPB);
    QTest::qWait(300);
    press(nav()->CUPB);
    QCOMPARE(lampStates(nav()).left(3), QStringLiteral("100"));
    QCOMPARE(modeText->text(), QStringLiteral("CU"));
    QCOMPARE(g_cuModeResult.load(), 0);
    QVERIFY(iconShows(m_fix.window()->connectButton->icon(), QStringLiteral(":/new prefix/images/connect.png")));
    QVERIFY(nav()->modeThread->isRunning());

    press(nav()->ExtPB);
    QCOMPARE(lampStates(nav()).left(3), QStringLiteral("010"));
    QCOMPARE(modeText->text(), QStringLiteral("EXT"));
    press(nav()->NaRevPB);
    press(nav()->NaFWDPB);
    press(nav()->NaSetPB);
    QCOMPARE(m_fix.boxTexts(), repeated(3, QStringLiteral("Please change INV operation mode to CU!")));
    press(nav()->NaStopPB);

    for (int i = 0; i < 3; ++i)
        press(nav()->JOGPB);
    QCOMPARE(lampStates(nav()).left(3), QStringLiteral("001"));
    QCOMPARE(modeText->text(), QStringLiteral("JOG"));
    // In JOG the drive runs while the button is held.
    QTest::mousePress(nav()->NaRevPB, Qt::LeftButton);
    QTest::qWait(30);
    QTest::mouseRelease(nav()->NaRevPB, Qt::LeftButton);
    QTest::mousePress(nav()->NaFWDPB, Qt::LeftButton);
    QTest::qWait(30);
    QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
    QCOMPARE(lampStates(nav()).right(2), QStringLiteral("00"));
    QTest::qWait(300); // the motor coasts to a standstill before the mode may change

    press(nav()->CUPB);
    QCOMPARE(g_cuModeResult.load(), 0);
    // Back in CU, releasing the button leaves the drive running.
    press(nav()->NaFWDPB);
    press(nav()->NaSetPB);
    press(nav()->NaStopPB);
    QCOMPARE(m_fix.boxes().size(), 3);

    QTest::qWait(50);
    const QList<QByteArray> expected = {
        NavFixture::commandFrame(protocol, "FWD"), NavFixture::commandFrame(protocol, "STO"),
        NavFixture::commandFrame(protocol, "REV"), NavFixture::commandFrame(protocol, "STO"),
        NavFixture::commandFrame(protocol, "CU0"), NavFixture::commandFrame(protocol, "EXT"),
        NavFixture::commandFrame(protocol, "STO"), NavFixture::commandFrame(protocol, "JOG"),
        NavFixture::commandFrame(protocol, "JOG"), NavFixture::commandFrame(protocol, "JOG"),
        NavFixture::commandFrame(protocol, "REV"), NavFixture::commandFrame(protocol, "STO"),
        NavFixture::commandFrame(protocol, "FWD"), NavFixture::commandFrame(protocol, "STO"),
        NavFixture::commandFrame(protocol, "CU0"), NavFixture::commandFrame(protocol, "FWD"),
        NavFixture::commandFrame(protocol, "FRE", 6000), NavFixture::commandFrame(protocol, "STO"),
    };
    QCOMPARE(commandsSent(protocol), expected);
    const QList<Frame> all = m_fix.received(); // unfolded: one STO a release however often JOG was pressed
    QCOMPARE(std::count_if(all.begin(), all.end(), [&](const Frame &f) { return f.bytes == expected.at(1); }), 6);
    QVERIFY(m_fix.reportedErrors().isEmpty());
    QVERIFY(!g_offLine);
}

void tst_DriveCommands::frequency_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("setting"); // the drive's parameters
    QTest::addColumn<QString>("typed");   // into the frequency box
    QTest::addColumn<int>("value");       // sent with "FRE"
    QTest::newRow("rtu_hundredths") << 0 << "" << "60.00" << 6000;
    QTest::newRow("rtu_p187_tenths") << 0 << "set 187 1" << "60.00" << 600;
    QTest::newRow("rtu_p187_tenths_fraction_dropped") << 0 << "set 187 1" << "12.34" << 123;
    QTest::newRow("taviron_p187_not_asked") << 2 << "set 187 1" << "60.00" << 6000;
    QTest::newRow("taviron_p991_tenths") << 2 << "set 991 1" << "60.00" << 600;
    QTest::newRow("taviron_highest") << 2 << "" << "400.99" << 0x9CA3;
    QTest::newRow("taviron_rounded") << 2 << "" << "0.07" << 7;
    QTest::newRow("ascii_no_tenths_key") << 1 << "P 187 1 0..1 0" << "60.00" << 6000; // a drive with P.187 at 1
    QTest::newRow("rtu_p187_unread") << 0 << "set 187 1\nrefuse param 187 read" << "5.00" << -14; // no FRE; -value told
    QTest::newRow("ascii_p187_unread") << 1 << "P 187 1 0..1 0\nrefuse param 187 read" << "5.00" << -14;
    QTest::newRow("taviron_p187_unread") << 2 << "set 187 1\nrefuse param 187 read" << "5.00" << -19;
}

void tst_DriveCommands::frequency()
{
    QFETCH(int, line);
    QFETCH(QString, setting);
    QFETCH(QString, typed);
    QFETCH(int, value);
    const int protocol = NavFixture::line(line).protocol;
    QVERIFY(m_fix.startLine(line, setting));
    m_fix.addTestedStation(setting.contains(QLatin1String("187 read")) ? 0 : line); // of series A, which reads P.187
    m_fix.watch();
    // The drive takes run commands from the link (the mode buttons have their own test; a press
    // here would start the poller, whose stop waits out its second).
    nav()->modeState.polled(nav()->modeState.pollBegun(), { 0, 0, false });

    QLineEdit *edit = nav()->FrespinBox->findChild<QLineEdit *>();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QObject context; // the line the refusal's box shows under its message
    QStringList subjects;
    connect(m_fix.window(), &CMainWindow::showErrorInfo, &context, [&] { subjects << m_fix.window()->refusalSubject; });
    press(nav()->NaSetPB);
    QTest::qWait(50);

    QCOMPARE(subjects, value < 0 ? QStringList { "Nothing was sent: SET takes the frequency in the unit P.187 selects, "
                                                 "which could not be read." } : QStringList());
    QCOMPARE(m_fix.boxes().size(), 0);
    QCOMPARE(m_fix.reportedErrors(), value < 0 ? QList<int> { -value } : QList<int>());
    const QList<QByteArray> sent = commandsSent(protocol);
    QCOMPARE(sent.size(), int(value >= 0));
    QCOMPARE(sent.value(0), value < 0 ? QByteArray() : NavFixture::commandFrame(protocol, "FRE", quint16(value)));
}

void tst_DriveCommands::requestWaitingBehindAGiveUp_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("action");
    const char *const names[] = { "modbus_rtu", "modbus_ascii", "taviron" };
    for (int line = 0; line < 3; ++line)
        for (const char *action : { "FWD", "Write", "STOP", "JOG", "CU", "JOG_taken" })
            if (lineWanted(line))
                QTest::addRow("%s_%s", names[line], action) << line << QString(action);
}

// On line in CU, the drive falls silent for exactly the ten tries of a poll's exchange, and the
// user presses a button meanwhile, whose request finds the link given up when its turn comes.
// Only a stop still goes out, and its answer does not bring the window back on line.
// JOG_taken: right after a poll every reply is spoiled while the drive acts on each request; it
// takes JOG, the program gives up. After a passed test a FWD held and let go leaves no motor running.
void tst_DriveCommands::requestWaitingBehindAGiveUp()
{
    QFETCH(int, line);
    QFETCH(QString, action);
    const int protocol = NavFixture::line(line).protocol;
    const bool cu = action == "CU"; // right after a poll, answered before the drive falls silent for good
    const bool taken = action == "JOG_taken";
    QVERIFY(m_fix.startLine(line));
    m_fix.addTestedStation(line);
    m_fix.watch();
    m_fix.selectStation(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"), 3000);
    CParameter *form = m_fix.window()->parameterForm;
    for (int row = 0; row < form->PartableWidget->rowCount(); ++row)
        if (form->cellText(row, 1).contains(QLatin1String("P.")) && ParamText::labelNumber(form->cellText(row, 1)) == 7) {
            form->PartableWidget->item(row, 10)->setText(QStringLiteral("6"));
            form->PartableWidget->setCurrentCell(row, 10);
        }
    if (!cu && !taken)
        m_fix.control(QStringLiteral("fault silent-first 10"));
    QTest::qWait(100);
    int before = m_fix.received().size();
    QTRY_VERIFY_WITH_TIMEOUT(m_fix.received().size() > before
                                 && (!(cu || taken)
                                     || m_fix.received().last().bytes == NavFixture::commandFrame(protocol, "STA")), 3000);
    if (taken) // "Communication Error!" is read, past the next poll's time, before the JOG's press returns
        connect(m_fix.window(), &CMainWindow::showErrorInfo, this, [] { QTest::qWait(1500); });
    if (cu || taken) {
        QTest::qWait(20); // the status answered
        m_fix.control(taken ? QStringLiteral("fault short always") : QStringLiteral("fault silent-after 1"));
        before = m_fix.received().size();
    }
    press(action == "FWD" ? nav()->NaFWDPB : action == "STOP" ? nav()->NaStopPB : action == "JOG" || taken ? nav()->JOGPB
              : cu ? nav()->CUPB : form->writePB);
    QTest::qWait(taken ? 0 : 1500); // past the next poll's time

    QTRY_VERIFY_WITH_TIMEOUT(nav()->modeThread->isFinished(), 3000);
    nav()->modeThread->stopAndWait(); // what the poller did is seen from here
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QVERIFY(iconShows(m_fix.window()->connectButton->icon(), QStringLiteral(":/new prefix/images/unconnect.png")));
    QCOMPARE(nav()->stationTested[1], 0);
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QString());
    QCOMPARE(lampStates(nav()), QStringLiteral("00000"));
    QCOMPARE(m_fix.reportedErrors(), QList<int> { 8 }); // "Communication Error!" once
    QVERIFY(m_fix.boxes().isEmpty());
    // Unanswered, the last tries reach the journal in the drive's own time.
    QTRY_COMPARE(m_fix.received().size(), before + int(cu) + 10 + int(action == "STOP"));
    QList<QByteArray> sent;
    for (const Frame &f : m_fix.received().mid(before))
        sent << f.bytes;
    QList<QByteArray> expected; // the poll's ten tries
    if (cu)
        expected << NavFixture::commandFrame(protocol, "CU0");
    for (int i = 0; i < 10; ++i)
        expected << sent.value(cu);
    if (action == "STOP")
        expected << NavFixture::commandFrame(NavFixture::line(line).protocol, "STO");
    QCOMPARE(sent, expected);
    if (taken) { // after a passed test FWD asks the drive, in JOG without P.79 = 3: refused, and its release stops
        m_fix.control(QStringLiteral("clear"));
        m_fix.passConnectionTest();
        QTest::mousePress(nav()->NaFWDPB, Qt::LeftButton);
        QTest::qWait(300);
        QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
        QCOMPARE(lampStates(nav()).left(3) + m_fix.window()->modeValueLabel->text(), QStringLiteral("001JOG"));
        QCOMPARE(m_fix.boxTexts(), QStringList { "Please change INV operation mode to CU!" });
        QCOMPARE(commandsSent(protocol), sent + QList<QByteArray> { NavFixture::commandFrame(protocol, "STO") }); // spoiled, not folded
        return;
    }
    for (QPushButton *button : { nav()->NaFWDPB, nav()->NaStopPB, nav()->ExtPB }) // each but STOP asks for the test
        press(button);
    QCOMPARE(m_fix.boxTexts(), repeated(2, QStringLiteral("Please execute connection test first!")));
    // STOP goes out, ten tries to a drive silent for good, and an answer does not bring the window back on line.
    QTRY_COMPARE(m_fix.received().size(), before + sent.size() + (cu ? 10 : 1));
    QCOMPARE(m_fix.received().last().bytes, NavFixture::commandFrame(protocol, "STO"));
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    if (action == "JOG") { // held back, it set up nothing: after a passed test FWD runs, and no STO follows
        m_fix.passConnectionTest(); // nothing stale: FWD asks the drive its mode
        QCOMPARE(lampStates(nav()) + m_fix.window()->modeValueLabel->text(), QStringLiteral("00000"));
        press(nav()->NaFWDPB);
        QTRY_COMPARE_WITH_TIMEOUT(commandsSent(protocol), (QList<QByteArray> { NavFixture::commandFrame(protocol, "STO"),
                                                                              NavFixture::commandFrame(protocol, "FWD") }), 3000);
    }
}

// Station 1 runs in CU; a JOG refused while the motor turns went out all the same. STOP, then station 2,
// whose drive is in CU: a FWD held and let go runs it on, and no stop follows.
void tst_DriveCommands::jogPressIsNotCarriedToAnotherStation()
{
    QVERIFY(m_fix.startLine(2));
    m_fix.addStation(2, QStringLiteral("VM3-023"), QStringLiteral("7.5K"));
    m_fix.addTestedStation(2);
    nav()->stationTested[2] = 1;
    m_fix.watch();
    m_fix.selectStation(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"), 3000);
    press(nav()->NaFWDPB), press(nav()->JOGPB), press(nav()->NaStopPB);
    g_currentStationIndex = m_fix.stationIndex(1); // of the same type: no table to read
    m_fix.selectStation(1);
    m_fix.control(QStringLiteral("station 2")); // the other drive, before its first poll
    m_fix.watch();
    const int chosen = commandsSent(0).size();
    QTest::mousePress(nav()->NaFWDPB, Qt::LeftButton);
    QTest::qWait(300);
    QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()), QStringLiteral("10001"), 2500); // it runs on
    QVERIFY(m_fix.boxes().isEmpty());
    QCOMPARE(commandsSent(0).mid(chosen), QList<QByteArray> { drive::zrRequest("02FA00002") }); // FWD alone

    // Station 1 untested and current; station 2 clicked and FWD pressed inside the click's window: FWD is
    // for station 2, tested, and goes out once its drive has told its mode, rather than asking for the test.
    nav()->stationTested[1] = 0;
    m_fix.selectStation(0);
    m_fix.clickItem(m_fix.stationIndex(1));
    press(nav()->NaFWDPB);
    QVERIFY(m_fix.boxes().isEmpty());
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"));
    QCOMPARE(commandsSent(0).mid(chosen), (QList<QByteArray> { drive::zrRequest("02FA00002"), drive::zrRequest("02FA00002") }));
}

void tst_DriveCommands::stopWins_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("action");
    const char *const names[] = { "modbus_rtu", "modbus_ascii", "taviron" };
    for (int line = 0; line < 3; ++line)
        for (const char *action : { "owed", "owed_stop", "box", "stop_asked", "release_asked", "click_asked",
                                    "jog_refused", "presses_in_order", "write_then_edit", "restart", "restart_station", "click_write",
                                    "click_batch", "mode_lost", "mode_lost_write", "two_clicks_fwd" })
            if (lineWanted(line))
                QTest::addRow("%s_%s", names[line], action) << line << QString(action);
}

struct PaintsUnderWait : QObject { // a label's paints under the wait cursor
    QStringList texts;
    bool eventFilter(QObject *label, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && QApplication::overrideCursor())
            texts << static_cast<QLabel *>(label)->text();
        return false;
    }
};

// P.79 = 3, the drive in JOG for owed, box and release_asked, else in CU. owed: FWD held, the line lost, FWD
// let go (owed_stop: FWD clicked, STOP), the line back and a passed test: the stop goes out first, its words
// in sight until then, from the failure's box on, in the language chosen meanwhile. box: a box opening while
// FWD is held takes the release. *_asked: right after the station is chosen, FWD asks the drive its mode and
// goes out at its press; STOP, or the release in JOG, stops it. jog_refused: FWD, a JOG the turning drive
// refuses, FWD held and let go: the release stops it. presses_in_order: SET 20.00, FWD, Write go out in order.
// write_then_edit: P.7's 7.00 written, then 9.00 typed and the table re-sorted: the drive holds 7.00, and P.7
// alone was written. restart: a poll shows CU, P.997 confirmed, FWD: it goes out after a mode request after the
// restart. mode_lost(_write): FWD (Write) asks the mode, unanswered: nothing goes out or is logged as written.
// click_*: Write (P.7 at 7.70) or Batch Write 0.3 s after a click on station 2, untested: it asks for its test.
// two_clicks_fwd: stations 2 and 3 (tested) clicked, FWD inside the click window: it goes to station 3.
void tst_DriveCommands::stopWins()
{
    QFETCH(int, line);
    QFETCH(QString, action);
    const int protocol = NavFixture::line(line).protocol;
    const QByteArray fwd = NavFixture::commandFrame(protocol, "FWD"), sto = NavFixture::commandFrame(protocol, "STO");
    const bool cu = action != "release_asked" && QStringList { "box", "owed" }.indexOf(action) < 0;
    QVERIFY(m_fix.startLine(line, cu ? QStringLiteral("mode 0\nset 79 3") : QStringLiteral("mode 2\nset 79 3")));
    m_fix.addTestedStation(line);
    for (int number = 2; number <= (action == "two_clicks_fwd" ? 3 : action.startsWith("click_") ? 2 : 1); ++number)
        m_fix.addStation(number, QLatin1String(NavFixture::line(line).type), QLatin1String(NavFixture::line(line).power));
    m_fix.watch();
    m_fix.selectStation(0);
    if (action == "two_clicks_fwd") { // the drive answers as station 3 from before station 1's first poll
        nav()->stationTested[3] = 1, m_fix.control(QStringLiteral("station 3"));
        g_currentStationIndex = m_fix.stationIndex(2); // of the same type: no table to read
        m_fix.clickItem(m_fix.stationIndex(1)), m_fix.clickItem(m_fix.stationIndex(2)), press(nav()->NaFWDPB);
        QCOMPARE(m_fix.received().last().bytes, protocol == 0 ? drive::zrRequest("03FA00002")
                     : protocol == 1 ? drive::crc(QByteArray::fromHex("030610010002")) : drive::lrc("030610010002"));
        QVERIFY(m_fix.boxes().isEmpty());
        return;
    }
    QLabel *modeText = m_fix.window()->modeValueLabel;
    CParameter *form = m_fix.window()->parameterForm;
    const auto setRow = [form](const QString &label, const QString &setting) {
        for (int row = 0; row < form->PartableWidget->rowCount(); ++row)
            if (form->cellText(row, 1).remove(' ') == label)
                form->PartableWidget->item(row, 10)->setText(setting), form->PartableWidget->setCurrentCell(row, 10);
    };
    if (action.startsWith("click_")) {
        setRow(QStringLiteral("P.7"), QStringLiteral("7.70")), m_fix.clickItem(m_fix.stationIndex(1)), QTest::qWait(300);
        const int before = m_fix.received().size();
        press(action == "click_write" ? form->writePB : form->AllWrite);
        QCOMPARE(m_fix.boxTexts(), QStringList { "Please execute connection test first!" });
        for (const Frame &f : m_fix.received().mid(before)) // a poll under way at the click
            QVERIFY(NavFixture::isPoll(protocol, f.bytes, "MOD") || NavFixture::isPoll(protocol, f.bytes, "STA"));
        return;
    }
    if (action == "presses_in_order" || action == "write_then_edit") {
        QLineEdit *edit = nav()->FrespinBox->findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClicks(edit, "20.00");
        setRow(QStringLiteral("P.7"), QStringLiteral("7.00"));
        if (action == "write_then_edit") {
            press(form->writePB);
            setRow(QStringLiteral("P.7"), QStringLiteral("9.00"));
            QHeaderView *header = form->PartableWidget->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
            QTest::qWait(1200); // past the first poll
            QCOMPARE(g_readWrite->ReadPar(7, 0.01), 7.0);
            const QStringList written = m_fix.logLines().filter(QStringLiteral("Write Single Parameter:"));
            QVERIFY2(written.size() == 1 && written.first().endsWith(QLatin1String("P.7=7.00")), qPrintable(written.join('\n')));
            return;
        }
        press(nav()->NaSetPB), press(nav()->NaFWDPB), press(form->writePB);
        QTRY_COMPARE_WITH_TIMEOUT(commandsSent(protocol).size(), 2, 3000);
        QCOMPARE(commandsSent(protocol), (QList<QByteArray> { NavFixture::commandFrame(protocol, "FRE", 2000), fwd }));
        const QList<Frame> sent = m_fix.requests();
        const auto after = std::find_if(sent.rbegin(), sent.rend(), [&](const Frame &f) { return f.bytes == fwd; });
        QTRY_VERIFY(std::any_of(sent.rbegin(), after, [&](const Frame &f) {
            return !NavFixture::isPoll(protocol, f.bytes, "MOD") && !NavFixture::isPoll(protocol, f.bytes, "STA");
        })); // the write
        QVERIFY(m_fix.boxes().isEmpty());
        return;
    }
    if (action.startsWith("restart")) {
        QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()).left(3), QStringLiteral("100"), 3000); // known before the restart
        m_fix.window()->parameterForm->Execute997(); // the box's "Confirm"
        PaintsUnderWait paints;
        m_fix.window()->show();
        modeText->installEventFilter(&paints);
        // restart_station: its table read anew once the poller waits out the restart
        action == "restart" ? press(nav()->NaFWDPB) : (QTest::qWait(1100), g_invType.clear(), m_fix.selectStation(0));
        const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        QCOMPARE(paints.texts, QStringList { "Drive restarting: please wait" });
        const QList<Frame> all = m_fix.requests();
        const auto restart = std::find_if(all.begin(), all.end(), [&](const Frame &f) {
            return f.bytes == NavFixture::commandFrame(protocol, "997");
        });
        QVERIFY(restart != all.end() && restart + 1 != all.end());
        QVERIFY(action == "restart" || ((restart + 1)->at - restart->at > 1.9 && now - (restart + 1)->at < 0.8)); // not held longer
        if (action != "restart")
            return;
        QVERIFY(modeText->text() == "CU" && !QApplication::overrideCursor());
        // 997, then the mode asked (by the press or a poll that began after the restart), then FWD.
        QVERIFY(NavFixture::isPoll(protocol, (restart + 1)->bytes, "MOD"));
        QVERIFY((restart + 1)->at - restart->at > 1.9);
        QVERIFY(std::find_if(restart + 2, all.end(), [&](const Frame &f) { return f.bytes == fwd; }) != all.end());
        return;
    }
    if (action.startsWith("mode_lost")) {
        setRow(QStringLiteral("P.7"), QStringLiteral("7.00"));
        m_fix.control(QStringLiteral("lose command MOD"));
        press(action == "mode_lost" ? nav()->NaFWDPB : form->writePB);
        QCOMPARE(commandsSent(protocol), QList<QByteArray>());
        QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
        QVERIFY(m_fix.reportedErrors() == QList<int> { 8 } && m_fix.boxes().isEmpty()); // no test asked: the press asked
        QVERIFY2(m_fix.logLines().last().startsWith("MODread failure"), qPrintable(m_fix.logLines().join('\n'))); // no write
        return;
    }
    const bool asked = action.endsWith("asked"); // FWD asks the drive its mode, half a second before its first poll
    if (!asked)
        QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()).left(3), QLatin1String(cu ? "100" : "001"), 3000);
    QTest::mousePress(nav()->NaFWDPB, Qt::LeftButton);
    QCOMPARE(commandsSent(protocol), QList<QByteArray> { fwd });
    if (asked) {
        QCOMPARE(modeText->text(), QLatin1String(cu ? "CU" : "JOG"));
        QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
        if (action == "stop_asked")
            press(nav()->NaStopPB);
        QCOMPARE(commandsSent(protocol), (action == "click_asked" ? QList<QByteArray> { fwd } : QList<QByteArray> { fwd, sto }));
        return;
    }
    if (action == "jog_refused") { // the motor turns: the drive refuses JOG
        QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
        QTest::qWait(300);
        press(nav()->JOGPB);
        QTest::mousePress(nav()->NaFWDPB, Qt::LeftButton);
        QTest::qWait(1200); // a poll reads CU meanwhile
        QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
        QCOMPARE(commandsSent(protocol), (QList<QByteArray> { fwd, NavFixture::commandFrame(protocol, "JOG"), fwd, sto }));
        return;
    }
    if (action == "box") {
        m_fix.unwatch();
        QTimer::singleShot(0, this, [this] {
            QTimer::singleShot(300, qApp, [] { QApplication::activeModalWidget()->close(); });
            QMessageBox::warning(m_fix.window(), QStringLiteral("Warning"), QStringLiteral("Communication Error!"));
        });
        QTRY_COMPARE_WITH_TIMEOUT(commandsSent(protocol), (QList<QByteArray> { fwd, sto }), 2000);
        QVERIFY(!nav()->NaFWDPB->isDown());
        QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(commandsSent(protocol), (QList<QByteArray> { fwd, sto }));
        return;
    }
    m_fix.control(QStringLiteral("fault link-lost"));
    QString atBox;
    connect(m_fix.window(), &CMainWindow::showErrorInfo, this, [&] { atBox = modeText->text(); });
    QTest::mouseRelease(nav()->NaFWDPB, Qt::LeftButton); // ten tries the drive never hears
    if (action == "owed_stop")
        press(nav()->NaStopPB);
    QVERIFY(nav()->modeState.stopOwed(1));
    const QString words = QStringLiteral("STOP not answered: the drive may still run");
    QCOMPARE(atBox, words);
    QCOMPARE(modeText->text(), words);
    QTest::qWait(1200); // past the next poll's time: the words stay
    QCOMPARE(modeText->text(), words);
    qApp->installTranslator(&g_translator);
    m_fix.window()->actCS->trigger(); // no poll paints them again
    QCOMPARE(modeText->text(), QStringLiteral("停止未得到应答：变频器可能仍在运行"));
    m_fix.window()->actE->trigger();
    QVERIFY(m_fix.logLines().filter(QStringLiteral("STO")).size() >= 1); // the failed command's line
    m_fix.control(QStringLiteral("clear"));
    m_fix.passConnectionTest();
    QCOMPARE(m_fix.receivedAfter(QStringLiteral("control: clear")).value(0).bytes, sto);
    QVERIFY(!nav()->modeState.stopOwed(1));
    QVERIFY(modeText->text() != words);
    if (action == "owed_stop")
        return;
    QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()), QStringLiteral("00100"), 3000); // JOG, standing
}

void tst_DriveCommands::pressesWhileBusy_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("action");
    const char *const names[] = { "modbus_rtu", "modbus_ascii", "taviron" };
    for (int line = 0; line < 3; ++line)
        for (const char *action : { "set_stop", "set_stop_line_down", "fwd_fwd_stop_mode_unanswered", "set_997_stop",
                                    "set_fwd_stop_fwd", "stop_under_error_box", "stops_unanswered", "batch_read_stop",
                                    "delete_then_stop" })
            if (lineWanted(line))
                QTest::addRow("%s_%s", names[line], action) << line << QString(action);
    for (const auto &[line, action] : { std::pair(0, "stop_again"), std::pair(2, "stop_again_under_box"),
                                        std::pair(1, "stops_read_at_once_under_box"), std::pair(2, "set_997_double"),
                                        std::pair(0, "stop_under_help_menu"), std::pair(2, "stop_under_wizard_list") })
        if (lineWanted(line))
            QTest::addRow("%s_%s", names[line], action) << line << QString(action);
    if (lineWanted(1))
        QTest::newRow("modbus_ascii_stop_after_restart") << 1 << QStringLiteral("stop_after_restart");
    for (int line = 0; line < 3; ++line)
        for (const char *action : { "jog_release_after_error_box", "stop_under_type_box", "stop_in_search" })
            if (lineWanted(line) && (line == 1 || QByteArray(action) != "stop_in_search"))
                QTest::addRow("%s_%s", names[line], action) << line << QString(action);
}

// Clicks through the X server while the window waits on the line, or a box, dialog or transfer blocks the dock.
// set_stop: STOP in SET's ten silent tries, the line back after them (line_down: not); fwd_fwd_stop: FWD, REV, STOP
// in an unanswered mode request. The stop goes out before the failure's box, owed with its words when unanswered;
// the REV is refused after it. The rest as named; stops_unanswered: twelve clicks add no tries; stop_after_restart
// (series S): STOP 6 s after P.997's answer. stop_again: twice, each answered; stops_read_at_once: two presses read
// together; jog_release: FWD let go after its box; type_box: station 2's test box, station 1 ran; in_search: wrong protocol.
void tst_DriveCommands::pressesWhileBusy()
{
    if (!ServerClicks::available())
        QSKIP("clicks through an X server: run by shell/drivecommandswindowmanager");
    QFETCH(int, line);
    QFETCH(QString, action);
    const int protocol = NavFixture::line(line).protocol;
    const QByteArray sto = NavFixture::commandFrame(protocol, "STO"), fwd = NavFixture::commandFrame(protocol, "FWD");
    QVERIFY(m_fix.startLine(line, QStringLiteral("mode 0\nset 79 3")));
    m_fix.addTestedStation(line);
    const bool modeAsked = action.startsWith("fwd");
    if (!modeAsked)
        nav()->modeState.polled(nav()->modeState.pollBegun(), { 0, 0, false });
    connect(m_fix.window(), &CMainWindow::showErrorInfo, m_fix.window(), &CMainWindow::ErrWarning); // the real box
    QLabel *modeText = m_fix.window()->modeValueLabel;
    CParameter *form = m_fix.window()->parameterForm;
    const auto stopAnsweredAt = [this, sto] { // in the journal's seconds; 0: not yet
        const QList<Frame> all = m_fix.frames();
        const auto at = std::adjacent_find(all.begin(), all.end(), [&](const Frame &f, const Frame &next) {
            return f.received && f.bytes == sto && !next.received;
        });
        return at == all.end() ? 0.0 : at->at;
    };
    const auto stopsAnswered = [this, sto] { const QList<Frame> a = m_fix.frames(); int n = 0;
        for (int i = 1; i < a.size(); ++i) n += a[i - 1].received && a[i - 1].bytes == sto && !a[i].received;
        return n; };
    // Boxes are answered (P.997's: Cancel) once the row's requests are all sent or the stop answered; 5 s on: stuck.
    QStringList boxes;
    QString stuck, wordsAtBox;
    int sentAtBox = -1, before = 0;
    std::function<bool()> done; // when given, what the row's boxes wait for
    std::atomic<bool> ready { false }; // the box or popup under which STOP is clicked is there
    const bool lineDown = action.contains("line_down"), errorBox = action == "stop_under_error_box";
    const bool typeBox = action == "stop_under_type_box", search = action == "stop_in_search", jog = action.startsWith("jog");
    const auto answered = [&] { return action == "stops_unanswered" || ((action.startsWith("set_stop") || modeAsked)
                                       && m_fix.received().size() - before >= (lineDown ? 20 : 11)); };
    ModalWatcher watcher([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && sentAtBox < 0 && (sentAtBox = m_fix.received().size(), wordsAtBox = modeText->text(), true)
            && (errorBox || typeBox)) // type_box: the drive answers station 1 again
            m_fix.control(errorBox ? QStringLiteral("clear") : QStringLiteral("station 1"));
        auto *setup = qobject_cast<CComSetup *>(modal);
        LinkSettings s; // station 2 on station 1's line, or station 1 at the wrong protocol
        if (setup && nav()->modeState.passedLine(1, &s) && (setup->ProcomboBox->setCurrentIndex(search ? 0 : s.protocol), true)) {
            for (auto [combo, index] : { std::pair { setup->BaudcomboBox, s.baudIndex }, { setup->DatacomboBox, s.dataIndex },
                     { setup->CheckComboBox, s.parityIndex }, { setup->StopComboBox, s.stopIndex }, { setup->CRComboBox, s.crLfIndex },
                     { setup->autoStation, search ? 1 : 2 }, { setup->AutoPort, setup->AutoPort->findText("Com9") } })
                combo->setCurrentIndex(index);
            QTest::mouseClick(setup->AutoButton, Qt::LeftButton);
        }
        boxes << (box ? box->text() : QStringLiteral("dialog"));
        ready = !qobject_cast<QuickSetup *>(modal);
        if (auto *wizard = qobject_cast<QuickSetup *>(modal)) // beside the dock, its list open
            QTimer::singleShot(300, wizard, [&, wizard] { wizard->move(1366 - wizard->frameGeometry().width(), 0);
                                                          wizard->controlMethodCombo->showPopup(); ready = true; });
        const qint64 opened = QDateTime::currentMSecsSinceEpoch();
        auto *timer = new QTimer(modal);
        connect(timer, &QTimer::timeout, modal, [&, modal, box, setup, opened] {
            const bool late = QDateTime::currentMSecsSinceEpoch() - opened > 5000;
            if (!modal->isVisible() || (setup && typeBox) || !((done ? done() : answered() || stopAnsweredAt() > 0) || late))
                return;
            stuck = late && stuck.isEmpty() ? (box ? box->text() : modal->windowTitle()) : stuck;
            QAbstractButton *cancel = box && action.startsWith("set_997") ? box->button(QMessageBox::Cancel) : nullptr;
            QAbstractButton *button = cancel ? cancel : box ? box->buttons().value(0) : nullptr;
            button ? button->click() : (setup ? setup->CancleButton->click() : void(), qobject_cast<QDialog *>(modal)->reject());
        });
        timer->start(20);
    });
    m_fix.window()->showMaximized(); // as the program starts: the form's command buttons have their room
    QVERIFY(QTest::qWaitForWindowExposed(m_fix.window()));
    QTRY_VERIFY(form->Pr997PB->height() > 10);
    ServerClicks clicks;
    if (action == "stop_after_restart") {
        m_fix.window()->parameterForm->Execute997(); // the box's "Confirm"
        clicks.then(6000, nav()->NaStopPB).start();
        QTRY_VERIFY_WITH_TIMEOUT(m_fix.received().value(m_fix.received().size() - 1).bytes == sto, 12000);
        const QList<Frame> all = m_fix.frames();
        const auto restart = std::find_if(all.begin(), all.end(), [&](const Frame &f) {
            return f.received && f.bytes == NavFixture::commandFrame(protocol, "997");
        });
        QVERIFY(restart != all.end() && !(restart + 1)->received); // its answer
        QVERIFY2(all.last().at - (restart + 1)->at < 7.5, qPrintable(QString::number(all.last().at - (restart + 1)->at)));
        return;
    }
    before = m_fix.received().size();
    const auto sentSince = [&] { QList<QByteArray> sent; for (const Frame &f : m_fix.received().mid(before)) sent << f.bytes; return sent; };
    // The rest go in while the first press's request is being tried.
    const auto tried = [this, before] { return m_fix.received().size() > before + 1; };
    if (jog || typeBox || search) { // jog: the line lost while FWD is held, and back once its box has tried the stop
        const QByteArray sto2 = protocol == 0 ? drive::zrRequest(QByteArray("02FA00000")) : protocol == 1
            ? drive::crc(QByteArray::fromHex("020610010000")) : drive::lrc(QByteArray("020610010000"));
        QPushButton *run = nav()->NaFWDPB;
        press(jog ? nav()->JOGPB : run);
        jog ? clicks.then(0, run, nullptr, 1, "mousedown").then(0, run, [&] { return sentSince().count(sto) >= 10 && (m_fix.control("clear"), true); }, 1, "mouseup")
            : clicks.then(0, m_fix.window()->connectButton).then(search ? 500 : 300, nav()->NaStopPB, [&] { return search ? g_connectionTest.load() : sentAtBox >= 0; });
        typeBox ? m_fix.control(QStringLiteral("station 2")) : void();
        clicks.start();
        QTRY_VERIFY_WITH_TIMEOUT(sentSince().contains(fwd) && (!jog || (m_fix.control("fault link-lost"), true)), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(stopAnsweredAt() > 0 && clicks.made() == 2, 20000);
        const QList<QByteArray> sent = sentSince(); // the search's probes in the character protocol; the test's box
        QVERIFY2(!search || (stopAnsweredAt() - clicks.lastAt() < 2.5 && sent.contains(NavFixture::commandFrame(0, "STA"))), "");
        QVERIFY2(!typeBox || boxes.value(1).startsWith("Connection successful !"), qPrintable(boxes.join('|')));
        QVERIFY2(!jog || (boxes == QStringList { "Communication Error!" } && sent.count(sto) > 10), qPrintable(boxes.join('|')));
        QVERIFY(!sent.contains(sto2) && sent.count(fwd) == 1 && !nav()->modeState.stopOwed(1) && stuck.isEmpty());
        return;
    }
    if (QStringList { "stop_again", "stop_again_under_box", "stops_read_at_once_under_box", "stop_under_help_menu",
                      "stop_under_wizard_list" }.contains(action)) { // a press where STOP is topmost stops once
        const bool atOnce = action.startsWith("stops_read_at_once");
        const int stops = 1 + action.startsWith("stop_again");
        QPushButton *stop = nav()->NaStopPB;
        bool popupLeft = false;
        std::atomic<bool> blocking { false };
        ready = action == "stop_again" || action == "stop_under_help_menu";
        done = [&] { return clicks.made() == stops && stopsAnswered() >= stops && !(popupLeft = QApplication::activePopupWidget()); };
        if (action.endsWith("under_box")) {
            QTimer::singleShot(0, this, [&] { // under atOnce the GUI thread is busy as both presses come: read at once
                QTimer::singleShot(100, this, [&] { for (blocking = atOnce; atOnce && clicks.made() < 1 && stuck.isEmpty();)
                                                        QThread::msleep(5);
                                                    QThread::msleep(atOnce ? 150 : 0); });
                QMessageBox::warning(m_fix.window(), QStringLiteral("Warning"), QStringLiteral("Communication Error!"));
            });
        } else if (action == "stop_under_wizard_list") {
            QTimer::singleShot(0, m_fix.window(), [this] { m_fix.window()->actQuickSetup->trigger(); });
        } else if (ready && action != "stop_again") {
            m_fix.window()->menuBar()->setActiveAction(m_fix.window()->menuBar()->actions().value(3)); // "&Help"
            QTRY_VERIFY(QApplication::activePopupWidget());
        }
        clicks.then(0, stop, [&] { return atOnce ? bool(blocking) : bool(ready); }, atOnce ? 2 : 1);
        if (stops > 1)
            clicks.then(100, stop, [&] { return ready && stopsAnswered() >= 1; });
        clicks.start();
        QTRY_VERIFY_WITH_TIMEOUT(done(), 15000);
        QTest::qWait(300);
        QCOMPARE(commandsSent(protocol).count(sto), stops); // a try and a loaded machine's retry count once
        QVERIFY(stopsAnswered() == stops && !popupLeft && !QApplication::activeModalWidget());
        QVERIFY2(stuck.isEmpty(), qPrintable(stuck));
        return;
    }
    if (action == "stops_unanswered" || action == "batch_read_stop" || action == "delete_then_stop") {
        const bool unanswered = action == "stops_unanswered", removed = action == "delete_then_stop";
        m_fix.control(unanswered ? QStringLiteral("lose command STO") : QStringLiteral("clear"));
        if (removed)
            press(nav()->NaFWDPB);
        (unanswered ? clicks.then(0, nav()->NaStopPB, nullptr, 12)
                    : clicks.then(0, removed ? nav()->delete_atation : form->allReadPB).then(removed ? 300 : 1500, nav()->NaStopPB))
            .start();
        const auto now = [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); };
        QTRY_VERIFY_WITH_TIMEOUT(clicks.made() == 2 - unanswered && m_fix.received().last().at < now() - 1.0, 30000);
        const double late = (unanswered ? m_fix.received().last().at : stopAnsweredAt()) - clicks.lastAt();
        QVERIFY2(late > -5 && late < 2.0, qPrintable(QString::number(late))); // the (last) stop's, after the last click
        // Ten tries a stop, none more for the clicks made meanwhile: on today's main each of the twelve added ten.
        const QList<QByteArray> sent = sentSince();
        QVERIFY2(!unanswered || (sent.count(sto) == sent.size() && sent.size() % 10 == 0 && sent.size() < 60), qPrintable(QString::number(sent.size())));
        QVERIFY(!removed || sent == (QList<QByteArray> { fwd, sto }));
        QCOMPARE(nav()->modeState.stopOwed(1), unanswered);
        QVERIFY2(stuck.isEmpty(), qPrintable(stuck));
        return;
    }
    const bool eighth = action.startsWith("set_997") || action == "set_fwd_stop_fwd"; // SET answered on its eighth try
    m_fix.control(lineDown || errorBox ? QStringLiteral("fault link-lost") : QStringLiteral("fault silent-first %1").arg(eighth ? 7 : 10));
    QPushButton *set = nav()->NaSetPB, *stop = nav()->NaStopPB, *run = nav()->NaFWDPB;
    if (modeAsked)
        clicks.then(0, run).then(0, nav()->NaRevPB, tried).then(30, stop); // a FWD again would be a double click
    else if (errorBox)
        clicks.then(0, set).then(300, stop, [&] { return sentAtBox >= 0; });
    else
        clicks.then(0, set).then(0, action.startsWith("set_997") ? form->Pr997PB : eighth ? run : stop, tried, 1 + (action == "set_997_double"));
    if (action == "set_997_double") // a double click: one box
        done = [&] { return clicks.made() == 2 && std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count() > clicks.lastAt() + 0.3; };
    else if (eighth)
        action == "set_997_stop" ? clicks.then(200, stop) : clicks.then(30, stop).then(30, run);
    clicks.start();
    if (eighth) {
        // SET's request (under A and D the unit's read first), then the presses' in their order; no 997 after Cancel.
        const QList<QByteArray> tail = action == "set_997_stop" ? QList<QByteArray> { sto }
                                     : done ? QList<QByteArray>() : QList<QByteArray> { fwd, sto, fwd };
        QTRY_VERIFY_WITH_TIMEOUT(sentSince().size() >= 8 + tail.size() && sentSince().mid(sentSince().size() - tail.size()) == tail
                                 && (!done || (boxes.size() > 0 && !QApplication::activeModalWidget())), 20000);
        QTest::qWait(300);
        const QList<QByteArray> sent = sentSince();
        QVERIFY(sent.count(sent.first()) == 8 && sent.mid(sent.size() - tail.size()) == tail && sent.count(sto) == tail.count(sto)
                && sent.count(fwd) == tail.count(fwd) && !sent.contains(NavFixture::commandFrame(protocol, "997")));
        QVERIFY(boxes.size() == int(tail.size() <= 1) && (boxes.isEmpty() || boxes.first().startsWith("The operation will reset the INV.")));
        QVERIFY2(stuck.isEmpty(), qPrintable(stuck));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(sentAtBox >= 0 && (!errorBox || stopAnsweredAt() > 0), 30000);
    const QStringList told = { "Communication Error!", "Please execute connection test first!" }; // the failure first
    QTRY_COMPARE_WITH_TIMEOUT(boxes, modeAsked ? told : QStringList(told.mid(0, 1)), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(lineDown ? answered() : stopAnsweredAt() > 0, 5000);
    QTest::qWait(300);
    // Ten tries of the one request, then the stop's (answered: tried again where a loaded machine missed its answer).
    const QList<QByteArray> sent = sentSince();
    const int stops = sent.count(sto);
    QList<QByteArray> expected;
    for (int i = 0; i < 10 + (lineDown ? 10 : std::max(stops, 1)); ++i)
        expected << (i < 10 ? sent.value(0) : sto);
    QCOMPARE(sent, expected); // no FWD
    if (modeAsked)
        QCOMPARE(sent.first(), NavFixture::commandFrame(protocol, "MOD"));
    QTRY_COMPARE(clicks.made(), modeAsked ? 3 : 2);
    const bool clickedBefore = clicks.lastAt() < m_fix.received().value(before + 9).at; // else under the box
    const QString words = QStringLiteral("STOP not answered: the drive may still run");
    QVERIFY2(!(errorBox || clickedBefore) || (sentAtBox - before == 10 + (errorBox ? 0 : stops) && (wordsAtBox == words) == lineDown),
             qPrintable(QStringLiteral("%1 sent at the box, words: %2").arg(sentAtBox - before).arg(wordsAtBox)));
    QCOMPARE(nav()->modeState.stopOwed(1), lineDown);
    QCOMPARE(modeText->text() == words, lineDown);
    if (!lineDown)
        QVERIFY(!m_fix.frames().last().received); // the drive answered the stop
    QVERIFY2(stuck.isEmpty(), qPrintable(stuck));
}

QTEST_MAIN(tst_DriveCommands)
#include "tst_drivecommands.moc"

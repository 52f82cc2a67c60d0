#include "navfixture.h"

// The operation-mode poller and its display: what the simulated drive is asked and when, and how
// the lamps, the status bar and the connection button follow it.
class tst_ModePoller : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void modeTable_data();
    void modeTable();
    void pollerFollowsTheDrive();
    void jogReadsP79OncePerPoll();
    void lostLinkGoesOffLine();
    void connectionTestStopsThePoller();
    void topItemLeavesThePollerWatching();
    void restartWaitIsHonoured();
    void windowWaitsForARunningPoll();
    void busyDriveKeepsModeAndStatusApart_data();
    void busyDriveKeepsModeAndStatusApart();

private:
    // Station 1 of the character-protocol drive, tested and selected: the poller runs.
    void startPolling(const QString &extra = QString());
    QList<Frame> polls(const QByteArray &code) const;
    void press(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    NavFixture m_fix;
    std::atomic<double> m_pollerStarted { 0 };
    CNavigation *nav() { return m_fix.nav(); }
};

void tst_ModePoller::init()
{
    // The rows of the mode table share one window.
    if (QByteArray(QTest::currentTestFunction()) == "modeTable" && m_fix.window())
        return;
    m_fix.tearDown();
    QVERIFY(m_fix.setUp());
}

void tst_ModePoller::cleanup()
{
    if (QByteArray(QTest::currentTestFunction()) == "modeTable" && !QTest::currentTestFailed())
        return;
    if (QTest::currentTestFailed())
        qWarning().noquote() << "drive journal:\n" << m_fix.journal();
    m_fix.tearDown();
}

void tst_ModePoller::startPolling(const QString &extra)
{
    QVERIFY(m_fix.startLine(2, extra));
    m_fix.addTestedStation(2);
    // Its table is loaded already, as after the connection test: selecting the station again
    // starts the poller without reading the drive for a new table.
    g_currentStationIndex = m_fix.stationIndex(0);
    connect(nav()->modeThread, &QThread::started, this, [this] { m_pollerStarted = monotonicSeconds(); },
        Qt::DirectConnection);
    m_fix.selectStation(0);
    QVERIFY(nav()->modeThread->isRunning());
}

QList<Frame> tst_ModePoller::polls(const QByteArray &code) const
{
    QList<Frame> out;
    for (const Frame &f : m_fix.requests())
        if (NavFixture::isPoll(0, f.bytes, code))
            out << f;
    return out;
}

void tst_ModePoller::modeTable_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("modeH");  // the drive has the "readWrite_H" feature
    QTest::addColumn<bool>("p79is3"); // the last poll read 3 from P.79
    QTest::addColumn<QString>("lamps");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("cuResult");
    QTest::newRow("cu") << 0 << 0 << false << false << "10000" << "CU" << 0;
    QTest::newRow("ext") << 1 << 0 << false << false << "01000" << "EXT" << -1;
    QTest::newRow("jog_p79_3") << 2 << 0 << false << true << "00100" << "JOG" << 0;
    QTest::newRow("jog_p79_other") << 2 << 0 << false << false << "00100" << "JOG" << -1;
    QTest::newRow("h1") << 3 << 0 << false << false << "00000" << "H1" << -1;
    QTest::newRow("h2") << 4 << 0 << true << false << "00000" << "H2" << -1;
    QTest::newRow("h3") << 5 << 0 << false << false << "00000" << "H3" << -1;
    QTest::newRow("h4") << 6 << 0 << false << false << "00000" << "H4" << -1;
    QTest::newRow("h4_readwrite_h") << 6 << 0 << true << false << "00000" << "H4" << 0;
    QTest::newRow("h5") << 7 << 0 << true << false << "00000" << "H5" << -1;
    QTest::newRow("pu") << 8 << 0 << false << false << "00000" << "PU" << -1;
    QTest::newRow("h6_readwrite_h") << 8 << 0 << true << false << "00000" << "H6" << -1;
    QTest::newRow("no_valid_mode") << -1 << 0 << false << false << "00000" << "" << -1;
    QTest::newRow("forward") << 0 << 2 << false << false << "10001" << "CU" << 0;
    QTest::newRow("forward_tested_first") << 0 << 6 << false << false << "10001" << "CU" << 0;
    QTest::newRow("reverse") << 0 << 4 << false << false << "10010" << "CU" << 0;
    QTest::newRow("running_no_direction") << 0 << 9 << false << false << "10000" << "CU" << 0;
}

void tst_ModePoller::modeTable()
{
    QFETCH(int, mode);
    QFETCH(int, status);
    QFETCH(bool, modeH);
    QFETCH(bool, p79is3);
    QFETCH(QString, lamps);
    QFETCH(QString, label);
    QFETCH(int, cuResult);
    g_seriesLetter = 'D';
    g_firmwareVersion = QStringLiteral("1.02");
    // The first row of a key that covers the version decides.
    if (modeH)
        g_typeInfoTable.insert(1, { "readWrite_H", "0-0-99", "1-0-99", "0-0-99" });
    nav()->PotLabel->setText(QStringLiteral("Select station: NO.004 VM3-023-7.5K"));
    nav()->modeState.passedTest(4);
    QMetaObject::invokeMethod(nav(), "monitorModeState");
    g_cuModeResult = 5;
    for (QLabel *lamp : { nav()->CUstatusLabel, nav()->ExtStatusLabel, nav()->JogStatuslabel, nav()->RevStatusLabel,
                          nav()->FWDStatusLabel })
        lamp->setStyleSheet(QStringLiteral("background-color: rgb(190, 190, 190);"));
    nav()->stationTested[4] = 0;
    m_fix.window()->setConnectionState(false);

    // Nothing new from the poller: no paint.
    QMetaObject::invokeMethod(nav(), "monitorModeState");
    QCOMPARE(lampStates(nav()), QStringLiteral("00000"));
    QCOMPARE(g_cuModeResult.load(), 5);

    nav()->modeState.polled(nav()->modeState.pollBegun(), { mode, status, p79is3 });
    QMetaObject::invokeMethod(nav(), "monitorModeState");
    if (modeH)
        g_typeInfoTable.removeAt(1);
    QCOMPARE(lampStates(nav()), lamps);
    QCOMPARE(m_fix.window()->modeValueLabel->text(), label);
    QCOMPARE(g_cuModeResult.load(), cuResult);
    QCOMPARE(nav()->stationTested[4], 1);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"));
    QVERIFY(iconShows(m_fix.window()->connectButton->icon(), QStringLiteral(":/new prefix/images/connect.png")));
}

void tst_ModePoller::pollerFollowsTheDrive()
{
    QElapsedTimer clock;
    clock.start();
    startPolling(QStringLiteral("mode 1")); // the drive starts in EXT
    QTRY_COMPARE_WITH_TIMEOUT(polls("MOD").size(), 2, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(polls("STA").size(), 2, 500);

    // "MOD" then "STA", once a second, and nothing else.
    const QList<Frame> frames = m_fix.requests();
    QCOMPARE(frames.size(), 4);
    QVERIFY(NavFixture::isPoll(0, frames.at(0).bytes, "MOD"));
    QVERIFY(NavFixture::isPoll(0, frames.at(1).bytes, "STA"));
    const double first = frames.at(0).at - m_pollerStarted;
    const double period = frames.at(2).at - frames.at(0).at;
    QVERIFY2(first > 0.9 && first < 1.8, qPrintable(QString::number(first)));
    QVERIFY2(period > 0.95 && period < 1.25, qPrintable(QString::number(period)));
    QTRY_COMPARE(lampStates(nav()), QStringLiteral("01000"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QStringLiteral("EXT"));
    QCOMPARE(g_cuModeResult.load(), -1);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"));

    // The user takes the drive over and runs it: the lamps follow the next poll.
    m_fix.watch();
    press(nav()->CUPB);
    QCOMPARE(lampStates(nav()), QStringLiteral("10000"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"));
    press(nav()->NaFWDPB);
    QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()), QStringLiteral("10001"), 1500);
    press(nav()->NaStopPB);
    QCOMPARE(lampStates(nav()).right(2), QStringLiteral("00"));
    QCOMPARE(m_fix.boxes().size(), 0);
    QCOMPARE(g_cuModeResult.load(), 0);
    QVERIFY(m_fix.reportedErrors().isEmpty());
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void tst_ModePoller::jogReadsP79OncePerPoll()
{
    startPolling(QStringLiteral("mode 2\nset 79 3"));
    QTRY_COMPARE_WITH_TIMEOUT(polls("STA").size(), 1, 2000);
    QTest::qWait(300);
    QCOMPARE(lampStates(nav()), QStringLiteral("00100"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QStringLiteral("JOG"));
    QCOMPARE(g_cuModeResult.load(), 0);
    // Some thirty paints, one read of P.79, after the poll's "STA".
    const QByteArray p79 = drive::zrRequest("014F0");
    QByteArray sequence;
    for (const Frame &f : m_fix.requests())
        sequence += NavFixture::isPoll(0, f.bytes, "MOD") ? 'M' : NavFixture::isPoll(0, f.bytes, "STA") ? 'S'
                  : f.bytes == p79                      ? 'P'
                                                        : '-';
    sequence.replace("-", "");
    QCOMPARE(sequence, QByteArray("MSP"));

    // The drive stops taking run commands from the link: the next poll tells.
    m_fix.control(QStringLiteral("set 79 0"));
    QTRY_COMPARE_WITH_TIMEOUT(g_cuModeResult.load(), -1, 1500);
    QCOMPARE(polls("MOD").size(), 2);
    m_fix.watch();
    press(nav()->NaFWDPB);
    QCOMPARE(m_fix.boxTexts(), QStringList { "Please change INV operation mode to CU!" });
}

void tst_ModePoller::lostLinkGoesOffLine()
{
    startPolling();
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"), 2500);
    QCOMPARE(nav()->stationTested[1], 1);
    m_fix.control(QStringLiteral("fault link-lost"));

    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"), 4000);
    QTRY_VERIFY(nav()->modeThread->isFinished());
    // The button may go Off-Line from the link's report before the display's next tick.
    QTRY_COMPARE(lampStates(nav()), QStringLiteral("00000"));
    QCOMPARE(m_fix.window()->modeValueLabel->text(), QString());
    QCOMPARE(nav()->stationTested[1], 0);
    QCOMPARE(g_cuModeResult.load(), -1);
    QVERIFY(g_offLine);

    // Nothing more is asked, and commands wait for a new connection test. The last tries went
    // unanswered: the count waits until the journal holds them.
    QTRY_COMPARE(m_fix.receivedAfter(QStringLiteral("control: fault link-lost")).size(), 10);
    const int asked = m_fix.received().size();
    m_fix.watch();
    press(nav()->CUPB);
    QCOMPARE(m_fix.boxTexts(), QStringList { "Please execute connection test first!" });
    QTest::qWait(200);
    QCOMPARE(m_fix.received().size(), asked);
}

void tst_ModePoller::connectionTestStopsThePoller()
{
    startPolling();
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"), 2500);
    g_connectionTest = true;
    QTRY_VERIFY_WITH_TIMEOUT(nav()->modeThread->isFinished(), 2500);
    QTRY_COMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QCOMPARE(lampStates(nav()), QStringLiteral("00000"));
    QCOMPARE(nav()->stationTested[1], 0);
    QCOMPARE(g_cuModeResult.load(), -1);
    g_connectionTest = false;
}

// "System setting" is no station: clicking it changes nothing, and a link lost afterwards is shown.
void tst_ModePoller::topItemLeavesThePollerWatching()
{
    startPolling();
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->modeValueLabel->text(), QStringLiteral("CU"), 2500);
    m_fix.clickItem(nav()->treeRoot->index());
    QTest::qWait(450);
    QVERIFY(nav()->modeThread->isRunning());
    QVERIFY(!g_offLine);
    QCOMPARE(nav()->currentItem, nav()->treeRoot->child(0));

    m_fix.control(QStringLiteral("fault link-lost"));
    QTRY_COMPARE_WITH_TIMEOUT(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"), 4000);
    QVERIFY(g_offLine);
}

void tst_ModePoller::restartWaitIsHonoured()
{
    // A parameter command has made the drive restart (series D: two seconds from its answer) just
    // before the station is chosen: the first poll, a second later, waits only for the rest.
    g_modeRestartWait = true;
    const double answered = monotonicSeconds();
    g_restartQuiet.begin(2000);
    startPolling();
    QTRY_COMPARE_WITH_TIMEOUT(polls("MOD").size(), 1, 4000);
    const double first = polls("MOD").first().at - answered;
    QVERIFY2(first > 1.95 && first < std::max(2.6, m_pollerStarted + 1.3 - answered), qPrintable(QString::number(first)));
    QVERIFY(!g_modeRestartWait);
}

void tst_ModePoller::windowWaitsForARunningPoll()
{
    startPolling();
    QTRY_COMPARE_WITH_TIMEOUT(polls("STA").size(), 1, 2500);
    // The drive falls silent, so the next poll spends its ten tries on the line while the
    // window goes.
    m_fix.control(QStringLiteral("fault link-lost"));
    QElapsedTimer clock;
    clock.start();
    while (polls("MOD").size() < 2 && clock.elapsed() < 1500)
        QThread::msleep(5);
    clock.start();
    m_fix.destroyWindow();
    const double gone = monotonicSeconds();
    QVERIFY2(clock.elapsed() >= 50, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(300);
    QTRY_COMPARE(m_fix.received().size(), 2 + 10); // the tries are unanswered: nothing orders their lines
    const QList<Frame> frames = m_fix.received();
    QVERIFY(frames.last().at < gone);
}

void tst_ModePoller::busyDriveKeepsModeAndStatusApart_data()
{
    shippedLineRows();
}

// A drive busy now and then answers the polls late: running forward under EXT, the mode's reply read as
// a status would show no direction, the status's read as a mode another mode.
void tst_ModePoller::busyDriveKeepsModeAndStatusApart()
{
    QFETCH(int, line);
    QVERIFY(m_fix.startLine(line, QStringLiteral("mode 1\nstatus 0x03")));
    m_fix.addTestedStation(line);
    g_currentStationIndex = m_fix.stationIndex(0);
    m_fix.selectStation(0);
    QTRY_COMPARE_WITH_TIMEOUT(lampStates(nav()), QStringLiteral("01001"), 3000);
    m_fix.watch();
    m_fix.control(QStringLiteral("fault busy always 60 every 3")); // the mode's and the status's polls in turn
    QElapsedTimer clock;
    clock.start();
    qint64 secondStretch = 0; // then one poll more, to see what the late replies did
    while (clock.elapsed() < (secondStretch ? secondStretch + 1200 : 7000)) {
        QTest::qWait(30);
        if (!secondStretch && m_fix.journal().count(QStringLiteral("busy for")) >= 2)
            secondStretch = clock.elapsed();
        QCOMPARE(lampStates(nav()) + m_fix.window()->modeValueLabel->text(), QStringLiteral("01001EXT"));
    }
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    QVERIFY(secondStretch && log.open(QIODevice::ReadOnly) && !log.readAll().contains("failure"));
    QVERIFY(m_fix.boxes().isEmpty() && m_fix.reportedErrors().isEmpty());
}

QTEST_MAIN(tst_ModePoller)
#include "tst_modepoller.moc"

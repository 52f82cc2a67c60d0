// The alarm page against the simulated drive: the live alarm's lamp, history line and detail
// block, the requests each refresh makes, and the history file.
#include "alarmfixture.h"
#include "monitor/alarmcode.h"
#include "monitor/hideparameter.h"
#include "useranswers.h"

#include <QTextEdit>

class tst_AlarmPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void liveAlarm_data();
    void liveAlarm();
    void extModeAsksOnlyTheAlarmWord();
    void refusedDetailSelectionsCountAsDone();
    void missingDetailTableOneBoxWhileRefreshesGoOn();
    void unknownCodeLightsNoLamp();
    void reusedPageShowsTheNewSeriesSlots();
    void detailBySeries_data();
    void detailBySeries();
    void historyFile();
    void resetWhileMonitoring_data();
    void resetWhileMonitoring();
    void lostLinkEndsEveryAsking();
    void screenshots();

private:
    // The alarm state panel refreshing as while the monitor runs, with the drive's status word;
    // it goes on refreshing after.
    void refreshWhile(int statusWord, int ms);
    QString lamps() const;
    AlarmCode *page() const { return m_a.window->alarmPage; }
    AlarmFixture m_a;
};

void tst_AlarmPage::initTestCase()
{
    ensureMonitorThread();
}

void tst_AlarmPage::init()
{
    QVERIFY(m_a.fix.setUp());
}

void tst_AlarmPage::cleanup()
{
    if (QTest::currentTestFailed()) {
        qWarning().noquote() << m_a.traffic().join(QLatin1Char(' '));
        // The lines before the failure, to tell a retry from a request of another sender.
        const QStringList journal = m_a.fix.journal().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        qWarning().noquote() << journal.mid(qMax(0, journal.size() - 80)).join(QLatin1Char('\n'));
    }
    g_monitorThread->stopAndWait();
    m_a.fix.tearDown();
    m_a.window = nullptr;
}

void tst_AlarmPage::refreshWhile(int statusWord, int ms)
{
    m_a.window->inverterState->setStatus(statusWord);
    m_a.window->inverterState->startMonitor();
    QTest::qWait(ms);
}

// One character per shown lamp: 1 on, 0 off, R red.
QString tst_AlarmPage::lamps() const
{
    QString out;
    for (QLabel *led : page()->leds) {
        if (!led->isVisibleTo(page()))
            continue;
        out += labelShows(led, QStringLiteral(":/new prefix/images/on_red.png")) ? QLatin1Char('R')
            : labelShows(led, QStringLiteral(":/new prefix/images/on.png"))      ? QLatin1Char('1')
            : labelShows(led, QStringLiteral(":/new prefix/images/off.png"))     ? QLatin1Char('0')
                                                                                  : QLatin1Char('?');
    }
    return out;
}

void tst_AlarmPage::liveAlarm_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QStringList>("requests");
    const QString a = "         Frequency: 1.01Hz\n         Current: 2.01A\n         Output Voltage: 3.01V\n"
                      "         The accumulation rate of temperature: 4.01\n         P-N Voltage: 501V\n"
                      "         Continuing Operation Time: 601min\n         Status Word: 701\n";
    QStringList pairs;
    for (int item = 1; item <= 7; ++item)
        pairs << QStringLiteral("W290=%1").arg(item) << (item == 1 ? "R187 R291" : "R291");
    QTest::newRow("modbus_rtu") << 0 << a
                                << ("R1003h R288 " + pairs.join(' ')).split(' ');
    pairs.clear();
    for (int item = 1; item <= 7; ++item)
        pairs << QStringLiteral("W290=%1").arg(item) << "R291";
    QTest::newRow("modbus_ascii") << 1 << a << ("R1003h R288 " + pairs.join(' ')).split(' ');
    pairs.clear();
    for (int item = 1; item <= 7; ++item)
        pairs << "W290" << (item == 1 ? "R991 R291" : "R291");
    // The character protocol's reply carries the drive's own decimals, those of the item's kind:
    // the same texts as under Modbus.
    QTest::newRow("taviron") << 2 << a << ("cmd R288 " + pairs.join(' ')).split(' ');
}

void tst_AlarmPage::liveAlarm()
{
    QFETCH(int, line);
    QFETCH(QString, detail);
    QFETCH(QStringList, requests);
    QVERIFY(m_a.prepare(line, QStringLiteral("alarm-live 18")));
    QCOMPARE(lamps().left(1), QStringLiteral("0"));
    refreshWhile(0x80, 300);
    QCOMPARE(lampText(m_a.window->inverterState->lampLabels), QStringLiteral("00000001"));
    // Slot of "CPU" red, lamp 0 off.
    const int cpu = page()->ledNames.indexOf(QStringLiteral("CPU")) / 2;
    QVERIFY(cpu > 0);
    QString expected = lamps();
    QCOMPARE(expected.at(0), QLatin1Char('0'));
    QCOMPARE(expected.at(cpu), QLatin1Char('R'));
    QCOMPARE(expected.count(QLatin1Char('R')), 1);

    const QStringList history = page()->historyEdit->toPlainText().split(QLatin1Char('\n'));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d > CPU$")).match(history.value(0)).hasMatch(),
             qPrintable(history.value(0)));
    QCOMPARE(history.mid(1).join(QLatin1Char('\n')), detail);
    // The first refresh reads the detail; the later ones ask only the alarm word and P.288.
    QTRY_VERIFY_WITH_TIMEOUT(m_a.traffic().size() >= requests.size() + 4, 5000);
    const QStringList traffic = m_a.traffic();
    QCOMPARE(traffic.mid(0, requests.size()), requests);
    const QStringList later = traffic.mid(requests.size());
    for (int i = 0; i < later.size(); ++i)
        QCOMPARE(later.at(i), requests.at(i % 2));
    QVERIFY(!g_acceptAlarmWriteRefusal);

    // The alarm gone: the lamps go back, and a new alarm gives a new line.
    m_a.fix.control(QStringLiteral("alarm-live 0"));
    refreshWhile(0x00, 100);
    QCOMPARE(lamps(), QStringLiteral("1") + QString(lamps().size() - 1, QLatin1Char('0')));
    QCOMPARE(page()->lastAlarmCode, 0);
    QCOMPARE(page()->historyEdit->toPlainText().count(QStringLiteral(" > ")), 1);
}

void tst_AlarmPage::extModeAsksOnlyTheAlarmWord()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18")));
    setDockMode(m_a.fix.nav(), 1);
    refreshWhile(0x80, 200);
    const QStringList traffic = m_a.traffic();
    QVERIFY(!traffic.isEmpty());
    QCOMPARE(traffic, repeated(traffic.size(), QStringLiteral("R1003h")));
    QCOMPARE(page()->historyEdit->toPlainText(), QString());
}

void tst_AlarmPage::refusedDetailSelectionsCountAsDone()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18\nrefuse param 290 write")));
    refreshWhile(0x80, 300);
    const QStringList lines = page()->historyEdit->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(m_a.fix.boxes().size(), 0);
    QCOMPARE(m_a.traffic().count(QStringLiteral("refused")), 7);
    QVERIFY(!g_acceptAlarmWriteRefusal);
}

void tst_AlarmPage::missingDetailTableOneBoxWhileRefreshesGoOn()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18"), false));
    QFile::remove(g_appDir + QStringLiteral("ParameterInforamtion/InvType/errorInfo.txt"));
    int duringBox = -1;
    int boxes = 0;
    bool flagInBox = false;
    // The box stays open a while: the 30 ms timer fires inside it and must not refresh again.
    ModalWatcher holdBox([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        ++boxes;
        const int before = m_a.traffic().size();
        QTest::qWait(300);
        duringBox = m_a.traffic().size() - before;
        flagInBox = g_acceptAlarmWriteRefusal;
        box->button(QMessageBox::Ok)->click();
    });
    refreshWhile(0x80, 600);
    QCOMPARE(boxes, 1);
    QCOMPARE(duringBox, 0);
    QVERIFY(flagInBox);
    QVERIFY(!g_acceptAlarmWriteRefusal);
    QVERIFY(page()->historyEdit->toPlainText().endsWith(QLatin1String(" > CPU")));
    // After the box, refreshes went on with the alarm word and P.288 only.
    const QStringList traffic = m_a.traffic();
    QCOMPARE(traffic.mid(0, 2), QStringList({ "R1003h", "R288" }));
    QVERIFY(traffic.size() >= 6);
    QVERIFY(!traffic.contains(QStringLiteral("R291")));
}

void tst_AlarmPage::unknownCodeLightsNoLamp()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 77")));
    refreshWhile(0x80, 150);
    const QString shown = lamps();
    QCOMPARE(shown, QString(shown.size(), QLatin1Char('0')));
    for (QLabel *led : page()->leds)
        QVERIFY(!labelShows(led, QStringLiteral(":/new prefix/images/on_red.png")));
    QVERIFY(page()->historyEdit->toPlainText().split(QLatin1Char('\n')).first().endsWith(QLatin1String(" > ")));
}

void tst_AlarmPage::reusedPageShowsTheNewSeriesSlots()
{
    QVERIFY(m_a.fix.window());
    g_firmwareVersion = QStringLiteral("1.00");
    g_seriesLetter = 'S';
    AlarmCode alarm;
    alarm.initLeds();
    const int sSlots = alarm.ledNames.size() / 2;
    g_seriesLetter = 'A';
    alarm.initLeds();
    const int aSlots = alarm.ledNames.size() / 2;
    QVERIFY(aSlots > sSlots);
    for (int i = 0; i < AlarmCode::Slots; ++i) {
        QCOMPARE(alarm.leds.at(i)->isVisibleTo(&alarm), i < aSlots);
        QCOMPARE(alarm.nameLabels.at(i)->isVisibleTo(&alarm), i < aSlots);
    }
    QCOMPARE(alarm.nameLabels.at(aSlots - 1)->text(), alarm.ledNames.at(2 * aSlots - 1) + QStringLiteral("    "));
    g_seriesLetter = 'Q';
    alarm.initLeds();
    for (int i = 0; i < AlarmCode::Slots; ++i)
        QVERIFY(!alarm.leds.at(i)->isVisibleTo(&alarm));
}

void tst_AlarmPage::detailBySeries_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("detail");
    // Series A reads P.187, series D P.991 for the frequency's decimals; a capacity above 160
    // reads the current in 0.1 A.
    QTest::newRow("A_p187_1") << 0 << "set 187 1" << "" << "1-2"
                              << "         Frequency: 10.1Hz\n         Current: 2.01A\n";
    QTest::newRow("A_above_160") << 0 << "" << "VR3-043-185K" << "1-2"
                                 << "         Frequency: 1.01Hz\n         Current: 20.1A\n";
    QTest::newRow("A_at_160") << 0 << "" << "VR3-043-160K" << "2-2" << "         Current: 2.01A\n";
    QTest::newRow("D_p991_1") << 2 << "set 991 1" << "" << "1-1" << "         Frequency: 10.1Hz\n";
    QTest::newRow("8-14") << 0 << "" << "" << "8-14"
                          << "         Frequency: 8.01Hz\n         Current: 9.01A\n         Output Voltage: 10.01V\n"
                             "         The accumulation rate of temperature: 11.01\n         P-N Voltage: 1201V\n"
                             "         Continuing Operation Time: 1301min\n         Status Word: 1401\n";
    QTest::newRow("5-9") << 0 << "" << "" << "5-9"
                         << "         Frequency: 6.01Hz\n         Current: 7.01A\n         Output Voltage: 8.01V\n"
                            "         The accumulation rate of temperature: 9.01\n";
    QTest::newRow("0-7") << 0 << "" << "" << "0-7" << "";
    QTest::newRow("empty") << 0 << "" << "" << "" << "";
    QTest::newRow("item_refused_ends_the_text") << 0 << "refuse param 290 write" << "" << "1-3" << "";
    // The shipped drives (440 V 5.5 and 0.75 kW, 220 V 7.5 kW) tripped at 50 Hz over their rating, bus near 1.41×V.
    const QString d = QStringLiteral("         Frequency: 50Hz\n         Current: %1A\n         Output Voltage: %2V\n"
                                     "         The accumulation rate of temperature: %3\n         P-N Voltage: %4V\n");
    QTest::newRow("A_shipped") << 0 << "shipped" << "" << "1-5" << d.arg(13.2).arg(380).arg(45).arg(565);
    QTest::newRow("S_shipped") << 1 << "shipped" << "" << "1-5" << d.arg(7.5).arg(380).arg(39).arg(560);
    QTest::newRow("D_shipped") << 2 << "shipped" << "" << "1-5" << d.arg(49.5).arg(220).arg(52).arg(311);
    QTest::newRow("item_beyond_the_drive_ends_the_text") << 0 << "P 290 1 1..2 0" << "" << "1-4"
                                               << "         Frequency: 1.01Hz\n         Current: 2.01A\n";
}

void tst_AlarmPage::detailBySeries()
{
    QFETCH(int, line);
    QFETCH(QString, extra);
    QFETCH(QString, type);
    QFETCH(QString, range);
    QFETCH(QString, detail);
    QVERIFY(m_a.prepare(line, extra));
    if (!type.isEmpty())
        g_invType = type;
    QCOMPARE(page()->formatAlarmDetail(range), detail);
}

void tst_AlarmPage::historyFile()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18"), false));
    refreshWhile(0x80, 200);
    const QString text = page()->historyEdit->toPlainText();
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QByteArray expected = text.toLatin1();
    expected.replace("\n", "\r\n");
    {
        UserAnswers user;
        user.fileNames << QStringLiteral("history");
        page()->SaveMessage();
        QCOMPARE(user.dialogs, QStringList({ "Save Message | *.txt" }));
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("history.txt"))), expected);
        QVERIFY(expected.startsWith(text.left(8).toLatin1() + " > CPU\r\n         Frequency: 1.01Hz\r\n"));
        QVERIFY(expected.endsWith("Status Word: 701\r\n"));
    }
    {
        UserAnswers user; // cancelled: nothing written
        page()->SaveMessage();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "history.txt" }));
    }
    {
        // A target that cannot be replaced keeps its old content and the user is told.
        QVERIFY(writeFile(dir.filePath(QStringLiteral("locked/old.txt")), "old"));
        UserAnswers user;
        user.fileNames << dir.filePath(QStringLiteral("locked/old.txt"));
        {
            FileSizeLimit full(16);
            page()->SaveMessage();
        }
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("locked/old.txt"))), QByteArray("old"));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("locked"))).entryList(QDir::Files), QStringList({ "old.txt" }));
        // The dialog's question whether to replace the file, then the warning.
        QCOMPARE(user.boxes.size(), 2);
        QVERIFY2(user.boxes.first().contains(QStringLiteral("already exists")), qPrintable(user.boxes.first()));
        QVERIFY2(user.boxes.last().startsWith(QStringLiteral("Warning | Cannot write file ")
                                               + dir.filePath(QStringLiteral("locked/old.txt")) + QStringLiteral(":\n")),
                 qPrintable(user.boxes.last()));
    }
    QDir::setCurrent(QDir::tempPath());
}

// Pictures of the alarm page with a live alarm and of the service page after a history read, on
// request: TAVIRON_SCREENSHOT names the stem of the two files.
void tst_AlarmPage::resetWhileMonitoring_data()
{
    QTest::addColumn<int>("line");
    for (int line : { 0, 1, 2 })
        QTest::newRow(NavFixture::line(line).type) << line;
}

// P.997 confirmed while the monitor polls a drive in alarm: the drive hears nothing while it
// restarts, the link stays up, and the cleared alarm adds nothing to the history.
void tst_AlarmPage::resetWhileMonitoring()
{
    QFETCH(int, line);
    QVERIFY(m_a.prepare(line, QStringLiteral("alarm-live 18")));
    QTest::mouseClick(m_a.window->runButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page()->historyEdit->toPlainText().contains(QLatin1String(" > CPU")), 5000);
    const QString history = page()->historyEdit->toPlainText();
    QTest::mouseClick(m_a.fix.window()->parameterForm->Pr997PB, Qt::LeftButton);
    // Polling goes on after the restart and finds the alarm gone: lamp 0 on again.
    QTRY_VERIFY_WITH_TIMEOUT(lamps().startsWith(QLatin1Char('1')), 15000);
    const QString journal = m_a.fix.journal();
    const QRegularExpressionMatch restart = QRegularExpression(QStringLiteral("^(\\S+) -- .*restarting for (\\d+) ms$"),
        QRegularExpression::MultilineOption).match(journal);
    QVERIFY(restart.hasMatch());
    const double from = restart.captured(1).toDouble();
    for (const QString &l : journal.split(QLatin1Char('\n'))) {
        const double at = l.section(QLatin1Char(' '), 0, 0).toDouble();
        QVERIFY2(!l.contains(QLatin1String(" RX ")) || at < from || at > from + restart.captured(2).toDouble() / 1000, qPrintable(l));
    }
    QCOMPARE(m_a.fix.reportedErrors(), QList<int>());
    QCOMPARE(m_a.fix.window()->connectButton->text(), QStringLiteral("On-Line"));
    QCOMPARE(page()->historyEdit->toPlainText(), history);
}

void tst_AlarmPage::lostLinkEndsEveryAsking()
{
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18")));
    QTest::mouseClick(m_a.window->runButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page()->historyEdit->toPlainText().contains(QLatin1String(" > CPU")), 5000);
    m_a.fix.control(QStringLiteral("fault link-lost"));
    QTest::qWait(2500);
    QCOMPARE(m_a.fix.journal().count(QStringLiteral("silent: link lost")), 10); // one exchange's tries, then nothing
    QCOMPARE(lamps(), QString(lamps().size(), QLatin1Char('0')));
}

void tst_AlarmPage::screenshots()
{
    const QString stem = qEnvironmentVariable("TAVIRON_SCREENSHOT");
    if (stem.isEmpty())
        QSKIP("set TAVIRON_SCREENSHOT to the stem of the pictures to write");
    QVERIFY(m_a.prepare(0, QStringLiteral("alarm-live 18")));
    refreshWhile(0x80, 400);
    m_a.window->tabWidget->setCurrentWidget(page());
    QTest::qWait(200);
    QVERIFY(m_a.window->grab().save(stem + QStringLiteral("-alarm.png")));
    auto *service = m_a.window->servicePage;
    m_a.window->tabWidget->setCurrentWidget(service);
    QMetaObject::invokeMethod(service, "historyAlarm");
    QMetaObject::invokeMethod(service, "runTime");
    QTest::qWait(200);
    QVERIFY(m_a.window->grab().save(stem + QStringLiteral("-service.png")));
}

QTEST_MAIN(tst_AlarmPage)
#include "tst_alarmpage.moc"

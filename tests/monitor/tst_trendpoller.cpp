// The trend window end to end: Run and Stop against the simulated drive, what each pass asks on
// the wire, the recorded values beside the drive's replies, the exports of a live recording, a
// lost link, both windows polling at once, and rounds of closing and reopening either window
// while the other records.
#include "monitorfixture.h"

#include "monitor/advanceplot.h"
#include "monitor/mainadvplot.h"
#include "parameter/parameter.h"
#include "seriesfixture.h"
#include "testfiles.h"
#include "useranswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <atomic>

namespace {

// The code of a monitor request ("M0R"), or empty for any other frame.
QString monitorCode(int protocol, const QByteArray &f)
{
    static const QMap<QString, QString> zr = {
        { "64", "M0R" }, { "65", "M3R" }, { "66", "M2R" }, { "67", "MER" }, { "68", "MFR" }, { "69", "MaR" },
        { "6B", "MbR" }, { "6C", "MAR" }, { "6D", "MBR" }, { "6E", "MKR" }, { "6F", "M7R" }, { "7A", "MCR" },
        { "F3", "MAW" }, { "F4", "MBW" },
    };
    static const QMap<int, QString> reads = {
        { 0x1100, "M0R" }, { 0x1002, "M3R" }, { 0x1102, "M2R" }, { 0x1103, "MER" }, { 0x1104, "MFR" },
        { 0x1105, "MaR" }, { 0x1106, "MbR" }, { 0x1107, "MAR" }, { 0x1108, "MBR" }, { 0x110A, "MKR" },
        { 0x110B, "M7R" }, { 0x1001, "MCR" },
    };
    if (protocol == 0)
        return zr.value(QString::fromLatin1(f.mid(3, 2)));
    const QByteArray bytes = protocol == 1 ? f : QByteArray::fromHex(f.mid(1, f.size() - 3));
    if (bytes.size() < 6)
        return QString();
    const int fn = quint8(bytes.at(1));
    const int reg = quint8(bytes.at(2)) << 8 | quint8(bytes.at(3));
    if (fn == 3)
        return reads.value(reg);
    if (fn == 6 && reg == 0x1110)
        return QStringLiteral("MAW");
    if (fn == 6 && reg == 0x1111)
        return QStringLiteral("MBW");
    return QString();
}

// Sample times step 100 ms a pass from 0.5 s on; stamps from 09:05:01.020 on, alike.
class SteppingClock : public TrendClock
{
public:
    void restart() override { m_passes = 0; }
    double elapsedMs() const override { return 1000.0 + 100.0 * m_passes++; }
    QTime now() const override { return QTime(9, 5, 1, 20).addMSecs(100 * (m_passes - 1)); }

private:
    mutable std::atomic<int> m_passes { 0 };
};

QByteArray python(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return QByteArray();
    }
    return process.readAllStandardOutput();
}

// As the text export writes them.
QStringList yValues(const QVector<QPointF> &points)
{
    QStringList out;
    for (const QPointF &p : points)
        out << QString::number(p.y());
    return out;
}

QSet<QString> valueSet(const QVector<QPointF> &points)
{
    QSet<QString> out;
    for (const QPointF &p : points)
        out.insert(QString::number(p.y()));
    return out;
}

} // namespace

class tst_TrendPoller : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void runFlagsTheCheckedChannels_data();
    void runFlagsTheCheckedChannels();
    void recordedValuesAreTheDriveReplies();
    void exportsOfALiveRecording();
    void recordingFollowsTheListAndKeepsItsNames();
    void lostLinkEndsTheTrend();
    void bothWindowsShareThePass();
    void closeAndReopenWhileTheOtherRecords();
    void screenshotOfARecording();

private:
    // The drive of the line, its station selected and tested; no window open yet.
    void prepare(int line, const QString &extra = QString());
    MainAdvPlot *openTrend()
    {
        QMetaObject::invokeMethod(m_fix.window(), "trendShow");
        return m_fix.window()->trendWindow;
    }
    static void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
    // Monitor codes the drive took since prepare, retries folded.
    QStringList monitorCodes() const;
    // Complete passes, each starting at `first`; the last (perhaps cut short) left off.
    QList<QStringList> passes(const QString &first) const;
    bool pollerIdle() const { return !g_monitorThread->isRunning(); }

    NavFixture m_fix;
    QTemporaryDir m_home;
    QByteArray m_oldHome;
    int m_protocol = 0;
    double m_preparedAt = 0;
};

void tst_TrendPoller::initTestCase()
{
    ensureMonitorThread();
    m_oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QVERIFY(QDir().mkpath(m_home.path() + QStringLiteral("/Desktop")));
}

void tst_TrendPoller::cleanupTestCase()
{
    qputenv("HOME", m_oldHome);
}

void tst_TrendPoller::init()
{
    QVERIFY(m_fix.setUp());
}

void tst_TrendPoller::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << "codes:" << monitorCodes().mid(0, 200).join(QLatin1Char(' '));
    g_monitorThread->stopAndWait();
    m_fix.tearDown();
}

void tst_TrendPoller::prepare(int line, const QString &extra)
{
    static const char series[] = { 'A', 'S', 'D' };
    static const char *firmware[] = { "1.10", "0.25", "1.02" };
    QVERIFY(m_fix.startLine(line, extra));
    m_protocol = NavFixture::line(line).protocol;
    const SeriesSetup s = seriesSetup(series[line]);
    setStation(1);
    g_seriesLetter = s.letter;
    g_modelName = s.model;
    g_parameterCount = s.count;
    g_groupMode = s.groupMode;
    g_modelCode = QStringLiteral("0");
    g_language = 0;
    g_invType = QStringLiteral("%1-%2").arg(QLatin1String(NavFixture::line(line).type),
                                            QLatin1String(NavFixture::line(line).power));
    m_fix.nav()->PotLabel->setText(QStringLiteral("Select station: NO.001 ") + g_invType);
    m_fix.nav()->stationTested[1] = 1;
    m_fix.window()->parameterForm->loadParameterTable();
    g_firmwareVersion = QLatin1String(firmware[line]);
    g_firmwareVersionText = g_firmwareVersion;
    g_versionRead = true;
    g_p186Value = QStringLiteral("1");
    m_fix.window()->setConnectionState(true);
    m_preparedAt = monotonicSeconds();
}

QStringList tst_TrendPoller::monitorCodes() const
{
    QStringList out;
    for (const Frame &f : m_fix.requests()) {
        const QString code = f.at > m_preparedAt ? monitorCode(m_protocol, f.bytes) : QString();
        if (!code.isEmpty())
            out << code;
    }
    return out;
}

QList<QStringList> tst_TrendPoller::passes(const QString &first) const
{
    return splitPasses(monitorCodes(), first);
}

void tst_TrendPoller::runFlagsTheCheckedChannels_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("checked"); // channels, 1 to 8
    QTest::addColumn<QString>("flags");   // the item list's flags, "MCR" last
    QTest::addColumn<QStringList>("pass");
    QTest::newRow("modbus_rtu_default") << 0 << "123" << "11100000000" << QStringList { "M0R", "M3R", "M2R" };
    QTest::newRow("modbus_rtu_1_4_8") << 0 << "148" << "10010000100"
                                      << QStringList { "M0R", "MER", "MAW", "MAR" };
    QTest::newRow("modbus_ascii_default") << 1 << "123" << "1110000" << QStringList { "M0R", "M2R", "MER" };
    QTest::newRow("taviron_2_5") << 2 << "25" << "01001000" << QStringList { "M3R", "MFR" };
}

void tst_TrendPoller::runFlagsTheCheckedChannels()
{
    QFETCH(int, line);
    QFETCH(QString, checked);
    QFETCH(QString, flags);
    QFETCH(QStringList, pass);
    prepare(line, QStringLiteral("monitor 0 1234\nmonitor 3 2500\nmonitor 2 880\nmonitor E 3800"));
    MainAdvPlot *w = openTrend();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    for (int c = 0; c < MainAdvPlot::Channels; ++c)
        w->channelChecks.at(c)->setChecked(checked.contains(QString::number(c + 1)));
    // Checking before Run flags nothing yet beyond what the slots set; Run flags exactly these.
    click(w->runButton);
    QString seen;
    for (bool f : g_advPollFlags)
        seen += f ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(seen, flags);
    QCOMPARE(g_dialPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    for (QWidget *off : std::initializer_list<QWidget *> { w->runButton, w->optionButton, w->saveDataButton,
                                                            w->saveChartButton, w->itemBoxes.at(0),
                                                            w->yRangeSpins.at(0) })
        QVERIFY(!off->isEnabled());
    QVERIFY(w->stopButton->isEnabled() && w->channelChecks.at(0)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(passes(pass.first()).size() >= 4, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(w->plot->rawPoints(checked.at(0).digitValue() - 1).size() >= 2, 5000);

    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    // Stop ends the frames.
    const int after = m_fix.received().size();
    QTest::qWait(300);
    QCOMPARE(m_fix.received().size(), after);
    QCOMPARE(g_advPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    for (QWidget *on : std::initializer_list<QWidget *> { w->runButton, w->optionButton, w->saveDataButton,
                                                           w->saveChartButton, w->itemBoxes.at(0),
                                                           w->yRangeSpins.at(0) })
        QVERIFY(on->isEnabled());
    QVERIFY(!w->plot->isRecording());
    // A request tried again after a missed reply window (a loaded machine) counts once. The
    // poller starts before Run flags the items: its first pass may ask only those checked earlier,
    // so the passes are compared from the first whole one.
    QStringList folded;
    for (const QString &c : monitorCodes())
        if (folded.isEmpty() || folded.last() != c)
            folded << c;
    int whole = 0;
    while (whole < folded.size() && folded.mid(whole, pass.size()) != pass)
        ++whole;
    QVERIFY(whole < folded.size());
    folded = folded.mid(whole);
    QStringList expected;
    while (expected.size() < folded.size())
        expected << pass;
    QCOMPARE(folded.mid(0, folded.size() - pass.size()), expected.mid(0, folded.size() - pass.size()));
    QVERIFY(m_fix.reportedErrors().isEmpty());
}

// Channel 1's recorded values, pass by pass, are the drive's replies to M0R in the journal, while
// the drive's value changes under the recording; channel 4, checked midway, records the reply, not its slot's 777.
void tst_TrendPoller::recordedValuesAreTheDriveReplies()
{
    prepare(0, QStringLiteral("monitor 0 1000\nmonitor 3 2500\nmonitor 2 880\nmonitor E 3800"));
    MainAdvPlot *w = openTrend();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    { std::lock_guard<FairMutex> lock(g_monitorListsMutex); g_monitorValues[3] = 777; }
    click(w->runButton);
    const auto lastRecorded = [w] {
        const QStringList y = yValues(w->plot->rawPoints(0));
        return y.isEmpty() ? QString() : y.last();
    };
    for (int step = 1; step <= 12; ++step) {
        // Each value is recorded before the next is given, however slow the machine.
        QTRY_COMPARE_WITH_TIMEOUT(lastRecorded(), QString::number((1000 + 7 * (step - 1)) / 100.0), 5000);
        w->channelChecks.at(3)->setChecked(step > 4);
        m_fix.control(QStringLiteral("monitor 0 %1").arg(1000 + 7 * step));
    }
    QTRY_VERIFY_WITH_TIMEOUT(w->plot->rawPoints(0).size() >= 10
                                 && yValues(w->plot->rawPoints(0)).last() == QLatin1String("10.84"), 10000);
    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);

    // The last reply to each pass's M0R request (a retry's reply replaces the first). The drive
    // journals a reply in the pieces it sends.
    QStringList replies;
    QString request, lastMonitor;
    QByteArray reply;
    auto endOfExchange = [&] {
        // 01 03 02 HH LL and the check: the frequency in 0.01 Hz.
        if (request == QLatin1String("M0R") && reply.size() == 7 && reply.at(1) == 3 && reply.at(2) == 2)
            replies.last() = QString::number((quint8(reply.at(3)) << 8 | quint8(reply.at(4))) / 100.0);
        reply.clear();
    };
    for (const Frame &f : m_fix.frames()) {
        if (f.at <= m_preparedAt)
            continue;
        if (!f.received) {
            reply += f.bytes;
            continue;
        }
        endOfExchange();
        request = monitorCode(m_protocol, f.bytes);
        if (request == QLatin1String("M0R") && lastMonitor != request)
            replies << QString();
        if (!request.isEmpty())
            lastMonitor = request;
    }
    endOfExchange();
    const QStringList recorded = yValues(w->plot->rawPoints(0));
    // The chart starts after the poller and stops after it: a run of passes within the journal's.
    int at = -1;
    for (int i = 0; at < 0 && i + recorded.size() <= replies.size(); ++i)
        if (replies.mid(i, recorded.size()) == recorded)
            at = i;
    if (at < 0)
        qWarning() << "recorded" << recorded << "replies" << replies;
    QVERIFY2(at >= 0, qPrintable(QStringLiteral("recorded %1 of %2 replies").arg(recorded.size()).arg(replies.size())));
    QVERIFY2(replies.size() - recorded.size() <= 3, qPrintable(QString::number(replies.size() - recorded.size())));
    // Every value the drive was given, in order, and nothing else.
    QStringList distinct;
    for (const QString &v : recorded)
        if (distinct.isEmpty() || distinct.last() != v)
            distinct << v;
    const QStringList given { "10", "10.07", "10.14", "10.21", "10.28", "10.35", "10.42", "10.49", "10.56", "10.63",
                              "10.7", "10.77", "10.84" };
    QCOMPARE(distinct, given.mid(given.size() - distinct.size()));
    QVERIFY(distinct.size() >= 10);
    QCOMPARE(valueSet(w->plot->rawPoints(1)), QSet<QString> { "25" });
    QCOMPARE(valueSet(w->plot->rawPoints(2)), QSet<QString> { "8.8" });
    QCOMPARE(w->plot->rawPoints(1).size(), recorded.size());
    QCOMPARE(w->plot->rawPoints(8).size(), recorded.size());
    QCOMPARE(valueSet(w->plot->rawPoints(3)), QSet<QString> { "380" });
    UserAnswers user;
    user.fileNames << m_home.path() + QStringLiteral("/Desktop/late.txt");
    click(w->saveDataButton);
    QString fourth; // channel 4's column, empty in the rows before it was checked
    for (const QByteArray &line : fileBytes(m_home.path() + QStringLiteral("/Desktop/late.txt")).split('\n').mid(2))
        fourth += QString::fromLatin1(line.split('\t').value(4)) + ' ';
    QCOMPARE(fourth.simplified(), yValues(w->plot->rawPoints(3)).join(' '));
}

// Save Data of a recording from the drive: the text file byte for byte and the workbook as
// openpyxl reads it. The chart's clock steps 100 ms a pass, so the stamps are known.
void tst_TrendPoller::exportsOfALiveRecording()
{
    prepare(0, QStringLiteral("monitor 0 1234\nmonitor 3 2500\nmonitor 2 880\nmonitor E 3800"));
    MainAdvPlot *w = openTrend();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->channelChecks.at(3)->setChecked(true);
    w->plot->setClock(new SteppingClock());
    click(w->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(w->plot->rawPoints(0).size() >= 4, 10000);
    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    const int rows = w->plot->rawPoints(8).size();

    const QString desktop = m_home.path() + QStringLiteral("/Desktop/");
    UserAnswers user;
    user.fileNames << desktop + QStringLiteral("run.txt") << desktop + QStringLiteral("run");
    click(w->saveDataButton);
    click(w->saveDataButton);
    QCOMPARE(user.boxes, QStringList());

    const QByteArray date = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    QByteArray expected = date + "\r\nSystem Time\tOutput frequency\tFrequency setting\tOutput current\tOutput voltage\t\r\n"
                                 "'09:05:01.020 am\t12.34\t25\t8.8\t380\t\r\n"
                                 "'09:05:01.120 am\t12.34\t25\t8.8\t380\t\r\n"
                                 "'09:05:01.220 am\t12.34\t25\t8.8\t380\t\r\n"
                                 "'09:05:01.320 am\t12.34\t25\t8.8\t380\t\r\n";
    const QByteArray text = fileBytes(desktop + QStringLiteral("run.txt"));
    QCOMPARE(text.left(expected.size()), expected);
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), rows + 3);
    for (int r = 2; r < rows + 2; ++r)
        QVERIFY2(lines.at(r).endsWith(" am\t12.34\t25\t8.8\t380\t\r"), lines.at(r).constData());

    const QByteArray out = python({ QStringLiteral("-c"),
        QStringLiteral("import sys, openpyxl\n"
                       "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                       "for row in ws.iter_rows(max_row=5, values_only=True):\n"
                       "    print('|'.join('%s:%s' % (type(v).__name__, v) for v in row))\n"
                       "print(ws.max_row)\n"),
        desktop + QStringLiteral("run.xlsx") });
    QCOMPARE(QString::fromUtf8(out).split(QLatin1Char('\n')),
             (QStringList { "str:" + QString::fromLatin1(date) + "|NoneType:None|NoneType:None|NoneType:None|NoneType:None",
                            "str:System Time|str:Output frequency|str:Frequency setting|str:Output current|str:Output voltage",
                            "str:09:05:01.020 am|float:12.34|int:25|float:8.8|int:380",
                            "str:09:05:01.120 am|float:12.34|int:25|float:8.8|int:380",
                            "str:09:05:01.220 am|float:12.34|int:25|float:8.8|int:380",
                            QString::number(rows + 2), "" }));
}

// A list reloaded under an open trend window: channels keep their items by code or are unchecked, a refused
// item records nothing beside live ones, and after Stop neither a box changed nor a channel re-checked alters the save.
void tst_TrendPoller::recordingFollowsTheListAndKeepsItsNames()
{
    // Taken for series D below: the drive answers D's unit selector, P.991.
    prepare(0, QStringLiteral("monitor 0 1234\nmonitor F 5400\nrefuse monitor 3\nP 991 0 0..1 0"));
    MainAdvPlot *w = openTrend();
    for (int c : { 2, 4, 6 })
        w->channelChecks.at(c)->setChecked(c != 2);
    g_seriesLetter = 'D';
    QVERIFY(QTest::qWaitForWindowExposed(openMonitorWindow(m_fix.window())));
    w->plot->setClock(new SteppingClock());
    m_preparedAt = monotonicSeconds();
    click(w->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(passes(QStringLiteral("M0R")).size() >= 6, 10000);
    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    const QList<QStringList> seen = passes(QStringLiteral("M0R")); // Run flags the channels one by one
    for (const QStringList &pass : seen.mid(seen.size() - 3))
        QCOMPARE(pass.join(' '), QStringLiteral("M0R M3R MFR"));
    QTest::qWait(600); // the chart's last refresh after Stop
    const QRect group(w->channelSelectGroup->mapTo(w, QPoint()), w->channelSelectGroup->size());
    const QImage recorded = w->grab().toImage().copy(group);
    w->itemBoxes.at(0)->setCurrentIndex(1);
    w->channelChecks.at(6)->setChecked(false);
    w->channelChecks.at(6)->setChecked(true);
    UserAnswers user;
    user.fileNames << m_home.path() + QStringLiteral("/Desktop/run.txt") << m_home.path() + "/Desktop/run.png";
    click(w->saveDataButton);
    QMetaObject::invokeMethod(w, "saveChart"); // the picture names the items recorded, as the export does
    QCOMPARE(QImage(m_home.path() + "/Desktop/run.png").copy(group).convertToFormat(recorded.format()), recorded);
    QCOMPARE(w->itemBoxes.at(0)->currentIndex(), 1);
    const QList<QByteArray> lines = fileBytes(m_home.path() + QStringLiteral("/Desktop/run.txt")).split('\n');
    QCOMPARE(lines.value(1), QByteArray("System Time\tOutput frequency\tFrequency setting\tDC bus voltage\t\r"));
    QCOMPARE(lines.size(), w->plot->rawPoints(8).size() + 3);
    for (int r = 2; r < lines.size() - 1; ++r)
        QVERIFY2(lines.at(r).endsWith(" am\t12.34\t\t540\t\r"), lines.at(r).constData());
}

// The link goes while the trend records: the window is idle again, its ranges free as after Stop, and
// the main window off-line; after a reconnection a monitor Run adds nothing to the stopped chart.
void tst_TrendPoller::lostLinkEndsTheTrend()
{
    prepare(0, QStringLiteral("monitor 0 1234"));
    MainAdvPlot *w = openTrend();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    click(w->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(w->plot->rawPoints(0).size() >= 3, 10000);
    m_fix.control(QStringLiteral("fault link-lost"));
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 15000);
    QTRY_VERIFY(w->runButton->isEnabled());
    QVERIFY(w->itemBoxes.at(0)->isEnabled() && w->saveDataButton->isEnabled());
    for (QSpinBox *range : qAsConst(w->yRangeSpins))
        QVERIFY(range->isEnabled());
    QTRY_COMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QCOMPARE(m_fix.reportedErrors(), QList<int> { 8 }); // "Communication Error!", once
    QCOMPARE(g_readWrite.load()->ReadPar(1, 0.01), -1.0); // a read on the lost link, told once, tells nothing again
    QCOMPARE(m_fix.reportedErrors(), QList<int> { 8 });
    QCOMPARE(g_advPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    QVERIFY(!w->plot->isRecording());
    const QVector<QPointF> kept = w->plot->rawPoints(0);
    const QStringList stamps = w->plot->stamps();

    // Reconnected as the connection test leaves the link; the monitor window runs.
    m_fix.control(QStringLiteral("clear"));
    resetLinkFlags();
    m_fix.window()->setConnectionState(true);
    MainDialPlot *monitor = openMonitorWindow(m_fix.window());
    QVERIFY(QTest::qWaitForWindowExposed(monitor));
    const int before = passes(QStringLiteral("M0R")).size();
    click(monitor->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(passes(QStringLiteral("M0R")).size() >= before + 5, 10000);
    QTRY_COMPARE(monitor->sampleValueEdit->text(), QStringLiteral("12.34"));
    QCOMPARE(w->plot->rawPoints(0), kept);
    QCOMPARE(w->plot->stamps(), stamps);
    m_fix.control(QStringLiteral("fault bad-check always")); // a second loss is told again
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 15000);
    QCOMPARE(m_fix.reportedErrors(), QList<int>({ 8, 8 }));
    click(monitor->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    // Stop after the loss keeps them so.
    click(w->stopButton);
    QVERIFY(w->yRangeSpins.at(0)->isEnabled());
}

// Both windows polling: an item both flag is asked once a pass; stopping one leaves the other
// polling its own items.
void tst_TrendPoller::bothWindowsShareThePass()
{
    prepare(0, QStringLiteral("monitor 0 1234\nmonitor E 3800"));
    MainDialPlot *monitor = openMonitorWindow(m_fix.window());
    QVERIFY(QTest::qWaitForWindowExposed(monitor));
    click(monitor->runButton);
    // The monitor window's I/O page joins its passes a moment after Run.
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().contains(QStringLiteral("MBW")), 10000);
    MainAdvPlot *w = openTrend();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->channelChecks.at(3)->setChecked(true);
    const double bothFrom = monotonicSeconds();
    click(w->runButton);
    QTRY_VERIFY_WITH_TIMEOUT(w->plot->rawPoints(3).size() >= 4, 10000);
    const QStringList both { "M0R", "M3R", "M2R", "MER", "MAW", "MAR", "MBW", "MBR", "MCR" };
    const QStringList dialOnly { "M0R", "M3R", "M2R", "MAW", "MAR", "MBW", "MBR", "MCR" };
    const QStringList trendOnly { "M0R", "M3R", "M2R", "MER" };
    auto passesSince = [this](double from) {
        const double was = m_preparedAt;
        m_preparedAt = from;
        const QList<QStringList> out = passes(QStringLiteral("M0R"));
        m_preparedAt = was;
        return out;
    };
    // The first pass after Run may have been half asked before the trend's flags were set.
    QList<QStringList> seen = passesSince(bothFrom);
    QVERIFY(seen.size() >= 3);
    for (int i = 1; i < seen.size(); ++i)
        QCOMPARE(seen.at(i), both);

    click(w->stopButton);
    const double dialFrom = monotonicSeconds();
    const int trendRows = w->plot->rawPoints(8).size();
    QTRY_VERIFY_WITH_TIMEOUT(passesSince(dialFrom).size() >= 4, 10000);
    QVERIFY(g_monitorThread->isRunning());
    seen = passesSince(dialFrom);
    for (int i = 1; i < seen.size(); ++i)
        QCOMPARE(seen.at(i), dialOnly);
    QCOMPARE(w->plot->rawPoints(8).size(), trendRows);

    click(w->runButton);
    click(monitor->stopButton);
    const double trendFrom = monotonicSeconds();
    QTRY_VERIFY_WITH_TIMEOUT(passesSince(trendFrom).size() >= 4, 10000);
    seen = passesSince(trendFrom);
    for (int i = 1; i < seen.size(); ++i)
        QCOMPARE(seen.at(i), trendOnly);
    QVERIFY(w->plot->rawPoints(3).size() >= 3);
    QCOMPARE(g_dialPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

// Rounds of closing and reopening either window while the other records, the series changing
// between a longer and a shorter item list; the threaded part runs under ThreadSanitizer as well.
void tst_TrendPoller::closeAndReopenWhileTheOtherRecords()
{
    const int rounds = qEnvironmentVariableIntValue("TAVIRON_TREND_ROUNDS") > 0
        ? qEnvironmentVariableIntValue("TAVIRON_TREND_ROUNDS") : 100;
    prepare(0, QStringLiteral("monitor 0 1234"));
    MainDialPlot *monitor = openMonitorWindow(m_fix.window());
    MainAdvPlot *trend = openTrend();
    click(monitor->runButton);
    click(trend->runButton);
    for (int round = 0; round < rounds; ++round) {
        if (round % 4 == 3) {
            // The series changes only while no pass runs, as the dock does it for another station.
            trend->close();
            monitor->close();
            QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 5000);
            const bool shorter = g_seriesLetter == 'A';
            g_seriesLetter = shorter ? 'S' : 'A';
            g_firmwareVersion = QLatin1String(shorter ? "0.25" : "1.10");
            monitor = openMonitorWindow(m_fix.window());
            QCOMPARE(monitor->sampleItemBox->count(), shorter ? 6 : 10);
            click(monitor->runButton);
            trend = openTrend();
            // The trend window keeps its last channel's item only where the list has one.
            QCOMPARE(trend->itemBoxes.at(7)->currentIndex(), shorter ? -1 : 8);
            trend->channelChecks.at(7)->setChecked(true);
            click(trend->runButton);
        } else if (round % 2 == 0) {
            trend->close();
            trend = openTrend();
            click(trend->runButton);
        } else {
            monitor->close();
            monitor = openMonitorWindow(m_fix.window());
            click(monitor->runButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(trend->plot->rawPoints(0).size() >= 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(monitor->sampleValueEdit->text(), QStringLiteral("12.34"), 10000);
        QCOMPARE(valueSet(trend->plot->rawPoints(0)), QSet<QString> { "12.34" });
        if (round % 5 == 1) {
            // Run again while the last pass may still be finishing: the chart is fed again.
            click(trend->stopButton);
            click(trend->runButton);
            QTRY_VERIFY_WITH_TIMEOUT(trend->plot->rawPoints(0).size() >= 2, 10000);
        }
    }
    trend->close();
    monitor->close();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 5000);
    QVERIFY(m_fix.reportedErrors().isEmpty());
}

// A picture of the window recording a frequency ramp, on request (run under Xvfb to see it as drawn).
void tst_TrendPoller::screenshotOfARecording()
{
    const QString file = qEnvironmentVariable("TAVIRON_SCREENSHOT");
    if (file.isEmpty())
        QSKIP("set TAVIRON_SCREENSHOT to the picture to write");
    prepare(0, QStringLiteral("monitor 0 1000\nmonitor 3 2500\nmonitor 2 880"));
    MainAdvPlot *w = openTrend();
    w->resize(1400, 900);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    click(w->runButton);
    for (int step = 1; step <= 40; ++step) {
        QTest::qWait(100);
        m_fix.control(QStringLiteral("monitor 0 %1").arg(1000 + 50 * step));
        m_fix.control(QStringLiteral("monitor 2 %1").arg(1200 - 25 * step)); // the current falls across both
    }
    QVERIFY(w->plot->rawPoints(0).size() >= 10);
    QVERIFY(w->grab().save(file));
    click(w->stopButton);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

QTEST_MAIN(tst_TrendPoller)
#include "tst_trendpoller.moc"

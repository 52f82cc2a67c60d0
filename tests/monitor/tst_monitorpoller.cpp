// The monitor poller end to end: the monitor window's Run and Stop against the simulated drive on
// each shipped line, what each pass asks on the wire, what the window then shows, and how
// refusals, a lost link, a restart wait and the drive-information reads behave.
#include "monitorfixture.h"

#include "comm/typeinfo.h"
#include "seriesfixture.h"
#include "parameter/parameter.h"

#include "monitor/monitoritems.h"
#include "testfiles.h"

#include <QLineEdit>
#include <unistd.h>

namespace {

// The code of a monitor command, or "P<n>" for a parameter read, "W<n>=<hex>" for a parameter
// write, "page" for the character protocol's page selection; empty for anything else.
QString frameCode(int protocol, const QByteArray &f)
{
    static const QMap<QString, QString> zr = {
        { "64", "M0R" }, { "65", "M3R" }, { "66", "M2R" }, { "67", "MER" }, { "68", "MFR" }, { "69", "MaR" },
        { "6B", "MbR" }, { "6C", "MAR" }, { "6D", "MBR" }, { "6E", "MKR" }, { "6F", "M7R" }, { "7A", "MCR" },
        { "F3", "MAW" }, { "F4", "MBW" }, { "FF", "page" },
    };
    static const QMap<int, QString> reads = {
        { 0x1100, "M0R" }, { 0x1002, "M3R" }, { 0x1102, "M2R" }, { 0x1103, "MER" }, { 0x1104, "MFR" },
        { 0x1105, "MaR" }, { 0x1106, "MbR" }, { 0x1107, "MAR" }, { 0x1108, "MBR" }, { 0x110A, "MKR" },
        { 0x110B, "M7R" }, { 0x1001, "MCR" },
    };
    if (protocol == 0) {
        const QString instr = QString::fromLatin1(f.mid(3, 2));
        if (zr.contains(instr))
            return zr.value(instr);
        bool ok = false;
        const int i = instr.toInt(&ok, 16);
        if (ok && i < 0x64)
            return QStringLiteral("R%1").arg(i);
        if (ok && i >= 0x80 && i < 0xE4)
            return QStringLiteral("W%1=%2").arg(i - 0x80).arg(QString::fromLatin1(f.mid(6, 4)));
        return QString();
    }
    const QByteArray bytes = protocol == 1 ? f : QByteArray::fromHex(f.mid(1, f.size() - 3));
    if (bytes.size() < 6)
        return QString();
    const int fn = quint8(bytes.at(1));
    const int reg = quint8(bytes.at(2)) << 8 | quint8(bytes.at(3));
    const int value = quint8(bytes.at(4)) << 8 | quint8(bytes.at(5));
    if (fn == 3)
        return reg < 1600 ? QStringLiteral("P%1").arg(reg) : reads.value(reg);
    if (fn == 6 && reg == 0x1110)
        return QStringLiteral("MAW");
    if (fn == 6 && reg == 0x1111)
        return QStringLiteral("MBW");
    if (fn == 6 && reg < 1600)
        return QStringLiteral("W%1=%2").arg(reg).arg(QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return QString();
}

bool isMonitorCode(const QString &code)
{
    return code.size() == 3 && code.at(0) == QLatin1Char('M');
}

} // namespace

class tst_MonitorPoller : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void passAsksTheFlaggedItemsAndTheWindowShowsThem_data();
    void passAsksTheFlaggedItemsAndTheWindowShowsThem();
    void busyDriveKeepsEachItemItsOwn_data();
    void busyDriveKeepsEachItemItsOwn();
    void refusedItem_data();
    void refusedItem();
    void lostLinkGoesIdle_data();
    void lostLinkGoesIdle();
    void restartWait_data();
    void restartWait();
    void untestedStationAsksNothing();
    void untestedStationChosenWhileRunning_data();
    void untestedStationChosenWhileRunning();
    void driveInformationDerived_data();
    void driveInformationDerived();
    void driveInformationByRangeRead_data();
    void driveInformationByRangeRead();
    void typeParameterReadRestoresP77();
    void largeDriveRule_data();
    void largeDriveRule();
    void runStopCloseReopen();
    void listWithoutItems_data();
    void listWithoutItems();
    void screenshotOfARunningMotor();

private:
    // The drive of the line, its station selected and tested, the window open; no Run yet.
    // A list file put in place of the shipped one first (absent when `list` is null).
    void prepare(int line, const QString &extra = QString(), const QString &type = QString(),
                 const QByteArray *list = nullptr);
    void run() { QTest::mouseClick(m_window->runButton, Qt::LeftButton); }
    void stop() { QTest::mouseClick(m_window->stopButton, Qt::LeftButton); }
    // The codes of the requests the drive took, retries folded.
    QStringList codes(bool foldRetries = true) const;
    QStringList monitorCodes(bool foldRetries = true) const;
    // Complete passes of the monitor codes, each starting at `first`.
    QList<QStringList> passes(const QString &first) const;
    bool pollerIdle() const { return !g_monitorThread->isRunning(); }

    NavFixture m_fix;
    MainDialPlot *m_window = nullptr;
    int m_protocol = 0;
    double m_preparedAt = 0;
};

void tst_MonitorPoller::initTestCase()
{
    ensureMonitorThread();
}

void tst_MonitorPoller::init()
{
    QVERIFY(m_fix.setUp());
}

void tst_MonitorPoller::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << "codes:" << codes().mid(0, 200).join(QLatin1Char(' '));
    // The drive's protocol object goes with the drive: no pass may still use it.
    g_monitorThread->stopAndWait();
    m_fix.tearDown();
    m_window = nullptr;
}

void tst_MonitorPoller::prepare(int line, const QString &extra, const QString &type, const QByteArray *list)
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
    g_firmwareVersion = QLatin1String(firmware[line]);
    g_invType = type.isEmpty() ? QStringLiteral("%1-%2").arg(QLatin1String(NavFixture::line(line).type),
                                                             QLatin1String(NavFixture::line(line).power))
                               : type;
    m_fix.nav()->PotLabel->setText(QStringLiteral("Select station: NO.001 ") + g_invType);
    m_fix.nav()->stationTested[1] = 1;
    // As after the connection test: the table loaded (which reads the drive), the link up.
    m_fix.window()->parameterForm->loadParameterTable();
    // The identification's version stands (the table's read of P.188 may have lowered it).
    g_firmwareVersion = QLatin1String(firmware[line]);
    g_firmwareVersionText = g_firmwareVersion;
    g_versionRead = true;
    g_p186Value = QStringLiteral("1");
    m_fix.window()->setConnectionState(true);
    if (list) {
        const QString file = monitorItemFilePath(g_seriesLetter, QStringLiteral("0"), 0).replace(QLatin1Char('\\'), QLatin1Char('/'));
        QFile::remove(file);
        if (!list->isNull())
            QVERIFY(writeFile(file, *list));
    }
    m_fix.watch();
    m_window = openMonitorWindow(m_fix.window());
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_preparedAt = monotonicSeconds();
}

QStringList tst_MonitorPoller::codes(bool foldRetries) const
{
    QStringList out;
    for (const Frame &f : foldRetries ? m_fix.requests() : m_fix.received())
        if (f.at > m_preparedAt)
            out << frameCode(m_protocol, f.bytes);
    return out;
}

QStringList tst_MonitorPoller::monitorCodes(bool foldRetries) const
{
    QStringList out;
    for (const QString &c : codes(foldRetries))
        if (isMonitorCode(c))
            out << c;
    return out;
}

QList<QStringList> tst_MonitorPoller::passes(const QString &first) const
{
    return splitPasses(monitorCodes(), first);
}

void tst_MonitorPoller::passAsksTheFlaggedItemsAndTheWindowShowsThem_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("pass");
    QTest::addColumn<QString>("scaleReads"); // parameter reads the protocol object adds per pass
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("ioLamps");
    QTest::newRow("modbus_rtu") << 0 << QStringList { "M0R", "M3R", "M2R", "MAW", "MAR", "MBW", "MBR", "MCR" }
                                << "P187 P187" << "8.8A" << "10100000001000";
    QTest::newRow("modbus_ascii") << 1 << QStringList { "M0R", "M2R", "MER", "MAW", "MAR", "MBW", "MBR", "MCR" }
                                  << "" << "380V" << "101000----10--";
    QTest::newRow("taviron") << 2 << QStringList { "M0R", "M3R", "M2R", "MAW", "MAR", "MBW", "MBR", "MCR" } << ""
                             << "8.8A" << "10100000001000"; // active low, the same terminals as A
}

void tst_MonitorPoller::passAsksTheFlaggedItemsAndTheWindowShowsThem()
{
    QFETCH(int, line);
    QFETCH(QStringList, pass);
    QFETCH(QString, scaleReads);
    QFETCH(QString, right);
    QFETCH(QString, ioLamps);
    prepare(line, QStringLiteral("monitor 0 1234\nmonitor 3 2500\nmonitor 2 880\nmonitor E 3800\nstatus 0x81"));
    run();
    QVERIFY(!m_window->runButton->isEnabled());
    QVERIFY(!m_window->sampleItemBox->isEnabled() && !m_window->cockpit->leftItemBox->isEnabled());
    QVERIFY(m_window->stopButton->isEnabled() && m_window->cockpit->leftOptionButton->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(passes(QStringLiteral("M0R")).count(pass) >= 5, 10000);

    // What the window shows comes from the drive.
    QTRY_COMPARE(m_window->sampleValueEdit->text(), QStringLiteral("12.34"));
    QTRY_COMPARE(m_window->cockpit->leftLcd->value(), 12.34);
    QTRY_COMPARE(m_window->cockpit->rightDial->text(), right);
    QTRY_COMPARE(lampText(m_window->inverterState->lampLabels), QStringLiteral("10000001"));
    QTRY_COMPARE(lampText(m_window->ioState->lampLabels), ioLamps);
    QVERIFY(!m_window->plot->samples(0).isEmpty());
    QCOMPARE(m_window->plot->samples(0).last().y(), 12.34);
    QCOMPARE(m_window->versionValue->text(), g_firmwareVersionText);

    // A value changed on the drive shows up.
    m_fix.control(QStringLiteral("monitor 0 2000"));
    QTRY_COMPARE_WITH_TIMEOUT(m_window->sampleValueEdit->text(), QStringLiteral("20"), 5000);

    stop();
    QVERIFY(m_window->runButton->isEnabled() && m_window->sampleItemBox->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    const int after = m_fix.received().size();
    QTest::qWait(300);
    QCOMPARE(m_fix.received().size(), after);
    QCOMPARE(g_dialPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    QCOMPARE(lampText(m_window->inverterState->lampLabels), QStringLiteral("00000000"));

    // Once the I/O monitor runs, every pass asks exactly the flagged items, in item order.
    const QList<QStringList> all = passes(QStringLiteral("M0R"));
    int full = 0;
    for (const QStringList &p : all) {
        if (full > 0 || p == pass)
            QCOMPARE(p, pass);
        full += p == pass;
    }
    QVERIFY2(full >= 4, qPrintable(QString::number(full)));
    // Besides them only the protocol object's own scale reads, once per frequency item.
    const QStringList all_codes = codes();
    QList<int> ends;
    for (int i = 0; i < all_codes.size(); ++i)
        if (all_codes.at(i) == QLatin1String("MCR"))
            ends << i;
    QVERIFY(ends.size() >= 3);
    QStringList params;
    for (int i = ends.at(ends.size() - 3) + 1; i < ends.at(ends.size() - 2); ++i)
        // Status bit 7 has the alarm page ask "M0N" and P.288 from the GUI thread meanwhile.
        if (!isMonitorCode(all_codes.at(i)) && !all_codes.at(i).isEmpty() && all_codes.at(i) != QLatin1String("P288"))
            params << all_codes.at(i);
    QCOMPARE(params.join(QLatin1Char(' ')), scaleReads);

    // No pause of the poller's own: the requests follow each other at the pace of the exchanges.
    const QList<Frame> frames = m_fix.requests();
    QVector<double> gaps;
    for (int i = frames.size() / 2; i + 1 < frames.size() - 4; ++i)
        gaps << frames.at(i + 1).at - frames.at(i).at;
    std::sort(gaps.begin(), gaps.end());
    QVERIFY(!gaps.isEmpty());
    QVERIFY2(gaps.at(gaps.size() / 2) < 0.040, qPrintable(QString::number(gaps.at(gaps.size() / 2))));
    QVERIFY(m_fix.reportedErrors().isEmpty());
    QCOMPARE(m_fix.boxes().size(), 0);
}

void tst_MonitorPoller::busyDriveKeepsEachItemItsOwn_data()
{
    shippedLineRows();
}

// A drive busy now and then answers the kept requests late, one by one: every pass still shows each
// item's own reading, never the one of the item asked before or after it.
void tst_MonitorPoller::busyDriveKeepsEachItemItsOwn()
{
    QFETCH(int, line);
    prepare(line, QStringLiteral("monitor 0 1234\nmonitor 3 2500\nmonitor 2 880\nmonitor E 3800\nstatus 0x81"));
    m_fix.control(QStringLiteral("fault busy always 45 every 6"));
    run();
    QTRY_VERIFY_WITH_TIMEOUT(passes(QStringLiteral("M0R")).size() >= 12, 20000);
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);

    const QVector<QPointF> samples = m_window->plot->samples(0);
    QVERIFY(samples.size() >= 10);
    for (const QPointF &p : samples)
        QVERIFY2(qIsNaN(p.y()) || p.y() == 12.34, qPrintable(QString::number(p.y())));
    QVERIFY(m_fix.journal().count(QStringLiteral("busy for")) >= 5);
    QVERIFY(m_fix.reportedErrors().isEmpty());
    QCOMPARE(m_fix.boxes().size(), 0);
}

void tst_MonitorPoller::refusedItem_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<bool>("first");
    for (int line = 0; line < 3; ++line) {
        const char *names[] = { "modbus_rtu", "modbus_ascii", "taviron" };
        QTest::newRow(qPrintable(QStringLiteral("%1_after_a_success").arg(QLatin1String(names[line])))) << line << "2" << false;
        QTest::newRow(qPrintable(QStringLiteral("%1_first_item").arg(QLatin1String(names[line])))) << line << "0" << true;
    }
    // Series A in 0.1 Hz, P.187's read refused: the frequencies have no unit, so no number.
    QTest::newRow("modbus_rtu_frequency_unit_unread") << 0 << "param 187 read" << true;
}

void tst_MonitorPoller::refusedItem()
{
    QFETCH(int, line);
    QFETCH(QString, refused);
    QFETCH(bool, first);
    const bool unit = refused.startsWith(QLatin1String("param"));
    prepare(line, unit ? QStringLiteral("set 187 1\nmonitor 0 1234") : QStringLiteral("refuse monitor ") + refused);
    QSignalSpy told(m_fix.window(), &CMainWindow::showErrorInfo);
    if (unit)
        m_fix.control(QStringLiteral("refuse ") + refused);
    run();
    const QString code = QStringLiteral("M%1R").arg(refused);
    if (!first) {
        // The pass goes on past the refusal to the status item; the refused item's gauge is greyed.
        QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().count(code) >= 5, 10000);
        QVERIFY(monitorCodes().count(QStringLiteral("MCR")) >= 4);
        QTRY_VERIFY(!(line == 1 ? m_window->cockpit->midDial : m_window->cockpit->rightDial)->isEnabled());
        QVERIFY(!m_window->runButton->isEnabled());
        QVERIFY(g_monitorThread->isRunning());
        QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"));
        stop();
        QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
        return;
    }
    // The first item refused in every pass: it shows "---", the others' answers keep the link on-line.
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().count(QStringLiteral("MCR")) >= 12, 10000);
    QCOMPARE(m_window->sampleValueEdit->text(), QString(QLatin1String(unit ? "?" : "---")));
    // Series A's second dial shows the set frequency, in the same unit.
    QVERIFY(!m_window->cockpit->leftDial->isEnabled() && m_window->cockpit->midDial->isEnabled() != unit);
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("On-Line"));
    if (unit) {
        // Told once, naming the selector, though every pass asks it; the readings come back with it.
        QCOMPARE(told.size(), 1);
        QVERIFY(told.at(0).at(1).toString().startsWith(QLatin1String("P.187, ")));
        m_fix.control(QStringLiteral("clear"));
        QTRY_COMPARE(m_window->sampleValueEdit->text(), QStringLiteral("123.4"));
        QVERIFY(m_window->cockpit->leftDial->isEnabled());
    }
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

void tst_MonitorPoller::lostLinkGoesIdle_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("stopAndRunFirst");
    QTest::newRow("modbus_rtu") << 0 << false;
    QTest::newRow("modbus_ascii_after_stop_and_run") << 1 << true;
    QTest::newRow("taviron_after_stop_and_run") << 2 << true;
}

void tst_MonitorPoller::lostLinkGoesIdle()
{
    QFETCH(int, line);
    QFETCH(bool, stopAndRunFirst);
    prepare(line);
    run();
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().contains(QStringLiteral("MCR")), 5000);
    if (stopAndRunFirst) {
        stop();
        QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
        run();
        QVERIFY(!m_window->runButton->isEnabled());
    }
    m_fix.control(QStringLiteral("fault ") + QStringList { "link-lost", "silent-after 3", "bad-check always" }.at(line));
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 15000);
    QTRY_VERIFY(m_window->runButton->isEnabled());
    QVERIFY(m_window->sampleItemBox->isEnabled() && m_window->cockpit->leftItemBox->isEnabled());
    QCOMPARE(m_fix.window()->connectButton->text(), QStringLiteral("Off-Line"));
    QCOMPARE(g_dialPollFlags, QVector<bool>(g_monitorCodes.size(), false));
    QCOMPARE(lampText(m_window->inverterState->lampLabels), QStringLiteral("00000000"));
    QCOMPARE(m_fix.reportedErrors(), QList<int> { 8 }); // "Communication Error!" once; no reading left on show
    QVERIFY(m_window->sampleValueEdit->text() == "---" && !m_window->cockpit->leftDial->isEnabled());
}

void tst_MonitorPoller::restartWait_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<double>("wait");
    QTest::addColumn<bool>("stopDuringWait");
    QTest::newRow("series_a_3s") << 0 << 3.0 << false;
    QTest::newRow("series_s_7s") << 1 << 7.0 << false;
    QTest::newRow("series_d_stop_during_wait") << 2 << 3.0 << true;
}

void tst_MonitorPoller::restartWait()
{
    QFETCH(int, line);
    QFETCH(double, wait);
    QFETCH(bool, stopDuringWait);
    prepare(line);
    run();
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().count(QStringLiteral("MCR")) >= 2, 5000);
    const double set = monotonicSeconds();
    g_restartWait = true; // the restarting command answered now
    g_restartQuiet.begin(int(wait * 1000));
    if (stopDuringWait) {
        QTest::qWait(500);
        QElapsedTimer clock;
        clock.start();
        stop();
        // Neither the GUI nor the poller sits out the drive's restart.
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 1000);
        QVERIFY(monotonicSeconds() - set < 2.0);
        QVERIFY(g_restartWait);
        g_restartWait = false;
        g_restartQuiet.end();
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!g_restartWait, int(wait * 1000) + 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_fix.requests().isEmpty() && m_fix.requests().last().at > set + wait - 0.05, 3000);
    double resumed = 0;
    double before = 0;
    for (const Frame &f : m_fix.requests()) {
        if (f.at > set + 0.3) {
            resumed = f.at;
            break;
        }
        before = f.at;
    }
    // At most the exchange in progress ends after the request; then the line is quiet for the wait.
    QVERIFY2(before - set < 0.3, qPrintable(QString::number(before - set)));
    QVERIFY2(resumed - set >= wait - 0.05 && resumed - set < wait + 1.5, qPrintable(QString::number(resumed - set)));
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

void tst_MonitorPoller::untestedStationAsksNothing()
{
    prepare(0);
    m_fix.nav()->stationTested[1] = 0;
    run();
    QTRY_COMPARE(m_fix.boxTexts(), QStringList { "Please execute connection test first!" });
    QTest::qWait(300);
    QVERIFY(codes(false).isEmpty());
    QVERIFY(pollerIdle());
    QVERIFY(m_window->runButton->isEnabled());
    QCOMPARE(m_window->versionValue->text(), QStringLiteral("..."));
}

void tst_MonitorPoller::untestedStationChosenWhileRunning_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("added"); // else chosen from the list
    QTest::newRow("modbus_rtu_selected") << 0 << false;
    QTest::newRow("modbus_ascii_added") << 1 << true;
    QTest::newRow("taviron_selected") << 2 << false;
}

// No request of the pass reaches a station that has not passed the test: the pass stops as after
// a lost link, untold, since nothing failed. Choosing a tested station keeps it running.
void tst_MonitorPoller::untestedStationChosenWhileRunning()
{
    QFETCH(int, line);
    QFETCH(bool, added);
    prepare(line);
    const QString type = QLatin1String(NavFixture::line(line).type), power = QLatin1String(NavFixture::line(line).power);
    m_fix.addStation(added ? 3 : 2, type, power);
    m_fix.addTestedStation(line);
    m_fix.selectStation(0);
    run();
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().count(QStringLiteral("MCR")) >= 2, 5000);
    m_fix.selectStation(0);
    QVERIFY(!pollerIdle());
    const int before = m_fix.received().size();
    if (added)
        m_fix.addStation(2, type, power);
    else
        m_fix.selectStation(1);
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    QTest::qWait(300);
    for (const Frame &f : m_fix.received().mid(before))
        QCOMPARE(m_protocol == 1 ? quint8(f.bytes.at(0)) : f.bytes.mid(1, 2).toInt(nullptr, 16), 1);
    QVERIFY(m_fix.reportedErrors().isEmpty());
    m_fix.watch();
    run();
    QCOMPARE(m_fix.boxTexts(), QStringList { "Please execute connection test first!" });
}

void tst_MonitorPoller::driveInformationDerived_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("p56");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("modbus_rtu_0.01") << 0 << "" << "P56" << QStringList { "VR3", "1.10", "12.5A", "440V", "5.5K" };
    QTest::newRow("modbus_rtu_above_160K_0.1")
        << 0 << "VR3-043-200K" << "P56" << QStringList { "VR3", "1.10", "125A", "440V", "200K" };
    QTest::newRow("modbus_ascii") << 1 << "" << "P56" << QStringList { "VS5", "0.25", "2.1A", "440V", "0.75K" };
    QTest::newRow("taviron") << 2 << "" << "R56" << QStringList { "VM3", "1.02", "33A", "220V", "7.5K" };
    QTest::newRow("p56_refused") << 0 << "" << "P56" << QStringList { "VR3", "1.10", "---", "440V", "5.5K" };
}

void tst_MonitorPoller::driveInformationDerived()
{
    QFETCH(int, line);
    QFETCH(QString, type);
    QFETCH(QString, p56);
    QFETCH(QStringList, shown);
    const bool refused = shown.at(2) == QLatin1String("---");
    prepare(line, refused ? QStringLiteral("refuse param 56") : QString(), type);
    run();
    QVERIFY(!m_window->runButton->isEnabled());
    QCOMPARE(codes().value(codes().indexOf(p56)), p56);
    QCOMPARE(QStringList({ m_window->driveTypeValue->text(), m_window->versionValue->text(),
                           m_window->outputCurrentValue->text(), m_window->inputVoltageValue->text(),
                           m_window->capacityValue->text() }),
             shown);
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

void tst_MonitorPoller::driveInformationByRangeRead_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("voltage");
    QTest::addColumn<QString>("current");
    QTest::newRow("modbus_rtu_series_a")
        << 0 << QStringList { "P77", "W77=FFFF", "P56", "P1401", "P1402", "P186", "W77=0000" } << "440V" << "12.5A";
    QTest::newRow("modbus_ascii_series_s") << 1 << QStringList { "P77", "W77=FFFF", "P56", "P201", "P202", "W77=0000" }
                                           << "440V" << "2.1A";
}

void tst_MonitorPoller::driveInformationByRangeRead()
{
    QFETCH(int, line);
    QFETCH(QStringList, order);
    QFETCH(QString, voltage);
    QFETCH(QString, current);
    prepare(line, QStringLiteral("refuse param 188"));
    // What a refused firmware-version read leaves.
    g_versionRead = false;
    g_firmwareVersionText = QStringLiteral("---");
    run();
    QVERIFY(!m_window->runButton->isEnabled());
    QStringList reads;
    for (const QString &c : codes()) {
        if (isMonitorCode(c))
            break;
        reads << c;
    }
    QCOMPARE(reads, order);
    // No version was read: none is shown or made up.
    QCOMPARE(m_window->versionValue->text(), QStringLiteral("---"));
    QCOMPARE(g_firmwareVersionText, QStringLiteral("---"));
    QCOMPARE(m_window->inputVoltageValue->text(), voltage);
    QCOMPARE(m_window->outputCurrentValue->text(), current);
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

void tst_MonitorPoller::typeParameterReadRestoresP77()
{
    // A feature table in which the character-protocol drive keeps type, voltage and version in
    // P.300, P.301 and P.199.
    g_typeInfoTable.insert(1, { "monitorthread_readInverterInfo_F", "0-0-99", "0-0-99", "0-0-99" });
    g_typeInfoTable.insert(1, { "monitorthread_readInverterInfo_H", "1-0-99", "1-0-99", "1-0-99" });
    prepare(2, QStringLiteral("P 300 75 0..9999 2\nP 301 440 0..9999 0\nP 199 230 0..9999 0\nP 77 65535 0..2,65535 0"));
    g_versionRead = false;
    run();
    g_typeInfoTable.removeAt(1);
    g_typeInfoTable.removeAt(1);
    QVERIFY(!m_window->runButton->isEnabled());
    QStringList writes;
    for (const QString &c : codes())
        if (c.startsWith(QLatin1String("W77=")))
            writes << c;
    // The no-value word goes back as it came: FFFFh, not 270Fh.
    QCOMPARE(writes, QStringList({ "W77=FFFF", "W77=FFFF" }));
    QCOMPARE(QStringList({ m_window->driveTypeValue->text(), m_window->versionValue->text(),
                           m_window->outputCurrentValue->text(), m_window->inputVoltageValue->text(),
                           m_window->capacityValue->text() }),
             QStringList({ "TV", "2.3", "33A", "440V", "0.75K" }));
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

void tst_MonitorPoller::largeDriveRule_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("right");
    QTest::newRow("modbus_above_160K") << 0 << "VR3-043-200K" << "88A";
    QTest::newRow("modbus_160K") << 0 << "VR3-043-160K" << "8.8A";
    QTest::newRow("modbus_5.5K") << 0 << "VR3-043-5.5K" << "8.8A";
    QTest::newRow("taviron_above_160K") << 2 << "VM3-023-200K" << "8.8A";
    QTest::newRow("modbus_type_without_capacity") << 0 << "VR3" << "8.8A";
}

void tst_MonitorPoller::largeDriveRule()
{
    QFETCH(int, line);
    QFETCH(QString, type);
    QFETCH(QString, right);
    prepare(line, QStringLiteral("monitor 2 880"), type);
    run();
    QTRY_VERIFY_WITH_TIMEOUT(monitorCodes().count(QStringLiteral("MCR")) >= 2, 5000);
    QTRY_COMPARE(m_window->cockpit->rightDial->text(), right);
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

// Run, Stop, close and reopen, the series alternating between a longer and a shorter item list,
// while the last pass may still be running: no index goes astray, nothing outlives its window.
void tst_MonitorPoller::runStopCloseReopen()
{
    const int rounds = qEnvironmentVariableIntValue("TAVIRON_MONITOR_ROUNDS") > 0
        ? qEnvironmentVariableIntValue("TAVIRON_MONITOR_ROUNDS") : 100;
    prepare(0, QStringLiteral("monitor 0 1234"));
    for (int round = 0; round < rounds; ++round) {
        const bool shorter = (round / 2) % 2;
        m_window->close();
        if (round % 2 == 0) {
            // The protocol object reads the series letter inside a pass; the dock changes it only
            // for another station. Every second reopening rebuilds the lists under a running pass.
            QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
            g_seriesLetter = shorter ? 'S' : 'A';
            g_firmwareVersion = QLatin1String(shorter ? "0.25" : "1.10");
        }
        m_window = openMonitorWindow(m_fix.window());
        QCOMPARE(m_window->sampleItemBox->count(), shorter ? 6 : 10);
        run();
        QTRY_COMPARE_WITH_TIMEOUT(m_window->sampleValueEdit->text(), QStringLiteral("12.34"), 5000);
        if (round % 3 == 0) {
            // Run again while the last pass may still be finishing: the window is fed again.
            stop();
            run();
            QTRY_VERIFY_WITH_TIMEOUT(m_window->plot->samples(0).size() >= 2, 5000);
        }
        if (round % 4 == 1)
            stop();
    }
    m_window->close();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    QVERIFY(m_fix.reportedErrors().isEmpty());
}

// CPU seconds the poller's thread has used (the thread carries its class name).
static double pollerCpuSeconds()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (fileBytes(tasks.filePath(tid + QStringLiteral("/comm"))).trimmed() != "MonitorThread")
            continue;
        const QByteArray stat = fileBytes(tasks.filePath(tid + QStringLiteral("/stat")));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return (fields.value(11).toLongLong() + fields.value(12).toLongLong()) / double(sysconf(_SC_CLK_TCK));
    }
    return -1.0;
}

void tst_MonitorPoller::listWithoutItems_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QString>("asked");
    // Every box empty (index -1): only the status item is asked, nothing indexes before the lists.
    QTest::newRow("missing_file") << QByteArray() << 4 << "MCR";
    // A code the command table lacks is no reading; the pass goes on to the status item.
    QTest::newRow("code_not_in_the_table") << QByteArray("MZR;Nothing;x\r\n") << 0 << "MCR";
}

void tst_MonitorPoller::listWithoutItems()
{
    QFETCH(QByteArray, list);
    QFETCH(int, boxes);
    QFETCH(QString, asked);
    prepare(0, QStringLiteral("status 3"), QString(), &list);
    QCOMPARE(m_fix.boxes().size(), boxes);
    QCOMPARE(g_monitorCodes.last(), QStringLiteral("MCR"));
    run();
    QVERIFY(!m_window->runButton->isEnabled());
    QTest::qWait(300);
    const double cpu = pollerCpuSeconds();
    QVERIFY(cpu >= 0);
    QTest::qWait(1000);
    // A poller that spins takes a core; one that pauses between empty passes takes next to none.
    const double used = pollerCpuSeconds() - cpu;
    QVERIFY2(used < 0.1, qPrintable(QString::number(used)));
    QStringList distinct;
    for (const QString &c : monitorCodes())
        if (!distinct.contains(c))
            distinct << c;
    QCOMPARE(distinct.join(QLatin1Char(' ')), asked);
    if (!asked.isEmpty())
        QTRY_COMPARE(lampText(m_window->inverterState->lampLabels), QStringLiteral("11000000"));
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
    QCOMPARE(g_dialPollFlags, QVector<bool>(g_monitorCodes.size(), false));
}

// A picture of the window watching a motor at 30 Hz, for the eye; only with TAVIRON_SCREENSHOT set
// to the file to write (run under xvfb-run with QT_QPA_PLATFORM=xcb for a real X server's fonts).
void tst_MonitorPoller::screenshotOfARunningMotor()
{
    const QString file = qEnvironmentVariable("TAVIRON_SCREENSHOT");
    if (file.isEmpty())
        QSKIP("set TAVIRON_SCREENSHOT to the picture to write");
    prepare(0);
    ReadWrite *link = m_fix.window() ? g_readWrite.load() : nullptr;
    QVERIFY(link);
    QCOMPARE(link->SendCommand("CU0"), 0);
    const char fre[] = { 'F', 'R', 'E', char(3000 >> 8), char(3000 & 0xFF) };
    QCOMPARE(link->SendCommand(fre), 0);
    QCOMPARE(link->SendCommand("FWD"), 0);
    run();
    QTRY_COMPARE_WITH_TIMEOUT(m_window->sampleValueEdit->text(), QStringLiteral("30"), 10000);
    // Without a window manager "maximized" keeps the minimum size: give it a screen's.
    m_window->resize(1400, 900);
    QTest::qWait(2000);
    QVERIFY(m_window->grab().save(file));
    stop();
    QTRY_VERIFY_WITH_TIMEOUT(pollerIdle(), 3000);
}

QTEST_MAIN(tst_MonitorPoller)
#include "tst_monitorpoller.moc"

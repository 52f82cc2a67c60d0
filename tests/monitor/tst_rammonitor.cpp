// The RAM monitor against the simulated drive: the frames of each width, the values from the
// drive's words, a failed exchange, the character protocol, and Stop/Run, close and destruction
// mid-pass, which must leave no pass behind.
#include "alarmfixture.h"
#include "monitor/optiondialogs.h"
#include "monitor/ram.h"
#include "useranswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

class tst_RamMonitor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readsAChannel_data();
    void readsAChannel();
    void bothChannelsFeedOnePlotPointPerPass();
    void unknownAddressEndsPolling();
    void characterProtocolIsRefused();
    void untestedStationIsRefused();
    void saveData();
    void saveChart();
    void optionDialog();
    void noChannelPausesBetweenPasses();
    void stopAndRunAtOnce();
    void closeAndDestroyMidPass();

private:
    Ram *ram() const { return m_a.window->ramWindow; }
    void setChannel(int channel, const QString &address, int type, bool on);
    // Frames the drive took after the time.
    QList<Frame> framesAfter(double at) const;
    AlarmFixture m_a;
};

void tst_RamMonitor::initTestCase()
{
    ensureMonitorThread();
}

void tst_RamMonitor::init()
{
    QVERIFY(m_a.fix.setUp());
}

void tst_RamMonitor::cleanup()
{
    if (m_a.window)
        ram()->stopAll();
    m_a.fix.tearDown();
    m_a.window = nullptr;
}

void tst_RamMonitor::setChannel(int channel, const QString &address, int type, bool on)
{
    QLineEdit *edit = ram()->addressEdits[channel];
    edit->selectAll();
    QTest::keyClicks(edit, address);
    ram()->typeBoxes[channel]->setCurrentIndex(type);
    ram()->channelBoxes[channel]->setChecked(on);
}

QList<Frame> tst_RamMonitor::framesAfter(double at) const
{
    QList<Frame> out;
    for (const Frame &f : m_a.fix.received())
        if (f.at > at)
            out << f;
    return out;
}

void tst_RamMonitor::readsAChannel_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("value");
    // ram 9000 1234 5678 9ABC 0001 0002 0003 00FF FFFF; ram D000 0010 0020 0030 0040
    QTest::newRow("rtu_16bit") << 0 << "9000" << 1 << QByteArray::fromHex("0103900000 02E90B") << "13432";
    QTest::newRow("rtu_8bit") << 0 << "9000" << 0 << QByteArray::fromHex("01039000 0001A90A") << "52";
    QTest::newRow("rtu_32bit") << 0 << "D000" << 2 << QByteArray::fromHex("0103D000 00047CC9") << "270544960";
    QTest::newRow("rtu_lower_case") << 0 << "d000" << 0 << QByteArray::fromHex("0103D000 0001 BCCA") << "16";
    QTest::newRow("rtu_ffff_is_a_value") << 0 << "9006" << 1 << QByteArray::fromHex("01039006 0002 090A") << "65535";
    QTest::newRow("ascii_32bit") << 1 << "D000" << 2 << QByteArray(":0103D000000428\r\n") << "270544960";
    QTest::newRow("ascii_16bit") << 1 << "9001" << 1 << QByteArray(":01039001000269\r\n") << "30908";
}

void tst_RamMonitor::readsAChannel()
{
    QFETCH(int, line);
    QFETCH(QString, address);
    QFETCH(int, type);
    QFETCH(QByteArray, frame);
    QFETCH(QString, value);
    QVERIFY(m_a.prepare(line));
    setChannel(0, address, type, true);
    setChannel(1, address, type, false);
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QVERIFY(!ram()->runButton->isEnabled() && !ram()->addressEdits[0]->isEnabled());
    QTRY_COMPARE(ram()->valueEdits[0]->text(), value);
    QCOMPARE(ram()->valueEdits[1]->text(), QString());
    QTRY_VERIFY(ram()->plot->samples(0).size() >= 3);
    QCOMPARE(ram()->plot->samples(0).last().y(), value.toDouble());
    QVERIFY(ram()->plot->samples(1).isEmpty());
    QTest::mouseClick(ram()->stopButton, Qt::LeftButton);
    const double stopped = monotonicSeconds();
    QVERIFY(ram()->runButton->isEnabled() && ram()->addressEdits[0]->isEnabled());
    const QList<Frame> frames = framesAfter(start);
    QVERIFY(frames.size() >= 3);
    for (const Frame &f : frames)
        QCOMPARE(f.bytes.toHex(' '), frame.toHex(' '));
    QTest::qWait(150);
    QCOMPARE(framesAfter(stopped).size(), 0);
    QCOMPARE(m_a.fix.boxes().size(), 0);
}

void tst_RamMonitor::bothChannelsFeedOnePlotPointPerPass()
{
    QVERIFY(m_a.prepare(0));
    setChannel(0, QStringLiteral("9000"), 0, true);
    setChannel(1, QStringLiteral("D000"), 1, true);
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTRY_VERIFY(ram()->plot->samples(2).size() >= 5);
    QTest::mouseClick(ram()->stopButton, Qt::LeftButton);
    QCOMPARE(ram()->valueEdits[0]->text(), QStringLiteral("52"));
    QCOMPARE(ram()->valueEdits[1]->text(), QStringLiteral("4128"));
    const int passes = ram()->plot->samples(2).size();
    QCOMPARE(ram()->plot->samples(0).size(), passes);
    QCOMPARE(ram()->plot->samples(1).size(), passes);
    // Channel 0 then channel 1, pass after pass.
    const QList<Frame> frames = framesAfter(start);
    QCOMPARE(frames.size(), 2 * passes);
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames.at(i).bytes.mid(2, 2).toHex(), QByteArray(i % 2 ? "d000" : "9000"));
}

void tst_RamMonitor::unknownAddressEndsPolling()
{
    QVERIFY(m_a.prepare(0));
    setChannel(0, QStringLiteral("1234"), 1, true);
    setChannel(1, QStringLiteral("9000"), 1, true);
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTRY_VERIFY(ram()->runButton->isEnabled());
    QTest::qWait(300);
    // One report of the exception: message 12, "Illegal data address!".
    QCOMPARE(m_a.fix.reportedErrors(), QList<int>({ 12 }));
    QVERIFY(ram()->addressEdits[0]->isEnabled() && ram()->saveDataButton->isEnabled());
    QCOMPARE(ram()->valueEdits[0]->text(), QStringLiteral("65535")); // the failure value
    const QList<Frame> frames = framesAfter(start);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first().bytes.toHex(), QByteArray("01031234000280bd"));
    QVERIFY(ram()->plot->samples(2).isEmpty());
}

void tst_RamMonitor::characterProtocolIsRefused()
{
    QVERIFY(m_a.prepare(2));
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTest::qWait(200);
    QCOMPARE(m_a.fix.boxTexts(), QStringList({ "The RAM monitor needs Modbus RTU or Modbus ASCII." }));
    QVERIFY(ram()->runButton->isEnabled());
    QCOMPARE(framesAfter(start).size(), 0);
    QCOMPARE(ram()->valueEdits[0]->text(), QString());
}

void tst_RamMonitor::saveData()
{
    QVERIFY(m_a.prepare(0, QString(), false));
    // Series A starts both channels at D000, 8 bits: 10h.
    QCOMPARE(ram()->addressEdits[1]->text(), QStringLiteral("D000"));
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTest::qWait(700);
    QTest::mouseClick(ram()->stopButton, Qt::LeftButton);
    const QVector<QPointF> points = ram()->plot->samples(0);
    const int rows = ram()->plot->samples(2).size();
    QVERIFY(rows >= 3);
    // Feeds in the first half second lie left of the chart's window and are not saved.
    int kept = 0;
    for (const QPointF &p : points)
        kept += p.x() >= 0.0 && p.x() <= 60.0;
    QVERIFY(kept < rows);
    QByteArray expected = "D000H\tD000H\t\r\n";
    for (int r = 0; r < rows; ++r)
        expected += r < kept ? "16D\t16D\t\r\n" : "\t\t\r\n";

    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        UserAnswers user;
        user.fileNames << QStringLiteral("values");
        QTest::mouseClick(ram()->saveDataButton, Qt::LeftButton);
        QCOMPARE(user.dialogs, QStringList({ "Save Data | *.xls" }));
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("values.xls"))), expected);
    }
    {
        UserAnswers user; // cancelled
        QTest::mouseClick(ram()->saveDataButton, Qt::LeftButton);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "values.xls" }));
    }
    {
        // Channel 2 unticked: only channel 1's column; a full disk keeps the old file and warns.
        ram()->channelBoxes[1]->setChecked(false);
        UserAnswers user;
        user.fileNames << QStringLiteral("values.xls");
        {
            FileSizeLimit full(8);
            QTest::mouseClick(ram()->saveDataButton, Qt::LeftButton);
        }
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("values.xls"))), expected);
        QCOMPARE(user.boxes.size(), 2);
        QVERIFY2(user.boxes.last().startsWith(QStringLiteral("Warning | Cannot write file ")), qPrintable(user.boxes.last()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "values.xls" }));
    }
    QDir::setCurrent(QDir::tempPath());
}

void tst_RamMonitor::saveChart()
{
    QVERIFY(m_a.prepare(0, QString(), false));
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    UserAnswers user;
    user.fileNames << QStringLiteral("chart") << QStringLiteral("chart.xyz");
    QTest::mouseClick(ram()->saveChartButton, Qt::LeftButton);
    QCOMPARE(user.dialogs, QStringList({ "Save Chart | *.png" }));
    const QImage picture(dir.filePath(QStringLiteral("chart.png")), "PNG");
    QVERIFY(!picture.isNull() && picture.width() > 300 && picture.height() > 300);
    // A name whose ending names no picture format: nothing written, and the user is told.
    QTest::mouseClick(ram()->saveChartButton, Qt::LeftButton);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({ "chart.png" }));
    QCOMPARE(user.boxes.size(), 1);
    QVERIFY2(user.boxes.first().startsWith(QStringLiteral("Warning | Cannot write file ") + dir.filePath(QStringLiteral("chart.xyz"))),
             qPrintable(user.boxes.first()));
    QDir::setCurrent(QDir::tempPath());
}

void tst_RamMonitor::optionDialog()
{
    QVERIFY(m_a.prepare(0, QString(), false));
    QString seen;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *d = qobject_cast<OptionDialog *>(modal);
        if (!d)
            return;
        seen = QStringLiteral("%1 %2 %3").arg(d->objectName()).arg(d->xAxisSpinBox->value()).arg(d->yAxisSpinBox->value());
        d->xAxisSpinBox->setValue(30);
        d->yAxisSpinBox->setValue(5000);
        QTest::mouseClick(d->okButton, Qt::LeftButton);
    });
    QTest::mouseClick(ram()->optionButton, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("RamAdvancePlot 60 300"));
    QCOMPARE(ram()->plot->xInterval().maxValue(), 30.0);
    QCOMPARE(ram()->plot->yInterval().maxValue(), 5000.0);
    // The monitor window's own chart is not touched.
    QCOMPARE(m_a.window->plot->xInterval().maxValue(), 60.0);
}

void tst_RamMonitor::noChannelPausesBetweenPasses()
{
    QVERIFY(m_a.prepare(0));
    ram()->channelBoxes[0]->setChecked(false);
    ram()->channelBoxes[1]->setChecked(false);
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTest::qWait(500);
    QTest::mouseClick(ram()->stopButton, Qt::LeftButton);
    // 20 ms a pass: some 25 in half a second, not thousands.
    const int passes = ram()->plot->samples(2).size();
    QVERIFY2(passes >= 5 && passes <= 30, qPrintable(QString::number(passes)));
    QCOMPARE(framesAfter(start).size(), 0);
}

void tst_RamMonitor::untestedStationIsRefused()
{
    QVERIFY(m_a.prepare(0));
    m_a.fix.nav()->stationTested[1] = 0;
    const double start = monotonicSeconds();
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTest::qWait(200);
    QCOMPARE(m_a.fix.boxTexts(), QStringList({ "Please execute connection test first!" }));
    QVERIFY(ram()->runButton->isEnabled() && !ram()->ramThread.isRunning());
    QCOMPARE(framesAfter(start).size(), 0);
}

void tst_RamMonitor::stopAndRunAtOnce()
{
    QVERIFY(m_a.prepare(0));
    setChannel(0, QStringLiteral("9000"), 1, true);
    setChannel(1, QStringLiteral("D000"), 2, true);
    for (int i = 0; i < 200; ++i) {
        QTest::mouseClick(ram()->runButton, Qt::LeftButton);
        if (i % 20 == 0)
            QTest::qWait(5);
        QTest::mouseClick(ram()->stopButton, Qt::LeftButton);
        // The new settings reach a loop that is no longer running.
        setChannel(1, i % 2 ? QStringLiteral("D000") : QStringLiteral("9002"), i % 3, true);
    }
    QVERIFY(!ram()->ramThread.isRunning());
    const double joined = monotonicSeconds();
    QTest::qWait(200);
    QCOMPARE(framesAfter(joined).size(), 0);
    QCOMPARE(m_a.fix.boxes().size(), 0);
    // And it still reads.
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTRY_COMPARE(ram()->valueEdits[0]->text(), QStringLiteral("13432"));
}

void tst_RamMonitor::closeAndDestroyMidPass()
{
    QVERIFY(m_a.prepare(0));
    for (int i = 0; i < 200; ++i) {
        auto *page = new Ram(nullptr);
        page->addressEdits[0]->setText(QStringLiteral("9000"));
        QMetaObject::invokeMethod(page->runButton, "click");
        QVERIFY(page->ramThread.isRunning());
        if (i % 50 == 0)
            QTRY_VERIFY(!page->plot->samples(2).isEmpty());
        delete page;
    }
    // The monitor window's close stops and joins the page's poller.
    QTest::mouseClick(ram()->runButton, Qt::LeftButton);
    QTRY_VERIFY(!ram()->plot->samples(2).isEmpty());
    m_a.window->close();
    QVERIFY(!ram()->ramThread.isRunning());
    const double joined = monotonicSeconds();
    QTest::qWait(200);
    QCOMPARE(framesAfter(joined).size(), 0);
    QCOMPARE(m_a.fix.boxes().size(), 0);
}

QTEST_MAIN(tst_RamMonitor)
#include "tst_rammonitor.moc"

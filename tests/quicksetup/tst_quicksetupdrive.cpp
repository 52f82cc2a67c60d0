// The wizard end to end: opened from the menu, chosen in as a user would, OK pressed; what reached
// the simulated drive's journal is compared with the writes expected, written out by hand.
#include "quicksetup/quicksetup.h"
#include "transferfixture.h"
#include "wizardfixture.h"

#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QWindow>

#include <functional>

namespace {

const QString kShipped = QStringLiteral("shipped");

// Series A with the shipped keys and factory choices.
const QString kSeriesA = QStringLiteral(
    "400=65535 1=12000 3=6000 19=65535 7=500 8=500 71=1 40=1 85=5 129=2 130=0 "
    "568=65535 569=65535 570=65535 571=65535 572=65535 573=65535 574=65535 575=65535 "
    "576=65535 577=65535 578=65535 579=65535 580=65535 581=65535 582=65535 583=65535 "
    "80=2 81=3 82=4 83=0 84=1 86=30 126=5 127=8 128=7 "
    "551=65535 552=65535 553=65535 554=65535 555=65535 556=65535 "
    "559=65535 560=65535 561=65535 562=65535 563=65535 564=65535 550=57 79=3");
const QString kSeriesG = QStringLiteral("1=12000 3=6000 19=65535 7=50 8=50 71=1 40=1 130=0 79=3");

QuickSetup *openWizard()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *wizard = qobject_cast<QuickSetup *>(w); wizard && wizard->isVisible())
            return wizard;
    }
    return nullptr;
}

// Chooses as a user would: "control=3 method=2 brake=1 out0=11 in6=42 freq=700 accel=700".
void choose(QuickSetup *w, const QString &choices)
{
    auto pick = [](QComboBox *combo, int index) {
        combo->setCurrentIndex(index);
        QCOMPARE(combo->currentIndex(), index);
    };
    auto type = [](QAbstractSpinBox *spin, const QString &text) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Tab);
    };
    for (const QString &item : choices.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        if (key == QLatin1String("control")) {
            w->tabWidget->setCurrentIndex(0);
            pick(w->controlMethodCombo, value.toInt());
        } else if (key == QLatin1String("method")) {
            w->tabWidget->setCurrentIndex(2);
            pick(w->frequencySourceCombo, value.toInt());
        } else if (key == QLatin1String("brake")) {
            w->tabWidget->setCurrentIndex(2);
            pick(w->brakeCombo, value.toInt());
        } else if (key.startsWith(QLatin1String("out"))) {
            w->tabWidget->setCurrentIndex(3);
            w->functionTabWidget->setCurrentIndex(0);
            pick(w->outputFunctionCombos[key.mid(3).toInt()], value.toInt());
        } else if (key.startsWith(QLatin1String("in"))) {
            w->tabWidget->setCurrentIndex(3);
            w->functionTabWidget->setCurrentIndex(1);
            pick(w->inputFunctionCombos[key.mid(2).toInt()], value.toInt());
        } else {
            w->tabWidget->setCurrentIndex(1);
            QAbstractSpinBox *spin = key == QLatin1String("freq")    ? static_cast<QAbstractSpinBox *>(w->maxFrequencySpin)
                                     : key == QLatin1String("base")  ? w->baseFrequencySpin
                                     : key == QLatin1String("volt")  ? static_cast<QAbstractSpinBox *>(w->maxVoltageSpin)
                                     : key == QLatin1String("accel") ? w->accelTimeSpin
                                                                     : w->decelTimeSpin;
            type(spin, value);
        }
    }
}

} // namespace

class TestQuickSetupDrive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void okWritesTheSetUp_data();
    void okWritesTheSetUp();
    void closingWritesNothing_data();
    void closingWritesNothing();
    void refusalStopsTheRun();
    void lostLinkStopsTheRun();
    void unwritableValueWritesNothing_data();
    void unwritableValueWritesNothing();

private:
    bool startDrive(int protocol, char series, const QString &keys, const QString &firmware,
                    const QStringList &extra = {});
    // Opens the wizard from the menu and hands it to `user`; returns when the wizard is gone.
    bool runWizard(const std::function<void(QuickSetup *)> &user);
    QString writes(int protocol) const;
    TransferFixture m_fx;
};

void TestQuickSetupDrive::initTestCase()
{
    QVERIFY(m_fx.setUpProgram());
    // The shipped data, with a terminal file that also covers the series no shipped file names.
    const QString info = g_appDir + QStringLiteral("ParameterInforamtion");
    const QString shipped = binDir() + QStringLiteral("/ParameterInforamtion");
    QVERIFY(QFile::remove(info));
    QVERIFY(QDir().mkpath(info + QStringLiteral("/InvType")));
    for (const QFileInfo &entry : QDir(shipped).entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
        if (entry.fileName() != QLatin1String("InvType"))
            QVERIFY(QFile::link(entry.filePath(), info + QLatin1Char('/') + entry.fileName()));
    }
    for (const QFileInfo &entry : QDir(shipped + QStringLiteral("/InvType")).entryInfoList(QDir::Files)) {
        if (entry.fileName() != QLatin1String("inputAndOutput.txt"))
            QVERIFY(QFile::link(entry.filePath(), info + QStringLiteral("/InvType/") + entry.fileName()));
    }
    QFile file(shipped + QStringLiteral("/ParameterInforamtion/InvType/inputAndOutput.txt"));
    QFile own(shipped + QStringLiteral("/InvType/inputAndOutput.txt"));
    QVERIFY(own.open(QIODevice::ReadOnly));
    QVERIFY(wizardtest::writeTerminalFile(g_appDir, own.readAll() + "GLXTH0-0.00-99.99\r\n"
                                                        + wizardtest::functionLine(70) + "\r\n"));
}

void TestQuickSetupDrive::cleanupTestCase() { m_fx.tearDown(); }

void TestQuickSetupDrive::init() {}

void TestQuickSetupDrive::cleanup() { m_fx.stopDriveAfter(); }

bool TestQuickSetupDrive::startDrive(int protocol, char series, const QString &keys, const QString &firmware,
                                     const QStringList &extra)
{
    const QString params = series == 'A' || series == 'S' ? QString(QLatin1Char(series)) : QStringLiteral("D");
    QStringList lines { QStringLiteral("series %1").arg(series == '0' ? QLatin1Char('D') : QLatin1Char(series)),
                        QStringLiteral("include %1/tools/drivesim/scenarios/%2.params").arg(sourceDir(), params),
                        QStringLiteral("P 99 0 0..4 0") };
    // Series without a parameter set of their own take series D's, with their own terminal codes.
    if (params == QLatin1String("D") && series != 'D')
        lines << QStringLiteral("P 85 0 0..65535 0") << QStringLiteral("P 129 0 0..65535 0")
              << QStringLiteral("P 130 0 0..65535 0") << QStringLiteral("P 126 0 0..65535 0")
              << QStringLiteral("P 550 0 0..65535 0");
    if (!m_fx.connectDrive(protocol, lines + extra))
        return false;
    m_fx.resetState();
    g_seriesLetter = series;
    g_firmwareVersion = firmware;
    if (keys == kShipped)
        loadTypeInfo();
    else
        wizardtest::setKeys(series, keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    // The table the wizard takes defaults from (none for a series without files), loaded without a word on the line.
    m_fx.window()->navigation->stationTested[1] = 0;
    m_fx.form()->loadParameterTable();
    m_fx.window()->navigation->stationTested[1] = 1;
    m_fx.window()->setControlsEnabled(true);
    return true;
}

bool TestQuickSetupDrive::runWizard(const std::function<void(QuickSetup *)> &user)
{
    bool reached = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QuickSetup *w = openWizard(); w && !reached) {
            reached = true;
            poll.stop();
            user(w);
        }
    });
    poll.start();
    m_fx.window()->actQuickSetup->trigger();
    return reached && !openWizard();
}

QString TestQuickSetupDrive::writes(int protocol) const
{
    // A try the drive took but left unanswered (a loaded machine) and its retry count once.
    const QList<WireRequest> all = m_fx.requests(protocol);
    QList<bool> answered;
    for (const JournalFrame &f : SimulatedDrive::framesOf(m_fx.journal()))
        f.received ? answered.append(false) : void(answered.isEmpty() || (answered.last() = true));
    QStringList out;
    for (int i = 0; i < all.size(); ++i)
        if (all.at(i).kind == QLatin1String("write") && (answered.value(i) || all.value(i + 1).bytes != all.at(i).bytes))
            out << QStringLiteral("%1=%2").arg(all.at(i).parameter).arg(all.at(i).value);
    return out.join(QLatin1Char(' '));
}

void TestQuickSetupDrive::okWritesTheSetUp_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<char>("series");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("choices");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A rtu") << 1 << 'A' << "0.55" << kShipped << "" << kSeriesA;
    QTest::newRow("A ascii") << 2 << 'A' << "0.55" << kShipped << "" << kSeriesA;
    QTest::newRow("A taviron") << 0 << 'A' << "0.55" << kShipped << "" << kSeriesA;
    QTest::newRow("A speed") << 1 << 'A' << "0.55" << kShipped << "control=1" << QString(kSeriesA).replace("400=65535", "400=0");
    QTest::newRow("A torque") << 1 << 'A' << "0.55" << kShipped << "control=2" << QString(kSeriesA).replace("400=65535", "400=1");
    QTest::newRow("A position") << 1 << 'A' << "0.55" << kShipped << "control=3" << QString(kSeriesA).replace("400=65535", "400=2");
    QTest::newRow("A input 42 and 43") << 1 << 'A' << "0.55" << kShipped << "in0=42 in1=43 out0=12"
        << QString(kSeriesA).replace("80=2 81=3", "80=41 81=43").replace("40=1 ", "40=16 ");
    QTest::newRow("A every selector NULL") << 1 << 'A' << "0.55" << kShipped
        << "out0=0 out1=0 out2=0 out3=0 in0=0 in1=0 in2=0 in3=0 in4=0 in5=0 in6=0 in7=0 in8=0"
        << QString(kSeriesA).replace(QRegularExpression(" (40|85|129|130|8[0-46]|12[6-8])=\\d+"), " \\1=65535");
    // M3 to M5 would start the motor like STF: they keep what the drive holds.
    QTest::newRow("D shipped") << 0 << 'D' << "0.52" << kShipped << ""
                               << "1=12000 3=6000 19=65535 7=500 8=500 71=1 40=1 85=5 129=0 130=0 80=2 81=3 82=4 83=0 84=1 86=30 "
                                  "126=5 127=8 128=7 79=3";
    QTest::newRow("S shipped") << 2 << 'S' << "0.25" << kShipped << ""
                               << "1=12000 3=6000 19=65535 7=500 8=500 71=1 40=1 85=5 130=0 80=2 81=3 82=4 83=0 84=1 86=30 79=3";
    // The selectors as read from the drive: 0.1 s under P.21 = 1, series A's frequencies in 0.1 Hz under P.187 = 1.
    QTest::newRow("A P.21 1") << 1 << 'A' << "0.55" << kShipped + " / set 21 1" << "" << QString(kSeriesA).replace("7=500 8=500", "7=50 8=50");
    QTest::newRow("D P.21 1") << 0 << 'D' << "0.52" << kShipped + " / set 21 1" << "accel=12.35 decel=3600" << "1=12000 3=6000 19=65535 7=123 8=36000 71=1 40=1 85=5 129=0 130=0 80=2 81=3 82=4 83=0 84=1 86=30 126=5 127=8 128=7 79=3";
    QTest::newRow("S P.21 1") << 2 << 'S' << "0.25" << kShipped + " / set 21 1" << "" << "1=12000 3=6000 19=65535 7=50 8=50 71=1 40=1 85=5 130=0 80=2 81=3 82=4 83=0 84=1 86=30 79=3";
    QTest::newRow("A P.187 1") << 2 << 'A' << "0.55" << kShipped + " / set 187 1" << ""
                               << QString(kSeriesA).replace("1=12000 3=6000", "1=1200 3=600");
    QTest::newRow("A P.187 1 after the load") << 2 << 'A' << "0.55" << kShipped + " /  / set 187 1" << ""
                                              << QString(kSeriesA).replace("1=12000 3=6000", "1=1200 3=600");
    // The selector's read refused at the load and again at OK: nothing in a guessed unit, nothing at all.
    QTest::newRow("A P.187 unread") << 1 << 'A' << "0.55" << kShipped + " / set 187 1;refuse param 187 read" << "" << "";
    QTest::newRow("G no keys") << 1 << 'G' << "0.30" << "" << "" << kSeriesG;
    QTest::newRow("G terminal keys") << 1 << 'G' << "0.30" << "quicksetup_P80-P86NotH quicksetup_P126-P130" << ""
        << "1=12000 3=6000 19=65535 7=50 8=50 71=1 40=1 85=5 129=0 130=0 80=2 81=3 82=4 83=0 84=1 86=30 126=0 127=0 128=0 79=3";
    QTest::newRow("G fine times") << 1 << 'G' << "0.30" << "quicksetup_P7 quicksetup_P8" << "accel=12.34 decel=0.5"
                                  << "1=12000 3=6000 19=65535 7=1234 8=50 71=1 40=1 130=0 79=3";
    QTest::newRow("G coarse times") << 1 << 'G' << "0.30" << "" << "accel=12.34 decel=0.5 freq=50 base=50 volt=380"
                                    << "1=5000 3=5000 19=3800 7=123 8=5 71=1 40=1 130=0 79=3";
    const int methods[] = { 1, 1, 2, 2, 3, 5, 6, 7, 8 };
    for (int m = 0; m < 9; ++m)
        QTest::newRow(qPrintable(QStringLiteral("G method %1").arg(m)))
            << 1 << 'G' << "0.30" << "" << QStringLiteral("method=%1").arg(m)
            << QStringLiteral("1=12000 3=6000 19=65535 7=50 8=50 71=1 40=1 130=0 79=%1").arg(methods[m]);
    QTest::newRow("G idling") << 1 << 'G' << "0.30" << "" << "brake=1" << "1=12000 3=6000 19=65535 7=50 8=50 71=0 40=1 130=0 79=3";
    QTest::newRow("G V/F") << 1 << 'G' << "0.30" << "" << "control=1" << "300=0 " + kSeriesG;
    QTest::newRow("G closed-loop vector") << 1 << 'G' << "0.30" << "" << "control=5" << "300=4 " + kSeriesG;
    QTest::newRow("G outputs 11 12 inputs 42") << 1 << 'G' << "0.30" << "quicksetup_P80-P86NotH quicksetup_P126-P130"
        << "out0=11 out1=12 out2=11 out3=12 in0=42 in6=42"
        << "1=12000 3=6000 19=65535 7=50 8=50 71=1 40=11 85=12 129=11 130=12 80=43 81=3 82=4 83=0 84=1 86=30 126=42 127=0 128=0 79=3";
    QTest::newRow("L no keys") << 1 << 'L' << "0.30" << "" << ""
        << "1=12000 3=6000 19=65535 7=50 8=50 71=1 40=1 130=0 80=2 81=3 82=4 83=0 84=1 86=30 126=5 550=57 79=3";
    QTest::newRow("L keys") << 1 << 'L' << "0.30" << "quicksetup_P7 quicksetup_P8 quicksetup_P80-P86NotH quicksetup_P126-P130" << ""
        << "1=12000 3=6000 19=65535 7=500 8=500 71=1 40=1 85=5 129=2 130=0 80=2 81=3 82=4 83=0 84=1 86=30 126=5 550=57 79=3";
    QTest::newRow("L output 11 input 42") << 1 << 'L' << "0.30" << "" << "out0=11 out3=11 in0=42"
        << "1=12000 3=6000 19=65535 7=50 8=50 71=1 40=16 130=16 80=43 81=3 82=4 83=0 84=1 86=30 126=5 550=57 79=3";
    QTest::newRow("X") << 1 << 'X' << "0.60" << "" << "control=3 out0=12 out3=12"
                       << "300=3 1=12000 3=6000 19=65535 7=50 8=50 71=1 40=17 130=17 79=3";
    QTest::newRow("X output 11") << 1 << 'X' << "0.60" << "" << "out0=11 out3=11" << QString(kSeriesG).replace("40=1 130=0", "40=11 130=11");
    QTest::newRow("T") << 1 << 'T' << "0.40" << "" << "control=2" << "300=2 " + kSeriesG;
    QTest::newRow("H") << 1 << 'H' << "0.40" << "" << "control=1" << "99=0 " + kSeriesG;
    QTest::newRow("no series") << 1 << '0' << "0" << "" << "control=1" << kSeriesG;
}

void TestQuickSetupDrive::okWritesTheSetUp()
{
    QFETCH(int, protocol);
    QFETCH(char, series);
    QFETCH(QString, firmware);
    QFETCH(QString, keys);
    QFETCH(QString, choices);
    QFETCH(QString, expected);
    QVERIFY(startDrive(protocol, series, keys.section(" / ", 0, 0), firmware, keys.section(" / ", 1, 1).split(';', Qt::SkipEmptyParts)));
    m_fx.form()->loadParameterTable(); // the drive's selectors as a connection test reads them
    if (!keys.section(" / ", 2).isEmpty())
        m_fx.control(keys.section(" / ", 2)); // at the keypad, after the load
    QVERIFY(runWizard([&](QuickSetup *w) {
        choose(w, choices);
        w->tabWidget->setCurrentIndex(3);
        QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
        if (w->isVisible()) // a failed run leaves it open
            w->close();
    }));
    QCOMPARE(writes(protocol), expected);
    const QString refused = "Illegal data value!\nThe unit of P.1, P.3 is set by P.187, which could not be read: nothing "
                            "was written."; // at OK, beside the load's refusal
    QVERIFY2(keys.contains("refuse") ? m_fx.boxes.texts().contains(refused) : m_fx.boxes.texts().isEmpty(),
             qPrintable(m_fx.boxes.texts().join('|')));
}

void TestQuickSetupDrive::closingWritesNothing_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("how"); // 0 Escape, 1 close(), 2 the title bar's close button
    for (int step = 0; step < 4; ++step) {
        QTest::newRow(qPrintable(QStringLiteral("step %1 escape").arg(step + 1))) << step << 0;
        QTest::newRow(qPrintable(QStringLiteral("step %1 close").arg(step + 1))) << step << 1;
        QTest::newRow(qPrintable(QStringLiteral("step %1 close button").arg(step + 1))) << step << 2;
    }
}

void TestQuickSetupDrive::closingWritesNothing()
{
    QFETCH(int, step);
    QFETCH(int, how);
    QVERIFY(startDrive(1, 'G', QString(), "0.30"));
    QVERIFY(runWizard([&](QuickSetup *w) {
        choose(w, "control=2 freq=50 method=1 brake=1 out0=3 in0=5");
        w->tabWidget->setCurrentIndex(step);
        if (how == 0)
            QTest::keyClick(w, Qt::Key_Escape);
        else if (how == 1)
            w->close();
        else // the window system's close request, as the title bar's button sends it
            QVERIFY(w->windowHandle() && w->windowHandle()->close());
    }));
    QCOMPARE(writes(1), QString());
    QVERIFY(m_fx.journal().isEmpty());
}

void TestQuickSetupDrive::refusalStopsTheRun()
{
    QVERIFY(startDrive(1, 'G', QString(), "0.30", { "refuse param 3 write" }));
    QString firstRun;
    int tabAfterRefusal = -1;
    QStringList boxesAfterRefusal;
    QVERIFY(runWizard([&](QuickSetup *w) {
        choose(w, "control=2");
        w->tabWidget->setCurrentIndex(3);
        QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
        QTRY_VERIFY(!m_fx.boxes.texts().isEmpty());
        firstRun = writes(1);
        boxesAfterRefusal = m_fx.boxes.texts();
        tabAfterRefusal = w->isVisible() ? w->tabWidget->currentIndex() : -2;
        // The drive takes P.3 now; OK starts again at the first row.
        m_fx.control(QStringLiteral("clear"));
        QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
    }));
    QCOMPARE(firstRun, QString("300=1 1=12000 3=6000"));
    QCOMPARE(boxesAfterRefusal, QStringList { "Illegal data value!\nThe drive did not take P.3 = 60 (\"Maximum "
                                              "Voltage Frequency\"). The set-up stopped there: the values before it "
                                              "are written, none after it." });
    QCOMPARE(tabAfterRefusal, 3);
    QCOMPARE(writes(1), "300=1 1=12000 3=6000 300=1 " + kSeriesG);
}

void TestQuickSetupDrive::lostLinkStopsTheRun()
{
    // Three requests are answered (P.1, P.3, P.19); P.7 meets a silent line.
    QVERIFY(startDrive(1, 'G', QString(), "0.30", { "fault silent-after 3" }));
    bool stillOpen = false;
    QVERIFY(runWizard([&](QuickSetup *w) {
        w->tabWidget->setCurrentIndex(3);
        QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
        QTRY_VERIFY(!m_fx.boxes.texts().isEmpty());
        QTest::qWait(100);
        stillOpen = w->isVisible();
        w->close();
    }));
    int closedByOk = 0;
    for (int tested : { 1, 0 }) { // OK on the lost link: once its loss was told, once the station's test was taken back
        m_fx.window()->navigation->stationTested[1] = 1; // the dock took it back at the loss: the wizard opens again
        QVERIFY(runWizard([&](QuickSetup *w) {
            m_fx.window()->navigation->stationTested[1] = tested;
            w->tabWidget->setCurrentIndex(3);
            QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
            closedByOk += !w->isVisible();
            w->close();
        }));
        QTRY_COMPARE(m_fx.boxes.texts().size(), 3 - tested); // the loss's box opens once the wizard has gone
    }
    QVERIFY(stillOpen && closedByOk == 2); // the run that lost the link left it open; OK on it closes it
    QCOMPARE(m_fx.boxes.texts(),
             QStringList({ "Communication Error!", "Communication Error!", "Please execute connection test first!" }));
    QCOMPARE(m_fx.window()->connectButton->text(), QString("Off-Line"));
    const QStringList all = writes(1).split(QLatin1Char(' '));
    QCOMPARE(all.mid(0, 3), QStringList({ "1=12000", "3=6000", "19=65535" }));
    for (const QString &w : all.mid(3))
        QCOMPARE(w, QString("7=50")); // only the tries of the write that found no answer
}

void TestQuickSetupDrive::unwritableValueWritesNothing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("choices");
    QTest::addColumn<QString>("message");
    QTest::newRow("frequency") << "" << "freq=655.36" << "\"Maximum Output Frequency\" can be at most 655.35 Hz.";
    QTest::newRow("base frequency") << "" << "base=700" << "\"Maximum Voltage Frequency\" can be at most 655.35 Hz.";
    QTest::newRow("voltage") << "" << "volt=6554" << "\"Maximum Output Voltage\" can be at most 6553 V, or 9999 for no set value.";
    QTest::newRow("voltage 99999 range") << "quicksetup_outVolSpinBox" << "volt=10000"
                                         << "\"Maximum Output Voltage\" can be at most 6553 V, or 9999 for no set value.";
    QTest::newRow("fine time") << "quicksetup_P7" << "accel=655.36" << "\"Acceleration Time\" can be at most 655.35 s.";
    QTest::newRow("coarse time") << "" << "decel=6553.6" << "\"Deceleration Time\" can be at most 6553.5 s.";
}

void TestQuickSetupDrive::unwritableValueWritesNothing()
{
    QFETCH(QString, keys);
    QFETCH(QString, choices);
    QFETCH(QString, message);
    QVERIFY(startDrive(1, 'G', keys, "0.30"));
    bool stillOpen = false;
    QVERIFY(runWizard([&](QuickSetup *w) {
        choose(w, choices);
        w->tabWidget->setCurrentIndex(3);
        QTest::mouseClick(w->stepFourOkButton, Qt::LeftButton);
        QTRY_VERIFY(!m_fx.boxes.texts().isEmpty());
        stillOpen = w->isVisible();
        w->close();
    }));
    QVERIFY(stillOpen);
    QCOMPARE(m_fx.boxes.texts(), QStringList { message + "\nNothing was written." });
    QCOMPARE(writes(1), QString());
}

QTEST_MAIN(TestQuickSetupDrive)
#include "tst_quicksetupdrive.moc"

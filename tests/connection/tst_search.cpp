// The connection test and automatic search against the simulated drive: the step at which each
// line setting is found, one probe per step at the search's pace, what the program shows after a
// success, a failure and an unidentified drive, and the identification of scenario drives.

#include "comm/readwritezr.h"
#include "comm/typeinfo.h"
#include "connection/search.h"
#include "connection/settype.h"
#include "parameter/parameter.h"
#include "parameter/paramglobals.h"
#include "searchfixture.h"
#include "shell/navigation.h"
#include "shell/startup.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardItem>
#include <QToolButton>
#include <QPointer>
#include <QThread>
#include <QTreeView>
#include <atomic>
#include <thread>

namespace {

// The program keeps 100 ms between the starts of its probes. On a loaded test machine a probe may
// reach the line, or the drive's journal, some milliseconds late, which shortens the gap after it:
// each gap is held to a looser bound than their mean. Probes sent unpaced come milliseconds apart.
QString paceFault(const QList<JournalFrame> &probes)
{
    const double minGap = 0.060, minMean = 0.090; // seconds
    for (int i = 1; i < probes.size(); ++i)
        if (probes.at(i).at - probes.at(i - 1).at < minGap)
            return QStringLiteral("probe %1 came %2 s after the one before")
                .arg(i)
                .arg(probes.at(i).at - probes.at(i - 1).at);
    const double mean = probes.size() > 1 ? (probes.last().at - probes.first().at) / (probes.size() - 1) : minMean;
    return mean < minMean ? QStringLiteral("probes %1 s apart on average").arg(mean) : QString();
}

const QString Found = QStringLiteral("Connection successful !\nThe INV type is: %1     ");
const QString Unknown = QStringLiteral("The INV type is <font size='+1'><b>unknown</b></font>. "
                                       "Please click OK to select manually.");

QString selectors(const CComSetup *d)
{
    QStringList parts;
    for (QComboBox *combo : { d->ProcomboBox, d->BaudcomboBox, d->DatacomboBox, d->CheckComboBox, d->StopComboBox,
                              d->CRComboBox, d->TimeComboBox })
        parts << combo->currentText() + (combo->isEnabled() ? "" : "!");
    return parts.join('|');
}

// Dialog presets: protocol, baud, data, stop, parity, terminator index.
using Preset = QVector<int>;

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void findsTheDriveAtItsStep_data();
    void findsTheDriveAtItsStep();
    void silentDriveEndsInTheFailurePath();
    void typedDelayIsChecked();
    void lostLinkTakesTheStationOffLine();
    void unidentifiedDriveIsChosenByHand_data();
    void unidentifiedDriveIsChosenByHand();
    void identifiesScenarioDrives_data();
    void identifiesScenarioDrives();
    void knownStationKeepsOneItem_data();
    void knownStationKeepsOneItem();
    void replacedProtocolObjectsStayAlive();
    void searchedDriveIsWrittenAtItsResolution();
    void eachSearchReadsTheCommandTable();
    void tableLoadsOnlyFromAnswers_data();
    void tableLoadsOnlyFromAnswers();

private:
    // Runs the set-up dialog: preset from the globals, station 1, the test started and the search
    // moved on to startStep. Boxes are read and closed after holdMs; the drive-type dialog goes
    // to onSetType. A failed search closes the dialog.
    void runSetup(const Preset &preset, int startStep, std::function<void(CSetType *)> onSetType = {},
                  int holdMs = 50, std::function<void()> beforeSearch = {});

    QTemporaryDir m_appDir;
    QTemporaryDir m_work;
    TemporaryRegistry *m_registry = nullptr;
    CMainWindow *m_window = nullptr;
    QList<SeenBox> m_boxes;
    QStringList m_shownAtBox;
    QString m_typedDelay; // null: the delay box as the dialog shows it
    std::function<void()> m_atFound; // at the box that names the drive found
};

void TestSearch::initTestCase()
{
    QVERIFY(makeAppDir(m_appDir));
    initShellResources();
    QVERIFY(loadTypeInfo()); // as at start-up: which reads load the table depends on it
}

void TestSearch::init()
{
    m_registry = new TemporaryRegistry;
    g_commandLineDoc.clear();
    m_boxes.clear();
    m_shownAtBox.clear();
}

void TestSearch::cleanup()
{
    delete m_window;
    m_window = nullptr;
    g_mainWindow = nullptr;
    delete m_registry;
    m_registry = nullptr;
}

void TestSearch::runSetup(const Preset &preset, int startStep, std::function<void(CSetType *)> onSetType, int holdMs,
                          std::function<void()> beforeSearch)
{
    if (!m_window) // else a test's own poller thread may already be reading the pointer
        g_mainWindow = m_window = new CMainWindow(nullptr);
    g_protocolIndex = preset.at(0);
    g_baudIndex = preset.at(1);
    g_dataBitsIndex = preset.at(2);
    g_stopBitsIndex = preset.at(3);
    g_parityIndex = preset.at(4);
    g_crLfIndex = preset.at(5);
    g_portName = QStringLiteral("Com7");

    CComSetup *setup = m_window->comSetup;
    bool started = false;
    bool failed = false;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal == setup) {
            if (!started) {
                started = true;
                QVERIFY(chooseComboText(setup->autoStation, QStringLiteral("1")));
                if (!m_typedDelay.isNull())
                    setup->TimeComboBox->setCurrentText(m_typedDelay);
                QTest::mouseClick(setup->AutoButton, Qt::LeftButton);
                setup->testStep = startStep;
            } else if (failed) {
                // Modal again before the failure path behind its box has ended the test: closed only after that.
                auto *closer = new QTimer(setup);
                QObject::connect(closer, &QTimer::timeout, setup, [setup, closer] {
                    if (g_connectionTest)
                        return;
                    closer->stop();
                    setup->close();
                });
                closer->start(10);
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            m_boxes.append({ box->windowTitle(), box->text(), box->icon() });
            m_shownAtBox.append(selectors(setup));
            failed = failed || box->text() == QLatin1String("Please check the station and COM port!");
            if (m_atFound && box->text().startsWith(QLatin1String("Connection successful")))
                m_atFound();
            QTimer::singleShot(holdMs, box, [box] { box->button(QMessageBox::Ok)->click(); });
        } else if (auto *dialog = qobject_cast<CSetType *>(modal)) {
            if (onSetType)
                onSetType(dialog);
            else
                dialog->reject();
        }
    });
    if (beforeSearch)
        beforeSearch();
    // The menu's "Communication Setup Wizard", as the user starts it.
    QAction *action = m_window->findChild<QAction *>(QStringLiteral("actCom"));
    QVERIFY(action);
    action->trigger();
}

void TestSearch::findsTheDriveAtItsStep_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<int>("startStep");
    QTest::addColumn<int>("foundStep");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("probe"); // what the last step sent, in hex

    const Preset rtu19200 { 1, 2, 1, 0, 2, 0 };
    QTest::newRow("own settings at step 0")
        << "protocol rtu\nbaud 19200\ndata 8\nparity E\nstop 1\nterminator none" << rtu19200 << 0 << 0
        << "Modbus RTU|19200|8!|Even|1|None!|10" << QByteArray("010310010001d10a");
    // At 9600 baud the character protocol's type-code exchange outlasts the receive window on the
    // simulated line, so this drive is one that reports no type code, and answers without delay.
    QTest::newRow("character protocol 9600 8N1 CR at step 1")
        << "protocol taviron\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator cr\ntypecode none\nturnaround-ms 0" << rtu19200 << 0 << 1
        << "Taviron protocol|9600|8|None|1|CR|10!" << QByteArray("05303137413030390d");
    QTest::newRow("38400 8N1 CR+LF at step 50")
        << "protocol taviron\nbaud 38400\ndata 8\nparity N\nstop 1\nterminator crlf" << rtu19200 << 49 << 50
        << "Taviron protocol|38400|8|None|1|CR+LF|10!" << QByteArray("05303137413030390d0a");
    QTest::newRow("38400 two stop bits and CR at step 51")
        << "protocol taviron\nbaud 38400\ndata 8\nparity N\nstop 2\nterminator cr" << rtu19200 << 50 << 51
        << "Taviron protocol|38400|8|None|2|CR|10!" << QByteArray("05303137413030390d");
    QTest::newRow("38400 7E2 CR+LF at step 72")
        << "protocol taviron\nbaud 38400\ndata 7\nparity E\nstop 2\nterminator crlf" << rtu19200 << 71 << 72
        << "Taviron protocol|38400|7|Even|2|CR+LF|10!" << QByteArray("05303137413030390d0a");
    QTest::newRow("ASCII 38400 7E1 at step 153")
        << "protocol ascii\nbaud 38400\ndata 7\nparity E\nstop 1\nterminator crlf" << rtu19200 << 152 << 153
        << "Modbus ASCII|38400|7!|Even|1|CR+LF!|10" << QByteArray(":010310010001EA\r\n").toHex();
    QTest::newRow("ASCII 57600 7N2 at step 157")
        << "protocol ascii\nbaud 57600\ndata 7\nparity N\nstop 2\nterminator crlf" << rtu19200 << 156 << 157
        << "Modbus ASCII|57600|7!|None|2|CR+LF!|10" << QByteArray(":010310010001EA\r\n").toHex();
    QTest::newRow("RTU 9600 8N1 at step 166")
        << "protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none" << rtu19200 << 165 << 166
        << "Modbus RTU|9600|8!|None|1|None!|10" << QByteArray("010310010001d10a");
    QTest::newRow("4800 baud comes fourth: RTU 8N1 at step 178")
        << "protocol rtu\nbaud 4800\ndata 8\nparity N\nstop 1\nterminator none\nturnaround-ms 0" << rtu19200 << 177
        << 178
        << "Modbus RTU|4800|8!|None|1|None!|10" << QByteArray("010310010001d10a");
    QTest::newRow("RTU 38400 8O1 at step 172")
        << "protocol rtu\nbaud 38400\ndata 8\nparity O\nstop 1\nterminator none" << rtu19200 << 171 << 172
        << "Modbus RTU|38400|8!|Odd|1|None!|10" << QByteArray("010310010001d10a");
    QTest::newRow("RTU 115200 8N1 at the last step")
        << "protocol rtu\nbaud 115200\ndata 8\nparity N\nstop 1\nterminator none" << rtu19200 << 185 << 186
        << "Modbus RTU|115200|8!|None|1|None!|10" << QByteArray("010310010001d10a");
}

void TestSearch::findsTheDriveAtItsStep()
{
    QFETCH(QString, line);
    QFETCH(Preset, preset);
    QFETCH(int, startStep);
    QFETCH(int, foundStep);
    QFETCH(QString, shown);
    QFETCH(QByteArray, probe);

    SimulatedDrive drive(QStringLiteral("COM7"));
    const bool typeCode = !line.contains("typecode none");
    QVERIFY(drive.startSeries("station 1\np90 207\ntypecode 21\n" + line));
    const QString type = typeCode ? "VM3-023-7.5K" : "VM3-023-5.5K";
    runSetup(preset, startStep);
    CComSetup *setup = m_window->comSetup;
    CNavigation *navigation = m_window->navigation;

    // One probe per step, paced by the 100 ms timer, the last one answered.
    const QList<JournalFrame> probes = drive.probesBeforeAnswer();
    QCOMPARE(probes.size(), foundStep - startStep + 1);
    QVERIFY2(paceFault(probes).isEmpty(), qPrintable(paceFault(probes)));
    QCOMPARE(probes.last().bytes.toHex(), probe);
    QCOMPARE(setup->testStep, foundStep);

    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).title, QString("INV Type"));
    QCOMPARE(m_boxes.at(0).text, Found.arg(type));
    QCOMPARE(m_boxes.at(0).icon, QMessageBox::NoIcon);
    QCOMPARE(m_shownAtBox.at(0), shown);
    QCOMPARE(setup->progressBar->value(), 186);
    QCOMPARE(setup->progressBar->format(), QString("Connection successful!"));
    QVERIFY(!setup->isVisible());

    QCOMPARE(navigation->treeRoot->rowCount(), 1);
    QStandardItem *item = navigation->treeRoot->child(0);
    QCOMPARE(item->text(), "NO.001 " + type);
    QCOMPARE(navigation->currentItem, item);
    QVERIFY(!item->icon().isNull());
    QVERIFY(!item->isEditable());
    QCOMPARE(item->background().color(), QColor(176, 196, 222));
    QCOMPARE(navigation->SysSettreeView->iconSize(), QSize(150, 75));
    QCOMPARE(navigation->stationTested[1], 1);
    QCOMPARE(navigation->stationTypes.at(1), type);
    QCOMPARE(navigation->PotLabel->text(), "Select station: NO.001 " + type);
    QCOMPARE(m_window->typeValueLabel->text(), type);
    QCOMPARE(m_window->connectButton->text(), QString("On-Line"));
    QCOMPARE(g_invType, type);
    QCOMPARE(g_seriesLetter.load(), 'D');
    QVERIFY(!g_offLine);
    QVERIFY(!g_connectionTest);
    QVERIFY(!setup->AutoButton->isHidden());
    QVERIFY(setup->CancleButton->isHidden());
    // The accepted dialog's settings are now the program's.
    QCOMPARE(g_baudIndex, setup->BaudcomboBox->findText(shown.section('|', 1, 1)));
    QCOMPARE(g_protocolIndex, setup->ProcomboBox->findText(shown.section('|', 0, 0)));
}

void TestSearch::silentDriveEndsInTheFailurePath()
{
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none\n"
                                       "station 1\nfault link-lost"));
    QFile log(g_appDir + QStringLiteral("Operation_log.txt"));
    QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
    log.close();
    // Each box stays open for several ticks of the search's timer.
    runSetup({ 0, 1, 1, 0, 0, 1 }, 183, {}, 450);
    // The search's outcome, not a line for each probe that found nothing.
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll().trimmed();
    QVERIFY2(logged.endsWith("\nConnection failed!") && !logged.contains("failure"), logged.constData());
    CComSetup *setup = m_window->comSetup;

    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).title, QString("INV Type"));
    QCOMPARE(m_boxes.at(0).text, QString("Please check the station and COM port!"));
    QCOMPARE(m_boxes.at(0).icon, QMessageBox::Warning);
    QTRY_COMPARE(drive.frames().size(), 4); // unanswered, a probe reaches the journal in the drive's own time
    const QList<JournalFrame> probes = drive.frames();
    QVERIFY2(paceFault(probes).isEmpty(), qPrintable(paceFault(probes)));

    QCOMPARE(setup->progressBar->styleSheet(), QString(ProgressStyleRed));
    QCOMPARE(setup->progressBar->format(), QString(" Connection failed!"));
    QCOMPARE(m_window->navigation->stationTested[1], 0);
    QCOMPARE(m_window->navigation->treeRoot->rowCount(), 0);
    QCOMPARE(m_window->connectButton->text(), QString("Off-Line"));
    QCOMPARE(g_protocolIndex, 0);
    QVERIFY(dynamic_cast<ReadWriteZR *>(g_readWrite.load()));
    QVERIFY(!g_connectionTest);
    QVERIFY(!setup->AutoButton->isHidden());
    QVERIFY(setup->CancleButton->isHidden());
    QVERIFY(!setup->autoTimer->isActive());
}

// The test's first step takes the typed delay through the set-up's check: 5000 ms is refused and the
// delay in force stays, for the test and after it.
void TestSearch::typedDelayIsChecked()
{
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 19200\ndata 8\nparity E\nstop 1\nterminator none\nstation 1\n"
                              "p90 207\ntypecode 21"));
    g_responseDelayMs = 10;
    m_typedDelay = QStringLiteral("5000");
    QElapsedTimer clock;
    clock.start();
    runSetup({ 1, 2, 1, 0, 2, 0 }, 0);
    m_typedDelay = QString();
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(m_boxes.at(1).text, QString("The delay \"5000\" was not taken: it must be a whole number of milliseconds "
                                         "from 0 to 1000. The delay stays 10 ms."));
    QCOMPARE(int(g_responseDelayMs), 10);
}

// Station 1 on line in CU: an unanswered STOP, then a failed connection test, each leave it off-line and quiet.
void TestSearch::lostLinkTakesTheStationOffLine()
{
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("station 1\np90 207\ntypecode 21\nprotocol rtu\nbaud 115200\ndata 8\nparity N\nstop 1"));
    QStringList seen;
    for (int round = 0; round < 2; ++round) {
        drive.control("clear");
        runSetup({ 1, 5, 1, 0, 0, 0 }, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->modeValueLabel->text(), QString("CU"), 3000);
        if (round == 1) // a mode switch just before: no poll painted when the test fails
            QTest::mouseClick(m_window->navigation->CUPB, Qt::LeftButton);
        drive.control("fault link-lost");
        if (round == 1)
            runSetup({ 1, 5, 1, 0, 0, 0 }, 185);
        QTest::qWait(100);
        ModalWatcher watcher([&](QWidget *box) {
            QTest::qWait(50);
            seen << static_cast<QMessageBox *>(box)->text() << m_window->connectButton->text()
                 << m_window->modeValueLabel->text();
            box->close();
        });
        QTest::mouseClick(round == 0 ? m_window->navigation->NaStopPB : m_window->navigation->NaFWDPB, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 3 * (round + 1), 5000);
    }
    QCOMPARE(seen.join('|'), QString("Communication Error!|Off-Line|STOP not answered: the drive may still run|"
                                     "Please execute connection test first!|Off-Line|"));
    QTRY_COMPARE(drive.journal().join('\n').count("silent: link lost"), 11); // STOP's ten tries, the last probe
}

void TestSearch::unidentifiedDriveIsChosenByHand_data()
{
    QTest::addColumn<QString>("type");  // chosen in the drive-type dialog; empty: cancelled
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("invType");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tested");

    QTest::newRow("cancelled") << "" << "" << "" << "Off-Line" << 0;
    QTest::newRow("confirmed without a type") << "None" << "" << "" << "Off-Line" << 0;
    QTest::newRow("type and power chosen") << "VM3-043" << "2.2K" << "VM3-043-2.2K" << "On-Line" << 1;
}

void TestSearch::unidentifiedDriveIsChosenByHand()
{
    QFETCH(QString, type);
    QFETCH(QString, power);
    QFETCH(QString, invType);
    QFETCH(QString, button);
    QFETCH(int, tested);

    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none\n"
                                       "station 1\np90 207\ntypecode 0"));
    bool dialogSeen = false;
    runSetup({ 1, 1, 1, 0, 0, 0 }, 0, [&](CSetType *dialog) {
        dialogSeen = true;
        QCOMPARE(dialog->StationSpinBox->value(), 0);
        QCOMPARE(dialog->InvTypecomboBox->currentIndex(), 0);
        if (type.isEmpty()) {
            QTest::mouseClick(dialog->SetTypeCancelPB, Qt::LeftButton);
            return;
        }
        QVERIFY(chooseComboText(dialog->InvTypecomboBox, type));
        if (!power.isEmpty())
            QVERIFY(chooseComboText(dialog->InvVolcomboBox, power));
        QTest::mouseClick(dialog->SetTypeOK, Qt::LeftButton);
    });
    CComSetup *setup = m_window->comSetup;
    CNavigation *navigation = m_window->navigation;

    QVERIFY(dialogSeen);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).text, Unknown);
    QCOMPARE(g_invType, invType);
    QCOMPARE(m_window->connectButton->text(), button);
    QCOMPARE(navigation->stationTested[1], tested);
    QCOMPARE(navigation->treeRoot->rowCount(), tested);
    if (tested)
        QCOMPARE(navigation->treeRoot->child(0)->text(), "NO.001 " + invType);
    if (type.isEmpty()) {
        QCOMPARE(setup->progressBar->format(), QString(" Connection failed!"));
        QCOMPARE(setup->progressBar->styleSheet(), QString(ProgressStyleRed));
    }
    if (invType.isEmpty())
        QCOMPARE(g_seriesLetter.load(), '0');
    // Whatever the choice, the dialog offers the test again at its next showing.
    QVERIFY(!g_connectionTest);
    QVERIFY(!setup->AutoButton->isHidden());
    QVERIFY(setup->CancleButton->isHidden());
}

void TestSearch::identifiesScenarioDrives_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("line");
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("invType"); // empty: unidentified
    QTest::addColumn<QString>("modelCode");

    const QString taviron = "protocol taviron\nbaud 38400\ndata 8\nparity N\nstop 1\nterminator cr";
    const Preset tavironPreset { 0, 3, 1, 0, 0, 1 };
    const QString ascii = "protocol ascii\nbaud 38400\ndata 7\nparity E\nstop 1\nterminator crlf";
    const Preset asciiPreset { 2, 3, 0, 0, 2, 2 };
    const QString rtu = "protocol rtu\nbaud 38400\ndata 8\nparity N\nstop 2\nterminator none";
    const Preset rtuPreset { 1, 3, 1, 1, 0, 0 };

    QTest::newRow("type code, character protocol")
        << "D" << taviron << tavironPreset << "p90 207\ntypecode 21" << "VM3-023-7.5K" << "0";
    QTest::newRow("type code 13 answering P.186, ASCII")
        << "A" << ascii << asciiPreset << "p90 305\ntypecode 13" << "VR3-043-5.5K" << "0";
    QTest::newRow("type code, RTU, dual rating")
        << "S" << rtu << rtuPreset << "p90 307\ntypecode 40" << "VS5-043-5.5K/7.5K" << "0";
    QTest::newRow("probe tree: D answers 990, 500, 991")
        << "D" << rtu << rtuPreset << "p90 207\ntypecode none" << "VM3-023-5.5K" << "0";
    QTest::newRow("probe tree: A answers 990, 500, 186, 584")
        << "A" << taviron << tavironPreset << "p90 305\ntypecode none" << "VR3-043-2.2K" << "0";
    QTest::newRow("probe tree finds nothing") << "S" << ascii << asciiPreset << "p90 303\ntypecode none" << "" << "0";
    QTest::newRow("P.90 unreadable")
        << "D" << rtu << rtuPreset << "p90 207\ntypecode 21\nrefuse param 90 read" << "" << "0";
    QTest::newRow("type code 0") << "D" << taviron << tavironPreset << "p90 207\ntypecode 0" << "" << "0";
    QTest::newRow("no voltage cell for the class") << "D" << rtu << rtuPreset << "p90 107\ntypecode 21" << "" << "0";
    QTest::newRow("capacity index 0") << "D" << rtu << rtuPreset << "p90 200\ntypecode 21" << "" << "0";
    QTest::newRow("capacity index past the ratings")
        << "D" << ascii << asciiPreset << "p90 230\ntypecode 21" << "" << "0";
    QTest::newRow("model code 1 names class 12") << "D" << rtu << rtuPreset << "p90 1207\ntypecode 21" << "" << "1";
    // A drive busy now and then answers late: no answer may steer the probes, nor stand for another read.
    const QString busy = "\nfault busy always 45 every 3";
    QTest::newRow("busy: probe tree, character protocol")
        << "A" << taviron << tavironPreset << "p90 305\ntypecode none" + busy << "VR3-043-2.2K" << "0";
    QTest::newRow("busy: type code 13 answering P.186, ASCII")
        << "A" << ascii << asciiPreset << "p90 305\ntypecode 13" + busy << "VR3-043-5.5K" << "0";
    QTest::newRow("busy: probe tree, RTU") << "D" << rtu << rtuPreset << "p90 207\ntypecode none" + busy << "VM3-023-5.5K"
                                           << "0";
    // Silence after the probe is no answer about the drive: the test fails.
    QTest::newRow("silent after P.90") << "D" << taviron << tavironPreset << "p90 207\ntypecode 21\nfault silent-after 2"
                                       << "lost" << "0";
}

void TestSearch::identifiesScenarioDrives()
{
    QFETCH(QString, series);
    QFETCH(QString, line);
    QFETCH(Preset, preset);
    QFETCH(QString, drive);
    QFETCH(QString, invType);
    QFETCH(QString, modelCode);

    SimulatedDrive simulated(QStringLiteral("COM7"));
    QVERIFY(simulated.startSeries(line + "\nstation 1\n" + drive, series));
    runSetup(preset, 0);

    QVERIFY(!m_boxes.isEmpty());
    const bool lost = invType == "lost";
    const QString expected = lost ? "Please check the station and COM port!" : invType.isEmpty() ? Unknown : Found.arg(invType);
    QVERIFY2(m_boxes.at(0).text == expected, qPrintable(m_boxes.at(0).text + "\n" + simulated.journalHead()));
    QCOMPARE(g_invType, lost ? QString("---") : invType);
    QCOMPARE(m_window->navigation->stationTested[1], lost ? 0 : int(!invType.isEmpty()));
    QCOMPARE(g_modelCode, modelCode);
}

void TestSearch::knownStationKeepsOneItem_data()
{
    QTest::addColumn<QString>("knownItem"); // empty: the type is known but the tree has no item
    QTest::newRow("its item is renamed") << "NO.001 VR3-043-2.2K";
    QTest::newRow("a known type without item gets one") << "";
}

void TestSearch::knownStationKeepsOneItem()
{
    QFETCH(QString, knownItem);

    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none\n"
                                       "station 1\np90 207\ntypecode 21"));
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    CNavigation *navigation = m_window->navigation;
    navigation->treeRoot->appendRow(new QStandardItem("NO.000 VM3-043-2.2K"));
    navigation->stationTypes[0] = "VM3-043-2.2K";
    navigation->stationTypes[1] = "VR3-043-2.2K";
    if (!knownItem.isEmpty())
        navigation->treeRoot->appendRow(new QStandardItem(knownItem));
    g_protocolIndex = 1;
    g_baudIndex = 1;
    g_dataBitsIndex = 1;
    g_stopBitsIndex = 0;
    g_parityIndex = 0;
    g_crLfIndex = 0;
    g_portName = QStringLiteral("Com7");
    CComSetup *setup = m_window->comSetup;
    bool started = false;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal == setup && !started) {
            started = true;
            QVERIFY(chooseComboText(setup->autoStation, QStringLiteral("1")));
            QTest::mouseClick(setup->AutoButton, Qt::LeftButton);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            m_boxes.append({ box->windowTitle(), box->text(), box->icon() });
            box->button(QMessageBox::Ok)->click();
        }
    });
    m_window->findChild<QAction *>(QStringLiteral("actCom"))->trigger();

    QCOMPARE(m_boxes.value(0).text, Found.arg("VM3-023-7.5K"));
    QCOMPARE(navigation->treeRoot->rowCount(), 2);
    QCOMPARE(navigation->treeRoot->child(0)->text(), QString("NO.000 VM3-043-2.2K"));
    QCOMPARE(navigation->treeRoot->child(1)->text(), QString("NO.001 VM3-023-7.5K"));
    QCOMPARE(navigation->currentItem, navigation->treeRoot->child(1));
    // The other station is no longer the current one.
    QCOMPARE(navigation->treeRoot->child(0)->background().color(), QColor(255, 255, 255));
    QVERIFY(!navigation->treeRoot->child(0)->isSelectable());
}

// A poller keeps sending through whatever protocol object is current while the search replaces it
// at every step: none of the objects it may hold is deleted, and the search adds at most one per
// protocol.
void TestSearch::replacedProtocolObjectsStayAlive()
{
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("protocol rtu\nbaud 9600\ndata 8\nparity N\nstop 1\nterminator none\n"
                                       "station 1\np90 207\ntypecode 21"));
    QList<QPointer<ReadWrite>> seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (g_readWrite && !seen.contains(QPointer<ReadWrite>(g_readWrite)))
            seen.append(g_readWrite.load());
    });
    sampler.start(5);
    std::atomic<bool> stop { false };
    std::atomic<int> polls { 0 };
    // The window stands before the poller starts, as in the program.
    m_window = new CMainWindow(nullptr);
    g_mainWindow = m_window;
    // A std::thread, not a QThread: its join is one the sanitizer sees, where QThread::wait waits
    // on Qt's own futex and leaves this frame's locals looking shared with a later test's.
    std::thread poller([&] {
        while (!stop) {
            if (ReadWrite *current = g_readWrite) {
                current->SendCommand("MCR");
                ++polls;
            }
            QThread::msleep(7);
        }
    });
    runSetup({ 1, 2, 1, 0, 2, 0 }, 160);
    stop = true;
    poller.join();

    QVERIFY(polls > 0);
    QVERIFY(seen.size() >= 3);
    for (const QPointer<ReadWrite> &object : seen)
        QVERIFY(!object.isNull());
}

// A station entered by hand before its search is loaded without asking the drive; that skipped
// read must not leave the drive's selectors unread once the search has found it. P.21 = 1 gives
// P.7 steps of 0.1 s: 7.5 s is the raw 75 on the wire and reads back as 7.5.
void TestSearch::searchedDriveIsWrittenAtItsResolution()
{
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries("station 1\np90 207\ntypecode 21\nprotocol rtu\nbaud 19200\ndata 8\nparity E\n"
                              "stop 1\nterminator none\nset 21 1\nset 7 125"));
    g_driveLookupEnabled = true;
    bool added = false;
    auto addStation = [&](CSetType *dialog) {
        added = true;
        dialog->StationSpinBox->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(dialog->StationSpinBox->findChild<QLineEdit *>(), QStringLiteral("1"));
        QVERIFY(chooseComboText(dialog->InvTypecomboBox, QStringLiteral("VM3-023")));
        QVERIFY(chooseComboText(dialog->InvVolcomboBox, QStringLiteral("7.5K")));
        QTest::mouseClick(dialog->SetTypeOK, Qt::LeftButton);
    };
    const Preset rtu19200 { 1, 2, 1, 0, 2, 0 };
    runSetup(rtu19200, 0, addStation, 50,
             [this] { QTest::mouseClick(m_window->navigation->add_station, Qt::LeftButton); });
    QVERIFY(added);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).text, Found.arg("VM3-023-7.5K"));
    QCOMPARE(m_window->navigation->treeRoot->rowCount(), 1);

    CParameter *form = m_window->parameterForm;
    QTableWidget *table = form->PartableWidget;
    int row = -1;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (form->cellText(r, 1).remove(' ') == QLatin1String("P.7"))
            row = r;
    }
    QVERIFY(row >= 0);
    QCOMPARE(form->cellText(row, 6), QStringLiteral("3600.0"));
    QTest::mouseClick(m_window->navigation->CUPB, Qt::LeftButton);
    QTRY_COMPARE(g_cuModeResult.load(), 0);

    table->showRow(row);
    table->scrollToItem(table->item(row, 10));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, 10)).center());
    table->item(row, 10)->setText(QStringLiteral("7.5"));
    const int before = drive.received().size();
    QTest::mouseClick(form->writePB, Qt::LeftButton);
    QTest::mouseClick(form->readPB, Qt::LeftButton);
    QCOMPARE(form->cellText(row, 9), QStringLiteral("7.5"));
    QStringList sent;
    for (const JournalFrame &f : drive.received().mid(before))
        sent << f.bytes.toHex().left(8);
    // The read of its unit's selector P.21 (0015), the write of P.7 = 75 (004B), then its read.
    QCOMPARE(sent.first(), QStringLiteral("01030015"));
    QVERIFY2(drive.received().mid(before).value(1).bytes.toHex().startsWith("01060007004b"), qPrintable(sent.join(' ')));
    QCOMPARE(sent.last(), QStringLiteral("01030007"));
}

// A command table missing at the first search and put in place before the second is read by the
// second: each search starts from FNC.txt as it is on disk.
void TestSearch::eachSearchReadsTheCommandTable()
{
    QTemporaryDir appDir;
    const QString invType = appDir.path() + QStringLiteral("/ParameterInforamtion/InvType/");
    QVERIFY(QDir().mkpath(invType));
    const QString shippedAppDir = g_appDir;
    g_appDir = appDir.path() + QLatin1Char('/');
    g_connectionTest = true; // as during a search: a missing table is no box
    startSearchObjects();
    const int firstSize = installSearchProtocol(1)->commandTable().size();
    const int repeatedSize = installSearchProtocol(1)->commandTable().size();
    QVERIFY(QFile::copy(binDir() + QStringLiteral("/ParameterInforamtion/InvType/FNC.txt"), invType + "FNC.txt"));
    startSearchObjects();
    const int secondSize = installSearchProtocol(1)->commandTable().size();
    g_connectionTest = false;
    g_appDir = shippedAppDir;
    QCOMPARE(firstSize, 0);
    QCOMPARE(repeatedSize, 0); // within one search the object is kept
    QVERIFY(secondSize > 10);
}

// Replies lost as the test loads the table: each read gets its tries, so the table shows the drive's
// P.189 and P.21 (P.3's default, P.7's maximum) or the test fails. A clean test after it reads both afresh.
// A stop owed to the station goes out once the probe has found the drive, before the box naming it.
void TestSearch::tableLoadsOnlyFromAnswers_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("fault"); // at the OK of the box naming the drive
    QTest::addColumn<QString>("table"); // empty: the test fails
    QTest::addColumn<bool>("owed");     // station 1 is owed a stop
    for (int p : { 0, 1, 2 }) {
        QTest::addRow("%d: three replies lost", p) << p << "D" << "fault silent-first 3" << "50.00|3600.0" << false;
        QTest::addRow("%d: link lost", p) << p << "D" << "fault link-lost" << "" << false;
        // Series A loads its table from P.188 (lost with the link above), P.186, P.189, P.21 and P.187.
        for (int n : { 186, 189, 21, 187 })
            QTest::addRow("%d: P.%d lost", p, n) << p << "A" << QString("lose param %1 read").arg(n) << "" << false;
        QTest::addRow("%d: stop owed", p) << p << "D" << "" << "50.00|3600.0" << true;
        QTest::addRow("%d: owed stop unanswered", p) << p << "D" << "lose command STO" << "" << true;
    }
    QTest::newRow("1: P.21 refused, P.189 kept") << 1 << "D" << "refuse param 21 read" << "50.00|360.00" << false;
}

void TestSearch::tableLoadsOnlyFromAnswers()
{
    QFETCH(int, protocol);
    QFETCH(QString, series);
    QFETCH(QString, fault);
    QFETCH(QString, table);
    QFETCH(bool, owed);
    const char *lines[] = { "taviron\nterminator cr", "rtu\nstop 2", "ascii\ndata 7\nparity E\nterminator crlf" };
    const Preset presets[] = { { 0, 3, 1, 0, 0, 1 }, { 1, 3, 1, 1, 0, 0 }, { 2, 3, 0, 0, 2, 2 } };
    const QByteArray stops[] = { "\x05" "01FA00000D8\r", QByteArray::fromHex("010610010000dcca"), ":010610010000E8\r\n" };
    SimulatedDrive drive(QStringLiteral("COM7"));
    QVERIFY(drive.startSeries(QString("baud 38400\nstation 1\n%1\nset 189 1\nset 21 1\nprotocol ")
                                  .arg(series == "A" ? "p90 305\ntypecode 13" : "p90 207\ntypecode 21")
                                  + lines[protocol] + (owed ? "\n" + fault : QString()), series));
    const auto stopsSent = [&] {
        int n = 0;
        for (const JournalFrame &f : drive.received())
            n += f.bytes == stops[protocol];
        return n;
    };
    int stopsAtBox = -1;
    m_atFound = [&] {
        stopsAtBox = stopsSent();
        QVERIFY(fault.isEmpty() || owed || drive.control(fault));
    };
    runSetup(presets[protocol], 0, {}, 50, [&] { m_window->navigation->modeState.stopSent(1, !owed); });
    m_atFound = {};
    const bool stopLost = owed && !fault.isEmpty(); // from the start: no box names a drive that may still run
    QCOMPARE(stopsAtBox, stopLost ? -1 : int(owed));
    QCOMPARE(stopsSent(), stopLost ? 10 : int(owed)); // one answered, or every try unanswered
    QCOMPARE(m_window->navigation->modeState.stopOwed(1), stopLost);
    QCOMPARE(m_window->navigation->stationTested[1], int(!table.isEmpty()));
    QCOMPARE(m_boxes.size(), 1 + int(stopsAtBox >= 0 && table.isEmpty())); // a failure's after the one naming the drive
    const CParameter *form = m_window->parameterForm;
    const auto shown = [form] { return form->cellText(3, 8) + '|' + form->cellText(7, 6); };
    QCOMPARE(shown(), table.isEmpty() ? "|" : table);
    QCOMPARE(m_boxes.last().text == "Please check the station and COM port!", table.isEmpty());
    const QString journal = drive.journal().join('\n');
    QCOMPARE(journal.count("silent: link lost") + journal.count("silent: lost"), table.isEmpty() ? 10 : 0); // one read's tries
    QVERIFY(drive.control("clear"));
    runSetup(presets[protocol], 0);
    QCOMPARE(shown(), QString("50.00|3600.0"));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"

#include "connection/comsetup.h"

#include "comm/globals.h"
#include "connection/identify.h"
#include "comm/readwrite.h"
#include "connection/search.h"
#include "connection/settype.h"
#include "comm/win_qextserialport.h"
#include "parameter/parameter.h"
#include "platform/paths.h"
#include "shell/appglobals.h"
#include "shell/commsettings.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"
#include "shell/textfit.h"

#include <QCloseEvent>
#include <QIntValidator>
#include <QLabel>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <chrono>
#include <thread>

const char *const ProgressStyleGreen = "QProgressBar{border-radius:5px;background-color:darkgray;text-align:center}"
                                       "QProgressBar::chunk{background-color:#00FF00;margin:2px;}";
const char *const ProgressStyleRed = "QProgressBar{border-radius:5px;background-color:darkgray;text-align:center}"
                                     "QProgressBar::chunk{background-color:#FF0000;margin:2px;}";

namespace {

// The clock the port stamps its sends with.
qint64 steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString threeDigits(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    execAfterEarlierPresses(&box);
}

} // namespace

DriveReads driveReadsOf(ReadWrite *readWrite)
{
    return DriveReads {
        [readWrite](int number, double unit) {
            ReadWrite::PatientTries patient;
            return readWrite->ReadPar(number, unit);
        },
        [readWrite]() {
            ReadWrite::PatientTries patient;
            return readWrite->ReadTypeCode();
        },
        [] { return ReadWrite::lastExchangeAnswered(); },
    };
}

CComSetup::CComSetup(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    initTexts();

    for (int i = 0; i <= 254; ++i)
        autoStation->addItem(QString::number(i));
    autoStation->setCurrentIndex(0);
    ProcomboBox->addItems({ protocolText, QStringLiteral("Modbus RTU"), QStringLiteral("Modbus ASCII") });
    BaudcomboBox->addItems({ QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
                             QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200") });
    BaudcomboBox->setCurrentIndex(1);
    CRComboBox->addItems({ noneText, tr("CR"), tr("CR+LF") });
    CRComboBox->setCurrentIndex(1);
    DatacomboBox->addItems({ QStringLiteral("7"), QStringLiteral("8") });
    DatacomboBox->setCurrentIndex(1);
    StopComboBox->addItems({ QStringLiteral("1"), QStringLiteral("2") });
    TimeComboBox->addItems({ QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10") });
    TimeComboBox->setCurrentIndex(2);
    TimeComboBox->setEnabled(false);
    // A typed delay becomes a sleep before every Modbus RTU try; keep it to a sane whole number.
    TimeComboBox->setValidator(new QIntValidator(0, 1000, TimeComboBox));
    CheckComboBox->addItems({ noneText, oddText, evenText });

    connect(ProcomboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CComSetup::ProComboxCh);
    connect(CheckComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CComSetup::CheckComboxCh);
    autoTimer = new QTimer(this);
    // The steps must never come closer than the 100 ms the drive needs between probes.
    autoTimer->setTimerType(Qt::PreciseTimer);
    connect(autoTimer, &QTimer::timeout, this, &CComSetup::on_timer);
    connect(AutoButton, &QPushButton::clicked, this, &CComSetup::on_start_clicked);
    connect(CancleButton, &QPushButton::clicked, this, &CComSetup::on_stop_clicked);

    setWindowFlags(dialogWindowFlags());
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/Taviron.ico")));
    AutoButton->show();
    CancleButton->hide();
    progressBar->setStyleSheet(QLatin1String(ProgressStyleGreen));
    progressBar->setRange(0, LastSearchStep);
    progressBar->setFormat(tr("Connection test..."));
    station = 0;
    testStep = 0;
    fitTexts(this);
}

CComSetup::~CComSetup() = default;

void CComSetup::initTexts()
{
    retranslateUi(this);
    protocolText = tr("Taviron protocol");
    noneText = tr("None");
    oddText = tr("Odd");
    evenText = tr("Even");
}

void CComSetup::retranslate()
{
    initTexts();
    ProcomboBox->setItemText(0, protocolText);
    CRComboBox->setItemText(0, noneText);
    CheckComboBox->setItemText(0, noneText);
    CheckComboBox->setItemText(1, oddText);
    CheckComboBox->setItemText(2, evenText);
    fitTexts(this);
}

void CComSetup::ProComboxCh(int index)
{
    BaudcomboBox->setCurrentIndex(1);
    const int parityBefore = CheckComboBox->currentIndex();
    switch (index) {
    case 0:
        StopComboBox->setEnabled(true);
        StopComboBox->setCurrentIndex(0);
        DatacomboBox->setEnabled(true);
        DatacomboBox->setCurrentIndex(1);
        CRComboBox->setEnabled(true);
        CRComboBox->setCurrentIndex(1);
        CheckComboBox->setCurrentIndex(0);
        TimeComboBox->setEnabled(false);
        break;
    case 1:
        DatacomboBox->setEnabled(false);
        CRComboBox->setEnabled(false);
        DatacomboBox->setCurrentIndex(1);
        CRComboBox->setCurrentIndex(0);
        StopComboBox->setCurrentIndex(0);
        CheckComboBox->setCurrentIndex(2);
        TimeComboBox->setEnabled(true);
        break;
    case 2:
        DatacomboBox->setEnabled(false);
        CRComboBox->setEnabled(false);
        DatacomboBox->setCurrentIndex(0);
        CRComboBox->setCurrentIndex(2);
        StopComboBox->setEnabled(false);
        TimeComboBox->setEnabled(false);
        StopComboBox->setCurrentIndex(parityBefore == 1 || parityBefore == 2 ? 0 : 1);
        break;
    default:
        break;
    }
    if (g_commandLineDoc.isEmpty() && g_mainWindow && g_mainWindow->parameterForm
        && g_mainWindow->parameterForm->PartableWidget)
        g_mainWindow->parameterForm->PartableWidget->setColumnHidden(2, ProcomboBox->currentIndex() == 0);
}

void CComSetup::CheckComboxCh()
{
    const int parity = CheckComboBox->currentIndex();
    switch (ProcomboBox->currentIndex()) {
    case 0:
        StopComboBox->setEnabled(true);
        break;
    case 1:
        StopComboBox->setEnabled(true);
        if (parity == 1 || parity == 2)
            StopComboBox->setCurrentIndex(0);
        break;
    case 2:
        StopComboBox->setEnabled(false);
        StopComboBox->setCurrentIndex(parity == 0 ? 1 : 0);
        break;
    default:
        break;
    }
}

void CComSetup::on_start_clicked()
{
    m_lastProbeSentNs = 0;
    // The search changes the line, the protocol object, the station and the drive's identity: the
    // mode poller, which would end at its next poll anyway, ends first.
    if (g_mainWindow && g_mainWindow->navigation)
        g_mainWindow->navigation->stopModePolling();
    resetCommandFailureCounters();
    g_connectionTest = true;
    AutoButton->hide();
    CancleButton->show();
    progressBar->setStyleSheet(QLatin1String(ProgressStyleGreen));
    testStep = 0;
    startSearchObjects();
    if (g_mainWindow)
        g_mainWindow->reopenSerialPort();
    progressBar->setValue(0);
    if (g_serialPort && g_serialPort->isOpen()) {
        station = autoStation->currentIndex();
        setStation(station);
        autoTimer->start(100);
        progressBar->setFormat(tr("Connection test..."));
    } else {
        autoTimer->stop();
        AutoButton->show();
        CancleButton->hide();
        g_connectionTest = false;
        progressBar->setFormat(tr(""));
        g_offLine = true;
    }
}

void CComSetup::on_stop_clicked()
{
    stopTest();
    if (g_serialPort && g_serialPort->isOpen()) {
        LinkChange change;
        g_serialPort->close();
    }
    endTest();
}

void CComSetup::closeEvent(QCloseEvent *event)
{
    stopTest();
    endTest();
    QDialog::closeEvent(event);
}

// A test broken off: the link counts as lost if one was running.
void CComSetup::stopTest()
{
    autoTimer->stop();
    if (g_connectionTest) {
        progressBar->setFormat(tr(""));
        g_offLine = true;
    }
    progressBar->setValue(0);
    testStep = 0;
}

void CComSetup::on_timer()
{
    AutoCommunication(testStep);
    if (testStep < LastSearchStep && g_connectionTest) {
        progressBar->setValue(testStep);
        ++testStep;
    } else {
        autoTimer->stop();
    }
}

void CComSetup::accept()
{
    int delay = 0;
    const QString text = TimeComboBox->currentText();
    if (TimeComboBox->isEnabled() && !parseDelayText(text, &delay))
        warnAfterEarlierPresses(this, tr("Warning"),
            tr("The delay \"%1\" was not taken: it must be a whole number of milliseconds from 0 to 1000. "
               "The delay stays %2 ms.")
                .arg(text)
                .arg(int(g_responseDelayMs)));
    QDialog::accept();
}

LinkSettings CComSetup::dialogSettings() const
{
    LinkSettings s;
    s.protocol = ProcomboBox->currentIndex();
    s.baudIndex = BaudcomboBox->currentIndex();
    s.dataIndex = DatacomboBox->currentIndex();
    s.parityIndex = CheckComboBox->currentIndex();
    s.stopIndex = StopComboBox->currentIndex();
    s.crLfIndex = CRComboBox->currentIndex();
    s.delayText = TimeComboBox->currentText();
    return s;
}

void CComSetup::AutoCommunication(int TestNum)
{
    // The boxes of the last step run an event loop in which the timer may still fire; a step must
    // never start inside the previous one.
    if (m_stepRunning || !g_connectionTest)
        return;
    QScopedValueRollback<bool> running(m_stepRunning, true);

    LinkSettings s = searchStepSettings(TestNum, dialogSettings());
    if (TestNum > 0)
        s.delayText.clear();
    ReadWrite *readWrite = nullptr;
    {
        // A mode poll still running must not see half of the step's settings.
        LinkChange change;
        g_protocolIndex = s.protocol;
        applyPortSettings(s);
        readWrite = installSearchProtocol(s.protocol);
        g_crLfMode = s.crLfIndex;
        // Step 0 takes the box's delay through the same check as the set-up: a text that is no
        // whole number from 0 to 1000 leaves the delay in force.
        int delay = 0;
        if (TestNum > 0 || parseDelayText(s.delayText, &delay))
            g_responseDelayMs = delay;
    }

    // A step that blocks lets the next tick come early; keep the probes on the wire at least
    // 100 ms apart, counted from when the last one was sent.
    if (m_lastProbeSentNs != 0) {
        const qint64 left = m_lastProbeSentNs + 100000000 - steadyNs();
        if (left > 0)
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
    }
    const int result = readWrite->SendCommand("MCR");
    const Win_QextSerialPort *port = g_serialPort;
    m_lastProbeSentNs = port && port->lastWriteNs() != 0 ? port->lastWriteNs() : steadyNs();
    if (result != 0) {
        if (TestNum < LastSearchStep)
            return;
        autoTimer->stop();
        failurePath();
        return;
    }
    autoTimer->stop();
    successPath(s);
}

void CComSetup::showWorkingSettings(const LinkSettings &s)
{
    ProcomboBox->setEnabled(true);
    AutoPort->setEnabled(true);
    BaudcomboBox->setEnabled(true);
    ProcomboBox->setCurrentIndex(s.protocol);
    BaudcomboBox->setCurrentIndex(s.baudIndex);
    if (s.protocol == 0) {
        DatacomboBox->setCurrentIndex(s.dataIndex);
        CheckComboBox->setCurrentIndex(s.parityIndex);
        StopComboBox->setCurrentIndex(s.stopIndex == 0 ? 0 : 1);
        CRComboBox->setCurrentIndex(s.crLfIndex);
        DatacomboBox->setEnabled(true);
        CheckComboBox->setEnabled(true);
        StopComboBox->setEnabled(true);
        CRComboBox->setEnabled(true);
        TimeComboBox->setEnabled(false);
    } else {
        CheckComboBox->setCurrentIndex(s.parityIndex);
        StopComboBox->setCurrentIndex(s.stopIndex == 0 ? 0 : 1);
        DatacomboBox->setCurrentIndex(s.protocol == 1 ? 1 : 0);
        CRComboBox->setCurrentIndex(s.protocol == 1 ? 0 : 2);
        DatacomboBox->setEnabled(false);
        CRComboBox->setEnabled(false);
        CheckComboBox->setEnabled(true);
        StopComboBox->setEnabled(true);
        TimeComboBox->setEnabled(true);
    }
}

void CComSetup::successPath(const LinkSettings &s)
{
    // The drive answers at the tested station (g_station since the test began): a stop it was owed
    // goes out now, not after boxes the user may leave open and reads that take seconds. Left
    // unanswered, the motor may run: no drive is reported found, and the stop stays owed.
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (navigation && !navigation->sendOwedStop(station)) {
        failurePath();
        return;
    }
    progressBar->setFormat(tr("Connection successful!"));
    progressBar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    progressBar->setValue(LastSearchStep);
    showWorkingSettings(s);

    bool silent = false;
    g_invType = identifyInvType(&silent);
    // The drive stopped answering while it was asked what it is.
    if (silent) {
        failurePath();
        return;
    }
    const QStringList parts = g_invType.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    const bool unknown = parts.size() < 3;
    if (unknown)
        showBox(this, QMessageBox::NoIcon, tr("INV Type"),
                tr("The INV type is <font size='+1'><b>unknown</b></font>. ") + tr("Please click OK to select manually."));
    else
        showBox(this, QMessageBox::NoIcon, tr("INV Type"),
                tr("Connection successful !\n") + tr("The INV type is: ") + g_invType + QStringLiteral("     "));
    accept();

    if (unknown) {
        CSetType *dialog = navigation ? navigation->stationDialog : nullptr;
        if (!dialog || execAfterEarlierPresses(dialog) != QDialog::Accepted) {
            g_invType.clear();
            g_seriesLetter = '0';
            g_protocolIndex = 0;
            g_offLine = true;
            if (navigation)
                navigation->stationTested[station] = 0;
            progressBar->setStyleSheet(QLatin1String(ProgressStyleRed));
            progressBar->setFormat(tr(" Connection failed!"));
            if (g_mainWindow)
                g_mainWindow->setConnectionState(false);
            endTest();
            return;
        }
        if (!dialog->InvVolcomboBox->isEnabled()) {
            g_invType.clear();
            g_seriesLetter = '0';
            // The next showing of the dialog must offer the test again.
            endTest();
            return;
        }
        g_invType = composeTypeText(dialog->InvTypecomboBox->currentText(), dialog->InvVolcomboBox->currentText());
    }

    if (navigation) {
        enterStation(g_invType);
        navigation->stationLabel->setText(tr("Select station: NO.") + threeDigits(station) + QLatin1Char(' ') + g_invType);
    }
    if (g_mainWindow) {
        g_mainWindow->setControlsEnabled(true);
        if (navigation)
            navigation->loadInverterTypes();
        if (CParameter *form = g_mainWindow->parameterForm) {
            // Units and defaults taken on a guess would be shown and written: the drive that stops
            // answering while its table loads fails the test as one that never answered.
            if (!form->loadParameterTable()) {
                failurePath();
                return;
            }
            form->show();
            form->showAll();
        }
        g_mainWindow->setConnectionState(true);
        if (navigation) {
            // A STOP for this station during a later test or search goes out on this line.
            LinkSettings passed = s;
            passed.delayText = QString::number(g_responseDelayMs);
            navigation->modeState.linePassed(station, passed);
            navigation->connectionTestPassed();
        }
    }
    g_offLine = false;
    endTest();
}

void CComSetup::endTest()
{
    AutoButton->show();
    CancleButton->hide();
    g_connectionTest = false;
    resetCommandFailureCounters();
}

bool CComSetup::enterStation(const QString &typeText)
{
    CNavigation *navigation = g_mainWindow->navigation;
    const QString text = QStringLiteral("NO.") + threeDigits(station) + QLatin1Char(' ') + typeText;
    QStandardItem *item = nullptr;
    if (!navigation->stationTypes.at(station).isEmpty()) {
        for (int row = 0; row < navigation->treeRoot->rowCount(); ++row) {
            QStandardItem *child = navigation->treeRoot->child(row);
            QString word = child->text().section(QLatin1Char(' '), 0, 0);
            word.remove(QStringLiteral("NO."));
            bool ok = false;
            if (word.toInt(&ok) == station && ok) {
                item = child;
                break;
            }
        }
    }
    // A station known by number but missing from the tree is entered afresh.
    if (item) {
        item->setText(text);
    } else {
        item = new QStandardItem(text);
        navigation->treeRoot->appendRow(item);
    }
    navigation->currentItem = item;
    navigation->stationTypes[station] = typeText;
    navigation->stationModelCodes[station] = g_modelCode;
    navigation->stationTested[station] = 1;
    item->setIcon(QIcon(localPath(g_appDir + QStringLiteral("images\\") + pictureName(typeText) + QStringLiteral(".png"))));
    item->setEditable(false);
    navigation->SysSettreeView->setIconSize(QSize(150, 75));
    if (g_mainWindow->typeValueLabel)
        g_mainWindow->typeValueLabel->setText(typeText);
    item->setBackground(QColor(176, 196, 222));
    item->setSelectable(true);
    navigation->stationModel->sort(0, Qt::AscendingOrder);
    QStandardItem *parent = item->parent() ? item->parent() : navigation->treeRoot;
    for (int row = 0; row < parent->rowCount(); ++row) {
        QStandardItem *other = parent->child(row);
        if (other == item)
            continue;
        other->setBackground(QColor(255, 255, 255));
        other->setSelectable(false);
    }
    return true;
}

void CComSetup::failurePath()
{
    // The search's outcome, in place of a line for each probe that found nothing.
    appendOperationLog({ QStringLiteral("Connection failed!") }, true);
    // The failed steps each cleared the flag; the station on line before is off-line now, as
    // after Cancel, so that the mode display does not repaint its last poll as on line.
    g_offLine = true;
    g_protocolIndex = 0;
    // Keep the protocol object in step with g_protocolIndex, as at start-up.
    installNewProtocol(0);
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (navigation) {
        navigation->stationTested[station] = 0;
        // The dock's station goes off-line now: its display waits for a poll after a mode switch,
        // which may not come before the test ends.
        navigation->showLinkLost();
    }
    progressBar->setStyleSheet(QLatin1String(ProgressStyleRed));
    progressBar->setFormat(tr(" Connection failed!"));
    showBox(this, QMessageBox::Warning, tr("INV Type"), tr("Please check the station and COM port!"));
    if (g_mainWindow)
        g_mainWindow->setConnectionState(false);
    endTest();
}

QString CComSetup::identifyInvType(bool *silent)
{
    if (!g_readWrite)
        return QStringLiteral("---");
    const auto cannotRead = [this](const QString &file, const QString &error) {
        showBox(this, QMessageBox::Warning, tr("Warning"), tr("Cannot read file %1:\n%2.").arg(file, error));
    };
    return identifyDrive(driveReadsOf(g_readWrite), cannotRead, silent);
}

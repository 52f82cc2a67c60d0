#include "shell/mainwindow.h"

#include "connection/search.h"

#include "connection/comsetup.h"
#include "comm/globals.h"
#include "comm/readwritezr.h"
#include "comm/win_qextserialport.h"
#include "monitor/alarmcode.h"
#include "monitor/mainadvplot.h"
#include "monitor/maindialplot.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitorthread.h"
#include "parameter/comparison.h"
#include "parameter/parameter.h"
#include "parameter/parinformation.h"
#include "platform/desktop.h"
#include "platform/registry.h"
#include "quicksetup/quicksetup.h"
#include "shell/about.h"
#include "shell/appglobals.h"
#include "shell/commsettings.h"
#include "shell/document.h"
#include "shell/earlierpresses.h"
#include "shell/filedialoglocale.h"
#include "shell/help.h"
#include "shell/navigation.h"
#include "shell/operationlog.h"
#include "shell/shellreports.h"
#include "shell/startup.h"
#include "shell/textfit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QProgressBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

namespace
{
const int MessageCount = 22;
// Room for the mode field's longer texts in each language; longer ones are elided.
const int ModeFieldWidth = 300;

// The buttons keep their fixed size in every language and font, so a long text gets a smaller font
// rather than being cut short.
void setButtonText(QToolButton *button, const QString &text)
{
    button->setText(text);
    QFont font = button->parentWidget() ? button->parentWidget()->font() : button->font();
    const int room = button->width() - 6;
    while (
        QFontMetrics(font).horizontalAdvance(QString(text).remove(QLatin1Char('&'))) > room && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button->setFont(font);
}

bool stopOwedToAnyStation(const DriveModeState &state)
{
    for (int station = 0; station < DriveModeState::Stations; ++station)
        if (state.stopOwed(station))
            return true;
    return false;
}
} // namespace

// Outside any namespace, as the resource initialiser must be.
static void loadCatalogue(int language)
{
    // The catalogues live in the static library; without a reference the linker would leave them out.
    static const bool catalogueRegistered = [] {
        Q_INIT_RESOURCE(language);
        return true;
    }();
    Q_UNUSED(catalogueRegistered)
    static const char *const catalogues[] = { ":/new prefix/language/TavironINV_Eng",
        ":/new prefix/language/TavironINV_zh_CN", ":/new prefix/language/TavironINV_zh_Big" };
    g_translator.load(QLatin1String(catalogues[language]));
    // Qt's standard buttons and file dialogs speak the language too; English needs no catalogue.
    static const char *const qtCatalogues[] = { nullptr, "qtbase_zh_CN", "qtbase_zh_TW" };
    if (qtCatalogues[language])
        g_qtTranslator.load(QLatin1String(qtCatalogues[language]), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    else
        g_qtTranslator.load(QString());
    static const bool qtInstalled = QCoreApplication::installTranslator(&g_qtTranslator);
    Q_UNUSED(qtInstalled)
    writeFileDialogColumnsInTheLanguage();
}

CMainWindow::CMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    // The protocol objects made below report to this window.
    installShellReports();
    initShellResources();
    for (int i = 0; i < MessageCount; ++i)
        messageTable.append(QString());

    resetCommunicationDefaults();
    g_stationPreset = 0;

    setupUi(this);
    setContextMenuPolicy(Qt::NoContextMenu);
    retranslateStrings();
    buildStatusBar();
    connectActions();
    buildToolBar();
    buildNavigationDock();

    // The dock may have taken the language from a document; the help popup's headers are texted only
    // when the form builds it, so the catalogue must be in place before.
    if (g_language <= 2)
        loadCatalogue(g_language);
    parameterForm = new CParameter(nullptr);
    comSetup = new CComSetup(nullptr);
    g_readWrite = new ReadWriteZR(nullptr);

    splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(parameterForm);
    splitter->setHandleWidth(0);
    parameterForm->hide();
    setCentralWidget(splitter);

    actE->setChecked(true);
    actHelp->setEnabled(true);

    {
        std::unique_lock<FairMutex> lock(g_monitorListsMutex);
        g_dialPollFlags.fill(false, MonitorSlots);
        g_advPollFlags.fill(false, MonitorSlots);
        g_monitorValues.fill(0.0, MonitorSlots);
    }

    applyLanguage();
    initSerialPort();
    forcePageSelect = false;
    connect(this, &CMainWindow::showErrorInfo, this, &CMainWindow::ErrWarning);
}

CMainWindow::~CMainWindow()
{
    // A mode poll reports through this window: it ends before anything here goes.
    navigation->stopModePolling();
    // So does a monitor pass, which also feeds the monitor window.
    if (g_monitorThread)
        g_monitorThread->stopAndWait();
    delete monitorWindow;
    monitorWindow = nullptr;
    delete trendWindow;
    trendWindow = nullptr;
    delete comSetup;
}

void CMainWindow::retranslateStrings()
{
    messageTable = QStringList {
        tr("Navigation"),
        tr("key tone"),
        tr("Pr. restoration"),
        tr("Error"),
        tr("Can't open serial port"),
        tr("\n The Specified serial port does not exist or occupied."),
        tr("Operation mode"),
        tr("Inverter Type"),
        tr("Communication Error!"),
        tr("Parity Error!"),
        tr("Illegal function code!"),
        tr("Sum Check error!"),
        tr("Illegal data address!"),
        tr("Communication protocol error!"),
        tr("Illegal data value!"),
        tr("Frame error!"),
        tr("Overflow error!"),
        tr("Abnormal patterns!"),
        tr("Command code error!"),
        tr("Material range error!"),
        tr("Warning"),
        tr("Waiting"),
    };
}

void CMainWindow::buildStatusBar()
{
    auto panel = [this](const QString &text, QSize minimum) {
        auto *label = new QLabel(text, this);
        label->setMinimumSize(minimum);
        label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        return label;
    };
    modeCaptionLabel = panel(messageTable[6], QSize(100, 20));
    // A fixed room: a long text (a command that waits, an owed stop) is elided, not allowed to push
    // the Inverter Type fields aside.
    modeValueLabel = new ElidingLabel(QStringLiteral("---"), this);
    modeValueLabel->setFixedWidth(ModeFieldWidth);
    modeValueLabel->setMinimumHeight(20);
    modeValueLabel->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    auto *spacer = new QLabel(this);
    spacer->setMinimumSize(10, 25);
    spacer->setFrameStyle(QFrame::NoFrame);
    typeCaptionLabel = panel(messageTable[7], QSize(100, 20));
    typeValueLabel = panel(QStringLiteral("---"), QSize(200, 20));
    statusBar()->addWidget(modeCaptionLabel);
    statusBar()->addWidget(modeValueLabel);
    statusBar()->addWidget(spacer);
    statusBar()->addWidget(typeCaptionLabel);
    statusBar()->addWidget(typeValueLabel);

    progressLabel = panel(messageTable[21], QSize(100, 20));
    progressBar = new QProgressBar(this);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    statusBar()->addPermanentWidget(progressLabel);
    statusBar()->addPermanentWidget(progressBar);
    progressLabel->hide();
    progressBar->hide();
}

void CMainWindow::connectActions()
{
    connect(actSysMon, &QAction::triggered, this, &CMainWindow::iniSysMon);
    connect(actionTrend, &QAction::triggered, this, &CMainWindow::trendShow);
    connect(actAllPar, &QAction::triggered, this, &CMainWindow::iniParameter);
    connect(actQuickSetup, &QAction::triggered, this, &CMainWindow::quickSetup);
    connect(actCom, &QAction::triggered, this, &CMainWindow::iniComDialog);
    connect(actHelp, &QAction::triggered, this, &CMainWindow::iniHELP);
    connect(actVer, &QAction::triggered, this, &CMainWindow::ABOUT);
    connect(actUpdate, &QAction::triggered, this, &CMainWindow::UpdateProgress);
    connect(actCS, &QAction::triggered, this, &CMainWindow::LaChineseS);
    connect(actCT, &QAction::triggered, this, &CMainWindow::LaChineseT);
    connect(actE, &QAction::triggered, this, &CMainWindow::LanEnlish);
    connect(ActSave, &QAction::triggered, this, &CMainWindow::SaveFile);
    connect(actSave_as, &QAction::triggered, this, &CMainWindow::Save_as);
    connect(actOpen, &QAction::triggered, this, &CMainWindow::Open);
}

QToolButton *CMainWindow::makeToolButton(const QString &icon, bool enabled)
{
    auto *button = new QToolButton(this);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(64, 64);
    button->setIcon(QIcon(QStringLiteral(":/new prefix/images/") + icon));
    button->setEnabled(enabled);
    return button;
}

void CMainWindow::buildToolBar()
{
    connectButton = makeToolButton(QStringLiteral("unconnect.png"), true);
    setButtonText(connectButton, tr("Off-Line"));
    parameterButton = makeToolButton(QStringLiteral("parameter.png"), false);
    setButtonText(parameterButton, tr("Parameter"));
    monitorButton = makeToolButton(QStringLiteral("monitor.png"), false);
    setButtonText(monitorButton, tr("Monitor"));
    trendButton = makeToolButton(QStringLiteral("trend.png"), false);
    setButtonText(trendButton, tr("Trend"));
    helpButton = makeToolButton(QStringLiteral("help.png"), true);
    setButtonText(helpButton, tr("Help"));
    exitButton = makeToolButton(QStringLiteral("exit.png"), true);
    setButtonText(exitButton, tr("Exit"));

    connect(connectButton, &QToolButton::clicked, this, &CMainWindow::connecttset);
    connect(parameterButton, &QToolButton::clicked, this, &CMainWindow::iniParameter);
    connect(monitorButton, &QToolButton::clicked, this, &CMainWindow::iniSysMon);
    connect(trendButton, &QToolButton::clicked, this, &CMainWindow::trendShow);
    connect(helpButton, &QToolButton::clicked, this, &CMainWindow::iniHELP);
    connect(exitButton, &QToolButton::clicked, this, &CMainWindow::close);

    QToolBar *toolBar = addToolBar(QString());
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(41, 40));
    toolBar->addWidget(connectButton);
    toolBar->addWidget(parameterButton);
    toolBar->addSeparator();
    toolBar->addWidget(monitorButton);
    toolBar->addWidget(trendButton);
    toolBar->addSeparator();
    toolBar->addWidget(helpButton);
    toolBar->addWidget(exitButton);
}

void CMainWindow::buildNavigationDock()
{
    navigation = new CNavigation(nullptr);
    navigationDock = new QDockWidget(messageTable[0], this);
    navigationDock->setObjectName(QStringLiteral("navigationDock"));
    navigationDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    navigationDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    navigationDock->setFloating(false);
    navigationDock->setWidget(navigation);
    navigationDock->setVisible(true);
    addDockWidget(Qt::LeftDockWidgetArea, navigationDock);
}

void CMainWindow::reportError(int index, const QString &subject)
{
    emit showErrorInfo(index, subject);
}

void CMainWindow::ErrWarning(int index, const QString &subject)
{
    // A box after Exit would stand alone on the desktop and keep the program running until answered.
    if (m_exitAsked)
        return;
    // Any index outside the table shows the communication error rather than reading past it.
    QString text = (index >= 0 && index < messageTable.size()) ? messageTable.at(index) : QString();
    if (text.isEmpty())
        text = messageTable.value(8);
    // A lost link is the link's failure, not the value's. Named now: the write is over when the box opens.
    const QString named = subject.isEmpty() ? refusalSubject : subject;
    if (!named.isEmpty() && !g_offLine)
        text += QLatin1Char('\n') + named;
    // Opened once the failing exchange has let go of the link, and after the presses the user made
    // while the window waited on it: a STOP among them goes out before the box can take it.
    m_owedErrors.append(text);
    QMetaObject::invokeMethod(this, [this] {
        takeEarlierPresses();
        showOwedErrors();
    }, Qt::QueuedConnection);
}

void CMainWindow::showOwedErrors()
{
    while (!m_owedErrors.isEmpty()) {
        const QString text = m_owedErrors.takeFirst();
        QPointer<QMessageBox> box
            = new QMessageBox(QMessageBox::Warning, messageTable.value(20), text, QMessageBox::Ok, this);
        box->setDefaultButton(static_cast<QPushButton *>(nullptr));
        takeEarlierPresses();
        if (box && !m_exitAsked) {
            // Over the window the user works in once the presses have acted, the monitor's or the trend's
            // too, not behind it; that window may go while the box is up and take the box along.
            if (QWidget *over = QApplication::activeWindow(); over && over != this)
                box->setParent(over, box->windowFlags());
            box->exec();
        }
        delete box;
    }
}

void CMainWindow::setConnectionState(bool online)
{
    if (QThread::currentThread() == thread())
        applyConnectionState(online);
    else
        QMetaObject::invokeMethod(
            this, [this, online] { applyConnectionState(online); }, Qt::QueuedConnection);
}

void CMainWindow::applyConnectionState(bool online)
{
    if (!connectButton)
        return;
    if (online) {
        setButtonText(connectButton, tr("On-Line"));
        connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/connect.png")));
    } else {
        setButtonText(connectButton, tr("Off-Line"));
        connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/unconnect.png")));
    }
}

void CMainWindow::setControlsEnabled(bool on)
{
    actAllPar->setEnabled(on);
    actQuickSetup->setEnabled(on);
    actSysMon->setEnabled(on);
    actionTrend->setEnabled(on);
    parameterButton->setEnabled(on);
    monitorButton->setEnabled(on);
    trendButton->setEnabled(on);
}

void CMainWindow::applyLanguage()
{
    if (g_language <= 2) {
        checkLanguageAction(g_language);
        loadCatalogue(g_language);
    }
    retranslateWindow();
    comSetup->retranslate();
    navigation->changeLanguage();
    parameterForm->languageChange();
    fitTexts(this);
}

void CMainWindow::checkLanguageAction(int language)
{
    QAction *const actions[] = { actE, actCS, actCT };
    for (int i = 0; i < 3; ++i)
        actions[i]->setChecked(i == language);
}

void CMainWindow::switchLanguage(unsigned char language)
{
    // Triggering the checked action unchecks it; the language stays, and so must its check.
    checkLanguageAction(language);
    if (g_language == language)
        return;
    loadCatalogue(language);
    // The reloads below choose data files, column widths and row heights by the language.
    g_language = language;
    retranslateWindow();
    comSetup->retranslate();
    navigation->changeLanguage();
    parameterForm->languageChange();
    parameterForm->loadLocalizedNames();
    ParInformation *information = parameterForm->parInformation;
    if (g_seriesLetter != '0')
        information->loadParameterDetails();
    QStandardItemModel *rows = information->model;
    if (rows->rowCount() > 0) {
        const QStandardItem *first = rows->item(0, 0);
        const int number = first ? QString(first->text()).remove(QLatin1String("P.")).toInt() : 0;
        rows->removeRows(0, rows->rowCount());
        information->fillTable(number);
    }
    fitTexts(this);
}

void CMainWindow::LanEnlish()
{
    switchLanguage(0);
}

void CMainWindow::LaChineseS()
{
    switchLanguage(1);
}

void CMainWindow::LaChineseT()
{
    switchLanguage(2);
}

void CMainWindow::iniHELP()
{
    const QString path = helpFilePath(g_language);
    if (path.isEmpty())
        return;
    // Without a word the user cannot tell a missing file from a desktop that cannot show it.
    QString missing;
    if (!QFileInfo::exists(path))
        missing = tr("The file does not exist.");
    else if (!openDocument(path))
        missing = desktopLauncherFound() ? tr("The desktop has no program that opens it.")
                                         : tr("The desktop launcher xdg-open is missing (package xdg-utils).");
    else if (path.endsWith(QLatin1String(".chm"), Qt::CaseInsensitive) && !helpViewerFound())
        missing = tr("No program that shows compiled help is installed (package xchm).");
    if (!missing.isEmpty())
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot open the help file %1:\n%2").arg(path, missing));
}

void CMainWindow::retranslateWindow()
{
    retranslateUi(this);
    retranslateStrings();
    navigationDock->setWindowTitle(messageTable[0]);
    modeCaptionLabel->setText(messageTable[6]);
    typeCaptionLabel->setText(messageTable[7]);
    progressLabel->setText(messageTable[21]);
    setButtonText(connectButton, tr("Off-Line"));
    setButtonText(parameterButton, tr("Parameter"));
    setButtonText(monitorButton, tr("Monitor"));
    setButtonText(trendButton, tr("Trend"));
    setButtonText(helpButton, tr("Help"));
    setButtonText(exitButton, tr("Exit"));
}

void CMainWindow::showSettingsInDialog()
{
    comSetup->ProcomboBox->setCurrentIndex(g_protocolIndex);
    const int port = g_portName.isEmpty() ? -1 : comSetup->AutoPort->findText(g_portName, Qt::MatchExactly);
    comSetup->AutoPort->setCurrentIndex(port >= 0 ? port : 0);
    comSetup->BaudcomboBox->setCurrentIndex(g_baudIndex);
    comSetup->DatacomboBox->setCurrentIndex(g_dataBitsIndex);
    // A change of protocol or parity resets the stop bits, so they come after both.
    comSetup->CheckComboBox->setCurrentIndex(g_parityIndex);
    comSetup->StopComboBox->setCurrentIndex(g_stopBitsIndex);
    comSetup->CRComboBox->setCurrentIndex(g_crLfIndex);
    comSetup->TimeComboBox->setCurrentText(g_timeoutText);
    comSetup->autoStation->setCurrentIndex(g_stationPreset);
}

void CMainWindow::applySerialSettings()
{
    g_serialPort->setBaudRate(baudRateOfIndex(g_baudIndex, g_serialPort->baudRate()));
    g_serialPort->setDataBits(dataBitsOfIndex(g_dataBitsIndex));
    g_serialPort->setStopBits(stopBitsOfIndex(g_stopBitsIndex));
    g_serialPort->setParity(parityOfIndex(g_parityIndex));
    g_serialPort->setFlowControl(FLOW_OFF);
}

void CMainWindow::fallBackToCom1()
{
    // The settings describe the line the port now runs, so the dialog and the protocol object agree with it.
    resetLineDefaults();
    g_serialPort->setPortName(g_portName);
    applySerialSettings();
    g_serialPort->open(QIODevice::ReadWrite);
    g_crLfMode = 1;
    g_responseDelayMs = 10;
}

void CMainWindow::initSerialPort()
{
    showSettingsInDialog();
    bool fellBack = false;
    {
        LinkChange change;
        // The program keeps one port object: a poller may still be inside a send or a flush of
        // it. A port left open by an earlier window is closed, so it gives up the line.
        if (!g_serialPort)
            g_serialPort = new Win_QextSerialPort();
        else if (g_serialPort->isOpen())
            g_serialPort->close();
        applySerialSettings();
        g_crLfMode = g_crLfIndex;
        g_responseDelayMs = g_timeoutMs;
        g_serialPort->setPortName(g_portName.size() > 4 ? withDevicePrefix(g_portName) : g_portName);
        g_serialPort->open(QIODevice::ReadWrite);
        if (!g_serialPort->isOpen() && g_commandLineDoc.isEmpty()) {
            fallBackToCom1();
            fellBack = true;
        }
    }
    if (fellBack)
        showSettingsInDialog();
    // Made outside the link change: a missing command table opens a box. The replaced object is
    // kept: it may be one that an earlier connection search still reuses.
    installNewProtocol(g_protocolIndex);
    appendOperationLog({ communicationSettingLine() }, true);
}

ReadWrite *CMainWindow::makeProtocolObject(int protocolIndex)
{
    return createProtocolObject(protocolIndex);
}

QString CMainWindow::readSerialCommKey(int index, const QString &which) const
{
    const QString key = QLatin1String(Registry::SerialCommKey);
    const QStringList names = Registry::valueNames(key);
    if (index < 0 || index >= names.size())
        return QStringLiteral("nokey");
    if (which == QLatin1String("key"))
        return names.at(index);
    QString data = Registry::value(key, names.at(index)).toString();
    data.remove(QChar(0));
    return which == QLatin1String("value") ? data : QString();
}

void CMainWindow::iniComDialog()
{
    comSetup->progressBar->reset();

    Registry::serialPorts();
    QStringList registered;
    const int count = Registry::valueNames(QLatin1String(Registry::SerialCommKey)).size();
    for (int i = 0; i < count; ++i)
        registered.append(readSerialCommKey(i, QStringLiteral("value")));
    comSetup->AutoPort->clear();
    comSetup->AutoPort->addItems(dialogPortList(registered));
    // The names are the program's own; the device path tells the user which adapter is which.
    for (int i = 0; i < comSetup->AutoPort->count(); ++i)
        comSetup->AutoPort->setItemData(i, Registry::deviceForPort(comSetup->AutoPort->itemText(i)), Qt::ToolTipRole);

    g_stationPreset = 0;
    if (navigation->treeRoot->rowCount() > 0) {
        const QStringList words = navigation->PotLabel->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &word : words) {
            if (word.contains(QLatin1String("NO."))) {
                g_stationPreset = QString(word).remove(QLatin1String("NO.")).toInt();
                break;
            }
        }
    }
    showSettingsInDialog();
    fitTexts(comSetup);

    if (execAfterEarlierPresses(comSetup) != QDialog::Accepted)
        return;

    // Made before the link is held: a missing command table opens a box.
    const int chosen = comSetup->ProcomboBox->currentIndex();
    ReadWrite *protocolObject = makeProtocolObject(chosen == 1 || chosen == 2 ? chosen : 0);
    bool opened = false;
    {
        // The port, its line, the protocol object, the terminator and the delay change together,
        // between two exchanges of a running poller. Boxes come after the block.
        LinkChange change;
        opened = reopenPort();
        g_baudIndex = comSetup->BaudcomboBox->currentIndex();
        g_serialPort->setBaudRate(baudRateOfIndex(g_baudIndex, g_serialPort->baudRate()));
        switch (comSetup->ProcomboBox->currentIndex()) {
        case 1:
            g_protocolIndex = 1;
            g_dataBitsIndex = 1;
            break;
        case 2:
            g_protocolIndex = 2;
            g_dataBitsIndex = 0;
            break;
        default:
            g_protocolIndex = 0;
            g_dataBitsIndex = comSetup->DatacomboBox->currentIndex();
            break;
        }
        // The previous object is left alone: a poller may still be inside one of its exchanges.
        installProtocol(protocolObject);
        g_serialPort->setDataBits(dataBitsOfIndex(g_dataBitsIndex));
        g_stopBitsIndex = comSetup->StopComboBox->currentIndex();
        g_serialPort->setStopBits(stopBitsOfIndex(g_stopBitsIndex));
        g_parityIndex = comSetup->CheckComboBox->currentIndex();
        g_serialPort->setParity(parityOfIndex(g_parityIndex));
        g_crLfIndex = comSetup->CRComboBox->currentIndex();
        g_crLfMode = g_crLfIndex;
        comSetup->ProComboxCh(g_protocolIndex);
        // The delay stays as it was when the field holds no whole number from 0 to 1000.
        int delay = 0;
        const QString delayText = comSetup->TimeComboBox->currentText();
        const bool delayValid = parseDelayText(delayText, &delay);
        if (delayValid) {
            g_responseDelayMs = delay;
            g_timeoutMs = delay;
        }
        g_portName = comSetup->AutoPort->currentText();
        if (delayValid)
            g_timeoutText = delayText;
    }
    // The test or search may have landed on other settings than the run started with.
    appendOperationLog({ communicationSettingLine() }, true);
    if (!opened)
        reportPortNotOpened();
}

bool CMainWindow::reopenPort()
{
    if (g_serialPort->isOpen())
        g_serialPort->close();
    const QString text = comSetup->AutoPort->currentText();
    g_serialPort->setPortName(portNumber(text) > 9 ? withDevicePrefix(text) : text);
    return g_serialPort->open(QIODevice::ReadWrite);
}

void CMainWindow::reportPortNotOpened()
{
    QString text = messageTable[4] + g_serialPort->portName() + messageTable[5];
    // A port that exists but is closed to this user needs a different fix than a missing one.
    if (g_serialPort->errorString().contains(QLatin1String("dialout")))
        text += QStringLiteral("\n\n") + g_serialPort->errorString();
    askAfterEarlierPresses(this, QMessageBox::Critical, messageTable[3], text);
}

void CMainWindow::reopenSerialPort()
{
    bool opened = false;
    {
        LinkChange change;
        opened = reopenPort();
    }
    if (!opened)
        reportPortNotOpened();
}

void CMainWindow::connecttset()
{
    iniComDialog();
}

void CMainWindow::iniParameter()
{
    parameterForm->setVisible(!parameterForm->isVisible());
}

void CMainWindow::quickSetup()
{
    if (navigation->checkConnection() != 0)
        return;
    // Built anew for each run, so its lists fit the drive it writes to; without a parent, since its
    // window flags would draw it inside the main window.
    QuickSetup wizard(nullptr);
    execAfterEarlierPresses(&wizard);
}

void CMainWindow::ABOUT()
{
    CAbout about(nullptr);
    execAfterEarlierPresses(&about);
}

void CMainWindow::iniSysMon()
{
    if (!monitorWindow || monitorWindow->isHidden()) {
        // The poller may be handing a pass to the old window: it goes only between passes.
        auto handOver = [this](MainDialPlot *window) {
            if (!g_monitorThread) {
                monitorWindow = window;
                return;
            }
            std::lock_guard<std::mutex> lock(g_monitorThread->handOverMutex);
            monitorWindow = window;
        };
        MainDialPlot *old = monitorWindow;
        handOver(nullptr);
        delete old;
        handOver(new MainDialPlot(nullptr));
    } else {
        showMinimized();
        // A closed window stays closed: showing it minimized would bring it back.
        if (trendWindow && !trendWindow->isHidden())
            trendWindow->showMinimized();
    }
    monitorWindow->alarmPage->initLeds();
    monitorWindow->showMaximized();
}

void CMainWindow::trendShow()
{
    if (!trendWindow || trendWindow->isHidden()) {
        // As for the monitor window: the poller may be inside pushSamples of the old window.
        auto handOver = [this](MainAdvPlot *window) {
            if (!g_monitorThread) {
                trendWindow = window;
                return;
            }
            std::lock_guard<std::mutex> lock(g_monitorThread->handOverMutex);
            trendWindow = window;
        };
        MainAdvPlot *old = trendWindow;
        handOver(nullptr);
        delete old;
        handOver(new MainAdvPlot(nullptr));
    } else {
        showMinimized();
        if (monitorWindow && !monitorWindow->isHidden())
            monitorWindow->showMinimized();
    }
    trendWindow->showMaximized();
}

void CMainWindow::UpdateProgress()
{
    updateDataFiles(this);
}

void CMainWindow::SaveFile()
{
    saveDocument(this, false);
}

void CMainWindow::Save_as()
{
    saveDocument(this, true);
}

void CMainWindow::Open()
{
    openDocument(this);
}

void CMainWindow::closeEvent(QCloseEvent *event)
{
    // The owed stop goes out only when the drive answers again, which it cannot once we are gone.
    if (navigation && stopOwedToAnyStation(navigation->modeState)
        && askAfterEarlierPresses(this, QMessageBox::Warning, tr("Warning"),
               tr("STOP was not answered: the drive may still run.\nExit anyway?"), QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No)
            != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    m_exitAsked = true;
    if (trendWindow)
        trendWindow->close();
    if (monitorWindow)
        monitorWindow->close();
    // A pass still in its tries ends first, so its lines come before the run's close line.
    if (g_monitorThread)
        g_monitorThread->stopAndWait();
    // The form's own windows have no parent: one left open would keep the program running.
    if (parameterForm) {
        if (parameterForm->compareResult)
            parameterForm->compareResult->close();
        if (parameterForm->parInformation)
            parameterForm->parInformation->close();
    }
    closeOperationLogRun();
    event->accept();
}

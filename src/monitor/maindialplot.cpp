#include "monitor/maindialplot.h"

#include "comm/globals.h"
#include "comm/typeinfo.h"
#include "monitor/alarmcode.h"
#include "monitor/cockpit.h"
#include "monitor/dial.h"
#include "monitor/hideparameter.h"
#include "monitor/inverterstate.h"
#include "monitor/iostate.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitoritems.h"
#include "monitor/monitorthread.h"
#include "monitor/monitorwidgets.h"
#include "monitor/optiondialogs.h"
#include "monitor/plot.h"
#include "monitor/ram.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/textfit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QToolButton *toolBarButton(const QString &text, const QString &icon)
{
    auto *button = new QToolButton();
    button->setText(text);
    button->setIcon(QIcon(QStringLiteral(":/new prefix/images/") + icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(64, 64);
    return button;
}

} // namespace

MainDialPlot::MainDialPlot(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(tr("Monitor"));
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/monitor.png")));
    plot = new Plot(nullptr, 1, 60.0, 70.0);
    createToolBar();

    tabWidget = new QTabWidget();
    alarmPage = new AlarmCode(nullptr);
    ramWindow = new Ram(nullptr);
    servicePage = new HideParameter(nullptr);
    auto *monitorPage = new QWidget();
    setCentralWidget(tabWidget);
    tabWidget->addTab(monitorPage, tr("Monitor"));
    tabWidget->addTab(alarmPage, tr("Alarm Code"));
    tabWidget->addTab(servicePage, tr("System Diagnosis"));

    createPlotPanel();
    auto *pageLayout = new QVBoxLayout(monitorPage);
    pageLayout->addWidget(cockpit, 5);
    pageLayout->addLayout(stateLayout, 1);
    pageLayout->addLayout(plotPanelLayout, 4);

    setMinimumSize(939, 669);
    fitTexts(this);
    connect(&sampleTimer, &QTimer::timeout, this, &MainDialPlot::updateLineEditValue);
    // Once for the window's life: Stop does not cut it, so a later lost link still reaches it.
    if (g_monitorThread)
        connect(g_monitorThread, &QThread::finished, this, &MainDialPlot::offLine);
    connect(monitorItemsNotifier(), &MonitorItemsNotifier::listChanging, this, &MainDialPlot::itemListChanging);
    connect(monitorItemsNotifier(), &MonitorItemsNotifier::listChanged, this, &MainDialPlot::itemListChanged);
}

MainDialPlot::~MainDialPlot()
{
    // Not a tab while it is hidden, so nothing else deletes it.
    if (tabWidget->indexOf(ramWindow) < 0)
        delete ramWindow;
}

void MainDialPlot::createToolBar()
{
    runButton = toolBarButton(tr("Run"), QStringLiteral("run.png"));
    stopButton = toolBarButton(tr("Stop"), QStringLiteral("stop.png"));
    exitButton = toolBarButton(tr("Exit"), QStringLiteral("exit.png"));
    connect(runButton, &QToolButton::clicked, this, &MainDialPlot::startMonitor);
    connect(stopButton, &QToolButton::clicked, this, &MainDialPlot::stopMonitor);
    connect(exitButton, &QToolButton::clicked, this, &MainDialPlot::closeWindow);
    toolBar = addToolBar(tr(""));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    createDriveInfoLabels();
    toolBar->addWidget(runButton);
    toolBar->setIconSize(QSize(41, 40));
    toolBar->addWidget(stopButton);
    toolBar->addWidget(exitButton);
}

void MainDialPlot::createDriveInfoLabels()
{
    driveTypeLabel = driveInfoLabel(tr("Inverter Type:"));
    driveTypeValue = driveInfoLabel(tr("..."));
    versionLabel = driveInfoLabel(tr("Version:"));
    versionValue = driveInfoLabel(tr("..."));
    outputCurrentLabel = driveInfoLabel(tr("Output Current:"));
    outputCurrentValue = driveInfoLabel(tr("..."));
    inputVoltageLabel = driveInfoLabel(tr("Input Voltage:"));
    inputVoltageValue = driveInfoLabel(tr("..."));
    capacityLabel = driveInfoLabel(tr("kw:"));
    capacityValue = driveInfoLabel(tr("..."));

    toolBar->addWidget(driveInfoColumn({ { driveTypeLabel, driveTypeValue }, { versionLabel, versionValue } }));
    toolBar->addSeparator();
    toolBar->addWidget(driveInfoColumn({ { outputCurrentLabel, outputCurrentValue },
                               { inputVoltageLabel, inputVoltageValue },
                               { capacityLabel, capacityValue } }));
    toolBar->addSeparator();
}

void MainDialPlot::createPlotPanel()
{
    sampleItemBox = new QComboBox();
    sampleItemBox->addItems(loadMonitorItems(this));
    cockpit = new Cockpit(nullptr);
    inverterState = new InverterState(nullptr);
    ioState = new IOState(nullptr);
    stateLayout = new QHBoxLayout();
    stateLayout->addWidget(inverterState, 0);
    stateLayout->addWidget(ioState, 0);

    optionButton = iconTextButton(QStringLiteral("option.png"), tr("Option"));
    connect(optionButton, &QToolButton::clicked, this, &MainDialPlot::optionPlot);
    clearButton = iconTextButton(QStringLiteral("clear-all.png"), tr(" Clear"));
    connect(clearButton, &QToolButton::clicked, this, &MainDialPlot::clearPlotCurve);
    sampleValueEdit = new QLineEdit();
    sampleValueEdit->setReadOnly(true);
    sampleValueEdit->setAlignment(Qt::AlignRight);
    auto *sampleLabel = new QLabel(tr("Sample Value"));

    auto *buttons = new QVBoxLayout();
    buttons->addWidget(optionButton);
    buttons->addWidget(clearButton);
    buttons->addStretch();
    // The page's stretches share its height; the plot's own large size hint would take it first.
    plot->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    cockpit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    auto *plotRow = new QHBoxLayout();
    plotRow->addLayout(buttons);
    plotRow->addWidget(plot);
    auto *itemRow = new QHBoxLayout();
    itemRow->addSpacing(100);
    itemRow->addWidget(sampleItemBox, 2);
    itemRow->addSpacing(60);
    itemRow->addWidget(sampleLabel, 1);
    itemRow->addWidget(sampleValueEdit, 1);
    itemRow->addStretch(8);
    plotPanelLayout = new QVBoxLayout();
    plotPanelLayout->addLayout(plotRow);
    plotPanelLayout->addLayout(itemRow);
}

QList<QLabel *> MainDialPlot::infoLabels() const
{
    return { driveTypeLabel,     driveTypeValue,    versionLabel,      versionValue,  outputCurrentLabel,
             outputCurrentValue, inputVoltageLabel, inputVoltageValue, capacityLabel, capacityValue };
}

void MainDialPlot::startMonitor()
{
    if (!g_connectionTest && g_mainWindow && g_mainWindow->navigation->checkConnection() == -1)
        return;
    if (!g_monitorThread || !g_monitorThread->startDialMonitor())
        return;
    m_ioFeature = isFeatureEnabled(QStringLiteral("mainDialPlot_ioState"));
    cockpit->startMonitor();
    inverterState->startMonitor();
    plot->start();
    ioMonitorStarted = false;
    sampleTimer.start(30);
    cockpit->setControlsEnabled(false);
    sampleItemBox->setEnabled(false);
    {
        std::unique_lock<FairMutex> lock(g_monitorListsMutex);
        const int i = sampleItemBox->currentIndex();
        const bool valid = i >= 0 && i < qMin(g_monitorCodes.size(), g_dialPollFlags.size());
        m_sampleIndex = valid ? i : -1;
        if (valid)
            g_dialPollFlags[i] = true;
    }
    runButton->setEnabled(false);
    optionButton->setEnabled(false);
}

void MainDialPlot::updateValues()
{
    cockpit->fetchValues();
    const int n = g_monitorCodes.size();
    if (n > 0 && n <= g_monitorValues.size())
        inverterState->setStatus(g_monitorValues.at(n - 1));
    auto reading = [](int i) { return i >= 0 && i < g_monitorValues.size() && !std::isnan(g_monitorValues.at(i)); };
    if (m_ioFeature && ioMonitorStarted) {
        int input = 0;
        int output = 0;
        for (int i = 0; i < n && i < g_monitorValues.size(); ++i) {
            if (g_monitorCodes.at(i) == QLatin1String("MAW"))
                input = i;
            else if (g_monitorCodes.at(i) == QLatin1String("MBW"))
                output = i;
        }
        if (reading(input) && reading(output))
            ioState->setIOValue(int(g_monitorValues.at(input)), int(g_monitorValues.at(output)));
    }
    const int i = m_sampleIndex;
    if (i >= 0 && i < n && i < g_monitorValues.size()) {
        if (reading(i))
            plot->appendValue(g_monitorValues.at(i));
        setSampleValue(g_monitorValues.at(i));
    }
}

void MainDialPlot::updateLineEditValue()
{
    const double value = sampleValue.load();
    sampleValueEdit->setText(readingText(value));
    if (!ioMonitorStarted && g_ioMonitorEnabled) {
        IOMonitor();
        ioMonitorStarted = true;
    }
}

void MainDialPlot::IOMonitor()
{
    ioState->startMonitor();
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    for (int i = 0; i < g_monitorCodes.size() && i < g_dialPollFlags.size(); ++i)
        if (g_monitorCodes.at(i) == QLatin1String("MAW") || g_monitorCodes.at(i) == QLatin1String("MBW"))
            g_dialPollFlags[i] = true;
}

void MainDialPlot::stopDisplays()
{
    cockpit->stopMonitor();
    inverterState->stopMonitor();
    plot->stop();
    if (isFeatureEnabled(QStringLiteral("mainDialPlot_ioState")))
        ioState->stopMonitor();
    sampleTimer.stop();
}

void MainDialPlot::stopMonitor()
{
    if (g_monitorThread)
        g_monitorThread->stopDialMonitor();
    endMonitoring();
}

void MainDialPlot::endMonitoring()
{
    stopDisplays();
    cockpit->setControlsEnabled(true);
    sampleItemBox->setEnabled(true);
    runButton->setEnabled(true);
    optionButton->setEnabled(true);
    clearPollFlags(g_dialPollFlags);
}

void MainDialPlot::offLine()
{
    // The poller says whether it ended off-line while this window was fed; g_offLine itself may
    // have been cleared since by another thread's reply.
    if (!g_monitorThread || !g_monitorThread->takeDialOffLine())
        return;
    endMonitoring();
    // What the window showed last is no reading of the drive any more.
    alarmPage->lampsOff();
    cockpit->showNoReading();
    sampleValueEdit->setText(QStringLiteral("---"));
    if (g_mainWindow)
        g_mainWindow->setConnectionState(false);
}

void MainDialPlot::itemListChanging()
{
    if (isMonitoring())
        stopMonitor();
}

void MainDialPlot::itemListChanged(const QVector<QString> &oldCodes, const QVector<QString> &newCodes,
    const QStringList &names)
{
    followItemList(sampleItemBox, oldCodes, newCodes, names);
    const std::pair<QComboBox *, Dial *> gauges[] = { { cockpit->leftItemBox, cockpit->leftDial },
        { cockpit->midItemBox, cockpit->midDial }, { cockpit->rightItemBox, cockpit->rightDial } };
    for (const auto &gauge : gauges) {
        followItemList(gauge.first, oldCodes, newCodes, names);
        gauge.second->setLabel(gauge.first->currentIndex());
    }
}

void MainDialPlot::closeEvent(QCloseEvent *event)
{
    if (g_monitorThread)
        g_monitorThread->stopDialMonitor();
    stopDisplays();
    clearPollFlags(g_dialPollFlags);
    ramWindow->stopAll();
    event->accept();
}

void MainDialPlot::closeWindow()
{
    close();
    if (g_mainWindow)
        g_mainWindow->showMaximized();
}

void MainDialPlot::setDriveInfo(const QVector<QString> &info)
{
    auto entry = [&info](int i) { return i < info.size() ? info.at(i) : QStringLiteral("---"); };
    versionValue->setText(entry(1));
    outputCurrentValue->setText(entry(2));
    inputVoltageValue->setText(entry(3));
    const QStringList fields = info.value(0).split(QRegularExpression(QStringLiteral("-")));
    auto field = [&fields](int i) { return i < fields.size() ? fields.at(i) : QStringLiteral("---"); };
    const QStringList ratings = field(2).split(QRegularExpression(QStringLiteral("/")));
    switch (g_seriesLetter) {
    case 'G':
        // A list without the P.186 text leaves both labels as they are.
        if (info.size() < 5)
            break;
        if (info.at(4).contains(QLatin1Char('0'))) {
            driveTypeValue->setText(QStringLiteral("VP"));
            capacityValue->setText(ratings.at(0) + QLatin1Char('W'));
        } else if (info.at(4).contains(QLatin1Char('1'))) {
            driveTypeValue->setText(QStringLiteral("VP-G"));
            capacityValue->setText(ratings.value(ratings.size() > 1 ? 1 : 0) + QLatin1Char('W'));
        }
        break;
    case 'L':
        driveTypeValue->setText(QStringLiteral("VP-GT"));
        capacityValue->setText(field(2) + QLatin1Char('W'));
        break;
    case 'M':
        driveTypeValue->setText(QStringLiteral("VR3-L"));
        capacityValue->setText(field(2));
        break;
    default:
        driveTypeValue->setText(fields.at(0).isEmpty() ? QStringLiteral("---") : fields.at(0));
        capacityValue->setText(field(2));
        break;
    }
}

void MainDialPlot::optionPlot()
{
    OptionDialog dialog(nullptr);
    dialog.setObjectName(QStringLiteral("Plot"));
    dialog.setXValue(int(plot->xInterval().maxValue()));
    dialog.setYValue(int(plot->yInterval().maxValue()));
    dialog.setModal(true);
    execAfterEarlierPresses(&dialog);
}

void MainDialPlot::setPlotValue(double x, double y)
{
    plot->setAxisRange(x, y);
}

void MainDialPlot::clearPlotCurve()
{
    plot->clearCurve(0);
}

void MainDialPlot::setLeftDialRange(double max)
{
    cockpit->setLeftDialScale(max);
}

void MainDialPlot::setMidDialRange(double max)
{
    cockpit->setMidDialScale(max);
}

void MainDialPlot::setRightDialRange(double max)
{
    cockpit->setRightDialScale(max);
}

void MainDialPlot::toggleRamTab()
{
    if (tabWidget->count() == 3) {
        tabWidget->addTab(ramWindow, tr("RAM"));
        // A page the window did not hold when it was fitted.
        fitTexts(this);
    } else
        tabWidget->removeTab(3);
}

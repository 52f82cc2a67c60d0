#include "monitor/mainadvplot.h"

#include "comm/globals.h"
#include "monitor/advanceplot.h"
#include "monitor/advoptiondialog.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitoritems.h"
#include "monitor/monitorthread.h"
#include "monitor/monitorwidgets.h"
#include "platform/filesave.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/savefilename.h"
#include "shell/textfit.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <qwt_plot_curve.h>

namespace {

const int DefaultRanges[MainAdvPlot::Channels] = { 80, 500, 15, 80, 20, 30, 20, 20 };
const int DefaultItems[MainAdvPlot::Channels] = { 0, 1, 2, 3, 4, 5, 6, 8 };
const char *const ColourSheets[MainAdvPlot::Channels]
    = { "background-color:green;",   "background-color:blue;",       "background-color:darkRed;",
        "background-color:magenta;", "background-color:yellow;",     "background-color:black;",
        "background-color:saddlebrown;", "background-color:darkCyan;" };

QString channelName(int c)
{
    return MainAdvPlot::tr("Ch%1").arg(c + 1);
}

// The colour a button's style sheet shows.
QColor buttonColour(QPushButton *button)
{
    button->ensurePolished();
    return button->palette().color(QPalette::Window);
}

// Two grids of four rows, channels 1 to 4 and 5 to 8, in boxes placed left and right.
QGroupBox *twoColumnGroup(const QString &title, const std::function<void(QGridLayout *, int row, int c)> &fill)
{
    auto *group = new QGroupBox(title);
    auto *outer = new QGridLayout(group);
    for (int half = 0; half < 2; ++half) {
        auto *box = new QWidget();
        auto *grid = new QGridLayout(box);
        // The group's own margin frames the boxes; a second one would only widen the window.
        grid->setContentsMargins(0, 0, 0, 0);
        for (int row = 0; row < 4; ++row)
            fill(grid, row, half * 4 + row);
        outer->addWidget(box, 0, half, half == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    return group;
}

} // namespace

MainAdvPlot::MainAdvPlot(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(tr("Trend"));
    setMinimumSize(1050, 669);
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/trend.png")));
    auto *central = new QWidget();
    setCentralWidget(central);
    plot = new AdvancePlot(nullptr, Channels, 30.0, 100.0);

    createToolBar();
    createYAxisRangeGroup();
    createChannelSelectGroup();
    createPenWidthGroup();
    createChannelValueGroup();

    auto *layout = new QVBoxLayout(central);
    auto *chart = new QVBoxLayout();
    chart->addWidget(plot);
    layout->addLayout(chart, 10);
    auto *row = new QHBoxLayout();
    row->addWidget(yRangeGroup);
    row->addWidget(channelSelectGroup);
    row->addWidget(penWidthGroup);
    row->addWidget(channelValueGroup);
    row->addStretch();
    layout->addLayout(row, 0);

    clearPollFlags(g_advPollFlags);
    // Each curve in its swatch's colour: the names of the style sheets and of Qt differ in shade.
    for (int c = 0; c < Channels; ++c) {
        QwtPlotCurve *curve = plot->curveList().at(c);
        curve->setPen(QPen(buttonColour(colourButtons.at(c))));
    }
    penWidthBoxChanged(0);
    if (g_monitorThread)
        connect(g_monitorThread, &QThread::finished, this, &MainAdvPlot::offLineAdv);
    connect(monitorItemsNotifier(), &MonitorItemsNotifier::listChanging, this, &MainAdvPlot::itemListChanging);
    connect(monitorItemsNotifier(), &MonitorItemsNotifier::listChanged, this, &MainAdvPlot::itemListChanged);
    spanValues.fill(0, Channels);
    checkBox();
    plot->setValueEdits(channelValueEdits);
    plot->setDragModeSource(&dragMode);
    mirrorChannels();
    fitTexts(this);
}

MainAdvPlot::~MainAdvPlot() = default;

void MainAdvPlot::createToolBar()
{
    auto button = [](const QString &text, const QString &icon) {
        auto *b = new QToolButton();
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIcon(QIcon(QStringLiteral(":/new prefix/images/") + icon));
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(64, 64);
        return b;
    };
    runButton = button(tr("Run"), QStringLiteral("run.png"));
    clearAllButton = button(tr("Clear All"), QStringLiteral("clear-all.png"));
    zoomInButton = button(tr("Zoom In"), QStringLiteral("zoom-in.png"));
    zoomOutButton = button(tr("Zoom Out"), QStringLiteral("zoom-out.png"));
    optionButton = button(tr("Option"), QStringLiteral("option.png"));
    saveDataButton = button(tr("Save Data"), QStringLiteral("save.ico"));
    saveChartButton = button(tr("Save Chart"), QStringLiteral("save.ico"));
    stopButton = button(tr("Stop"), QStringLiteral("stop.png"));
    exitButton = button(tr("Exit"), QStringLiteral("exit.png"));
    moveButton = button(tr("Move"), QStringLiteral("coordinate.ico"));
    connect(runButton, &QToolButton::clicked, this, &MainAdvPlot::startMonitor);
    connect(clearAllButton, &QToolButton::clicked, plot, &AdvancePlot::clearAllCurve);
    connect(zoomInButton, &QToolButton::clicked, plot, &AdvancePlot::zoomIn);
    connect(zoomOutButton, &QToolButton::clicked, plot, &AdvancePlot::zoomOut);
    connect(optionButton, &QToolButton::clicked, this, &MainAdvPlot::optionAdvancePlot);
    connect(saveDataButton, &QToolButton::clicked, this, &MainAdvPlot::saveData);
    connect(saveChartButton, &QToolButton::clicked, this, &MainAdvPlot::saveChart);
    connect(stopButton, &QToolButton::clicked, this, &MainAdvPlot::stopMonitor);
    connect(exitButton, &QToolButton::clicked, this, &MainAdvPlot::closeWindow);
    connect(moveButton, &QToolButton::clicked, this, &MainAdvPlot::changeCursor);

    toolBar = addToolBar(tr(""));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(41, 40));
    // Labels as wide as their buttons would touch their neighbours'.
    toolBar->layout()->setSpacing(qMax(toolBar->layout()->spacing(), 6));
    createDriveInfoLabels();
    toolBar->addWidget(runButton);
    toolBar->addSeparator();
    for (QToolButton *b : { clearAllButton, zoomInButton, zoomOutButton, optionButton })
        toolBar->addWidget(b);
    toolBar->addSeparator();
    for (QToolButton *b : { saveDataButton, saveChartButton, stopButton, moveButton, exitButton })
        toolBar->addWidget(b);
}

void MainAdvPlot::createDriveInfoLabels()
{
    driveTypeLabel = driveInfoLabel(tr("Drive:"));
    versionLabel = driveInfoLabel(tr("Version:"));
    capacityLabel = driveInfoLabel(tr("KW:"));
    voltageLabel = driveInfoLabel(tr("Voltage:"));
    currentLabel = driveInfoLabel(tr("Current:"));
    driveTypeValue = driveInfoLabel(tr("..."));
    versionValue = driveInfoLabel(tr("..."));
    capacityValue = driveInfoLabel(tr("..."));
    voltageValue = driveInfoLabel(tr("..."));
    currentValue = driveInfoLabel(tr("..."));
    // Room for a drive's values from the start, so the buttons beside them stay under the pointer
    // when they fill in.
    for (QLabel *value : { driveTypeValue, versionValue, capacityValue, voltageValue, currentValue })
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000.00KW")));
    toolBar->addWidget(
        driveInfoColumn({ { driveTypeLabel, driveTypeValue }, { versionLabel, versionValue } }, Qt::AlignRight));
    toolBar->addSeparator();
    toolBar->addWidget(
        driveInfoColumn({ { currentLabel, currentValue }, { voltageLabel, voltageValue }, { capacityLabel, capacityValue } },
                        Qt::AlignRight));
    toolBar->addSeparator();
}

void MainAdvPlot::createYAxisRangeGroup()
{
    yRangeGroup = new QGroupBox(tr("Y-Axis Range"));
    auto *row = new QHBoxLayout(yRangeGroup);
    for (int half = 0; half < 2; ++half) {
        auto *grid = new QGridLayout();
        for (int r = 0; r < 4; ++r) {
            const int c = half * 4 + r;
            auto *spin = new QSpinBox();
            // A range of 0 would divide the channel's values by zero.
            spin->setRange(1, 65535);
            spin->setValue(DefaultRanges[c]);
            yRangeSpins.append(spin);
            grid->addWidget(new QLabel(channelName(c)), r, half * 2);
            grid->addWidget(spin, r, half * 2 + 1);
        }
        row->addLayout(grid);
    }
}

QComboBox *MainAdvPlot::createItemBox(const QStringList &names)
{
    auto *box = new QComboBox();
    box->addItems(names);
    return box;
}

QComboBox *MainAdvPlot::createPenWidthBox()
{
    auto *box = new QComboBox();
    for (int w = 1; w <= 8; ++w)
        box->addItem(QString::number(w));
    return box;
}

void MainAdvPlot::createChannelSelectGroup()
{
    const QStringList names = loadMonitorItems(this);
    using Slot = void (MainAdvPlot::*)(int);
    const Slot channelSlots[Channels] = { &MainAdvPlot::checkBox1StateChanged, &MainAdvPlot::checkBox2StateChanged,
                                   &MainAdvPlot::checkBox3StateChanged, &MainAdvPlot::checkBox4StateChanged,
                                   &MainAdvPlot::checkBox5StateChanged, &MainAdvPlot::checkBox6StateChanged,
                                   &MainAdvPlot::checkBox7StateChanged, &MainAdvPlot::checkBox8StateChanged };
    for (int c = 0; c < Channels; ++c) {
        auto *check = new QCheckBox(channelName(c));
        check->setChecked(c < 3);
        auto *colour = new QPushButton();
        colour->setStyleSheet(QLatin1String(ColourSheets[c]));
        // A swatch: a button without text needs no more room than a few characters.
        colour->setFixedWidth(3 * colour->fontMetrics().averageCharWidth());
        QComboBox *items = createItemBox(names);
        items->setCurrentIndex(DefaultItems[c] < names.size() ? DefaultItems[c] : -1);
        channelChecks.append(check);
        colourButtons.append(colour);
        itemBoxes.append(items);
        connect(colour, &QPushButton::clicked, this, &MainAdvPlot::changeColor);
        connect(check, &QCheckBox::stateChanged, this, channelSlots[c]);
        connect(items, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { mirrorChannels(); });
    }
    channelSelectGroup = twoColumnGroup(tr("Channel Select"), [this](QGridLayout *grid, int row, int c) {
        grid->addWidget(channelChecks.at(c), row, 0);
        grid->addWidget(colourButtons.at(c), row, 1);
        grid->addWidget(itemBoxes.at(c), row, 2);
    });
    for (QCheckBox *check : qAsConst(channelChecks))
        connect(check, &QCheckBox::stateChanged, this, &MainAdvPlot::checkBox);
}

void MainAdvPlot::createPenWidthGroup()
{
    for (int c = 0; c < Channels; ++c) {
        QComboBox *box = createPenWidthBox();
        box->setCurrentIndex(1);
        penWidthBoxes.append(box);
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &MainAdvPlot::penWidthBoxChanged);
    }
    penWidthGroup = twoColumnGroup(tr("Set Pen Width"), [this](QGridLayout *grid, int row, int c) {
        grid->addWidget(new QLabel(channelName(c)), row, 0);
        grid->addWidget(penWidthBoxes.at(c), row, 1);
    });
}

void MainAdvPlot::createChannelValueGroup()
{
    channelValueGroup = new QGroupBox(tr("Channel Value"));
    auto *row = new QHBoxLayout(channelValueGroup);
    for (int half = 0; half < 2; ++half) {
        auto *grid = new QGridLayout();
        for (int r = 0; r < 4; ++r) {
            const int c = half * 4 + r;
            auto *edit = new QLineEdit(QStringLiteral("0"));
            edit->setReadOnly(true);
            channelValueEdits.append(edit);
            grid->addWidget(new QLabel(channelName(c)), r, half * 2);
            grid->addWidget(edit, r, half * 2 + 1);
        }
        row->addLayout(grid);
        if (half == 0)
            row->addSpacing(2);
    }
}

void MainAdvPlot::mirrorChannels()
{
    for (int c = 0; c < Channels && c < channelChecks.size() && c < itemBoxes.size(); ++c) {
        m_enabled[c] = channelChecks.at(c)->isChecked();
        m_itemIndex[c] = itemBoxes.at(c)->currentIndex();
    }
}

void MainAdvPlot::pushSamples()
{
    QVector<bool> enabled(Channels);
    QVector<int> itemIndex(Channels);
    for (int c = 0; c < Channels; ++c) {
        enabled[c] = m_enabled[c];
        itemIndex[c] = m_itemIndex[c];
    }
    plot->addData(enabled, itemIndex);
}

void MainAdvPlot::applyYAxisRanges()
{
    for (int c = 0; c < Channels; ++c)
        spanValues[c] = yRangeSpins.at(c)->value();
    plot->GetStepLength(spanValues);
}

// Stop and a lost link give back the same controls: the design left the Y-axis ranges greyed after a loss.
void MainAdvPlot::setRecordingControlsEnabled(bool enabled)
{
    for (QComboBox *box : qAsConst(itemBoxes))
        box->setEnabled(enabled);
    for (QToolButton *b : { runButton, optionButton, saveDataButton, saveChartButton })
        b->setEnabled(enabled);
    for (QSpinBox *spin : qAsConst(yRangeSpins))
        spin->setEnabled(enabled);
}

void MainAdvPlot::startMonitor()
{
    if (!g_connectionTest && g_mainWindow && g_mainWindow->navigation->checkConnection() == -1)
        return;
    applyYAxisRanges();
    if (!g_monitorThread || !g_monitorThread->startTrendMonitor())
        return;
    checkBoxStateChanged();
    setRecordingControlsEnabled(false);
    mirrorChannels();
    // What is recorded is named as it was at Run, whatever the boxes show later.
    QStringList names;
    QVector<int> items;
    for (QComboBox *box : qAsConst(itemBoxes)) {
        names << box->currentText();
        items << box->currentIndex();
    }
    plot->setChannelItems(names, items);
    plot->start();
}

void MainAdvPlot::stopMonitor()
{
    if (g_monitorThread)
        g_monitorThread->stopTrendMonitor();
    plot->stop();
    clearPollFlags(g_advPollFlags);
    setRecordingControlsEnabled(true);
}

void MainAdvPlot::offLineAdv()
{
    // The poller says whether it ended off-line while the trend was recorded; it has already
    // left trend mode, so a later monitor Run feeds nothing here.
    if (!g_monitorThread || !g_monitorThread->takeTrendOffLine())
        return;
    g_monitorThread->stopTrendMonitor();
    plot->stop();
    clearPollFlags(g_advPollFlags);
    setRecordingControlsEnabled(true);
    if (g_mainWindow)
        g_mainWindow->setConnectionState(false);
}

void MainAdvPlot::checkBoxStateChanged()
{
    for (int c = 0; c < Channels; ++c)
        channelStateChanged(c);
}

void MainAdvPlot::channelStateChanged(int c)
{
    const bool checked = channelChecks.at(c)->isChecked();
    // Setting the flag waits for the pass under way, which did not read the item: only the passes
    // after it may record for the channel. Unchecked only hides the channel: its recording stays
    // for the curve and the export.
    if (checked)
        setPollFlag(g_advPollFlags, itemBoxes.at(c)->currentIndex());
    m_enabled[c] = checked;
    plot->curveList().at(c)->setVisible(checked);
    plot->replot();
}

void MainAdvPlot::checkBox1StateChanged(int) { channelStateChanged(0); }
void MainAdvPlot::checkBox2StateChanged(int) { channelStateChanged(1); }
void MainAdvPlot::checkBox3StateChanged(int) { channelStateChanged(2); }
void MainAdvPlot::checkBox4StateChanged(int) { channelStateChanged(3); }
void MainAdvPlot::checkBox5StateChanged(int) { channelStateChanged(4); }
void MainAdvPlot::checkBox6StateChanged(int) { channelStateChanged(5); }
void MainAdvPlot::checkBox7StateChanged(int) { channelStateChanged(6); }
void MainAdvPlot::checkBox8StateChanged(int) { channelStateChanged(7); }

// The item list is about to be replaced: a recording of the old items ends here.
void MainAdvPlot::itemListChanging()
{
    if (plot->isRecording())
        stopMonitor();
}

void MainAdvPlot::itemListChanged(const QVector<QString> &oldCodes, const QVector<QString> &newCodes,
    const QStringList &names)
{
    for (int c = 0; c < Channels; ++c) {
        if (!followItemList(itemBoxes.at(c), oldCodes, newCodes, names))
            channelChecks.at(c)->setChecked(false);
    }
    mirrorChannels();
    // Flags at the old indices would ask other items; Run sets them again.
    clearPollFlags(g_advPollFlags);
}

void MainAdvPlot::checkBox()
{
    plot->setCheckBoxes(channelChecks);
}

void MainAdvPlot::penWidthBoxChanged(int)
{
    for (int c = 0; c < Channels; ++c) {
        QwtPlotCurve *curve = plot->curveList().at(c);
        QPen pen = curve->pen();
        pen.setWidth(penWidthBoxes.at(c)->currentIndex() + 1);
        curve->setPen(pen);
    }
    plot->replot();
}

void MainAdvPlot::changeColor()
{
    auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    const QColor colour = chooseColourAfterEarlierPresses(buttonColour(button), this);
    if (!colour.isValid())
        return;
    button->setStyleSheet(
        QStringLiteral("background-color:rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
    for (int c = 0; c < Channels; ++c) {
        QwtPlotCurve *curve = plot->curveList().at(c);
        QPen pen = curve->pen();
        pen.setColor(buttonColour(colourButtons.at(c)));
        curve->setPen(pen);
    }
    plot->replot();
}

void MainAdvPlot::optionAdvancePlot()
{
    AdvOptionDialog dialog(nullptr);
    dialog.setObjectName(QStringLiteral("AdvancePlot"));
    dialog.setXValue(int(plot->xInterval().maxValue()));
    dialog.setRecordTime(plot->recordLimitSeconds());
    dialog.setModal(true);
    execAfterEarlierPresses(&dialog);
}

void MainAdvPlot::setPlotAxis(double width, int recordLimit)
{
    plot->setXAxisWidth(width, recordLimit);
}

// The picture names the items the chart holds, as the exports do, whatever the boxes show since Stop.
QPixmap MainAdvPlot::recordedPicture()
{
    const QStringList recorded = plot->channelNames();
    QVector<int> shown;
    for (int c = 0; c < Channels; ++c) {
        QComboBox *box = itemBoxes.at(c);
        shown << box->currentIndex();
        const int at = box->findText(recorded.value(c), Qt::MatchExactly);
        const QSignalBlocker quiet(box);
        if (at >= 0)
            box->setCurrentIndex(at);
    }
    const QPixmap picture = grab();
    for (int c = 0; c < Channels; ++c) {
        const QSignalBlocker quiet(itemBoxes.at(c));
        itemBoxes.at(c)->setCurrentIndex(shown.at(c));
    }
    return picture;
}

void MainAdvPlot::saveChart()
{
    const QPixmap picture = recordedPicture();
    QString ending;
    const QString path = askSaveFileName(this, tr("Save Chart"), saveStartFolder(), QStringLiteral("*.png"), &ending);
    if (path.isEmpty())
        return;
    auto cannotWrite = [this, &path](const QString &reason) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot write file %1:\n%2.").arg(path, reason));
    };
    if (ending.isEmpty() || !QImageWriter::supportedImageFormats().contains(ending.toLatin1())) {
        cannotWrite(tr("No picture format is known by the ending of the name"));
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, ending.toLatin1());
    if (!writer.write(picture.toImage())) {
        cannotWrite(writer.errorString());
        return;
    }
    QString reason;
    if (!saveFile(path, bytes, &reason))
        cannotWrite(reason);
}

void MainAdvPlot::saveData()
{
    plot->saveData(channelChecks, itemBoxes);
}

void MainAdvPlot::changeCursor()
{
    if (dragMode) {
        setCursor(Qt::ArrowCursor);
        dragMode = false;
        moveButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/coordinate.ico")));
    } else {
        setCursor(Qt::OpenHandCursor);
        dragMode = true;
        moveButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/move.ico")));
    }
}

void MainAdvPlot::closeWindow()
{
    close();
    if (g_mainWindow)
        g_mainWindow->showMaximized();
}

void MainAdvPlot::closeEvent(QCloseEvent *event)
{
    if (g_monitorThread) {
        g_monitorThread->stopTrendMonitor();
        disconnect(g_monitorThread, &QThread::finished, this, &MainAdvPlot::offLineAdv);
    }
    plot->stop();
    clearPollFlags(g_advPollFlags);
    event->accept();
}

void MainAdvPlot::setDriveInfo(const QVector<QString> &info)
{
    auto entry = [&info](int i) { return i < info.size() ? info.at(i) : QStringLiteral("---"); };
    versionValue->setText(entry(1));
    currentValue->setText(entry(2));
    voltageValue->setText(entry(3));
    // A type text of fewer fields, or without its second rating, leaves the labels it would fill.
    const QStringList parts = info.value(0).split(QLatin1Char('-'));
    const bool hasCapacity = parts.size() > 2;
    switch (g_seriesLetter) {
    case 'G': {
        if (info.size() < 5 || !hasCapacity)
            break;
        const QStringList caps = parts.at(2).split(QLatin1Char('/'));
        if (info.at(4).contains(QLatin1Char('0'))) {
            driveTypeValue->setText(QStringLiteral("VP"));
            capacityValue->setText(caps.at(0) + QLatin1Char('W'));
        } else if (info.at(4).contains(QLatin1Char('1')) && caps.size() > 1) {
            driveTypeValue->setText(QStringLiteral("VP-G"));
            capacityValue->setText(caps.at(1) + QLatin1Char('W'));
        }
        break;
    }
    case 'L':
        driveTypeValue->setText(QStringLiteral("VP-GT"));
        if (hasCapacity)
            capacityValue->setText(parts.at(2) + QLatin1Char('W'));
        break;
    case 'M':
        driveTypeValue->setText(QStringLiteral("VR3-L"));
        if (hasCapacity)
            capacityValue->setText(parts.at(2));
        break;
    default:
        driveTypeValue->setText(parts.at(0));
        if (hasCapacity)
            capacityValue->setText(parts.at(2));
        break;
    }
}

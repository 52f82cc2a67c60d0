#include "monitor/ram.h"

#include "comm/readwritemodbus.h"
#include "comm/typeinfo.h"
#include "monitor/monitorsave.h"
#include "monitor/monitorthread.h"
#include "monitor/optiondialogs.h"
#include "monitor/passworddlg.h"
#include "monitor/plot.h"
#include "platform/filesave.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/savefilename.h"
#include "shell/navigation.h"

#include <QBuffer>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <qwt_plot_curve.h>

namespace {

QToolButton *toolButton(const QString &text, const QString &icon, int width)
{
    auto *button = new QToolButton();
    button->setText(text);
    button->setIcon(QIcon(QStringLiteral(":/new prefix/images/") + icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(width, 48);
    return button;
}

} // namespace

Ram::Ram(QWidget *parent)
    : QMainWindow(parent)
    , ramThread(this)
{
    plot = new Plot(nullptr, 2, 60.0, 300.0);
    createToolButtons();
    channelOnePanel = createChannelRow(0);
    channelTwoPanel = createChannelRow(1);
    createPenSettings();

    auto *central = new QWidget();
    auto *layout = new QVBoxLayout(central);
    // The plot may shrink below its wish, so the page fits the monitor window on a laptop's screen.
    plot->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(plot);
    auto *row = new QHBoxLayout();
    auto *panels = new QVBoxLayout();
    panels->addWidget(channelOnePanel);
    panels->addWidget(channelTwoPanel);
    row->addLayout(panels);
    row->addWidget(colorGroup);
    row->addWidget(widthGroup);
    row->addStretch();
    layout->addLayout(row);
    setCentralWidget(central);

    for (int i = 0; i < 2; ++i) {
        g_ramChannelEnabled[i] = false;
        g_ramValues[i] = 0;
        m_boxTicked[i] = channelBoxes[i]->isChecked();
    }
    connect(&displayTimer, &QTimer::timeout, this, &Ram::updateChLineEditValue);
}

// The poller feeds this page: it is joined before anything it reaches goes.
Ram::~Ram()
{
    ramThread.stopAndWait();
}

void Ram::createToolButtons()
{
    toolBar = addToolBar(QString());
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(24, 24));
    runButton = toolButton(tr("Run"), QStringLiteral("run.png"), 48);
    clearButton = toolButton(tr("Clear"), QStringLiteral("clear-all.png"), 48);
    optionButton = toolButton(tr("Option"), QStringLiteral("option.png"), 48);
    saveDataButton = toolButton(tr("Save Data"), QStringLiteral("save.ico"), 64);
    saveChartButton = toolButton(tr("Save Chart"), QStringLiteral("save.ico"), 64);
    stopButton = toolButton(tr("Stop"), QStringLiteral("stop.png"), 48);
    connect(runButton, &QToolButton::clicked, this, &Ram::startMonitor);
    connect(clearButton, &QToolButton::clicked, plot, &Plot::clearAllCurve);
    connect(optionButton, &QToolButton::clicked, this, &Ram::optionAdvancePlot);
    connect(saveDataButton, &QToolButton::clicked, this, &Ram::saveData);
    connect(saveChartButton, &QToolButton::clicked, this, &Ram::saveChart);
    connect(stopButton, &QToolButton::clicked, this, &Ram::stopMonitor);
    for (QToolButton *b : { runButton, clearButton, optionButton, saveDataButton, saveChartButton })
        toolBar->addWidget(b);
    toolBar->addSeparator();
    toolBar->addWidget(stopButton);
    // Built as the page's own, placed nowhere: the access code is asked on the service page.
    passwordButton = toolButton(tr("Password"), QStringLiteral("locked.png"), 52);
    passwordButton->setParent(this);
    passwordButton->hide();
    connect(passwordButton, &QToolButton::clicked, this, &Ram::showPassWorkDlg);
}

QFrame *Ram::createChannelRow(int channel)
{
    auto *panel = new QFrame();
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto *grid = new QGridLayout(panel);
    grid->addWidget(new QLabel(tr("Adress")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(tr("Length")), 0, 3, Qt::AlignCenter);
    grid->addWidget(new QLabel(tr("Type")), 0, 5, Qt::AlignCenter);
    grid->addWidget(new QLabel(tr("Value")), 0, 6, Qt::AlignCenter);

    channelBoxes[channel] = new QCheckBox(channel == 0 ? tr("Ch1") : tr("Ch2"));
    channelBoxes[channel]->setChecked(true);
    connect(channelBoxes[channel], &QCheckBox::stateChanged, this, &Ram::checkBoxStateChanged);
    addressEdits[channel] = new QLineEdit();
    addressEdits[channel]->setAlignment(Qt::AlignCenter);
    addressEdits[channel]->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[a-fA-F0-9]{0,4}")), addressEdits[channel]));
    addressEdits[channel]->setText(isFeatureEnabled(QStringLiteral("ram_AdressLineEdit")) ? QStringLiteral("D000")
                                                                                          : QStringLiteral("9000"));
    auto *length = new QComboBox();
    length->addItem(QStringLiteral("1"));
    typeBoxes[channel] = new QComboBox();
    typeBoxes[channel]->addItems({ QStringLiteral("8bit"), QStringLiteral("16bit"), QStringLiteral("32bit") });
    valueEdits[channel] = new QLineEdit();
    valueEdits[channel]->setReadOnly(true);

    grid->addWidget(channelBoxes[channel], 1, 0);
    grid->addWidget(addressEdits[channel], 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("H")), 1, 2);
    grid->addWidget(length, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("D")), 1, 4);
    grid->addWidget(typeBoxes[channel], 1, 5);
    grid->addWidget(valueEdits[channel], 1, 6);
    grid->addWidget(new QLabel(QStringLiteral("D")), 1, 7);
    return panel;
}

void Ram::createPenSettings()
{
    colorGroup = new QGroupBox(tr("Set Pen Color"));
    widthGroup = new QGroupBox(tr("Set Pen Width"));
    auto *colorGrid = new QGridLayout(colorGroup);
    auto *widthGrid = new QGridLayout(widthGroup);
    const char *colors[2] = { "background-color:green;", "background-color:blue;" };
    for (int i = 0; i < 2; ++i) {
        const QString name = i == 0 ? tr("Ch1") : tr("Ch2");
        auto *color = new QPushButton();
        color->setStyleSheet(QLatin1String(colors[i]));
        connect(color, &QPushButton::clicked, this, &Ram::changeColor);
        colorButtons.append(color);
        colorGrid->addWidget(new QLabel(name), i, 0);
        colorGrid->addWidget(color, i, 1);

        auto *width = new QComboBox();
        for (int w = 1; w <= 8; ++w)
            width->addItem(QString::number(w));
        connect(width, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &Ram::penWidthBoxChanged);
        penWidthBoxes.append(width);
        widthGrid->addWidget(new QLabel(name), i, 0);
        widthGrid->addWidget(width, i, 1);
    }
}

void Ram::setIdleControls(bool idle)
{
    for (QWidget *w : { static_cast<QWidget *>(runButton), static_cast<QWidget *>(optionButton),
                        static_cast<QWidget *>(saveDataButton), static_cast<QWidget *>(saveChartButton) })
        w->setEnabled(idle);
    for (int i = 0; i < 2; ++i) {
        addressEdits[i]->setEnabled(idle);
        typeBoxes[i]->setEnabled(idle);
    }
}

void Ram::startMonitor()
{
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (navigation && navigation->checkConnection() == -1)
        return;
    // The character protocol has no register read: its answers would be no readings at all.
    if (!dynamic_cast<ReadWriteModbus *>(monitorLink())) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("The RAM monitor needs Modbus RTU or Modbus ASCII."));
        return;
    }
    QVector<int> counts;
    QVector<quint32> addresses;
    for (int i = 0; i < 2; ++i) {
        const int type = typeBoxes[i]->currentIndex();
        counts.append(type == 0 ? 1 : 2 * type);
        bool ok = false;
        const uint address = addressEdits[i]->text().toUInt(&ok, 16);
        addresses.append(ok ? address : 0);
    }
    ramThread.setChannels(addresses, counts);
    for (int i = 0; i < 2; ++i)
        g_ramChannelEnabled[i] = channelBoxes[i]->isChecked();
    ramThread.startPolling();
    displayTimer.start(30);
    plot->start();
    setIdleControls(false);
}

void Ram::stopMonitor()
{
    ramThread.stopAndWait();
    plot->stop();
    displayTimer.stop();
    setIdleControls(true);
}

// A failed exchange ended the loop; the protocol object has said why.
void Ram::pollingEnded()
{
    if (ramThread.takeFailed()) {
        ramThread.wait();
        plot->stop();
        displayTimer.stop();
        updateChLineEditValue();
        setIdleControls(true);
    }
}

void Ram::updateChLineEditValue()
{
    for (int i = 0; i < 2; ++i)
        valueEdits[i]->setText(channelBoxes[i]->isChecked() ? QString::number(g_ramValues[i].load()) : QString());
}

void Ram::checkBoxStateChanged(int)
{
    for (int i = 0; i < 2; ++i) {
        const bool ticked = channelBoxes[i]->isChecked();
        m_boxTicked[i] = ticked;
        if (!ticked)
            plot->clearCurve(i);
        plot->curves().at(i)->setVisible(ticked);
    }
}

void Ram::optionAdvancePlot()
{
    OptionDialog dialog(nullptr);
    dialog.setObjectName(QStringLiteral("RamAdvancePlot"));
    dialog.setXValue(int(plot->xInterval().maxValue()));
    dialog.setYValue(int(plot->yInterval().maxValue()));
    dialog.setModal(true);
    execAfterEarlierPresses(&dialog);
}

void Ram::setPlotRange(double x, double y)
{
    plot->setAxisRange(x, y);
}

void Ram::penWidthBoxChanged(int)
{
    for (int i = 0; i < 2; ++i) {
        QPen pen = plot->curves().at(i)->pen();
        pen.setWidth(penWidthBoxes.at(i)->currentIndex() + 1);
        plot->curves().at(i)->setPen(pen);
    }
}

void Ram::changeColor()
{
    auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    const QColor color = chooseColourAfterEarlierPresses(button->palette().color(QPalette::Window), this);
    if (!color.isValid())
        return;
    button->setStyleSheet(QStringLiteral("background-color:rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue()));
    for (int i = 0; i < 2; ++i) {
        QPen pen = plot->curves().at(i)->pen();
        colorButtons.at(i)->ensurePolished();
        pen.setColor(colorButtons.at(i)->palette().color(QPalette::Window));
        plot->curves().at(i)->setPen(pen);
    }
}

void Ram::saveChart()
{
    const QPixmap picture = grab(rect());
    const QString path = askSaveFileName(this, tr("Save Chart"), QDir::currentPath(), QStringLiteral("*.png"), nullptr);
    if (path.isEmpty())
        return;
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    QString reason;
    if (!writer.write(picture.toImage()))
        reason = writer.errorString();
    else if (saveFile(path, bytes, &reason))
        return;
    warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot write file %1:\n%2.").arg(path, reason));
}

void Ram::saveData()
{
    plot->saveData({ channelBoxes[0], channelBoxes[1] }, { addressEdits[0], addressEdits[1] });
}

void Ram::showPassWorkDlg()
{
    PassWordDlg dialog(nullptr);
    dialog.setObjectName(QStringLiteral("RAM Password"));
    execAfterEarlierPresses(&dialog);
}

void Ram::stopAll()
{
    ramThread.stopAndWait();
    plot->stop();
}

void Ram::feedPlot()
{
    plot->appendRamSamples({ m_boxTicked[0].load(), m_boxTicked[1].load() });
}

bool Ram::isMonitoring() const
{
    return !runButton->isEnabled();
}

void Ram::unlock()
{
    runButton->setEnabled(true);
}

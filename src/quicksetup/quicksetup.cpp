#include "quicksetup/quicksetup.h"

#include "comm/globals.h"
#include "comm/linkreports.h"
#include "comm/typeinfo.h"
#include "parameter/parameter.h"
#include "parameter/valuetext.h"
#include "quicksetup/terminallists.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/textfit.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QPainter>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString NullItem = QStringLiteral("NULL");

bool isStartFunction(const QString &text)
{
    return text.startsWith(QLatin1String("STF")) || text.startsWith(QLatin1String("STR"))
           || text.startsWith(QLatin1String("RUN"));
}

// A start function another input already has would start the motor from a terminal wired for
// something else: such a default gives way to the parameter's own default from the loaded table, or to
// no choice when the table has none for it or that one starts the motor as well.
void keepStartFunctionsSingle(const QVector<QComboBox *> &inputs, char series)
{
    const CParameter *form = g_mainWindow ? g_mainWindow->parameterForm : nullptr;
    QStringList held;
    for (int i = 0; i < inputs.size(); ++i) {
        QComboBox *combo = inputs.at(i);
        if (!combo->isEnabled() || !isStartFunction(combo->currentText()))
            continue;
        if (!held.contains(combo->currentText())) {
            held << combo->currentText();
            continue;
        }
        const int parameter = QuickSetupWrites::inputParameter(i, series);
        bool ok = false;
        const int code = form && parameter >= 0 ? form->defaultValues[parameter].toInt(&ok) : -1;
        const int index = ok ? QuickSetupWrites::inputIndex(i, code, series) : -1;
        const bool startsAgain = index >= 0 && index < combo->count() && held.contains(combo->itemText(index));
        combo->setCurrentIndex(index < combo->count() && !startsAgain ? index : -1);
    }
}

QFrame *sunkenPanel()
{
    auto *frame = new QFrame;
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QFrame *separatorLine()
{
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A column of labels beside a column of widgets.
QHBoxLayout *columns(const QList<QWidget *> &left, const QList<QWidget *> &middle, const QList<QWidget *> &right = {})
{
    auto *row = new QHBoxLayout;
    for (const QList<QWidget *> &column : { left, middle, right }) {
        if (column.isEmpty())
            continue;
        auto *box = new QVBoxLayout;
        for (QWidget *w : column)
            box->addWidget(w);
        row->addLayout(box);
    }
    return row;
}

void setRowEnabled(QLabel *label, QComboBox *combo, bool on)
{
    label->setEnabled(on);
    combo->setEnabled(on);
}

} // namespace

QuickSetup::QuickSetup(QWidget *parent) : QDialog(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/quicksetup.ico")));
    setWindowTitle(tr("Quick Setup"));
    setWindowFlags(Qt::WindowSystemMenuHint);
    setFixedSize(660, 700);
    tabWidget = new QTabWidget;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabWidget);
    loadInputAndOutput();
    createPageOne();
    createPageTwo();
    createPageThree();
    createPageFour();
    showUnitsInForce();
    // Without the factory choices OK would write 0 Hz, 0 V and 0 s, and the voltage box would stop at 99.
    setDefaultValues();
    fitTexts(this);
}

QuickSetup::~QuickSetup() = default;

QToolButton *QuickSetup::navigationButton(const QString &text, const QString &icon, void (QuickSetup::*slot)())
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setIcon(QIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(button, &QToolButton::clicked, this, slot);
    return button;
}

void QuickSetup::setPageOne() { tabWidget->setCurrentIndex(0); }
void QuickSetup::setPageTwo() { tabWidget->setCurrentIndex(1); }
void QuickSetup::setPageThree() { tabWidget->setCurrentIndex(2); }
void QuickSetup::setPageFour() { tabWidget->setCurrentIndex(3); }

void QuickSetup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), QPixmap(QStringLiteral(":/new prefix/images/background.png")));
}

// ---- Terminal-function lists ----

void QuickSetup::loadInputAndOutput()
{
    inputAndOutputFields = TerminalLists::loadDataFields(g_seriesLetter, TerminalLists::versionNumber(g_firmwareVersion));
}

QComboBox *QuickSetup::fillOutputFunctionCombo()
{
    auto *combo = new QComboBox;
    combo->addItems(TerminalLists::outputFunctions(g_seriesLetter, TerminalLists::versionNumber(g_firmwareVersion)));
    return combo;
}

QComboBox *QuickSetup::createListCombo()
{
    auto *combo = new QComboBox;
    for (const QString &field : inputAndOutputFields) {
        splitField = field.split(QLatin1Char('.'), Qt::SkipEmptyParts);
        combo->addItem(TerminalLists::itemText(field));
    }
    return combo;
}

// ---- Steps 1 and 2 ----

void QuickSetup::createPageOne()
{
    stepOnePage = new QWidget;
    controlMethodCombo = new QComboBox;
    controlMethodCombo->addItem(NullItem);
    switch (g_seriesLetter) {
    case 'X':
        controlMethodCombo->addItems({ tr("V/F control"), tr("Facility vector control"),
                                       tr("Speed sensorless vector closed-loop control") });
        break;
    case 'T':
        controlMethodCombo->addItems({ tr("V/F control"), tr("General flux vector control") });
        break;
    case 'G':
    case 'L':
        controlMethodCombo->addItems({ tr("V/F control"), tr("V/F closed-loop control"), tr("General flux vector control"),
                                       tr("Speed sensorless vector closed-loop control"),
                                       tr("Closed-loop vector control") });
        break;
    case 'A':
        controlMethodCombo->addItems({ tr("Speed control"), tr("Torque control"), tr("Position control") });
        break;
    default:
        controlMethodCombo->addItem(tr("V/F control"));
        break;
    }
    stepOneTitleLabel = new QLabel(tr("User Parameters"));
    controlMethodLabel = new QLabel(tr("Control Methods"));
    stepOneNextButton = navigationButton(tr("Next Step"), QStringLiteral(":/new prefix/images/next.png"),
                                         &QuickSetup::setPageTwo);

    auto *frame = sunkenPanel();
    auto *inner = new QHBoxLayout(frame);
    inner->addWidget(controlMethodLabel);
    inner->addWidget(controlMethodCombo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stepOneNextButton);
    auto *page = new QVBoxLayout(stepOnePage);
    page->addWidget(stepOneTitleLabel);
    page->addWidget(frame);
    page->addStretch(1);
    page->addLayout(buttons);
    tabWidget->addTab(stepOnePage, tr("Step 1"));
}

void QuickSetup::createPageTwo()
{
    stepTwoPage = new QWidget;
    auto realSpin = [](double maximum, double step, bool twoDecimals) {
        auto *spin = new QDoubleSpinBox;
        spin->setAlignment(Qt::AlignCenter);
        spin->setRange(0.0, maximum);
        spin->setSingleStep(step);
        if (twoDecimals)
            spin->setDecimals(2);
        return spin;
    };
    maxFrequencySpin = realSpin(1000.0, 0.01, false);
    baseFrequencySpin = realSpin(1000.0, 0.01, false);
    maxVoltageSpin = new QSpinBox;
    maxVoltageSpin->setAlignment(Qt::AlignCenter);
    accelTimeSpin = realSpin(10000.0, 0.1, true);
    decelTimeSpin = realSpin(10000.0, 0.1, true);

    stepTwoTitleLabel = new QLabel(tr("Basic Parameters"));
    maxFrequencyLabel = new QLabel(tr("Maximum Output Frequency"));
    baseFrequencyLabel = new QLabel(tr("Maximum Voltage Frequency"));
    maxVoltageLabel = new QLabel(tr("Maximum Output Voltage"));
    accelTimeLabel = new QLabel(tr("Acceleration Time"));
    decelTimeLabel = new QLabel(tr("Deceleration Time"));
    accelTimeUnitLabel = new QLabel(tr("sec"));
    decelTimeUnitLabel = new QLabel(tr("sec"));
    stepTwoBackButton = navigationButton(tr("Back Step"), QStringLiteral(":/new prefix/images/back.png"),
                                         &QuickSetup::setPageOne);
    stepTwoNextButton = navigationButton(tr("Next Step"), QStringLiteral(":/new prefix/images/next.png"),
                                         &QuickSetup::setPageThree);

    auto *frame = sunkenPanel();
    auto *inner = new QVBoxLayout(frame);
    QHBoxLayout *upper = columns({ maxFrequencyLabel, baseFrequencyLabel, maxVoltageLabel },
                                 { maxFrequencySpin, baseFrequencySpin, maxVoltageSpin },
                                 { new QLabel(tr("HZ")), new QLabel(tr("HZ")), new QLabel(tr("V")) });
    upper->addStretch(0);
    inner->addLayout(upper);
    inner->addWidget(separatorLine());
    QHBoxLayout *lower = columns({ accelTimeLabel, decelTimeLabel }, { accelTimeSpin, decelTimeSpin },
                                 { accelTimeUnitLabel, decelTimeUnitLabel });
    lower->addStretch(0);
    inner->addLayout(lower);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stepTwoBackButton);
    buttons->addWidget(stepTwoNextButton);
    auto *page = new QVBoxLayout(stepTwoPage);
    page->addWidget(stepTwoTitleLabel);
    page->addWidget(frame);
    page->addStretch(1);
    page->addLayout(buttons);
    tabWidget->addTab(stepTwoPage, tr("Step 2"));
}

// ---- Step 3 ----

void QuickSetup::createPageThree()
{
    stepThreePage = new QWidget;
    stepThreeTitleLabel = new QLabel(tr("Operation Method Parameters"));
    frequencySourceLabel = new QLabel(tr("The reference source of target frequency ."));
    frequencySourceLabel->setWordWrap(true);

    const QString panel = tr("Operation panel");
    const QString terminals = tr("External terminals");
    const QString communication = tr("Communication");
    const QString analogOrSpeeds = tr("External voltage/current signal or combination of multi-speed stage levels");
    frequencySourceCombo = new QComboBox;
    frequencySourceCombo->addItems(
        { panel, tr("The set value of P.15"),
          tr("External voltage/current signal,combination of multi-speed stage levels or External JOG"),
          tr("Frequency of each section in Programmed operation mode"), communication, analogOrSpeeds,
          tr("Communication,combination of multi-speed stage levels or External JOG"), analogOrSpeeds,
          tr("Operation panel,combination of multi-speed stage levels or External JOG") });
    // At least the designed 540 px; a fixed width would cut a longer entry (English) in the middle.
    frequencySourceCombo->view()->setMinimumWidth(540);

    startSourceLabel = new QLabel(tr("The signal source of motor starting ."));
    startSourceLabel->setWordWrap(true);
    startSourceLabel->setFixedWidth(150);
    startSourceCombo = new QComboBox;
    startSourceCombo->addItems({ panel, panel, terminals, tr("External terminal STF"), communication, panel, terminals,
                                 communication, terminals });
    startSourceCombo->setEnabled(false);
    connect(frequencySourceCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), startSourceCombo,
            &QComboBox::setCurrentIndex);

    brakeLabel = new QLabel(tr("Brake Selection"));
    brakeCombo = new QComboBox;
    brakeCombo->addItems({ tr("Linear Braking"), tr("Idling Braking") });
    stepThreeBackButton = navigationButton(tr("Back Step"), QStringLiteral(":/new prefix/images/back.png"),
                                           &QuickSetup::setPageTwo);
    stepThreeNextButton = navigationButton(tr("Next Step"), QStringLiteral(":/new prefix/images/next.png"),
                                           &QuickSetup::setPageFour);

    auto *frame = sunkenPanel();
    auto *inner = new QVBoxLayout(frame);
    inner->addLayout(columns({ frequencySourceLabel, startSourceLabel }, { frequencySourceCombo, startSourceCombo }));
    inner->addWidget(separatorLine());
    auto *brakeRow = new QHBoxLayout;
    brakeRow->addWidget(brakeLabel);
    brakeRow->addWidget(brakeCombo);
    inner->addLayout(brakeRow);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stepThreeBackButton);
    buttons->addWidget(stepThreeNextButton);
    auto *page = new QVBoxLayout(stepThreePage);
    page->addWidget(stepThreeTitleLabel);
    page->addWidget(frame);
    page->addStretch(1);
    page->addLayout(buttons);
    tabWidget->addTab(stepThreePage, tr("Step 3"));
}

// ---- Step 4 ----

QStringList QuickSetup::fixedInputTexts()
{
    return {
        tr("STF(the inverter runs forward)"), tr("STR(the inverter runs reverse)"), tr("RL(Multi-speedlow speed)"),
        tr("RM(Multi-speed medium speed)"), tr("RH(multi-speedhigh speed)"), tr("Analog terminal 4-5 priority"),
        tr("The external thermal relay operation"), tr("MRS(the instantaneous stopping of the inverter output)"),
        tr("RT(the inverter second function)"), tr("EXT(external JOG)"), tr("STF+EXJ"), tr("STR+EXJ"), tr("STF+RT"),
        tr("STR+RT"), tr("STF+RL"), tr("STR+RL"), tr("STF+RM"), tr("STR+RM"), tr("STF+RH"), tr("STR+RH"),
        tr("STF+RL+RM"), tr("STR+RL+RM"), tr("STF+RT+RL"), tr("STR+RT+RL"), tr("STF+RT+RM"), tr("STR+RT+RM"),
        tr("STF+RT+RL+RM"), tr("STR+RT+RL+RM"), tr("RUN(the inverter runs forward)"),
        tr("STF/STR(it is used with RUN, when STF/STR is on, the inverter runs reverse;when STF/STR is off, the inverter runs forward)"),
        tr("RES(external reset function)"),
        tr("STOP(it can be used as a three-wire mode with the RUN signal or the STF-STR terminal)"),
        tr("REX(multi-speed set (16 levels))"), tr("PO(in external mode, programmed operation mode is chosen)"),
        tr("RES_E (external reset become valid only when the alarm goes off.)"),
        tr("MPO (in external mode the manually operation cycle mode is chosen.)"),
        tr("TRI(triangle wave function is chosen)"),
        tr("GP_BP(Automatic switchover frequency between inverter and commercial power-supply operation.)"),
        tr("CS(Manual switch to commercial power supply)"),
        tr("STF/STR +STOP(The motor has a reverse rotation when the RUN signal is on. When the RUN signal is off, stop the motor and then run the motor for forward rotation.)"),
        tr("P_MRS (the inverter output instantaneously stops, The MRS is pulse signal input)"),
        tr("PWM setting frequency (Note 1)"), tr("RUN_EN (the digital input terminal running enable)"),
        tr("PID_OFF (the digital input terminal stopping PID enable)"), tr("The second mode"),
        tr("Initial curling radius selection terminal 1"), tr("Initial curling radius selection terminal 2"),
        tr("Thickness selection terminal 1"), tr("Thickness selection terminal 2"), tr("Wind-up roll-down switching"),
        tr("Predrive reference"), tr("Torque memory"), tr("Torque memory enable"), tr("Turn counting signal(note1)"),
        tr("Switch speed/Torque control"), tr("Curling radius restore"), tr("High-speed pulse input function(note1)"),
        tr("Analog terminal 2-5 priority"), tr("Analog terminal 3-5 priority"), tr("Starting/Stopping of PLC"),
        tr("Origin retry enable function SHOM"), tr("Origin retry setting origin ORGP"),
        tr("Switch position/Speed control"), tr("External switch zero-servo"), tr("External accelerate/decelerate pause"),
        tr("External forced stop"),
    };
}

void QuickSetup::createPageFour()
{
    const char series = g_seriesLetter;
    stepFourPage = new QWidget;
    stepFourTitleLabel = new QLabel(tr("Output & Input Function Parameters"));

    const QStringList outputLabels {
        tr("Terminal (SO-SE)"), tr("Relay (A-B-C)"), tr("Relay (A1-B1-C1)"), tr("Relay (A2-B2-C2)"),
    };
    for (int i = 0; i < 4; ++i) {
        outputFunctionLabels << new QLabel(outputLabels.at(i));
        outputFunctionCombos << fillOutputFunctionCombo();
        if (series == 'A')
            outputFunctionCombos.last()->insertItem(0, NullItem);
    }
    for (const QString &slot : { QStringLiteral("SLOT3"), QStringLiteral("SLOT2") }) {
        for (int a = 10; a <= 17; ++a) {
            slotOutputFunctionLabels << new QLabel(tr("The output of A%1 function selection (%2)").arg(a).arg(slot));
            slotOutputFunctionCombos << fillOutputFunctionCombo();
            slotOutputFunctionCombos.last()->insertItem(0, NullItem);
        }
    }
    auto *outputPage = new QWidget;
    auto *outputLayout = new QVBoxLayout(outputPage);
    outputLayout->setContentsMargins(4, 4, 4, 4);
    outputLayout->setSpacing(2);
    // Twenty-two rows must stand in the fixed 700 pixels: each row as high as its text, the rows
    // close together.
    auto group = [](const QVector<QLabel *> &labels, const QVector<QComboBox *> &combos, int from, int count) {
        QList<QWidget *> left, right;
        for (int i = from; i < from + count; ++i) {
            const int height = labels.at(i)->fontMetrics().height() + 2;
            labels.at(i)->setFixedHeight(height);
            combos.at(i)->setFixedHeight(height);
            left << labels.at(i);
            right << combos.at(i);
        }
        QHBoxLayout *row = columns(left, right);
        for (int i = 0; i < row->count(); ++i)
            if (QLayout *column = row->itemAt(i)->layout())
                column->setSpacing(0);
        return row;
    };
    outputLayout->addLayout(group(outputFunctionLabels, outputFunctionCombos, 0, 2));
    outputLayout->addSpacing(1);
    outputLayout->addLayout(group(outputFunctionLabels, outputFunctionCombos, 2, 2));
    outputLayout->addStretch();
    outputLayout->addLayout(group(slotOutputFunctionLabels, slotOutputFunctionCombos, 0, 8));
    outputLayout->addLayout(group(slotOutputFunctionLabels, slotOutputFunctionCombos, 8, 8));

    functionTabWidget = new QTabWidget;
    functionTabWidget->addTab(outputPage, tr("Output"));
    auto *frame = sunkenPanel();
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(functionTabWidget);

    if (series == 'B' || series == 'C' || series == 'S' || series == 'T') {
        for (int i = 2; i < 4; ++i)
            setRowEnabled(outputFunctionLabels[i], outputFunctionCombos[i], false);
    } else if (series == 'F' || series == 'G') {
        const QStringList labels { tr("Terminal (SU-SE)"), tr("Relay (A-B-C)"), tr("Terminal (RUN-SE)"),
                                   tr("Terminal (FU/10X-SE)") };
        for (int i = 0; i < 4; ++i)
            outputFunctionLabels[i]->setText(labels.at(i));
    } else if (series == 'L' || series == 'A') {
        const QStringList labels { tr("Terminal (SO1-SE)"), tr("Relay (A1-B1-C1)"), tr("Terminal (SO2-SE)"),
                                   tr("Relay (A2-B2-C2)") };
        for (int i = 0; i < 4; ++i)
            outputFunctionLabels[i]->setText(labels.at(i));
    }

    QStringList inputLabels;
    for (const char *name : { "M0", "M1", "M2", "STF", "STR", "RES", "M3", "M4", "M5", "HDI" })
        inputLabels << tr("Multi-function input terminals %1").arg(QLatin1String(name));
    for (const QString &slot : { QStringLiteral("SLOT3"), QStringLiteral("SLOT2") }) {
        for (int m = 10; m <= 15; ++m)
            inputLabels << tr("Multi-function input terminals M%1(%2)").arg(m).arg(slot);
    }
    for (int i = 0; i < 22; ++i) {
        inputFunctionLabels << new QLabel(inputLabels.at(i));
        inputFunctionCombos << createListCombo();
        const bool withNull = i >= 10 || (series == 'A' && i <= 8);
        if (withNull)
            inputFunctionCombos.last()->insertItem(0, NullItem);
    }
    auto *inputPage = new QWidget;
    auto *inputLayout = new QVBoxLayout(inputPage);
    inputLayout->setContentsMargins(4, 4, 4, 4);
    inputLayout->setSpacing(2);
    inputLayout->addLayout(group(inputFunctionLabels, inputFunctionCombos, 0, 6));
    inputLayout->addSpacing(1);
    inputLayout->addLayout(group(inputFunctionLabels, inputFunctionCombos, 6, 4));
    inputLayout->addSpacing(3);
    inputLayout->addLayout(group(inputFunctionLabels, inputFunctionCombos, 10, 6));
    inputLayout->addLayout(group(inputFunctionLabels, inputFunctionCombos, 16, 6));
    functionTabWidget->addTab(inputPage, tr("Input"));

    if (series == 'B' || series == 'C' || series == 'S' || series == 'T') {
        for (int i = 6; i < 10; ++i)
            setRowEnabled(inputFunctionLabels[i], inputFunctionCombos[i], false);
    } else if (series == 'F' || series == 'G') {
        int i = 0;
        for (const char *name : { "RL", "RM", "RH", "STF", "STR", "RES", "AU", "RT", "MRS" })
            inputFunctionLabels[i++]->setText(tr("Multi-function input terminals %1").arg(QLatin1String(name)));
        setRowEnabled(inputFunctionLabels[9], inputFunctionCombos[9], false);
    } else if (series == 'L') {
        for (int i = 7; i < 9; ++i)
            setRowEnabled(inputFunctionLabels[i], inputFunctionCombos[i], false);
    } else if (series == 'A') {
        const QStringList texts = fixedInputTexts();
        for (int i = 0; i < 22; ++i) {
            // HDI has no "NULL": its texts start at index 0, so the text shown is the function written.
            const int first = i == 9 ? 0 : 1;
            QComboBox *combo = inputFunctionCombos[i];
            for (int t = 0; t < texts.size() && first + t < combo->count(); ++t)
                combo->setItemText(first + t, texts.at(t));
        }
    }
    if (series != 'A') {
        for (int i = 0; i < 16; ++i)
            setRowEnabled(slotOutputFunctionLabels[i], slotOutputFunctionCombos[i], false);
        for (int i = 10; i < 22; ++i)
            setRowEnabled(inputFunctionLabels[i], inputFunctionCombos[i], false);
    }

    stepFourBackButton = navigationButton(tr("Back Step"), QStringLiteral(":/new prefix/images/back.png"),
                                          &QuickSetup::setPageThree);
    stepFourOkButton = navigationButton(tr("OK"), QStringLiteral(":/new prefix/images/ok.png"), &QuickSetup::enterSet);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stepFourBackButton);
    buttons->addWidget(stepFourOkButton);
    auto *page = new QVBoxLayout(stepFourPage);
    page->setContentsMargins(6, 4, 6, 4);
    page->addWidget(stepFourTitleLabel);
    page->addWidget(frame);
    page->addLayout(buttons);
    tabWidget->addTab(stepFourPage, tr("Step 4"));
}

// ---- Defaults ----

void QuickSetup::setDefaultValues()
{
    const char series = g_seriesLetter;
    controlMethodCombo->setCurrentIndex(isFeatureEnabled(QStringLiteral("quicksetup_setCurrentIndex")) ? 1 : 0);
    maxFrequencySpin->setValue(120.0);
    baseFrequencySpin->setValue(60.0);
    accelTimeSpin->setValue(5.0);
    decelTimeSpin->setValue(5.0);
    const int voltageMaximum = isFeatureEnabled(QStringLiteral("quicksetup_outVolSpinBox")) ? 99999 : 9999;
    maxVoltageSpin->setRange(0, voltageMaximum);
    maxVoltageSpin->setValue(voltageMaximum);
    frequencySourceCombo->setCurrentIndex(4);
    startSourceCombo->setCurrentIndex(4);
    brakeCombo->setCurrentIndex(0);

    auto setIndices = [](const QVector<QComboBox *> &combos, int from, const QVector<int> &indices) {
        for (int i = 0; i < indices.size(); ++i)
            combos.at(from + i)->setCurrentIndex(indices.at(i));
    };
    if (series == 'A') {
        setIndices(outputFunctionCombos, 0, { 2 });
        setIndices(outputFunctionCombos, 2, { 3, 1 });
        for (QComboBox *combo : slotOutputFunctionCombos)
            combo->setCurrentIndex(0);
        setIndices(inputFunctionCombos, 0, { 3, 4, 5, 1, 2, 31, 6, 9, 8, 56 });
        for (int i = 10; i < 22; ++i)
            inputFunctionCombos[i]->setCurrentIndex(0);
    } else if (series == 'L') {
        setIndices(outputFunctionCombos, 0, { 1 });
        setIndices(outputFunctionCombos, 2, { 2, 0 });
        setIndices(inputFunctionCombos, 0, { 2, 3, 4, 0, 1, 30, 5, 0, 0, 56 });
    } else {
        setIndices(outputFunctionCombos, 0, { 1 });
        setIndices(outputFunctionCombos, 2, { 0, 0 });
        setIndices(inputFunctionCombos, 0, { 2, 3, 4, 0, 1, 30, 0, 0, 0 });
    }
    // Relay A-B-C signals the drive's alarms; under series A the function stands behind "NULL".
    const int alarm = TerminalLists::AlarmOutput + (series == 'A' ? 1 : 0);
    outputFunctionCombos[1]->setCurrentIndex(isFeatureEnabled(QStringLiteral("quicksetup_H")) ? 0 : alarm);
    if (isFeatureEnabled(QStringLiteral("quicksetup_GF"))) {
        setIndices(outputFunctionCombos, 0, { 1 });
        setIndices(outputFunctionCombos, 2, { 1, 3 });
        setIndices(inputFunctionCombos, 6, { 6, 9, 8 });
    }
    keepStartFunctionsSingle(inputFunctionCombos, series);
}

// ---- Applying the set-up ----

QuickSetupWrites::Choices QuickSetup::choices() const
{
    QuickSetupWrites::Choices c;
    c.controlMethod = controlMethodCombo->currentIndex();
    c.maxFrequency = maxFrequencySpin->value();
    c.baseFrequency = baseFrequencySpin->value();
    c.maxVoltage = maxVoltageSpin->value();
    c.accelTime = accelTimeSpin->value();
    c.decelTime = decelTimeSpin->value();
    c.brake = brakeCombo->currentIndex();
    c.operationMethod = frequencySourceCombo->currentIndex();
    for (int i = 0; i < 4; ++i)
        c.outputs[i] = outputFunctionCombos[i]->currentIndex();
    for (int i = 0; i < 16; ++i)
        c.slotOutputs[i] = slotOutputFunctionCombos[i]->currentIndex();
    for (int i = 0; i < 22; ++i)
        c.inputs[i] = inputFunctionCombos[i]->currentIndex();
    return c;
}

// A value goes to the drive in the unit the parameter form's Write would send it in: the one a selector
// (P.21 for the times, P.187 of series A for the frequencies) gives the parameter now, else the wizard's
// own. The table's related units are the source: read from the drive at the load and again at OK, and kept
// by every selector the program writes, they are what the table shows and every transfer uses, so a time
// the table shows as 5.0 s is written as 5.0 s. P.991 of series D governs only
// the monitored and set frequencies, no parameter, so it changes nothing here.
QString QuickSetup::resolutionInForce(const QuickSetupWrites::Write &write) const
{
    CParameter *form = g_mainWindow ? g_mainWindow->parameterForm : nullptr;
    return form ? form->writeResolution(write.parameter, write.resolution, write.value) : write.resolution;
}

// Where a selector gives a Step 2 parameter its unit, the box shows that unit's decimals (and steps by
// at least one of them); elsewhere the boxes keep their own.
void QuickSetup::showUnitsInForce()
{
    using QuickSetupWrites::Field;
    const QMap<Field, QDoubleSpinBox *> boxes { { Field::MaxFrequency, maxFrequencySpin },
        { Field::BaseFrequency, baseFrequencySpin }, { Field::AccelTime, accelTimeSpin },
        { Field::DecelTime, decelTimeSpin } };
    const auto feature = [](const QString &key) { return isFeatureEnabled(key); };
    for (const QuickSetupWrites::Write &write : QuickSetupWrites::writes(choices(), g_seriesLetter, feature)) {
        QDoubleSpinBox *spin = boxes.value(write.field);
        const QString unit = resolutionInForce(write);
        if (!spin || unit == write.resolution)
            continue;
        const int decimals = ValueText::decimalsOf(unit, false);
        spin->setDecimals(decimals);
        spin->setSingleStep(qMax(spin->singleStep(), std::pow(10.0, -decimals)));
    }
}

QString QuickSetup::fieldLimit(const QuickSetupWrites::Write &write) const
{
    using QuickSetupWrites::Field;
    const int multiplier = qMax(1, ValueText::decimalsOf(write.resolution, true));
    const int power = qRound(std::log10(double(multiplier)));
    const double largest = 65535.0 / multiplier;
    switch (write.field) {
    case Field::MaxFrequency:
        return tr("\"%1\" can be at most %2 Hz.").arg(maxFrequencyLabel->text()).arg(largest, 0, 'f', power);
    case Field::BaseFrequency:
        return tr("\"%1\" can be at most %2 Hz.").arg(baseFrequencyLabel->text()).arg(largest, 0, 'f', power);
    case Field::MaxVoltage:
        return tr("\"%1\" can be at most %2 V, or 9999 for no set value.")
            .arg(maxVoltageLabel->text())
            .arg(int(std::floor(largest)));
    case Field::AccelTime:
        return tr("\"%1\" can be at most %2 s.").arg(accelTimeLabel->text()).arg(largest, 0, 'f', power);
    case Field::DecelTime:
        return tr("\"%1\" can be at most %2 s.").arg(decelTimeLabel->text()).arg(largest, 0, 'f', power);
    default:
        return tr("Parameter P.%1 cannot take the value %2.").arg(write.parameter).arg(write.value);
    }
}

void QuickSetup::enterSet()
{
    // On a lost link OK says so, as the form's buttons do, and the wizard goes: only the connection
    // test in the main window brings the link back, and the wizard is built anew for the drive it finds.
    // A loss already told would otherwise cost ten silent tries, since the protocol layer tells it once.
    CNavigation *navigation = g_mainWindow ? g_mainWindow->navigation : nullptr;
    if (navigation && navigation->checkConnection() != 0) {
        close();
        return;
    }
    if (g_offLine) {
        if (LinkReports *reports = linkReports()) {
            reports->reportOffline();
            reports->reportError(LinkMessage::CommunicationError);
        }
        close();
        return;
    }
    QVector<QuickSetupWrites::Write> writes
        = QuickSetupWrites::writes(choices(), g_seriesLetter, [](const QString &key) { return isFeatureEnabled(key); });
    // Each selector is read once, now: the keypad may have changed it since the load. One that cannot
    // be read leaves its values' unit unknown, so nothing is written, and its refusal names them all.
    CParameter *form = g_mainWindow->parameterForm;
    QMap<int, QStringList> governed;
    for (const QuickSetupWrites::Write &write : writes) {
        const QString name = QStringLiteral("P.%1").arg(write.parameter);
        const int selector = form->selectorOf(write.parameter);
        if (selector >= 0 && !governed.value(selector).contains(name))
            governed[selector] << name;
    }
    for (auto it = governed.cbegin(); it != governed.cend(); ++it) {
        if (!form->readUnitNow(it.key(), CParameter::unreadUnitText(it.value().join(QStringLiteral(", ")), it.key())))
            return;
    }
    for (QuickSetupWrites::Write &write : writes)
        write.resolution = resolutionInForce(write);
    // A value the parameter word cannot hold would stop the run half-way; nothing is written then.
    for (const QuickSetupWrites::Write &write : writes) {
        if (ValueText::toRawValue(write.value, write.resolution) < 0) {
            warnAfterEarlierPresses(
                this, tr("Warning"), fieldLimit(write) + QLatin1Char('\n') + tr("Nothing was written."));
            return;
        }
    }
    for (const QuickSetupWrites::Write &write : writes) {
        g_mainWindow->refusalSubject = refusedText(write);
        const bool written = g_mainWindow->parameterForm->writeParValue(write.parameter, write.value, write.resolution);
        g_mainWindow->refusalSubject.clear();
        if (!written)
            return;
    }
    close();
}

// Under the message of a refusal: which value the drive did not take, and what the run left in the drive.
QString QuickSetup::refusedText(const QuickSetupWrites::Write &write) const
{
    using QuickSetupWrites::Field;
    const QMap<Field, QLabel *> labels { { Field::ControlMethod, controlMethodLabel },
        { Field::MaxFrequency, maxFrequencyLabel }, { Field::BaseFrequency, baseFrequencyLabel },
        { Field::MaxVoltage, maxVoltageLabel }, { Field::AccelTime, accelTimeLabel },
        { Field::DecelTime, decelTimeLabel }, { Field::Brake, brakeLabel } };
    QLabel *label = labels.value(write.field);
    const QString value = label ? tr("P.%1 = %2 (\"%3\")").arg(write.parameter).arg(write.value, label->text())
                                : QStringLiteral("P.%1 = %2").arg(write.parameter).arg(write.value);
    return tr("The drive did not take %1. The set-up stopped there: the values before it are written, none after it.")
        .arg(value);
}

#include "monitor/optiondialogs.h"

#include "monitor/maindialplot.h"
#include "monitor/monitorwidgets.h"
#include "monitor/ram.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/textfit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

void setUpWindow(QDialog *dialog, const QString &title)
{
    dialog->setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/option.png")));
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
}

QHBoxLayout *buttonRow(QToolButton *ok, QToolButton *cancel)
{
    auto *row = new QHBoxLayout();
    // Up to 120 pixels before the buttons: the dial's dialog, 200 wide, has less to give.
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

QSpinBox *spinBox(int maximum)
{
    auto *box = new QSpinBox();
    box->setRange(1, maximum);
    box->setFixedWidth(100);
    return box;
}

QHBoxLayout *labelRow(const QString &text, QSpinBox *box)
{
    auto *row = new QHBoxLayout();
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(new QLabel(text));
    row->addWidget(box, 0, Qt::AlignRight);
    return row;
}

MainDialPlot *monitorWindow()
{
    return g_mainWindow ? g_mainWindow->monitorWindow : nullptr;
}

} // namespace

OptionDialog::OptionDialog(QWidget *parent)
    : QDialog(parent)
{
    setUpWindow(this, tr("Option"));
    setFixedSize(260, 200);
    okButton = iconTextButton(QStringLiteral("ok.png"), tr("OK"));
    cancelButton = iconTextButton(QStringLiteral("cancel.png"), tr("Cancel"));
    connect(okButton, &QToolButton::clicked, this, &OptionDialog::setValue);
    connect(cancelButton, &QToolButton::clicked, this, &OptionDialog::close);

    xAxisSpinBox = spinBox(1000);
    yAxisSpinBox = spinBox(100000);
    auto *xGroup = new QGroupBox(tr("X-Axis"));
    xGroup->setLayout(labelRow(tr("Seconds per page"), xAxisSpinBox));
    auto *yGroup = new QGroupBox(tr("Y-Axis"));
    yGroup->setLayout(labelRow(tr("Max Value"), yAxisSpinBox));

    // The fixed size was chosen for a smaller font: the rows stand close to fit it.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(xGroup);
    layout->addWidget(yGroup);
    layout->addLayout(buttonRow(okButton, cancelButton));
    fitTexts(this);
}

void OptionDialog::setXValue(int value)
{
    xAxisSpinBox->setValue(value);
}

void OptionDialog::setYValue(int value)
{
    yAxisSpinBox->setValue(value);
}

void OptionDialog::setValue()
{
    MainDialPlot *window = monitorWindow();
    if (window && objectName() == QLatin1String("Plot"))
        window->setPlotValue(xAxisSpinBox->value(), yAxisSpinBox->value());
    else if (window && objectName() == QLatin1String("RamAdvancePlot"))
        window->ramWindow->setPlotRange(xAxisSpinBox->value(), yAxisSpinBox->value());
    close();
}

DialOptionDialog::DialOptionDialog(QWidget *parent)
    : QDialog(parent)
{
    setUpWindow(this, tr("Option"));
    setFixedSize(200, 110);
    okButton = iconTextButton(QStringLiteral("ok.png"), tr("OK"));
    cancelButton = iconTextButton(QStringLiteral("cancel.png"), tr("Cancel"));
    connect(okButton, &QToolButton::clicked, this, &DialOptionDialog::setDialValue);
    connect(cancelButton, &QToolButton::clicked, this, &DialOptionDialog::close);

    maxValueSpinBox = spinBox(65535);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addLayout(labelRow(tr("Max Value"), maxValueSpinBox));
    layout->addLayout(buttonRow(okButton, cancelButton));
    fitTexts(this);
}

void DialOptionDialog::setSpinValue(int value)
{
    maxValueSpinBox->setValue(value);
}

void DialOptionDialog::setDialValue()
{
    MainDialPlot *window = monitorWindow();
    const double value = maxValueSpinBox->value();
    if (window) {
        if (objectName() == QLatin1String("LeftDial"))
            window->setLeftDialRange(value);
        else if (objectName() == QLatin1String("MidDial"))
            window->setMidDialRange(value);
        else if (objectName() == QLatin1String("RightDial"))
            window->setRightDialRange(value);
    }
    close();
}

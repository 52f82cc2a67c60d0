#include "monitor/advoptiondialog.h"

#include "monitor/advanceplot.h"
#include "monitor/mainadvplot.h"
#include "monitor/monitorwidgets.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/textfit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QGroupBox *spinGroup(const QString &title, const QString &label, QSpinBox *box)
{
    auto *group = new QGroupBox(title);
    auto *row = new QHBoxLayout(group);
    row->addWidget(new QLabel(label));
    row->addWidget(box, 0, Qt::AlignRight);
    return group;
}

} // namespace

AdvOptionDialog::AdvOptionDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowIcon(QIcon(QStringLiteral(":/new prefix/images/option.png")));
    setWindowTitle(tr("Option"));
    setWindowFlags(Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    okButton = iconTextButton(QStringLiteral("ok.png"), tr("OK"));
    cancelButton = iconTextButton(QStringLiteral("cancel.png"), tr("Cancel"));
    connect(okButton, &QToolButton::clicked, this, &AdvOptionDialog::setValue);
    connect(cancelButton, &QToolButton::clicked, this, &AdvOptionDialog::close);

    xAxisSpinBox = new QSpinBox();
    xAxisSpinBox->setRange(1, 1000);
    xAxisSpinBox->setFixedWidth(100);
    recordTimeSpinBox = new QSpinBox();
    recordTimeSpinBox->setRange(1, 3600);
    recordTimeSpinBox->setFixedWidth(100);

    QSpinBox **fields[] = { &offsetSpinBox1, &offsetSpinBox2, &offsetSpinBox3, &offsetSpinBox4,
                            &offsetSpinBox5, &offsetSpinBox6, &offsetSpinBox7, &offsetSpinBox8 };
    auto *offsetGroup = new QGroupBox(tr("Y-Axis Offset"));
    auto *offsetRow = new QHBoxLayout(offsetGroup);
    offsetRow->addSpacing(10);
    for (int half = 0; half < 2; ++half) {
        auto *grid = new QGridLayout();
        for (int r = 0; r < 4; ++r) {
            const int c = half * 4 + r;
            auto *box = new QSpinBox();
            box->setRange(0, 20);
            box->setValue(0);
            *fields[c] = box;
            offsetSpinBoxes.append(box);
            grid->addWidget(new QLabel(tr("Ch%1").arg(c + 1)), r, 0);
            grid->addWidget(box, r, 1);
        }
        offsetRow->addLayout(grid);
        offsetRow->addSpacing(half == 0 ? 40 : 10);
    }

    auto *buttons = new QHBoxLayout();
    buttons->addSpacing(120);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(spinGroup(tr("X-Axis"), tr("Seconds per page"), xAxisSpinBox));
    layout->addWidget(spinGroup(tr("Record Time"), tr("Time(0~3600 seconds)"), recordTimeSpinBox));
    layout->addWidget(offsetGroup);
    layout->addLayout(buttons);
    fitTexts(this);
}

void AdvOptionDialog::setXValue(int value)
{
    xAxisSpinBox->setValue(value);
}

void AdvOptionDialog::setRecordTime(int value)
{
    recordTimeSpinBox->setValue(value);
}

void AdvOptionDialog::setValue()
{
    MainAdvPlot *window = g_mainWindow ? g_mainWindow->trendWindow : nullptr;
    if (objectName() == QLatin1String("AdvancePlot") && window) {
        window->setPlotAxis(xAxisSpinBox->value(), recordTimeSpinBox->value());
        window->plot->setChannelOffsets(offsetSpinBoxes);
    }
    close();
}

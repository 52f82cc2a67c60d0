#include "monitor/cockpit.h"

#include "monitor/dial.h"
#include "monitor/monitorglobals.h"
#include "monitor/monitoritems.h"
#include "monitor/optiondialogs.h"
#include "shell/earlierpresses.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace {

const QColor DialWindow(46, 74, 95, 255);

QPalette dialFramePalette(const QColor &c)
{
    QPalette palette;
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Disabled, QPalette::Inactive }) {
        palette.setColor(group, QPalette::Base, c);
        palette.setColor(group, QPalette::Window, DialWindow);
        palette.setColor(group, QPalette::Mid, c.darker(110));
        palette.setColor(group, QPalette::Light, c.lighter(170));
        palette.setColor(group, QPalette::Dark, c.darker(170));
        palette.setColor(group, QPalette::Text, c.darker(200).lighter(800));
        palette.setColor(group, QPalette::WindowText, c.darker(200));
    }
    return palette;
}

} // namespace

Cockpit::Cockpit(QWidget *parent)
    : QWidget(parent)
{
    // Left and middle: gauge, option button and display, item box.
    struct Group {
        QFrame **outer;
        Dial **dial;
        QLCDNumber **lcd;
        QPushButton **option;
        QComboBox **box;
        int item;
        void (Cockpit::*optionSlot)();
    };
    const Group groups[] = {
        { &leftFrame, &leftDial, &leftLcd, &leftOptionButton, &leftItemBox, 0, &Cockpit::setLeftDialValue },
        { &midFrame, &midDial, &midLcd, &midOptionButton, &midItemBox, 1, &Cockpit::setMidDialValue },
    };
    for (const Group &g : groups) {
        QFrame *dialFrame = createDialFrame(g.dial, g.outer);
        (*g.dial)->setupScale();
        (*g.dial)->setLabel(g.item);
        auto *dialLayout = new QVBoxLayout(dialFrame);
        dialLayout->addWidget(*g.dial);
        auto *outerLayout = new QVBoxLayout(*g.outer);
        *g.option = new QPushButton();
        (*g.option)->setIcon(QIcon(QStringLiteral(":/new prefix/images/option.png")));
        (*g.option)->setIconSize(QSize(30, 26));
        *g.lcd = createLcd();
        *g.box = loadComboItems();
        (*g.box)->setCurrentIndex(g.item);
        connect(*g.option, &QPushButton::clicked, this, g.optionSlot);
        connect(*g.box, QOverload<int>::of(&QComboBox::currentIndexChanged), *g.dial, &Dial::setLabel);
        auto *row = new QHBoxLayout();
        row->addWidget(*g.option, 1);
        row->addWidget(*g.lcd, 5);
        outerLayout->addWidget(dialFrame, 8);
        outerLayout->addLayout(row, 1);
        outerLayout->addWidget(*g.box, 1);
    }
    setMidDialScale(450.0);

    // Right: the arc dial, placed by resizeEvent rather than a layout.
    QFrame *dialFrame = createDialFrame(&rightDial, &rightFrame);
    rightDial->setupScale2();
    rightDial->setLabel(2);
    QPalette own = palette();
    const QColor window = rightDial->palette().color(QPalette::Window);
    own.setColor(QPalette::Window, window);
    own.setColor(QPalette::WindowText, window);
    own.setColor(QPalette::Base, window);
    rightDial->setPalette(own);
    rightDial->setAutoFillBackground(true);
    auto *grid = new QGridLayout(rightFrame);
    auto *row = new QHBoxLayout();
    rightOptionButton = new QPushButton();
    rightOptionButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/option.png")));
    rightOptionButton->setIconSize(QSize(18, 18));
    rightItemBox = loadComboItems();
    rightItemBox->setCurrentIndex(2);
    connect(rightOptionButton, &QPushButton::clicked, this, &Cockpit::setRightDialValue);
    connect(rightItemBox, QOverload<int>::of(&QComboBox::currentIndexChanged), rightDial, &Dial::setLabel);
    row->addWidget(rightItemBox, 7);
    row->addWidget(rightOptionButton, 1);
    row->addStretch(2);
    grid->addWidget(dialFrame, 0, 0);
    grid->addLayout(row, 1, 0);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(leftFrame, 4);
    layout->addWidget(midFrame, 4);
    layout->addWidget(rightFrame, 5);

    connect(&updateTimer, &QTimer::timeout, this, &Cockpit::updateData);
}

Cockpit::~Cockpit() = default;

QFrame *Cockpit::createDialFrame(Dial **dial, QFrame **outer)
{
    *outer = new QFrame();
    (*outer)->setFrameShape(QFrame::Box);
    (*outer)->setFrameShadow(QFrame::Raised);
    auto *dialFrame = new QFrame();
    dialFrame->setAutoFillBackground(true);
    dialFrame->setPalette(dialFramePalette(QColor(106, 156, 255, 255).darker(300)));
    dialFrame->setFrameShape(QFrame::Panel);
    dialFrame->setFrameShadow(QFrame::Raised);
    *dial = new Dial(dialFrame);
    return dialFrame;
}

QLCDNumber *Cockpit::createLcd()
{
    auto *lcd = new QLCDNumber(this);
    lcd->setAutoFillBackground(true);
    QPalette palette(DialWindow);
    palette.setColor(QPalette::WindowText, QColor(106, 156, 255, 255).lighter(130));
    lcd->setPalette(palette);
    lcd->setSegmentStyle(QLCDNumber::Flat);
    lcd->setDigitCount(8);
    return lcd;
}

QComboBox *Cockpit::loadComboItems()
{
    auto *box = new QComboBox();
    box->addItems(loadMonitorItems(this));
    return box;
}

void Cockpit::startMonitor()
{
    leftValue = midValue = rightValue = 0.0;
    leftLcdValue = midLcdValue = 0.0;
    updateTimer.start(30);
    std::unique_lock<FairMutex> lock(g_monitorListsMutex);
    const int n = qMin(g_monitorCodes.size(), g_dialPollFlags.size());
    const QComboBox *boxes[] = { leftItemBox, midItemBox, rightItemBox };
    for (int i = 0; i < 3; ++i) {
        const int item = boxes[i]->currentIndex();
        m_items[i] = item >= 0 && item < n ? item : -1;
        if (m_items[i] >= 0)
            g_dialPollFlags[m_items[i]] = true;
    }
    if (n > 0)
        g_dialPollFlags[n - 1] = true;
}

void Cockpit::stopMonitor()
{
    updateTimer.stop();
}

void Cockpit::fetchValues()
{
    auto value = [](int item) {
        return item >= 0 && item < g_monitorValues.size() ? g_monitorValues.at(item) : 0.0;
    };
    leftValue = value(m_items[0]);
    leftLcdValue = leftValue.load();
    midValue = value(m_items[1]);
    midLcdValue = midValue.load();
    rightValue = value(m_items[2]);
}

void Cockpit::updateData()
{
    // No reading (a refused item, or the link gone): the gauge greyed at 0, its figures "---"; the
    // right figure says "?" for a unit unread, which seven segments cannot draw.
    auto show = [](Dial *dial, double value) {
        const bool reading = !std::isnan(value);
        dial->setEnabled(reading);
        dial->changeDialValue(reading ? value : 0.0);
    };
    const double left = leftLcdValue.load();
    const double mid = midLcdValue.load();
    show(leftDial, leftValue);
    show(midDial, midValue);
    const double right = rightValue.load();
    show(rightDial, right);
    if (std::isnan(left))
        leftLcd->display(QStringLiteral("---"));
    else
        leftLcd->display(left);
    if (std::isnan(mid))
        midLcd->display(QStringLiteral("---"));
    else
        midLcd->display(mid);
    rightDial->setUnitText(readingText(right));
}

void Cockpit::showNoReading()
{
    leftValue = midValue = rightValue = std::numeric_limits<double>::quiet_NaN();
    leftLcdValue = midLcdValue = std::numeric_limits<double>::quiet_NaN();
    updateData();
}

void Cockpit::setControlsEnabled(bool enabled)
{
    leftItemBox->setEnabled(enabled);
    midItemBox->setEnabled(enabled);
    rightItemBox->setEnabled(enabled);
}

void Cockpit::setLeftDialScale(double max)
{
    leftDial->setRange(max);
}

void Cockpit::setMidDialScale(double max)
{
    midDial->setRange(max);
}

void Cockpit::setRightDialScale(double max)
{
    rightDial->setRange(max);
}

void Cockpit::openDialOption(const char *name, Dial *dial)
{
    DialOptionDialog dialog(nullptr);
    dialog.setObjectName(QLatin1String(name));
    dialog.setSpinValue(int(dial->upperBound()));
    dialog.setModal(true);
    execAfterEarlierPresses(&dialog);
}

void Cockpit::setLeftDialValue()
{
    openDialOption("LeftDial", leftDial);
}

void Cockpit::setMidDialValue()
{
    openDialOption("MidDial", midDial);
}

void Cockpit::setRightDialValue()
{
    openDialOption("RightDial", rightDial);
}

void Cockpit::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QWidget *frame = rightDial->parentWidget();
    const int w = frame->width();
    const int h = frame->height();
    if (w > 340 && h > 213)
        rightDial->move((w - 340) / 2, (h - 213) / 3);
    else if (w > 340)
        rightDial->move((w - 340) / 2, y());
    else if (h > 213)
        rightDial->move(x(), (h - 213) / 3);
    else
        rightDial->move(0, 0);
    // Its value text follows what the frame shows of it.
    rightDial->placedAgain();
}

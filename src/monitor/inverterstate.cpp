#include "monitor/inverterstate.h"

#include "comm/globals.h"
#include "monitor/alarmcode.h"
#include "monitor/maindialplot.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <cmath>

namespace {

const QString LampOn = QStringLiteral(":/new prefix/images/on.png");
const QString LampOff = QStringLiteral(":/new prefix/images/off.png");

AlarmCode *alarmPage()
{
    if (!g_mainWindow || !g_mainWindow->monitorWindow)
        return nullptr;
    return g_mainWindow->monitorWindow->alarmPage;
}

} // namespace

InverterState::InverterState(QWidget *parent)
    : QGroupBox(parent)
{
    setTitle(tr("System State"));
    const QPixmap off(LampOff);
    const QString texts[8] = { tr("Running"),      tr("Forward"),        tr("Reversal"),
                               tr("Freq Arrival"), tr("Overload"),       tr("Pr. restor"),
                               tr("Freq Detection"), tr("Alarm occurrence") };
    auto *grid = new QGridLayout();
    grid->setHorizontalSpacing(5);
    for (int bit = 0; bit < 8; ++bit) {
        textLabels[bit] = new QLabel(bit < 6 ? texts[bit] + QString(14, QLatin1Char(' ')) : texts[bit]);
        textLabels[bit]->setAlignment(Qt::AlignLeft);
        // The trailing blanks space the lamps out where there is room; they need not fit.
        textLabels[bit]->setMinimumWidth(textLabels[bit]->fontMetrics().horizontalAdvance(texts[bit]));
        lampLabels[bit] = new QLabel();
        lampLabels[bit]->setPixmap(off);
        const int pair = bit / 2;
        grid->addWidget(lampLabels[bit], bit % 2, pair * 2);
        grid->addWidget(textLabels[bit], bit % 2, pair * 2 + 1);
    }
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    textLabels[5]->setText(g_seriesLetter == 'H' ? tr("key tone") : tr("Pr. restor"));
    statusWord = 0;
    connect(&refreshTimer, &QTimer::timeout, this, &InverterState::updateStatus);
}

InverterState::~InverterState() = default;

void InverterState::startMonitor()
{
    refreshTimer.start(30);
}

void InverterState::stopMonitor()
{
    refreshTimer.stop();
    statusWord = 0;
    updateStatus();
}

void InverterState::setStatus(double value)
{
    // A refused status item: no lamp can say anything.
    statusWord = std::isnan(value) ? -1 : int(value);
}

void InverterState::updateStatus()
{
    const int word = statusWord;
    for (QLabel *lamp : lampLabels)
        lamp->setEnabled(word >= 0);
    if (word < 0)
        return;
    for (int bit = 0; bit < 7; ++bit)
        lampLabels[bit]->setPixmap(QPixmap((word >> bit) & 1 ? LampOn : LampOff));
    if (word & 0x80) {
        lampLabels[7]->setPixmap(QPixmap(LampOn));
        // A refresh's box lets this slot run again inside it: the flag goes back to what the
        // outer call still relies on, not to false.
        const bool previous = g_acceptAlarmWriteRefusal.exchange(true);
        if (AlarmCode *page = alarmPage())
            page->refreshAlarm();
        g_acceptAlarmWriteRefusal = previous;
    } else {
        lampLabels[7]->setPixmap(QPixmap(LampOff));
        if (AlarmCode *page = alarmPage())
            page->resetLeds();
    }
}

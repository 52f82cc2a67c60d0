#include "monitor/iostate.h"

#include "comm/globals.h"
#include "monitor/iostatefile.h"
#include "monitor/monitorglobals.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"

#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextCodec>
#include <QVBoxLayout>

namespace {
const QString LampOn = QStringLiteral(":/new prefix/images/on.png");
const QString LampOff = QStringLiteral(":/new prefix/images/off.png");
}

IOState::IOState(QWidget *parent)
    : QGroupBox(parent)
{
    setTitle(tr("I/O State"));
    const QPixmap off(LampOff);
    QHBoxLayout *rows[IoTerminalRows];
    for (int r = 0; r < IoTerminalRows; ++r) {
        textLabels[r] = new QLabel();
        lampLabels[r] = new QLabel();
        lampLabels[r]->setPixmap(off);
        rows[r] = new QHBoxLayout();
        rows[r]->setSpacing(4);
        rows[r]->addWidget(lampLabels[r]);
        rows[r]->addWidget(textLabels[r]);
    }
    auto *layout = new QHBoxLayout(this);
    // The columns stand apart by a character of the panel's font and spread over what room the window
    // leaves them: a fixed gap wide enough for one font pushed the window past a laptop screen, and a
    // drive that wires all fourteen terminals labels every column.
    const int gap = fontMetrics().averageCharWidth();
    layout->setSpacing(0);
    for (int c = 0; c < 7; ++c) {
        auto *column = new QVBoxLayout();
        column->setSpacing(4);
        column->addLayout(rows[2 * c]);
        column->addLayout(rows[2 * c + 1]);
        if (c == 5) {
            layout->addSpacing(10);
            auto *line = new QFrame();
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Raised);
            layout->addWidget(line);
            layout->addSpacing(10);
        } else if (c > 0) {
            layout->addSpacing(gap);
            layout->addStretch(1);
        }
        layout->addLayout(column);
    }

    g_ioStateTable.clear();
    const QString path = g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\IOstate.txt");
    QFile file(localPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot read file %1:\n%2.").arg(path, file.errorString()));
    } else {
        file.close();
        const IoStateLine line = parseIoState(readDataLines(localPath(path)), g_seriesLetter, g_firmwareVersion);
        if (line.found) {
            g_ioPolarity = line.polarity;
            g_ioStateTable = line.table;
            if (ioRowEnabled(g_ioStateTable.value(0)))
                g_ioMonitorEnabled = true;
        }
    }

    const bool complete = g_ioStateTable.size() >= IoTerminalRows;
    for (int r = 0; r < IoTerminalRows; ++r) {
        if (complete && ioRowEnabled(g_ioStateTable.at(r))) {
            textLabels[r]->setText(g_ioStateTable.at(r).at(1));
        } else {
            textLabels[r]->setEnabled(false);
            lampLabels[r]->setEnabled(false);
        }
    }
    inputWord = outputWord = resetWord();
    connect(&refreshTimer, &QTimer::timeout, this, &IOState::updateStatus);
}

IOState::~IOState() = default;

// Either way every terminal shows inactive.
int IOState::resetWord() const
{
    return g_ioPolarity == 1 ? 0 : 0xFFFF;
}

void IOState::startMonitor()
{
    refreshTimer.start(30);
}

void IOState::stopMonitor()
{
    refreshTimer.stop();
    inputWord = outputWord = resetWord();
    updateStatus();
}

void IOState::setIOValue(int input, int output)
{
    inputWord = input;
    outputWord = output;
}

void IOState::updateStatus()
{
    if (g_ioStateTable.size() < IoTerminalRows)
        return;
    for (int r = 0; r < IoTerminalRows; ++r) {
        const QStringList &row = g_ioStateTable.at(r);
        if (!ioRowEnabled(row))
            continue;
        const int bit = row.at(2).trimmed().toInt();
        const int word = r < 10 ? inputWord : outputWord;
        lampLabels[r]->setPixmap(QPixmap(ioTerminalActive(word, bit, g_ioPolarity) ? LampOn : LampOff));
    }
}

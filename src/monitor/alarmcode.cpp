#include "monitor/alarmcode.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "monitor/alarmfiles.h"
#include "monitor/monitorsave.h"
#include "monitor/monitorthread.h"
#include "parameter/parameter.h"
#include "platform/filesave.h"
#include "platform/appstate.h"
#include "platform/paths.h"
#include "platform/textfiles.h"
#include "shell/appglobals.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"
#include "shell/savefilename.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <QVBoxLayout>

namespace {

const QString LampOn = QStringLiteral(":/new prefix/images/on.png");
const QString LampOff = QStringLiteral(":/new prefix/images/off.png");
const QString LampRed = QStringLiteral(":/new prefix/images/on_red.png");

QString alarmFilePath(const QString &name)
{
    return localPath(g_appDir + QStringLiteral("ParameterInforamtion\\InvType\\") + name);
}

// The file's lines, or false with the reason the box names.
bool readAlarmFile(const QString &path, QStringList *lines, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *reason = file.errorString();
        return false;
    }
    file.close();
    bool ok = false;
    *lines = readDataLines(path, gbkCodec(), &ok);
    if (!ok)
        *reason = file.errorString();
    return ok;
}

// Restores the flag however the scope is left.
class FlagGuard
{
public:
    explicit FlagGuard(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~FlagGuard() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

void appendPlainParagraph(QTextEdit *edit, const QString &text)
{
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    if (!edit->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
}

AlarmCode::AlarmCode(QWidget *parent)
    : QWidget(parent)
{
    const QPixmap off(LampOff);
    auto *grid = new QGridLayout();
    grid->setHorizontalSpacing(5);
    for (int i = 0; i < Slots; ++i) {
        auto *name = new QLabel(QString::number(i));
        auto *lamp = new QLabel();
        lamp->setPixmap(off);
        nameLabels.append(name);
        leds.append(lamp);
        const int group = i / 5, row = i % 5;
        grid->addWidget(lamp, row, 2 * group);
        grid->addWidget(name, row, 2 * group + 1);
    }
    auto *rowOne = new QHBoxLayout();
    rowOne->addLayout(grid);
    rowOne->addStretch(1);

    auto *saveButton = new QPushButton(tr("Save Message"));
    connect(saveButton, &QPushButton::clicked, this, &AlarmCode::SaveMessage);
    auto *rowTwo = new QHBoxLayout();
    rowTwo->addWidget(new QLabel(tr("History Message")));
    rowTwo->addWidget(saveButton);
    rowTwo->addStretch(0);

    historyEdit = new QTextEdit();
    historyEdit->setReadOnly(true);
    historyEdit->setAcceptRichText(false);
    auto *rowThree = new QHBoxLayout();
    rowThree->addWidget(historyEdit);
    rowThree->addStretch(0);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rowOne);
    layout->addSpacing(20);
    layout->addLayout(rowTwo);
    layout->addLayout(rowThree);
    layout->addStretch(1);

    lastAlarmCode = 0;
    loadAlarmCodes();
}

void AlarmCode::warnCannotRead(const QString &path, const QString &reason)
{
    warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot read file %1:\n%2.").arg(path, reason));
}

// The 30 ms timer fires again inside any box a refresh raises; the refresh in progress is the one
// that finishes, so a nested one is skipped rather than stacking its requests on the link.
void AlarmCode::refreshAlarm()
{
    if (m_refreshing)
        return;
    // The status word that asked for this predates a restart under way, which clears the alarm.
    if (g_restartWait || g_restartQuiet.pending())
        return;
    // A lost link is asked nothing more until a connection test.
    if (g_offLine)
        return;
    FlagGuard busy(m_refreshing);
    LinkLossWatch watch;
    alarmWord = 0;
    if (g_mainWindow)
        g_mainWindow->forcePageSelect = true;
    ReadWrite *link = monitorLink();
    if (!link)
        return;
    alarmWord = link->SendCommand("M0N");
    if (alarmWord == -1 || watch.lost())
        return;
    if (!g_mainWindow || !g_mainWindow->navigation || !g_mainWindow->navigation->takesRunCommands())
        return;
    const int selected = int(link->ReadPar(288, 1.0));
    if (selected != 1 && !watch.lost() && g_mainWindow && g_mainWindow->parameterForm)
        g_mainWindow->parameterForm->writeParValue(288, QStringLiteral("1"), QStringLiteral("1"));
    // The link lost meanwhile: its box may already have let the window put out the lamps.
    if (!watch.lost())
        updateAlarmDisplay();
}

void AlarmCode::updateAlarmDisplay()
{
    const int code = alarmWord & 0xFF;
    if (code == lastAlarmCode)
        return;
    // The drive reports no alarm: nothing to record.
    if (code == 0) {
        showNoAlarm();
        return;
    }
    leds.at(0)->setPixmap(QPixmap(LampOff));
    lastAlarmCode = code;
    const QString time = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    const QString text = alarmText(code);
    if (text == QLatin1String("-1"))
        return;
    // An unknown code has no name: lighting the lamps without one would light every hidden slot.
    if (!text.isEmpty()) {
        const QPixmap red(LampRed);
        for (QLabel *led : qAsConst(leds))
            if (led->objectName() == text)
                led->setPixmap(red);
    }
    appendPlainParagraph(historyEdit, time + QStringLiteral(" > ") + text);
    if (g_invType.isEmpty())
        return;

    const QString path = alarmFilePath(QStringLiteral("errorInfo.txt"));
    QStringList lines;
    QString reason;
    if (!readAlarmFile(path, &lines, &reason)) {
        warnCannotRead(path, reason);
        return;
    }
    const alarmfiles::ErrorInfo info
        = alarmfiles::errorInfoFor(lines, g_seriesLetter, alarmfiles::versionNumber(g_firmwareVersion));
    if (!info.found)
        return;
    const QString detail = formatAlarmDetail(info.ranges.section(QLatin1Char(','), 0, 0));
    if (!detail.isEmpty())
        appendPlainParagraph(historyEdit, detail);
}

void AlarmCode::resetLeds()
{
    // Inside a refresh's box the timer may find the alarm gone; the refresh ends first.
    if (m_refreshing)
        return;
    showNoAlarm();
}

void AlarmCode::lampsOff()
{
    const QPixmap off(LampOff);
    for (QLabel *led : qAsConst(leds))
        led->setPixmap(off);
    lastAlarmCode = 0;
}

void AlarmCode::showNoAlarm()
{
    leds.at(0)->setPixmap(QPixmap(LampOn));
    const QPixmap off(LampOff);
    for (int i = 1; i < leds.size(); ++i)
        leds.at(i)->setPixmap(off);
    lastAlarmCode = 0;
}

void AlarmCode::initLeds()
{
    loadLedNames();
    const int named = ledNames.size() / 2;
    for (int i = 0; i < Slots; ++i) {
        // A window reused for another drive shows the slots the new name line names.
        const bool used = i < named;
        if (used) {
            nameLabels.at(i)->setText(ledNames.at(2 * i + 1) + QStringLiteral("    "));
            leds.at(i)->setObjectName(ledNames.at(2 * i + 1));
        }
        nameLabels.at(i)->setVisible(used);
        leds.at(i)->setVisible(used);
    }
}

void AlarmCode::loadLedNames()
{
    ledNames.clear();
    QStringList lines;
    QString reason;
    if (!readAlarmFile(alarmFilePath(QStringLiteral("alarm.txt")), &lines, &reason))
        return;
    ledNames = alarmfiles::ledNamesFor(lines, g_seriesLetter, alarmfiles::versionNumber(g_firmwareVersion));
}

bool AlarmCode::loadAlarmCodes()
{
    alarmCodeTable.clear();
    const QString path = alarmFilePath(QStringLiteral("alarmCode.txt"));
    QStringList lines;
    QString reason;
    if (!readAlarmFile(path, &lines, &reason)) {
        warnCannotRead(path, reason);
        return false;
    }
    alarmCodeTable = alarmfiles::parseAlarmCodes(lines, g_seriesLetter);
    return true;
}

QString AlarmCode::alarmText(int code)
{
    if (alarmCodeTable.isEmpty() && !loadAlarmCodes())
        return QStringLiteral("-1");
    return alarmfiles::alarmTextOf(alarmCodeTable, code);
}

QString AlarmCode::formatAlarmValue(int item, int offset)
{
    CParameter *form = g_mainWindow ? g_mainWindow->parameterForm : nullptr;
    ReadWrite *link = monitorLink();
    if (!form || !link || !form->writeParValue(290, QString::number(item), QStringLiteral("1")))
        return QStringLiteral("-1");
    const int kind = item - offset;
    bool tenthHz = false;
    double capacity = 0.0;
    if (kind == 1) {
        // A selector not read leaves the unit unknown: "?", not a number ten times or a tenth of the drive's.
        const double p187 = isFeatureEnabled(QStringLiteral("alarmcode_readP187")) ? link->ReadShownUnit(187) : 0.0;
        const double p991 = p187 != -1.0 && isFeatureEnabled(QStringLiteral("Parameter_readP991"))
            ? link->ReadShownUnit(991)
            : 0.0;
        if (p187 == -1.0 || p991 == -1.0)
            return QStringLiteral("?");
        tenthHz = p187 == 1.0 || p991 == 1.0;
    } else if (kind == 2) {
        capacity = alarmfiles::capacityOf(g_invType);
    }
    const double value = link->ReadPar(291, alarmfiles::detailScale(kind, tenthHz, capacity));
    return QStringLiteral("%1").arg(value);
}

QString AlarmCode::formatAlarmDetail(const QString &range)
{
    const alarmfiles::DetailRange r = alarmfiles::parseDetailRange(range);
    if (!r.valid)
        return QString();
    QString lines;
    for (int item = r.first; item <= r.last; ++item) {
        const QString value = formatAlarmValue(item, r.offset);
        if (value == QLatin1String("-1"))
            break;
        lines += alarmfiles::detailLine(item - r.offset, value);
    }
    return lines;
}

void AlarmCode::SaveMessage()
{
    const QString path = askSaveFileName(this, tr("Save Message"), QDir::currentPath(), QStringLiteral("*.txt"), nullptr);
    if (path.isEmpty())
        return;
    QString reason;
    if (!saveFile(path, crLfText(historyEdit->toPlainText()), &reason))
        warnAfterEarlierPresses(this, tr("Warning"), tr("Cannot write file %1:\n%2.").arg(path, reason));
}

#include "shell/drivecommands.h"

#include "comm/globals.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "parameter/parameter.h"
#include "shell/appglobals.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace
{
using Command = DriveModeState::Command;
using Go = DriveModeState::Go;

const int FirstPollWaitMs = 2500;

// The value P.<number> reads as the parameter form reads it, as the shortest general number text.
QString parameterText(int number)
{
    return QStringLiteral("%1").arg(g_mainWindow->parameterForm->readParValue(number));
}

void setModeText(const QString &text)
{
    if (g_mainWindow && g_mainWindow->modeValueLabel)
        g_mainWindow->modeValueLabel->setText(text);
}

void setConnectIcon()
{
    if (g_mainWindow && g_mainWindow->connectButton)
        g_mainWindow->connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/connect.png")));
}

} // namespace

bool DriveCommands::modeH()
{
    return isFeatureEnabled(QStringLiteral("readWrite_H"));
}

int DriveCommands::restartWaitMs()
{
    return g_seriesLetter == 'S' ? 7000 : 2000;
}

DriveCommands::DriveCommands(CNavigation &dock, DriveModeState &state)
    : QObject(&dock)
    , m_dock(dock)
    , m_state(state)
{
    connect(dock.CUPB, &QPushButton::pressed, this, &DriveCommands::SwitchToCU);
    connect(dock.ExtPB, &QPushButton::pressed, this, &DriveCommands::SwitchToExt);
    connect(dock.JOGPB, &QPushButton::pressed, this, &DriveCommands::SwitchToJOG);
    connect(dock.NaRevPB, &QPushButton::pressed, this, &DriveCommands::InvRunRev);
    connect(dock.NaFWDPB, &QPushButton::pressed, this, &DriveCommands::InvRunFwd);
    connect(dock.NaSetPB, &QPushButton::pressed, this, &DriveCommands::InvSetFre);
    connect(dock.NaStopPB, &QPushButton::pressed, this, &DriveCommands::InvStop);
    // Connected once, so a release sends one STO however often JOG was pressed.
    connect(dock.NaRevPB, &QPushButton::released, this, &DriveCommands::runButtonReleased);
    connect(dock.NaFWDPB, &QPushButton::released, this, &DriveCommands::runButtonReleased);
    qApp->installEventFilter(this);
}

bool DriveCommands::commandMayGo()
{
    m_dock.flushStationClick();
    if (m_dock.checkConnection() != 0)
        return false;
    m_dock.followLink();
    return g_connectionTest || m_state.onLine();
}

void DriveCommands::refuseOutsideCu()
{
    // The dock's texts keep the dock's translation context.
    QMessageBox::warning(&m_dock, QCoreApplication::translate("CNavigation", "Warning"),
                         QCoreApplication::translate("CNavigation", "Please change INV operation mode to CU!"),
                         QMessageBox::Ok);
}

// Right after a passed test, a change of station or a restart the mode is known only from the
// first poll: the command waits for it without holding the window, behind any that wait already.
void DriveCommands::orderRun(Command command)
{
    if (!commandMayGo())
        return;
    unsigned id = 0;
    switch (m_state.commandPressed(command, modeH(), &id)) {
    case Go::Send:
        sendRun(command, m_dock.FrespinBox->value());
        break;
    case Go::Wait:
        startWaiting(id, { QString(), nullptr, m_dock.FrespinBox->value() });
        break;
    case Go::AskTest:
        // Given up: the user is asked for the test. During a test no mode is known.
        if (!g_connectionTest) {
            m_dock.checkConnection();
            break;
        }
        [[fallthrough]];
    default:
        refuseOutsideCu();
        break;
    }
}

DriveModeState::Go DriveCommands::modeRule(const QString &name, std::function<void()> retry)
{
    m_dock.followLink();
    if (m_settling) {
        // Its turn has come: the mode is known, unless a command just settled restarts the drive.
        switch (m_state.runCommand(modeH())) {
        case DriveModeState::Run::Allowed:
            return Go::Send;
        case DriveModeState::Run::OffLine:
            m_dock.checkConnection();
            return Go::AskTest;
        case DriveModeState::Run::Refused:
            return Go::Refuse;
        case DriveModeState::Run::WaitForPoll:
            break;
        }
    }
    unsigned id = 0;
    const Go go = m_state.commandPressed(Command::Other, modeH(), &id);
    if (go == Go::Wait) {
        startWaiting(id, { name, std::move(retry), 0 });
    } else if (go == Go::AskTest && !g_connectionTest) {
        // A lost link needs the test, not the CU mode.
        m_dock.checkConnection();
    }
    return go;
}

void DriveCommands::startWaiting(unsigned id, Pending pending)
{
    m_pending.insert(id, std::move(pending));
    if (m_state.waiting() == 1) {
        m_waitClock.start();
        // The first poll comes a second after the poller starts, later after a restart command.
        m_waitLimitMs = FirstPollWaitMs + (g_modeRestartWait ? restartWaitMs() : 0);
    }
    // The mode may be known already, the poll's turn to settle not come yet.
    settleWaiting();
    m_dock.paintMode();
}

bool DriveCommands::takesRunCommands() const
{
    return m_state.runCommand(modeH()) == DriveModeState::Run::Allowed;
}

void DriveCommands::settleWaiting()
{
    // A write settled here may open a dialog whose events come back here: the rest wait their turn.
    if (m_settling)
        return;
    DriveModeState::Waiting settled;
    Go go = m_state.settle(modeH(), &settled);
    if (go == Go::Wait) {
        if (m_state.waiting() && m_waitClock.elapsed() >= m_waitLimitMs) {
            const std::vector<DriveModeState::Waiting> dropped = m_state.dropWaiting();
            m_dock.paintMode();
            tellNotSent(dropped, true);
        }
        return;
    }
    m_dock.paintMode();
    m_settling = true;
    while (go != Go::Wait) {
        settleOne(go, settled);
        go = m_state.settle(modeH(), &settled);
    }
    m_settling = false;
    m_dock.paintMode();
}

void DriveCommands::settleOne(Go go, const DriveModeState::Waiting &settled)
{
    // A dropped one is named, and forgotten, with the next paint.
    if (go == Go::Drop)
        return;
    const Pending pending = m_pending.take(settled.id);
    if (settled.command == Command::Other) {
        // The caller asks again, now that the mode is known, and says what it says.
        if (pending.action)
            pending.action();
        return;
    }
    switch (go) {
    case Go::Send:
        sendRun(settled.command, pending.frequency);
        break;
    case Go::Refuse:
        refuseOutsideCu();
        break;
    case Go::AskTest:
        m_dock.checkConnection();
        break;
    default:
        break;
    }
}

QString DriveCommands::names(const std::vector<DriveModeState::Waiting> &waiting) const
{
    QStringList out;
    for (const DriveModeState::Waiting &w : waiting) {
        switch (w.command) {
        case Command::Fwd:
            out << m_dock.NaFWDPB->text();
            break;
        case Command::Rev:
            out << m_dock.NaRevPB->text();
            break;
        case Command::Set:
            out << m_dock.NaSetPB->text();
            break;
        case Command::Other:
            out << m_pending.value(w.id).name;
            break;
        }
    }
    return out.join(QCoreApplication::translate("CNavigation", ", ", "between the names of waiting commands"));
}

void DriveCommands::tellNotSent(const std::vector<DriveModeState::Waiting> &dropped, bool timedOut)
{
    if (dropped.empty())
        return;
    const QString what = names(dropped);
    for (const DriveModeState::Waiting &w : dropped)
        m_pending.remove(w.id);
    // An owed stop keeps the field: it matters more.
    if (m_state.stopOwed(m_dock.shownStation()))
        return;
    setModeText(timedOut ? QCoreApplication::translate("CNavigation", "%1 not sent: the drive's mode did not come").arg(what)
                         : QCoreApplication::translate("CNavigation", "%1 not sent").arg(what));
}

void DriveCommands::tellDropped()
{
    tellNotSent(m_state.takeDropped());
}

QString DriveCommands::modeText(const DriveModeState::Display &shown)
{
    if (shown.stopOwed)
        return QCoreApplication::translate("CNavigation", "STOP not answered: the drive may still run");
    if (!shown.waiting.empty())
        return QCoreApplication::translate("CNavigation", "%1: waiting for the drive's mode").arg(names(shown.waiting));
    return shown.label;
}

void DriveCommands::dropAllWaiting()
{
    for (const DriveModeState::Waiting &w : m_state.dropWaiting())
        m_pending.remove(w.id);
}

void DriveCommands::otherStationClicked()
{
    const std::vector<DriveModeState::Waiting> dropped = m_state.dropWaiting();
    if (dropped.empty())
        return;
    m_dock.paintMode();
    tellNotSent(dropped);
}

void DriveCommands::modePressed(DriveModeState::Press press, int result)
{
    // Its own exchange may have been the one that gave up.
    m_dock.followLink();
    if (!ReadWrite::lastCommandSent()) {
        m_state.modePressHeldBack();
        return;
    }
    m_state.modePressSent(press, result == 0);
    if (result == 0) {
        setConnectIcon();
        if (m_state.onLine())
            m_dock.startModeDisplay();
    }
    m_dock.paintMode();
}

void DriveCommands::SwitchToCU()
{
    if (!commandMayGo())
        return;
    const int result = g_readWrite->SendCommand("CU0");
    modePressed(DriveModeState::Press::Cu, result);
    if (result == 0 && !g_versionRead && g_mainWindow) {
        g_mainWindow->parameterForm->loadParameterTable();
        g_mainWindow->parameterForm->loadHideParameters();
    }
}

void DriveCommands::SwitchToExt()
{
    if (commandMayGo())
        modePressed(DriveModeState::Press::Ext, g_readWrite->SendCommand("EXT"));
}

void DriveCommands::SwitchToJOG()
{
    if (commandMayGo())
        modePressed(DriveModeState::Press::Jog, g_readWrite->SendCommand("JOG"));
}

void DriveCommands::InvRunRev()
{
    orderRun(Command::Rev);
}

void DriveCommands::InvRunFwd()
{
    orderRun(Command::Fwd);
}

void DriveCommands::InvSetFre()
{
    orderRun(Command::Set);
}

void DriveCommands::sendRun(Command command, double frequency)
{
    if (command == Command::Fwd || command == Command::Rev) {
        g_readWrite->SendCommand(command == Command::Fwd ? "FWD" : "REV");
        return;
    }
    int value = qRound(frequency * 100);
    // Drives set to 0.1 Hz steps by P.187 or P.991 take the frequency in tenths, read as it is now.
    if (isFeatureEnabled(QStringLiteral("Navigation_readP187"))) {
        if (parameterText(187) == QLatin1String("1"))
            value /= 10;
    } else if (isFeatureEnabled(QStringLiteral("Parameter_readP991"))) {
        if (parameterText(991) == QLatin1String("1"))
            value /= 10;
    }
    const char frame[] = { 'F', 'R', 'E', char(value / 256), char(value % 256), '\0' };
    g_readWrite->SendCommand(frame);
}

// In JOG the drive runs only while REV or FWD is held down, however it came to JOG. The stop goes
// out off-line too, where the guard would only ask for a test: a stop is never wrong to send.
void DriveCommands::runButtonReleased()
{
    releaseRunButton(qobject_cast<QPushButton *>(sender()));
}

void DriveCommands::releaseRunButton(QPushButton *button)
{
    m_dock.followLink();
    if (m_state.runReleased(button == m_dock.NaRevPB ? Command::Rev : Command::Fwd))
        sendStop(m_dock.shownStation());
    m_dock.paintMode();
}

bool DriveCommands::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::WindowBlocked) && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        QWidget *dockWindow = m_dock.window();
        const bool takesRelease = event->type() == QEvent::WindowBlocked
            ? widget == dockWindow
            : widget->isWindow() && widget != dockWindow && (widget->isModal() || qobject_cast<QDialog *>(widget));
        if (takesRelease) {
            for (QPushButton *button : { m_dock.NaRevPB, m_dock.NaFWDPB }) {
                if (!button->isDown())
                    continue;
                // The box gets the mouse's release, so the button would stay held: it counts as let
                // go now. Sent once the box has opened, not from inside its showing.
                button->setDown(false);
                QTimer::singleShot(0, this, [this, button] { releaseRunButton(button); });
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void DriveCommands::InvStop()
{
    m_dock.flushStationClick();
    // STOP goes out on line or off: a stop is never wrong, and the drive may hear it though the
    // program thinks the line down. No run or frequency order waiting may go out after it.
    const std::vector<DriveModeState::Waiting> dropped = m_state.stopPressed();
    const int number = m_dock.shownStation();
    if (number < 0 && !g_connectionTest) {
        if (g_mainWindow)
            g_mainWindow->setConnectionState(false);
        return;
    }
    m_dock.followLink();
    sendStop(number);
    m_dock.paintMode();
    tellNotSent(dropped);
}

void DriveCommands::sendStop(int number)
{
    const int result = g_readWrite->SendCommand("STO");
    const bool answered = ReadWrite::lastCommandSent() && result == 0;
    // Unanswered, it goes out again first when the station is found again.
    m_state.stopSent(number, answered);
    if (answered && m_state.onLine())
        m_dock.setDirectionLamps(nullptr);
}

bool DriveCommands::sendOwedStop(int number)
{
    if (!m_state.stopOwed(number))
        return true;
    ReadWrite::PatientTries patient;
    sendStop(number);
    return !m_state.stopOwed(number);
}

#include "shell/drivecommands.h"

#include "comm/globals.h"
#include "comm/linkshare.h"
#include "comm/readwrite.h"
#include "comm/typeinfo.h"
#include "comm/win_qextserialport.h"
#include "connection/search.h"
#include "parameter/parameter.h"
#include "shell/appglobals.h"
#include "shell/commsettings.h"
#include "shell/earlierpresses.h"
#include "shell/mainwindow.h"
#include "shell/navigation.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace
{
using Go = DriveModeState::Go;

void setConnectIcon()
{
    if (g_mainWindow && g_mainWindow->connectButton)
        g_mainWindow->connectButton->setIcon(QIcon(QStringLiteral(":/new prefix/images/connect.png")));
}

// A test's or search's link, put back once a stop has gone out on a station's own line: the
// test's step after it finds what it would have found, and the stop's outcome is no link's news.
class StationLine
{
public:
    StationLine(const LinkSettings &line, int number)
    {
        LinkChange change;
        if (g_serialPort) {
            m_baud = g_serialPort->baudRate();
            m_data = g_serialPort->dataBits();
            m_parity = g_serialPort->parity();
            m_stop = g_serialPort->stopBits();
        }
        g_protocolIndex = line.protocol;
        applyPortSettings(line);
        installSearchProtocol(line.protocol);
        g_crLfMode = line.crLfIndex;
        int delay = 0;
        if (parseDelayText(line.delayText, &delay))
            g_responseDelayMs = delay;
        setStation(number);
    }
    ~StationLine()
    {
        LinkChange change;
        if (g_serialPort) {
            g_serialPort->setBaudRate(m_baud);
            g_serialPort->setDataBits(m_data);
            g_serialPort->setParity(m_parity);
            g_serialPort->setStopBits(m_stop);
        }
        g_protocolIndex = m_protocol;
        installProtocol(m_object);
        g_crLfMode = m_crLf;
        g_responseDelayMs = m_delay;
        setStation(m_station);
        g_offLine = m_offLine;
    }
    StationLine(const StationLine &) = delete;
    StationLine &operator=(const StationLine &) = delete;

private:
    BaudRateType m_baud = BAUD9600;
    DataBitsType m_data = DATA_8;
    ParityType m_parity = PAR_NONE;
    StopBitsType m_stop = STOP_1;
    const int m_protocol = g_protocolIndex;
    ReadWrite *const m_object = g_readWrite;
    const int m_crLf = g_crLfMode;
    const int m_delay = g_responseDelayMs;
    const int m_station = g_station;
    const bool m_offLine = g_offLine;
};

} // namespace

bool DriveCommands::modeH()
{
    return isFeatureEnabled(QStringLiteral("readWrite_H"));
}

bool DriveCommands::p79Is3(ReadWrite *link)
{
    return QStringLiteral("%1").arg(link->ReadPar(79, 1.0)) == QLatin1String("3");
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
    m_stopPresses = std::make_unique<ServerPresses>(dock.NaStopPB, [this](unsigned long time) { return stopPressed(time); });
    // The hand's own release of a run button a box took: its stop goes out then too, from the loop.
    m_releases = std::make_unique<ServerReleases>([this] {
        if (m_state.mouseReleased())
            QMetaObject::invokeMethod(this, &DriveCommands::runButtonReleased, Qt::QueuedConnection);
    });
}

bool DriveCommands::stopTriedSince(unsigned long time) const
{
    const int number = m_state.stopTarget(m_dock.shownStation());
    const unsigned long until = number >= 0 ? m_stopTriedUntil[size_t(number)] : 0;
    // The server's clock is 32 bits of milliseconds and wraps.
    return until != 0 && qint32(quint32(time) - quint32(until)) <= 0;
}

ServerPresses::Verdict DriveCommands::stopPressed(unsigned long time)
{
    if (stopTriedSince(time))
        return ServerPresses::Verdict::Take;
    // An open popup takes the press: it closes, and the stop goes out all the same.
    const bool popup = QApplication::activePopupWidget();
    if (!m_dockBlocked && !popup)
        return ServerPresses::Verdict::Pass;
    // From the loop that runs now (a box's, or a transfer's between two requests), never from
    // inside the event's own handling; a stop tried meanwhile, for an earlier press, answers it.
    QMetaObject::invokeMethod(this, [this, time] {
        for (QWidget *open = QApplication::activePopupWidget(); open && open->close();)
            open = QApplication::activePopupWidget();
        if (!stopTriedSince(time))
            InvStop();
    }, Qt::QueuedConnection);
    return ServerPresses::Verdict::Take;
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
    warnAfterEarlierPresses(&m_dock, QCoreApplication::translate("CNavigation", "Warning"),
                            QCoreApplication::translate("CNavigation", "Please change INV operation mode to CU!"));
}

// One that waits out a restart holds the window: the shell's reports say so meanwhile.
int DriveCommands::send(const char *code)
{
    return g_readWrite->SendCommand(code);
}

DriveCommands::Asked DriveCommands::askMode()
{
    const unsigned ticket = m_state.pollBegun();
    const int mode = send("MOD");
    const bool takesRuns = mode == '2' && !g_offLine && p79Is3(g_readWrite);
    m_dock.followLink();
    Asked asked = Asked::Known;
    if (g_offLine || !ReadWrite::lastCommandSent())
        asked = Asked::Lost;
    else if (mode < '0' || mode > '8')
        // Answered with no mode the dock knows: refused, as a poll's would be, without taking it as the mode.
        asked = Asked::NoMode;
    else
        m_state.modeAnswered(ticket, mode - '0', takesRuns);
    m_dock.paintMode();
    return asked;
}

DriveModeState::Go DriveCommands::modeRule()
{
    m_dock.followLink();
    DriveModeState::Run run = m_state.runCommand(modeH());
    if (run == DriveModeState::Run::Unknown) {
        switch (askMode()) {
        case Asked::Lost:
            return Go::Unanswered;
        case Asked::NoMode:
            return Go::Refuse;
        case Asked::Known:
            break;
        }
        run = m_state.runCommand(modeH());
    }
    switch (run) {
    case DriveModeState::Run::Allowed:
        return Go::Send;
    case DriveModeState::Run::Refused:
        return Go::Refuse;
    case DriveModeState::Run::OffLine:
        // A lost link needs the test, not the CU mode. During a test no mode is known.
        if (!g_connectionTest)
            m_dock.checkConnection();
        return Go::AskTest;
    case DriveModeState::Run::Unknown:
        break;
    }
    // The answer came, and a restart seen meanwhile made it old news: nothing goes out on it.
    return Go::Unanswered;
}

// The box's value is taken at the press: what the user saw when pressing SET.
void DriveCommands::orderRun(Order order)
{
    const double frequency = m_dock.FrespinBox->value();
    if (!commandMayGo())
        return;
    switch (modeRule()) {
    case Go::Send:
        sendRun(order, frequency);
        break;
    case Go::AskTest:
        if (!g_connectionTest)
            break;
        [[fallthrough]];
    case Go::Refuse:
        refuseOutsideCu();
        break;
    case Go::Unanswered:
        break;
    }
}

bool DriveCommands::takesRunCommands() const
{
    return m_state.runCommand(modeH()) == DriveModeState::Run::Allowed;
}

QString DriveCommands::modeText(const DriveModeState::Display &shown)
{
    if (shown.stopUnsent)
        return QCoreApplication::translate("CNavigation", "STOP not sent: the station has passed no connection test");
    if (shown.stopOwed)
        return QCoreApplication::translate("CNavigation", "STOP not answered: the drive may still run");
    return shown.label;
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
    const int result = send("CU0");
    modePressed(DriveModeState::Press::Cu, result);
    if (result == 0 && !g_versionRead && g_mainWindow) {
        g_mainWindow->parameterForm->loadParameterTable();
        g_mainWindow->parameterForm->loadHideParameters();
    }
}

void DriveCommands::SwitchToExt()
{
    if (commandMayGo())
        modePressed(DriveModeState::Press::Ext, send("EXT"));
}

void DriveCommands::SwitchToJOG()
{
    if (commandMayGo())
        modePressed(DriveModeState::Press::Jog, send("JOG"));
}

void DriveCommands::InvRunRev()
{
    orderRun(Order::Rev);
}

void DriveCommands::InvRunFwd()
{
    orderRun(Order::Fwd);
}

void DriveCommands::InvSetFre()
{
    orderRun(Order::Set);
}

void DriveCommands::sendRun(Order order, double frequency)
{
    if (order != Order::Set) {
        const int number = m_dock.shownStation();
        send(order == Order::Fwd ? "FWD" : "REV");
        m_state.runSent(number);
        return;
    }
    int value = qRound(frequency * 100);
    // Drives set to 0.1 Hz steps by P.187 or P.991 take the frequency in tenths, read as it is now.
    // Unread, the unit is unknown: nothing goes out, and the read's refusal says so under its message.
    int selector = 0;
    if (isFeatureEnabled(QStringLiteral("Navigation_readP187")))
        selector = 187;
    else if (isFeatureEnabled(QStringLiteral("Parameter_readP991")))
        selector = 991;
    if (selector != 0) {
        bool read = false;
        g_mainWindow->refusalSubject = QCoreApplication::translate(
            "CNavigation", "Nothing was sent: SET takes the frequency in the unit P.%1 selects, which could not be read.")
                                           .arg(selector);
        const double unit = g_mainWindow->parameterForm->readParValue(selector, &read);
        g_mainWindow->refusalSubject.clear();
        if (!read)
            return;
        if (unit == 1.0)
            value /= 10;
    }
    const char frame[] = { 'F', 'R', 'E', char(value / 256), char(value % 256), '\0' };
    send(frame);
}

// In JOG the drive runs only while REV or FWD is held down, however it came to JOG. The stop goes
// out off-line too, where the guard would only ask for a test: a stop is never wrong to send.
void DriveCommands::runButtonReleased()
{
    m_dock.followLink();
    if (m_state.releaseStops())
        g_connectionTest ? sendStopOnStationLine(m_dock.shownStation()) : sendStop(m_dock.shownStation());
    m_dock.paintMode();
}

bool DriveCommands::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)
        && watched == m_dock.window())
        m_dockBlocked = event->type() == QEvent::WindowBlocked;
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
                m_state.releaseTakenByBox();
                QTimer::singleShot(0, this, &DriveCommands::runButtonReleased);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void DriveCommands::InvStop()
{
    m_dock.flushStationClick();
    // STOP goes out on line or off: a stop is never wrong, and the drive may hear it though the
    // program thinks the line down. With no station shown, its station just deleted, the drive the
    // dock last ran may run on: it goes there.
    const int shown = m_dock.shownStation();
    const int number = m_state.stopTarget(shown);
    if (number < 0 && !g_connectionTest) {
        if (g_mainWindow)
            g_mainWindow->setConnectionState(false);
        return;
    }
    m_dock.followLink();
    if (g_connectionTest) {
        sendStopOnStationLine(number);
    } else if (number != shown) {
        const int addressed = g_station;
        setStation(number);
        sendStop(number);
        setStation(addressed);
    } else {
        sendStop(number);
    }
    m_dock.paintMode();
}

void DriveCommands::sendStopOnStationLine(int number)
{
    // The test's line may be any step of the search, its station the dialog's: the running drive
    // would not hear it there, and an answer there would be another drive's.
    LinkSettings line;
    if (!m_state.passedLine(number, &line)) {
        m_state.stopNotSent(number);
        return;
    }
    StationLine stationLine(line, number);
    ReadWrite::PatientTries patient;
    sendStop(number);
}

void DriveCommands::sendStop(int number)
{
    // Owed until answered: a box the failure opens finds the words in the mode field already.
    m_state.stopSent(number, false);
    m_dock.paintMode();
    const int result = send("STO");
    const bool answered = ReadWrite::lastCommandSent() && result == 0;
    // Clicks on STOP made during these tries are no new stop.
    if (number >= 0 && number < DriveModeState::Stations)
        m_stopTriedUntil[size_t(number)] = ServerPresses::serverTime();
    // Unanswered, it goes out again first when the station is found again.
    m_state.stopSent(number, answered);
    // Painted first, so that the lamps the stop puts out stay out until the next poll.
    m_dock.paintMode();
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

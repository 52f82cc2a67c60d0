#include "shell/drivemodestate.h"

using Lock = std::lock_guard<std::mutex>;

void DriveModeState::restart(int number, bool online)
{
    // A poll begun before belongs to what was.
    ++m_generation;
    m_onLine = online;
    m_station = number;
    m_mode = Mode::Unknown;
    m_poll = Poll();
    m_fromPoll = false;
    // Whatever waited was meant for what was.
    m_waiting = false;
    changed();
}

void DriveModeState::stationChosen(int number, bool tested)
{
    Lock lock(m_mutex);
    // Another drive, or this one after a while: what a JOG press of before set up is not its own.
    m_mayBeInJog = false;
    restart(number, number >= 0 && tested);
}

void DriveModeState::stationDeleted(int next, bool tested)
{
    stationChosen(next, tested);
}

void DriveModeState::passedTest(int number)
{
    Lock lock(m_mutex);
    // A JOG that went out before the loss may still hold the drive it found again.
    if (number != m_station)
        m_mayBeInJog = false;
    restart(number, number >= 0);
}

void DriveModeState::givenUp()
{
    Lock lock(m_mutex);
    restart(m_station, false);
}

void DriveModeState::modePressSent(Press press, bool replied)
{
    Lock lock(m_mutex);
    ++m_generation;
    // A run order waiting for the mode was meant for the mode before the press.
    if (m_waiting && m_waitingCommand != Command::Other)
        m_waiting = false;
    if (press == Press::Jog)
        m_mayBeInJog = true;
    else if (replied)
        m_mayBeInJog = false;
    if (m_onLine) {
        // A JOG counts as taken until the next poll, its reply or not; a lost CU or EXT leaves the
        // mode to that poll.
        if (press == Press::Jog)
            m_mode = Mode::JogByButton;
        else
            m_mode = !replied ? Mode::Unknown : press == Press::Cu ? Mode::Cu : Mode::Ext;
        m_fromPoll = false;
    }
    changed();
}

unsigned DriveModeState::pollBegun() const
{
    Lock lock(m_mutex);
    return m_generation;
}

bool DriveModeState::polled(unsigned ticket, const Poll &poll)
{
    Lock lock(m_mutex);
    if (ticket != m_generation || !m_onLine)
        return false;
    m_poll = poll;
    m_mode = poll.mode == 0 ? Mode::Cu : poll.mode == 1 ? Mode::Ext : poll.mode == 2 ? Mode::JogByPoll : Mode::Other;
    m_mayBeInJog = m_mode == Mode::JogByPoll;
    m_fromPoll = true;
    changed();
    return true;
}

void DriveModeState::restarting()
{
    Lock lock(m_mutex);
    ++m_generation;
    if (m_mode != Mode::Unknown) {
        m_mode = Mode::Unknown;
        m_fromPoll = false;
        changed();
    }
}

DriveModeState::Go DriveModeState::commandPressed(Command command, bool modeH)
{
    Lock lock(m_mutex);
    switch (runRule(modeH)) {
    case Run::Allowed:
        return Go::Send;
    case Run::Refused:
        return Go::Refuse;
    case Run::OffLine:
        return Go::AskTest;
    case Run::WaitForPoll:
        break;
    }
    m_waiting = true;
    m_waitingCommand = command;
    m_waitingReleased = false;
    changed();
    return Go::Wait;
}

DriveModeState::Go DriveModeState::settle(bool modeH, Command *command)
{
    Lock lock(m_mutex);
    if (!m_waiting)
        return Go::Wait;
    const Run run = runRule(modeH);
    if (run == Run::WaitForPoll)
        return Go::Wait;
    m_waiting = false;
    changed();
    *command = m_waitingCommand;
    if (run == Run::OffLine)
        return Go::AskTest;
    if (run == Run::Refused)
        return Go::Refuse;
    // Let go before the drive was found in JOG: the run it asked for is over already. In CU a
    // click is a run order.
    if (m_waitingReleased && (m_mode == Mode::JogByPoll || m_mode == Mode::JogByButton))
        return Go::Drop;
    return Go::Send;
}

bool DriveModeState::dropWaiting(Command *command)
{
    Lock lock(m_mutex);
    if (command)
        *command = m_waitingCommand;
    const bool was = m_waiting;
    m_waiting = false;
    if (was)
        changed();
    return was;
}

bool DriveModeState::waiting(Command *command) const
{
    Lock lock(m_mutex);
    if (command)
        *command = m_waitingCommand;
    return m_waiting;
}

bool DriveModeState::runReleased(Command button)
{
    Lock lock(m_mutex);
    // Its run has not gone out yet: in JOG it never will.
    if (m_waiting && m_waitingCommand == button)
        m_waitingReleased = true;
    return m_mayBeInJog;
}

void DriveModeState::stopSent(int number, bool answered)
{
    Lock lock(m_mutex);
    if (number >= 0 && number < Stations)
        m_stopOwed[size_t(number)] = !answered;
}

bool DriveModeState::stopOwed(int number) const
{
    Lock lock(m_mutex);
    return number >= 0 && number < Stations && m_stopOwed[size_t(number)];
}

DriveModeState::Run DriveModeState::runCommand(bool modeH) const
{
    Lock lock(m_mutex);
    return runRule(modeH);
}

DriveModeState::Run DriveModeState::runRule(bool modeH) const
{
    if (!m_onLine)
        return Run::OffLine;
    switch (m_mode) {
    case Mode::Unknown:
        return Run::WaitForPoll;
    case Mode::Cu:
    case Mode::JogByButton:
        return Run::Allowed;
    case Mode::JogByPoll:
        return m_poll.p79Is3 ? Run::Allowed : Run::Refused;
    case Mode::Other:
        return m_poll.mode == 6 && modeH ? Run::Allowed : Run::Refused;
    case Mode::Ext:
        break;
    }
    return Run::Refused;
}

bool DriveModeState::onLine() const
{
    Lock lock(m_mutex);
    return m_onLine;
}

bool DriveModeState::releaseStops() const
{
    Lock lock(m_mutex);
    return m_mayBeInJog;
}

DriveModeState::Display DriveModeState::display(bool modeH) const
{
    Lock lock(m_mutex);
    Display shown;
    shown.version = m_version;
    shown.fromPoll = m_fromPoll;
    shown.waiting = m_waiting;
    shown.waitingCommand = m_waitingCommand;
    if (!m_onLine)
        return shown;
    shown.status = m_poll.status;
    switch (m_mode) {
    case Mode::Unknown:
        break;
    case Mode::Cu:
        shown.lamp = Lamp::Cu;
        shown.label = QStringLiteral("CU");
        break;
    case Mode::Ext:
        shown.lamp = Lamp::Ext;
        shown.label = QStringLiteral("EXT");
        break;
    case Mode::JogByButton:
    case Mode::JogByPoll:
        shown.lamp = Lamp::Jog;
        shown.label = QStringLiteral("JOG");
        break;
    case Mode::Other:
        if (m_poll.mode == 8)
            shown.label = modeH ? QStringLiteral("H6") : QStringLiteral("PU");
        else if (m_poll.mode >= 3)
            shown.label = QStringLiteral("H%1").arg(m_poll.mode - 2);
        break;
    }
    return shown;
}

unsigned DriveModeState::version() const
{
    Lock lock(m_mutex);
    return m_version;
}

DriveModeState::Mode DriveModeState::mode() const
{
    Lock lock(m_mutex);
    return m_mode;
}
